// Remote mode: ESC ( R 08 00 00 "REMOTE1" opens it; then commands of two
// capital letters, a 16-bit parameter length and the parameters, until the
// exit 1B 00 00 00. The printer knows "SN" (a setting table with its check
// sum) and "NC" (its own nozzle check pattern).

#include "vprinter/Format.h"
#include "vprinter/Interpreter.h"

namespace vprinter {

namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr size_t kSettingBytes = kRemoteSettingBytes;

bool IsName(uint8_t byte) {
    return byte >= 'A' && byte <= 'Z';
}

}  // namespace

void Interpreter::RemoteByte(uint8_t byte, uint64_t at, PrintSink& sink) {
    current_ = at;
    if (pending_.empty()) {
        pendingStart_ = at;
    }
    pending_.push_back(byte);
    if (pending_.size() <= 2) {
        const bool exit = pending_[0] == kEsc;
        const bool fits =
            pending_.size() == 1 ? exit || IsName(byte) : (exit ? byte == 0x00 : IsName(byte));
        if (!fits) {
            LeaveRemote(sink, "remote mode left without its exit 1B 00 00 00");
        }
        return;
    }
    if (pending_.size() < 4) {
        return;
    }
    const size_t length = pending_[2] | static_cast<size_t>(pending_[3]) << 8;
    if (pending_[0] == kEsc) {
        List(sink, pendingStart_, "ESC 00", "exit remote mode");
        if (length != 0) {
            Fault(
                sink, pendingStart_,
                Format("remote-mode exit with %u parameter bytes", static_cast<unsigned>(length)));
        }
        SkipBytes(length, Mode::Command);
        return;
    }
    const std::string name{static_cast<char>(pending_[0]), static_cast<char>(pending_[1])};
    const bool known = name == "SN" || name == "NC";
    if (!(name == "SN" && length == 4 + kSettingBytes) && !(name == "NC" && length == 2)) {
        Fault(sink, pendingStart_,
              (known ? "remote command " + name +
                           Format(" with %u parameter bytes", static_cast<unsigned>(length))
                     : "unknown remote command " + name));
        SkipBytes(length, Mode::Remote);
        return;
    }
    if (pending_.size() < 4 + length) {
        return;
    }
    RemoteCommand(sink);
    pending_.clear();
}

void Interpreter::LeaveRemote(PrintSink& sink, const std::string& note) {
    const std::vector<uint8_t> again(pending_);
    const uint64_t start = pendingStart_;
    pending_.clear();
    Fault(sink, start, note);
    mode_ = Mode::Command;
    for (size_t k = 0; k < again.size(); ++k) {
        CommandByte(again[k], start + k, sink);
    }
}

void Interpreter::RemoteCommand(PrintSink& sink) {
    const uint8_t* p = pending_.data() + 4;
    if (pending_[0] == 'S') {
        if (p[0] != 0x00 || p[1] != 0x09) {
            Fault(sink, pendingStart_, Format("SN with the unknown head %02X %02X", p[0], p[1]));
            return;
        }
        unsigned sum = 0;
        for (size_t k = 0; k < kSettingBytes; ++k) {
            sum += p[2 + k];
        }
        sum &= 0xFFFF;
        const unsigned sent = p[2 + kSettingBytes] | p[3 + kSettingBytes] << 8;
        if (sum != sent) {
            Fault(sink, pendingStart_,
                  Format("SN check sum 0x%04X, but the table adds up to 0x%04X", sent, sum));
            return;
        }
        List(sink, pendingStart_, "SN",
             Format("setting, sum 0x%04X", sum) +
                 (IsHeadAngularCheck(p + 2)
                      ? ": the head angular check, no tilt correction until the sheet's eject"
                      : ""));
        sink.RemoteSetting(pendingStart_, p + 2);
        return;
    }
    if (p[0] != 0 || p[1] != 0) {
        Fault(sink, pendingStart_, Format("NC with the parameters %02X %02X", p[0], p[1]));
        return;
    }
    List(sink, pendingStart_, "NC", "nozzle check");
    NozzleCheck(sink);
}

// The printer's own nozzle check, one text line below the current line: each
// nozzle prints a dash of 32 dots, the dashes of neighbouring nozzles stepped
// 40 dots apart in six steps, so that a missing dash shows its nozzle. Black
// at the left, then cyan, magenta and yellow, each at the height of its
// nozzles in the colour row.
void Interpreter::NozzleCheck(PrintSink& sink) {
    TakeSheet(sink);
    const int64_t top = y_ + kLineRows * kFinePerDot;
    struct Group {
        Ink ink;
        int nozzles;
        int64_t left;
    };
    static constexpr Group kGroups[] = {{Ink::Black, kBlackNozzles, 180},
                                        {Ink::Cyan, kColourNozzles, 900},
                                        {Ink::Magenta, kColourNozzles, 1260},
                                        {Ink::Yellow, kColourNozzles, 1620}};
    for (const Group& group : kGroups) {
        const int firstPlace = ColourPlace(group.ink);
        for (int nozzle = 0; nozzle < group.nozzles; ++nozzle) {
            const int64_t row = top + (firstPlace + nozzle) * kNozzlePitch;
            const int64_t left = group.left + (nozzle % 6) * 40;
            static constexpr uint8_t kLarge = 3;
            MarkRun(group.ink, row, left * kFinePerDot + Tilt(firstPlace + nozzle), &kLarge,
                    1, kNozzleDashDots, sink);
        }
    }
    MoveDown(kLineRows * kFinePerDot + kBlackNozzles * kNozzlePitch);
    x_ = 0;
}

}  // namespace vprinter
