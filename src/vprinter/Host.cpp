#include "vprinter/Host.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace vprinter {

namespace {

constexpr uint16_t kOk = 0x0001;
constexpr uint16_t kPortIoError = 0x1000;
constexpr uint16_t kDeviceIdUnsupported = 0x1001;
constexpr uint16_t kPortNoResponse = 0x1100;
constexpr uint16_t kChannelError = 0x2000;

// Channel error codes of GetD4ErrorCode.
constexpr uint16_t kChannelNoResponse = 1;
constexpr uint16_t kChannelNotOpen = 2;
constexpr uint16_t kChannelStorage = 3;

// I/O error codes of GetIoErrorCodeByPway.
constexpr int16_t kIoNoSuchPort = -1;
constexpr int16_t kIoNoResponse = -82;

constexpr size_t kStatusBytes = 36;
constexpr size_t kModelNameBytes = 30;
constexpr size_t kTraceDataLimit = size_t{64} << 20;
constexpr size_t kTraceEntryLimit = size_t{1} << 18;

int64_t Pointer(const void* pointer) {
    return static_cast<int64_t>(reinterpret_cast<uintptr_t>(pointer));
}

}  // namespace

Host::Host(std::string folder) : store_(std::move(folder)) {
    store_.EnsureCreated();
}

// ---------------------------------------------------------------------------
// Bookkeeping

namespace {

// Adds an entry to the trace, which keeps the newest entries within its bounds.
void Keep(std::deque<TraceEntry>& trace, size_t& traceBytes, TraceEntry&& entry) {
    traceBytes += entry.data.size();
    trace.push_back(std::move(entry));
    while ((traceBytes > kTraceDataLimit || trace.size() > kTraceEntryLimit) && trace.size() > 1) {
        traceBytes -= trace.front().data.size();
        trace.pop_front();
    }
}

// Collects one trace entry and hands it to the host when the call returns.
class Call {
  public:
    Call(std::deque<TraceEntry>& trace, size_t& traceBytes, uint64_t& sequence,
         const std::string& port, const char* function, std::vector<int64_t> args)
        : trace_(trace), traceBytes_(traceBytes) {
        entry_.sequence = sequence++;
        entry_.function = function;
        entry_.port = port;
        entry_.args = std::move(args);
    }
    std::vector<uint8_t>& Data() { return entry_.data; }
    uint16_t Return(uint16_t result) {
        entry_.result = result;
        Keep(trace_, traceBytes_, std::move(entry_));
        return result;
    }

  private:
    std::deque<TraceEntry>& trace_;
    size_t& traceBytes_;
    TraceEntry entry_;
};

}  // namespace

#define VP_CALL(name, ...) \
    Call call(trace_, traceBytes_, nextSequence_, openPort_, name, {__VA_ARGS__})

void Host::RecordFaults(const std::vector<Noticed>& faults) {
    for (size_t i = 0; i < faults.size() && i <= kFaultsPerCall; ++i) {
        TraceEntry entry;
        entry.sequence = nextSequence_++;
        entry.function = "fault";
        entry.port = openPort_;
        if (i < kFaultsPerCall) {
            entry.args = {static_cast<int64_t>(faults[i].offset)};
            entry.note = "offset " + std::to_string(faults[i].offset) + ": " + faults[i].note;
        } else {
            entry.note = std::to_string(faults.size() - kFaultsPerCall) +
                         " further faults of this call are not recorded";
        }
        Keep(trace_, traceBytes_, std::move(entry));
    }
}

void Host::ClearTrace() {
    trace_.clear();
    traceBytes_ = 0;
}

// ---------------------------------------------------------------------------
// Port library

uint16_t Host::PortOpen(uint16_t portNumber) {
    VP_CALL("PortOpenByPway", portNumber);
    if (auto fault = TakeCallFault("PortOpenByPway", false)) {
        return call.Return(*fault);
    }
    openPort_.clear();
    negotiated_ = false;
    // Exactly the printer that answers to the number: none when two do (a
    // folder changed by hand), rather than either of them.
    if (const auto answering = store_.PortsAnswering(portNumber); answering.size() == 1) {
        openPort_ = answering.front();
    }
    Printer* printer = Open();
    if (printer == nullptr) {
        openPort_.clear();
        ioError_ = kIoNoSuchPort;
        return call.Return(kPortIoError);
    }
    if (!printer->config.powered) {
        openPort_.clear();
        ioError_ = kIoNoResponse;
        return call.Return(kPortNoResponse);
    }
    return call.Return(kOk);
}

