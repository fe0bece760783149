#include "link/Dllfunction.h"

#include <cstdlib>
#include <utility>

#include "link/LibraryCall.h"
#include "link/ResultCodes.h"

namespace {

// The functions as the libraries export them, with C linkage.
extern "C" {
using PortOpenFunction = uint16_t(uint16_t portNumber);
using PortCloseFunction = uint16_t();
using CheckDeviceIdFunction = uint16_t();
using GetIoErrorCodeFunction = uint16_t(int16_t* code);
using GetModelNameFunction = uint16_t(char* name);
using ContextFunction = uint16_t(void* context);
using SetCommandRCodeFunction = uint16_t(uint8_t a, uint8_t b);
using SendDataFunction = uint16_t(const uint8_t* data, uint32_t length, void* context);
using ReadEepromFunction = uint16_t(uint8_t address, uint8_t* value, void* context);
using WriteEepromFunction = uint16_t(uint8_t address, uint8_t value, void* context);
using GetErrorCodeFunction = uint16_t();
using InquireStatusFunction = uint16_t(uint8_t* record, void* context);
}

// Calls a library function of type Function found at function.
template <typename Function, typename... Args>
uint16_t Call(void* function, Args... args) {
    return orvane::link::LibraryCall<Function>::Call(function, args...);
}

const char* const kPortLibrary = "Portway";
const char* const kChannelLibrary = "Chanlink";

}  // namespace

const char* const TPDLLFunction::kLoadFailureText =
    "DLLファイルが見つかりません。\nこのプログラムは終了します。";

TPDLLFunction::TPDLLFunction(orvane::ILibraryLoader& loader, std::string programFolder)
    : loader_(loader), programFolder_(std::move(programFolder)) {}

TPDLLFunction::~TPDLLFunction() {
    Unload();
}

bool TPDLLFunction::Load() {
    Unload();
    portLibrary_ =
        loader_.Load(programFolder_ + "/" + orvane::PlatformLibraryFileName(kPortLibrary));
    channelLibrary_ =
        loader_.Load(programFolder_ + "/" + orvane::PlatformLibraryFileName(kChannelLibrary));
    return IsLoaded();
}

void TPDLLFunction::LoadOrExit(orvane::IMessageBox& messageBox) {
    if (Load()) {
        return;
    }
    orvane::MessageRequest request;
    request.text = kLoadFailureText;
    request.icon = orvane::MessageIcon::Error;
    request.owner = orvane::MessageOwner::None;
    messageBox.Show(request);
    Unload();
    std::exit(0);
}

void TPDLLFunction::Unload() {
    if (channelLibrary_ != nullptr) {
        loader_.Free(channelLibrary_);
    }
    if (portLibrary_ != nullptr) {
        loader_.Free(portLibrary_);
    }
    channelLibrary_ = nullptr;
    portLibrary_ = nullptr;
}

void* TPDLLFunction::Find(orvane::LibraryHandle library, const char* name) {
    return library == nullptr ? nullptr : loader_.Lookup(library, name);
}

uint16_t TPDLLFunction::PortOpenByPway(uint16_t portNumber) {
    void* function = Find(portLibrary_, "PortOpenByPway");
    if (function == nullptr) {
        return ResultDllMissing;
    }
    // A USB ID read on another port, or before, belongs to another printer.
    logger_.ForgetUsbId();
    const uint16_t result = Call<PortOpenFunction>(function, portNumber);
    // The library keeps the last I/O error until it is asked for; the open
    // asks once so that a later report sees only errors of later calls.
    int16_t discarded = 0;
    GetIoErrorCodeByPway(discarded);
    return result;
}

uint16_t TPDLLFunction::PortCloseByPway() {
    void* function = Find(portLibrary_, "PortCloseByPway");
    if (function == nullptr) {
        return ResultDllMissing;
    }
    Call<PortCloseFunction>(function);
    return ResultOk;
}

uint16_t TPDLLFunction::CheckDeviceIDByPway() {
    void* function = Find(portLibrary_, "CheckDeviceIDByPway");
    return function == nullptr ? ResultDllMissing : Call<CheckDeviceIdFunction>(function);
}

uint16_t TPDLLFunction::GetIoErrorCodeByPway(int16_t& code) {
    void* function = Find(portLibrary_, "GetIoErrorCodeByPway");
    return function == nullptr ? ResultDllMissing : Call<GetIoErrorCodeFunction>(function, &code);
}

