// The Bi-D page: below its heading, for each print mode with items chosen,
// a title ("VSD1 Bi-D BLACK/COLOR") and the pattern of each nozzle group it
// names, black first. A pattern is five combs in a cross, each a reference
// comb of three bars printed left to right and a test comb of two bars
// printed on the way back at a test value, which falls into the reference
// comb's gaps only where the test value is the printer's error. The cross
// holds the stored value v in the middle, v - 1 above, v + 1 below, v - 2
// left and v + 2 right, and each comb's label left of it shows its value.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "reader/Sheet.h"
#include "reader/Text.h"

namespace reader {

namespace {

constexpr double kBarDots = 16;       // a bar of either comb
constexpr double kDotsPerStep = 3;    // a test comb lands off by this a step
constexpr double kStepTolerance = 1;  // dots a comb may stand off a whole step
constexpr int kTestOnlyRows = 9;      // the test comb's top rows, above the reference comb
constexpr int kBothFrom = 45;         // rows below the top holding both combs, below
constexpr int kBothTo = 66;           // the row's caption
constexpr int kNearDots = 10;         // the reference comb's edge moves less with the rows
constexpr int kMiddleRows = 8;        // rows each way of the comb's middle
constexpr int kLowest = 2;            // the page's choices: stored -2 .. +2
constexpr double kLargeCover = 0.85;  // a bar of large dots on every row covers more
constexpr double kEcoRipple = 0.03;   // of the bar's mean ink, row to row: ECO's blank rows
constexpr double kEvenRipple = 0.02;  // and an even bar's, noise and all
constexpr const char* kMediumDots = "vsd1-or-vsd2";  // the mode bars of medium dots name

struct Comb {
    const Mark* mark;
    int testValue;
};

// The dot size and passes of the page, from the first reference bar: large
// dots on every row (VSD3), or bars as light as medium dots, which ECO's two
// passes of large dots make by leaving every third row blank (a ripple down
// the bar that even a soft scan keeps) and VSD1 and VSD2 by medium dots on
// every row. Empty when the bar leaves it open.
std::string Mode(const Sheet& sheet, const Mark& mark, std::string& note) {
    const int top = mark.box.y + kBothFrom;
    const auto left = RisingEdge(ColumnProfile(sheet, mark.box.x - 32, mark.box.x + mark.box.width,
                                               top, top + kBothTo - kBothFrom));
    const int from = mark.box.x - 32 + static_cast<int>(std::lround(left.value_or(32)));
    const auto rows = RowProfile(sheet, from + 3, from + 13, top, top + kBothTo - kBothFrom);
    if (rows.size() < 3) {
        return {};
    }
    double mean = 0;
    for (const double row : rows) {
        mean += row;
    }
    mean /= static_cast<double>(rows.size());
    if (mean <= 0) {
        return {};
    }
    double ripple = 0;
    for (size_t at = 1; at + 1 < rows.size(); ++at) {
        ripple += std::abs(rows[at] - (rows[at - 1] + rows[at + 1]) / 2);
    }
    ripple /= static_cast<double>(rows.size() - 2) * mean;
    if (mean / 255 >= kLargeCover) {
        return "vsd3";
    }
    if (ripple >= kEcoRipple) {
        return "eco";
    }
    if (ripple <= kEvenRipple) {
        note = "VSD1 and VSD2 print the Bi-D page alike; the page alone does not tell which";
        return kMediumDots;
    }
    return {};
}

}  // namespace

std::optional<double> CombOffset(const Sheet& sheet, const Mark& mark) {
    const int top = mark.box.y;
    const int bottom = mark.box.y + mark.box.height;
    const int left = mark.box.x;
    const int right = mark.box.x + mark.box.width;
    // The test comb reaches above and below the reference comb, as far each
    // way: its top and bottom rows hold it alone. A tilted head moves each
    // nozzle across by its place, so the test comb is taken halfway between
    // them, where the nozzles print that print the reference comb's middle.
    const auto testTop =
        RisingEdge(ColumnProfile(sheet, left - 8, right + 8, top, top + kTestOnlyRows));
    const auto testBottom =
        RisingEdge(ColumnProfile(sheet, left - 8, right + 8, bottom - kTestOnlyRows, bottom));
    // The reference comb's first bar, first below the row's caption, then
    // in its middle rows, looked for only near it: the caption stands left.
    const auto near =
        RisingEdge(ColumnProfile(sheet, left - 32, right, top + kBothFrom, top + kBothTo));
    if (!testTop || !testBottom || !near) {
        return std::nullopt;
    }
    const int from = left - 32 + static_cast<int>(std::lround(*near)) - kNearDots;
    const int middle = (top + bottom) / 2;
    const auto reference = RisingEdge(ColumnProfile(sheet, from, from + 3 * kNearDots,
                                                    middle - kMiddleRows, middle + kMiddleRows));
    if (!reference) {
        return std::nullopt;
    }
    return (left - 8 + (*testTop + *testBottom) / 2) - (from + *reference) - kBarDots;
}

namespace {

constexpr int kLined = 24;         // dots a comb's centre may stand off its row or column
constexpr int kPatternRows = 156;  // a pattern's rows stand closer (133), patterns farther
constexpr int kMostCombs = 8 * 5;  // a page holds at most the eight items' patterns
constexpr int kLabelReach = 120;   // a comb's label: three cells left of it,
constexpr int kLabelClear = 3;     // ending 14 dots before it,
constexpr int kLabelAbove = 25;    // level with the comb's top
constexpr int kLabelBelow = 60;    // or a little above it
constexpr int kTitleClear = 130;   // the titles stand left of every label
constexpr char kLabelAlphabet[] = "-0123456789";
constexpr char kTitleAlphabet[] = "VSDECOBiLAKR/-123";

// The test values of a pattern's combs as the cross holds them: top, the
// middle row left to right, bottom.
constexpr std::array<int, 5> kCrossValues = {-1, -2, 0, 2, 1};
// Labels read that must agree on the stored value before one of them is
// trusted: a single glyph misread cannot then make a sure value.
constexpr size_t kLabelsAgreeing = 3;

struct Pattern {
    std::vector<const Mark*> combs;  // in the cross's order, when whole
    bool whole = false;
    bool black = false;
    int top = 0;
    int bottom = 0;
};

// A title line: the mode and the nozzle groups of the patterns below it,
// in the order they are printed.
struct Title {
    std::string mode;
    std::vector<bool> black;
};

std::optional<Title> ParseTitle(const std::string& text) {
    const std::pair<const char*, const char*> modes[] = {
        {"VSD1", "vsd1"}, {"VSD2", "vsd2"}, {"VSD3", "vsd3"}, {"ECO", "eco"}};
    const std::pair<const char*, std::vector<bool>> groups[] = {
        {" BLACK/COLOR", {true, false}}, {" BLACK", {true}}, {" COLOR", {false}}};
    for (const auto& [shown, mode] : modes) {
        for (const auto& [names, black] : groups) {
            if (text == std::string(shown) + " Bi-D" + names) {
                return Title{mode, black};
            }
        }
    }
    return std::nullopt;
}

// The combs in rows (centres level), top down, and the rows in patterns.
std::vector<Pattern> FindPatterns(const std::vector<Mark>& combs) {
    std::vector<const Mark*> byHeight;
    for (const Mark& mark : combs) {
        byHeight.push_back(&mark);
    }
    std::sort(byHeight.begin(), byHeight.end(),
              [](const Mark* a, const Mark* b) { return a->CentreY() < b->CentreY(); });
    std::vector<std::vector<const Mark*>> rows;
    for (const Mark* mark : byHeight) {
        if (rows.empty() || mark->CentreY() - rows.back().front()->CentreY() > kLined) {
            rows.emplace_back();
        }
        rows.back().push_back(mark);
    }
    std::vector<std::vector<std::vector<const Mark*>>> groups;
    for (size_t at = 0; at < rows.size(); ++at) {
        if (at == 0 ||
            rows[at].front()->CentreY() - rows[at - 1].front()->CentreY() > kPatternRows) {
            groups.emplace_back();
        }
        std::sort(rows[at].begin(), rows[at].end(),
                  [](const Mark* a, const Mark* b) { return a->CentreX() < b->CentreX(); });
        groups.back().push_back(rows[at]);
    }
    std::vector<Pattern> patterns;
    for (const auto& group : groups) {
        Pattern pattern;
        for (const auto& row : group) {
            pattern.combs.insert(pattern.combs.end(), row.begin(), row.end());
        }
        pattern.black = pattern.combs.front()->ink == Ink::Black;
        pattern.top = pattern.combs.front()->box.y;
        pattern.bottom = 0;
        bool oneInk = true;
        for (const Mark* mark : pattern.combs) {
            pattern.top = std::min(pattern.top, mark->box.y);
            pattern.bottom = std::max(pattern.bottom, mark->box.y + mark->box.height);
            oneInk = oneInk && (mark->ink == Ink::Black) == pattern.black;
        }
        const auto lined = [](const Mark* a, const Mark* b, bool across) {
            return std::abs(across ? a->CentreX() - b->CentreX() : a->CentreY() - b->CentreY()) <
                   kLined;
        };
        const auto& c = pattern.combs;
        pattern.whole = oneInk && group.size() == 3 && group[0].size() == 1 &&
                        group[1].size() == 3 && group[2].size() == 1 && lined(c[0], c[2], true) &&
                        lined(c[4], c[2], true);
        patterns.push_back(std::move(pattern));
    }
    return patterns;
}

// The number a comb's label shows, when it is read sure. The label ends
// left of the reference comb, whose light bars the comb's extent may leave
// out: its first bar is taken below the label's rows.
std::optional<int> Label(const Sheet& sheet, const Mark& comb) {
    const int from = comb.box.x - 32;
    const auto first = RisingEdge(ColumnProfile(sheet, from, comb.box.x + comb.box.width,
                                                comb.box.y + kBothFrom, comb.box.y + kBothTo));
    const int left = std::min(comb.box.x, from + static_cast<int>(first.value_or(32)));
    const cv::Rect band(left - kLabelReach, comb.box.y - kLabelAbove, kLabelReach - kLabelClear,
                        kLabelAbove + kLabelBelow);
    const TextLine line = ReadTextLine(sheet, band, kLabelAlphabet);
    const std::string& text = line.text;
    const size_t digits = text.starts_with('-') ? 1 : 0;
    if (!line.sure || text.size() <= digits || text.size() > 3 ||
        text.find_first_not_of("0123456789", digits) != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(text);
}

// The name of a pattern's quantity and whether the page tells it: its
// title names the mode and, by its place below the title, the nozzle group.
struct Named {
    std::string mode;  // empty when not told
    std::string note;
};

Named NameOf(const Sheet& sheet, const Pattern& pattern, const std::optional<TextLine>& title,
             size_t place, bool alone) {
    if (!title) {
        // A pattern printed alone, without the page's heading and titles:
        // only its bars tell the mode.
        if (!alone) {
            return {{}, "no title stands above the pattern"};
        }
        std::string note;
        const std::string bars = pattern.whole ? Mode(sheet, *pattern.combs[2], note) : "";
        return {bars, bars.empty() ? "the bars do not show which dots printed them" : note};
    }
    const auto parsed = title->sure ? ParseTitle(title->text) : std::nullopt;
    if (!parsed) {
        return {{}, "the title above the pattern cannot be read"};
    }
    if (place >= parsed->black.size() || parsed->black[place] != pattern.black) {
        return {{}, "the title above does not name this pattern's ink"};
    }
    return {parsed->mode, {}};
}

// One pattern: each comb tells how far the error is from its test value;
// the combs must agree, and the one that lines up gives the value by its
// label.
Reading ReadPattern(const Sheet& sheet, const Pattern& pattern, const Named& named) {
    Reading reading;
    reading.name = std::string("bid-") + (named.mode.empty() ? "unknown" : named.mode) + "-" +
                   (pattern.black ? "black" : "color");
    reading.note = named.note;
    for (const Mark* comb : pattern.combs) {
        reading.area = reading.area.empty() ? comb->box : (reading.area | comb->box);
    }
    if (!pattern.whole) {
        reading.note = "the pattern's five combs do not stand in a cross";
        return reading;
    }
    std::optional<int> error;
    bool agree = true;
    bool whole = true;
    double sum = 0;  // of the combs' estimates of the error, in steps
    double lowest = 1e9;
    double highest = -1e9;
    for (size_t at = 0; at < kCrossValues.size(); ++at) {
        const auto offset = CombOffset(sheet, *pattern.combs[at]);
        if (!offset) {
            reading.note = "a comb could not be measured";
            return reading;
        }
        const double steps = *offset / kDotsPerStep;
        whole = whole && std::abs(*offset - kDotsPerStep * std::round(steps)) <= kStepTolerance;
        const int estimate = kCrossValues[at] + static_cast<int>(std::lround(steps));
        agree = agree && (!error || *error == estimate);
        error = error.value_or(estimate);
        const double exact = kCrossValues[at] + steps;
        sum += exact;
        lowest = std::min(lowest, exact);
        highest = std::max(highest, exact);
    }
    const double mean = sum / static_cast<double>(kCrossValues.size());
    // The labels show the stored value v the pattern was printed around:
    // each comb's test value, v - 2 .. v + 2.
    std::optional<int> stored;
    std::optional<int> best;
    bool labelsAgree = true;
    size_t labelsRead = 0;
    for (size_t at = 0; at < kCrossValues.size(); ++at) {
        const auto label = Label(sheet, *pattern.combs[at]);
        if (!label) {
            continue;
        }
        ++labelsRead;
        labelsAgree = labelsAgree && (!stored || *stored == *label - kCrossValues[at]);
        stored = stored.value_or(*label - kCrossValues[at]);
        if (kCrossValues[at] == *error) {
            best = *label;
        }
    }
    reading.value = stored ? *stored + *error : 0;
    // The stored value is known when the labels agree on it.
    const std::optional<int> around = labelsAgree ? stored : std::nullopt;
    // Combs that agree within a step: far from lining up a comb's offset
    // is less whole, but its side is plain.
    const bool near = agree || highest - lowest <= 1;
    if (near && std::abs(mean) > kLowest + 0.5) {
        const int way = mean > 0 ? 1 : -1;
        if (around) {
            NotSure(reading, "no comb lines up", way, *around + way * kLowest);
        } else {
            std::string why = "no comb lines up: the value lies ";
            why += way > 0 ? "above" : "below";
            why += " the page's choices; write the nearest label and print again";
            NotSure(reading, why, way);
        }
    } else if (!agree || !whole) {
        // Combs that line up with none: the value lies between the two
        // test values either side.
        if (near && around) {
            const int low = static_cast<int>(std::floor(mean));
            const int nearer = static_cast<int>(std::lround(mean));
            NotSure(reading, "no comb lines up", 0, *around + nearer,
                    *around + (nearer == low ? low + 1 : low));
        } else {
            NotSure(reading, "the combs do not agree on one value");
        }
    } else if (!labelsAgree) {
        reading.note = "the labels of the combs do not agree";
    } else if (!best) {
        reading.note = "the label of the comb that lines up cannot be read";
    } else if (labelsRead < kLabelsAgreeing) {
        reading.note = "too few of the combs' labels can be read to be sure of them";
    } else if (!named.mode.empty()) {
        reading.value = *best;
        // Bars of medium dots do not tell VSD1 from VSD2: such a reading
        // names no one value to write.
        reading.sure = named.mode != kMediumDots;
    }
    return reading;
}

}  // namespace

std::vector<Reading> ReadBid(const Sheet& sheet, const std::vector<Mark>& combs) {
    if (combs.size() > kMostCombs) {
        Reading reading;
        reading.name = "bid-unknown";
        reading.note = "more combs than the page's eight patterns hold";
        return {reading};
    }
    const std::vector<Pattern> patterns = FindPatterns(combs);
    int left = sheet.ink.cols;
    for (const Mark& comb : combs) {
        left = std::min(left, comb.box.x);
    }
    const std::vector<cv::Rect> lines =
        FindTextLines(sheet, cv::Rect(0, 0, std::max(left - kTitleClear, 0), sheet.ink.rows));
    // Each pattern belongs to the last title above it: the first below a
    // title to its first nozzle group, the next to its second.
    std::vector<Reading> readings;
    std::optional<TextLine> title;
    size_t place = 0;
    int above = 0;
    for (const Pattern& pattern : patterns) {
        const cv::Rect* nearest = nullptr;
        for (const cv::Rect& line : lines) {
            const int middle = line.y + line.height / 2;
            if (middle > above && middle < pattern.top) {
                nearest = &line;
            }
        }
        if (nearest != nullptr) {
            title = ReadTextLine(sheet, *nearest, kTitleAlphabet);
            place = 0;
        } else {
            ++place;
        }
        const bool alone = patterns.size() == 1 && lines.empty();
        readings.push_back(
            ReadPattern(sheet, pattern, NameOf(sheet, pattern, title, place, alone)));
        above = pattern.bottom;
    }
    return readings;
}

}  // namespace reader
