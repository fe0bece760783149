#include "AppFixture.h"

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "app/Cursor.h"
#include "app/Program.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "app/pages/Page.h"
#include "app/widgets/MultiLineTabControl.h"
#include "app/widgets/RadioGroup.h"
#include "platform/ExecutableFolder.h"

namespace testing_support {

AppTest::~AppTest() {
    context_.reset();
    orvane_app::ShowNormalCursor();
}

void AppTest::Start() {
    orvane::IPortList& ports =
        useFakePorts_ ? static_cast<orvane::IPortList&>(fakePorts_) : virtualPorts_;
    orvane_app::PlatformSeams seams{
        loader_, orvane::ExecutableFolder(), boxes_, ports, random_, &Clock(), &saveDialog_};
    seams.serviceLogPath = ServiceLogPath();
    seams.openDialog = &openDialog_;
    seams.stateFolder = StateFolder();
    context_ = std::make_unique<orvane_app::AppContext>(seams);
    QTimer& timer = Adjust().DisableTimer();
    disableInterval = timer.interval();
    timer.stop();
    timer.setInterval(24 * 3600 * 1000);
}

void AppTest::OpenAdjustmentWindow(int model, const std::string& port) {
    Start();
    orvane_app::ShowBootWindow(App());
    Choose("ModelNameCombo", model);
    ChoosePort(port);
    Click(Boot(), "PortSelectOKBtn");
    ASSERT_TRUE(Adjust().isVisible()) << "the link to " << port << " did not open";
}

TFormBoot& AppTest::Boot() {
    return context_->Boot();
}
TFormAdjust& AppTest::Adjust() {
    return context_->Adjust();
}

void AppTest::Choose(const char* comboName, int index) {
    auto* combo = Find<QComboBox>(Boot(), comboName);
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void AppTest::ChoosePort(const std::string& port) {
    auto* combo = Find<QComboBox>(Boot(), "InterfaceCombo");
    ASSERT_NE(combo, nullptr);
    const int index = combo->findText(QString::fromStdString(port));
    ASSERT_GE(index, 0) << port << " is not in the port list";
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void AppTest::Click(QWidget& window, const char* buttonName) {
    auto* button = Find<QPushButton>(window, buttonName);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

orvane_app::RadioGroup& AppTest::Group(const char* groupName) {
    return *Find<orvane_app::RadioGroup>(Adjust(), groupName);
}

void AppTest::ClickItem(const char* groupName, int index) {
    QRadioButton* item = Group(groupName).Item(index);
    ASSERT_NE(item, nullptr);
    // The indicator at the left is always part of the clickable area.
    QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(8, item->height() / 2));
}

orvane_app::MultiLineTabControl& AppTest::Tabs() {
    return *Find<orvane_app::MultiLineTabControl>(Adjust(), "AdjustmentTab");
}

QString AppTest::VisiblePage() {
    QString visible;
    for (QObject* child : Adjust().children()) {
        auto* page = qobject_cast<TPage*>(child);
        if (page != nullptr && page->isVisibleTo(&Adjust())) {
            visible += (visible.isEmpty() ? "" : ",") + page->objectName();
        }
    }
    if (Find<QWidget>(Adjust(), "CanvasPnl")->isVisibleTo(&Adjust())) {
        visible += (visible.isEmpty() ? "" : ",") + QStringLiteral("CanvasPnl");
    }
    return visible;
}

QString AppTest::StatusText() {
    return Find<QPlainTextEdit>(Adjust(), "StatusMemo")->toPlainText();
}

QColor AppTest::StatusColour() {
    return Find<QPlainTextEdit>(Adjust(), "StatusMemo")->palette().color(QPalette::Text);
}

std::vector<bool> AppTest::ItemsEnabled(const char* groupName) {
    std::vector<bool> enabled;
    orvane_app::RadioGroup& group = Group(groupName);
    for (int i = 0; i < group.Count(); ++i) {
        enabled.push_back(group.Item(i)->isEnabledTo(&group));
    }
    return enabled;
}

}  // namespace testing_support
