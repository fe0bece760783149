#include "pattern/PatternSteps.h"

#include "link/ResultCodes.h"
#include "link/Rk7factory.h"
#include "link/Rk7statuscontrol.h"
#include "pattern/Rk7raster.h"
#include "platform/Clock.h"
#include "platform/Random.h"

PatternSteps::PatternSteps(const Modules& modules)
    : raster_(modules.raster),
      factory_(modules.factory),
      status_(modules.status),
      reporter_(modules.reporter),
      clock_(modules.clock),
      random_(modules.random) {}

// Each step runs only while every step before it returned 1.
#define PATTERN_STEP(call) \
    do {                   \
        if (Ok()) {        \
            Take(call);    \
        }                  \
    } while (false)

void PatternSteps::I() {
    PATTERN_STEP(raster_.SendInitialize());
}
void PatternSteps::F() {
    PATTERN_STEP(raster_.Flush());
}
void PatternSteps::G() {
    PATTERN_STEP(raster_.SendGraphicsMode());
}
void PatternSteps::U(uint8_t unit) {
    PATTERN_STEP(raster_.SendUnit(unit));
}
void PatternSteps::UX() {
    PATTERN_STEP(raster_.SendUnitExtended());
}
void PatternSteps::D(uint8_t direction) {
    PATTERN_STEP(raster_.SendPrintDirection(direction));
}
void PatternSteps::E(uint8_t dotSize) {
    PATTERN_STEP(raster_.SendDotSize(dotSize));
}
void PatternSteps::K(uint8_t mode) {
    PATTERN_STEP(raster_.SendColorMode(mode));
}
void PatternSteps::R() {
    PATTERN_STEP(raster_.SendResolution(0x68, 0x01, 0x03, 0x01));
}
void PatternSteps::H(uint8_t colour, uint16_t lines) {
    RasterHeader(colour, pattern::kLineBytes, lines);
}
void PatternSteps::RasterHeader(uint8_t colour, uint16_t bytesPerLine, uint16_t lines) {
    // Compression 1 (run-length units), 2 bits per dot.
    PATTERN_STEP(raster_.SendRasterHeader(colour, 1, 2, bytesPerLine, lines));
}
void PatternSteps::CR() {
    PATTERN_STEP(raster_.SendCarriageReturn());
}
void PatternSteps::V(uint16_t units) {
    PATTERN_STEP(raster_.MoveVertical(units));
}
void PatternSteps::X(uint16_t units) {
    PATTERN_STEP(raster_.MoveHorizontal(units));
}
void PatternSteps::L(int lines) {
    PATTERN_STEP(raster_.FeedLines(lines));
}
void PatternSteps::EJ() {
    PATTERN_STEP(raster_.EjectPage());
}
void PatternSteps::DraftMode() {
    PATTERN_STEP(raster_.SendDraftMode());
}
void PatternSteps::PaperSize(const std::array<uint8_t, 8>& parameters) {
    PATTERN_STEP(raster_.SendPaperSize(parameters));
}
void PatternSteps::PageFormat(const std::array<uint8_t, 8>& parameters) {
    PATTERN_STEP(raster_.SendPageFormat(parameters));
}
void PatternSteps::PageLength(uint8_t length) {
    PATTERN_STEP(raster_.SendPageLength(length));
}

void PatternSteps::Run(int count, uint8_t value) {
    PATTERN_STEP(raster_.SendRun(count, value));
}

void PatternSteps::BlankLines(int count) {
    for (int line = 0; line < count && Ok(); ++line) {
        Run(pattern::kLineBytes, pattern::kBlank);
    }
}

void PatternSteps::Dither(int count) {
    for (int i = 0; i < count && Ok(); ++i) {
        Run(1, pattern::DitherByte(random_.Next()));
    }
}

void PatternSteps::Bytes(const char* text, size_t length) {
    PATTERN_STEP(
        raster_.SendBytes(reinterpret_cast<const uint8_t*>(text), static_cast<int>(length)));
}

void PatternSteps::WaitReady() {
    PATTERN_STEP(status_.WaitUntilReady(status_.Record(), false, reporter_, raster_, clock_));
}

#undef PATTERN_STEP

void PatternSteps::ChangesBidValue(uint8_t colourSelector, uint8_t dotSize, int stored) {
    value_ = Value::Bid;
    selector_ = colourSelector;
    dotSize_ = dotSize;
    stored_ = stored;
}

void PatternSteps::ChangesPfValue(uint8_t blackFlag, int stored) {
    value_ = Value::Pf;
    selector_ = blackFlag;
    stored_ = static_cast<int8_t>(stored);
}

uint16_t PatternSteps::SendValue(int value) {
    const TPFactory::PatternValues testValues(factory_);
    switch (value_) {
        case Value::Bid:
            return factory_.SendBidValue(selector_, dotSize_, value);
        case Value::Pf:
            return factory_.SendPfValue(selector_, static_cast<uint8_t>(value));
        case Value::None:
            break;
    }
    return ResultOk;
}

void PatternSteps::SetValue(int value) {
    if (!Ok()) {
        return;
    }
    // PF values are one byte: value-1 of -128 is the byte 0x7F.
    if (value_ == Value::Pf) {
        value = static_cast<int8_t>(value);
    }
    const bool test = value != stored_;
    if (test) {
        // From here on the printer may hold the test value, whatever the
        // packet's result says.
        changed_ = true;
    }
    const uint16_t result = SendValue(value);
    if (result == ResultOk && !test) {
        changed_ = false;
    }
    Take(result);
}

uint16_t PatternSteps::Finish() {
    if (!Ok() && changed_) {
        if (raster_.FlushWithCutPiece() == ResultOk) {
            if (SendValue(stored_) == ResultOk) {
                changed_ = false;
            }
        }
    }
    return result_;
}
