#pragma once

#include <cstdint>

// What the technician reads for a failed operation's result code: an error
// text and at most one line added below it. The adjustment window shows them
// on its status line; the command-line tools print them.
struct ResultMessage {
    const char* error = nullptr;  // nullptr: no error text
    const char* line = nullptr;   // nullptr: no added line
};

// The message of a code that needs no module's detail: 0x1000 (told apart by
// the port library's I/O error), 0x1001, 0x1100, 0x2000, 0x2001, 0x3000,
// 0xB000 and 0xC000. Any other code gets no text.
ResultMessage LinkResultMessage(uint16_t code, int16_t ioError);

// The message of 0x4000 by the printer's error code (byte 1 of the status
// record); an error code without one gets no text.
ResultMessage PrinterErrorMessage(uint8_t printerErrorCode);

// The error text of a family code (0x5000 Head ID, 0x7000 Bi-D, 0x8000 USB ID,
// 0xD000 head angular, 0xF040 EEPROM file) by the module's error index or
// item; nullptr when the family has none for it.
const char* FamilyErrorText(uint16_t familyCode, int detail);

// True for the codes whose text depends on a module's error index or item.
bool IsFamilyCode(uint16_t code);
