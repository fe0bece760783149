#include "platform/ServiceLogFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>
#include <utility>

#include "platform/BackupFolder.h"
#include "platform/Files.h"

namespace orvane {

namespace {

constexpr size_t kFieldCount = 8;
constexpr size_t kReadChunk = 64 * 1024;

std::string SystemReason(const std::string& path, const std::error_code& error) {
    return path + ": " + error.message();
}

void AppendEscaped(std::string& line, const std::string& field) {
    for (const char c : field) {
        switch (c) {
            case '\t':
                line += "\\t";
                break;
            case '\n':
                line += "\\n";
                break;
            case '\r':
                line += "\\r";
                break;
            case '\\':
                line += "\\\\";
                break;
            default:
                line.push_back(c);
        }
    }
}

bool Unescape(std::string_view text, std::string& field) {
    field.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            field.push_back(text[i]);
            continue;
        }
        if (++i == text.size()) {
            return false;
        }
        switch (text[i]) {
            case 't':
                field.push_back('\t');
                break;
            case 'n':
                field.push_back('\n');
                break;
            case 'r':
                field.push_back('\r');
                break;
            case '\\':
                field.push_back('\\');
                break;
            default:
                return false;
        }
    }
    return true;
}

// "YYYY-MM-DD", then "THH:MM" and ":SS" as far as pattern goes.
bool MatchesTimePattern(std::string_view text, std::string_view pattern) {
    if (text.size() != pattern.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (pattern[i] == 'D' ? !digit : text[i] != pattern[i]) {
            return false;
        }
    }
    return true;
}

constexpr std::string_view kDatePattern = "DDDD-DD-DD";
constexpr std::string_view kMinutePattern = "DDDD-DD-DDTDD:DD";
constexpr std::string_view kSecondPattern = "DDDD-DD-DDTDD:DD:DD";

}  // namespace

ServiceLogFile::ServiceLogFile(std::string path) : path_(std::move(path)) {}

std::string ServiceLogFile::DefaultPath() {
    return UserStateFolder() + "/orvane-adjust/service.log";
}

std::string ServiceLogFile::FormatLine(const ServiceLogRecord& record) {
    std::string line;
    const std::array<const std::string*, kFieldCount> fields = {
        &record.time,      &record.port,   &record.model, &record.usbId,
        &record.operation, &record.target, &record.value, &record.result};
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line.push_back('\t');
        }
        AppendEscaped(line, *fields[i]);
    }
    return line;
}

bool ServiceLogFile::ParseLine(std::string_view line, ServiceLogRecord& record) {
    ServiceLogRecord parsed;
    const std::array<std::string*, kFieldCount> fields = {
        &parsed.time,      &parsed.port,   &parsed.model, &parsed.usbId,
        &parsed.operation, &parsed.target, &parsed.value, &parsed.result};
    size_t start = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        const size_t tab = line.find('\t', start);
        const bool last = i + 1 == fields.size();
        if (last != (tab == std::string_view::npos)) {
            return false;
        }
        const size_t end = last ? line.size() : tab;
        if (!Unescape(line.substr(start, end - start), *fields[i])) {
            return false;
        }
        start = end + 1;
    }
    if (parsed.time.size() < kSecondPattern.size() ||
        !MatchesTimePattern(std::string_view(parsed.time).substr(0, kSecondPattern.size()),
                            kSecondPattern) ||
        parsed.operation.empty()) {
        return false;
    }
    record = std::move(parsed);
    return true;
}

bool ServiceLogFile::Record(const ServiceLogRecord& record, std::string& reason) {
    if (const size_t slash = path_.rfind('/'); slash != std::string::npos && slash > 0) {
        CreateFolders(path_.substr(0, slash));  // a failure shows when the file is opened
    }
    // Never into a FIFO or a device, nor through a link.
    if (const FileKind kind = KindOf(path_);
        kind == FileKind::Folder || kind == FileKind::Special) {
        reason = path_ + ": not a regular file";
        return false;
    }
    // Read access as well, to see whether the file ends with a whole line.
    NativeFile file;
    if (!file.Open(path_, NativeFile::Mode::AppendCreate)) {
        reason = SystemReason(path_, file.LastError());
        return false;
    }
    // Without the lock the single write still appends whole; it is tried anyway.
    file.Lock(true);
    std::string line = FormatLine(record) + '\n';
    FileStatus status;
    char last = '\n';
    if (file.Status(status) && status.size > 0 &&
        file.ReadAt(&last, 1, static_cast<uint64_t>(status.size - 1)) == 1 && last != '\n') {
        line.insert(line.begin(), '\n');
    }
    bool written = file.WriteAll(line.data(), line.size());
    written = file.Close() && written;
    if (!written) {
        reason = SystemReason(path_, file.LastError());
    }
    return written;
}

bool ServiceLogFile::ReadAll(std::vector<ServiceLogRecord>& out, std::string& reason) const {
    size_t damaged = 0;
    return ReadAll(out, reason, damaged);
}

bool ServiceLogFile::ReadAll(std::vector<ServiceLogRecord>& out, std::string& reason,
                             size_t& damaged) const {
    out.clear();
    damaged = 0;
    ServiceLogReader reader(path_);
    if (!reader.Open(reason)) {
        return false;
    }
    ServiceLogRecord record;
    while (reader.Next(record)) {
        out.push_back(std::move(record));
    }
    damaged = reader.Damaged();
    reason = reader.Failure();
    return reason.empty();
}

