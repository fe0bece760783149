#include "eeprom/Rk7usbid.h"

#include "eeprom/EepromMap.h"
#include "eeprom/TypedText.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"

namespace {

bool IsUsbIdCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

// 0-9 as digits, 10 and up as letters from 'A'.
char CodeCharacter(int value) {
    return static_cast<char>(value < 10 ? '0' + value : 'A' + (value - 10));
}

uint16_t WriteText(TPDLLFunction& link, uint8_t firstAddress, std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const uint16_t result = link.D4WriteEeprom(static_cast<uint8_t>(firstAddress + i),
                                                   static_cast<uint8_t>(text[i]));
        if (result != ResultOk) {
            return result;
        }
    }
    return ResultOk;
}

}  // namespace

TPUsbId::TPUsbId(TPDLLFunction& link, orvane::IClock& clock) : link_(link), clock_(clock) {}

uint16_t TPUsbId::Fail(int16_t index) {
    errorIndex_ = index;
    return ResultUsbIdError;
}

bool TPUsbId::MakeDateCode(const orvane::LocalDateTime& time, std::string& dateCode) {
    if (time.year < kFirstYear || time.year > kLastYear) {
        return false;
    }
    // 1999 is '9', 2000-2008 are '0'-'8', and 2009-2034 the letters 'A'-'Z'.
    const int year = time.year == kFirstYear ? 9
                     : time.year <= 2008     ? time.year - 2000
                                             : 10 + (time.year - 2009);
    const int halves = (time.minute >= 30 ? 2 : 0) + (time.second >= 30 ? 1 : 0);
    dateCode = {CodeCharacter(year),
                CodeCharacter(time.month),
                CodeCharacter(time.day),
                CodeCharacter(time.hour),
                CodeCharacter(time.minute % 30),
                CodeCharacter(time.second % 30),
                CodeCharacter(halves),
                '0'};
    return true;
}

bool TPUsbId::IsUsbId(std::string_view id) {
    for (const char c : id) {
        if (!IsUsbIdCharacter(c)) {
            return false;
        }
    }
    return id.size() == static_cast<size_t>(eeprom::UsbIdLength);
}

uint16_t TPUsbId::Check(std::string_view serial, std::string& code) {
    if (eeprom::CharacterCount(serial) != static_cast<size_t>(eeprom::UsbIdSerialLength)) {
        return Fail(ErrorLength);
    }
    for (const char c : serial) {
        if (!IsUsbIdCharacter(c)) {
            return Fail(ErrorCharacter);
        }
    }
    // The time is taken before the first write so that a clock the date code
    // cannot express is refused while the printer is still untouched.
    if (!MakeDateCode(clock_.Now(), code)) {
        return Fail(ErrorYear);
    }
    return ResultOk;
}

uint16_t TPUsbId::CheckUsbId(std::string_view serial) {
    std::string code;
    return Check(serial, code);
}

uint16_t TPUsbId::WriteUsbId(std::string_view serial, std::string& dateCode) {
    std::string code;
    uint16_t result = Check(serial, code);
    if (result != ResultOk) {
        return result;
    }
    const TPDLLFunction::ServiceOperation operation(link_, servicelog::UsbId);
    result = WriteText(link_, eeprom::UsbIdSerialFirst, serial);
    if (result != ResultOk) {
        return result;
    }
    result = WriteText(link_, eeprom::UsbIdDateFirst, code);
    if (result != ResultOk) {
        return result;
    }
    dateCode = code;
    link_.NoteUsbId(std::string(serial) + code);
    return ResultOk;
}

uint16_t TPUsbId::ReadUsbId(std::string& id) {
    id.clear();
    std::string text;
    for (int i = 0; i < eeprom::UsbIdLength; ++i) {
        uint8_t value = 0;
        const uint16_t result =
            link_.D4ReadEeprom(static_cast<uint8_t>(eeprom::UsbIdSerialFirst + i), value);
        if (result != ResultOk) {
            return result;
        }
        const char c = static_cast<char>(value);
        if (!IsUsbIdCharacter(c)) {
            link_.NoteUsbId({});  // the board holds no USB ID the records could name
            return Fail(ErrorStoredId);
        }
        text.push_back(c);
    }
    id = text;
    link_.NoteUsbId(text);
    return ResultOk;
}
