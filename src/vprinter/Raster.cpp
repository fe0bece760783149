// Raster blocks: ESC i r c b nL nH mL mH and the data that follows it,
// decoded as it arrives and placed on the sheet line by line.
#include <algorithm>

#include "vprinter/Format.h"
#include "vprinter/Interpreter.h"

namespace vprinter {

namespace {

const char* InkName(uint8_t colour) {
    switch (colour) {
        case 0:
            return "black";
        case 1:
            return "magenta";
        case 2:
            return "cyan";
        case 4:
            return "yellow";
        case 6:
            return "black (6)";
        default:
            return "unknown colour";
    }
}

}  // namespace

void Interpreter::StartBlock(const uint8_t* h, PrintSink& sink) {
    const uint64_t at = pendingStart_;
    const uint8_t colour = h[0];
    const uint8_t compression = h[1];
    const uint8_t bits = h[2];
    const uint64_t bytesPerLine = h[3] | static_cast<uint64_t>(h[4]) << 8;
    const uint64_t lines = h[5] | static_cast<uint64_t>(h[6]) << 8;
    List(sink, at, "ESC i",
         std::string(InkName(colour)) +
             Format(", compression %u, %u bits a dot, %llu bytes x %llu lines", compression, bits,
                    static_cast<unsigned long long>(bytesPerLine),
                    static_cast<unsigned long long>(lines)));
    if (compression > 1 || bytesPerLine == 0 || lines == 0) {
        // Without a known size and coding the data cannot be told from the
        // commands after it: what follows is read as commands.
        Fault(sink, at,
              Format("raster block with compression %u, %llu bytes a line and %llu lines "
                     "cannot be read",
                     compression, static_cast<unsigned long long>(bytesPerLine),
                     static_cast<unsigned long long>(lines)));
        return;
    }
    Block block;
    block.compression = compression;
    block.bits = bits == 1 ? 1 : 2;
    block.bytesPerLine = bytesPerLine;
    block.total = bytesPerLine * lines;
    block.dataStart = at + 9;
    block.draw = true;
    switch (colour) {
        case 0:
        case 6:
            block.ink = Ink::Black;
            break;
        case 2:
            block.ink = Ink::Cyan;
            break;
        case 1:
            block.ink = Ink::Magenta;
            break;
        case 4:
            block.ink = Ink::Yellow;
            break;
        default:
            Fault(sink, at,
                  Format("raster block for colour %u, which this printer has not", colour));
            block.draw = false;
            break;
    }
    if (bits != 1 && bits != 2) {
        Fault(sink, at, Format("raster block with %u bits a dot is not printed", bits));
        block.draw = false;
    }
    if (block.draw && !settings_.graphics) {
        Fault(sink, at, "raster block outside raster graphics mode is not printed");
        block.draw = false;
    }
    if (block.draw && settings_.colourMode == 1 && block.ink != Ink::Black) {
        Fault(sink, at, "colour raster block in black-only mode is not printed");
        block.draw = false;
    }
    const uint64_t nozzles = block.ink == Ink::Black ? kBlackNozzles : kColourNozzles;
    if (block.draw && lines > nozzles) {
        Fault(sink, at,
              Format("raster block of %llu lines for %llu nozzles: the lines beyond "
                     "are not printed",
                     static_cast<unsigned long long>(lines),
                     static_cast<unsigned long long>(nozzles)));
    }
    block.drawLines = block.draw ? std::min(lines, nozzles) : 0;
    if (block.draw) {
        TakeSheet(sink);
    }
    block.firstPlace = ColourPlace(block.ink);
    block.top = y_ + block.firstPlace * kNozzlePitch;
    if (settings_.back && settings_.dotSize >= 16 && settings_.dotSize <= 19) {
        // 16 VSD1, 17 VSD2, 18 VSD3 are modes 1-3, 19 ECO mode 0.
        const size_t mode = settings_.dotSize == 19 ? 0 : settings_.dotSize - 15u;
        const int steps = misregistration_.bid[mode][block.ink == Ink::Black ? 0 : 1];
        block.across = int64_t{steps} * kBidDotsPerStep * kFinePerDot;
    }
    block.left = x_;
    block.dotPitch = settings_.dotPitch;
    block.linePitch = settings_.linePitch;
    // The head ends at the right end of what it printed.
    const auto dots = static_cast<int64_t>(bytesPerLine * static_cast<uint64_t>(8 / block.bits));
    x_ = std::min(x_ + dots * block.dotPitch, kFarAway);
    block_ = block;
    mode_ = Mode::Raster;
}

size_t Interpreter::RasterBytes(const uint8_t* data, size_t length, PrintSink& sink) {
    Block& block = block_;
    if (block.compression == 0) {
        const auto n = static_cast<size_t>(std::min<uint64_t>(length, block.total - block.done));
        for (size_t k = 0; k < n; ++k) {
            current_ = offset_ + k;
            ++block.units;
            Copies(1, data[k], sink);
        }
        if (block.done == block.total) {
            EndBlock(sink);
        }
        return n;
    }
    size_t i = 0;
    while (i < length && mode_ == Mode::Raster) {
        const uint8_t byte = data[i];
        current_ = offset_ + i;
        if (block.header) {
            if (byte == 0x00) {
                block.repeat = 1;
            } else if (byte >= 0x80) {
                block.repeat = 257 - byte;
            } else {
                Fault(sink, current_,
                      Format("raster block ends short: %llu of %llu bytes; 0x%02X begins no unit",
                             static_cast<unsigned long long>(block.done),
                             static_cast<unsigned long long>(block.total), byte));
                EndBlock(sink);
                return i;
            }
            block.header = false;
            ++i;
            continue;
        }
        ++i;
        block.header = true;
        ++block.units;
        uint64_t count = static_cast<uint64_t>(block.repeat);
        if (count > block.total - block.done) {
            Fault(sink, current_ - 1,
                  Format("raster block decodes long: a unit of %llu bytes where %llu were left",
                         static_cast<unsigned long long>(count),
                         static_cast<unsigned long long>(block.total - block.done)));
            count = block.total - block.done;
        }
        Copies(count, byte, sink);
        if (block.done == block.total) {
            EndBlock(sink);
        }
    }
    return i;
}

void Interpreter::Copies(uint64_t count, uint8_t value, PrintSink& sink) {
    Block& block = block_;
    if (value != 0 && block.draw) {
        const int dots = 8 / block.bits;
        uint8_t levels[8];
        for (int d = 0; d < dots; ++d) {
            levels[d] = static_cast<uint8_t>(block.bits == 2 ? (value >> (6 - 2 * d)) & 3
                                                             : ((value >> (7 - d)) & 1) * 3);
        }
        // Line by line: the copies that fall on one line of the block.
        const uint64_t end = block.done + count;
        for (uint64_t p = block.done; p < end;) {
            const uint64_t line = p / block.bytesPerLine;
            if (line >= block.drawLines) {
                break;
            }
            const uint64_t lineEnd = std::min(end, (line + 1) * block.bytesPerLine);
            const auto first = static_cast<int64_t>((p % block.bytesPerLine) * dots);
            const int64_t row = block.top + static_cast<int64_t>(line) * block.linePitch;
            const int64_t left =
                block.left + block.across + Tilt(block.firstPlace + static_cast<int>(line));
            if (block.dotPitch == kFinePerDot) {
                // Dots one dot apart land on neighbouring columns.
                MarkRun(block.ink, row, left + first * kFinePerDot, levels, dots, lineEnd - p,
                        sink);
            } else {
                for (int64_t dot = 0; dot < static_cast<int64_t>(lineEnd - p) * dots; ++dot) {
                    if (levels[dot % dots] != 0) {
                        Mark(block.ink, row, left + (first + dot) * block.dotPitch,
                             levels[dot % dots], sink);
                    }
                }
            }
            p = lineEnd;
        }
    }
    block.done += count;
}

void Interpreter::EndBlock(PrintSink& sink) {
    mode_ = Mode::Command;
    List(sink, block_.dataStart, "data",
         Format("%llu unit%s, %llu bytes", static_cast<unsigned long long>(block_.units),
                block_.units == 1 ? "" : "s", static_cast<unsigned long long>(block_.done)));
}

}  // namespace vprinter
