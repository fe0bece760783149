// The photo-paper sheet's first page, top down: the head angular item (three
// pairs of marks, X, X+3 and X-3 left to right), the Bi-D items (for VSD1,
// VSD2, VSD3 and ECO a row of black combs and one of magenta combs, X, X+1 and
// X-1 left to right) and the PF items, black then colour (three steps each,
// X-1, X and X+1 top down).
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "reader/PhotoSheet.h"

namespace reader {

namespace {

constexpr int kPartRows = 135;  // each part of a head angular mark: 45 nozzles
constexpr int kFitFrom = 40;
constexpr int kFitTo = 125;
constexpr double kDotsPerBidStep = 3;
constexpr int kPfPairRows = 24;  // rows a PF step's second block may stand off its first's end

struct Choice {
    int step;                   // against the stored value X
    std::optional<double> off;  // how far it is off, in its own units; none: not found
};

std::string Label(int step) {
    return step == 0 ? "X" : (step > 0 ? "X+" : "X-") + std::to_string(std::abs(step));
}

// The best of an item's choices. Sure when one is clearly the closest and,
// should it be the first or the last of the choices or a choice be missing,
// when it is aligned: the last choice best but not aligned tells only that
// the value lies beyond it.
// missing: what of the item was not found, when none of its choices was.
Reading Best(const std::string& name, const std::vector<Choice>& choices, double aligned,
             const std::string& missing) {
    Reading reading;
    reading.name = name;
    std::vector<const Choice*> found;
    for (const Choice& choice : choices) {
        if (choice.off) {
            found.push_back(&choice);
        }
    }
    if (found.empty()) {
        reading.note = missing;
        return reading;
    }
    std::sort(found.begin(), found.end(), [](const Choice* a, const Choice* b) {
        return std::abs(*a->off) < std::abs(*b->off);
    });
    reading.value = found.front()->step;
    reading.step = reading.value;
    reading.best = Label(reading.value);
    const double best = std::abs(*found.front()->off);
    const bool clear = found.size() == 1 || std::abs(*found[1]->off) - best >= aligned;
    const auto [lowest, highest] =
        std::minmax_element(choices.begin(), choices.end(),
                            [](const Choice& a, const Choice& b) { return a.step < b.step; });
    const int step = found.front()->step;
    // Aligned, for the last choice: within a dot (or row) of the measure's
    // own unevenness.
    const double inPlace = std::max(aligned / 2, 1.0);
    if (!clear) {
        NotSure(reading,
                "two choices are as good (" + Label(found[0]->step) + " and " +
                    Label(found[1]->step) + ")",
                0, found[0]->step, found[1]->step);
    } else if ((step == lowest->step || step == highest->step) && best > inPlace) {
        NotSure(
            reading,
            "the best choice, " + Label(step) + ", is the sheet's last that way and not aligned",
            step > 0 ? 1 : -1, step);
    } else if (found.size() < choices.size() && best > aligned / 2) {
        reading.note = "a choice is missing (" + std::to_string(choices.size() - found.size()) +
                       " of " + std::to_string(choices.size()) +
                       " not measured) and none is aligned";
    } else {
        reading.sure = true;
    }
    return reading;
}

Reading HeadAngular(const Sheet& sheet, std::vector<Mark> marks) {
    std::sort(marks.begin(), marks.end(),
              [](const Mark& a, const Mark& b) { return a.box.x < b.box.x; });
    std::vector<Choice> choices = {{0, {}}, {3, {}}, {-3, {}}};
    if (marks.size() == 2 * choices.size()) {
        for (size_t pair = 0; pair < choices.size(); ++pair) {
            const Mark& mark = marks[2 * pair];
            const int top = mark.box.y;
            const int bottom = mark.box.y + mark.box.height;
            const auto upper =
                FittedColumn(sheet, mark, top + kFitFrom, top + kFitTo, top + kPartRows - 1);
            const auto lower =
                FittedColumn(sheet, mark, bottom - kFitTo, bottom - kFitFrom, bottom - kPartRows);
            if (upper && lower) {
                choices[pair].off = *lower - *upper;
            }
        }
    }
    return Best("head-angular", choices, 1.5,
                "the item's three pairs of marks were not found (" + std::to_string(marks.size()) +
                    " marks)");
}

// Rows of combs of one ink, top down, each left to right.
std::vector<std::vector<Mark>> CombRows(std::vector<Mark> combs) {
    std::sort(combs.begin(), combs.end(),
              [](const Mark& a, const Mark& b) { return a.CentreY() < b.CentreY(); });
    std::vector<std::vector<Mark>> rows;
    for (const Mark& comb : combs) {
        if (rows.empty() || comb.CentreY() - rows.back().front().CentreY() > 40) {
            rows.emplace_back();
        }
        rows.back().push_back(comb);
    }
    for (auto& row : rows) {
        std::sort(row.begin(), row.end(),
                  [](const Mark& a, const Mark& b) { return a.box.x < b.box.x; });
    }
    return rows;
}

void Bid(const Sheet& sheet, const std::vector<Mark>& combs, bool black,
         std::vector<Reading>& readings) {
    constexpr std::array<const char*, 4> kModes = {"vsd1", "vsd2", "vsd3", "eco"};
    const auto rows = CombRows(combs);
    for (size_t mode = 0; mode < kModes.size(); ++mode) {
        std::vector<Choice> choices = {{0, {}}, {1, {}}, {-1, {}}};
        if (rows.size() == kModes.size() && rows[mode].size() == choices.size()) {
            for (size_t at = 0; at < choices.size(); ++at) {
                choices[at].off = CombOffset(sheet, rows[mode][at]);
            }
        }
        const std::string missing =
            rows.size() != kModes.size()
                ? "the item's rows of combs were not found (" + std::to_string(rows.size()) +
                      " rows of " + (black ? "black" : "colour") + " combs, not 4)"
            : rows[mode].size() != choices.size()
                ? "the item's row holds " + std::to_string(rows[mode].size()) + " combs, not 3"
                : std::string("the item's combs could not be measured");
        readings.push_back(Best(std::string("bid-") + kModes[mode] + (black ? "-black" : "-color"),
                                choices, kDotsPerBidStep - 1, missing));
        readings.back().area = Around(rows.size() == kModes.size() ? rows[mode] : combs);
    }
}

// Each step's second block follows its first a few rows on: its gap or
// overlap is two rows a unit off, and the choices lie within a few units.
bool Paired(const PfSteps& found, size_t steps) {
    const auto& [firsts, seconds, lean, level] = found;
    if (firsts.size() != steps || seconds.size() != steps) {
        return false;
    }
    for (size_t step = 0; step < steps; ++step) {
        const int gap = found.Gap(step);
        const bool next = step + 1 < steps && seconds[step].first >= firsts[step + 1].first;
        if (std::abs(gap) > kPfPairRows || seconds[step].first <= firsts[step].first || next) {
            return false;
        }
    }
    return true;
}

Reading Pf(const Sheet& sheet, const std::vector<Mark>& blocks, bool black) {
    std::vector<Choice> choices = {{-1, {}}, {0, {}}, {1, {}}};
    const PfSteps steps = FindPfSteps(sheet, blocks);
    const auto& [firsts, seconds, lean, level] = steps;
    const std::string name = black ? "pf-black" : "pf-color";
    if (!Paired(steps, choices.size())) {
        Reading reading;
        reading.name = name;
        reading.note = "the item's blocks do not pair into three steps (found " +
                       std::to_string(firsts.size()) + " first and " +
                       std::to_string(seconds.size()) + " second blocks)";
        return reading;
    }
    for (size_t step = 0; step < choices.size(); ++step) {
        choices[step].off = steps.Gap(step);
    }
    Reading reading = Best(name, choices, 2, {});
    if (!level) {
        reading.sure = false;
        reading.note = kPfNotLevel;
    }
    return reading;
}

}  // namespace

std::vector<Reading> ReadPhotoSheetFirst(const Sheet& sheet, const std::vector<Mark>& marks) {
    std::vector<Mark> angular, blackCombs, colourCombs, blackBlocks, colourBlocks;
    for (const Mark& mark : marks) {
        if (mark.box.width >= 300) {
            (mark.ink == Ink::Black ? blackBlocks : colourBlocks).push_back(mark);
        } else if (mark.box.width <= 40) {
            angular.push_back(mark);
        } else {
            (mark.ink == Ink::Black ? blackCombs : colourCombs).push_back(mark);
        }
    }
    std::vector<Reading> readings;
    readings.push_back(HeadAngular(sheet, angular));
    readings.back().area = Around(angular);
    Bid(sheet, blackCombs, true, readings);
    Bid(sheet, colourCombs, false, readings);
    readings.push_back(Pf(sheet, blackBlocks, true));
    readings.back().area = Around(blackBlocks);
    readings.push_back(Pf(sheet, colourBlocks, false));
    readings.back().area = Around(colourBlocks);
    return readings;
}

}  // namespace reader
