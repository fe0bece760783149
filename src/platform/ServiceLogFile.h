#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ServiceLogRecord.h"

namespace orvane {

// The service log on a file: one line per record, the eight fields of the
// record in their order (time, port, model, USB ID, operation, target, value,
// result) separated by tabs and ended by a newline. A tab, newline, carriage
// return or backslash inside a field is written as \t, \n, \r or \\, so that
// every record is one line and `cut -f5` gives the operations.
//
// The program and the command line may append at the same time: each record
// is one write() to a file opened for appending, under an exclusive flock of
// the file, and a reader takes a shared one. A line that a failed write left
// unfinished is ended before the next record, so it spoils no other line.
class ServiceLogFile final : public IServiceLog {
  public:
    explicit ServiceLogFile(std::string path);

    // $XDG_STATE_HOME/orvane-adjust/service.log, ~/.local/state in place of
    // $XDG_STATE_HOME when that is not set or not an absolute path.
    static std::string DefaultPath();

    const std::string& Path() const { return path_; }

    // Appends the record, creating the file and its folders as needed.
    bool Record(const ServiceLogRecord& record, std::string& reason) override;

    // Every record in file order. A log that does not exist yet is empty; a
    // line that is not a record (wrong number of fields, a broken escape, no
    // time) is skipped and counted in damaged. False with the reason when the
    // file exists but cannot be read.
    bool ReadAll(std::vector<ServiceLogRecord>& out, std::string& reason) const;
    bool ReadAll(std::vector<ServiceLogRecord>& out, std::string& reason, size_t& damaged) const;

    // One record as its line (without the newline), and back.
    static std::string FormatLine(const ServiceLogRecord& record);
    static bool ParseLine(std::string_view line, ServiceLogRecord& record);

  private:
    std::string path_;
};

// Whether since is a date the log can be filtered by: YYYY-MM-DD, optionally
// followed by THH:MM or THH:MM:SS, in the local time of the records.
bool IsServiceLogSince(std::string_view since);

// The records of port (every port when empty) whose local time is not before
// since (no limit when empty), in their order. Times are compared as the
// clock showed them where they were written, so "2026-12-07" takes every
// record of that day and later.
std::vector<ServiceLogRecord> FilterServiceLog(const std::vector<ServiceLogRecord>& records,
                                               std::string_view port, std::string_view since);

}  // namespace orvane
