#pragma once

#include <string>

// What the first-dot page shows for a first-dot value: how much of the left
// and the right margin remains, and the shift on paper in millimetres.
namespace adjust {

// The values the first-dot command takes.
inline constexpr int kFirstDotMin = -127;
inline constexpr int kFirstDotMax = 127;

// The two margin gauges run from 0 to 100 and start at the middle.
inline constexpr int kMarginGaugeMax = 100;
inline constexpr int kMarginGaugeMiddle = 50;

struct FirstDotDisplay {
    int value = 0;          // the value shown, within -127..127
    int leftGauge = 50;     // remainder of the left margin
    int rightGauge = 50;    // remainder of the right margin, 100 - left
    std::string realValue;  // "1.7640 mm"
};

// value clamped to -127..127.
int ClampFirstDot(int value);

// The gauges' offset from the middle: 100 * value / 255 truncated toward
// zero, and the full 50 at either end of the range (or beyond it).
int MarginGaugeOffset(int value);

// The shift on paper of value steps of 0.01764 mm, rounded to four decimals,
// followed by " mm" ("-2.2403 mm" for -127). The text is the same in every
// locale.
std::string FirstDotRealValueText(int value);

// The whole display of a value, which is clamped first.
FirstDotDisplay FirstDotDisplayFor(int value);

}  // namespace adjust
