// The ESC commands of the print-data language: the short ones, the ESC ( X
// family that sets the page up, and ESC '|' command packets.
#include <algorithm>

#include "vprinter/Format.h"
#include "vprinter/Interpreter.h"

namespace vprinter {

namespace {

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// A unit of divisor/base inch in fine steps; 0 when it is no whole number of them.
int64_t FineUnit(int64_t divisor, int64_t base) {
    if (divisor <= 0 || base <= 0 || (Interpreter::kFinePerInch * divisor) % base != 0) {
        return 0;
    }
    return Interpreter::kFinePerInch * divisor / base;
}

// A length in page units as rows, or -1 when it is longer than any sheet.
int64_t Rows(uint64_t units, int64_t pageUnit) {
    const auto limit = static_cast<uint64_t>(Interpreter::kMaxPaperRows * Interpreter::kFinePerDot);
    if (units > limit / static_cast<uint64_t>(pageUnit)) {
        return -1;
    }
    return DotOf(static_cast<int64_t>(units) * pageUnit);
}

// A sheet length in page units as rows, or -1 when no sheet is that long.
int64_t SheetRows(uint64_t units, int64_t pageUnit) {
    const int64_t rows = Rows(units, pageUnit);
    return rows >= 1 ? rows : -1;
}

}  // namespace

void Interpreter::CommandPacket(PrintSink& sink) {
    PacketCommand command;
    std::string reason;
    if (!DecodePacket(pending_.data(), pending_.size(), codeA_, codeB_, command, reason)) {
        Fault(sink, pendingStart_, reason);
        return;
    }
    List(sink, pendingStart_, "ESC |", DescribePacket(command));
    sink.Packet(pendingStart_, command);
}

void Interpreter::Short(uint8_t command, const uint8_t* p, PrintSink& sink) {
    const uint64_t at = pendingStart_;
    switch (command) {
        case '@':
            List(sink, at, "ESC @", "initialize");
            settings_ = Settings{};
            x_ = 0;
            return;
        case '<':
            List(sink, at, "ESC <", "head home");
            x_ = 0;
            return;
        case 'U':
            if (p[0] > 3 && p[0] != '0' && p[0] != '1') {
                Fault(sink, at, Format("ESC U with an unknown direction 0x%02X", p[0]));
                return;
            }
            List(sink, at, "ESC U", Format("direction %u", p[0]));
            settings_.back = (p[0] & 0x0F) != 1;
            return;
        case 'x':
            if (p[0] > 1 && p[0] != '0' && p[0] != '1') {
                Fault(sink, at, Format("ESC x with an unknown quality 0x%02X", p[0]));
                return;
            }
            List(sink, at, "ESC x", (p[0] & 1) != 0 ? "letter quality" : "draft");
            return;
        case '\\': {
            const auto units = static_cast<int16_t>(p[0] | p[1] << 8);
            List(sink, at, "ESC \\", Format("right %d units", units));
            x_ = std::clamp<int64_t>(x_ + units * settings_.horizontalUnit, 0, kFarAway);
            return;
        }
        default:
            return;
    }
}

bool Interpreter::ParenShape(uint8_t letter, size_t length) const {
    switch (letter) {
        case 'G':
            return length == 1;
        case 'U':
            return length == 1 || length == 5;
        case 'e':
        case 'K':
        case 'v':
            return length == 2;
        case 'D':
            return length == 4;
        case 'S':
        case 'c':
        case 'R':
            return length == 8;
        case 'C':
            return length == 2 || length == 4;
        default:
            return false;
    }
}

void Interpreter::Paren(uint8_t letter, const uint8_t* p, size_t n, PrintSink& sink) {
    const uint64_t at = pendingStart_;
    switch (letter) {
        case 'G':
            if (p[0] > 1) {
                Fault(sink, at, Format("ESC ( G with an unknown mode 0x%02X", p[0]));
                return;
            }
            List(sink, at, "ESC ( G", p[0] == 1 ? "raster graphics mode" : "text mode");
            settings_.graphics = p[0] == 1;
            return;
        case 'U': {
            int64_t page = 0;
            int64_t vertical = 0;
            int64_t horizontal = 0;
            if (n == 1) {
                page = vertical = horizontal = FineUnit(p[0], 3600);
            } else {
                const int64_t base = p[3] | p[4] << 8;
                page = FineUnit(p[0], base);
                vertical = FineUnit(p[1], base);
                horizontal = FineUnit(p[2], base);
            }
            if (page == 0 || vertical == 0 || horizontal == 0) {
                Fault(sink, at, "ESC ( U with a unit this printer cannot step");
                return;
            }
            List(sink, at, "ESC ( U",
                 n == 1 ? Format("unit %u/3600 inch", p[0])
                        : Format("page %u, vertical %u, horizontal %u / %u inch", p[0], p[1], p[2],
                                 p[3] | p[4] << 8));
            settings_.pageUnit = page;
            settings_.verticalUnit = vertical;
            // The head steps across in whole dots: a finer unit moves it a
            // dot a unit. The head-angular patterns step their marks in
            // 1/2880 inch, which the page then shows a dot a step.
            settings_.horizontalUnit = std::max(horizontal, kFinePerDot);
            return;
        }
        case 'e':
            if (p[0] != 0 || (p[1] != 0 && (p[1] < 16 || p[1] > 19))) {
                Fault(sink, at, Format("ESC ( e with an unknown dot size %02X %02X", p[0], p[1]));
                return;
            }
            List(sink, at, "ESC ( e", Format("dot size %u", p[1]));
            settings_.dotSize = p[1];
            return;
        case 'K':
            if (p[0] != 0 || p[1] > 2) {
                Fault(sink, at,
                      Format("ESC ( K with an unknown colour mode %02X %02X", p[0], p[1]));
                return;
            }
            List(sink, at, "ESC ( K",
                 p[1] == 1 ? "black only" : (p[1] == 2 ? "colour" : "colour mode 0"));
            settings_.colourMode = p[1];
            return;
        case 'v': {
            const int64_t units = p[0] | p[1] << 8;
            List(sink, at, "ESC ( v", Format("down %lld units", static_cast<long long>(units)));
            if (units > 0) {
                TakeSheet(sink);
                MoveDown(units * settings_.verticalUnit);
            }
            return;
        }
        case 'D': {
            const int64_t base = p[0] | p[1] << 8;
            const int64_t linePitch = FineUnit(p[2], base);
            const int64_t dotPitch = FineUnit(p[3], base);
            if (linePitch == 0 || dotPitch == 0) {
                Fault(sink, at, "ESC ( D with a resolution this printer cannot print");
                return;
            }
            List(sink, at, "ESC ( D",
                 Format("%lld/%u lines, %lld/%u dots an inch", static_cast<long long>(base), p[2],
                        static_cast<long long>(base), p[3]));
            settings_.linePitch = linePitch;
            settings_.dotPitch = dotPitch;
            return;
        }
        case 'S': {
            const int64_t rows = SheetRows(Le32(p + 4), settings_.pageUnit);
            if (Le32(p) == 0 || rows < 0) {
                Fault(sink, at,
                      Format("ESC ( S with a paper size of %u x %u units", Le32(p), Le32(p + 4)));
                return;
            }
            List(sink, at, "ESC ( S", Format("paper %u x %u units", Le32(p), Le32(p + 4)));
            settings_.paperRows = rows;
            return;
        }
        case 'c': {
            const uint32_t top = Le32(p);
            const uint32_t bottom = Le32(p + 4);
            const int64_t topRows = Rows(top, settings_.pageUnit);
            if (topRows < 0 || topRows >= settings_.paperRows || bottom <= top) {
                Fault(sink, at, Format("ESC ( c with margins %u and %u units", top, bottom));
                return;
            }
            List(sink, at, "ESC ( c", Format("top %u, bottom %u units", top, bottom));
            settings_.topRows = topRows;
            return;
        }
        case 'C': {
            // The four-byte form with its value in the last byte only is a
            // length parameter of the page format; the sheet keeps the length
            // that the paper size gave it.
            if (n == 4 && p[0] == 0 && p[1] == 0 && p[2] == 0) {
                List(sink, at, "ESC ( C", Format("page length parameter %u", p[3]));
                return;
            }
            const uint32_t units = n == 2 ? static_cast<uint32_t>(p[0] | p[1] << 8) : Le32(p);
            const int64_t rows = SheetRows(units, settings_.pageUnit);
            if (rows < 0) {
                Fault(sink, at, Format("ESC ( C with a page length of %u units", units));
                return;
            }
            List(sink, at, "ESC ( C", Format("page length %u units", units));
            settings_.paperRows = rows;
            return;
        }
        case 'R': {
            static const uint8_t kRemote[8] = {0, 'R', 'E', 'M', 'O', 'T', 'E', '1'};
            if (!std::equal(p, p + 8, kRemote)) {
                Fault(sink, at, "ESC ( R for an unknown remote mode");
                return;
            }
            List(sink, at, "ESC ( R", "remote mode REMOTE1");
            mode_ = Mode::Remote;
            return;
        }
        default:
            return;
    }
}

}  // namespace vprinter
