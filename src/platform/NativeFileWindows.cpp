// The Windows side of the file seam: the wide-character calls, with the
// program's UTF-8 paths converted.
#include <windows.h>
// After windows.h:
#include <bcrypt.h>

#include <chrono>

#include "platform/NativeFile.h"
#include "platform/Paths.h"

namespace orvane {

namespace {

// 1601-01-01 to 1970-01-01 in the 100 ns ticks of a FILETIME.
constexpr int64_t kEpochTicks = 116444736000000000LL;

// Others may read, write, rename over and remove a file we hold open, as on
// POSIX: a rename over a file that a reader holds open works.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The advisory lock is a lock of one byte far past any data, so that holding
// it never stops a read or a write of the file's bytes (Windows' locks are
// mandatory for the range they cover).
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

std::error_code LastSystemError() {
    return {static_cast<int>(GetLastError()), std::system_category()};
}

HANDLE Handle(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// Opens a file. A file whose name another process is renaming a new file
// onto, or is removing, cannot be opened for a moment (access denied, delete
// pending, a sharing violation), where POSIX shows the old file or the new
// one: the open is tried again for a while (a few milliseconds in all).
HANDLE OpenFile(const std::string& path, DWORD access, DWORD disposition, DWORD flags) {
    const std::wstring wide = Widen(path);
    for (int attempt = 0;; ++attempt) {
        const HANDLE file =
            CreateFileW(wide.c_str(), access, kShareAll, nullptr, disposition, flags, nullptr);
        const DWORD error = GetLastError();
        const bool passing = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                             error == ERROR_DELETE_PENDING;
        if (file != INVALID_HANDLE_VALUE || !passing || attempt == 50) {
            SetLastError(error);
            return file;
        }
        Sleep(attempt < 10 ? 0 : 1);
    }
}

int64_t Nanoseconds(const FILETIME& time) {
    const int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                               time.dwLowDateTime);
    return (ticks - kEpochTicks) * 100;
}

FileStatus StatusFrom(HANDLE file, bool reparsePointsAreLinks) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) {
        return {};
    }
    FileStatus status;
    status.exists = true;
    const bool reparse = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    status.link = reparse && reparsePointsAreLinks;
    status.folder = !status.link && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.regular = !status.link && !status.folder && GetFileType(file) == FILE_TYPE_DISK;
    status.device = info.dwVolumeSerialNumber;
    status.inode = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    status.size =
        static_cast<int64_t>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    status.modifiedNanoseconds = Nanoseconds(info.ftLastWriteTime);
    return status;
}

}  // namespace

FileStatus StatusOf(const std::string& path, bool follow) {
    // Attributes only: no data is read, a folder opens too.
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const HANDLE file = OpenFile(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING, flags);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    const FileStatus status = StatusFrom(file, !follow);
    CloseHandle(file);
    return status;
}

bool NativeFile::Open(const std::string& path, Mode mode) {
    Close();
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    // A reparse point (a link) at the name is opened itself, not followed,
    // and then refused, when the file is created or written.
    DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    switch (mode) {
        case Mode::Read:
            flags = FILE_ATTRIBUTE_NORMAL;
            break;
        case Mode::ReadWriteCreate:
            access = GENERIC_READ | GENERIC_WRITE;
            disposition = OPEN_ALWAYS;
            break;
        case Mode::AppendCreate:
            // Appending only: every write lands at the end, as O_APPEND.
            access = GENERIC_READ | FILE_APPEND_DATA | FILE_WRITE_ATTRIBUTES;
            disposition = OPEN_ALWAYS;
            break;
        case Mode::AppendOnlyCreate:
            access = FILE_READ_ATTRIBUTES | FILE_APPEND_DATA | FILE_WRITE_ATTRIBUTES;
            disposition = OPEN_ALWAYS;
            break;
        case Mode::CreateNew:
            access = GENERIC_WRITE;
            disposition = CREATE_NEW;
            break;
    }
    const HANDLE file = OpenFile(path, access, disposition, flags);
    if (file == INVALID_HANDLE_VALUE) {
        error_ = LastSystemError();
        return false;
    }
    if (mode != Mode::Read) {
        // What was opened must be a regular file of the disk.
        const FileStatus status = StatusFrom(file, true);
        if (!status.regular) {
            CloseHandle(file);
            error_ = std::make_error_code(std::errc::operation_not_permitted);
            return false;
        }
    } else if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        error_ = std::make_error_code(std::errc::operation_not_permitted);
        return false;
    }
    handle_ = reinterpret_cast<intptr_t>(file);
    return true;
}

