// The conversion of typed adjustment texts, and the text of stored bytes.
#include <gtest/gtest.h>

#include "adjust/ValueText.h"

namespace {

using adjust::SignedByteText;
using adjust::TextToIntDef;

TEST(ValueText, DecimalIntegersWithAnOptionalSignAndLeadingSpacesConvert) {
    const std::pair<const char*, int> cases[] = {
        {"0", 0},
        {"36", 36},
        {"-36", -36},
        {"+5", 5},
        {"-0", 0},
        {"007", 7},
        {" 5", 5},
        {"   -12", -12},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(TextToIntDef(text, 100), value) << '"' << text << '"';
    }
}

TEST(ValueText, EverythingElseFallsBackToTheDefault) {
    const char* const cases[] = {
        "",
        " ",
        "-",
        "+",
        "+-5",
        "--5",
        "12abc",
        "abc",
        "5 ",
        "1 2",
        "\t5",
        "5\n",
        "$1F",
        "0x1F",
        "0X1F",
        "1e2",
        "3.0",
        "1,5",
        "- 5",
        "2147483648",
        "-2147483649",
        "99999999999999999999",
    };
    for (const char* text : cases) {
        EXPECT_EQ(TextToIntDef(text, 100), 100) << '"' << text << '"';
        EXPECT_EQ(TextToIntDef(text, -7), -7) << '"' << text << '"';
    }
}

TEST(ValueText, StoredBytesReadAsTwosComplementDecimal) {
    EXPECT_EQ(SignedByteText(0x00), "0");
    EXPECT_EQ(SignedByteText(0x24), "36");
    EXPECT_EQ(SignedByteText(0x7F), "127");
    EXPECT_EQ(SignedByteText(0x80), "-128");
    EXPECT_EQ(SignedByteText(0xDC), "-36");
    EXPECT_EQ(SignedByteText(0xFF), "-1");
    // Every byte survives a round trip through its text.
    for (int byte = 0; byte < 256; ++byte) {
        const int back = TextToIntDef(SignedByteText(static_cast<uint8_t>(byte)), 1000);
        EXPECT_EQ(static_cast<uint8_t>(back), byte);
    }
}

}  // namespace
