#pragma once

#include <cstddef>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "vprinter/Misregistration.h"
#include "vprinter/Packet.h"

namespace vprinter {

// The four inks, in the order of the page's dot planes.
enum class Ink : uint8_t { Black = 0, Cyan = 1, Magenta = 2, Yellow = 3 };

// What the interpreter makes of the print-data stream, handed on as it reads.
// Rows and columns are dots at 360 dpi from the top left corner of the sheet.
class PrintSink {
  public:
    virtual ~PrintSink() = default;
    // Something in the stream the printer could not use; offset is the
    // stream offset of its first byte.
    virtual void Fault(uint64_t offset, const std::string& note) = 0;
    virtual void Packet(uint64_t offset, const PacketCommand& command) = 0;
    // The 72 parameter bytes of a remote-mode "SN" setting whose sum was right.
    virtual void RemoteSetting(uint64_t /*offset*/, const uint8_t* /*table*/) {}
    // A sheet is taken from the tray; rows is its length.
    virtual void StartSheet(int64_t rows) = 0;
    virtual void Dot(Ink ink, int64_t row, int64_t column, int level) = 0;
    // Dots of one ink side by side on a row, from column on: the levels of
    // pattern (patternDots of them) repeated repeats times. Level 0 leaves
    // the dot alone.
    virtual void DotRun(Ink ink, int64_t row, int64_t column, const uint8_t* pattern,
                        int patternDots, uint64_t repeats) {
        for (uint64_t k = 0; k < repeats; ++k) {
            for (int d = 0; d < patternDots; ++d) {
                if (pattern[d] != 0) {
                    Dot(ink, row, column + static_cast<int64_t>(k) * patternDots + d, pattern[d]);
                }
            }
        }
    }
    virtual void Character(int64_t row, int64_t column, char character) = 0;
    virtual void EjectSheet() = 0;
    // A person's view of every command read: only asked for when wanted.
    virtual bool WantsListing() const { return false; }
    virtual void Listing(uint64_t /*offset*/, const std::string& /*command*/,
                         const std::string& /*parameters*/) {}
};

// Reads the printer's print-data language as it arrives, in pieces of any
// size: text and its control bytes, ESC commands, run-length raster blocks,
// ESC '|' command packets and remote-mode blocks. Its state is small and may
// be copied, so that a copy can find out what a piece of data would do
// before the printer commits to it.
//
// Resynchronisation after something malformed: a command whose length field
// gives its extent (ESC ( X nL nH, ESC '|' 00 n 00, remote commands) is
// skipped whole by that length; an unknown ESC x is dropped with its command
// byte; stray bytes are dropped one by one. A raster block knows two unit
// shapes, 00 v (one byte) and 80..FF v (2 to 129 copies): a unit that runs
// past the block's announced size is cut at it, and a header byte 01..7F
// means the block ended short, so that byte is read again as a command.
// Remote mode ends at its exit 1B 00 00 00, or at the first byte that cannot
// begin a remote command, which is then read again as a command.
class Interpreter {
  public:
    // Positions are kept in 1/28800 inch, which holds 1/3600 and 1/2880 exactly.
    static constexpr int64_t kFinePerInch = 28800;
    static constexpr int64_t kFinePerDot = 80;  // one dot at 360 dpi
    static constexpr int64_t kPageColumns = 2880;
    static constexpr int64_t kDefaultPaperRows = 4208;  // A4
    static constexpr int64_t kDefaultTopRows = 42;
    static constexpr int64_t kMaxPaperRows = 44 * 360;
    static constexpr int64_t kLineRows = 60;       // text lines 1/6 inch apart
    static constexpr int64_t kCharacterDots = 36;  // 10 characters an inch
    static constexpr int64_t kNozzlePitch = kFinePerInch / 120;
    static constexpr int kBlackNozzles = 90;
    static constexpr int64_t kNozzleDashDots = 32;  // of the nozzle check
    static constexpr int kColourNozzles = 29;       // per colour; the colour
    // row holds yellow, magenta and cyan one above the other, top down, 30
    // nozzle places apart (ColourPlace).
    static constexpr int kColourGroupPlaces = 30;
    // The nozzle place of an ink's first nozzle in its row: black 0, yellow
    // 0, magenta 30, cyan 60. The colour check patterns are laid out for
    // this: a cyan band prints half an inch below the head's position, so
    // the label the PF colour pattern prints two text lines below a step
    // stands beside that step's blocks.
    static constexpr int ColourPlace(Ink ink) {
        switch (ink) {
            case Ink::Magenta:
                return kColourGroupPlaces;
            case Ink::Cyan:
                return 2 * kColourGroupPlaces;
            default:
                return 0;
        }
    }

