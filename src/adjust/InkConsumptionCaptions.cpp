#include "adjust/InkConsumptionCaptions.h"

#include "eeprom/Rk7eeprom.h"

InkConsumptionCaptions InkConsumptionCaptionsFor(uint8_t modelCode) {
    InkConsumptionCaptions captions;
    if (modelCode == TPEeprom::ModelCodeK32) {
        captions.cleaningBlack = "R2281 : About 8% of bland-new I/C.";
        captions.cleaningColorM = "R228x : About 3% of bland-new I/C.";
        captions.cleaningColorS = "R229x : About 4% of bland-new I/C.";
        captions.inkChargeBlack = "R2281 : About 23% of bland-new I/C.";
        captions.inkChargeColorM = "R228x : About 8% of bland-new I/C.";
        captions.inkChargeColorS = "R229x : About 12% of bland-new I/C.";
        captions.colorSShown = true;
        return captions;
    }
    captions.cleaningBlack = "About 8% of bland-new I/C.";
    captions.cleaningColorM = "About 3% of bland-new I/C.";
    captions.inkChargeBlack = "About 23% of bland-new I/C.";
    captions.inkChargeColorM = "About 8% of bland-new I/C.";
    return captions;
}
