#include "FaultMatrix.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include "app/Rk7formadjust.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "pattern/Rk7raster.h"
#include "vprinter/Host.h"
#include "vprinter/Packet.h"

namespace fault_matrix {

namespace {

const char* const kPort = "VTUSB001";
const uint8_t kInitialize[] = {0x1B, 0x40};
// The code pair that the boot window gives the channel.
constexpr uint8_t kCodeA = 11;
constexpr uint8_t kCodeB = 84;
// How much longer than the clean run a run may sleep before it counts as hung.
constexpr uint64_t kHangMargin = 120000;
// How many of an action's full print-data sends fail in turn at most (plus
// the first and last of every run of them).
constexpr size_t kFullSendsTried = 8;

bool IsPacket(const std::vector<uint8_t>& data) {
    return data.size() >= vprinter::kPacketHeaderBytes && data[0] == 0x1B && data[1] == 0x7C &&
           data[2] == 0x00 && data.size() == data[3] + vprinter::kPacketHeaderBytes;
}

bool Accepted(const vprinter::TraceEntry& call) {
    return call.function == "SendDataChannel" && call.result == ResultOk;
}

bool ChangesEeprom(const vprinter::TraceEntry& call) {
    return call.result == ResultOk &&
           (call.function == "D4WriteEeprom" || (Accepted(call) && IsPacket(call.data)));
}

QString FirstLine(const QString& text) {
    return text.section(QLatin1Char('\n'), 0, 0);
}

// The first lines that a code's family of the result-code table begins with.
std::vector<QString> Family(uint16_t code) {
    if (code == ResultPortIoError) {
        return {QStringLiteral("Communication error."),
                QStringLiteral("Communication error occurred.")};
    }
    return {QStringLiteral("Communication error occurred.")};
}

std::string Hex(uint16_t code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", code);
    return text;
}

}  // namespace

// A virtual printer of its own that replays the EEPROM writes and command
// packets of a run, so that the EEPROM after any prefix of it is known.
class Replay {
  public:
    Replay() : host_(folder_ / "printers") { host_.GetClock().UseManual(true); }

    // The EEPROM after each of the calls, made on a printer holding start.
    std::vector<vprinter::Eeprom> Steps(const vprinter::Eeprom& start,
                                        const std::vector<const vprinter::TraceEntry*>& calls) {
        EXPECT_TRUE(host_.GetStore().SaveEeprom(kPort, start));
        host_.Forget();
        host_.Invalidate();
        host_.PortOpen(vprinter::Store::PortNumber(kPort));
        host_.Negotiation(nullptr);
        host_.SetCommandRCode(kCodeA, kCodeB);
        std::vector<vprinter::Eeprom> steps;
        for (const vprinter::TraceEntry* call : calls) {
            if (call->function == "D4WriteEeprom") {
                host_.WriteEeprom(static_cast<uint8_t>(call->args.at(0)),
                                  static_cast<uint8_t>(call->args.at(1)), nullptr);
            } else {
                host_.SendData(call->data.data(), static_cast<uint32_t>(call->data.size()),
                               nullptr);
            }
            steps.emplace_back();
            EXPECT_TRUE(host_.GetStore().LoadEeprom(kPort, steps.back()));
        }
        return steps;
    }

