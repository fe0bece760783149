#pragma once

// Text printed in the printer's own font: the captions and labels of the
// check pages. On the sheet (page dots) a character stands in a cell of 36 x
// 60 dots, each dot of its glyph a square of 5 x 5 dots; a scan blurs them
// and places them a dot or so off, so each character is matched against the
// glyphs it may be and read only when one matches clearly best.
#include <opencv2/core.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "reader/Sheet.h"

namespace reader {

inline constexpr int kCellDots = 36;       // a character cell across
inline constexpr int kCellRowDots = 60;    // and down
inline constexpr double kSureGlyph = 0.7;  // the least match of a glyph read sure
inline constexpr double kSureAhead = 0.1;  // by how much it beats the next glyph

struct TextCharacter {
    char character = ' ';
    cv::Point cell;    // the cell's top left corner, in page dots
    double match = 0;  // of the glyph read: 1 is a perfect match
    double ahead = 0;  // of the glyph read over the best other one
};

struct TextLine {
    std::string text;                       // spaces where the cells between characters are blank
    std::vector<TextCharacter> characters;  // the printed ones, left to right
    double confidence = 0;                  // the least match of a character
    bool sure = false;  // every character read clearly, and all on the line's cells
};

// Reads the one line of text that stands in the band (page dots) of the
// sheet; alphabet: the characters that may be printed there (no space).
// Ink in the band that is no character of the alphabet leaves the line not
// sure.
TextLine ReadTextLine(const Sheet& sheet, const cv::Rect& band, std::string_view alphabet);

// The rows of the lines of text within an area of the sheet, top down: each
// a band as wide as the area from a little above a line's ink to a little
// below it.
std::vector<cv::Rect> FindTextLines(const Sheet& sheet, const cv::Rect& area);

}  // namespace reader
