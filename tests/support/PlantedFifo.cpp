#include "support/PlantedFifo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <string>

namespace testing_support {

PlantedFifo::PlantedFifo(std::string path, Side side) : path_(std::move(path)), side_(side) {
    made_ = ::mkfifo(path_.c_str(), 0600) == 0;
    // The helper and the release open the FIFO itself, through a handle
    // that opens neither end, so that they still meet when a program has
    // put another file at its name.
    node_ = made_ ? ::open(path_.c_str(), O_PATH | O_CLOEXEC) : -1;
    made_ = node_ >= 0;
    if (made_) {
        nodePath_ = "/proc/self/fd/" + std::to_string(node_);
        helper_ = std::thread([this] { Serve(); });
    }
}

PlantedFifo::~PlantedFifo() {
    WasOpened();
    if (node_ >= 0) {
        ::close(node_);
    }
}

void PlantedFifo::Serve() {
    const int flags = (side_ == Side::ForReaders ? O_WRONLY : O_RDONLY) | O_CLOEXEC;
    while (!stopping_) {
        // Waits until someone opens the other side.
        const int file = ::open(nodePath_.c_str(), flags);
        if (file < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (side_ == Side::ForReaders) {
            // A reader waiting in its open gets an empty file. Our own
            // reader at the end counts for nothing.
            if (!stopping_) {
                opened_ = true;
            }
        } else {
            // What a writer sent, all of it; the writers of the end send
            // nothing.
            std::array<char, 4096> drained{};
            while (::read(file, drained.data(), drained.size()) > 0) {
                opened_ = true;
            }
        }
        ::close(file);
    }
    finished_ = true;
}

bool PlantedFifo::WasOpened() {
    if (!helper_.joinable()) {
        return opened_;
    }
    stopping_ = true;
    if (side_ == Side::ForReaders) {
        // A reader of our own lets the helper's open return; kept open until
        // it has ended, so that it cannot wait again.
        const int reader = ::open(nodePath_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        helper_.join();
        if (reader >= 0) {
            ::close(reader);
        }
        return opened_;
    }
    // A writer can only open while the helper waits to read (or reads): it
    // is tried until the helper has ended.
    while (!finished_) {
        const int writer = ::open(nodePath_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) {
            ::close(writer);
        }
        std::this_thread::yield();
    }
    helper_.join();
    return opened_;
}

bool MakeCharacterDevice(const std::string& path, unsigned minor) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0;
}

}  // namespace testing_support