  private:
    testing_support::TempFolder folder_;
    vprinter::Host host_;
};

// ---------------------------------------------------------------------------
// Runs

void FaultMatrix::SetUp() {
    const Action& action = GetParam();
    if (action.group != nullptr) {
        OpenPage(action.group, action.item);
    } else {
        OpenAdjustmentWindow();
    }
    ASSERT_TRUE(Adjust().isVisible());
    if (action.via != nullptr) {
        Press(action.via);
    }
    if (action.choice.first != nullptr) {
        ClickItem(action.choice.first, action.choice.second);
    }
    config_ = Config();
    eeprom_ = Eeprom();
    for (const auto& [address, value] : action.eeprom) {
        eeprom_[address] = value;
    }
    // A backup that differs from the board in every byte it restores.
    for (const uint8_t address : eeprom::BackupAddresses) {
        backup_.push_back(static_cast<uint8_t>(eeprom_[address] ^ 0x5A));
    }
    clean_ = Run({});
    ASSERT_FALSE(clean_.hung);
    ASSERT_FALSE(clean_.red) << "the clean run failed: " << clean_.status.toStdString();
    ASSERT_TRUE(clean_.unlocked);
    ASSERT_FALSE(clean_.calls.empty());
    // Sends refused while a page comes out belong to a clean run; faults of
    // the stream do not.
    for (const auto& call : clean_.calls) {
        ASSERT_NE(call.function, "fault") << call.note;
    }
    // The replay of its writes and packets gives the clean run's EEPROM.
    ASSERT_EQ(EepromBefore(clean_.calls.size()), clean_.eeprom);
}

void FaultMatrix::Reset() {
    Clock().onSleep = nullptr;
    Boxes().onShow = nullptr;
    Boxes().answers.clear();
    Boxes().shown.clear();
    SaveDialogs().onShow = nullptr;
    SaveDialogs().answers.clear();
    SaveDialogs().shown.clear();
    ChangeLibrary([](vprinter::LibraryConfig& config) { config.callFaults.clear(); });
    // Print data that a failed run left in the job goes out here, outside
    // the runs, so that every run starts from an empty job.
    TPRaster& raster = App().GetModules().raster;
    if (raster.FillCount() > 0) {
        ChangePrinter(kPort, [this](vprinter::PrinterConfig& config) { config = config_; });
        ASSERT_EQ(OpenLink(kPort), ResultOk);
        ASSERT_EQ(raster.Flush(), ResultOk);
    }
    // A printer that starts afresh: no page half printed, no activity.
    Printers().Forget();
    std::filesystem::remove(Printers().StreamFile(kPort));
    ChangePrinter(kPort, [this](vprinter::PrinterConfig& config) { config = config_; });
    ChangeEeprom(kPort, [this](vprinter::Eeprom& eeprom) { eeprom = eeprom_; });
    ASSERT_EQ(OpenLink(kPort), ResultOk);
    App().Random().Seed(1);  // the generator's own first seed
    Adjust().EnableItems(ItemsAll);
    Adjust().ShowStatus(StatusInfo, "");
    Adjust().setEnabled(true);
    Prepare();
    ClearTrace();
    Clock().ClearSleeps();
}

void FaultMatrix::Prepare() {
    const Action& action = GetParam();
    for (const Setting& setting : action.settings) {
        const QString value = QString::fromUtf8(setting.value);
        switch (setting.kind) {
            case Setting::Kind::Text:
                Find<QLineEdit>(Adjust(), setting.name)->setText(value);
                break;
            case Setting::Kind::Combo: {
                auto* combo = Find<QComboBox>(Adjust(), setting.name);
                ASSERT_GE(combo->findText(value), 0) << setting.value;
                combo->setCurrentIndex(combo->findText(value));
                break;
            }
            case Setting::Kind::Check:
            case Setting::Kind::Uncheck:
                Find<QCheckBox>(Adjust(), setting.name)
                    ->setChecked(setting.kind == Setting::Kind::Check);
                break;
        }
    }
    if (action.needsBackup) {
        const std::filesystem::path file = App().GetModules().eeprom.BackupFilePath();
        std::filesystem::create_directories(file.parent_path());
        testing_support::WriteFile(file.string(), std::string(backup_.begin(), backup_.end()));
    }
    if (action.savesDump) {
        SaveDialogs().answers.push_back(Data() / "matrix.eep");
    }
}

void FaultMatrix::Work() {
    const Action& action = GetParam();
    if (action.type == Control::Button) {
        Click(Adjust(), action.control);
    } else {
        auto* panel = Find<QWidget>(Adjust(), action.control);
        ASSERT_NE(panel, nullptr);
        QTest::mouseClick(panel, Qt::LeftButton);
    }
}

Outcome FaultMatrix::Run(const Injection& injection) {
    ++runs_;
    Reset();
    if (!injection.function.empty()) {
        ChangeLibrary([&](vprinter::LibraryConfig& config) {
            config.callFaults[injection.function] = {injection.occurrence, injection.code,
                                                     injection.detail};
        });
    }
    if (injection.busyPolls > 0 || injection.paperOut || injection.powerOffAtStart) {
        ChangePrinter(kPort, [&](vprinter::PrinterConfig& config) {
            config.busyPolls = injection.busyPolls;
            config.paper = injection.paperOut ? 0 : config.paper;
            config.powered = !injection.powerOffAtStart;
        });
    }
    if (injection.paperOut) {
        Boxes().onShow = [this, &injection](const orvane::MessageRequest& request) {
            if (request.text != TPRaster::kPaperOutText) {
                return;
            }
            ChangePrinter(kPort, [&](vprinter::PrinterConfig& config) {
                if (injection.reloadAtBox) {
                    // As the control tool's "paper": loaded, out of paper out.
                    config.paper = config_.paper;
                    config.state = 4;
                    config.error = 0;
                } else {
                    config.powered = false;
                }
            });
        };
    }
    Outcome outcome;
    const uint64_t limit = (clean_.calls.empty() ? 600000 : clean_.slept) + kHangMargin;
    bool slept = false;
    Clock().onSleep = [&](uint32_t) {
        if (!slept) {
            slept = true;
            outcome.callsAtFirstSleep = Printers().Trace().size();
            if (injection.powerOffAtFirstSleep) {
                ChangePrinter(kPort,
                              [](vprinter::PrinterConfig& config) { config.powered = false; });
            }
        }
        if (!outcome.hung && Clock().TotalSlept() > limit) {
            // Whatever loop this is, it ends on a printer that no longer answers.
            outcome.hung = true;
            ChangePrinter(kPort, [](vprinter::PrinterConfig& config) { config.powered = false; });
        }
    };
    Work();
    Clock().onSleep = nullptr;
    Boxes().onShow = nullptr;

    outcome.unlocked = Adjust().isEnabled() || Adjust().DisableTimer().isActive();
    Adjust().DisableTimerTimer();
    outcome.status = StatusText();
    outcome.red = StatusColour() == TFormAdjust::kStatusRed;
    outcome.calls = Calls();
    outcome.accepted = AcceptedBytes();
    outcome.eeprom = Eeprom();
    outcome.slept = Clock().TotalSlept();
    if (!slept) {
        outcome.callsAtFirstSleep = outcome.calls.size();
    }
    outcome.boxes = Boxes().shown.size();
    return outcome;
}

// ---------------------------------------------------------------------------
// Oracles

vprinter::Eeprom FaultMatrix::EepromBefore(size_t index,
                                           const std::vector<std::vector<uint8_t>>& extra) {
    if (!replay_) {
        // Once: the EEPROM after each call of the clean run that changes it.
        replay_ = std::make_shared<Replay>();
        std::vector<const vprinter::TraceEntry*> calls;
        for (size_t i = 0; i < clean_.calls.size(); ++i) {
            if (ChangesEeprom(clean_.calls[i])) {
                calls.push_back(&clean_.calls[i]);
                changing_.push_back(i);
            }
        }
        steps_ = replay_->Steps(eeprom_, calls);
    }
    const auto done = static_cast<size_t>(
        std::lower_bound(changing_.begin(), changing_.end(), index) - changing_.begin());
    const vprinter::Eeprom& before = done == 0 ? eeprom_ : steps_[done - 1];
    if (extra.empty()) {
        return before;
    }
    std::vector<vprinter::TraceEntry> packets(extra.size());
    std::vector<const vprinter::TraceEntry*> calls;
    for (size_t i = 0; i < extra.size(); ++i) {
        packets[i].function = "SendDataChannel";
        packets[i].data = extra[i];
        calls.push_back(&packets[i]);
    }
    return replay_->Steps(before, calls).back();
}

std::vector<uint8_t> FaultMatrix::AcceptedBefore(size_t index) const {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < index && i < clean_.calls.size(); ++i) {
        if (Accepted(clean_.calls[i])) {
            bytes.insert(bytes.end(), clean_.calls[i].data.begin(), clean_.calls[i].data.end());
        }
    }
    return bytes;
}

