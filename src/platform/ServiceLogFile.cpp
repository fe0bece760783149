#include "platform/ServiceLogFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <utility>

#include "platform/BackupFolder.h"
#include "platform/Files.h"

namespace orvane {

namespace {

constexpr size_t kFieldCount = 8;
constexpr size_t kReadChunk = 64 * 1024;

std::string SystemReason(const std::string& path, int error) {
    return path + ": " + std::generic_category().message(error);
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

bool LocksAndReads(int file, const std::string& path, std::string& text, std::string& reason) {
    while (::flock(file, LOCK_SH) != 0) {
        if (errno != EINTR) {
            reason = SystemReason(path, errno);
            return false;
        }
    }
    std::array<char, kReadChunk> chunk{};
    for (;;) {
        const ssize_t count = ::read(file, chunk.data(), chunk.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            reason = SystemReason(path, errno);
            return false;
        }
        if (count == 0) {
            return true;
        }
        text.append(chunk.data(), static_cast<size_t>(count));
    }
}

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
    const int file = ::open(
        path_.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (file < 0) {
        reason = SystemReason(path_, errno);
        return false;
    }
    bool written = false;
    int error = 0;
    while (::flock(file, LOCK_EX) != 0 && errno == EINTR) {
    }
    // Without the lock the single write still appends whole; it is tried anyway.
    std::string line = FormatLine(record) + '\n';
    struct stat status {};
    char last = '\n';
    if (::fstat(file, &status) == 0 && status.st_size > 0 &&
        ::pread(file, &last, 1, status.st_size - 1) == 1 && last != '\n') {
        line.insert(line.begin(), '\n');
    }
    for (;;) {
        const ssize_t count = ::write(file, line.data(), line.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        written = count == static_cast<ssize_t>(line.size());
        error = count < 0 ? errno : ENOSPC;
        break;
    }
    if (::close(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        reason = SystemReason(path_, error);
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
    // A FIFO would keep the reader waiting, a device give lines without end.
    if (const FileKind kind = KindOf(path_);
        kind == FileKind::Folder || kind == FileKind::Special) {
        reason = path_ + ": not a regular file";
        return false;
    }
    const int file = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        if (errno == ENOENT) {
            return true;
        }
        reason = SystemReason(path_, errno);
        return false;
    }
    std::string text;
    const bool read = LocksAndReads(file, path_, text, reason);
    ::close(file);
    if (!read) {
        return false;
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view line = std::string_view(text).substr(start, end - start);
        ServiceLogRecord record;
        if (ParseLine(line, record)) {
            out.push_back(std::move(record));
        } else if (!line.empty()) {
            ++damaged;
        }
        start = end + 1;
    }
    return true;
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

std::vector<ServiceLogRecord> FilterServiceLog(const std::vector<ServiceLogRecord>& records,
                                               std::string_view port, std::string_view since) {
    std::vector<ServiceLogRecord> kept;
    for (const ServiceLogRecord& record : records) {
        if (!port.empty() && record.port != port) {
            continue;
        }
        if (!since.empty() && std::string_view(record.time).substr(0, since.size()) < since) {
            continue;
        }
        kept.push_back(record);
    }
    return kept;
}

}  // namespace orvane
