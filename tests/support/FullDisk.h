#pragma once

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>

namespace testing_support {

// A disk that is full past the first bytes of a file, while the object
// lives: every write of this process beyond them fails (EFBIG), as on a full
// disk. A backup (64 bytes) or an EEPROM file (256) cannot be written, a model
// record (4) can.
#ifdef _WIN32
// Windows has no file size limit of a process: the tests that need a full
// disk are Linux-only (ORVANE_LINUX_ONLY), and this one changes nothing.
class FullDisk {
  public:
    FullDisk() = default;
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
};
#else
class FullDisk {
  public:
    FullDisk() {
        ::getrlimit(RLIMIT_FSIZE, &before_);
        // The signal of a write past the limit would end the process.
        ignored_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit full{kRoom, before_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &full);
    }
    ~FullDisk() {
        ::setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, ignored_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

  private:
    static constexpr rlim_t kRoom = 16;
    rlimit before_{};
    void (*ignored_)(int) = SIG_DFL;
};
#endif

}  // namespace testing_support