void FaultMatrix::CheckStopped(const std::string& what, const Outcome& outcome, size_t index) {
    SCOPED_TRACE(what);
    EXPECT_FALSE(outcome.hung);
    EXPECT_TRUE(outcome.unlocked);
    EXPECT_TRUE(outcome.red) << outcome.status.toStdString();
    EXPECT_EQ(FirstLine(outcome.status), QStringLiteral("Communication error occurred."))
        << outcome.status.toStdString();
    EXPECT_TRUE(outcome.accepted == AcceptedBefore(index))
        << outcome.accepted.size() << " bytes accepted, " << AcceptedBefore(index).size()
        << " expected";
    EXPECT_EQ(outcome.eeprom, EepromBefore(index));
}

void FaultMatrix::CheckAsClean(const std::string& what, const Outcome& outcome,
                               const std::vector<uint8_t>& before) {
    SCOPED_TRACE(what);
    EXPECT_FALSE(outcome.hung);
    EXPECT_EQ(outcome.status, clean_.status);
    EXPECT_EQ(outcome.red, clean_.red);
    EXPECT_TRUE(outcome.unlocked);
    std::vector<uint8_t> expected = before;
    expected.insert(expected.end(), clean_.accepted.begin(), clean_.accepted.end());
    EXPECT_TRUE(outcome.accepted == expected)
        << outcome.accepted.size() << " bytes accepted, " << expected.size() << " expected";
    EXPECT_EQ(outcome.eeprom, clean_.eeprom);
}

