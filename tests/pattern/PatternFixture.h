#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "SequenceRandom.h"
#include "StreamReader.h"
#include "link/Rk7factory.h"
#include "link/StatusReporter.h"
#include "pattern/Rk7pattern.h"
#include "support/PrintJobFixture.h"

namespace testing_support {

// Random numbers that cross every boundary of the dither index rule.
inline const std::vector<int> kDitherSequence = {0,     8191,  8192,  16383, 16384,
                                                 24575, 24576, 32766, 32767, 12345};

// The adjustment window as the readiness wait sees it: what it was told.
class RecordingReporter final : public IStatusReporter {
  public:
    uint16_t ShowStatus(int kind, const std::string& text) override {
        shown.emplace_back(kind, text);
        return 1;
    }
    void Repaint() override { ++repaints; }

    std::vector<std::pair<int, std::string>> shown;
    int repaints = 0;
};

// The pattern generators on the print-data job of an open link to VTUSB001,
// with fixed random numbers.
class PatternTest : public PrintJobTest {
  protected:
    // Everything the printer accepted, read into items.
    Stream Received() const { return ReadStream(AcceptedBytes()); }
    // Stores adjustment values in the printer's EEPROM.
    void Store(uint8_t address, int8_t value) {
        ChangeEeprom("VTUSB001", [=](vprinter::Eeprom& eeprom) {
            eeprom[address] = static_cast<uint8_t>(value);
        });
    }
    // Makes the n-th SendDataChannel call from now fail with a channel error
    // that is not "busy".
    void FailSend(int n) {
        ChangeLibrary([=](vprinter::LibraryConfig& config) {
            config.callFaults["SendDataChannel"] = {n, 0x2000, 7};
        });
    }
    // The accepted SendDataChannel calls, each as its bytes.
    std::vector<std::vector<uint8_t>> AcceptedSends() const;

    TPFactory factory_{Link(), status_, Clock()};
    RecordingReporter reporter_;
    SequenceRandom random_{kDitherSequence};
    TPPattern pattern_{raster_, factory_, Link(), status_, reporter_, Clock(), random_};
};

// Raster blocks of a stream, in order.
std::vector<const StreamItem*> Blocks(const Stream& stream);

// The bytes of a line from a block, or a part of it.
std::vector<uint8_t> Slice(const std::vector<uint8_t>& line, int from, int count);

}  // namespace testing_support
