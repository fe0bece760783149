#include "platform/Files.h"

#include <fcntl.h>
#include <unistd.h>

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

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool CreateFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

}  // namespace orvane
