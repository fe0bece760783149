#pragma once

#include <cstdint>
#include <string>

class TPDLLFunction;

// The waste ink pad counter as it is read from the printer: the present
// count of ink spent into the pad, the maximum the pad takes (derived from
// three usage bytes) and the usage rate. The values live only in the printer;
// every read asks for them anew. The maintenance module adds the reset; the
// normal-paper check sheet prints the three texts.
class WasteInkCounter {
  public:
    // The maximum always lies in this range.
    static constexpr int kMinimumMaximum = 12500;
    static constexpr int kMaximumMaximum = 25000;

    explicit WasteInkCounter(TPDLLFunction& link);

    // Reads 0x0D, then 0x0C; count = high * 256 + low.
    uint16_t ReadPresentCount(uint16_t& count);
    // Reads A (0x2B), B (0x3E), C (0x3F) and computes the maximum from them.
    uint16_t ComputeMaximumCount(uint16_t& maximum);
    // The three texts of the counter page and the check sheet: maximum and
    // present count in decimal, the usage rate in whole percent followed by
    // " %". No text is set when a read fails.
    uint16_t ReadWasteInkCounter(std::string& maximumText, std::string& presentText,
                                 std::string& rateText);

    // The maximum for the usage bytes A, B and C: 12500 + 500 A (A up to 50)
    // or 15000 + 200 A (A from 51), less 200 B and 350 C, worked out on the
    // true value and then held within 12500..25000.
    static uint16_t MaximumCount(uint8_t a, uint8_t b, uint8_t c);

  protected:
    TPDLLFunction& link_;
};
