#pragma once

#include <QLineEdit>
#include <QString>
#include <cstdlib>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "app/Rk7formadjust.h"
#include "eeprom/EepromTrace.h"
#include "support/TempFolder.h"

namespace testing_support {

// A page of the adjustment window on the virtual printers, with a backup
// folder of the test's own.
class PageTest : public AppTest {
  protected:
    PageTest() {
        if (const char* previous = std::getenv("XDG_DATA_HOME")) {
            previousData_ = previous;
        }
        setenv("XDG_DATA_HOME", (data_ / "data").c_str(), 1);
    }
    ~PageTest() override { setenv("XDG_DATA_HOME", previousData_.c_str(), 1); }

    // Opens the adjustment window (model 0 the Orvane K31, 1 the Orvane K32)
    // and chooses the page's navigation item; the trace starts empty.
    void OpenPage(const char* group, int item, int model = 0,
                  const std::string& port = "VTUSB001") {
        OpenAdjustmentWindow(model, port);
        ClickItem(group, item);
        ClearTrace();
    }

    // Presses a button of the window, and lets the unlock timer tick once the
    // handler has returned, as the event loop would.
    void Press(const char* buttonName) {
        Click(Adjust(), buttonName);
        Adjust().DisableTimerTimer();
    }

    // Types text into an edit as the technician does, after emptying it.
    void Type(const char* editName, const QString& text);
    // Clicks the up (true) or down arrow of an up-down.
    void Step(const char* upDownName, bool up);
    QString EditText(const char* editName) { return Find<QLineEdit>(Adjust(), editName)->text(); }

    std::vector<eeprom_tests::AddressValue> Writes() const {
        return eeprom_tests::WritesOf(Calls("D4WriteEeprom"));
    }
    std::vector<int> Reads() const { return eeprom_tests::AddressesOf(Calls("D4ReadEeprom")); }

    const TempFolder& Data() const { return data_; }

  private:
    TempFolder data_;
    std::string previousData_;
};

}  // namespace testing_support
