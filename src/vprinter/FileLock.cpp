#include "vprinter/FileLock.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/Files.h"

namespace vprinter {

namespace {

struct Holding {
    std::unique_ptr<orvane::FileLock> lock;
    int depth = 0;
};

// The locks this process holds, by path. A lock belongs to the open file
// (flock, LockFileEx), so a second open of the same lock file in this
// process would wait for the first one forever: nested takers share the
// first one's.
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
    auto lock = std::make_unique<orvane::FileLock>(path_);
    if (!lock->Held()) {
        return;
    }
    held[path_] = {std::move(lock), 1};
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
    held.erase(it);  // closing the lock file lets the lock go
}

}  // namespace vprinter
