#pragma once

#include <array>
#include <cstdint>

// Every EEPROM address the program reads or writes. Adjustment values are
// signed bytes; the waste ink pad counter keeps its high byte at the lower
// address; text values hold one ASCII character per address, first character
// at the lowest address.
namespace eeprom {

inline constexpr int kSize = 256;
inline constexpr uint8_t kLastAddress = 0xFF;

// Carried over on main-board replacement, not interpreted.
inline constexpr uint8_t CarriedFirst = 0x04;        // 0x04-0x09
inline constexpr uint8_t CarriedSecondFirst = 0x12;  // 0x12-0x21

// Waste ink pad counter: present count and the three limit counters.
inline constexpr uint8_t WasteCounterHigh = 0x0C;
inline constexpr uint8_t WasteCounterLow = 0x0D;
inline constexpr uint8_t WasteLimitA = 0x2B;
inline constexpr uint8_t WasteLimitB = 0x3E;
inline constexpr uint8_t WasteLimitC = 0x3F;

// PF adjustment values (signed).
inline constexpr uint8_t PfBlack = 0x2C;
inline constexpr uint8_t PfColour = 0x2D;

// Market setting.
inline constexpr uint8_t MarketFixed30 = 0x30;
inline constexpr uint8_t MarketFixed31 = 0x31;
inline constexpr uint8_t MarketSecondCode = 0x5B;
inline constexpr uint8_t MarketFirstCode = 0x6E;

// Bi-D values (signed), by print mode and nozzle group.
inline constexpr uint8_t BidEcoBlack = 0x32;
inline constexpr uint8_t BidEcoColour = 0x33;
inline constexpr uint8_t BidVsd1Black = 0x34;
inline constexpr uint8_t BidVsd1Colour = 0x35;
inline constexpr uint8_t BidVsd2Black = 0x36;
inline constexpr uint8_t BidVsd2Colour = 0x37;
inline constexpr uint8_t BidVsd3Black = 0x38;
inline constexpr uint8_t BidVsd3Colour = 0x39;

// Head ID: four digit pairs and the 9th character's value.
inline constexpr std::array<uint8_t, 4> HeadIdPairs = {0x42, 0x43, 0x44, 0x45};
inline constexpr uint8_t HeadIdNinth = 0x49;

// CR heat-protect offset.
inline constexpr uint8_t HeatProtectOffset = 0x56;

// First dot position and top margin (signed).
inline constexpr uint8_t FirstDot = 0x59;
inline constexpr uint8_t TopMargin = 0x5A;

// USB ID: 10 serial characters, then 8 date-code characters.
inline constexpr uint8_t UsbIdSerialFirst = 0x5C;
inline constexpr uint8_t UsbIdDateFirst = 0x66;
inline constexpr int UsbIdSerialLength = 10;
inline constexpr int UsbIdDateLength = 8;
inline constexpr int UsbIdLength = UsbIdSerialLength + UsbIdDateLength;

// Head angular value (signed).
inline constexpr uint8_t HeadAngular = 0x75;

// The bytes that move to a new main board, in file order.
inline constexpr std::array<uint8_t, 64> BackupAddresses = {
    0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0C, 0x0D,                          // 8
    0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D,  //
    0x1E, 0x1F, 0x20, 0x21,                                                  // 16
    0x2B, 0x2C, 0x2D,                                                        // 3
    0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39,                          // 8
    0x3E, 0x3F, 0x42, 0x43, 0x44, 0x45, 0x49, 0x56, 0x59, 0x5A,              // 10
    0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67,  //
    0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D,                                      // 18
    0x75};                                                                   // 1

}  // namespace eeprom