uint16_t Host::PortClose() {
    VP_CALL("PortCloseByPway");
    if (auto fault = TakeCallFault("PortCloseByPway", false)) {
        return call.Return(*fault);
    }
    openPort_.clear();
    negotiated_ = false;
    return call.Return(kOk);
}

uint16_t Host::CheckDeviceId() {
    VP_CALL("CheckDeviceIDByPway");
    if (auto fault = TakeCallFault("CheckDeviceIDByPway", false)) {
        return call.Return(*fault);
    }
    Printer* printer = Open();
    if (printer == nullptr) {
        ioError_ = kIoNoSuchPort;
        return call.Return(kPortIoError);
    }
    if (!printer->config.powered) {
        ioError_ = kIoNoResponse;
        return call.Return(kPortNoResponse);
    }
    return call.Return(printer->config.supported ? kOk : kDeviceIdUnsupported);
}

uint16_t Host::GetIoErrorCode(int16_t* code) {
    VP_CALL("GetIoErrorCodeByPway", Pointer(code));
    if (auto fault = TakeCallFault("GetIoErrorCodeByPway", false)) {
        return call.Return(*fault);
    }
    if (code != nullptr) {
        *code = ioError_;
    }
    const auto bits = static_cast<uint16_t>(ioError_);
    call.Data() = {static_cast<uint8_t>(bits & 0xFF), static_cast<uint8_t>(bits >> 8)};
    return call.Return(kOk);
}

uint16_t Host::GetModelName(char* name) {
    VP_CALL("GetModelNameByPway", Pointer(name));
    if (auto fault = TakeCallFault("GetModelNameByPway", false)) {
        return call.Return(*fault);
    }
    Printer* printer = Open();
    if (printer == nullptr || name == nullptr) {
        ioError_ = kIoNoSuchPort;
        return call.Return(kPortIoError);
    }
    if (!printer->config.powered) {
        ioError_ = kIoNoResponse;
        return call.Return(kPortNoResponse);
    }
    const std::string& model = printer->config.model;
    const size_t length = std::min(model.size(), kModelNameBytes - 1);
    std::memcpy(name, model.data(), length);
    name[length] = '\0';
    call.Data().assign(model.begin(), model.begin() + static_cast<std::ptrdiff_t>(length));
    return call.Return(kOk);
}

// ---------------------------------------------------------------------------
// Channel library

uint16_t Host::Negotiation(void* context) {
    VP_CALL("D4Negotiation", Pointer(context));
    if (auto fault = TakeCallFault("D4Negotiation", true)) {
        return call.Return(*fault);
    }
    Printer* printer = Open();
    if (printer == nullptr) {
        channelError_ = kChannelNotOpen;
        return call.Return(kChannelError);
    }
    if (!printer->config.powered) {
        channelError_ = kChannelNoResponse;
        return call.Return(kChannelError);
    }
    negotiated_ = true;
    return call.Return(kOk);
}

uint16_t Host::Termination(void* context) {
    VP_CALL("D4Termination", Pointer(context));
    if (auto fault = TakeCallFault("D4Termination", true)) {
        return call.Return(*fault);
    }
    negotiated_ = false;
    return call.Return(kOk);
}

uint16_t Host::SetCommandRCode(uint8_t a, uint8_t b) {
    VP_CALL("SetD4CommandRCode", a, b);
    if (auto fault = TakeCallFault("SetD4CommandRCode", true)) {
        return call.Return(*fault);
    }
    commandCodeA_ = a;
    commandCodeB_ = b;
    return call.Return(kOk);
}

uint16_t Host::SendData(const uint8_t* data, uint32_t length, void* context) {
    VP_CALL("SendDataChannel", Pointer(data), length, Pointer(context));
    if (data != nullptr && length > 0) {
        call.Data().assign(data, data + length);
    }
    if (auto fault = TakeCallFault("SendDataChannel", true)) {
        return call.Return(*fault);
    }
    Printer* printer = nullptr;
    if (auto failure = ChannelUnavailable(printer)) {
        return call.Return(*failure);
    }
    std::vector<Noticed> faults;
    const bool some = data != nullptr && length > 0;
    const uint16_t result =
        call.Return(Print(*printer, some ? data : nullptr, some ? length : 0, faults));
    RecordFaults(faults);
    return result;
}

