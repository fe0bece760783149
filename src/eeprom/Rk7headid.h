#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class TPDLLFunction;
class TPDataManu;

// The Head ID of the print head: 10 characters, four hex digit pairs p1-p4,
// a 9th character for a value n of 0 to 20, and a check character for
// k = 37 - ((p1 + 2 p2 + 3 p3 + 4 p4 + 5 n) mod 37). The EEPROM keeps p1-p4 at
// 0x42-0x45 and n at 0x49; the check character is computed again on reading.
class TPHeadID {
  public:
    // Error index values (result ResultHeadIdError), in the order of the checks.
    static constexpr int16_t ErrorLength = 16;
    static constexpr int16_t ErrorPair1 = 17;  // pairs 2-4: 18, 19, 20
    static constexpr int16_t ErrorNinth = 21;
    static constexpr int16_t ErrorCheck = 22;

    static constexpr size_t kLength = 10;
    // Highest pair byte the input accepts, and the highest a read shows.
    static constexpr uint8_t kInputPairLimit = 0x65;
    static constexpr uint8_t kReadPairLimit = 0x83;
    static constexpr uint8_t kNinthLimit = 20;

    TPHeadID(TPDLLFunction& link, const TPDataManu& dataManu);

    // Checks the text (length, the four pairs, the 9th character, the check
    // character; the first failing check sets the error index and ends with
    // ResultHeadIdError before anything is written), then writes p1-p4 and n.
    uint16_t WriteHeadId(std::string_view id);
    // The checks of WriteHeadId alone, nothing written: 1, or
    // ResultHeadIdError with the error index of the first failing check.
    uint16_t CheckHeadId(std::string_view id);
    // Reads p1-p4 and n and rebuilds the 10-character text into id. Stored
    // bytes that no Head ID can hold (a pair above 0x83, n above 20) read as
    // success with an empty id, as does an unwritten EEPROM.
    uint16_t ReadHeadId(std::string& id);

    int16_t ErrorIndex() const { return errorIndex_; }

  private:
    uint16_t Fail(int16_t index);
    uint16_t Parse(std::string_view id, std::array<uint8_t, 4>& pairs, int& ninth);

    TPDLLFunction& link_;
    const TPDataManu& dataManu_;
    int16_t errorIndex_ = 0;
};
