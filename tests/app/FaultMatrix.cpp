#include "FaultMatrix.h"

#include "FaultMatrixCalls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "app/Rk7formadjust.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "pattern/Rk7raster.h"
#include "support/Sample.h"
#include "vprinter/Host.h"
#include "vprinter/Packet.h"

namespace fault_matrix {

using namespace detail;

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
    std::vector<size_t> failing;   // the calls that fail in turn
    std::vector<int> occurrences;  // each call's, of its function
    std::map<std::string, int> seen;
    size_t fullSeen = 0;
    for (size_t i = 0; i < clean_.calls.size(); ++i) {
        occurrences.push_back(++seen[clean_.calls[i].function]);
        if (fullSend(i)) {
            const bool edge = i == 0 || !fullSend(i - 1) || !fullSend(i + 1);
            if (fullSeen++ % stride != 0 && !edge) {
                continue;
            }
        }
        failing.push_back(i);
    }
    // All of them in the long set, a sample in the default set.
    for (const uint32_t at :
         testing_support::Cases(static_cast<uint32_t>(failing.size()), kCallsSampled)) {
        const size_t i = failing[at];
        const std::string& function = clean_.calls[i].function;
        Injection injection;
        injection.function = function;
        injection.occurrence = occurrences[i];
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
