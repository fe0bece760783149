#include "tools/pattern/Items.h"

#include <cstring>

#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "tools/pattern/Session.h"

namespace orvane::tools {

namespace {

int Value(Session& s) {
    return s.Options().value.value_or(0);
}
int8_t Byte(Session& s) {
    return static_cast<int8_t>(Value(s));
}
uint8_t DotSize(Session& s) {
    return static_cast<uint8_t>(s.Options().dotSize);
}

// The PF page versions read their stored value from the printer: --value,
// when given, is stored there first.
uint16_t StoreThen(Session& s, uint8_t address, uint16_t (TPPattern::*print)()) {
    if (s.Options().value) {
        const uint16_t result = s.Link().D4WriteEeprom(address, static_cast<uint8_t>(Byte(s)));
        if (result != ResultOk) {
            return result;
        }
    }
    return (s.Pattern().*print)();
}

constexpr int kByteLow = -128;
constexpr int kByteHigh = 127;

}  // namespace

const std::vector<Item>& Items() {
    static const std::vector<Item> items = {
        {"beta", "solid black, yellow, magenta and cyan areas (normal-paper sheet)", TakesNothing,
         0, 0, [](Session& s) { return s.Pattern().PrintBetaPattern(); }},
        {"vertical-alignment", "vertical alignment, VSD1 and VSD3 (normal-paper sheet)",
         TakesNothing, 0, 0,
         [](Session& s) { return s.Pattern().PrintVerticalAlignmentPattern(); }},
        {"horizontal-alignment", "horizontal alignment and bend lines (normal-paper sheet)",
         TakesNothing, 0, 0,
         [](Session& s) { return s.Pattern().PrintHorizontalAlignmentPattern(); }},
        {"head-angular", "head angular page: five marks and their scale", TakesNothing, 0, 0,
         [](Session& s) { return s.Pattern().PrintHeadAngularPattern(); }},
        {"sheet-head-angular", "head angular pairs of the photo-paper sheet", TakesNothing, 0, 0,
         [](Session& s) { return s.Pattern().PrintSheetHeadAngularPattern(); }},
        {"pf-black", "PF page, black: -5..+5, then the stored value (--value stores it first)",
         TakesValue, kByteLow, kByteHigh,
         [](Session& s) { return StoreThen(s, eeprom::PfBlack, &TPPattern::PrintPfBlackPattern); }},
        {"pf-color", "PF page, colour: -5..+5, then the stored value (--value stores it first)",
         TakesValue, kByteLow, kByteHigh,
         [](Session& s) {
             return StoreThen(s, eeprom::PfColour, &TPPattern::PrintPfColorPattern);
         }},
        {"sheet-pf-black", "PF black of the photo-paper sheet around --value", TakesValue, kByteLow,
         kByteHigh, [](Session& s) { return s.Pattern().PrintSheetPfBlackPattern(Byte(s)); }},
        {"sheet-pf-color", "PF colour of the photo-paper sheet around --value", TakesValue,
         kByteLow, kByteHigh,
         [](Session& s) { return s.Pattern().PrintSheetPfColorPattern(Byte(s)); }},
        {"first-dot", "first dot position (ejects its page)", TakesNothing, 0, 0,
         [](Session& s) { return s.Pattern().PrintFirstDotPattern(); }},
        {"top-margin", "top margin page (caption left for the eject unless --skip-caption)",
         TakesSkipCaption, 0, 0,
         [](Session& s) {
             return s.Pattern().PrintTopMarginPattern(
                 static_cast<uint8_t>(s.Options().skipCaption));
         }},
        {"sheet-top-margin", "top margin of the photo-paper sheet", TakesNothing, 0, 0,
         [](Session& s) { return s.Pattern().PrintSheetTopMarginPattern(); }},
        {"accumulated-pitch", "accumulated pitch line of the photo-paper sheet", TakesNothing, 0, 0,
         [](Session& s) { return s.Pattern().PrintAccumulatedPitchPattern(); }},
        {"bid-black", "Bi-D page, black, three rows around --value at --dot-size",
         TakesValue | TakesDotSize, kByteLow, kByteHigh,
         [](Session& s) { return s.Pattern().PrintBidBlackPattern(DotSize(s), Value(s)); }},
        {"bid-color", "Bi-D page, colour, three rows around --value at --dot-size",
         TakesValue | TakesDotSize, kByteLow, kByteHigh,
         [](Session& s) { return s.Pattern().PrintBidColorPattern(DotSize(s), Value(s)); }},
        {"sheet-bid-black", "Bi-D black of the photo-paper sheet: --value, +1, -1",
         TakesValue | TakesDotSize, kByteLow, kByteHigh,
         [](Session& s) { return s.Pattern().PrintSheetBidBlackPattern(DotSize(s), Value(s)); }},
        {"sheet-bid-color", "Bi-D colour of the photo-paper sheet: --value, +1, -1",
         TakesValue | TakesDotSize, kByteLow, kByteHigh,
         [](Session& s) { return s.Pattern().PrintSheetBidColorPattern(DotSize(s), Value(s)); }},
        {"nozzle-check", "the printer's own nozzle check in remote mode, with its caption",
         TakesNothing, 0, 0, [](Session& s) { return s.Remote().PrintNozzleCheck(); }},
        {"normal-sheet", "the A4 normal-paper check sheet, at what the printer holds (ejects)",
         TakesNothing, 0, 0, [](Session& s) { return s.CheckPattern().PrintNormalPaperSheet(); }},
        {"photo-sheet", "the A4 photo-paper check sheet, two pages at the stored values (ejects)",
         TakesNothing, 0, 0, [](Session& s) { return s.CheckPattern().PrintPhotoPaperSheet(); }},
    };
    return items;
}

const Item* FindItem(const char* name) {
    for (const Item& item : Items()) {
        if (std::strcmp(item.name, name) == 0) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace orvane::tools
