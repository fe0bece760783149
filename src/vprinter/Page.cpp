#include "vprinter/Page.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "vprinter/Font.h"

#if defined(__SANITIZE_ADDRESS__)
#define ORVANE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVANE_ASAN 1
#endif
#endif
#ifdef ORVANE_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace vprinter {

namespace {

constexpr auto kLargeBlack = static_cast<uint8_t>(3 << 6);

// The masks of one row of a glyph, for each of its 2^kGlyphColumns values:
// kLargeBlack under its dots, 0 elsewhere, padded to whole words.
constexpr int64_t kCoverWords = (kGlyphColumns * kGlyphScale + 7) / 8;
constexpr int64_t kCoverBytes = 8 * kCoverWords;
using CoverTable = std::array<std::array<uint8_t, kCoverBytes>, 1 << kGlyphColumns>;

CoverTable MakeCovers() {
    CoverTable covers{};
    for (size_t bits = 0; bits < covers.size(); ++bits) {
        for (int x = 0; x < kGlyphColumns; ++x) {
            if ((bits >> (kGlyphColumns - 1 - x) & 1) != 0) {
                std::fill_n(covers[bits].begin() + x * kGlyphScale, kGlyphScale, kLargeBlack);
            }
        }
    }
    return covers;
}

// ORs a row of masks into pixels a word at a time.
void OrWords(uint8_t* pixels, const uint8_t* cover) {
    for (int64_t w = 0; w < kCoverWords; ++w) {
        uint64_t have = 0;
        uint64_t add = 0;
        std::memcpy(&have, pixels + 8 * w, 8);
        std::memcpy(&add, cover + 8 * w, 8);
        have |= add;
        std::memcpy(pixels + 8 * w, &have, 8);
    }
}

// Blocks of the pages of this thread that are gone, kept for its next pages:
// a page printed after another writes into memory already in use instead of
// asking the allocator (and the system) for more. A kept block is poisoned
// under AddressSanitizer, so that a page read after it is gone is still
// caught.
constexpr size_t kBlocksKept = 32;

// Set once the thread's kept blocks are destroyed (at the thread's end, or
// the program's): a page that goes after them (one held by a static object)
// keeps nothing. A bool has no destructor, so it can still be read then.
thread_local bool keptBlocksGone = false;

struct KeptBlockList {
    std::vector<std::vector<uint8_t>> blocks;
    KeptBlockList() = default;
    KeptBlockList(const KeptBlockList&) = delete;
    KeptBlockList& operator=(const KeptBlockList&) = delete;
    ~KeptBlockList() { keptBlocksGone = true; }
};

// Null once they are gone.
std::vector<std::vector<uint8_t>>* KeptBlocks() {
    if (keptBlocksGone) {
        return nullptr;
    }
    thread_local KeptBlockList kept;
    return &kept.blocks;
}

void Poison([[maybe_unused]] std::vector<uint8_t>& block, [[maybe_unused]] bool poisoned) {
#ifdef ORVANE_ASAN
    if (poisoned) {
        ASAN_POISON_MEMORY_REGION(block.data(), block.size());
    } else {
        ASAN_UNPOISON_MEMORY_REGION(block.data(), block.size());
    }
#endif
}

int Shift(Ink ink) {
    return 6 - 2 * static_cast<int>(ink);
}

}  // namespace

uint8_t Page::Pixel(int64_t row, int64_t column) const {
    if (column < 0 || column >= kColumns) {
        return 0;
    }
    const uint8_t* line = Row(row);
    return line == nullptr ? 0 : line[column];
}

int Page::Level(Ink ink, int64_t row, int64_t column) const {
    return (Pixel(row, column) >> Shift(ink)) & 3;
}

const uint8_t* Page::Row(int64_t row) const {
    if (row < 0 || row >= rows_ || lines_.empty()) {
        return nullptr;
    }
    const uint32_t place = lines_[static_cast<size_t>(row)];
    if (place == 0) {
        return nullptr;
    }
    const size_t index = place - 1;
    return blocks_[index / kBlockRows].data() + index % kBlockRows * kColumns;
}

