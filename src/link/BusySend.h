#pragma once

#include <cstdint>
#include <functional>

class TPDLLFunction;
class TPStatusControl;
namespace orvane {
class IClock;
}

class PrinterStatus;

// Sends count bytes on the data channel; while the printer answers busy it
// asks the printer's state and sends again every 500 ms. A printer in its
// error state ends the retries with ResultPrinterError, unless keepTrying
// (given) says that error is one to wait out. Returns 1, the failing code, or
// ResultInterrupted when the clock's waits have ended.
uint16_t SendWhileBusy(TPDLLFunction& link, TPStatusControl& status, orvane::IClock& clock,
                       const uint8_t* bytes, uint32_t count,
                       const std::function<bool(const PrinterStatus&)>& keepTrying = {});