    Interpreter() { Reset(); }

    void SetCommandCode(uint8_t a, uint8_t b) {
        codeA_ = a;
        codeB_ = b;
    }
    // Where the mechanism puts the dots from now on; its owner sets it again
    // whenever a value in force changes, even in the middle of a stream.
    void SetMisregistration(const Misregistration& misregistration) {
        if (misregistration.pfBlack != misregistration_.pfBlack ||
            misregistration.pfColour != misregistration_.pfColour) {
            pfCarry_ = 0;  // a new PF value feeds from here
        }
        misregistration_ = misregistration;
    }
    void Feed(const uint8_t* data, size_t length, PrintSink& sink);
    // The end of a whole stream: tells of a command or block left unfinished.
    void Finish(PrintSink& sink);
    // Power-on state. A sheet in the printer is forgotten: ejecting it is the
    // caller's business.
    void Reset();

    // Bytes read since the power-on state.
    uint64_t Offset() const { return offset_; }
    // Between commands, in text mode and without a sheet.
    bool AtRest() const;
    bool SheetTaken() const { return sheet_; }

  private:
    // Positions beyond this are far off any sheet; keeping them here keeps the
    // arithmetic away from overflow however far a stream moves the head.
    static constexpr int64_t kFarAway = int64_t{1} << 50;

    enum class Mode : uint8_t { Command, Remote, Raster, Skip };

    struct Settings {  // what ESC @ puts back
        bool graphics = false;
        int64_t pageUnit = kFinePerDot;
        int64_t verticalUnit = kFinePerDot;
        int64_t horizontalUnit = kFinePerDot;
        int64_t linePitch = kNozzlePitch;       // raster lines of one block
        int64_t dotPitch = kFinePerDot;         // dots of a raster line
        uint8_t colourMode = 0;                 // 1 black only
        int64_t paperRows = kDefaultPaperRows;  // for the next sheet
        int64_t topRows = kDefaultTopRows;
        bool back = false;    // passes print on the way back (ESC U other than 1)
        uint8_t dotSize = 0;  // 16 VSD1, 17 VSD2, 18 VSD3, 19 ECO; 0 none set
    };

    struct Block {
        Ink ink = Ink::Black;
        bool draw = false;
        int bits = 2;
        int compression = 1;
        uint64_t bytesPerLine = 0;
        uint64_t total = 0;
        uint64_t done = 0;
        uint64_t drawLines = 0;
        uint64_t units = 0;
        uint64_t dataStart = 0;
        int64_t top = 0;  // fine position of line 0
        int64_t left = 0;
        int64_t dotPitch = 0;
        int64_t linePitch = 0;
        int firstPlace = 0;  // nozzle place of line 0 in its nozzle row
        int64_t across = 0;  // fine, where the mechanism puts a pass on the way back
        int repeat = 0;      // copies of the unit whose value comes next
        bool header = true;  // a unit header comes next
    };

