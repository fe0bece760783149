// The POSIX side of the file seam.
#include "platform/NativeFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>

namespace orvane {

namespace {

std::error_code LastSystemError() {
    return {errno, std::generic_category()};
}

FileStatus StatusFrom(const struct stat& info) {
    FileStatus status;
    status.exists = true;
    status.regular = S_ISREG(info.st_mode);
    status.folder = S_ISDIR(info.st_mode);
    status.link = S_ISLNK(info.st_mode);
    status.device = static_cast<uint64_t>(info.st_dev);
    status.inode = static_cast<uint64_t>(info.st_ino);
    status.size = static_cast<int64_t>(info.st_size);
    status.modifiedNanoseconds =
        static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return status;
}

int Fd(intptr_t handle) {
    return static_cast<int>(handle);
}

}  // namespace

FileStatus StatusOf(const std::string& path, bool follow) {
    struct stat info {};
    if ((follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) != 0) {
        return {};
    }
    return StatusFrom(info);
}

bool NativeFile::Open(const std::string& path, Mode mode) {
    Close();
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    switch (mode) {
        case Mode::Read:
            flags |= O_RDONLY;
            break;
        case Mode::ReadWriteCreate:
            flags |= O_RDWR | O_CREAT | O_NOFOLLOW;
            break;
        case Mode::AppendCreate:
            flags |= O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW;
            break;
        case Mode::AppendOnlyCreate:
            flags |= O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW;
            break;
        case Mode::CreateNew:
            flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
            break;
    }
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        error_ = LastSystemError();
        return false;
    }
    handle_ = fd;
    return true;
}

bool NativeFile::Existed() const {
    return error_ == std::errc::file_exists;
}

bool NativeFile::Status(FileStatus& status) {
    struct stat info {};
    if (!IsOpen() || ::fstat(Fd(handle_), &info) != 0) {
        error_ = LastSystemError();
        return false;
    }
    status = StatusFrom(info);
    return true;
}

bool NativeFile::Lock(bool exclusive) {
    while (::flock(Fd(handle_), exclusive ? LOCK_EX : LOCK_SH) != 0) {
        if (errno != EINTR) {
            error_ = LastSystemError();
            return false;
        }
    }
    return true;
}

void NativeFile::Unlock() {
    if (IsOpen()) {
        ::flock(Fd(handle_), LOCK_UN);
    }
}

int64_t NativeFile::Read(void* data, size_t size) {
    for (;;) {
        const ssize_t count = ::read(Fd(handle_), data, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            error_ = LastSystemError();
        }
        return count;
    }
}

int64_t NativeFile::ReadAt(void* data, size_t size, uint64_t offset) {
    for (;;) {
        const ssize_t count = ::pread(Fd(handle_), data, size, static_cast<off_t>(offset));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            error_ = LastSystemError();
        }
        return count;
    }
}

bool NativeFile::WriteAll(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(Fd(handle_), bytes + done, size - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            error_ = written < 0 ? LastSystemError()
                                 : std::make_error_code(std::errc::no_space_on_device);
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

bool NativeFile::Rewind() {
    if (::lseek(Fd(handle_), 0, SEEK_SET) != 0) {
        error_ = LastSystemError();
        return false;
    }
    return true;
}

bool NativeFile::Flush() {
    if (::fsync(Fd(handle_)) != 0) {
        error_ = LastSystemError();
        return false;
    }
    return true;
}

bool NativeFile::SetModified(int64_t modifiedNanoseconds) {
    const timespec when{static_cast<time_t>(modifiedNanoseconds / 1000000000),
                        static_cast<long>(modifiedNanoseconds % 1000000000)};
    const std::array<timespec, 2> times = {timespec{0, UTIME_OMIT}, when};
    if (::futimens(Fd(handle_), times.data()) != 0) {
        error_ = LastSystemError();
        return false;
    }
    return true;
}

bool NativeFile::Close() {
    if (!IsOpen()) {
        return true;
    }
    const bool closed = ::close(Fd(handle_)) == 0;
    if (!closed) {
        error_ = LastSystemError();
    }
    handle_ = kNone;
    return closed;
}

bool RenameReplacing(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool LinkNew(const std::string& from, const std::string& to, bool& exists) {
    exists = false;
    if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
    exists = errno == EEXIST;
    return false;
}

bool RemoveFileName(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

uint64_t RandomBits(int attempt) {
    uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bits)) {
        return bits;
    }
    // No random bytes yet (early at boot): the time, the process and the try
    // still make a name that the next try moves on from when it is taken.
    const auto ticks =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return ticks ^ (ProcessId() << 32) ^
           (static_cast<uint64_t>(attempt + 1) * 0x9E3779B97F4A7C15ULL);
}

bool MayChangeFolder(const std::string& folder) {
    return ::access(folder.c_str(), R_OK | W_OK | X_OK) == 0;
}

uint64_t ProcessId() {
    return static_cast<uint64_t>(::getpid());
}

}  // namespace orvane
