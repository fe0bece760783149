// The commands that only read: status, identity, adjust, waste.
#include "adjust/FirstDotDisplay.h"
#include "adjust/StoredValues.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "link/ResultMessages.h"
#include "link/StatusTexts.h"
#include "tools/service/Commands.h"

namespace orvane::service {

namespace {

// A step of orvane-service alone: the page of the CR heat-protect offset only
// writes it.
constexpr ServiceStep kHeatProtectRead = {"Reading now...", OnPrinterError::Stop, StatusDoneNoWait,
                                          ""};

const char* StateName(uint8_t state) {
    switch (state) {
        case PrinterStatus::StateError:
            return "error";
        case PrinterStatus::StateBusy:
            return "busy";
        case PrinterStatus::StatePrinting:
            return "printing";
        case PrinterStatus::StateReady:
            return "ready";
        case PrinterStatus::StateCleaning:
            return "cleaning";
        case PrinterStatus::StateBeforeInkCharge:
            return "before-ink-charge";
        default:
            return "unknown";
    }
}

// The status-line texts as lines: an appended text joins the line before it.
Json Lines(const std::vector<StatusText>& texts) {
    std::vector<std::string> lines;
    for (const StatusText& text : texts) {
        if (text.kind == StatusAppend && !lines.empty()) {
            lines.back() += text.text;
        } else {
            lines.push_back(text.text);
        }
    }
    return lines;
}

Json SignedByte(uint8_t stored) {
    return static_cast<int8_t>(stored);
}

}  // namespace

const std::vector<NamedValue>& NamedValues() {
    static const std::vector<NamedValue> values = {
        {"bid-vsd1-black", ValueGroup::Bid, 0},
        {"bid-vsd1-color", ValueGroup::Bid, 1},
        {"bid-vsd2-black", ValueGroup::Bid, 2},
        {"bid-vsd2-color", ValueGroup::Bid, 3},
        {"bid-vsd3-black", ValueGroup::Bid, 4},
        {"bid-vsd3-color", ValueGroup::Bid, 5},
        {"bid-eco-black", ValueGroup::Bid, 6},
        {"bid-eco-color", ValueGroup::Bid, 7},
        {"head-angular", ValueGroup::HeadAngular, -1},
        {"pf-black", ValueGroup::PfBlack, -1},
        {"pf-color", ValueGroup::PfColour, -1},
        {"top-margin", ValueGroup::TopMargin, -1},
        {"first-dot", ValueGroup::FirstDot, -1},
        {"cr-heat-protect", ValueGroup::HeatProtect, -1},
    };
    return values;
}

const NamedValue* FindNamedValue(const std::string& name) {
    for (const NamedValue& value : NamedValues()) {
        if (name == value.name) {
            return &value;
        }
    }
    return nullptr;
}

Outcome Status(Session& session, Json& out) {
    const uint16_t result = session.status.InquirePrinterStatus();
    if (result != ResultOk) {
        return session.Failed(result);
    }
    const PrinterStatus& record = session.status.Record();
    out["state"] = StateName(record.State());
    out["state_code"] = record.State();
    if (record.State() == PrinterStatus::StateError) {
        const ResultMessage message = PrinterErrorMessage(record.ErrorCode());
        out["error_code"] = record.ErrorCode();
        std::vector<StatusText> texts;
        if (message.error != nullptr) {
            texts.push_back({StatusError, message.error});
        }
        if (message.line != nullptr) {
            texts.push_back({StatusAddLine, message.line});
        }
        out["text"] = Lines(texts);
    } else {
        out["error_code"] = nullptr;
        out["text"] = Lines(GetStatusTexts(record));
    }
    out["ink_valid"] = record.InkValid() == 1;
    out["ink"] = {{"black", record.AcceptedInk(PrinterStatus::Black)},
                  {"cyan", record.AcceptedInk(PrinterStatus::Cyan)},
                  {"magenta", record.AcceptedInk(PrinterStatus::Magenta)},
                  {"yellow", record.AcceptedInk(PrinterStatus::Yellow)}};
    return Outcome::Done();
}

Outcome Identity(Session& session, Json& out) {
    // The market page's Check, the Head ID page's Read and the USB ID page's
    // Read Out, in the order of the pages.
    uint16_t result = session.Start(steps::MarketCheck);
    uint8_t destination = TPEeprom::DestinationUnknown;
    std::string modelName;
    if (result == ResultOk) {
        result = session.eeprom.ReadMarketSetting(destination);
    }
    if (result == ResultOk) {
        result = adjust::ReadModelName(session.link, modelName);
    }
    if (result != ResultOk) {
        return session.Failed(result);
    }
    const char* text = adjust::DestinationText(destination);
    session.End(steps::MarketCheck, text != nullptr ? text : "(none)");
    out["market"] = {{"destination", destination},
                     {"text", text != nullptr ? Json(text) : Json(nullptr)}};
    out["model_name"] = modelName;
    if (session.Options().modelCode) {
        out["market"]["matches_model"] =
            adjust::DestinationMatchesModel(destination, *session.Options().modelCode);
    } else {
        out["market"]["matches_model"] =
            adjust::DestinationMatchesModel(destination, adjust::ModelCodeOfName(modelName));
    }

    std::string headId;
    result = session.Start(steps::HeadIdRead);
    if (result == ResultOk) {
        result = session.headId.ReadHeadId(headId);
    }
    if (result != ResultOk) {
        return session.Failed(result);
    }
    session.End(steps::HeadIdRead, headId);
    out["head_id"] = headId;

    std::string usbId;
    result = session.Start(steps::UsbIdRead);
    if (result == ResultOk) {
        result = session.usbId.ReadUsbId(usbId);
        // Stored bytes that no USB ID holds (a new main board) are shown as
        // such; the page's Read Out shows the same message.
        if (result == ResultUsbIdError) {
            const Outcome stored = session.Failed(result);
            session.Err() << stored.message << '\n';
            out["usb_id"] = nullptr;
            out["usb_id_error"] = stored.message;
            return Outcome::Done();
        }
    }
    if (result == ResultOk) {
        result = session.End(steps::UsbIdRead, usbId);
    }
    if (result != ResultOk) {
        return session.Failed(result);
    }
    out["usb_id"] = usbId;
    return Outcome::Done();
}

Outcome Adjust(Session& session, const std::vector<const NamedValue*>& names, Json& out) {
    const auto wanted = [&names](ValueGroup group) {
        for (const NamedValue* value : names) {
            if (value->group == group) {
                return true;
            }
        }
        return false;
    };
    const auto wantedName = [&names](const char* name) {
        for (const NamedValue* value : names) {
            if (std::string(value->name) == name) {
                return true;
            }
        }
        return false;
    };
    Json values = Json::object();

    // The Bi-D page's Check reads all eight values.
    if (wanted(ValueGroup::Bid)) {
        std::array<std::string, TPBid::kItemCount> texts;
        uint16_t result = session.Start(steps::BidRead);
        for (size_t i = 0; result == ResultOk && i < texts.size(); ++i) {
            result = session.bid.ReadBidValue(TPBid::kItems[i].colourSelector,
                                              TPBid::kItems[i].mode, texts[i]);
        }
        if (result != ResultOk) {
            return session.Failed(result);
        }
        session.End(steps::BidRead);
        for (const NamedValue& value : NamedValues()) {
            if (value.group == ValueGroup::Bid && wantedName(value.name)) {
                values[value.name] = std::stoi(texts[static_cast<size_t>(value.bidItem)]);
            }
        }
    }
    if (wanted(ValueGroup::HeadAngular)) {
        std::string text;
        uint16_t result = session.Start(steps::HeadAngularRead);
        if (result == ResultOk) {
            result = session.headAngular.ReadHeadAngularValue(text);
        }
        if (result != ResultOk) {
            return session.Failed(result);
        }
        session.End(steps::HeadAngularRead);
        values["head-angular"] = std::stoi(text);
    }
    for (const auto& [group, colour, name] :
         {std::tuple{ValueGroup::PfBlack, adjust::PfColour::Black, "pf-black"},
          std::tuple{ValueGroup::PfColour, adjust::PfColour::Colour, "pf-color"}}) {
        if (!wanted(group)) {
            continue;
        }
        uint8_t stored = 0;
        uint16_t result = session.Start(steps::PfRead);
        if (result == ResultOk) {
            result = adjust::ReadPfValue(session.link, colour, stored);
        }
        if (result == ResultOk) {
            result = session.End(steps::PfRead);
        }
        if (result != ResultOk) {
            return session.Failed(result);
        }
        values[name] = SignedByte(stored);
    }
    if (wanted(ValueGroup::TopMargin)) {
        uint8_t stored = 0;
        uint16_t result = session.Start(steps::TopMarginRead);
        if (result == ResultOk) {
            result = adjust::ReadTopMargin(session.link, stored);
        }
        if (result == ResultOk) {
            result = session.End(steps::TopMarginRead);
        }
        if (result != ResultOk) {
            return session.Failed(result);
        }
        const int choice = adjust::TopMarginChoiceOfStored(static_cast<int8_t>(stored));
        values["top-margin"] = {{"stored", SignedByte(stored)},
                                {"choice", adjust::kTopMarginChoices[choice].name}};
    }
    if (wanted(ValueGroup::FirstDot)) {
        uint8_t stored = 0;
        uint16_t result = session.Start(steps::FirstDotRead);
        if (result == ResultOk) {
            result = adjust::ReadFirstDot(session.link, stored);
        }
        if (result == ResultOk) {
            result = session.End(steps::FirstDotRead);
        }
        if (result != ResultOk) {
            return session.Failed(result);
        }
        const int value = static_cast<int8_t>(stored);
        values["first-dot"] = {
            {"stored", value},
            {"shift", adjust::FirstDotRealValueText(adjust::ClampFirstDot(value))}};
    }
    if (wanted(ValueGroup::HeatProtect)) {
        uint8_t stored = 0;
        uint16_t result = session.Start(kHeatProtectRead);
        if (result == ResultOk) {
            result = session.link.D4ReadEeprom(eeprom::HeatProtectOffset, stored);
        }
        if (result != ResultOk) {
            return session.Failed(result);
        }
        session.End(kHeatProtectRead);
        values["cr-heat-protect"] = {{"stored", stored},
                                     {"registered", stored == TPHeatProtect::kOffset}};
    }
    out["values"] = values;
    return Outcome::Done();
}

Outcome Waste(Session& session, Json& out) {
    std::string maximum;
    std::string present;
    std::string rate;
    uint16_t result = session.Start(steps::WasteRead);
    if (result == ResultOk) {
        result = session.maintenance.ReadWasteInkCounter(maximum, present, rate);
    }
    if (result != ResultOk) {
        return session.Failed(result);
    }
    session.End(steps::WasteRead, maximum);
    out["maximum"] = std::stoi(maximum);
    out["present"] = std::stoi(present);
    out["rate"] = rate;
    return Outcome::Done();
}

}  // namespace orvane::service
