#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/ServiceLog.h"
#include "platform/LibraryLoader.h"
#include "platform/MessageBox.h"

// The link object: holds the port library (Portway) and the channel library
// (Chanlink) and offers one wrapper per library function. Nothing else in the
// program touches the libraries.
//
// Every wrapper looks its function up anew on each call and returns
// ResultDllMissing (0xB000) when the library or the function is missing. The
// calls go through LibraryCall, which works with stdcall and cdecl libraries
// alike in the 32-bit x86 build.
class TPDLLFunction {
  public:
    // A call that would have changed the printer, kept by a dry run.
    struct DryRunCall {
        std::string function;
        std::vector<int64_t> args;  // D4WriteEeprom: address, value
        std::vector<uint8_t> data;  // SendDataChannel: the bytes
    };

    // The two lines shown when a library is missing at start.
    static const char* const kLoadFailureText;

    TPDLLFunction(orvane::ILibraryLoader& loader, std::string programFolder);
    ~TPDLLFunction();
    TPDLLFunction(const TPDLLFunction&) = delete;
    TPDLLFunction& operator=(const TPDLLFunction&) = delete;

    // Loads the port library, then the channel library (the second is tried
    // even when the first failed), from the program's folder. True when both
    // are loaded.
    bool Load();
    // Loads both libraries; when that fails, shows the start-up message
    // without an owner window and ends the program with exit code 0.
    void LoadOrExit(orvane::IMessageBox& messageBox);
    // Frees the channel library, then the port library.
    void Unload();
    bool IsLoaded() const { return portLibrary_ != nullptr && channelLibrary_ != nullptr; }

    // Port library.
    uint16_t PortOpenByPway(uint16_t portNumber);
    uint16_t PortCloseByPway();
    uint16_t CheckDeviceIDByPway();
    uint16_t GetIoErrorCodeByPway(int16_t& code);
    // name must hold at least 30 bytes.
    uint16_t GetModelNameByPway(char* name);

    // Channel library.
    uint16_t D4Negotiation();
    uint16_t D4Termination();
    uint16_t SetD4CommandRCode(uint8_t a, uint8_t b);
    uint16_t SendDataChannel(const uint8_t* data, uint32_t length);
    uint16_t D4ReadEeprom(uint8_t address, uint8_t& value);
    uint16_t D4WriteEeprom(uint8_t address, uint8_t value);
    uint16_t GetD4ErrorCode(uint16_t& code);
    // record must hold at least 36 bytes.
    uint16_t InquireStatus(uint8_t* record);
    uint16_t D4Reset();

    // A dry run: from now on every call that changes the printer
    // (D4WriteEeprom, SendDataChannel, D4Reset) is kept in DryRunCalls
    // instead of sent and answered with 1, once its function is found; the
    // calls that only read still reach the printer.
    void StartDryRun() { dryRun_ = true; }
    bool IsDryRun() const { return dryRun_; }
    const std::vector<DryRunCall>& DryRunCalls() const { return dryRunCalls_; }
    // The service log. Every EEPROM write the library is handed is recorded
    // with its result (ResultDllMissing: nothing was handed, nothing is
    // recorded); the value packets are recorded by the factory through
    // RecordWrite. Without a log attached nothing is recorded. clock null: the
    // system clock.
    void AttachServiceLog(IServiceLog* log, orvane::IClock* clock = nullptr);
    // The printer the link is opened on, as the records name it (called by
    // whoever opens the link). Forgets the USB ID, as opening the port does.
    void SetLogSubject(std::string port, std::string model);
    // The USB ID just read from or written to the printer: the records that
    // follow carry it, until the port is opened again.
    void NoteUsbId(std::string usbId) { logger_.NoteUsbId(std::move(usbId)); }
    const std::string& LoggedUsbId() const { return logger_.UsbId(); }
    void RecordWrite(const char* operation, std::string target, std::string value, uint16_t result);
    // True once per link object, after the first record that could not be
    // kept, with the reason: the caller tells the technician then. The
    // writes to the printer go on all the same.
    bool TakeServiceLogFailure(std::string& reason) { return logger_.TakeFailure(reason); }

    // A write the printer accepted that the service log leaves out (a
    // maintenance sequence started): kept only in the accepted writes. A dry
    // run accepts nothing.
    void NoteAccepted(const char* operation, std::string target);

    // Keeps the writes the printer accepts on this link while it lives, in
    // order: the EEPROM writes, value packets and stores answered with 1 (as
    // the service log records them, whether a log is attached or not), the
    // restart (D4Reset) and the maintenance sequences started. A dry run
    // sends nothing, so it keeps nothing. One lives at a time on a link.
    class AcceptedWrites {
      public:
        explicit AcceptedWrites(TPDLLFunction& link) : logger_(link.logger_) {
            logger_.KeepAccepted(&list_);
        }
        ~AcceptedWrites() { logger_.KeepAccepted(nullptr); }
        AcceptedWrites(const AcceptedWrites&) = delete;
        AcceptedWrites& operator=(const AcceptedWrites&) = delete;

        const std::vector<AcceptedWrite>& List() const { return list_; }

      private:
        ServiceLogger& logger_;
        std::vector<AcceptedWrite> list_;
    };

    // Names the operation that the EEPROM writes made while it lives belong
    // to, unless an outer one is named already.
    class ServiceOperation {
      public:
        ServiceOperation(TPDLLFunction& link, const char* operation)
            : logger_(link.logger_), owner_(logger_.BeginOperation(operation)) {}
        ~ServiceOperation() {
            if (owner_) {
                logger_.EndOperation();
            }
        }
        ServiceOperation(const ServiceOperation&) = delete;
        ServiceOperation& operator=(const ServiceOperation&) = delete;

      private:
        ServiceLogger& logger_;
        bool owner_;
    };

    // One pattern print while it lives: the service log records it once, at
    // its end, as "pattern" with what was printed, the Bi-D test values the
    // printer wrote to its EEPROM meanwhile (not recorded one by one) and the
    // print's result (Done). A print inside another belongs to the outer one;
    // one ended without Done (it stopped before sending anything) is not
    // recorded.
    class PatternPrint {
      public:
        PatternPrint(TPDLLFunction& link, const char* what)
            : link_(link), what_(what), owner_(link.logger_.BeginPattern()) {}
        ~PatternPrint() {
            if (owner_) {
                std::string value = link_.logger_.EndPattern();
                if (result_) {
                    link_.RecordWrite(servicelog::Pattern, what_, std::move(value), *result_);
                }
            }
        }
        PatternPrint(const PatternPrint&) = delete;
        PatternPrint& operator=(const PatternPrint&) = delete;
        // The print's result, handed back.
        uint16_t Done(uint16_t result) {
            result_ = result;
            return result;
        }

      private:
        TPDLLFunction& link_;
        const char* what_;
        bool owner_;
        std::optional<uint16_t> result_;
    };

  private:
    // The address of the function, looked up anew; nullptr when the library
    // or the function is missing.
    void* Find(orvane::LibraryHandle library, const char* name);
    void* Context() { return this; }

    orvane::ILibraryLoader& loader_;
    std::string programFolder_;
    orvane::LibraryHandle channelLibrary_ = nullptr;
    orvane::LibraryHandle portLibrary_ = nullptr;
    bool dryRun_ = false;
    std::vector<DryRunCall> dryRunCalls_;
    ServiceLogger logger_;
};
