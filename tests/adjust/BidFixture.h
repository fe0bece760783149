#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "adjust/Rk7bid.h"
#include "link/Rk7factory.h"
#include "link/StatusReporter.h"
#include "pattern/Rk7pattern.h"
#include "platform/Random.h"
#include "support/PrintJobFixture.h"

namespace adjust_tests {

// The adjustment window as far as the generators' readiness wait reaches it;
// the Bi-D patterns never wait, so it only counts what it is told.
class SilentReporter final : public IStatusReporter {
  public:
    uint16_t ShowStatus(int, const std::string&) override {
        ++shown;
        return 1;
    }
    void Repaint() override {}

    int shown = 0;
};

// The Bi-D module on VTUSB001 with the real packet object, print-data job and
// pattern generators.
class BidTest : public testing_support::PrintJobTest {
  protected:
    // Stores bytes at their addresses and empties the trace.
    void StoreBytes(const std::map<int, uint8_t>& bytes) {
        ChangeEeprom("VTUSB001", [&](vprinter::Eeprom& eeprom) {
            for (const auto& [address, value] : bytes) {
                eeprom[static_cast<size_t>(address)] = value;
            }
        });
        ClearTrace();
    }

    TPFactory factory_{Link(), status_, Clock()};
    orvane::StdRandom random_;
    SilentReporter reporter_;
    TPPattern pattern_{raster_, factory_, Link(), status_, reporter_, Clock(), random_};
    TPBid bid_{Link(), factory_, raster_, pattern_};
};

}  // namespace adjust_tests