void FaultMatrix::CheckFailure(const std::string& what, const Outcome& outcome, size_t failedIndex,
                               uint16_t code) {
    SCOPED_TRACE(what);
    const Action& action = GetParam();
    EXPECT_FALSE(outcome.hung);
    EXPECT_TRUE(outcome.unlocked);
    EXPECT_TRUE(outcome.red) << outcome.status.toStdString();
    const std::vector<QString> family = Family(code);
    EXPECT_NE(std::find(family.begin(), family.end(), FirstLine(outcome.status)), family.end())
        << outcome.status.toStdString();

    // Up to the failure the run is the clean one; after it only the error
    // readers of the report, and where a test value was set the job's data
    // and the value's packet.
    ASSERT_GT(outcome.calls.size(), failedIndex);
    for (size_t i = 0; i < failedIndex; ++i) {
        ASSERT_EQ(outcome.calls[i].function, clean_.calls[i].function) << i;
    }
    const vprinter::TraceEntry& failed = outcome.calls[failedIndex];
    EXPECT_EQ(failed.function, clean_.calls[failedIndex].function);
    EXPECT_NE(failed.result, ResultOk) << "the failure did not reach " << failed.function;
    std::vector<uint8_t> prefix;
    for (size_t i = 0; i < failedIndex; ++i) {
        if (Accepted(outcome.calls[i])) {
            prefix.insert(prefix.end(), outcome.calls[i].data.begin(), outcome.calls[i].data.end());
        }
    }
    std::vector<std::vector<uint8_t>> restoring;
    bool swallowed = false;  // the printer read the restoring packet as a cut block's data
    for (size_t i = failedIndex + 1; i < outcome.calls.size(); ++i) {
        const vprinter::TraceEntry& call = outcome.calls[i];
        // The printer's notes on a stream cut short are no calls.
        if (call.function == "fault") {
            swallowed = swallowed || !restoring.empty();
            continue;
        }
        if (call.function == "GetD4ErrorCode" || call.function == "GetIoErrorCodeByPway") {
            continue;
        }
        if (action.setsTestValue && call.function == "SendDataChannel") {
            if (!Accepted(call)) {
                continue;
            }
            if (IsPacket(call.data)) {
                restoring.push_back(call.data);
            } else {
                EXPECT_TRUE(restoring.empty()) << "print data after the restoring packet";
                prefix.insert(prefix.end(), call.data.begin(), call.data.end());
            }
            continue;
        }
        ADD_FAILURE() << call.function << " after the failure (call " << i << ") " << call.note;
    }
    EXPECT_TRUE(prefix.size() <= clean_.accepted.size() &&
                std::equal(prefix.begin(), prefix.end(), clean_.accepted.begin()))
        << "the accepted stream is no prefix of the clean run's";
    EXPECT_LE(restoring.size(), 1u);
    for (const auto& packet : restoring) {
        vprinter::PacketCommand command;
        std::string reason;
        ASSERT_TRUE(
            vprinter::DecodePacket(packet.data(), packet.size(), kCodeA, kCodeB, command, reason))
            << reason;
        EXPECT_EQ(command.value, static_cast<int8_t>(eeprom_[command.Address()]))
            << "the restoring packet does not send the stored value";
    }
    const vprinter::Eeprom expected = swallowed && action.restoreSwallowed
                                          ? EepromBefore(failedIndex)
                                          : EepromBefore(failedIndex, restoring);
    for (size_t a = 0; a < expected.size(); ++a) {
        EXPECT_EQ(outcome.eeprom[a], expected[a]) << "EEPROM byte 0x" << std::hex << a;
    }
}

