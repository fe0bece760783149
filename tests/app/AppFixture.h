#pragma once

#include <QColor>
#include <QComboBox>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedOpenDialog.h"
#include "app/AppContext.h"
#include "platform/LibraryLoader.h"
#include "platform/PortList.h"
#include "platform/Random.h"
#include "support/LinkFixture.h"
#include "support/ScriptedMessageBox.h"
#include "support/ScriptedSaveDialog.h"

class TFormAdjust;
class TFormBoot;
namespace orvane_app {
class RadioGroup;
class MultiLineTabControl;
}  // namespace orvane_app

namespace testing_support {

// A port list with the ports a test gives it.
class FakePortList final : public orvane::IPortList {
  public:
    bool EnumeratePorts(std::vector<std::string>& names) override {
        ++calls;
        if (fails) {
            return false;
        }
        names = ports;
        return true;
    }
    std::vector<std::string> ports;
    bool fails = false;
    int calls = 0;
};

// The whole program's windows and modules on the virtual printers and the
// virtual clock, with scripted message boxes. The port list is the virtual
// printers' own unless a test gives its ports to FakePorts() first.
class AppTest : public VirtualPrinterTest {
  protected:
    AppTest() = default;
    ~AppTest() override;

    // Creates the application context (the program's start).
    void Start();
    // Starts, chooses a model (0 K31, 1 K32) and a port, and presses OK.
    void OpenAdjustmentWindow(int model = 0, const std::string& port = "VTUSB001");

    orvane_app::AppContext& App() { return *context_; }
    TFormBoot& Boot();
    TFormAdjust& Adjust();
    ScriptedMessageBox& Boxes() { return boxes_; }
    ScriptedSaveDialog& SaveDialogs() { return saveDialog_; }
    ScriptedOpenDialog& OpenDialogs() { return openDialog_; }
    // Where this test's program keeps its service log.
    std::string ServiceLogPath() const { return logFolder_ / "service.log"; }
    FakePortList& FakePorts() {
        useFakePorts_ = true;
        return fakePorts_;
    }

    // A child of a window by its name; the test fails when it is missing.
    template <typename T>
    T* Find(QWidget& window, const char* name) {
        T* child = window.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    // The user's choice in a drop-down list, by index.
    void Choose(const char* comboName, int index);
    void ChoosePort(const std::string& port);
    void Click(QWidget& window, const char* buttonName);
    // Clicks an item of a radio group, as the technician does.
    void ClickItem(const char* groupName, int index);
    orvane_app::RadioGroup& Group(const char* groupName);
    orvane_app::MultiLineTabControl& Tabs();
    // The page shown in the page area, or "CanvasPnl", or "" when none (also
    // while the window itself is hidden).
    QString VisiblePage();

    QString StatusText();
    QColor StatusColour();
    // Whether each item of the group is enabled in itself (the group and the
    // window may still be disabled).
    std::vector<bool> ItemsEnabled(const char* groupName);

    // The interval the unlock timer had when the window was created; the
    // fixture then stops it from ticking by itself, and tests tick it.
    int disableInterval = 0;

  private:
    TempFolder logFolder_;
    orvane::SystemLibraryLoader loader_;
    orvane::VirtualPrinterPortList virtualPorts_{StateFolder()};
    FakePortList fakePorts_;
    bool useFakePorts_ = false;
    orvane::StdRandom random_;
    ScriptedMessageBox boxes_;
    ScriptedSaveDialog saveDialog_;
    ScriptedOpenDialog openDialog_;
    std::unique_ptr<orvane_app::AppContext> context_;
};

}  // namespace testing_support
