#include "reader/Text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <opencv2/imgproc.hpp>

#include "vprinter/Font.h"

namespace reader {

namespace {

constexpr int kInked = 64;       // a dot with this much ink is printed, blurred as it may be
constexpr int kColumnGap = 2;    // blank columns a glyph may hold, blurred or speckled
constexpr int kLeastWidth = 4;   // inked columns narrower than this are specks
constexpr int kGlyphGap = 11;    // blank dots between two glyphs of a line
constexpr int kPlaceSlack = 3;   // dots a glyph may stand off where its ink says
constexpr int kLineSlack = 3;    // rows a glyph may stand off the line's
constexpr int kPitchSlack = 4;   // dots two glyphs may stand off whole cells apart
constexpr int kPadRows = 16;     // blank rows added above and below the band
constexpr int kRowGap = 3;       // blank rows a line of text may hold
constexpr int kLeastRows = 15;   // a line's ink is at least this high
constexpr int kLineMargin = 12;  // rows of the band above and below a line's ink
constexpr double kBlur = 1.0;    // the templates' and the band's softening, in dots

using vprinter::kGlyphColumns;
using vprinter::kGlyphLeft;
using vprinter::kGlyphRows;
using vprinter::kGlyphScale;
using vprinter::kGlyphTop;

// A glyph drawn in its cell as the printer prints it, softened as a print is.
struct Template {
    cv::Mat cell;     // CV_32F, kCellRowDots x kCellDots
    int firstColumn;  // of the glyph's ink within the cell
};

Template MakeTemplate(char character) {
    const vprinter::Glyph& glyph = vprinter::GlyphOf(character);
    Template made{cv::Mat::zeros(kCellRowDots, kCellDots, CV_32F), kCellDots};
    for (int row = 0; row < kGlyphRows; ++row) {
        for (int column = 0; column < kGlyphColumns; ++column) {
            if ((glyph.rows[row] >> (kGlyphColumns - 1 - column) & 1) == 0) {
                continue;
            }
            const cv::Rect dot(kGlyphLeft + column * kGlyphScale, kGlyphTop + row * kGlyphScale,
                               kGlyphScale, kGlyphScale);
            made.cell(dot).setTo(255);
            made.firstColumn = std::min(made.firstColumn, dot.x);
        }
    }
    cv::GaussianBlur(made.cell, made.cell, cv::Size(), kBlur);
    return made;
}

const Template& TemplateOf(char character) {
    static const std::array<Template, 128> templates = [] {
        std::array<Template, 128> all;
        for (int code = 0; code < 128; ++code) {
            all[static_cast<size_t>(code)] = MakeTemplate(static_cast<char>(code));
        }
        return all;
    }();
    return templates[static_cast<unsigned char>(character) & 127];
}

// Columns [first, last] of the band that hold one glyph's ink each.
std::vector<Run> GlyphColumns(const cv::Mat& ink) {
    cv::Mat counts;
    cv::reduce(ink > kInked, counts, 0, cv::REDUCE_SUM, CV_32S);
    std::vector<double> profile(static_cast<size_t>(counts.cols));
    for (int column = 0; column < counts.cols; ++column) {
        // Two inked dots in a column (the mask counts 255 each) are ink.
        profile[static_cast<size_t>(column)] = counts.at<int>(0, column) >= 2 * 255 ? 255 : 0;
    }
    std::vector<Run> glyphs;
    for (const Run& run : Runs(profile, kColumnGap, kLeastWidth)) {
        // Glyphs run together by a blur or a smudge are taken a cell each.
        const int width = run.last - run.first + 1;
        const int count = std::max(1, (width + kGlyphGap + kCellDots / 2) / kCellDots);
        for (int at = 0; at < count; ++at) {
            const int first = run.first + at * kCellDots;
            glyphs.push_back({first, std::min(run.last, first + kCellDots - kGlyphGap)});
        }
    }
    return glyphs;
}

// The glyph of the alphabet that matches the ink at the cell columns
// [left, left + span) and rows [top, bottom) best.
TextCharacter MatchGlyph(const cv::Mat& band, int left, int span, int top, int bottom,
                         std::string_view alphabet) {
    const cv::Rect area =
        cv::Rect(left, top, span + kCellDots - 1, bottom - top + kCellRowDots - 1) &
        cv::Rect(0, 0, band.cols, band.rows);
    TextCharacter best;
    best.match = -1;
    double second = -1;
    if (area.width < kCellDots || area.height < kCellRowDots) {
        return best;
    }
    for (const char character : alphabet) {
        cv::Mat result;
        cv::matchTemplate(band(area), TemplateOf(character).cell, result, cv::TM_CCOEFF_NORMED);
        double match = 0;
        cv::Point at;
        cv::minMaxLoc(result, nullptr, &match, nullptr, &at);
        if (match > best.match) {
            second = best.match;
            best.character = character;
            best.match = match;
            best.cell = at + area.tl();
        } else {
            second = std::max(second, match);
        }
    }
    best.ahead = best.match - second;
    return best;
}

}  // namespace

TextLine ReadTextLine(const Sheet& sheet, const cv::Rect& band, std::string_view alphabet) {
    TextLine line;
    const cv::Rect inside = band & cv::Rect(0, 0, sheet.ink.cols, sheet.ink.rows);
    if (inside.empty() || alphabet.empty()) {
        return line;
    }
    // The band alone, blank around it: what stands outside is no part of
    // the line.
    cv::Mat ink;
    sheet.ink(inside).convertTo(ink, CV_32F);
    cv::copyMakeBorder(ink, ink, kPadRows, kPadRows, kCellDots, kCellDots, cv::BORDER_CONSTANT, 0);
    cv::GaussianBlur(ink, ink, cv::Size(), kBlur);
    const cv::Point origin = inside.tl() - cv::Point(kCellDots, kPadRows);

    const std::vector<Run> glyphs = GlyphColumns(sheet.ink(inside));
    if (glyphs.empty()) {
        return line;
    }
    // A glyph's cell begins left of its ink by the glyph's own blank
    // columns: from its left margin to the widest glyph's.
    const auto cellLeft = [](const Run& glyph) {
        return glyph.first + kCellDots - kGlyphLeft - (kGlyphColumns - 1) * kGlyphScale -
               kPlaceSlack;
    };
    const int span = (kGlyphColumns - 1) * kGlyphScale + 2 * kPlaceSlack + 1;
    const int lowest = ink.rows - kCellRowDots;
    // The line's row: that of the glyph matched best anywhere down the band;
    // then each glyph is matched on it.
    int lineTop = 0;
    double bestMatch = -1;
    for (const Run& glyph : glyphs) {
        const TextCharacter found = MatchGlyph(ink, cellLeft(glyph), span, 0, lowest + 1, alphabet);
        if (found.match > bestMatch) {
            bestMatch = found.match;
            lineTop = found.cell.y;
        }
    }
    line.sure = true;
    line.confidence = 1;
    for (const Run& glyph : glyphs) {
        TextCharacter found =
            MatchGlyph(ink, cellLeft(glyph), span, std::max(0, lineTop - kLineSlack),
                       std::min(lowest, lineTop + kLineSlack) + 1, alphabet);
        if (found.match < 0) {
            line.sure = false;
            continue;
        }
        found.cell += origin;
        if (!line.characters.empty()) {
            const int apart = found.cell.x - line.characters.back().cell.x;
            const int cells = static_cast<int>(std::lround(static_cast<double>(apart) / kCellDots));
            if (cells < 1 || std::abs(apart - cells * kCellDots) > kPitchSlack) {
                line.sure = false;
            }
            line.text.append(static_cast<size_t>(std::max(cells - 1, 0)), ' ');
        }
        line.text += found.character;
        line.sure = line.sure && found.match >= kSureGlyph && found.ahead >= kSureAhead;
        line.confidence = std::min(line.confidence, found.match);
        line.characters.push_back(found);
    }
    line.sure = line.sure && !line.characters.empty();
    if (line.characters.empty()) {
        line.confidence = 0;
    }
    return line;
}

std::vector<cv::Rect> FindTextLines(const Sheet& sheet, const cv::Rect& area) {
    const cv::Rect inside = area & cv::Rect(0, 0, sheet.ink.cols, sheet.ink.rows);
    std::vector<cv::Rect> lines;
    if (inside.empty()) {
        return lines;
    }
    cv::Mat counts;
    cv::reduce(sheet.ink(inside) > kInked, counts, 1, cv::REDUCE_SUM, CV_32S);
    std::vector<double> profile(static_cast<size_t>(counts.rows));
    for (int row = 0; row < counts.rows; ++row) {
        profile[static_cast<size_t>(row)] = counts.at<int>(row, 0) >= 2 * 255 ? 255 : 0;
    }
    for (const Run& run : Runs(profile, kRowGap, kLeastRows)) {
        if (run.last - run.first + 1 > kCellRowDots) {
            continue;  // taller than a line of text
        }
        const int top = std::max(inside.y + run.first - kLineMargin, 0);
        const int bottom = std::min(inside.y + run.last + 1 + kLineMargin, sheet.ink.rows);
        lines.emplace_back(inside.x, top, inside.width, bottom - top);
    }
    return lines;
}

}  // namespace reader
