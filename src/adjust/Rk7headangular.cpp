#include "adjust/Rk7headangular.h"

#include "adjust/ValueText.h"
#include "eeprom/EepromMap.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"
#include "link/Rk7factory.h"

namespace {

// What a text that is no number counts as: outside the range, so refused.
constexpr int kNotANumber = 100;

}  // namespace

TPHeadAngular::TPHeadAngular(TPDLLFunction& link, TPFactory& factory)
    : link_(link), factory_(factory) {}

uint16_t TPHeadAngular::CheckHeadAngularValue(std::string_view text, int& value) {
    value = adjust::TextToIntDef(text, kNotANumber);
    if (value < kMinimum || value > kMaximum) {
        errorItem_ = ErrorValue;
        return ResultHeadAngularError;
    }
    return ResultOk;
}

uint16_t TPHeadAngular::WriteHeadAngularValue(std::string_view text) {
    int value = 0;
    uint16_t result = CheckHeadAngularValue(text, value);
    if (result != ResultOk) {
        return result;
    }
    result = factory_.SendHeadAngularValue(static_cast<uint8_t>(value));
    if (result != ResultOk) {
        return result;
    }
    return factory_.SendStoreCommand();
}

uint16_t TPHeadAngular::ReadHeadAngularValue(std::string& text) {
    uint8_t value = 0;
    const uint16_t result = link_.D4ReadEeprom(eeprom::HeadAngular, value);
    if (result != ResultOk) {
        return result;
    }
    text = adjust::SignedByteText(value);
    return ResultOk;
}