uint8_t* Page::Line(int64_t row) {
    if (lines_.empty()) {
        lines_.assign(static_cast<size_t>(rows_), 0);
    }
    uint32_t& place = lines_[static_cast<size_t>(row)];
    if (place == 0) {
        if (marked_ % kBlockRows == 0) {
            auto* kept = KeptBlocks();
            if (kept == nullptr || kept->empty()) {
                blocks_.emplace_back(kBlockRows * kColumns, uint8_t{0});
            } else {
                blocks_.push_back(std::move(kept->back()));
                kept->pop_back();
                Poison(blocks_.back(), false);
                std::memset(blocks_.back().data(), 0, blocks_.back().size());
            }
        }
        place = static_cast<uint32_t>(++marked_);
    }
    const size_t index = place - 1;
    return blocks_[index / kBlockRows].data() + index % kBlockRows * kColumns;
}

void Page::Mark(Ink ink, int64_t row, int64_t column, int level) {
    if (row < 0 || row >= rows_ || column < 0 || column >= kColumns || level <= 0) {
        return;
    }
    uint8_t& pixel = Line(row)[column];
    const int shift = Shift(ink);
    const int present = (pixel >> shift) & 3;
    const int wanted = std::min(level, 3);
    if (wanted > present) {
        pixel = static_cast<uint8_t>((pixel & ~(3 << shift)) | wanted << shift);
    }
}

void Page::MarkRun(Ink ink, int64_t row, int64_t column, const uint8_t* pattern, int patternDots,
                   uint64_t repeats) {
    if (row < 0 || row >= rows_ || patternDots <= 0 || repeats == 0 ||
        std::all_of(pattern, pattern + patternDots, [](uint8_t level) { return level == 0; })) {
        return;
    }
    const auto length = static_cast<int64_t>(
        std::min<uint64_t>(repeats, static_cast<uint64_t>(kColumns)) * patternDots);
    const int64_t from = std::max<int64_t>(column, 0);
    const int64_t to = std::min<int64_t>(column + length, kColumns);
    if (from >= to) {
        return;
    }
    uint8_t* line = Line(row);
    const int shift = Shift(ink);
    int phase = static_cast<int>((from - column) % patternDots);
    for (int64_t c = from; c < to; ++c) {
        const int wanted = std::min<int>(pattern[phase], 3);
        if (++phase == patternDots) {
            phase = 0;
        }
        uint8_t& pixel = line[c];
        if (wanted > ((pixel >> shift) & 3)) {
            pixel = static_cast<uint8_t>((pixel & ~(3 << shift)) | wanted << shift);
        }
    }
}

void Page::Print(int64_t row, int64_t column, char character) {
    // Each glyph dot is a square of large black dots: the black bits of its
    // pixels are set whatever was there, the other inks stay. One row of
    // dots of the glyph is a row of kCoverBytes pixel masks.
    static const CoverTable covers = MakeCovers();
    const Glyph& glyph = GlyphOf(character);
    const int64_t left = column + kGlyphLeft;
    const bool inside = left >= 0 && left + kCoverBytes <= kColumns;
    for (int y = 0; y < kGlyphRows; ++y) {
        const uint8_t* cover = covers[glyph.rows[y] & (covers.size() - 1)].data();
        const int64_t from = std::max<int64_t>(left, 0);
        const int64_t to = std::min<int64_t>(left + kCoverBytes, kColumns);
        if (from >= to || std::all_of(cover + (from - left), cover + (to - left),
                                      [](uint8_t b) { return b == 0; })) {
            continue;
        }
        for (int dy = 0; dy < kGlyphScale; ++dy) {
            const int64_t at = row + kGlyphTop + y * kGlyphScale + dy;
            if (at < 0 || at >= rows_) {
                continue;
            }
            uint8_t* line = Line(at);
            if (inside) {
                OrWords(line + left, cover);
            } else {
                for (int64_t c = from; c < to; ++c) {
                    line[c] |= cover[c - left];
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

Page::~Page() {
    auto* kept = KeptBlocks();
    if (kept == nullptr) {
        return;
    }
    for (auto& block : blocks_) {
        if (kept->size() == kBlocksKept) {
            break;
        }
        if (block.empty()) {
            continue;  // a page moved from
        }
        Poison(block, true);
        kept->push_back(std::move(block));
    }
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
