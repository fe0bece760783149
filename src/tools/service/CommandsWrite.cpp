// The commands that write: identity set, adjust set, waste reset, clean,
// ink-charge. Each runs the operations of the pages it stands for, with the
// same waits, calls and order.
#include "adjust/StoredValues.h"
#include "link/ResultCodes.h"
#include "tools/service/Commands.h"

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

// One operation of a page: its start, the writes, its end.
template <typename Writes>
Outcome Operation(Session& session, const ServiceStep& step, Writes writes,
                  const std::string& append = "") {
    uint16_t result = session.Start(step);
    if (result == ResultOk) {
        result = writes();
    }
    if (result == ResultOk) {
        result = session.End(step, append);
    }
    return result == ResultOk ? Outcome::Done() : session.Failed(result);
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
    // Filled as the writes succeed, so that a failure part way still tells
    // what was written before it.
    Json& written = out["written"];
    written = Json::object();
    if (changes.headId) {
        Outcome outcome = Operation(session, steps::HeadIdWrite,
                                    [&] { return session.headId.WriteHeadId(*changes.headId); });
        if (outcome.exit != kExitDone) {
            return outcome;
        }
        written["head_id"] = *changes.headId;
    }
    if (changes.usbId) {
        std::string dateCode;
        Outcome outcome = Operation(session, steps::UsbIdWrite, [&] {
            return session.usbId.WriteUsbId(*changes.usbId, dateCode);
        });
        if (outcome.exit != kExitDone) {
            return outcome;
        }
        written["usb_id"] = *changes.usbId + dateCode;
    }
    // The market setting last: the printer restarts after it.
    if (changes.market) {
        uint16_t result = session.Start(steps::MarketWrite);
        if (result == ResultOk) {
            result = session.eeprom.WriteMarketSetting(modelCode);
        }
        if (result != ResultOk) {
            return session.Failed(result);
        }
        session.End(steps::MarketWrite);
        // The window asks for an OK before the restart; here nobody is asked.
        session.Console().ShowStatus(StatusInfo, "The printer restarts now.");
        result = session.link.D4Reset();
        if (result != ResultOk) {
            return session.Failed(result);
        }
        session.Console().ShowStatus(StatusAddLine, adjust::kMarketAfterResetText);
        session.Console().Flush();
        written["market"] = {{"model", modelCode == TPEeprom::ModelCodeK31 ? "K31" : "K32"},
                             {"reset", true}};
    }
    return Outcome::Done();
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
    // Filled as the writes succeed, so that a failure part way still tells
    // what was written before it.
    Json& written = out["written"];
    written = Json::object();
    // The Bi-D page writes its chosen values in item order in one operation.
    std::vector<const Assignment*> bid(TPBid::kItemCount, nullptr);
    bool anyBid = false;
    for (const Assignment& assignment : assignments) {
        if (assignment.value->group == ValueGroup::Bid) {
            bid[static_cast<size_t>(assignment.value->bidItem)] = &assignment;
            anyBid = true;
        }
    }
    if (anyBid) {
        Outcome outcome = Operation(session, steps::BidWrite, [&] {
            for (size_t i = 0; i < bid.size(); ++i) {
                if (bid[i] == nullptr) {
                    continue;
                }
                const TPBid::Item& item = TPBid::kItems[i];
                const uint16_t result =
                    session.bid.WriteBidValue(item.colourSelector, item.mode, bid[i]->text);
                if (result != ResultOk) {
                    return result;
                }
            }
            return ResultOk;
        });
        if (outcome.exit != kExitDone) {
            return outcome;
        }
        for (const Assignment* assignment : bid) {
            if (assignment != nullptr) {
                written[assignment->value->name] = std::stoi(assignment->text);
            }
        }
    }
    if (const Assignment* assignment = AssignmentOf(assignments, ValueGroup::HeadAngular)) {
        Outcome outcome = Operation(session, steps::HeadAngularWrite, [&] {
            return session.headAngular.WriteHeadAngularValue(assignment->text);
        });
        if (outcome.exit != kExitDone) {
            return outcome;
        }
        written["head-angular"] = std::stoi(assignment->text);
    }
    for (const auto& [group, colour] :
         {std::pair{ValueGroup::PfBlack, adjust::PfColour::Black},
          std::pair{ValueGroup::PfColour, adjust::PfColour::Colour}}) {
        const Assignment* assignment = AssignmentOf(assignments, group);
        if (assignment == nullptr) {
            continue;
        }
        const int value = *adjust::CheckPfValue(assignment->text);
        Outcome outcome = Operation(session, steps::PfWrite, [&, colour = colour] {
            return adjust::WritePfValue(session.factory, colour, value);
        });
        if (outcome.exit != kExitDone) {
            return outcome;
        }
        written[assignment->value->name] = value;
    }
    if (const Assignment* assignment = AssignmentOf(assignments, ValueGroup::TopMargin)) {
        const adjust::TopMarginChoice& choice = *TopMarginChoiceNamed(assignment->text);
        Outcome outcome = Operation(
            session, steps::TopMarginWrite,
            [&] { return adjust::WriteTopMargin(session.factory, choice); },
            std::string(choice.quoted) + " has been written in EEPROM.");
        if (outcome.exit != kExitDone) {
            return outcome;
        }
        written["top-margin"] = choice.name;
    }
    if (const Assignment* assignment = AssignmentOf(assignments, ValueGroup::FirstDot)) {
        const int value = *adjust::CheckFirstDotValue(assignment->text);
        Outcome outcome = Operation(session, steps::FirstDotWrite,
                                    [&] { return adjust::WriteFirstDot(session.factory, value); });
        if (outcome.exit != kExitDone) {
            return outcome;
        }
        written["first-dot"] = value;
    }
    if (AssignmentOf(assignments, ValueGroup::HeatProtect) != nullptr) {
        Outcome outcome = Operation(session, steps::HeatProtectWrite,
                                    [&] { return session.heatProtect.WriteHeatProtectOffset(); });
        if (outcome.exit != kExitDone) {
            return outcome;
        }
        written["cr-heat-protect"] = TPHeatProtect::kOffset;
    }
    return Outcome::Done();
}

Outcome WasteReset(Session& session, Json& out) {
    Outcome outcome = Operation(session, steps::WasteReset,
                                [&] { return session.maintenance.ResetWasteInkCounter(); });
    if (outcome.exit == kExitDone) {
        out["present"] = 0;
    }
    return outcome;
}

Outcome Clean(Session& session, Json& out) {
    Outcome outcome = Operation(session, steps::Cleaning, [&] {
        return session.factory.StartMaintenanceSequence(TPFactory::SequenceCleaning);
    });
    out["sequence"] = "cleaning";
    return outcome;
}

Outcome InkCharge(Session& session, Json& out) {
    Outcome outcome = Operation(session, steps::InkCharge, [&] {
        return session.factory.StartMaintenanceSequence(TPFactory::SequenceInkCharge);
    });
    out["sequence"] = "ink-charge";
    return outcome;
}

}  // namespace orvane::service
