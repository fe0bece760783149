#include "link/ResultMessages.h"

#include <cstddef>

#include "link/ResultCodes.h"

namespace {

struct FamilyText {
    int detail;
    const char* text;
};

const FamilyText kHeadIdTexts[] = {
    {16, "The number of digit is wrong."},
    {17, "1st and 2nd digit is wrong."},
    {18, "3rd and 4th digit are wrong."},
    {19, "5th and 6th digit are wrong."},
    {20, "7th and 8th digit are wrong."},
    {21, "9th digit are wrong."},
    {22, "Check ID is wrong."},
};

const FamilyText kBidTexts[] = {
    {1, "VSD1 Black value is wrong."}, {2, "VSD2 Black value is wrong."},
    {3, "VSD3 Black value is wrong."}, {5, "ECO Black value is wrong."},
    {6, "VSD1 Color value is wrong."}, {7, "VSD2 Color value is wrong."},
    {8, "VSD3 Color value is wrong."}, {10, "ECO Color value is wrong."},
};

const FamilyText kUsbIdTexts[] = {
    {1, "The Number of digit is wrong."},
    {2, "Parameter is only number & alphabet."},
    {3, "The year of the PC clock must be 1999 to 2034."},
    {16, "The USB ID is wrong."},
};

const FamilyText kHeadAngularTexts[] = {
    {1, "Head angular value is wrong."},
};

const FamilyText kEepromFileTexts[] = {
    {2, "Cannot create file."},
    {3, "Cannot read data from file."},
};

template <std::size_t N>
const char* Find(const FamilyText (&table)[N], int detail) {
    for (const FamilyText& entry : table) {
        if (entry.detail == detail) {
            return entry.text;
        }
    }
    return nullptr;
}

// The I/O errors of the port library that mean "no answer from the printer".
bool IsNoAnswerIoError(int16_t code) {
    return code == -105 || code == -104 || code == -103 || code == -82 || code == -81;
}

const char* const kCommunicationError = "Communication error occurred.";
const char* const kClearTheError = "Clear the error and click the [Get Status] button.";

}  // namespace

ResultMessage LinkResultMessage(uint16_t code, int16_t ioError) {
    switch (code) {
        case ResultPortIoError:
            return {IsNoAnswerIoError(ioError) ? "Communication error." : kCommunicationError};
        case ResultPortDeviceId:
        case ResultChannelError:
        case ResultCommandError:
            return {kCommunicationError};
        case ResultPortNoResponse:
            return {kCommunicationError, "Check the I/F cable connection and power of printer."};
        case ResultFileOpenError:
            return {"Cannot file open."};
        case ResultDllMissing:
            return {"Cannot found the DLL files."};
        case ResultOutOfMemory:
            return {"There is not enough free memory to run this program.",
                    "Quit one or more programs, and then try again."};
        default:
            return {};
    }
}

ResultMessage PrinterErrorMessage(uint8_t printerErrorCode) {
    switch (printerErrorCode) {
        case 0:
            return {"Fatal error."};
        case 1:
            return {"Communication error."};
        case 4:
            return {"Paper jam error.", kClearTheError};
        case 5:
            return {"Ink out error.", kClearTheError};
        case 6:
            return {"Paper out error.", kClearTheError};
        case 16:
            return {"Maintenance error."};
        case 18:
            return {"Double feed error.", kClearTheError};
        default:
            return {};
    }
}

const char* FamilyErrorText(uint16_t familyCode, int detail) {
    switch (familyCode) {
        case ResultHeadIdError:
            return Find(kHeadIdTexts, detail);
        case ResultBidValueError:
            return Find(kBidTexts, detail);
        case ResultUsbIdError:
            return Find(kUsbIdTexts, detail);
        case ResultHeadAngularError:
            return Find(kHeadAngularTexts, detail);
        case ResultEepromFileError:
            return Find(kEepromFileTexts, detail);
        default:
            return nullptr;
    }
}

bool IsFamilyCode(uint16_t code) {
    return code == ResultHeadIdError || code == ResultBidValueError || code == ResultUsbIdError ||
           code == ResultHeadAngularError || code == ResultEepromFileError;
}
