#include "adjust/Rk7bid.h"

#include <algorithm>

#include "adjust/ValueText.h"
#include "eeprom/EepromMap.h"
#include "link/Dllfunction.h"
#include "link/PrintModes.h"
#include "link/ResultCodes.h"
#include "link/Rk7factory.h"
#include "pattern/Rk7pattern.h"
#include "pattern/Rk7raster.h"

namespace {

// What a text that is no number counts as: outside the range, so refused.
constexpr int kNotANumber = 100;

// The texts of the check pattern page; each goes out with its terminating
// zero byte.
constexpr char kHeading[] = "Bi-D Check pattern\r\n";
constexpr char kBlackAndColour[] = " BLACK/COLOR\r";
constexpr char kBlackOnly[] = " BLACK\r";
constexpr char kColourOnly[] = " COLOR\r";
constexpr char kVsd1Title[] = "VSD1 Bi-D";
constexpr char kVsd2Title[] = "VSD2 Bi-D";
constexpr char kVsd3Title[] = "VSD3 Bi-D";
constexpr char kEcoTitle[] = "ECO Bi-D";

static_assert(sizeof kHeading == 21 && sizeof kBlackAndColour == 14 && sizeof kBlackOnly == 8 &&
              sizeof kColourOnly == 8 && sizeof kVsd1Title == 10 && sizeof kEcoTitle == 9);

}  // namespace

const std::array<TPBid::Item, TPBid::kItemCount> TPBid::kItems = {{
    {SelectBlack, ModeVsd1, eeprom::BidVsd1Black, ErrorVsd1Black},
    {SelectColour, ModeVsd1, eeprom::BidVsd1Colour, ErrorVsd1Colour},
    {SelectBlack, ModeVsd2, eeprom::BidVsd2Black, ErrorVsd2Black},
    {SelectColour, ModeVsd2, eeprom::BidVsd2Colour, ErrorVsd2Colour},
    {SelectBlack, ModeVsd3, eeprom::BidVsd3Black, ErrorVsd3Black},
    {SelectColour, ModeVsd3, eeprom::BidVsd3Colour, ErrorVsd3Colour},
    {SelectBlack, ModeEco, eeprom::BidEcoBlack, ErrorEcoBlack},
    {SelectColour, ModeEco, eeprom::BidEcoColour, ErrorEcoColour},
}};

TPBid::TPBid(TPDLLFunction& link, TPFactory& factory, TPRaster& raster, TPPattern& pattern)
    : link_(link), factory_(factory), raster_(raster), pattern_(pattern) {}

const TPBid::Item* TPBid::FindItem(uint8_t colourSelector, uint8_t mode) {
    const uint8_t group = colourSelector == SelectBlack ? SelectBlack : SelectColour;
    for (const Item& item : kItems) {
        if (item.mode == mode && item.colourSelector == group) {
            return &item;
        }
    }
    return nullptr;
}

uint16_t TPBid::ReadBidValue(uint8_t colourSelector, uint8_t mode, std::string& text) {
    const Item* item = FindItem(colourSelector, mode);
    if (item == nullptr) {
        return ResultCommandError;
    }
    uint8_t value = 0;
    const uint16_t result = link_.D4ReadEeprom(item->address, value);
    if (result != ResultOk) {
        return result;
    }
    text = adjust::SignedByteText(value);
    return ResultOk;
}

uint16_t TPBid::CheckBidValue(uint8_t colourSelector, uint8_t mode, std::string_view text,
                              int& value) {
    const Item* item = FindItem(colourSelector, mode);
    if (item == nullptr) {
        return ResultCommandError;
    }
    value = adjust::TextToIntDef(text, kNotANumber);
    // All eight values are checked, VSD1 colour included: a value outside
    // the range never reaches the printer.
    if (value < kMinimum || value > kMaximum) {
        errorItem_ = item->errorItem;
        return ResultBidValueError;
    }
    return ResultOk;
}

uint16_t TPBid::WriteBidValue(uint8_t colourSelector, uint8_t mode, std::string_view text) {
    int value = 0;
    const uint16_t result = CheckBidValue(colourSelector, mode, text, value);
    if (result != ResultOk) {
        return result;
    }
    return factory_.SendBidValue(colourSelector, mode, value);
}

template <size_t N>
uint16_t TPBid::SendText(const char (&text)[N]) {
    return raster_.SendBytes(reinterpret_cast<const uint8_t*>(text), static_cast<int>(N));
}

uint16_t TPBid::PrintBidPattern(const Flags& flags) {
    if (std::none_of(flags.begin(), flags.end(), [](bool flag) { return flag; })) {
        return ResultOk;
    }
    // Every stored value is read before the first byte is sent, whatever
    // the flags, so that a failed read leaves nothing half printed.
    std::array<int, kItemCount> stored{};
    for (size_t i = 0; i < kItems.size(); ++i) {
        uint8_t byte = 0;
        const uint16_t result = link_.D4ReadEeprom(kItems[i].address, byte);
        if (result != ResultOk) {
            return result;
        }
        stored[i] = static_cast<int8_t>(byte);
    }
    TPDLLFunction::PatternPrint print(link_, "bid");
    return print.Done(PrintItems(flags, stored));
}

uint16_t TPBid::PrintItems(const Flags& flags, const std::array<int, kItemCount>& stored) {
    uint16_t result = SendText(kHeading);
    if (result != ResultOk) {
        return result;
    }
    // Items come in pairs per mode: black at 2m, colour at 2m + 1.
    for (size_t black = 0; black < kItems.size(); black += 2) {
        const size_t colour = black + 1;
        const uint8_t mode = kItems[black].mode;
        if (!flags[black] && !flags[colour]) {
            continue;
        }
        switch (mode) {
            case ModeVsd1:
                result = SendText(kVsd1Title);
                break;
            case ModeVsd2:
                result = SendText(kVsd2Title);
                break;
            case ModeVsd3:
                result = SendText(kVsd3Title);
                break;
            default:
                result = SendText(kEcoTitle);
                break;
        }
        if (result != ResultOk) {
            return result;
        }
        if (flags[black] && flags[colour]) {
            result = SendText(kBlackAndColour);
        } else if (flags[black]) {
            result = SendText(kBlackOnly);
        } else {
            result = SendText(kColourOnly);
        }
        if (result != ResultOk) {
            return result;
        }
        if (flags[black]) {
            result = pattern_.PrintBidBlackPattern(mode, stored[black]);
            if (result != ResultOk) {
                return result;
            }
        }
        if (flags[colour]) {
            result = pattern_.PrintBidColorPattern(mode, stored[colour]);
            if (result != ResultOk) {
                return result;
            }
        }
    }
    return raster_.EjectPage();
}
