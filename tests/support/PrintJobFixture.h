#pragma once

#include <cstdint>
#include <vector>

#include "link/Rk7statuscontrol.h"
#include "pattern/Rk7raster.h"
#include "support/LinkFixture.h"
#include "support/ScriptedMessageBox.h"

namespace testing_support {

// A link opened to VTUSB001 with an empty trace, the status record, and the
// print-data job on the virtual clock with a scripted message box.
class PrintJobTest : public VirtualPrinterTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(OpenLink(), 1);
        ClearTrace();
    }

    // The bytes of every SendDataChannel call, accepted or not, in order.
    std::vector<std::vector<uint8_t>> Sends() const {
        std::vector<std::vector<uint8_t>> sends;
        for (const auto& call : Calls("SendDataChannel")) {
            sends.push_back(call.data);
        }
        return sends;
    }

    // Sets the printer's standing state and error code.
    void SetPrinterState(uint8_t state, uint8_t error) {
        ChangePrinter("VTUSB001", [=](vprinter::PrinterConfig& config) {
            config.state = state;
            config.error = error;
        });
    }
    void RefuseSendsAsBusy(int sends) {
        ChangePrinter("VTUSB001",
                      [=](vprinter::PrinterConfig& config) { config.busySends = sends; });
    }

    TPStatusControl status_{Link()};
    ScriptedMessageBox messageBox_;
    TPRaster raster_{Link(), status_, Clock(), messageBox_};
};

}  // namespace testing_support
