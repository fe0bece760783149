#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "vprinter/Interpreter.h"
#include "vprinter/Mechanism.h"

namespace vprinter {

// One printed sheet as dots at 360 dpi, 2880 across. Each dot position holds
// the dot size (0 none, 1 small, 2 medium, 3 large) of each of the four inks,
// packed into one byte: black in bits 6-7, cyan 4-5, magenta 2-3, yellow 0-1.
// That byte is also the dot's palette index in the page's PNG picture. Rows
// are kept only once something is printed on them, in blocks of rows taken as
// they fill; a page with nothing on it costs no more than its size.
class Page {
  public:
    static constexpr int64_t kColumns = Interpreter::kPageColumns;

    explicit Page(int64_t rows) : rows_(rows) {}
    // Its blocks of rows are kept for the thread's next pages (a few).
    ~Page();
    Page(const Page&) = default;
    Page(Page&&) = default;
    Page& operator=(const Page&) = default;
    Page& operator=(Page&&) = default;

    int64_t Rows() const { return rows_; }
    uint8_t Pixel(int64_t row, int64_t column) const;
    int Level(Ink ink, int64_t row, int64_t column) const;
    // The row's 2880 pixels, or nullptr while nothing is printed on it.
    const uint8_t* Row(int64_t row) const;
    bool Blank() const { return marked_ == 0; }

    // Puts a dot of an ink; where one is already, the larger stays. Dots off
    // the sheet are lost.
    void Mark(Ink ink, int64_t row, int64_t column, int level);
    // Marks dots side by side from column on: the levels of pattern
    // (patternDots of them) repeated repeats times, as Mark would one by one.
    void MarkRun(Ink ink, int64_t row, int64_t column, const uint8_t* pattern, int patternDots,
                 uint64_t repeats);
    // Prints a character with the top left corner of its cell (36 x 60 dots)
    // at row, column, and notes it in Texts().
    void Print(int64_t row, int64_t column, char character);

    // The text printed on the page: characters that follow each other on a
    // line form one entry.
    struct Text {
        int64_t row = 0;
        int64_t column = 0;
        std::string text;
    };
    const std::vector<Text>& Texts() const { return texts_; }
    // All the page's text, one entry a line, top to bottom.
    std::string AllText() const;

    std::string name;  // the picture's file name once it is written
    // The adjustment values in force when the sheet was taken, in
    // MechanismQuantities() order: the pages that print no sweep show the
    // mechanism's error less these. Not known for a page printed without a
    // printer's EEPROM.
    std::optional<std::array<int8_t, kMechanismQuantities>> stored;

  private:
    static constexpr size_t kTextLimit = 1 << 16;  // characters noted a page
    static constexpr size_t kBlockRows = 16;       // marked rows held by one block

    // The row's pixels, made blank on first use; the row must be on the page.
    uint8_t* Line(int64_t row);

    int64_t rows_;
    // For each row, 0 while it is blank, else 1 + its place among the marked
    // rows. Empty until the first dot.
    std::vector<uint32_t> lines_;
    // The marked rows in the order they were first marked, kColumns bytes
    // each, kBlockRows to a block.
    std::vector<std::vector<uint8_t>> blocks_;
    uint64_t marked_ = 0;  // rows with something on them
    std::vector<Text> texts_;
    size_t textCharacters_ = 0;
};

}  // namespace vprinter
