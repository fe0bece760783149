// Every label of every check page stands beside its own marks: each label's
// text and the marks are found on the printed page, the marks grouped by the
// ink that joins them, and the group nearest a label must be the one it
// names, close by. The groups and the labels are counted in reading order
// (top down, then left to right), so "the k-th label names the k-th step"
// is how a page is written down below.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "CheckSheetFixture.h"
#include "adjust/Rk7bid.h"
#include "adjust/StoredValues.h"
#include "link/ResultCodes.h"
#include "vprinter/Font.h"
#include "vprinter/Mechanism.h"

namespace {

using vprinter::Page;

struct Box {
    int64_t top = 0;
    int64_t left = 0;
    int64_t bottom = -1;  // last row
    int64_t right = -1;   // last column
    bool Empty() const { return bottom < top; }
    void Add(int64_t row, int64_t column) {
        if (Empty()) {
            *this = {row, column, row, column};
            return;
        }
        top = std::min(top, row);
        bottom = std::max(bottom, row);
        left = std::min(left, column);
        right = std::max(right, column);
    }
};

double Distance(const Box& a, const Box& b) {
    const auto gap = [](int64_t lowEnd, int64_t lowStart, int64_t highStart, int64_t highEnd) {
        return std::max<int64_t>({0, highStart - lowEnd, lowStart - highEnd});
    };
    const double dy = static_cast<double>(gap(a.bottom, a.top, b.top, b.bottom));
    const double dx = static_cast<double>(gap(a.right, a.left, b.left, b.right));
    return std::hypot(dx, dy);
}

std::string Describe(const Box& box) {
    std::ostringstream text;
    text << "rows " << box.top << "-" << box.bottom << ", columns " << box.left << "-"
         << box.right;
    return text.str();
}

// A word of the page's text, as its ink shows it.
struct Label {
    std::string word;
    Box ink;
};

// The glyph area of a character cell whose top left corner is row, column.
Box GlyphArea(int64_t row, int64_t column) {
    return {row + vprinter::kGlyphTop, column + vprinter::kGlyphLeft,
            row + vprinter::kGlyphTop + vprinter::kGlyphRows * vprinter::kGlyphScale - 1,
            column + vprinter::kGlyphLeft + vprinter::kGlyphColumns * vprinter::kGlyphScale - 1};
}

// The words the printer printed, each boxed by its ink on the page, in
// reading order; a word without ink is left out.
std::vector<Label> PrintedLabels(const Page& page) {
    std::vector<Label> labels;
    for (const Page::Text& text : page.Texts()) {
        for (size_t at = 0; at < text.text.size();) {
            if (text.text[at] == ' ') {
                ++at;
                continue;
            }
            const size_t end = std::min(text.text.find(' ', at), text.text.size());
            Label label{text.text.substr(at, end - at), {}};
            for (size_t k = at; k < end; ++k) {
                const Box area = GlyphArea(text.row, text.column + static_cast<int64_t>(k) * 36);
                for (int64_t row = area.top; row <= area.bottom && row < page.Rows(); ++row) {
                    for (int64_t column = area.left; column <= area.right; ++column) {
                        if (column >= 0 && column < Page::kColumns && page.Pixel(row, column)) {
                            label.ink.Add(row, column);
                        }
                    }
                }
            }
            if (!label.ink.Empty()) {
                labels.push_back(label);
            }
            at = end;
        }
    }
    std::stable_sort(labels.begin(), labels.end(), [](const Label& a, const Label& b) {
        return a.ink.top / 36 != b.ink.top / 36 ? a.ink.top < b.ink.top : a.ink.left < b.ink.left;
    });
    return labels;
}

// The marks: ink outside the text's glyphs, in groups whose ink comes
// within join dots of each other, each boxed, in reading order.
std::vector<Box> MarkGroups(const Page& page, int64_t join) {
    std::vector<uint8_t> text(static_cast<size_t>(page.Rows() * Page::kColumns), 0);
    for (const Page::Text& line : page.Texts()) {
        for (size_t k = 0; k < line.text.size(); ++k) {
            const Box g = GlyphArea(line.row, line.column + static_cast<int64_t>(k) * 36);
            for (int64_t row = std::max<int64_t>(g.top, 0); row <= g.bottom && row < page.Rows();
                 ++row) {
                for (int64_t column = std::max<int64_t>(g.left, 0);
                     column <= g.right && column < Page::kColumns; ++column) {
                    text[static_cast<size_t>(row * Page::kColumns + column)] = 1;
                }
            }
        }
    }
    constexpr int64_t kCell = 4;  // dots a side of the coarse grid
    const int64_t columns = Page::kColumns / kCell;
    const int64_t rows = (page.Rows() + kCell - 1) / kCell;
    std::vector<int64_t> marked;  // coarse cells with mark ink, row-major
    for (int64_t row = 0; row < page.Rows(); ++row) {
        const uint8_t* dots = page.Row(row);
        if (dots == nullptr) {
            continue;
        }
        for (int64_t column = 0; column < Page::kColumns; ++column) {
            if (dots[column] == 0) {
                continue;
            }
            if (text[static_cast<size_t>(row * Page::kColumns + column)] == 0) {
                marked.push_back((row / kCell) * columns + column / kCell);
            }
        }
    }
    std::sort(marked.begin(), marked.end());
    marked.erase(std::unique(marked.begin(), marked.end()), marked.end());
    std::vector<size_t> parent(marked.size());
    std::iota(parent.begin(), parent.end(), size_t{0});
    const std::function<size_t(size_t)> root = [&](size_t k) {
        return parent[k] == k ? k : parent[k] = root(parent[k]);
    };
    const int64_t reach = (join + kCell - 1) / kCell;
    for (size_t k = 0; k < marked.size(); ++k) {
        const int64_t row = marked[k] / columns;
        const int64_t column = marked[k] % columns;
        for (int64_t r = row; r <= std::min(rows - 1, row + reach); ++r) {
            for (int64_t c = std::max<int64_t>(0, column - reach);
                 c <= std::min(columns - 1, column + reach); ++c) {
                const auto other = std::lower_bound(marked.begin(), marked.end(), r * columns + c);
                if (other != marked.end() && *other == r * columns + c) {
                    parent[root(k)] = root(static_cast<size_t>(other - marked.begin()));
                }
            }
        }
    }
    std::vector<Box> boxes(marked.size());
    for (size_t k = 0; k < marked.size(); ++k) {
        const int64_t row = marked[k] / columns * kCell;
        const int64_t column = marked[k] % columns * kCell;
        boxes[root(k)].Add(row, column);
        boxes[root(k)].Add(row + kCell - 1, column + kCell - 1);
    }
    // A block's marker dots (one dot at either end of its first line) are
    // no marks.
    constexpr int64_t kMarkDots = 16;
    std::vector<Box> groups;
    for (size_t k = 0; k < marked.size(); ++k) {
        const Box& box = boxes[k];
        if (root(k) == k &&
            (box.bottom - box.top >= kMarkDots || box.right - box.left >= kMarkDots)) {
            groups.push_back(box);
        }
    }
    std::sort(groups.begin(), groups.end(), [](const Box& a, const Box& b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    return groups;
}

// A label to check: the next word reading so (in reading order), and the
// groups of its marks (their places in reading order, group to last).
struct Names {
    const char* word;
    size_t group;
    size_t last = 0;  // 0: the one group
    size_t Last() const { return std::max(group, last); }
};

struct PageCase {
    const char* page;
    size_t sheet;        // which of the pages the print ejects
    int64_t join;        // dots of blank that still join a mark's ink
    size_t groups;       // the page's mark groups
    std::vector<Names> labels;
};

// At most this far from its marks (dots, a little over half an inch) a label
// stands beside them.
constexpr double kBeside = 200;

// Labels 0..n-1 of one word list naming groups first, first+1, ...
std::vector<Names> InOrder(const std::vector<const char*>& words, size_t first) {
    std::vector<Names> names;
    for (const char* word : words) {
        names.push_back({word, first++, 0});
    }
    return names;
}

std::vector<Names> Joined(std::vector<Names> a, const std::vector<Names>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class LabelPlacement : public testing_support::CheckSheetTest {
  protected:
    // Prints what the program prints for a page, with every adjustment value
    // stored 0 on a printer without mechanism errors: the pages it ejects.
    std::vector<Page> Print(const std::string& page) {
        ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
            for (const auto& quantity : vprinter::MechanismQuantities()) {
                eeprom[quantity.address] = 0;
            }
        });
        uint16_t result = ResultOk;
        size_t ejected = 1;
        if (page == "bid") {
            TPBid bid(Link(), factory_, raster_, pattern_);
            TPBid::Flags flags{};
            flags[0] = true;  // VSD1 black
            flags[7] = true;  // ECO colour
            result = bid.PrintBidPattern(flags);
        } else if (page == "head-angular") {
            result = adjust::PrintHeadAngularPage(remote_, pattern_, raster_);
        } else if (page == "pf-black" || page == "pf-color") {
            result = adjust::PrintPfPage(
                pattern_, raster_,
                page == "pf-black" ? adjust::PfColour::Black : adjust::PfColour::Colour);
        } else if (page == "top-margin") {
            result = adjust::PrintTopMarginPage(remote_, pattern_, raster_);
        } else if (page == "first-dot") {
            result = pattern_.PrintFirstDotPattern();
        } else if (page == "nozzle-check") {
            result = adjust::PrintNozzleCheckPage(remote_, raster_);
        } else if (page == "photo-sheet") {
            result = sheet_.PrintPhotoPaperSheet();
            ejected = 2;
        } else if (page == "normal-sheet") {
            result = sheet_.PrintNormalPaperSheet();
        }
        EXPECT_EQ(result, ResultOk) << page;
        EXPECT_EQ(Printers().SheetInPrinter("VTUSB001"), nullptr) << page << " is ejected";
        const auto* pages = Printers().PrintedPages("VTUSB001");
        if (pages == nullptr || pages->size() < ejected) {
            return {};
        }
        return {pages->end() - static_cast<std::ptrdiff_t>(ejected), pages->end()};
    }
};

TEST_F(LabelPlacement, EveryLabelStandsBesideItsOwnMarks) {
    const std::vector<const char*> pfSteps = {"NG", "-4", "-3", "-2", "-1", "0",
                                              "1",  "2",  "3",  "4",  "NG"};
    // The Bi-D page's crosses around 0: -1 above, -2 0 2 across, 1 below.
    const std::vector<const char*> cross = {"-1", "-2", "0", "2", "1"};
    const std::vector<const char*> sheetSteps = {"X-1", "X", "X+1"};
    const std::vector<PageCase> cases = {
        {"bid", 0, 8, 10, Joined(InOrder(cross, 0), InOrder(cross, 5))},
        {"head-angular", 0, 24, 5, InOrder({"NG", "-3", "0", "3", "NG"}, 0)},
        {"pf-black", 0, 24, 11, InOrder(pfSteps, 0)},
        {"pf-color", 0, 24, 11, InOrder(pfSteps, 0)},
        {"top-margin", 0, 24, 1, {{"Top", 0, 0}}},
        {"first-dot", 0, 24, 1, {{"First", 0, 0}}},
        {"nozzle-check", 0, 24, 4, {{"Nozzle", 0, 0}}},
        // Head angular: three pairs of marks under "X", "X+3", "X-3"; Bi-D:
        // the column headings over the first row of combs; PF black and
        // colour.
        {"photo-sheet",
         0,
         24,
         6 + 24 + 6,
         Joined(Joined({{"X", 0, 1}, {"X+3", 2, 3}, {"X-3", 4, 5}}, InOrder({"X", "X+1", "X-1"}, 6)),
                Joined(InOrder(sheetSteps, 30), InOrder(sheetSteps, 33)))},
        {"photo-sheet", 1, 24, 2, {{"Top", 0, 0}, {"Accumulated", 1, 0}}},
        {"normal-sheet", 0, 48, 6, {{"BETA(VSD1)", 0, 0}, {"Vertical", 1, 0}, {"HORIZONTAL", 2, 5}}},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.page << ", page " << c.sheet + 1);
        const std::vector<Page> pages = Print(c.page);
        ASSERT_GT(pages.size(), c.sheet);
        const Page& page = pages[c.sheet];
        const std::vector<Box> groups = MarkGroups(page, c.join);
        std::ostringstream found;
        for (size_t g = 0; g < groups.size(); ++g) {
            found << "\n  group " << g << ": " << Describe(groups[g]);
        }
        if (c.groups != 0) {
            ASSERT_EQ(groups.size(), c.groups) << found.str();
        }
        const std::vector<Label> labels = PrintedLabels(page);
        size_t next = 0;  // the labels are met in reading order
        for (const Names& names : c.labels) {
            while (next < labels.size() && labels[next].word != names.word) {
                ++next;
            }
            ASSERT_LT(next, labels.size()) << "no label " << names.word << found.str();
            const Label& label = labels[next++];
            ASSERT_LT(names.Last(), groups.size()) << found.str();
            size_t nearest = 0;
            for (size_t g = 1; g < groups.size(); ++g) {
                if (Distance(label.ink, groups[g]) < Distance(label.ink, groups[nearest])) {
                    nearest = g;
                }
            }
            EXPECT_TRUE(nearest >= names.group && nearest <= names.Last())
                << "label " << names.word << " (" << Describe(label.ink) << ") stands beside "
                << Describe(groups[nearest]) << ", group " << nearest << ", not " << names.group
                << found.str();
            EXPECT_LE(Distance(label.ink, groups[nearest]), kBeside)
                << "label " << names.word << " is far from its marks" << found.str();
        }
    }
}

}  // namespace
