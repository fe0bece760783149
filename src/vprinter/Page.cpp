#include "vprinter/Page.h"

#include <algorithm>

#include "vprinter/Font.h"

namespace vprinter {

namespace {

int Shift(Ink ink) {
    return 6 - 2 * static_cast<int>(ink);
}

}  // namespace

uint8_t Page::Pixel(int64_t row, int64_t column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= kColumns) {
        return 0;
    }
    const auto& line = lines_[static_cast<size_t>(row)];
    return line.empty() ? 0 : line[static_cast<size_t>(column)];
}

int Page::Level(Ink ink, int64_t row, int64_t column) const {
    return (Pixel(row, column) >> Shift(ink)) & 3;
}

const uint8_t* Page::Row(int64_t row) const {
    if (row < 0 || row >= rows_) {
        return nullptr;
    }
    const auto& line = lines_[static_cast<size_t>(row)];
    return line.empty() ? nullptr : line.data();
}

void Page::Mark(Ink ink, int64_t row, int64_t column, int level) {
    if (row < 0 || row >= rows_ || column < 0 || column >= kColumns || level <= 0) {
        return;
    }
    auto& line = lines_[static_cast<size_t>(row)];
    if (line.empty()) {
        line.assign(static_cast<size_t>(kColumns), 0);
        ++marked_;
    }
    uint8_t& pixel = line[static_cast<size_t>(column)];
    const int shift = Shift(ink);
    const int present = (pixel >> shift) & 3;
    const int wanted = std::min(level, 3);
    if (wanted > present) {
        pixel = static_cast<uint8_t>((pixel & ~(3 << shift)) | wanted << shift);
    }
}

void Page::Print(int64_t row, int64_t column, char character) {
    const Glyph& glyph = GlyphOf(character);
    for (int y = 0; y < kGlyphRows; ++y) {
        for (int x = 0; x < kGlyphColumns; ++x) {
            if ((glyph.rows[y] >> (kGlyphColumns - 1 - x) & 1) == 0) {
                continue;
            }
            for (int dy = 0; dy < kGlyphScale; ++dy) {
                for (int dx = 0; dx < kGlyphScale; ++dx) {
                    Mark(Ink::Black, row + kGlyphTop + y * kGlyphScale + dy,
                         column + kGlyphLeft + x * kGlyphScale + dx, 3);
                }
            }
        }
    }
    if (textCharacters_ >= kTextLimit) {
        return;
    }
    ++textCharacters_;
    if (!texts_.empty()) {
        Text& last = texts_.back();
        if (last.row == row &&
            last.column + static_cast<int64_t>(last.text.size()) * Interpreter::kCharacterDots ==
                column) {
            last.text += character;
            return;
        }
    }
    texts_.push_back({row, column, std::string(1, character)});
}

std::string Page::AllText() const {
    std::vector<Text> sorted = texts_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Text& a, const Text& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    std::string all;
    for (const Text& text : sorted) {
        all += text.text + "\n";
    }
    return all;
}

}  // namespace vprinter
