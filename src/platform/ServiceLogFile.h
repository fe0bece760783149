#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/NativeFile.h"
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

    // Every record in file order, read as ServiceLogReader reads them. A log
    // that does not exist yet is empty; a line that is not a record (wrong
    // number of fields, a broken escape, no time, longer than
    // ServiceLogReader::kLineLimit) is skipped and counted in damaged. False
    // with the reason when the file exists but cannot be read.
    bool ReadAll(std::vector<ServiceLogRecord>& out, std::string& reason) const;
    bool ReadAll(std::vector<ServiceLogRecord>& out, std::string& reason, size_t& damaged) const;

    // One record as its line (without the newline), and back.
    static std::string FormatLine(const ServiceLogRecord& record);
    static bool ParseLine(std::string_view line, ServiceLogRecord& record);

  private:
    std::string path_;
};

// The service log read a record at a time, so that memory does not grow with
// the log: the file is read in pieces under a shared lock, held from Open to
// the reader's end, and a line longer than kLineLimit is a damaged line,
// skipped without being held.
class ServiceLogReader {
  public:
    static constexpr size_t kLineLimit = 16 * 1024;

    explicit ServiceLogReader(std::string path);
    ~ServiceLogReader();
    ServiceLogReader(const ServiceLogReader&) = delete;
    ServiceLogReader& operator=(const ServiceLogReader&) = delete;

    // False with the reason when the file exists but cannot be read; a log
    // that does not exist yet reads as empty.
    bool Open(std::string& reason);
    // The next record in file order; false at the end, or when the file
    // cannot be read on (Failure then says why).
    bool Next(ServiceLogRecord& record);
    // Back to the first record, to read again what was read so far, its
    // damaged lines counted anew. The lock is let go: the log is only ever
    // appended to, so what was read stays as it was, and a writer need not
    // wait for a slow reader of the second reading.
    bool Rewind(std::string& reason);

    // The lines skipped so far as no records.
    size_t Damaged() const { return damaged_; }
    const std::string& Failure() const { return failure_; }

  private:
    bool Fill();
    bool TakeLine(std::string_view line, ServiceLogRecord& record);

    std::string path_;
    NativeFile file_;
    uint64_t offset_ = 0;            // bytes read from the file
    std::optional<uint64_t> limit_;  // after a rewind: the bytes read before it
    std::vector<char> buffer_;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool ended_ = false;
    std::string line_;  // the start of a line that goes on in the next piece
    bool tooLong_ = false;
    size_t damaged_ = 0;
    std::string failure_;
};

// Whether a record is one of port's (every port's when empty) and not older
// than since (no limit when empty); see FilterServiceLog.
bool ServiceLogRecordKept(const ServiceLogRecord& record, std::string_view port,
                          std::string_view since);

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