// ---------------------------------------------------------------------------
// Reading a record at a time

ServiceLogReader::ServiceLogReader(std::string path) : path_(std::move(path)) {}

ServiceLogReader::~ServiceLogReader() = default;  // closing the file lets the lock go

bool ServiceLogReader::Open(std::string& reason) {
    // A FIFO would keep the reader waiting, a device give lines without end.
    if (const FileKind kind = KindOf(path_);
        kind == FileKind::Folder || kind == FileKind::Special) {
        reason = path_ + ": not a regular file";
        ended_ = true;
        return false;
    }
    if (!file_.Open(path_, NativeFile::Mode::Read)) {
        if (file_.LastError() == std::errc::no_such_file_or_directory) {
            ended_ = true;
            return true;
        }
        reason = SystemReason(path_, file_.LastError());
        return false;
    }
    if (!file_.Lock(false)) {
        reason = SystemReason(path_, file_.LastError());
        return false;
    }
    // A folder opens, and fails only at its first read.
    if (!Fill() && !failure_.empty()) {
        reason = failure_;
        return false;
    }
    return true;
}

bool ServiceLogReader::Fill() {
    begin_ = 0;
    end_ = 0;
    if (ended_ || !file_.IsOpen()) {
        ended_ = true;
        return false;
    }
    buffer_.resize(kReadChunk);
    size_t wanted = buffer_.size();
    if (limit_) {
        wanted = static_cast<size_t>(std::min<uint64_t>(wanted, *limit_ - offset_));
    }
    const int64_t count = wanted == 0 ? 0 : file_.Read(buffer_.data(), wanted);
    if (count < 0) {
        failure_ = SystemReason(path_, file_.LastError());
    }
    if (count <= 0) {
        ended_ = true;
        return false;
    }
    end_ = static_cast<size_t>(count);
    offset_ += end_;
    return true;
}

bool ServiceLogReader::Rewind(std::string& reason) {
    if (file_.IsOpen() && !file_.Rewind()) {
        reason = SystemReason(path_, file_.LastError());
        return false;
    }
    file_.Unlock();
    limit_ = offset_;
    offset_ = 0;
    begin_ = 0;
    end_ = 0;
    ended_ = !file_.IsOpen();
    line_.clear();
    tooLong_ = false;
    damaged_ = 0;
    failure_.clear();
    return true;
}

bool ServiceLogReader::TakeLine(std::string_view line, ServiceLogRecord& record) {
    bool taken = false;
    if (tooLong_) {
        ++damaged_;
    } else if (ServiceLogFile::ParseLine(line, record)) {
        taken = true;
    } else if (!line.empty()) {
        ++damaged_;
    }
    line_.clear();
    tooLong_ = false;
    return taken;
}

bool ServiceLogReader::Next(ServiceLogRecord& record) {
    for (;;) {
        if (begin_ == end_ && !Fill()) {
            // The last line, when no newline ends it.
            const bool open = !line_.empty() || tooLong_;
            return open && failure_.empty() && TakeLine(line_, record);
        }
        const char* start = buffer_.data() + begin_;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
        const size_t piece =
            newline != nullptr ? static_cast<size_t>(newline - start) : end_ - begin_;
        begin_ += piece + (newline != nullptr ? 1 : 0);
        if (newline != nullptr && line_.empty() && !tooLong_) {
            // The whole line is in this piece: it is parsed where it is.
            if (piece > kLineLimit) {
                tooLong_ = true;
            }
            if (TakeLine(std::string_view(start, piece), record)) {
                return true;
            }
            continue;
        }
        if (!tooLong_ && line_.size() + piece > kLineLimit) {
            tooLong_ = true;
            line_.clear();
        } else if (!tooLong_) {
            line_.append(start, piece);
        }
        if (newline != nullptr && TakeLine(line_, record)) {
            return true;
        }
    }
}

bool IsServiceLogSince(std::string_view since) {
    if (!MatchesTimePattern(since, kDatePattern) && !MatchesTimePattern(since, kMinutePattern) &&
        !MatchesTimePattern(since, kSecondPattern)) {
        return false;
    }
    // The digits make a time that can be: a day of the calendar (no 31st
    // of April, a 29th of February in leap years only), hour 0-23, minute
    // and second 0-59.
    auto number = [since](size_t at) { return (since[at] - '0') * 10 + (since[at + 1] - '0'); };
    const std::chrono::year_month_day day{std::chrono::year(number(0) * 100 + number(2)),
                                          std::chrono::month(static_cast<unsigned>(number(5))),
                                          std::chrono::day(static_cast<unsigned>(number(8)))};
    const bool date = day.ok();
    const bool hour =
        since.size() < kMinutePattern.size() || (number(11) <= 23 && number(14) <= 59);
    const bool second = since.size() < kSecondPattern.size() || number(17) <= 59;
    return date && hour && second;
}

bool ServiceLogRecordKept(const ServiceLogRecord& record, std::string_view port,
                          std::string_view since) {
    return (port.empty() || record.port == port) &&
           (since.empty() || std::string_view(record.time).substr(0, since.size()) >= since);
}

std::vector<ServiceLogRecord> FilterServiceLog(const std::vector<ServiceLogRecord>& records,
                                               std::string_view port, std::string_view since) {
    std::vector<ServiceLogRecord> kept;
    for (const ServiceLogRecord& record : records) {
        if (ServiceLogRecordKept(record, port, since)) {
            kept.push_back(record);
        }
    }
    return kept;
}

}  // namespace orvane
