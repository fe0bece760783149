#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Clock.h"

class TPDLLFunction;

// The USB ID the printer reports: the 10-character serial number typed by the
// technician and an 8-character date code of the moment it was written, kept
// as 18 ASCII characters ('0'-'9', 'A'-'Z') at 0x5C-0x6D.
class TPUsbId {
  public:
    // Error index values (result ResultUsbIdError).
    static constexpr int16_t ErrorLength = 1;
    static constexpr int16_t ErrorCharacter = 2;
    // The PC clock shows a year outside 1999-2034, which the date code cannot
    // express; nothing is written.
    static constexpr int16_t ErrorYear = 3;
    static constexpr int16_t ErrorStoredId = 16;

    static constexpr int kFirstYear = 1999;
    static constexpr int kLastYear = 2034;

    TPUsbId(TPDLLFunction& link, orvane::IClock& clock);

    // Checks the serial (exactly 10 characters, each '0'-'9' or 'A'-'Z') and
    // the year of the clock, then writes the serial and the date code of the
    // present local time. On success dateCode holds the 8 characters written.
    // The writes are logged as "usb-id"; the link's records carry the new ID
    // from then on, as they do the ID a read found.
    uint16_t WriteUsbId(std::string_view serial, std::string& dateCode);
    // The checks of WriteUsbId alone (serial and the clock's year), nothing
    // written: 1, or ResultUsbIdError with the error index set.
    uint16_t CheckUsbId(std::string_view serial);
    // Reads the 18 characters into id. A character that no USB ID holds ends
    // the read at once with ResultUsbIdError and ErrorStoredId; id is then empty.
    uint16_t ReadUsbId(std::string& id);

    int16_t ErrorIndex() const { return errorIndex_; }

    // The date code of a local time: year, month, day, hour, minute mod 30,
    // second mod 30, the halves of minute and second, and '0'. False when the
    // year has no character.
    static bool MakeDateCode(const orvane::LocalDateTime& time, std::string& dateCode);
    // Whether id is a USB ID as the printer keeps it: 18 characters, each
    // '0'-'9' or 'A'-'Z'.
    static bool IsUsbId(std::string_view id);

  private:
    uint16_t Fail(int16_t index);
    uint16_t Check(std::string_view serial, std::string& dateCode);

    TPDLLFunction& link_;
    orvane::IClock& clock_;
    int16_t errorIndex_ = 0;
};
