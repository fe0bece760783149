#pragma once

#include <cstdint>
#include <string>

// The captions of the head cleaning and ink charge pages that tell how much
// of a brand-new ink cartridge each sequence uses. The Orvane K32 takes two
// colour cartridges and names every cartridge; the K31 has one colour
// cartridge, so its third label of each page is hidden.
struct InkConsumptionCaptions {
    std::string cleaningBlack;    // CleaningBlackConsumptionLabel
    std::string cleaningColorM;   // CleaningColorMConsumptionLabel
    std::string cleaningColorS;   // CleaningColorSConsumptionLabel
    std::string inkChargeBlack;   // InkChargeBlackConsumptionLabel
    std::string inkChargeColorM;  // InkChargeColorMConsumptionLabel
    std::string inkChargeColorS;  // InkChargeColorSConsumptionLabel
    bool colorSShown = false;     // both ColorS labels
};

// The captions for a boot-window model code: 2 (Orvane K32) gives the named
// cartridges; 1 (Orvane K31) and any other code the K31 captions, with the
// ColorS labels hidden and empty.
InkConsumptionCaptions InkConsumptionCaptionsFor(uint8_t modelCode);
