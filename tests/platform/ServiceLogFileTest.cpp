// The service log's file: one line per record, whole lines from concurrent
// writers, damaged lines skipped, and the filters of the log command.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/ServiceLogFile.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

namespace {

using orvane::ServiceLogFile;
using orvane::ServiceLogRecord;
using testing_support::ReadFile;
using testing_support::ScopedEnvironment;
using testing_support::TempFolder;
using testing_support::WriteFile;

ServiceLogRecord Sample(const std::string& value, const std::string& port = "VTUSB001") {
    return {"2026-12-07T10:00:00+01:00",
            port,
            "Orvane K31",
            "A1B2C3D4E5435E7F30",
            "bid",
            "bid-vsd1-black",
            value,
            "ok"};
}

std::vector<ServiceLogRecord> ReadBack(const ServiceLogFile& log, size_t& damaged) {
    std::vector<ServiceLogRecord> records;
    std::string reason;
    EXPECT_TRUE(log.ReadAll(records, reason, damaged)) << reason;
    return records;
}

TEST(ServiceLogFile, EachRecordIsOneLineWhateverItsFieldsHold) {
    TempFolder folder;
    // A folder that is not there yet: the first record makes it.
    ServiceLogFile log(folder / "state/orvane-adjust/service.log");
    const std::vector<std::string> values = {
        "-3", "", "tab\there", "two\nlines", "back\\slash\\t", "cr\r", "\\", "日本"};
    for (const std::string& value : values) {
        std::string reason;
        ASSERT_TRUE(log.Record(Sample(value), reason)) << reason;
    }
    const std::string text = ReadFile(log.Path());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(values.size()));
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "2026-12-07T10:00:00+01:00\tVTUSB001\tOrvane K31\tA1B2C3D4E5435E7F30\tbid\t"
              "bid-vsd1-black\t-3\tok");

    size_t damaged = 99;
    const auto records = ReadBack(log, damaged);
    EXPECT_EQ(damaged, 0u);
    ASSERT_EQ(records.size(), values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(records[i].value, values[i]);
        EXPECT_EQ(records[i].usbId, "A1B2C3D4E5435E7F30");
    }
}

TEST(ServiceLogFile, DamagedLinesAreSkippedAndCountedAndSpoilNoLaterRecord) {
    TempFolder folder;
    ServiceLogFile log(folder / "service.log");
    const std::string good = ServiceLogFile::FormatLine(Sample("1"));
    const std::vector<std::string> damagedLines = {
        "not a record",
        "2026-12-07T10:00:00+01:00\tVTUSB001\tOrvane K31\t\tbid\tbid-eco-black\t1",  // 7 fields
        good + "\textra",                                                            // 9 fields
        "2026-12-07T10:00:00+01:00\tVTUSB001\tm\t\tbid\tt\tbad \\x escape\tok",
        "2026-12-07T10:00:00+01:00\tVTUSB001\tm\t\tbid\tt\tends in \\\tok",
        "yesterday\tVTUSB001\tm\t\tbid\tt\t1\tok",               // no time
        "2026-12-07T10:00:00+01:00\tVTUSB001\tm\t\t\tt\t1\tok",  // no operation
        std::string("\x00\x01\x02", 3),
    };
    std::string text = good + "\n\n";
    for (const std::string& line : damagedLines) {
        text += line + "\n";
    }
    // A writer that stopped in the middle of its line.
    text += good.substr(0, 20);
    WriteFile(log.Path(), text);

    std::string reason;
    ASSERT_TRUE(log.Record(Sample("2"), reason)) << reason;
    size_t damaged = 0;
    const auto records = ReadBack(log, damaged);
    EXPECT_EQ(damaged, damagedLines.size() + 1) << "the unfinished line counts once";
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].value, "1");
    EXPECT_EQ(records[1].value, "2") << "the record after the unfinished line is whole";
}