uint16_t TPDLLFunction::GetModelNameByPway(char* name) {
    void* function = Find(portLibrary_, "GetModelNameByPway");
    return function == nullptr ? ResultDllMissing : Call<GetModelNameFunction>(function, name);
}

uint16_t TPDLLFunction::D4Negotiation() {
    void* function = Find(channelLibrary_, "D4Negotiation");
    return function == nullptr ? ResultDllMissing : Call<ContextFunction>(function, Context());
}

uint16_t TPDLLFunction::D4Termination() {
    void* function = Find(channelLibrary_, "D4Termination");
    return function == nullptr ? ResultDllMissing : Call<ContextFunction>(function, Context());
}

uint16_t TPDLLFunction::SetD4CommandRCode(uint8_t a, uint8_t b) {
    void* function = Find(channelLibrary_, "SetD4CommandRCode");
    if (function == nullptr) {
        return ResultDllMissing;
    }
    Call<SetCommandRCodeFunction>(function, a, b);
    return ResultOk;
}

uint16_t TPDLLFunction::SendDataChannel(const uint8_t* data, uint32_t length) {
    void* function = Find(channelLibrary_, "SendDataChannel");
    if (function == nullptr) {
        return ResultDllMissing;
    }
    if (dryRun_) {
        dryRunCalls_.push_back(
            {"SendDataChannel", {length}, std::vector<uint8_t>(data, data + length)});
        return ResultOk;
    }
    return Call<SendDataFunction>(function, data, length, Context());
}

uint16_t TPDLLFunction::D4ReadEeprom(uint8_t address, uint8_t& value) {
    void* function = Find(channelLibrary_, "D4ReadEeprom");
    return function == nullptr ? ResultDllMissing
                               : Call<ReadEepromFunction>(function, address, &value, Context());
}

uint16_t TPDLLFunction::D4WriteEeprom(uint8_t address, uint8_t value) {
    void* function = Find(channelLibrary_, "D4WriteEeprom");
    if (function == nullptr) {
        return ResultDllMissing;
    }
    if (dryRun_) {
        dryRunCalls_.push_back({"D4WriteEeprom", {address, value}, {}});
        return ResultOk;
    }
    const uint16_t result = Call<WriteEepromFunction>(function, address, value, Context());
    logger_.Record(logger_.Operation(servicelog::EepromWrite), servicelog::ByteText(address),
                   servicelog::ByteText(value), result);
    return result;
}

uint16_t TPDLLFunction::GetD4ErrorCode(uint16_t& code) {
    void* function = Find(channelLibrary_, "GetD4ErrorCode");
    if (function == nullptr) {
        return ResultDllMissing;
    }
    code = Call<GetErrorCodeFunction>(function);
    return ResultOk;
}

uint16_t TPDLLFunction::InquireStatus(uint8_t* record) {
    void* function = Find(channelLibrary_, "InquireStatus");
    return function == nullptr ? ResultDllMissing
                               : Call<InquireStatusFunction>(function, record, Context());
}

void TPDLLFunction::AttachServiceLog(IServiceLog* log, orvane::IClock* clock) {
    logger_.Attach(log, clock);
}

void TPDLLFunction::SetLogSubject(std::string port, std::string model) {
    logger_.SetSubject(std::move(port), std::move(model));
}

void TPDLLFunction::RecordWrite(const char* operation, std::string target, std::string value,
                                uint16_t result) {
    // A dry run sends nothing, so it writes nothing either.
    if (result != ResultDllMissing && !dryRun_) {
        logger_.Record(operation, std::move(target), std::move(value), result);
    }
}

void TPDLLFunction::NoteAccepted(const char* operation, std::string target) {
    if (!dryRun_) {
        logger_.Accept(operation, std::move(target), "");
    }
}

uint16_t TPDLLFunction::D4Reset() {
    void* function = Find(channelLibrary_, "D4Reset");
    if (function == nullptr) {
        return ResultDllMissing;
    }
    if (dryRun_) {
        dryRunCalls_.push_back({"D4Reset", {}, {}});
        return ResultOk;
    }
    const uint16_t result = Call<ContextFunction>(function, Context());
    // Not logged: the restart sets no value. It is accepted all the same.
    if (result == ResultOk) {
        logger_.Accept(servicelog::Reset, "", "");
    }
    return result;
}