bool NativeFile::Existed() const {
    return error_.category() == std::system_category() &&
           (error_.value() == ERROR_FILE_EXISTS || error_.value() == ERROR_ALREADY_EXISTS);
}

bool NativeFile::Status(FileStatus& status) {
    if (!IsOpen()) {
        return false;
    }
    status = StatusFrom(Handle(handle_), true);
    if (!status.exists) {
        error_ = LastSystemError();
    }
    return status.exists;
}

bool NativeFile::Lock(bool exclusive) {
    OVERLAPPED where{};
    where.OffsetHigh = kLockOffsetHigh;
    if (!LockFileEx(Handle(handle_), exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0, 0, 1, 0, &where)) {
        error_ = LastSystemError();
        return false;
    }
    return true;
}

void NativeFile::Unlock() {
    if (IsOpen()) {
        OVERLAPPED where{};
        where.OffsetHigh = kLockOffsetHigh;
        UnlockFileEx(Handle(handle_), 0, 1, 0, &where);
    }
}

int64_t NativeFile::Read(void* data, size_t size) {
    DWORD count = 0;
    const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(Handle(handle_), data, wanted, &count, nullptr)) {
        error_ = LastSystemError();
        return -1;
    }
    return count;
}

int64_t NativeFile::ReadAt(void* data, size_t size, uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD count = 0;
    const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(Handle(handle_), data, wanted, &count, &where)) {
        if (GetLastError() == ERROR_HANDLE_EOF) {
            return 0;
        }
        error_ = LastSystemError();
        return -1;
    }
    return count;
}

bool NativeFile::WriteAll(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        const size_t left = size - done;
        const DWORD wanted = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(Handle(handle_), bytes + done, wanted, &written, nullptr)) {
            error_ = LastSystemError();
            return false;
        }
        if (written == 0) {
            error_ = std::make_error_code(std::errc::no_space_on_device);
            return false;
        }
        done += written;
    }
    return true;
}

bool NativeFile::Rewind() {
    if (!SetFilePointerEx(Handle(handle_), LARGE_INTEGER{}, nullptr, FILE_BEGIN)) {
        error_ = LastSystemError();
        return false;
    }
    return true;
}

bool NativeFile::Flush() {
    if (!FlushFileBuffers(Handle(handle_))) {
        error_ = LastSystemError();
        return false;
    }
    return true;
}

bool NativeFile::SetModified(int64_t modifiedNanoseconds) {
    const auto ticks = static_cast<uint64_t>(modifiedNanoseconds / 100 + kEpochTicks);
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    if (!SetFileTime(Handle(handle_), nullptr, nullptr, &time)) {
        error_ = LastSystemError();
        return false;
    }
    return true;
}

bool NativeFile::Close() {
    if (!IsOpen()) {
        return true;
    }
    const bool closed = CloseHandle(Handle(handle_)) != 0;
    if (!closed) {
        error_ = LastSystemError();
    }
    handle_ = kNone;
    return closed;
}

bool RenameReplacing(const std::string& from, const std::string& to) {
    // As an open (OpenFile), a rename onto a name that another process is
    // renaming onto meanwhile may be refused for a moment.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == 50) {
            return false;
        }
        Sleep(attempt < 10 ? 0 : 1);
    }
}

bool LinkNew(const std::string& from, const std::string& to, bool& exists) {
    exists = false;
    if (CreateHardLinkW(Widen(to).c_str(), Widen(from).c_str(), nullptr)) {
        return true;
    }
    const DWORD error = GetLastError();
    exists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    return false;
}

bool RemoveFileName(const std::string& path) {
    return DeleteFileW(Widen(path).c_str()) != 0;
}

uint64_t RandomBits(int attempt) {
    uint64_t bits = 0;
    if (BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&bits), sizeof bits,
                        BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0) {
        return bits;
    }
    const auto ticks =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return ticks ^ (ProcessId() << 32) ^
           (static_cast<uint64_t>(attempt + 1) * 0x9E3779B97F4A7C15ULL);
}

bool MayChangeFolder(const std::string& folder) {
    // Windows' rights are no three bits to look at: a file is made there and
    // goes again when closed.
    const std::string probe = folder + "/.orvane-probe-" + std::to_string(ProcessId()) + "-" +
                              std::to_string(RandomBits(0));
    const HANDLE file = CreateFileW(Widen(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

uint64_t ProcessId() {
    return GetCurrentProcessId();
}

}  // namespace orvane
