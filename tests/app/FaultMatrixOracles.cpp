// The oracles of the fault matrix: what a run must have left behind.
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
#include <optional>

#include "app/Rk7formadjust.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "pattern/Rk7raster.h"
#include "vprinter/Host.h"
#include "vprinter/Packet.h"

namespace fault_matrix {

using namespace detail;

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
    for (size_t i = failedIndex + 1; i < outcome.calls.size(); ++i) {
        const vprinter::TraceEntry& call = outcome.calls[i];
        // The printer's notes on a stream cut short are no calls.
        if (call.function == "fault") {
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
    // A test value in force when the call failed is taken back: the restoring
    // packet must have come.
    if (action.setsTestValue) {
        std::optional<vprinter::PacketCommand> last;
        for (size_t i = 0; i <= failedIndex && i < clean_.calls.size(); ++i) {
            const vprinter::TraceEntry& call = clean_.calls[i];
            vprinter::PacketCommand command;
            std::string reason;
            if (call.function == "SendDataChannel" && IsPacket(call.data) &&
                vprinter::DecodePacket(call.data.data(), call.data.size(), kCodeA, kCodeB, command,
                                       reason) &&
                (command.kind == vprinter::PacketCommand::Kind::Bid ||
                 command.kind == vprinter::PacketCommand::Kind::PaperFeed)) {
                last = command;
            }
        }
        if (last && last->value != static_cast<int8_t>(eeprom_[last->Address()])) {
            EXPECT_EQ(restoring.size(), 1u) << "the test value in force was not taken back";
        }
    }
    const vprinter::Eeprom expected = EepromBefore(failedIndex, restoring);
    for (size_t a = 0; a < expected.size(); ++a) {
        EXPECT_EQ(outcome.eeprom[a], expected[a]) << "EEPROM byte 0x" << std::hex << a;
    }
}

}  // namespace fault_matrix
