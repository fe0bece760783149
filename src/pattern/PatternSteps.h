#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "pattern/PatternPieces.h"

class IStatusReporter;
class TPRaster;
class TPFactory;
class TPStatusControl;
namespace orvane {
class IClock;
class IRandom;
}  // namespace orvane

// One run of a pattern generator: its steps in sending order, each named as
// the pattern's step list names it, so that a generator reads like its list:
//
//   I   SendInitialize          K(m)     SendColorMode
//   F   Flush                   R        SendResolution 68 01 03 01
//   G   SendGraphicsMode        H(c, l)  SendRasterHeader (c, 1, 2, 720, l)
//   U(n) SendUnit               CR       SendCarriageReturn
//   UX  SendUnitExtended        V(n)     MoveVertical
//   D(n) SendPrintDirection     X(n)     MoveHorizontal
//   E(d) SendDotSize            L(n)     FeedLines
//   EJ  EjectPage               Run(n, b) one SendRun of n copies of b
//
// The first step whose result is not 1 ends the run: every later step does
// nothing, and Finish returns that result.
//
// A pattern that tests an adjustment value names the value it changes and
// the stored value first (ChangesBidValue, ChangesPfValue) and then sets it
// with SetValue. When a step fails while the printer may hold a value other
// than the stored one, Finish sends the stored value once more before it
// returns the failure, so that a failed print never leaves a test value in
// the printer. Print data still waiting in the job goes out first, so that
// the printer receives everything in the order it was made; when that send
// fails too, the channel is not taking data and the value is not sent.
class PatternSteps {
  public:
    // What the steps reach: the print-data job, the command packets, the
    // status record's readiness wait (with the window it repaints and the
    // clock it sleeps on) and the random numbers of the dither bytes.
    struct Modules {
        TPRaster& raster;
        TPFactory& factory;
        TPStatusControl& status;
        IStatusReporter& reporter;
        orvane::IClock& clock;
        orvane::IRandom& random;
    };

    explicit PatternSteps(const Modules& modules);

    bool Ok() const { return result_ == 1; }
    // The result of the run, after the restoring send where one is due.
    uint16_t Finish();

    // Print-data steps.
    void I();
    void F();
    void G();
    void U(uint8_t unit);
    void UX();
    void D(uint8_t direction);
    void E(uint8_t dotSize);
    void K(uint8_t mode);
    void R();
    void H(uint8_t colour, uint16_t lines);
    void RasterHeader(uint8_t colour, uint16_t bytesPerLine, uint16_t lines);
    void CR();
    void V(uint16_t units);
    void X(uint16_t units);
    void L(int lines);
    void EJ();
    void DraftMode();
    void PaperSize(const std::array<uint8_t, 8>& parameters);
    void PageFormat(const std::array<uint8_t, 8>& parameters);
    void PageLength(uint8_t length);

    // Raster data.
    void Run(int count, uint8_t value);
    void Run(const pattern::Run& run) { Run(run.count, run.value); }
    template <size_t N>
    void Runs(const std::array<pattern::Run, N>& runs) {
        for (const pattern::Run& run : runs) {
            Run(run);
        }
    }
    // count lines of 720 blank bytes, one run per line.
    void BlankLines(int count);
    // count runs of one dither byte each, every byte drawn anew.
    void Dither(int count);

    // Texts. A caption goes with its terminating zero byte, a label without.
    template <size_t N>
    void Caption(const char (&text)[N]) {
        Bytes(text, N);
    }
    template <size_t N>
    void Label(const char (&text)[N]) {
        Bytes(text, N - 1);
    }
    // A label formatted by the caller (snprintf into text, whose result is
    // length), sent without its zero byte and never beyond the text.
    template <size_t N>
    void Label(const char (&text)[N], int length) {
        Bytes(text, length < 0 ? 0 : std::min(static_cast<size_t>(length), N - 1));
    }

    // Adjustment values.
    void ChangesBidValue(uint8_t colourSelector, uint8_t dotSize, int stored);
    void ChangesPfValue(uint8_t blackFlag, int stored);
    // Sets the named value to value: the stored value or a test value.
    void SetValue(int value);
    // WaitUntilReady without messages.
    void WaitReady();

  private:
    enum class Value { None, Bid, Pf };

    void Bytes(const char* text, size_t length);
    uint16_t SendValue(int value);
    // Keeps the first failure.
    void Take(uint16_t result) {
        if (result_ == 1) {
            result_ = result;
        }
    }

    TPRaster& raster_;
    TPFactory& factory_;
    TPStatusControl& status_;
    IStatusReporter& reporter_;
    orvane::IClock& clock_;
    orvane::IRandom& random_;
    uint16_t result_ = 1;

    Value value_ = Value::None;
    uint8_t selector_ = 0;  // colour selector of SendBidValue, black flag of SendPfValue
    uint8_t dotSize_ = 0;
    int stored_ = 0;
    bool changed_ = false;  // the printer may hold a value other than the stored one
};
