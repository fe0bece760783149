#include "adjust/StoredValues.h"

#include <cstring>

#include "adjust/FirstDotDisplay.h"
#include "adjust/ValueText.h"
#include "eeprom/EepromMap.h"
#include "eeprom/Rk7eeprom.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"
#include "link/Rk7factory.h"
#include "link/Rk7remotecomm.h"
#include "pattern/Rk7pattern.h"
#include "pattern/Rk7raster.h"

namespace adjust {

namespace {

// What a PF text that is no number counts as: outside the range, so refused.
constexpr int kPfNotANumber = 10;

// The remote settings the pattern pages are printed with.
constexpr uint8_t kHeadAngularSetting = 0;
constexpr uint8_t kTopMarginSetting = 6;

constexpr int kTopMarginZeroBand = 20;
constexpr int kChoiceMinus = 0;
constexpr int kChoiceZero = 1;
constexpr int kChoicePlus = 2;

// A value packet, then the store packet.
uint16_t ThenStore(TPFactory& factory, uint16_t result) {
    return result == ResultOk ? factory.SendStoreCommand() : result;
}

}  // namespace

PfSide PfSideOf(PfColour colour) {
    return colour == PfColour::Black ? PfSide{eeprom::PfBlack, 1} : PfSide{eeprom::PfColour, 0};
}

std::optional<int> CheckPfValue(std::string_view text) {
    const int value = TextToIntDef(text, kPfNotANumber);
    if (value < kPfMinimum || value > kPfMaximum) {
        return std::nullopt;
    }
    return value;
}

uint16_t WritePfValue(TPFactory& factory, PfColour colour, int value) {
    return ThenStore(factory,
                     factory.SendPfValue(PfSideOf(colour).blackFlag, static_cast<uint8_t>(value)));
}

uint16_t ReadPfValue(TPDLLFunction& link, PfColour colour, uint8_t& stored) {
    return link.D4ReadEeprom(PfSideOf(colour).address, stored);
}

uint16_t PrintPfPage(TPPattern& pattern, TPRaster& raster, PfColour colour) {
    TPDLLFunction::PatternPrint print(raster.Link(),
                                      colour == PfColour::Black ? "pf-black" : "pf-color");
    uint16_t result =
        colour == PfColour::Black ? pattern.PrintPfBlackPattern() : pattern.PrintPfColorPattern();
    if (result == ResultOk) {
        result = raster.EjectPage();
    }
    return print.Done(result);
}

int TopMarginChoiceOfStored(int value) {
    if (value > kTopMarginZeroBand) {
        return kChoicePlus;
    }
    if (value < -kTopMarginZeroBand) {
        return kChoiceMinus;
    }
    return kChoiceZero;
}

uint16_t WriteTopMargin(TPFactory& factory, const TopMarginChoice& choice) {
    return ThenStore(factory, factory.SendTopMarginValue(choice.value));
}

uint16_t ReadTopMargin(TPDLLFunction& link, uint8_t& stored) {
    return link.D4ReadEeprom(eeprom::TopMargin, stored);
}

uint16_t PrintTopMarginPage(TPRemoteComm& remote, TPPattern& pattern, TPRaster& raster) {
    TPDLLFunction::PatternPrint print(raster.Link(), "top-margin");
    uint16_t result = remote.SendRemoteSetting(kTopMarginSetting);
    if (result == ResultOk) {
        result = pattern.PrintTopMarginPattern(0);  // with its caption
    }
    if (result == ResultOk) {
        result = raster.EjectPage();
    }
    return print.Done(result);
}

std::optional<int> CheckFirstDotValue(std::string_view text) {
    const std::optional<int> value = TextToInt(text);
    if (!value || *value < kFirstDotMin || *value > kFirstDotMax) {
        return std::nullopt;
    }
    return value;
}

uint16_t WriteFirstDot(TPFactory& factory, int value) {
    return ThenStore(factory, factory.SendFirstDotValue(value));
}

uint16_t ReadFirstDot(TPDLLFunction& link, uint8_t& stored) {
    return link.D4ReadEeprom(eeprom::FirstDot, stored);
}

uint16_t PrintHeadAngularPage(TPRemoteComm& remote, TPPattern& pattern, TPRaster& raster) {
    TPDLLFunction::PatternPrint print(raster.Link(), "head-angular");
    uint16_t result = remote.SendRemoteSetting(kHeadAngularSetting);
    if (result == ResultOk) {
        result = pattern.PrintHeadAngularPattern();
    }
    if (result == ResultOk) {
        result = raster.EjectPage();
    }
    return print.Done(result);
}

uint16_t PrintNozzleCheckPage(TPRemoteComm& remote, TPRaster& raster) {
    TPDLLFunction::PatternPrint print(raster.Link(), "nozzle-check");
    uint16_t result = remote.PrintNozzleCheck();
    if (result == ResultOk) {
        result = raster.EjectPage();
    }
    return print.Done(result);
}

const char* DestinationText(uint8_t destination) {
    switch (destination) {
        case TPEeprom::DestinationNorthAmericaWestEuro:
            return "North America / West Euro.";
        case TPEeprom::DestinationSouthAmericaEastEuroAsia:
            return "South America / East Euro / Asia.";
        default:
            return nullptr;
    }
}

bool DestinationMatchesModel(uint8_t destination, uint8_t modelCode) {
    return DestinationText(destination) != nullptr && destination == modelCode;
}

orvane::MessageRequest MarketRestartRequest() {
    orvane::MessageRequest restart;
    restart.text = "Click the [OK] button to restart the printer.";
    restart.caption = "Information";
    restart.icon = orvane::MessageIcon::Information;
    restart.owner = orvane::MessageOwner::AdjustmentWindow;
    return restart;
}

uint16_t ReadModelName(TPDLLFunction& link, std::string& name) {
    std::array<char, kModelNameBytes> buffer{};
    const uint16_t result = link.GetModelNameByPway(buffer.data());
    if (result != ResultOk) {
        return result;
    }
    buffer.back() = '\0';
    name.assign(buffer.data(), strnlen(buffer.data(), buffer.size()));
    return ResultOk;
}

uint8_t ModelCodeOfName(std::string_view name) {
    if (name.ends_with("K31")) {
        return TPEeprom::ModelCodeK31;
    }
    if (name.ends_with("K32")) {
        return TPEeprom::ModelCodeK32;
    }
    return 255;
}

}  // namespace adjust
