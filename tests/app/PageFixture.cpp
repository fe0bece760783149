#include "PageFixture.h"

#include <QTest>
#include <QToolButton>

#include "app/widgets/UpDown.h"

namespace testing_support {

void PageTest::Type(const char* editName, const QString& text) {
    auto* edit = Find<QLineEdit>(Adjust(), editName);
    ASSERT_NE(edit, nullptr);
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, text);
}

void PageTest::Step(const char* upDownName, bool up) {
    auto* upDown = Find<orvane_app::UpDown>(Adjust(), upDownName);
    ASSERT_NE(upDown, nullptr);
    QTest::mouseClick(up ? upDown->UpArrow() : upDown->DownArrow(), Qt::LeftButton);
}

void PageTest::FailNextCall(const std::string& function, uint16_t code, int nth) {
    ChangeLibrary([&](vprinter::LibraryConfig& config) {
        config.callFaults[function] = {nth, code, std::nullopt};
    });
}

void PageTest::SetPrinterState(uint8_t state, uint8_t error, const std::string& port) {
    ChangePrinter(port, [state, error](vprinter::PrinterConfig& config) {
        config.state = state;
        config.error = error;
    });
}

}  // namespace testing_support
