#pragma once

#include <string>

namespace orvane {

// One write that reached a printer, as the service log keeps it. Every field
// is plain text; a field that is not known is empty.
struct ServiceLogRecord {
    std::string time;       // local time, ISO 8601 with its offset
    std::string port;       // the port name the link was opened on
    std::string model;      // "Orvane K31", "Orvane K32", or as the opener names it
    std::string usbId;      // the printer's USB ID once it was read or written on this link
    std::string operation;  // what the technician did, one stable word (link/ServiceLog.h)
    std::string target;     // an EEPROM address as 0xNN, or the name of an adjustment value
    std::string value;      // the byte written (0xNN) or the value sent (decimal)
    std::string result;     // "ok", or the result code the write gave, as 0xNNNN
};

// Where the writes are logged. Record never throws; false means the record is
// lost, with the reason.
class IServiceLog {
  public:
    virtual ~IServiceLog() = default;
    virtual bool Record(const ServiceLogRecord& record, std::string& reason) = 0;
};

}  // namespace orvane
