// The page's side of the trace tests: the adjustment window driven as the
// technician drives it.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <algorithm>

#include "ServiceTraceFixture.h"
#include "app/Rk7formadjust.h"
#include "eeprom/EepromMap.h"

namespace testing_support {

namespace {

constexpr uint32_t kSettleMilliseconds = 120000;

}  // namespace

void ServiceTraceBase::SetUp() {}

void ServiceTraceBase::TypeText(const char* edit, const char* text) {
    Find<QLineEdit>(Adjust(), edit)->setText(QString::fromUtf8(text));
}

void ServiceTraceBase::TypeKeys(const char* edit, const char* text) {
    QLineEdit* line = Find<QLineEdit>(Adjust(), edit);
    line->clear();
    QTest::keyClicks(line, QString::fromUtf8(text));
}

void ServiceTraceBase::Request(const std::vector<const char*>& boxes) {
    for (QCheckBox* box : Adjust().findChildren<QCheckBox*>()) {
        if (box->objectName().endsWith(QStringLiteral("PrnRequestCheckBox"))) {
            box->setChecked(false);
        }
    }
    for (const char* box : boxes) {
        Find<QCheckBox>(Adjust(), box)->setChecked(true);
    }
}

void ServiceTraceBase::GiveUsbId() {
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
        const std::string id = "AB12CD34EFRC8H0C30";
        std::copy(id.begin(), id.end(), eeprom.begin() + eeprom::UsbIdSerialFirst);
    });
}

void ServiceTraceBase::Choose(const char* combo, int index) {
    Find<QComboBox>(Adjust(), combo)->setCurrentIndex(index);
}

void ServiceTraceBase::ShowBidInput() {
    Press("BidPrintShowInputBtn");
}

void ServiceTraceBase::ChooseItem(const char* group, int item) {
    ClickItem(group, item);
}

void ServiceTraceBase::Compare(const PageAction& action) {
    SCOPED_TRACE(action.name);
    OpenPage(action.group, action.item);
    // A page that reads when it opens takes input again at the next tick.
    Adjust().DisableTimerTimer();
    if (action.prepare) {
        action.prepare(*this);
    }
    const Snapshot before = Take();
    ClearTrace();
    if (std::string(action.press).ends_with("Pnl")) {
        QTest::mouseClick(Find<QLabel>(Adjust(), action.press), Qt::LeftButton);
        Adjust().DisableTimerTimer();
    } else {
        Press(action.press);
    }
    const std::vector<Call> page = Comparable(Calls());
    ASSERT_FALSE(page.empty());
    // Whatever the printer goes on doing (a restart after the market
    // setting) is over before the command's turn.
    Clock().Sleep(kSettleMilliseconds);

    // What the page used up (a restore's backup file) is there again.
    if (action.prepare) {
        action.prepare(*this);
    }
    Put(before);
    ClearTrace();
    std::vector<std::string> args = {"--port", "VTUSB001", "--model", "K31"};
    args.insert(args.end(), action.command.begin(), action.command.end());
    const Run run = Service(args);
    EXPECT_EQ(run.exit, 0) << run.err;
    const std::vector<Call> command = CommandCalls();
    std::string names;
    for (const Call& call : command) {
        names += call.function + " ";
    }
    names += "/ ";
    for (const Call& call : page) {
        names += call.function + " ";
    }
    ASSERT_EQ(command.size(), page.size()) << run.err << names;
    for (size_t i = 0; i < page.size(); ++i) {
        EXPECT_EQ(command[i].function, page[i].function) << "call " << i;
        EXPECT_EQ(command[i].args, page[i].args) << "call " << i << " " << page[i].function;
        EXPECT_EQ(command[i].data, page[i].data) << "call " << i << " " << page[i].function;
        EXPECT_EQ(command[i].result, page[i].result) << "call " << i;
    }
}

}  // namespace testing_support
