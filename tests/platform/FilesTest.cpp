#include <gtest/gtest.h>
#include <sys/file.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/Files.h"
#include "support/TempFolder.h"

namespace {

using testing_support::TempFolder;

// While a lock is held, another opening of the lock file cannot take it;
// once it is let go, it can.
TEST(FileLock, HoldsOthersOffUntilItIsLetGo) {
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
}

// A file read is known again by its identity while it stands at its name
// unchanged; a file renamed over the name, or a link there, is another file.
// What is no regular file (a FIFO) is refused at once, not waited for.
TEST(ReadFileIdentified, KnowsTheFileReadAndNoOther) {
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
}

}  // namespace