TEST(ServiceLogFile, ALogThatCannotBeWrittenOrReadSaysWhy) {
    TempFolder folder;
    WriteFile(folder / "file", "x");
    std::string reason;
    // A file stands where its folder should be: no permissions can help here.
    ServiceLogFile blocked(folder / "file/orvane-adjust/service.log");
    EXPECT_FALSE(blocked.Record(Sample("1"), reason));
    EXPECT_NE(reason.find(blocked.Path()), std::string::npos) << reason;

    std::vector<ServiceLogRecord> records{Sample("stale")};
    ServiceLogFile missing(folder / "none.log");
    EXPECT_TRUE(missing.ReadAll(records, reason)) << "no log yet is an empty log";
    EXPECT_TRUE(records.empty());

    std::filesystem::create_directory(folder / "folder.log");
    ServiceLogFile folderLog(folder / "folder.log");
    reason.clear();
    EXPECT_FALSE(folderLog.ReadAll(records, reason));
    EXPECT_FALSE(reason.empty());
}

// Two processes append at once, each a run of long records: every line comes
// out whole, and each writer's records keep their order.
TEST(ServiceLogFile, ConcurrentWritersNeitherInterleaveNorLoseLines) {
    TempFolder folder;
    const std::string path = folder / "service.log";
    constexpr int kEach = 300;
    const std::string padding(5000, 'p');  // far beyond what one write is sure to keep whole
    const auto write = [&](const char* port) {
        ServiceLogFile log(path);
        bool ok = true;
        for (int i = 0; i < kEach; ++i) {
            std::string reason;
            ok = log.Record(Sample(std::to_string(i) + padding, port), reason) && ok;
        }
        return ok;
    };
#ifdef _WIN32
    // No fork: two threads, each with its own handle of the file (Windows'
    // locks belong to the handle, so they keep the two apart as they would
    // two processes).
    bool oks[2] = {false, false};
    std::thread first([&] { oks[0] = write("VTUSB001"); });
    std::thread second([&] { oks[1] = write("VTUSB002"); });
    first.join();
    second.join();
    EXPECT_TRUE(oks[0] && oks[1]);
#else
    std::vector<pid_t> children;
    for (const char* port : {"VTUSB001", "VTUSB002"}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            _exit(write(port) ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
#endif
    size_t damaged = 0;
    const auto records = ReadBack(ServiceLogFile(path), damaged);
    EXPECT_EQ(damaged, 0u);
    ASSERT_EQ(records.size(), 2u * kEach);
    std::map<std::string, int> next;
    for (const ServiceLogRecord& record : records) {
        EXPECT_EQ(record.value, std::to_string(next[record.port]++) + padding);
    }
    EXPECT_EQ(next["VTUSB001"], kEach);
    EXPECT_EQ(next["VTUSB002"], kEach);
}

// The reader holds one line at a time: a line longer than its limit is a
// damaged line, however valid its fields, and lines across the pieces it
// reads in come out whole. A second reading gives what the first read.
TEST(ServiceLogReader, ReadsALineAtATimeWithinItsLimit) {
    TempFolder folder;
    const std::string path = folder / "service.log";
    const ServiceLogRecord empty = Sample("");
    const size_t room =
        orvane::ServiceLogReader::kLineLimit - ServiceLogFile::FormatLine(empty).size();
    std::string text;
    std::vector<std::string> kept;
    const auto add = [&](const std::string& value, bool fits) {
        text += ServiceLogFile::FormatLine(Sample(value)) + '\n';
        if (fits) {
            kept.push_back(value);
        }
    };
    for (int i = 0; i < 3000; ++i) {  // lines across many pieces of the file
        add(std::to_string(i), true);
    }
    add(std::string(room, 'a'), true);        // as long as a line may be
    add(std::string(room + 1, 'b'), false);   // one byte longer
    add(std::string(20 * room, 'c'), false);  // over several pieces
    add("after", true);
    text += ServiceLogFile::FormatLine(Sample("unended"));
    kept.push_back("unended");
    WriteFile(path, text);

    orvane::ServiceLogReader reader(path);
    std::string reason;
    ASSERT_TRUE(reader.Open(reason)) << reason;
    for (int reading = 0; reading < 2; ++reading) {
        std::vector<std::string> read;
        ServiceLogRecord record;
        while (reader.Next(record)) {
            read.push_back(record.value);
        }
        EXPECT_TRUE(reader.Failure().empty()) << reader.Failure();
        EXPECT_EQ(reader.Damaged(), 2u) << "reading " << reading;
        ASSERT_EQ(read.size(), kept.size()) << "reading " << reading;
        EXPECT_TRUE(read == kept) << "reading " << reading;
        // Appended after the first reading: the second does not see it.
        ASSERT_TRUE(reader.Rewind(reason)) << reason;
        reason.clear();
        EXPECT_TRUE(ServiceLogFile(path).Record(Sample("later"), reason)) << reason;
    }
    size_t damaged = 0;
    const auto all = ReadBack(ServiceLogFile(path), damaged);
    EXPECT_EQ(damaged, 2u);
    EXPECT_EQ(all.back().value, "later");
}

TEST(ServiceLogFile, FiltersByPortAndByTheLocalTimeSince) {
    const std::pair<const char*, const char*> logged[] = {
        {"2026-12-06T23:59:59+01:00", "VTUSB001"},
        {"2026-12-07T00:00:00+01:00", "VTUSB002"},
        {"2026-12-07T09:30:00-05:00", "VTUSB001"},
        {"2026-12-08T08:00:00+01:00", "VTUSB001"}};
    std::vector<ServiceLogRecord> records;
    for (const auto& [time, port] : logged) {
        records.push_back(Sample(std::to_string(records.size()), port));
        records.back().time = time;
    }
    struct Case {
        std::string port;
        std::string since;
        std::string kept;  // the records' values, in order
    };
    const Case cases[] = {
        {"", "", "0123"},
        {"VTUSB001", "", "023"},
        {"", "2026-12-07", "123"},
        {"VTUSB001", "2026-12-07T09:30", "23"},
        {"VTUSB001", "2026-12-07T09:30:01", "3"},
        {"VTUSB002", "2026-12-08", ""},
        {"LPT1:", "", ""},
    };
    for (const Case& c : cases) {
        std::string kept;
        for (const ServiceLogRecord& record : orvane::FilterServiceLog(records, c.port, c.since)) {
            kept += record.value;
        }
        EXPECT_EQ(kept, c.kept) << c.port << " " << c.since;
    }
    for (const char* since :
         {"2026-12-07", "2026-12-07T09:30", "2026-12-07T09:30:00", "2028-02-29", "2026-04-30"}) {
        EXPECT_TRUE(orvane::IsServiceLogSince(since)) << since;
    }
    for (const char* since :
         {"", "2026-12-7", "07.12.2026", "2026-12-07 09:30", "2026-12-07T9",
          "2026-12-07T09:30:00+01:00", "2026-13-45", "2026-00-10", "2026-12-00", "2026-12-07T24:00",
          "2026-12-07T09:60", "2026-12-07T09:30:60", "2026-02-29", "2026-02-31", "2026-04-31"}) {
        EXPECT_FALSE(orvane::IsServiceLogSince(since)) << since;
    }
}

TEST(ServiceLogFile, LivesInTheUsersStateFolder) {
#ifdef _WIN32
    // No HOME: the local application data folder.
    const std::string local = orvane::Utf8Of(std::filesystem::path(_wgetenv(L"LOCALAPPDATA")));
    const std::pair<const char*, std::string> cases[] = {
        {"C:/srv/state", "C:/srv/state/orvane-adjust/service.log"},
        {"relative/state", local + "/orvane-adjust/service.log"},
        {nullptr, local + "/orvane-adjust/service.log"},
    };
#else
    ScopedEnvironment home("HOME", "/home/tech");
    const std::pair<const char*, std::string> cases[] = {
        {"/srv/state", "/srv/state/orvane-adjust/service.log"},
        {"relative/state", "/home/tech/.local/state/orvane-adjust/service.log"},
        {nullptr, "/home/tech/.local/state/orvane-adjust/service.log"},
    };
#endif
    for (const auto& [state, expected] : cases) {
        ScopedEnvironment environment("XDG_STATE_HOME", state);
        EXPECT_EQ(ServiceLogFile::DefaultPath(), expected) << (state ? state : "unset");
    }
}

TEST(IsoTime, WritesTheOffsetOfTheLocalTime) {
    const std::pair<int, const char*> cases[] = {
        {0, "2026-03-05T07:08:09+00:00"},
        {60, "2026-03-05T07:08:09+01:00"},
        {-330, "2026-03-05T07:08:09-05:30"},
        {345, "2026-03-05T07:08:09+05:45"},
    };
    for (const auto& [offset, expected] : cases) {
        orvane::LocalDateTime time{2026, 3, 5, 7, 8, 9};
        time.utcOffsetMinutes = offset;
        EXPECT_EQ(orvane::IsoTime(time), expected);
    }
}

}  // namespace
