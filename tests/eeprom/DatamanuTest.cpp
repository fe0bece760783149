#include <gtest/gtest.h>

#include "eeprom/Datamanu.h"

TEST(HexPairToByte, TakesTwoUpperCaseHexDigits) {
    TPDataManu manu;
    uint8_t value = 0;
    EXPECT_TRUE(manu.HexPairToByte("3F", value));
    EXPECT_EQ(value, 0x3F);
    EXPECT_TRUE(manu.HexPairToByte("A0rest of the text", value));
    EXPECT_EQ(value, 0xA0);
    EXPECT_TRUE(manu.HexPairToByte("00", value));
    EXPECT_EQ(value, 0x00);
}

TEST(HexPairToByte, RefusesLowerCaseOtherCharactersAndShortTextLeavingTheByteAlone) {
    TPDataManu manu;
    for (const char* text : {"3f", "G0", "0G", "f0", " 1", "-1", "3", ""}) {
        uint8_t value = 0x5A;
        EXPECT_FALSE(manu.HexPairToByte(text, value)) << text;
        EXPECT_EQ(value, 0x5A) << text;
    }
}
