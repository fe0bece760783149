// The stream interpreter: dispatch, text and its control bytes, sheets and
// the bookkeeping of faults and listings. The ESC commands are in
// Commands.cpp, raster blocks in Raster.cpp, remote mode in Remote.cpp.
#include "vprinter/Interpreter.h"

#include <algorithm>

#include "vprinter/Format.h"

namespace vprinter {

namespace {

constexpr uint8_t kEsc = 0x1B;

}  // namespace

void Interpreter::Reset() {
    offset_ = 0;
    mode_ = Mode::Command;
    skip_ = 0;
    pending_.clear();
    settings_ = Settings{};
    x_ = 0;
    y_ = 0;
    sheet_ = false;
    sheetRows_ = 0;
    sheetTop_ = 0;
    pastEndTold_ = false;
    pfCarry_ = 0;
    block_ = Block{};
    text_.clear();
    strayReason_ = nullptr;
    strayCount_ = 0;
}

bool Interpreter::AtRest() const {
    return mode_ == Mode::Command && pending_.empty() && !sheet_;
}

void Interpreter::Feed(const uint8_t* data, size_t length, PrintSink& sink) {
    size_t i = 0;
    while (i < length) {
        switch (mode_) {
            case Mode::Skip: {
                const auto n = static_cast<size_t>(std::min<uint64_t>(skip_, length - i));
                i += n;
                offset_ += n;
                skip_ -= n;
                if (skip_ == 0) {
                    mode_ = afterSkip_;
                }
                break;
            }
            case Mode::Raster: {
                const size_t n = RasterBytes(data + i, length - i, sink);
                i += n;
                offset_ += n;
                break;
            }
            case Mode::Command:
                CommandByte(data[i++], offset_++, sink);
                break;
            case Mode::Remote:
                RemoteByte(data[i++], offset_++, sink);
                break;
        }
    }
    FlushRuns(sink);
}

void Interpreter::Finish(PrintSink& sink) {
    FlushRuns(sink);
    switch (mode_) {
        case Mode::Raster:
            Fault(
                sink, block_.dataStart,
                Format("the stream ends inside a raster block: %lld of %lld bytes",
                       static_cast<long long>(block_.done), static_cast<long long>(block_.total)));
            break;
        case Mode::Skip:
            Fault(sink, offset_,
                  Format("the stream ends %lld bytes before the end of a command",
                         static_cast<long long>(skip_)));
            break;
        case Mode::Remote:
            if (pending_.empty()) {
                Fault(sink, offset_, "the stream ends in remote mode");
            }
            break;
        case Mode::Command:
            break;
    }
    if (!pending_.empty()) {
        Fault(sink, pendingStart_,
              Format("the stream ends %zu byte%s into a command", pending_.size(),
                     pending_.size() == 1 ? "" : "s"));
    }
    pending_.clear();
    mode_ = Mode::Command;
}

// ---------------------------------------------------------------------------
// Bookkeeping

void Interpreter::Fault(PrintSink& sink, uint64_t at, const std::string& note) {
    FlushRuns(sink);
    sink.Fault(at, note);
}

void Interpreter::List(PrintSink& sink, uint64_t at, const std::string& command,
                       const std::string& parameters) {
    if (sink.WantsListing()) {
        FlushRuns(sink);
        sink.Listing(at, command, parameters);
    }
}

void Interpreter::Stray(PrintSink& sink, uint64_t at, uint8_t byte, const char* reason) {
    if (strayCount_ > 0 && (strayReason_ != reason || strayStart_ + strayCount_ != at)) {
        FlushRuns(sink);
    }
    if (!text_.empty()) {
        FlushRuns(sink);
    }
    if (strayCount_ == 0) {
        strayReason_ = reason;
        strayStart_ = at;
        strayFirst_ = byte;
    }
    ++strayCount_;
}

void Interpreter::FlushRuns(PrintSink& sink) {
    if (!text_.empty()) {
        const std::string text = "\"" + text_ + "\"";
        text_.clear();
        sink.Listing(textStart_, "text", text);
    }
    if (strayCount_ > 0) {
        const uint64_t count = strayCount_;
        strayCount_ = 0;
        sink.Fault(strayStart_, std::to_string(count) + (count == 1 ? " byte " : " bytes ") +
                                    strayReason_ + Format(" (the first 0x%02X)", strayFirst_));
    }
}

void Interpreter::SkipBytes(uint64_t count, Mode after) {
    pending_.clear();
    if (count > 0) {
        mode_ = Mode::Skip;
        skip_ = count;
        afterSkip_ = after;
    } else {
        mode_ = after;
    }
}

void Interpreter::MoveDown(int64_t fine) {
    if (settings_.graphics) {
        // The feed of one band of the nozzles that print is off by the PF
        // misregistration; other feeds in proportion. The paper moves in
        // whole rows, so that the passes of a band still fill it, and what
        // is left over carries to the next feed. Paper never feeds backwards.
        const bool black = settings_.colourMode == 1;
        const int64_t steps = black ? misregistration_.pfBlack : misregistration_.pfColour;
        const int64_t band = (black ? kBlackNozzles : kColourNozzles) * kNozzlePitch;
        pfCarry_ += fine * steps * kPfRowsPerStep * (kPfCarryUnit / band);
        const int64_t rows = pfCarry_ / kPfCarryUnit;
        pfCarry_ -= rows * kPfCarryUnit;
        fine = std::max<int64_t>(fine + rows * kFinePerDot, 0);
    }
    y_ = std::min(y_ + fine, kFarAway);
}

int64_t Interpreter::Tilt(int place) const {
    // The nozzle rows span 90 places: the last place lands a whole step per
    // unit of tilt across against the first.
    return int64_t{misregistration_.headAngular} * kHeadAngularDotsPerStep * kFinePerDot * place /
           kBlackNozzles;
}

void Interpreter::TakeSheet(PrintSink& sink) {
    if (sheet_) {
        return;
    }
    sheet_ = true;
    pfCarry_ = 0;
    sheetRows_ = settings_.paperRows;
    sheetTop_ = settings_.topRows;
    pastEndTold_ = false;
    List(sink, current_, "sheet",
         Format("taken from the tray, %lld rows", static_cast<long long>(sheetRows_)));
    sink.StartSheet(sheetRows_);
}

void Interpreter::PastEnd(PrintSink& sink) {
    if (!pastEndTold_) {  // once a sheet
        pastEndTold_ = true;
        Fault(sink, current_, "printing below the end of the sheet is lost");
    }
}

int64_t Interpreter::SheetRow(int64_t fineRow) const {
    return sheetTop_ + int64_t{misregistration_.topMargin} * kTopMarginRowsPerStep + DotOf(fineRow);
}

int64_t Interpreter::SheetColumn(int64_t fineColumn) const {
    return DotOf(fineColumn) + int64_t{misregistration_.firstDot} * kFirstDotDotsPerStep;
}

void Interpreter::Mark(Ink ink, int64_t fineRow, int64_t fineColumn, int level, PrintSink& sink) {
    const auto dot = static_cast<uint8_t>(std::clamp(level, 0, 3));
    MarkRun(ink, fineRow, fineColumn, &dot, 1, 1, sink);
}

void Interpreter::MarkRun(Ink ink, int64_t fineRow, int64_t fineColumn, const uint8_t* pattern,
                          int patternDots, uint64_t repeats, PrintSink& sink) {
    const int64_t row = SheetRow(fineRow);
    const int64_t column = SheetColumn(fineColumn);
    if (row >= sheetRows_) {
        PastEnd(sink);
        return;
    }
    if (column < kPageColumns) {
        sink.DotRun(ink, row, column, pattern, patternDots, repeats);
    }
}

// ---------------------------------------------------------------------------
// Command mode

void Interpreter::CommandByte(uint8_t byte, uint64_t at, PrintSink& sink) {
    current_ = at;
    if (!pending_.empty()) {
        pending_.push_back(byte);
        Escape(sink);
        return;
    }
    if (byte >= 0x20 && byte <= 0x7E) {
        if (settings_.graphics) {
            Stray(sink, at, byte, "of text in raster graphics mode");
            return;
        }
        if (strayCount_ > 0) {
            FlushRuns(sink);
        }
        TakeSheet(sink);
        const int64_t row = SheetRow(y_);
        const int64_t column = SheetColumn(x_);
        if (row >= sheetRows_) {
            PastEnd(sink);
        } else if (column < kPageColumns) {
            sink.Character(row, column, static_cast<char>(byte));
        }
        if (sink.WantsListing()) {
            if (text_.empty()) {
                textStart_ = at;
            }
            text_ += static_cast<char>(byte);
        }
        x_ = std::min(x_ + kCharacterDots * kFinePerDot, kFarAway);
        return;
    }
    if (byte == kEsc) {
        FlushRuns(sink);
        pending_.push_back(byte);
        pendingStart_ = at;
        return;
    }
    Single(byte, at, sink);
}

void Interpreter::Single(uint8_t byte, uint64_t at, PrintSink& sink) {
    switch (byte) {
        case 0x00:
            List(sink, at, "NUL");
            return;
        case 0x0D:
            List(sink, at, "CR");
            x_ = 0;
            return;
        case 0x0A:
            List(sink, at, "LF");
            TakeSheet(sink);
            MoveDown(kLineRows * kFinePerDot);
            x_ = 0;
            return;
        case 0x0C:
            List(sink, at, "FF", sheet_ ? "eject" : "no sheet in the printer");
            if (sheet_) {
                sheet_ = false;
                sink.EjectSheet();
            }
            x_ = 0;
            y_ = 0;
            return;
        default:
            Stray(sink, at, byte, "the printer has no use for");
            return;
    }
}

void Interpreter::Escape(PrintSink& sink) {
    const uint8_t command = pending_[1];
    size_t need = 0;
    switch (command) {
        case '@':
        case '<':
            need = 2;
            break;
        case 'U':
        case 'x':
            need = 3;
            break;
        case '\\':
            need = 4;
            break;
        case 'i':
            need = 9;
            break;
        case '|':
            if (pending_.size() < 4) {
                return;
            }
            need = pending_[3] + kPacketHeaderBytes;
            break;
        case '(': {
            if (pending_.size() < 5) {
                return;
            }
            const size_t length = pending_[3] | static_cast<size_t>(pending_[4]) << 8;
            if (!ParenShape(pending_[2], length)) {
                const uint8_t letter = pending_[2];
                Fault(sink, pendingStart_,
                      (letter >= 0x20 && letter < 0x7F
                           ? "ESC ( " + std::string(1, static_cast<char>(letter))
                           : Format("ESC ( 0x%02X", letter)) +
                          Format(" with %zu parameter bytes is not a command of this printer",
                                 length));
                SkipBytes(length, Mode::Command);
                return;
            }
            need = 5 + length;
            break;
        }
        default: {
            Fault(sink, pendingStart_, Format("unknown command ESC 0x%02X", command));
            // An ESC that follows an ESC may begin the next command.
            const bool again = command == kEsc;
            pending_.clear();
            if (again) {
                pending_.push_back(kEsc);
                pendingStart_ += 1;
            }
            return;
        }
    }
    if (pending_.size() < need) {
        return;
    }
    current_ = pendingStart_;
    if (command == '|') {
        CommandPacket(sink);
    } else if (command == '(') {
        const std::vector<uint8_t> command5(pending_);
        pending_.clear();
        Paren(command5[2], command5.data() + 5, command5.size() - 5, sink);
        return;
    } else if (command == 'i') {
        const std::vector<uint8_t> header(pending_);
        pending_.clear();
        StartBlock(header.data() + 2, sink);
        return;
    } else {
        Short(command, pending_.data() + 2, sink);
    }
    pending_.clear();
}

}  // namespace vprinter
