#include "platform/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
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

constexpr std::string_view kTemporaryMark = ".tmp";
constexpr std::string_view kSuffixLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kSuffixLength = 6;
constexpr int kTemporaryTries = 100;

uint64_t RandomBits(int attempt) {
    uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bits)) {
        return bits;
    }
    // No random bytes yet (early at boot): the time, the process and the try
    // still make a name that the next try moves on from when it is taken.
    const auto ticks =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return ticks ^ (static_cast<uint64_t>(::getpid()) << 32) ^
           (static_cast<uint64_t>(attempt + 1) * 0x9E3779B97F4A7C15ULL);
}

// Creates a new file beside path under a name no file has yet: path + ".tmp."
// and six random characters. O_EXCL makes the open fail on anything that
// stands there, a link (even to nothing) included, so a planted name is
// passed over, never written through. -1 when no file could be made.
int CreateTemporary(const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < kTemporaryTries; ++attempt) {
        std::string name = path + std::string(kTemporaryMark) + ".";
        uint64_t bits = RandomBits(attempt);
        for (size_t i = 0; i < kSuffixLength; ++i) {
            name += kSuffixLetters[bits % kSuffixLetters.size()];
            bits /= kSuffixLetters.size();
        }
        const int file =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (file >= 0) {
            temporary = std::move(name);
            return file;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}

// Opens a regular file for reading, and only that: what is no regular file is
// not opened at all (opening a FIFO waits for a writer, a device may act on
// being opened); the look again after the open catches a file swapped
// meanwhile.
FileRead OpenRegular(const std::string& path, int& file, size_t& size) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::CannotRead;
    }
    if (!S_ISREG(status.st_mode)) {
        return FileRead::NotAFile;
    }
    file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) {
        return errno == ENOENT ? FileRead::Missing : FileRead::CannotRead;
    }
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(file);
        return FileRead::NotAFile;
    }
    size = static_cast<size_t>(status.st_size);
    return FileRead::Done;
}

// Reads path into data: at most limit bytes, the whole file (one more byte is
// asked for, to tell a longer file: TooLarge) or its start. The buffer grows
// with what comes, not with the bound: a bound far above the file's size
// costs nothing.
template <typename Bytes>
FileRead ReadBounded(const std::string& path, size_t limit, bool whole, Bytes& data) {
    int file = -1;
    size_t size = 0;
    if (const FileRead opened = OpenRegular(path, file, size); opened != FileRead::Done) {
        return opened;
    }
    // A whole file already larger than the bound is not read at all; the
    // bound still holds for one that grows while it is read.
    if (whole && size > limit) {
        ::close(file);
        return FileRead::TooLarge;
    }
    const size_t wanted = whole ? limit + 1 : limit;
    Bytes bytes;
    bytes.resize(std::min(wanted, size + 1));
    size_t done = 0;
    FileRead result = FileRead::Done;
    while (done < wanted) {
        if (done == bytes.size()) {
            bytes.resize(std::min(wanted, std::max<size_t>(2 * done, 4096)));
        }
        const ssize_t count = ::read(file, bytes.data() + done, bytes.size() - done);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            result = FileRead::CannotRead;
            break;
        }
        if (count == 0) {
            break;
        }
        done += static_cast<size_t>(count);
    }
    ::close(file);
    if (result == FileRead::Done && whole && done > limit) {
        result = FileRead::TooLarge;
    }
    if (result == FileRead::Done) {
        bytes.resize(done);
        data = std::move(bytes);
    }
    return result;
}

}  // namespace

FileKind KindOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return FileKind::Missing;
    }
    return S_ISREG(status.st_mode)   ? FileKind::Regular
           : S_ISDIR(status.st_mode) ? FileKind::Folder
                                     : FileKind::Special;
}

FileWrite ReplaceFile(const std::string& path, std::span<const uint8_t> data) {
    if (const FileKind kind = KindOf(path);
        kind != FileKind::Missing && kind != FileKind::Regular) {
        return FileWrite::CannotCreate;
    }
    std::string temporary;
    const int file = CreateTemporary(path, temporary);
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

FileWrite ReplaceFile(const std::string& path, std::string_view data) {
    return ReplaceFile(path, std::span(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
}

bool IsTemporaryName(std::string_view name) {
    const size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string_view::npos || mark == 0) {
        return false;
    }
    const std::string_view suffix = name.substr(mark + kTemporaryMark.size());
    // The older writers' path + ".tmp" counts too.
    return suffix.empty() ||
           (suffix.size() == kSuffixLength && std::all_of(suffix.begin(), suffix.end(), [](char c) {
                return kSuffixLetters.find(c) != std::string_view::npos;
            }));
}

FileLock::FileLock(const std::string& lockPath)
    : file_(::open(lockPath.c_str(),
                   O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666)) {
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

FileRead ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& data) {
    return ReadBounded(path, limit, true, data);
}

FileRead ReadWholeFile(const std::string& path, size_t limit, std::string& data) {
    return ReadBounded(path, limit, true, data);
}

bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& data) {
    return ReadBounded(path, limit, false, data) == FileRead::Done;
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
    if (KindOf(from) != FileKind::Regular) {
        return false;
    }
    // A second name only for the file itself: a link at from gets a copy of
    // its bytes, so that the history never shares a file outside its folder.
    struct stat own {};
    if (::lstat(from.c_str(), &own) == 0 && S_ISREG(own.st_mode)) {
        if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) == 0) {
            return true;
        }
        if (errno == EEXIST) {
            return false;
        }
    }
    // No second name here (a file system without them): a copy of the bytes.
    std::vector<uint8_t> bytes;
    struct stat status {};
    if (::stat(from.c_str(), &status) != 0 ||
        ReadWholeFile(from, static_cast<size_t>(status.st_size), bytes) != FileRead::Done) {
        return false;
    }
    std::string temporary;
    const int file = CreateTemporary(to, temporary);
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
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 ||
        !(S_ISREG(status.st_mode) || S_ISLNK(status.st_mode))) {
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

bool CreateFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

}  // namespace orvane
