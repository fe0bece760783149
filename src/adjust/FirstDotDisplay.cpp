#include "adjust/FirstDotDisplay.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace adjust {

namespace {

// One step on paper, in hundred-thousandths of a millimetre (0.01764 mm).
constexpr long kStepHundredThousandths = 1764;

}  // namespace

int ClampFirstDot(int value) {
    return std::clamp(value, kFirstDotMin, kFirstDotMax);
}

int MarginGaugeOffset(int value) {
    if (value >= kFirstDotMax) {
        return kMarginGaugeMiddle;
    }
    if (value <= kFirstDotMin) {
        return -kMarginGaugeMiddle;
    }
    // Integer division truncates toward zero, as the gauges want.
    return 100 * value / 255;
}

std::string FirstDotRealValueText(int value) {
    // Work in whole units so that the rounding is exact: the product has five
    // decimals, whose last digit is even, so it never lies half-way and
    // rounding half away from zero is rounding to the nearest.
    const long hundredThousandths = kStepHundredThousandths * value;
    const long magnitude = (std::labs(hundredThousandths) + 5) / 10;  // ten-thousandths
    char text[32];
    std::snprintf(text, sizeof text, "%s%ld.%04ld mm", hundredThousandths < 0 ? "-" : "",
                  magnitude / 10000, magnitude % 10000);
    return text;
}

FirstDotDisplay FirstDotDisplayFor(int value) {
    FirstDotDisplay display;
    display.value = ClampFirstDot(value);
    display.leftGauge = MarginGaugeOffset(display.value) + kMarginGaugeMiddle;
    display.rightGauge = kMarginGaugeMax - display.leftGauge;
    display.realValue = FirstDotRealValueText(display.value);
    return display;
}

}  // namespace adjust
