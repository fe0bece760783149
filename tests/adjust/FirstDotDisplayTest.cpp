// The margin gauges and the millimetre text of the first-dot page.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "adjust/FirstDotDisplay.h"

namespace {

using adjust::FirstDotDisplayFor;
using adjust::FirstDotRealValueText;
using adjust::MarginGaugeOffset;

struct Shown {
    int value;
    int left;
    int right;
    const char* realValue;
};

TEST(FirstDotDisplay, GaugesAndMillimetresOfTypicalValues) {
    const Shown cases[] = {
        {0, 50, 50, "0.0000 mm"},     {-1, 50, 50, "-0.0176 mm"}, {10, 53, 47, "0.1764 mm"},
        {100, 89, 11, "1.7640 mm"},   {127, 100, 0, "2.2403 mm"}, {-126, 1, 99, "-2.2226 mm"},
        {-127, 0, 100, "-2.2403 mm"},
    };
    for (const Shown& c : cases) {
        const adjust::FirstDotDisplay display = FirstDotDisplayFor(c.value);
        EXPECT_EQ(display.value, c.value);
        EXPECT_EQ(display.leftGauge, c.left) << c.value;
        EXPECT_EQ(display.rightGauge, c.right) << c.value;
        EXPECT_EQ(display.realValue, c.realValue) << c.value;
    }
}

TEST(FirstDotDisplay, ValuesBeyondTheRangeShowTheNearestEnd) {
    for (const int value : {128, 129, 1000}) {
        const adjust::FirstDotDisplay display = FirstDotDisplayFor(value);
        EXPECT_EQ(display.value, 127);
        EXPECT_EQ(display.leftGauge, 100);
        EXPECT_EQ(display.realValue, "2.2403 mm");
    }
    for (const int value : {-128, -131, -1000}) {
        const adjust::FirstDotDisplay display = FirstDotDisplayFor(value);
        EXPECT_EQ(display.value, -127);
        EXPECT_EQ(display.rightGauge, 100);
        EXPECT_EQ(display.realValue, "-2.2403 mm");
    }
    // Beyond the range the gauges' offset is the full half either way.
    EXPECT_EQ(MarginGaugeOffset(128), 50);
    EXPECT_EQ(MarginGaugeOffset(-128), -50);
}

// Over the whole range: the offset truncates toward zero (symmetric about
// 0, never more than 49 inside the ends), the two gauges always share 100
// and move one way only, and the text is the product rounded to four
// decimals.
TEST(FirstDotDisplay, EveryValueOfTheRangeIsConsistent) {
    int previousLeft = -1;
    for (int value = -127; value <= 127; ++value) {
        const adjust::FirstDotDisplay display = FirstDotDisplayFor(value);
        const int offset = MarginGaugeOffset(value);
        if (value > -127 && value < 127) {
            EXPECT_EQ(offset, static_cast<int>(std::trunc(100.0 * value / 255.0))) << value;
            EXPECT_LE(std::abs(offset), 49) << value;
            EXPECT_EQ(offset, -MarginGaugeOffset(-value)) << value;
        }
        EXPECT_EQ(display.leftGauge + display.rightGauge, 100) << value;
        EXPECT_GE(display.leftGauge, previousLeft) << value;
        previousLeft = display.leftGauge;

        char expected[32];
        std::snprintf(expected, sizeof expected, "%.4f mm", 0.01764 * value);
        EXPECT_EQ(FirstDotRealValueText(value), expected) << value;
    }
}

}  // namespace
