#include "eeprom/Rk7headid.h"

#include <array>
#include <cstdio>

#include "eeprom/Datamanu.h"
#include "eeprom/EepromMap.h"
#include "eeprom/TypedText.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"

namespace {

// The letters I and O are never used: they would be read as 1 and 0.
// Character i of each table stands for value i (9th character) or i + 1
// (check character).
constexpr std::string_view kNinthCharacters = "ABCDEFGHJKLMNPQRSTUVW";                  // 0-20
constexpr std::string_view kCheckCharacters = "ABCDEFGHJKLMNPQRSTUVWXYZ0123456789%*+";  // 1-37

static_assert(kNinthCharacters.size() == TPHeadID::kNinthLimit + 1);
static_assert(kCheckCharacters.size() == 37);

// The value of c in a table, or -1 when it has none.
int ValueIn(std::string_view table, char c, int first) {
    const auto position = table.find(c);
    return position == std::string_view::npos ? -1 : static_cast<int>(position) + first;
}

int CheckNumber(const std::array<uint8_t, 4>& pairs, int ninth) {
    const int sum = pairs[0] + 2 * pairs[1] + 3 * pairs[2] + 4 * pairs[3] + 5 * ninth;
    return 37 - sum % 37;
}

}  // namespace

TPHeadID::TPHeadID(TPDLLFunction& link, const TPDataManu& dataManu)
    : link_(link), dataManu_(dataManu) {}

uint16_t TPHeadID::Fail(int16_t index) {
    errorIndex_ = index;
    return ResultHeadIdError;
}

uint16_t TPHeadID::Parse(std::string_view id, std::array<uint8_t, 4>& pairs, int& ninth) {
    if (eeprom::CharacterCount(id) != kLength) {
        return Fail(ErrorLength);
    }
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (!dataManu_.HexPairToByte(id.substr(2 * i, 2), pairs[i]) || pairs[i] > kInputPairLimit) {
            return Fail(static_cast<int16_t>(ErrorPair1 + i));
        }
    }
    // A stored 0 reads as 'A', but the input takes only 1 to 20.
    ninth = ValueIn(kNinthCharacters, id[8], 0);
    if (ninth < 1 || ninth > kNinthLimit) {
        return Fail(ErrorNinth);
    }
    if (ValueIn(kCheckCharacters, id[9], 1) != CheckNumber(pairs, ninth)) {
        return Fail(ErrorCheck);
    }
    return ResultOk;
}

uint16_t TPHeadID::CheckHeadId(std::string_view id) {
    std::array<uint8_t, 4> pairs{};
    int ninth = 0;
    return Parse(id, pairs, ninth);
}

uint16_t TPHeadID::WriteHeadId(std::string_view id) {
    std::array<uint8_t, 4> pairs{};
    int ninth = 0;
    if (const uint16_t checked = Parse(id, pairs, ninth); checked != ResultOk) {
        return checked;
    }
    const TPDLLFunction::ServiceOperation operation(link_, servicelog::HeadId);
    for (size_t i = 0; i < pairs.size(); ++i) {
        const uint16_t result = link_.D4WriteEeprom(eeprom::HeadIdPairs[i], pairs[i]);
        if (result != ResultOk) {
            return result;
        }
    }
    return link_.D4WriteEeprom(eeprom::HeadIdNinth, static_cast<uint8_t>(ninth));
}

uint16_t TPHeadID::ReadHeadId(std::string& id) {
    id.clear();
    std::array<uint8_t, 4> pairs{};
    for (size_t i = 0; i < pairs.size(); ++i) {
        const uint16_t result = link_.D4ReadEeprom(eeprom::HeadIdPairs[i], pairs[i]);
        if (result != ResultOk) {
            return result;
        }
    }
    uint8_t ninth = 0;
    const uint16_t result = link_.D4ReadEeprom(eeprom::HeadIdNinth, ninth);
    if (result != ResultOk) {
        return result;
    }
    for (const uint8_t pair : pairs) {
        if (pair > kReadPairLimit) {
            return ResultOk;
        }
    }
    if (ninth > kNinthLimit) {
        return ResultOk;
    }
    char text[kLength + 1] = {};
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", pairs[0], pairs[1], pairs[2], pairs[3]);
    text[8] = kNinthCharacters[ninth];
    text[9] = kCheckCharacters[static_cast<size_t>(CheckNumber(pairs, ninth) - 1)];
    id.assign(text, kLength);
    return ResultOk;
}