// ---------------------------------------------------------------------------
// The cases

void FaultMatrix::CheckEveryCallFailing() {
    const Action& action = GetParam();
    const uint16_t codes[] = {ResultChannelError, ResultPortNoResponse, ResultPortIoError,
                              ResultCommandError};
    // Full 1000-byte sends of print data in the middle of a long run are
    // alike: every call fails in turn, except that of those only every
    // stride-th one does (with the first and last of each run).
    auto fullSend = [this](size_t i) {
        return i < clean_.calls.size() && clean_.calls[i].function == "SendDataChannel" &&
               clean_.calls[i].data.size() == TPRaster::kSendSize;
    };
    size_t fullSends = 0;
    for (size_t i = 0; i < clean_.calls.size(); ++i) {
        fullSends += fullSend(i) ? 1 : 0;
    }
    const size_t stride = std::max<size_t>(1, fullSends / kFullSendsTried);
    std::map<std::string, int> seen;
    size_t fullSeen = 0;
    for (size_t i = 0; i < clean_.calls.size(); ++i) {
        const std::string& function = clean_.calls[i].function;
        Injection injection;
        injection.function = function;
        injection.occurrence = ++seen[function];
        if (fullSend(i)) {
            const bool edge = i == 0 || !fullSend(i - 1) || !fullSend(i + 1);
            if (fullSeen++ % stride != 0 && !edge) {
                continue;
            }
        }

        injection.code = codes[i % std::size(codes)];
        const Outcome outcome = Run(injection);
        const std::string what = function + " #" + std::to_string(injection.occurrence) +
                                 " fails with " + Hex(injection.code);
        if (std::find(action.ignored.begin(), action.ignored.end(), function) !=
            action.ignored.end()) {
            CheckAsClean(what, outcome);
        } else {
            CheckFailure(what, outcome, i, injection.code);
        }
    }
}

void FaultMatrix::CheckChosenPoints() {
    const Action& action = GetParam();
    if (action.waits) {
        // Busy for three polls: each poll's initialize goes out first.
        Injection busy;
        busy.busyPolls = 3;
        std::vector<uint8_t> initializes;
        for (int i = 0; i < busy.busyPolls; ++i) {
            initializes.insert(initializes.end(), std::begin(kInitialize), std::end(kInitialize));
        }
        CheckAsClean("busy for three polls", Run(busy), initializes);
    }
    // Data refused as busy at the first, a middle and the last send.
    std::vector<int> sends;
    for (const auto& call : clean_.calls) {
        if (call.function == "SendDataChannel") {
            sends.push_back(static_cast<int>(sends.size()) + 1);
        }
    }
    if (!sends.empty()) {
        for (const int n : {sends.front(), sends[sends.size() / 2], sends.back()}) {
            Injection busy;
            busy.function = "SendDataChannel";
            busy.occurrence = n;
            busy.code = ResultChannelError;
            busy.detail = ChannelErrorBusy;
            CheckAsClean("send " + std::to_string(n) + " refused as busy", Run(busy));
        }
    }
    if (action.prints) {
        Injection paper;
        paper.paperOut = true;
        const Outcome reloaded = Run(paper);
        CheckAsClean("paper out, reloaded at the box", reloaded);
        EXPECT_EQ(reloaded.boxes, clean_.boxes + 1) << "the paper-out box";

        paper.reloadAtBox = false;
        const Outcome off = Run(paper);
        // The run stops at the send that found the tray empty.
        size_t refused = 0;
        while (refused < off.calls.size() && !(off.calls[refused].function == "SendDataChannel" &&
                                               off.calls[refused].result != ResultOk)) {
            ++refused;
        }
        CheckStopped("paper out, switched off at the box", off, refused);
    }
    Injection off;
    off.powerOffAtStart = true;
    CheckStopped("switched off before", Run(off), 0);

    if (clean_.slept > 0) {
        Injection later;
        later.powerOffAtFirstSleep = true;
        const Outcome outcome = Run(later);
        const size_t at = clean_.callsAtFirstSleep;
        if (at == clean_.calls.size()) {
            CheckAsClean("switched off at the first pause, after the last call", outcome);
        } else {
            CheckStopped("switched off at the first pause", outcome, at);
        }
    }
}

}  // namespace fault_matrix