uint16_t Host::ReadEeprom(uint8_t address, uint8_t* value, void* context) {
    VP_CALL("D4ReadEeprom", address, Pointer(value), Pointer(context));
    if (auto fault = TakeCallFault("D4ReadEeprom", true)) {
        return call.Return(*fault);
    }
    Printer* printer = nullptr;
    if (auto failure = ChannelUnavailable(printer)) {
        return call.Return(*failure);
    }
    if (!printer->eepromProblem.empty()) {
        channelError_ = kChannelStorage;
        return call.Return(kChannelError);
    }
    if (const auto it = printer->config.readFaults.find(address);
        it != printer->config.readFaults.end()) {
        channelError_ = kChannelNoResponse;
        return call.Return(it->second);
    }
    if (value != nullptr) {
        *value = printer->eeprom[address];
    }
    call.Data() = {printer->eeprom[address]};
    return call.Return(kOk);
}

uint16_t Host::WriteEeprom(uint8_t address, uint8_t value, void* context) {
    VP_CALL("D4WriteEeprom", address, value, Pointer(context));
    if (auto fault = TakeCallFault("D4WriteEeprom", true)) {
        return call.Return(*fault);
    }
    Printer* printer = nullptr;
    if (auto failure = ChannelUnavailable(printer)) {
        return call.Return(*failure);
    }
    if (!printer->eepromProblem.empty()) {
        channelError_ = kChannelStorage;
        return call.Return(kChannelError);
    }
    if (const auto it = printer->config.writeFaults.find(address);
        it != printer->config.writeFaults.end()) {
        channelError_ = kChannelNoResponse;
        return call.Return(it->second);
    }
    std::string reason;
    if (!WriteBytes(*printer, {{address, value}}, false, reason)) {
        channelError_ = kChannelStorage;
        return call.Return(kChannelError);
    }
    return call.Return(kOk);
}

uint16_t Host::GetChannelError() {
    VP_CALL("GetD4ErrorCode");
    if (auto fault = TakeCallFault("GetD4ErrorCode", true)) {
        return call.Return(*fault);
    }
    return call.Return(channelError_);
}

uint16_t Host::InquireStatus(uint8_t* record, void* context) {
    VP_CALL("InquireStatus", Pointer(record), Pointer(context));
    if (auto fault = TakeCallFault("InquireStatus", true)) {
        return call.Return(*fault);
    }
    Printer* printer = nullptr;
    if (auto failure = ChannelUnavailable(printer)) {
        return call.Return(*failure);
    }
    std::array<uint8_t, kStatusBytes> status{};
    EffectiveState(*printer, true, status[0], status[1]);
    for (size_t colour = 0; colour < 4; ++colour) {
        const auto raw = static_cast<uint16_t>(printer->config.ink[colour]);
        status[14 + 2 * colour] = static_cast<uint8_t>(raw & 0xFF);
        status[15 + 2 * colour] = static_cast<uint8_t>(raw >> 8);
    }
    if (record != nullptr) {
        std::memcpy(record, status.data(), status.size());
    }
    call.Data().assign(status.begin(), status.end());
    return call.Return(kOk);
}

uint16_t Host::Reset(void* context) {
    VP_CALL("D4Reset", Pointer(context));
    if (auto fault = TakeCallFault("D4Reset", true)) {
        return call.Return(*fault);
    }
    Printer* printer = nullptr;
    if (auto failure = ChannelUnavailable(printer)) {
        return call.Return(*failure);
    }
    std::vector<Noticed> faults;
    Restart(*printer, faults);
    printer->activity = Activity::Restarting;
    printer->activityUntil = clock_.NowMilliseconds() + kRestartMilliseconds;
    const uint16_t result = call.Return(kOk);
    RecordFaults(faults);
    return result;
}

// ---------------------------------------------------------------------------

namespace {
std::unique_ptr<Host>& HostSlot() {
    static std::unique_ptr<Host> host;
    return host;
}
}  // namespace

Host& TheHost() {
    auto& host = HostSlot();
    if (!host) {
        host = std::make_unique<Host>(Store::DefaultFolder());
    }
    return *host;
}

Host& ResetHost(const std::string& folder) {
    auto& host = HostSlot();
    host = std::make_unique<Host>(folder);
    return *host;
}

}  // namespace vprinter
