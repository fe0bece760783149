#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <vector>
#include <functional>
#include <iostream>

#include "platform/Files.h"
#include "platform/ServiceLogFile.h"
#include "support/LinuxOnly.h"
#include "support/PlantedFifo.h"
#include "support/TempFolder.h"

namespace {

using orvane::FileRead;
using orvane::FileWrite;
using testing_support::PlantedFifo;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

// While a lock is held, another opening of the lock file cannot take it;
// once it is let go, it can.
TEST(FileLock, HoldsOthersOffUntilItIsLetGo) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("the test takes the lock with flock() from outside");
#else
    TempFolder folder;
    const std::string path = folder / "bkupdata.lock";
    auto othersCanTake = [&path] {
        const int file = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        const bool taken = file >= 0 && ::flock(file, LOCK_EX | LOCK_NB) == 0;
        if (file >= 0) {
            ::close(file);
        }
        return taken;
    };
    {
        const orvane::FileLock lock(path);
        ASSERT_TRUE(lock.Held());
        EXPECT_FALSE(othersCanTake());
    }
    EXPECT_TRUE(othersCanTake());
    const orvane::FileLock nowhere(folder / "missing/folder/lock");
    EXPECT_FALSE(nowhere.Held());
#endif
}

#ifndef _WIN32
// What a test plants beside or at the file a writer replaces.
struct Planted {
    const char* what;
    // Plants the hazard for target in folder; false when this user cannot.
    std::function<bool(const std::string& folder, const std::string& target)> plant;
    // What stands at this name afterwards, as it stood before.
    std::string kept;
    FileWrite result;
};

std::string Kind(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return "nothing";
    }
    if (S_ISLNK(status.st_mode)) {
        char target[256] = {};
        return "link to " +
               std::string(target, std::max<ssize_t>(0, ::readlink(path.c_str(), target, 255)));
    }
    return S_ISREG(status.st_mode)    ? "file " + ReadFile(path)
           : S_ISDIR(status.st_mode)  ? "folder"
           : S_ISFIFO(status.st_mode) ? "fifo"
           : S_ISCHR(status.st_mode)  ? "device"
                                      : "other";
}

#endif

// A link planted at the temporary name is never written through, and a
// special file at the target is never replaced by a regular one; neither
// leaves a temporary file behind.
TEST(ReplaceFile, NeverFollowsALinkNorReplacesWhatIsNoRegularFile) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("symbolic links, FIFOs and device nodes to plant");
#else
    const std::vector<Planted> cases = {
        {"a link at the temporary name",
         [](const std::string& folder, const std::string& target) {
             WriteFile(folder + "/victim", "victim");
             return ::symlink((folder + "/victim").c_str(), (target + ".tmp").c_str()) == 0;
         },
         "target.tmp", FileWrite::Done},
        {"a FIFO at the target",
         [](const std::string&, const std::string& target) {
             return ::mkfifo(target.c_str(), 0600) == 0;
         },
         "target", FileWrite::CannotCreate},
        {"a device at the target",
         [](const std::string&, const std::string& target) {
             return testing_support::MakeCharacterDevice(target, 7);
         },
         "target", FileWrite::CannotCreate},
        {"a folder at the target",
         [](const std::string&, const std::string& target) {
             return ::mkdir(target.c_str(), 0700) == 0;
         },
         "target", FileWrite::CannotCreate},
        {"a link at the target to a FIFO",
         [](const std::string& folder, const std::string& target) {
             return ::mkfifo((folder + "/fifo").c_str(), 0600) == 0 &&
                    ::symlink((folder + "/fifo").c_str(), target.c_str()) == 0;
         },
         "target", FileWrite::CannotCreate},
    };
    for (const Planted& c : cases) {
        TempFolder folder;
        const std::string target = folder / "target";
        if (!c.plant(folder.Path(), target)) {
            std::cout << "[ SKIPPED  ] " << c.what << ": not permitted here\n";
            continue;
        }
        const std::string keptPath = folder / c.kept;
        const std::string before = Kind(keptPath);
        const std::string data = "the new bytes";
        EXPECT_EQ(orvane::ReplaceFile(target, data), c.result) << c.what;
        EXPECT_EQ(Kind(keptPath), before) << c.what;
        if (c.result == FileWrite::Done) {
            EXPECT_EQ(Kind(target), "file " + data) << c.what;
        }
        if (std::filesystem::exists(folder / "victim")) {
            EXPECT_EQ(ReadFile(folder / "victim"), "victim") << c.what << ": written through";
        }
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            EXPECT_TRUE(entry.path() == keptPath ||
                        !orvane::IsTemporaryName(entry.path().filename().string()))
                << c.what << ": " << entry.path();
        }
    }
#endif
}

