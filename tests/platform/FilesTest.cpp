#include <gtest/gtest.h>
#include <sys/file.h>

#include <fcntl.h>
#include <unistd.h>

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

}  // namespace
