// The number a saved page takes comes from the pages folder's .next counter,
// never from listing the folder: saving a page costs the same in a folder of
// a thousand pages as in an empty one.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/inotify.h>
#include <unistd.h>
#endif

#include <cstring>
#include <string>

#include "support/LinuxOnly.h"
#include "support/TempFolder.h"
#include "vprinter/Page.h"
#include "vprinter/PageFiles.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

#ifndef _WIN32
// Counts the reads of a folder's entries (getdents, which listing it takes),
// as the kernel reports them: IN_ACCESS on the folder itself, not on a file
// in it.
class FolderReads {
  public:
    explicit FolderReads(const std::string& folder)
        : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        watch_ = fd_ >= 0 ? inotify_add_watch(fd_, folder.c_str(), IN_ACCESS) : -1;
    }
    ~FolderReads() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FolderReads(const FolderReads&) = delete;
    FolderReads& operator=(const FolderReads&) = delete;

    bool Watching() const { return watch_ >= 0; }

    // The reads since the last call.
    int Take() {
        int reads = 0;
        alignas(inotify_event) char buffer[4096];
        ssize_t got = 0;
        while ((got = read(fd_, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + got;) {
                inotify_event event;
                std::memcpy(&event, at, sizeof event);
                reads += event.wd == watch_ && event.len == 0 && (event.mask & IN_ACCESS) != 0;
                at += sizeof(inotify_event) + event.len;
            }
        }
        return reads;
    }

  private:
    int fd_;
    int watch_ = -1;
};

#endif

TEST(PageNumbering, TheCounterNumbersThePageWithoutListingTheFolder) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("inotify counts the folder's reads");
#else
    // Pages 1 to 4 and 9: numbered by listing, the next would be 10.
    const struct {
        const char* what;
        const char* next;  // .next's text; nullptr: none
        const char* name;  // the page saved
        bool listed;       // the folder is listed for it
    } cases[] = {
        {"counter at a free number", "5\n", "page-0005.png", false},
        {"counter at a taken number", "9\n", "page-0010.png", false},
        // The one page that lists the folder: without a counter, its number
        // follows the highest there. Its reads are seen, so the watch works.
        {"no counter", nullptr, "page-0010.png", true},
    };
    for (const auto& c : cases) {
        testing_support::TempFolder folder;
        for (const char* name :
             {"page-0001.png", "page-0002.png", "page-0003.png", "page-0004.png", "page-0009.png"}) {
            WriteFile(folder / name, "x");
        }
        if (c.next != nullptr) {
            WriteFile(folder / ".next", c.next);
        }
        FolderReads reads(folder.Path());
        ASSERT_TRUE(reads.Watching()) << c.what;
        vprinter::Page page(16);
        std::string error;
        ASSERT_TRUE(vprinter::SavePage(folder.Path(), page, error)) << c.what << ": " << error;
        EXPECT_EQ(page.name, c.name) << c.what;
        EXPECT_EQ(reads.Take() > 0, c.listed) << c.what;
        // The next page follows it, again by the counter alone.
        ASSERT_TRUE(vprinter::SavePage(folder.Path(), page, error)) << c.what << ": " << error;
        const int number = std::stoi(std::string(c.name).substr(5, 4));
        EXPECT_EQ(ReadFile(folder / ".next"), std::to_string(number + 2) + "\n") << c.what;
        EXPECT_EQ(reads.Take(), 0) << c.what;
    }
#endif
}

}  // namespace
