#include "adjust/Rk7bid.h"

#include "adjust/ValueText.h"
#include "eeprom/EepromMap.h"
#include "link/Dllfunction.h"
#include "link/PrintModes.h"
#include "link/ResultCodes.h"
#include "link/Rk7factory.h"

namespace {

// What a text that is no number counts as: outside the range, so refused.
constexpr int kNotANumber = 100;

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

TPBid::TPBid(TPDLLFunction& link, TPFactory& factory) : link_(link), factory_(factory) {}

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

uint16_t TPBid::WriteBidValue(uint8_t colourSelector, uint8_t mode, std::string_view text) {
    const Item* item = FindItem(colourSelector, mode);
    if (item == nullptr) {
        return ResultCommandError;
    }
    const int value = adjust::TextToIntDef(text, kNotANumber);
    // All eight values are checked, VSD1 colour included: a value outside
    // the range never reaches the printer.
    if (value < kMinimum || value > kMaximum) {
        errorItem_ = item->errorItem;
        return ResultBidValueError;
    }
    return factory_.SendBidValue(colourSelector, mode, value);
}