    // Command mode and remote mode, one byte at a time.
    void CommandByte(uint8_t byte, uint64_t at, PrintSink& sink);
    void RemoteByte(uint8_t byte, uint64_t at, PrintSink& sink);
    void LeaveRemote(PrintSink& sink, const std::string& note);
    void Single(uint8_t byte, uint64_t at, PrintSink& sink);
    void Escape(PrintSink& sink);
    bool ParenShape(uint8_t letter, size_t length) const;
    void Paren(uint8_t letter, const uint8_t* p, size_t n, PrintSink& sink);
    void Short(uint8_t command, const uint8_t* p, PrintSink& sink);
    void CommandPacket(PrintSink& sink);
    void RemoteCommand(PrintSink& sink);
    void NozzleCheck(PrintSink& sink);

    // Raster blocks.
    void StartBlock(const uint8_t* header, PrintSink& sink);
    size_t RasterBytes(const uint8_t* data, size_t length, PrintSink& sink);
    void Copies(uint64_t count, uint8_t value, PrintSink& sink);
    void EndBlock(PrintSink& sink);

    void TakeSheet(PrintSink& sink);
    void PastEnd(PrintSink& sink);
    // The sheet's row and column of a fine position, where the mechanism's
    // margins put it.
    int64_t SheetRow(int64_t fineRow) const;
    int64_t SheetColumn(int64_t fineColumn) const;
    void Mark(Ink ink, int64_t fineRow, int64_t fineColumn, int level, PrintSink& sink);
    // Dots one dot apart from fineColumn on: pattern repeated repeats times.
    void MarkRun(Ink ink, int64_t fineRow, int64_t fineColumn, const uint8_t* pattern,
                 int patternDots, uint64_t repeats, PrintSink& sink);
    // A paper feed: down by fine, and by what the mechanism's feed adds.
    void MoveDown(int64_t fine);
    // Fine across that the head's tilt adds to the dots of a nozzle place.
    int64_t Tilt(int place) const;
    void SkipBytes(uint64_t count, Mode after);

    void Fault(PrintSink& sink, uint64_t at, const std::string& note);
    void Stray(PrintSink& sink, uint64_t at, uint8_t byte, const char* reason);
    void List(PrintSink& sink, uint64_t at, const std::string& command,
              const std::string& parameters = {});
    void FlushRuns(PrintSink& sink);

    Mode mode_ = Mode::Command;
    Mode afterSkip_ = Mode::Command;
    uint64_t skip_ = 0;
    uint64_t offset_ = 0;
    uint64_t current_ = 0;          // offset of the byte being read
    std::vector<uint8_t> pending_;  // the command being gathered
    uint64_t pendingStart_ = 0;
    uint8_t codeA_ = 0;
    uint8_t codeB_ = 0;

    Settings settings_;
    Misregistration misregistration_;
    // The part of a row that the PF misregistration has added to the feeds
    // so far and the paper has not yet moved, in 1/kPfCarryUnit rows: a unit
    // that divides the band of black and of colour nozzles alike.
    static constexpr int64_t kPfCarryUnit =
        std::lcm(kBlackNozzles * kNozzlePitch, kColourNozzles* kNozzlePitch);
    int64_t pfCarry_ = 0;
    int64_t x_ = 0;  // fine, from the left edge
    int64_t y_ = 0;  // fine, from the top margin
    bool sheet_ = false;
    int64_t sheetRows_ = 0;
    int64_t sheetTop_ = 0;
    bool pastEndTold_ = false;
    Block block_;

    // Runs of text (for the listing) and of stray bytes (one fault a run).
    std::string text_;
    uint64_t textStart_ = 0;
    const char* strayReason_ = nullptr;
    uint64_t strayStart_ = 0;
    uint64_t strayCount_ = 0;
    uint8_t strayFirst_ = 0;
};

// Rounds a fine position to its 360-dpi dot.
inline int64_t DotOf(int64_t fine) {
    const int64_t shifted = fine + Interpreter::kFinePerDot / 2;
    return shifted >= 0 ? shifted / Interpreter::kFinePerDot
                        : -((-shifted + Interpreter::kFinePerDot - 1) / Interpreter::kFinePerDot);
}

}  // namespace vprinter