// A reader never waits on a FIFO, never reads a device, and never reads past
// its bound; it tells which of these it met.
TEST(ReadWholeFile, ReadsARegularFileWithinItsBoundAndNothingElse) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("FIFOs and device nodes do not exist on Windows");
#else
    TempFolder folder;
    WriteFile(folder / "small", "12345678");
    WriteFile(folder / "large", "123456789");
    ::mkdir((folder / "folder").c_str(), 0700);
    PlantedFifo fifo(folder / "fifo");
    ASSERT_TRUE(fifo.Made());
    const bool device = testing_support::MakeCharacterDevice(folder / "zero", 5);
    const struct {
        const char* name;
        FileRead read;
    } cases[] = {
        {"small", FileRead::Done},      {"large", FileRead::TooLarge},
        {"missing", FileRead::Missing}, {"folder", FileRead::NotAFile},
        {"fifo", FileRead::NotAFile},   {"zero", device ? FileRead::NotAFile : FileRead::Missing},
    };
    for (const auto& c : cases) {
        std::string text = "stale";
        EXPECT_EQ(orvane::ReadWholeFile(folder / c.name, 8, text), c.read) << c.name;
        EXPECT_EQ(text, c.read == FileRead::Done ? "12345678" : "stale") << c.name;
        // The start of what is no regular file is not read either.
        std::vector<uint8_t> start;
        EXPECT_EQ(orvane::ReadFileStart(folder / c.name, 4, start),
                  c.read == FileRead::Done || c.read == FileRead::TooLarge)
            << c.name;
    }
    // Nor is it kept as a backup is.
    EXPECT_FALSE(orvane::KeepCopy(folder / "fifo", folder / "kept"));
    EXPECT_EQ(Kind(folder / "kept"), "nothing");
    // A link is kept as a copy of its file's bytes, never as a second name
    // of a file outside the folder.
    ::symlink((folder / "small").c_str(), (folder / "linked").c_str());
    ASSERT_TRUE(orvane::KeepCopy(folder / "linked", folder / "kept"));
    EXPECT_EQ(Kind(folder / "kept"), "file 12345678");
    struct stat outside {};
    ASSERT_EQ(::stat((folder / "small").c_str(), &outside), 0);
    EXPECT_EQ(outside.st_nlink, 1u) << "the kept copy is a second name of the linked file";

    // The service log neither waits on a FIFO nor writes a record into one.
    PlantedFifo logFifo(folder / "service.log", PlantedFifo::Side::ForWriters);
    ASSERT_TRUE(logFifo.Made());
    std::string reason;
    EXPECT_FALSE(orvane::ServiceLogFile(folder / "service.log")
                     .Record({"2026-12-07T10:00:00+01:00", "VTUSB001", "Orvane K31", "", "bid",
                              "bid-vsd1-black", "1", "ok"},
                             reason));
    EXPECT_FALSE(logFifo.WasOpened()) << "a record went into the FIFO";
    std::vector<orvane::ServiceLogRecord> records;
    EXPECT_FALSE(orvane::ServiceLogFile(folder / "fifo").ReadAll(records, reason));
    EXPECT_NE(reason.find(folder / "fifo"), std::string::npos) << reason;
    EXPECT_FALSE(fifo.WasOpened()) << "a reader opened the FIFO";
#endif
}

// A file read is known again by its identity while it stands at its name
// unchanged; a file renamed over the name, or a link there, is another file.
// What is no regular file (a FIFO) is refused at once, not waited for.
TEST(ReadFileIdentified, KnowsTheFileReadAndNoOther) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("hard and symbolic links made with link() and symlink(), FIFOs");
#else
    TempFolder folder;
    const std::string path = folder / "bkupdata.eep";
    const std::vector<uint8_t> first(64, 0x11);
    ASSERT_EQ(orvane::ReplaceFile(path, first), orvane::FileWrite::Done);
    std::vector<uint8_t> read;
    orvane::FileIdentity identity;
    ASSERT_TRUE(orvane::ReadFileIdentified(path, 65, read, identity));
    EXPECT_EQ(read, first);
    EXPECT_TRUE(orvane::IsSameFile(path, identity));
    // A second name of the same file is the same file.
    ASSERT_EQ(::link(path.c_str(), (folder / "kept.eep").c_str()), 0);
    EXPECT_TRUE(orvane::IsSameFile(folder / "kept.eep", identity));

    // Another backup put in its place, with the same bytes even.
    ASSERT_EQ(orvane::ReplaceFile(path, first), orvane::FileWrite::Done);
    EXPECT_FALSE(orvane::IsSameFile(path, identity));
    EXPECT_TRUE(orvane::IsSameFile(folder / "kept.eep", identity));
    ASSERT_EQ(::unlink(path.c_str()), 0);
    EXPECT_FALSE(orvane::IsSameFile(path, identity));
    ASSERT_EQ(::symlink((folder / "kept.eep").c_str(), path.c_str()), 0);
    EXPECT_FALSE(orvane::IsSameFile(path, identity)) << "a link is not followed";

    const std::string fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(orvane::ReadFileIdentified(fifo, 65, read, identity));
    EXPECT_FALSE(orvane::ReadFileIdentified(folder / "absent", 65, read, identity));
#endif
}

}  // namespace
