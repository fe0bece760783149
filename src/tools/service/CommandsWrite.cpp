// The commands that write: identity set, adjust set, waste reset, clean,
// ink-charge. Each runs the operations of the pages it stands for, with the
// same waits, calls and order.
#include "adjust/StoredValues.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "tools/service/Commands.h"
#include "tools/service/Written.h"

namespace orvane::service {

namespace {

Outcome Refused(const std::string& name, const std::string& text) {
    return {kExitRefused, name + ": " + text, std::nullopt};
}

// The top margin choice a typed text names, or nullptr.
const adjust::TopMarginChoice* TopMarginChoiceNamed(const std::string& text) {
    for (const adjust::TopMarginChoice& choice : adjust::kTopMarginChoices) {
        if (text == choice.name) {
            return &choice;
        }
    }
    return nullptr;
}

const Assignment* AssignmentOf(const std::vector<Assignment>& assignments, ValueGroup group) {
    for (const Assignment& assignment : assignments) {
        if (assignment.value->group == group) {
            return &assignment;
        }
    }
    return nullptr;
}

// The writes of a value: EEPROM bytes, or a value packet and its store.
constexpr size_t kHeadIdWrites = eeprom::HeadIdPairs.size() + 1;
constexpr size_t kPacketAndStore = 2;

ValueWrites Packets(const std::string& name, size_t of) {
    return {name, name + " writes", of};
}

// One operation of a page for one value: its start, the writes, its end.
// The value is written whole once its writes are done, before the end's
// wait, as whole() gives it.
template <typename Writes, typename Whole>
uint16_t Operation(Session& session, Written& written, const ServiceStep& step, ValueWrites value,
                   Writes writes, Whole whole, const std::string& append = "") {
    written.Begin(std::move(value));
    uint16_t result = session.Start(step);
    if (result == ResultOk) {
        result = writes();
    }
    if (result == ResultOk) {
        written.Whole(whole());
        result = session.End(step, append);
    }
    return result;
}

}  // namespace

Outcome CheckIdentity(Session& session, const IdentityChanges& changes) {
    if (changes.headId) {
        if (const uint16_t result = session.headId.CheckHeadId(*changes.headId);
            result != ResultOk) {
            return session.Refused(result, "head ID");
        }
    }
    if (changes.usbId) {
        if (const uint16_t result = session.usbId.CheckUsbId(*changes.usbId); result != ResultOk) {
            return session.Refused(result, "USB ID");
        }
    }
    return Outcome::Done();
}

Outcome IdentitySet(Session& session, const IdentityChanges& changes, Json& out) {
    // The model first: a printer whose model cannot be told gets nothing.
    uint8_t modelCode = 0;
    if (changes.market) {
        if (Outcome outcome = session.Model(modelCode); outcome.exit != kExitDone) {
            return outcome;
        }
    }
    Written written(session, out, true);
    if (changes.headId) {
        const uint16_t result = Operation(
            session, written, steps::HeadIdWrite, {"head_id", "Head ID bytes", kHeadIdWrites},
            [&] { return session.headId.WriteHeadId(*changes.headId); },
            [&] { return Json(*changes.headId); });
        if (result != ResultOk) {
            return written.End(session.Failed(result));
        }
    }
    if (changes.usbId) {
        std::string dateCode;
        const uint16_t result = Operation(
            session, written, steps::UsbIdWrite, {"usb_id", "USB ID bytes", eeprom::UsbIdLength},
            [&] { return session.usbId.WriteUsbId(*changes.usbId, dateCode); },
            [&] { return Json(*changes.usbId + dateCode); });
        if (result != ResultOk) {
            return written.End(session.Failed(result));
        }
    }
    // The market setting last: the printer restarts after it.
    if (changes.market) {
        written.Begin({"market", "market setting bytes", TPEeprom::kMarketWrites});
        uint16_t result = session.Start(steps::MarketWrite);
        if (result == ResultOk) {
            result = session.eeprom.WriteMarketSetting(modelCode);
        }
        if (result != ResultOk) {
            return written.End(session.Failed(result));
        }
        written.Whole(
            {{"model", modelCode == TPEeprom::ModelCodeK31 ? "K31" : "K32"}, {"reset", false}});
        session.End(steps::MarketWrite);
        // The window asks for an OK before the restart; here nobody is asked.
        session.Console().ShowStatus(StatusInfo, "The printer restarts now.");
        result = session.link.D4Reset();
        if (result != ResultOk) {
            return written.End(session.Failed(result));
        }
        out["written"]["market"]["reset"] = true;
        session.Console().ShowStatus(StatusAddLine, adjust::kMarketAfterResetText);
        session.Console().Flush();
    }
    return written.End(Outcome::Done());
}

Outcome CheckAssignments(Session& session, const std::vector<Assignment>& assignments) {
    for (const Assignment& assignment : assignments) {
        const std::string name = assignment.value->name;
        switch (assignment.value->group) {
            case ValueGroup::Bid: {
                const TPBid::Item& item =
                    TPBid::kItems[static_cast<size_t>(assignment.value->bidItem)];
                int value = 0;
                if (const uint16_t result = session.bid.CheckBidValue(
                        item.colourSelector, item.mode, assignment.text, value);
                    result != ResultOk) {
                    return session.Refused(result, name);
                }
                break;
            }
            case ValueGroup::HeadAngular: {
                int value = 0;
                if (const uint16_t result =
                        session.headAngular.CheckHeadAngularValue(assignment.text, value);
                    result != ResultOk) {
                    return session.Refused(result, name);
                }
                break;
            }
            case ValueGroup::PfBlack:
            case ValueGroup::PfColour:
                if (!adjust::CheckPfValue(assignment.text)) {
                    return Refused(name, std::string(adjust::kPfRefusedText) + " (-4 to 4)");
                }
                break;
            case ValueGroup::TopMargin:
                if (TopMarginChoiceNamed(assignment.text) == nullptr) {
                    return Refused(name, "Please select the adjustemnt value. (-, 0 or +)");
                }
                break;
            case ValueGroup::FirstDot:
                if (!adjust::CheckFirstDotValue(assignment.text)) {
                    return Refused(name, adjust::kFirstDotRefusedText);
                }
                break;
            case ValueGroup::HeatProtect:
                break;
        }
    }
    return Outcome::Done();
}

Outcome AdjustSet(Session& session, const std::vector<Assignment>& assignments, Json& out) {
    Written written(session, out, true);
    // The Bi-D page writes its chosen values in item order in one operation;
    // each value is written whole with its packet.
    std::vector<const Assignment*> bid(TPBid::kItemCount, nullptr);
    bool anyBid = false;
    for (const Assignment& assignment : assignments) {
        if (assignment.value->group == ValueGroup::Bid) {
            bid[static_cast<size_t>(assignment.value->bidItem)] = &assignment;
            anyBid = true;
        }
    }
    if (anyBid) {
        uint16_t result = session.Start(steps::BidWrite);
        for (size_t i = 0; i < bid.size() && result == ResultOk; ++i) {
            if (bid[i] == nullptr) {
                continue;
            }
            const TPBid::Item& item = TPBid::kItems[i];
            written.Begin(Packets(bid[i]->value->name, 1));
            result = session.bid.WriteBidValue(item.colourSelector, item.mode, bid[i]->text);
            if (result == ResultOk) {
                written.Whole(std::stoi(bid[i]->text));
            }
        }
        if (result == ResultOk) {
            result = session.End(steps::BidWrite);
        }
        if (result != ResultOk) {
            return written.End(session.Failed(result));
        }
    }
    if (const Assignment* assignment = AssignmentOf(assignments, ValueGroup::HeadAngular)) {
        const uint16_t result = Operation(
            session, written, steps::HeadAngularWrite, Packets("head-angular", kPacketAndStore),
            [&] { return session.headAngular.WriteHeadAngularValue(assignment->text); },
            [&] { return Json(std::stoi(assignment->text)); });
        if (result != ResultOk) {
            return written.End(session.Failed(result));
        }
    }
    for (const auto& [group, colour] :
         {std::pair{ValueGroup::PfBlack, adjust::PfColour::Black},
          std::pair{ValueGroup::PfColour, adjust::PfColour::Colour}}) {
        const Assignment* assignment = AssignmentOf(assignments, group);
        if (assignment == nullptr) {
            continue;
        }
        const int value = *adjust::CheckPfValue(assignment->text);
        const uint16_t result = Operation(
            session, written, steps::PfWrite, Packets(assignment->value->name, kPacketAndStore),
            [&, colour = colour] { return adjust::WritePfValue(session.factory, colour, value); },
            [&] { return Json(value); });
        if (result != ResultOk) {
            return written.End(session.Failed(result));
        }
    }
    if (const Assignment* assignment = AssignmentOf(assignments, ValueGroup::TopMargin)) {
        const adjust::TopMarginChoice& choice = *TopMarginChoiceNamed(assignment->text);
        const uint16_t result = Operation(
            session, written, steps::TopMarginWrite, Packets("top-margin", kPacketAndStore),
            [&] { return adjust::WriteTopMargin(session.factory, choice); },
            [&] { return Json(choice.name); },
            std::string(choice.quoted) + " has been written in EEPROM.");
        if (result != ResultOk) {
            return written.End(session.Failed(result));
        }
    }
    if (const Assignment* assignment = AssignmentOf(assignments, ValueGroup::FirstDot)) {
        const int value = *adjust::CheckFirstDotValue(assignment->text);
        const uint16_t result = Operation(
            session, written, steps::FirstDotWrite, Packets("first-dot", kPacketAndStore),
            [&] { return adjust::WriteFirstDot(session.factory, value); },
            [&] { return Json(value); });
        if (result != ResultOk) {
            return written.End(session.Failed(result));
        }
    }
    if (AssignmentOf(assignments, ValueGroup::HeatProtect) != nullptr) {
        const uint16_t result = Operation(
            session, written, steps::HeatProtectWrite, Packets("cr-heat-protect", 1),
            [&] { return session.heatProtect.WriteHeatProtectOffset(); },
            [&] { return Json(TPHeatProtect::kOffset); });
        if (result != ResultOk) {
            return written.End(session.Failed(result));
        }
    }
    return written.End(Outcome::Done());
}

Outcome WasteReset(Session& session, Json& out) {
    Written written(session, out, false);
    const uint16_t result = Operation(
        session, written, steps::WasteReset,
        {"waste_counter", "waste ink counter bytes", TPMaintenance::kResetWrites},
        [&] { return session.maintenance.ResetWasteInkCounter(); }, [] { return Json(0); });
    if (result != ResultOk) {
        return written.End(session.Failed(result));
    }
    out["present"] = 0;
    return written.End(Outcome::Done());
}

namespace {

// A maintenance sequence: the printer starts it at one packet, and the
// command waits until it is over. One the printer has started is written.
Outcome Sequence(Session& session, const ServiceStep& step, uint8_t sequence, const char* name,
                 Json& out) {
    Written written(session, out, false);
    const uint16_t result = Operation(
        session, written, step, {"sequence", std::string(name) + " start", 1},
        [&] { return session.factory.StartMaintenanceSequence(sequence); },
        [&] { return Json(name); });
    out["sequence"] = name;
    return written.End(result == ResultOk ? Outcome::Done() : session.Failed(result));
}

}  // namespace

Outcome Clean(Session& session, Json& out) {
    return Sequence(session, steps::Cleaning, TPFactory::SequenceCleaning, "cleaning", out);
}

Outcome InkCharge(Session& session, Json& out) {
    return Sequence(session, steps::InkCharge, TPFactory::SequenceInkCharge, "ink-charge", out);
}

}  // namespace orvane::service
