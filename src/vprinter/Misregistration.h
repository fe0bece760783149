#pragma once

#include <array>
#include <cstdint>
#include <map>

#include "vprinter/Config.h"
#include "vprinter/Mechanism.h"

namespace vprinter {

// How far the printed page is off because of the printer's mechanism: for
// each quantity, its true error less the adjustment value in force (the
// stored value, or the test value a packet set for what follows it), in
// steps of that value. All zero prints every page as a perfect printer does.
struct Misregistration {
    // Bi-D by dot-size mode (0 ECO, 1 VSD1, 2 VSD2, 3 VSD3) and by ink
    // (0 black, 1 colour): passes printed on the way back land across.
    std::array<std::array<int, 2>, 4> bid{};
    int headAngular = 0;  // the head's tilt
    int pfBlack = 0;      // paper feed in black-only printing
    int pfColour = 0;     // in colour printing
    int topMargin = 0;
    int firstDot = 0;

    bool operator==(const Misregistration&) const = default;
};

// The size of one step on the page, in dots of the page (1/360 inch). The
// twin magnifies steps that a real mechanism makes smaller, so that each one
// can be seen on the page picture; the scale is the same for every printer.
inline constexpr int kBidDotsPerStep = 3;  // across, for a pass on the way back
// Across, of a nozzle row's last nozzle against its first; the nozzles
// between land in proportion (a tilted head).
inline constexpr int kHeadAngularDotsPerStep = 1;
// Along the paper, for a feed of one band of the nozzles that print (black
// 90 nozzles, colour 29, at 1/120 inch); other feeds in proportion.
inline constexpr int kPfRowsPerStep = 2;
inline constexpr int kTopMarginRowsPerStep = 1;  // down the sheet
inline constexpr int kFirstDotDotsPerStep = 3;   // across the sheet

// The remote-mode setting (the 72 bytes of an "SN" command) that the
// program sends before the head angular page. Like the Bi-D and PF pages,
// whose patterns carry their own test values, the head angular page is a
// check of the mechanism itself: from this setting to the eject of the sheet
// the printer prints without its stored tilt correction, so the page's
// straight mark is the head's true tilt, the value to store, whatever is
// stored. Any other setting (the photo-paper sheet's) ends the check.
inline constexpr size_t kRemoteSettingBytes = 72;
bool IsHeadAngularCheck(const uint8_t* table);

// The adjustment value in force for each quantity (MechanismQuantities()
// order): the test value kept by a packet, else the stored one; with
// tiltCheck (the head angular check) no tilt correction, as if 0 were stored.
std::array<int8_t, kMechanismQuantities> ValuesInForce(const Eeprom& eeprom,
                                                       const std::map<uint8_t, uint8_t>& kept,
                                                       bool tiltCheck = false);

// The misregistration of a printer whose mechanism is mechanism, with the
// stored values of eeprom and the test values kept by packets (EEPROM
// address to value) in force, and no tilt correction during the head angular
// check.
Misregistration MisregistrationOf(const Mechanism& mechanism, const Eeprom& eeprom,
                                  const std::map<uint8_t, uint8_t>& kept, bool tiltCheck = false);

}  // namespace vprinter
