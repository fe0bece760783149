#include "vprinter/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

namespace vprinter {

namespace {

struct Holding {
    int fd = -1;
    int depth = 0;
};

// The locks this process holds, by path. flock() locks belong to the open
// file, so a second open of the same lock file in this process would wait
// for the first one forever: nested takers share the first one's.
std::mutex& HeldMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, Holding>& HeldLocks() {
    static std::map<std::string, Holding> held;
    return held;
}

}  // namespace

FileLock::FileLock(std::string path) : path_(std::move(path)) {
    std::lock_guard<std::mutex> guard(HeldMutex());
    auto& held = HeldLocks();
    if (const auto it = held.find(path_); it != held.end()) {
        ++it->second.depth;
        held_ = true;
        return;
    }
    // A link planted at the lock's name is not followed (no file is made
    // where it points); a FIFO there does not keep us waiting.
    const int fd = ::open(path_.c_str(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;
    }
    int locked = -1;
    do {
        locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        ::close(fd);
        return;
    }
    held[path_] = {fd, 1};
    held_ = true;
}

FileLock::FileLock(FileLock&& other) noexcept : path_(std::move(other.path_)), held_(other.held_) {
    other.held_ = false;
}

FileLock::~FileLock() {
    if (!held_) {
        return;
    }
    std::lock_guard<std::mutex> guard(HeldMutex());
    auto& held = HeldLocks();
    const auto it = held.find(path_);
    if (it == held.end() || --it->second.depth > 0) {
        return;
    }
    ::flock(it->second.fd, LOCK_UN);
    ::close(it->second.fd);
    held.erase(it);
}

}  // namespace vprinter
