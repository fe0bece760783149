#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/MessageBox.h"

class TPDLLFunction;
class TPFactory;
class TPPattern;
class TPRaster;
class TPRemoteComm;

// The adjustment values that have no module object of their own (PF, top
// margin, first dot position), the market destination's reading, and the
// steps of the pages' pattern prints: the one place of their rules, used by
// the adjustment window's pages and by orvane-service.
namespace adjust {

// ---------------------------------------------------------------------------
// PF adjustment: one signed value for black, one for colour.

enum class PfColour { Black, Colour };

struct PfSide {
    uint8_t address;    // of the stored value
    uint8_t blackFlag;  // of the value packet
};
PfSide PfSideOf(PfColour colour);

inline constexpr int kPfMinimum = -4;
inline constexpr int kPfMaximum = 4;

// The value a typed text stands for when Input takes it: -4..4. A text that
// is no number counts as out of range, so it is refused too.
std::optional<int> CheckPfValue(std::string_view text);
inline constexpr const char* kPfRefusedText = "The input value is wrong.";
// The PF value packet, then the store packet.
uint16_t WritePfValue(TPFactory& factory, PfColour colour, int value);
uint16_t ReadPfValue(TPDLLFunction& link, PfColour colour, uint8_t& stored);
// The PF pattern of the colour, then the eject.
uint16_t PrintPfPage(TPPattern& pattern, TPRaster& raster, PfColour colour);

// ---------------------------------------------------------------------------
// Top margin: one of three choices.

struct TopMarginChoice {
    uint8_t value;       // the byte written
    const char* quoted;  // what the status line and the adjusted items show
    const char* name;    // the choice as typed: "-", "0", "+"
};
inline constexpr std::array<TopMarginChoice, 3> kTopMarginChoices = {{
    {0xD8, "\"-\"", "-"},  // -40
    {0x00, "\"0\"", "0"},
    {0x28, "\"+\"", "+"},  // 40
}};

// The choice (index into kTopMarginChoices) a stored value (signed) reads
// as: further than 20 from 0 reads as "+" or "-".
int TopMarginChoiceOfStored(int value);
// The top margin value packet of the choice, then the store packet.
uint16_t WriteTopMargin(TPFactory& factory, const TopMarginChoice& choice);
uint16_t ReadTopMargin(TPDLLFunction& link, uint8_t& stored);
// Remote setting 6, the top margin pattern with its caption, the eject.
uint16_t PrintTopMarginPage(TPRemoteComm& remote, TPPattern& pattern, TPRaster& raster);

// ---------------------------------------------------------------------------
// First dot position: -127..127.

// The value a typed text stands for when Input takes it; nothing for a text
// that is no number or lies outside -127..127.
std::optional<int> CheckFirstDotValue(std::string_view text);
inline constexpr const char* kFirstDotRefusedText =
    "First dot value is wrong. Set a value from -127 to 127.";
// The first dot value packet, then the store packet.
uint16_t WriteFirstDot(TPFactory& factory, int value);
uint16_t ReadFirstDot(TPDLLFunction& link, uint8_t& stored);

// ---------------------------------------------------------------------------
// Head angular pattern page: remote setting 0, the pattern, the eject.
uint16_t PrintHeadAngularPage(TPRemoteComm& remote, TPPattern& pattern, TPRaster& raster);

// The nozzle check: the printer's own pattern in remote mode, then the eject.
uint16_t PrintNozzleCheckPage(TPRemoteComm& remote, TPRaster& raster);

// ---------------------------------------------------------------------------
// Market destination.

// The text of a destination that a model selects; nullptr for the others.
const char* DestinationText(uint8_t destination);
// Only a destination that a model selects can match the chosen model code.
bool DestinationMatchesModel(uint8_t destination, uint8_t modelCode);

// After the market setting is written: the box that asks to restart the
// printer (D4Reset follows), and the line added after the reset.
orvane::MessageRequest MarketRestartRequest();
inline constexpr const char* kMarketAfterResetText =
    "After a printer finished the initialize operation of printer, click the [Check] button.";

// The printer's model name: 30 bytes from the port library, ending at its
// zero and at the buffer's last byte whatever the library left there.
inline constexpr size_t kModelNameBytes = 30;
uint16_t ReadModelName(TPDLLFunction& link, std::string& name);

// The model code (1 Orvane K31, 2 Orvane K32) of a model name, or 255.
uint8_t ModelCodeOfName(std::string_view name);

}  // namespace adjust
