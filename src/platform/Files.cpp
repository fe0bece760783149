#include "platform/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

namespace orvane {

namespace {

bool WriteAll(int file, std::span<const uint8_t> data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(file, data.data() + done, data.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (written == 0) {
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

FileWrite ReplaceFile(const std::string& path, std::span<const uint8_t> data) {
    const std::string temporary = path + ".tmp";
    const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (file < 0) {
        return FileWrite::CannotCreate;
    }
    bool written = WriteAll(file, data) && ::fsync(file) == 0;
    // A failing close can be the first report of a failed write.
    written = ::close(file) == 0 && written;
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return FileWrite::CannotWrite;
    }
    return FileWrite::Done;
}

FileLock::FileLock(const std::string& lockPath)
    : file_(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    if (file_ < 0) {
        return;
    }
    while (::flock(file_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(file_);
            file_ = -1;
            return;
        }
    }
}

FileLock::~FileLock() {
    if (file_ >= 0) {
        ::close(file_);  // closing the file lets the lock go
    }
}

bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& data) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    std::vector<uint8_t> bytes(limit);
    size_t done = 0;
    bool ok = true;
    while (done < limit) {
        const ssize_t count = ::read(file, bytes.data() + done, limit - done);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            ok = false;
            break;
        }
        if (count == 0) {
            break;
        }
        done += static_cast<size_t>(count);
    }
    ::close(file);
    if (!ok) {
        return false;
    }
    bytes.resize(done);
    data = std::move(bytes);
    return true;
}

namespace {

FileIdentity IdentityOf(const struct stat& status) {
    return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
            static_cast<int64_t>(status.st_size),
            static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

}  // namespace

bool ReadFileIdentified(const std::string& path, size_t limit, std::vector<uint8_t>& data,
                        FileIdentity& identity) {
    // Not blocking: a FIFO put at path would wait for a writer at the open.
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0) {
        return false;
    }
    struct stat status {};
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(file);
        return false;
    }
    std::vector<uint8_t> bytes(limit);
    size_t done = 0;
    bool ok = true;
    while (done < limit) {
        const ssize_t count = ::read(file, bytes.data() + done, limit - done);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            ok = false;
            break;
        }
        if (count == 0) {
            break;
        }
        done += static_cast<size_t>(count);
    }
    // A file written to while it was read has no one content to name.
    struct stat after {};
    ok = ok && ::fstat(file, &after) == 0 && IdentityOf(after) == IdentityOf(status);
    ::close(file);
    if (!ok) {
        return false;
    }
    bytes.resize(done);
    data = std::move(bytes);
    identity = IdentityOf(status);
    return true;
}

bool IsSameFile(const std::string& path, const FileIdentity& identity) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           IdentityOf(status) == identity;
}

bool KeepCopy(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) == 0) {
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    // No second name here (a file system without them): a copy of the bytes.
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) {
        return false;
    }
    std::vector<uint8_t> bytes;
    struct stat status {};
    bool read = ::fstat(source, &status) == 0;
    ::close(source);
    read = read && ReadFileStart(from, static_cast<size_t>(status.st_size) + 1, bytes) &&
           bytes.size() == static_cast<size_t>(status.st_size);
    if (!read) {
        return false;
    }
    const std::string temporary = to + ".tmp";
    const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0) {
        return false;
    }
    // The copy keeps the time the file was written: it tells when the data
    // was taken.
    const std::array<timespec, 2> times = {status.st_atim, status.st_mtim};
    bool written =
        WriteAll(file, bytes) && ::fsync(file) == 0 && ::futimens(file, times.data()) == 0;
    written = ::close(file) == 0 && written;
    // link, not rename: a file that came to stand at to meanwhile stays.
    written = written && ::link(temporary.c_str(), to.c_str()) == 0;
    ::unlink(temporary.c_str());
    return written;
}

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

bool FileModified(const std::string& path, LocalDateTime& time) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return false;
    }
    time = LocalTimeOf(status.st_mtime);
    return true;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) {
            names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool CreateFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

}  // namespace orvane
