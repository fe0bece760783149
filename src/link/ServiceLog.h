#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/ServiceLogRecord.h"

// The service log as the link sees it: every write that reaches a printer
// (EEPROM writes, the value packets and their store) is recorded with the
// printer it went to. The log itself (a file, a test's list) is an
// IServiceLog; platform/ServiceLogFile.h keeps it on a file.
using ServiceLogRecord = orvane::ServiceLogRecord;
using IServiceLog = orvane::IServiceLog;

// The operation words of the records. An EEPROM write made by a page
// operation of several writes carries that operation's word; one made outside
// any of them is an "eeprom-write".
namespace servicelog {

inline constexpr const char* EepromWrite = "eeprom-write";
inline constexpr const char* Market = "market";   // destination bytes (market page, restore)
inline constexpr const char* HeadId = "head-id";  // the Head ID's five bytes
inline constexpr const char* UsbId = "usb-id";    // serial and date code, 18 bytes
inline constexpr const char* CrHeatProtect = "cr-heat-protect";
inline constexpr const char* WasteReset = "waste-reset";  // the pad counter's five bytes
inline constexpr const char* Restore = "restore";         // a backup written to the board
// Value packets, by the value they set; the target names the value.
inline constexpr const char* Bid = "bid";
// A Bi-D value a pattern generator sets between its passes: the printer
// keeps a Bi-D value in its EEPROM at once, so these change the board too.
// Inside a pattern print (below) they are counted in its one record, not
// recorded one by one; logs written before hold them line by line. (PF
// values of the PF pattern are held only until a store, which the pattern
// never sends; they are not recorded.)
inline constexpr const char* BidTest = "bid-test";
// A pattern print, one record: the target names what was printed
// ("head-angular", "bid", "photo-sheet", ...), the value the Bi-D test values
// the printer wrote to its EEPROM meanwhile ("12 Bi-D test values", empty for
// none), the result the print's.
inline constexpr const char* Pattern = "pattern";
inline constexpr const char* HeadAngular = "head-angular";
inline constexpr const char* Pf = "pf";
inline constexpr const char* TopMargin = "top-margin";
inline constexpr const char* FirstDot = "first-dot";
// The store packet: the printer keeps the values sent since the last store.
inline constexpr const char* Store = "store";
// Accepted by the printer but never logged (AcceptedWrite): its restart, and
// a maintenance sequence started (the target names it).
inline constexpr const char* Reset = "reset";
inline constexpr const char* Sequence = "sequence";

// The kinds of record, by what they change: "write" (adjustment values,
// their store, the CR heat-protect offset, a byte written alone), "identity"
// (market, Head ID, USB ID), "reset" (the waste ink pad counter), "restore",
// "pattern" (a pattern print; a log written before also holds its Bi-D test
// values line by line, "bid-test") and "other" (an operation this program
// does not know).
inline constexpr const char* kKinds[] = {"write",   "identity", "reset",
                                         "restore", "pattern",  "other"};
const char* KindOf(std::string_view operation);
bool IsKind(std::string_view kind);

// "ok" for ResultOk, else the code as 0xNNNN.
std::string ResultText(uint16_t result);
// A byte as 0xNN.
std::string ByteText(uint8_t value);

}  // namespace servicelog

// A write the printer accepted (answered with 1): an EEPROM write, a value
// packet or a store, as the service log records it, or its restart or a
// maintenance sequence started, which the log leaves out.
struct AcceptedWrite {
    std::string operation;
    std::string target;
    std::string value;
    bool operator==(const AcceptedWrite&) const = default;
};

// What the link knows for its records: where they go, the printer it is
// opened on, the USB ID read or written since, the operation under way, and
// whether a record was lost.
class ServiceLogger {
  public:
    // clock null: the system clock.
    void Attach(IServiceLog* log, orvane::IClock* clock);
    bool Attached() const { return log_ != nullptr; }

    // The printer of the records that follow; forgets the USB ID.
    void SetSubject(std::string port, std::string model);
    void ForgetUsbId() { usbId_.clear(); }
    void NoteUsbId(std::string id) { usbId_ = std::move(id); }
    const std::string& UsbId() const { return usbId_; }

    // Names the operation of the writes that follow, unless one is named
    // already (an operation inside another belongs to the outer one). True
    // when it was named here and must be ended here.
    bool BeginOperation(const char* operation);
    void EndOperation() { operation_ = nullptr; }
    // The operation under way, or fallback when none is.
    const char* Operation(const char* fallback) const {
        return operation_ != nullptr ? operation_ : fallback;
    }

    // Records one write; a record that cannot be kept is noted, never thrown.
    // An accepted one goes to the list of accepted writes too. A Bi-D test
    // value during a pattern print is only counted (and accepted).
    void Record(const char* operation, std::string target, std::string value, uint16_t result);

    // A pattern print begins, unless one is under way (a print inside
    // another belongs to the outer one). True when it was begun here and
    // must be ended here.
    bool BeginPattern();
    // Ends it: the value of its record, the Bi-D test values it set.
    std::string EndPattern();
    // The list that the writes accepted from now on are added to, whether a
    // log is attached or not; null: none is kept.
    void KeepAccepted(std::vector<AcceptedWrite>* list) { accepted_ = list; }
    // A write the printer accepted that the log does not record.
    void Accept(const char* operation, std::string target, std::string value);

    // True once, after the first record that could not be kept, with the
    // reason; false before and ever after.
    bool TakeFailure(std::string& reason);

  private:
    IServiceLog* log_ = nullptr;
    orvane::IClock* clock_ = nullptr;
    orvane::SystemClock systemClock_;
    std::string port_;
    std::string model_;
    std::string usbId_;
    const char* operation_ = nullptr;
    bool pattern_ = false;  // a pattern print is under way
    int patternTestValues_ = 0;
    std::vector<AcceptedWrite>* accepted_ = nullptr;
    std::string failure_;
    bool failed_ = false;
    bool reported_ = false;
};
