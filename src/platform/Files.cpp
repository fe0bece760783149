#include "platform/Files.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/NativeFile.h"
#include "platform/Paths.h"

namespace orvane {

namespace {

constexpr std::string_view kTemporaryMark = ".tmp";
constexpr std::string_view kSuffixLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kSuffixLength = 6;
constexpr int kTemporaryTries = 100;

// Creates a new file beside path under a name no file has yet: path + ".tmp."
// and six random characters. The open fails on anything that stands there, a
// link (even to nothing) included, so a planted name is passed over, never
// written through. Not open when no file could be made.
NativeFile CreateTemporary(const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < kTemporaryTries; ++attempt) {
        std::string name = path + std::string(kTemporaryMark) + ".";
        uint64_t bits = RandomBits(attempt);
        for (size_t i = 0; i < kSuffixLength; ++i) {
            name += kSuffixLetters[bits % kSuffixLetters.size()];
            bits /= kSuffixLetters.size();
        }
        NativeFile file;
        if (file.Open(name, NativeFile::Mode::CreateNew)) {
            temporary = std::move(name);
            return file;
        }
        if (!file.Existed()) {
            return {};
        }
    }
    return {};
}

// Opens a regular file for reading, and only that: what is no regular file is
// not opened at all (opening a FIFO waits for a writer, a device may act on
// being opened); the look again after the open catches a file swapped
// meanwhile.
FileRead OpenRegular(const std::string& path, NativeFile& file, size_t& size) {
    FileStatus status = StatusOf(path);
    if (!status.exists) {
        return FileRead::Missing;
    }
    if (!status.regular) {
        return FileRead::NotAFile;
    }
    if (!file.Open(path, NativeFile::Mode::Read)) {
        return file.LastError() == std::errc::no_such_file_or_directory ? FileRead::Missing
                                                                        : FileRead::CannotRead;
    }
    if (!file.Status(status) || !status.regular) {
        file.Close();
        return FileRead::NotAFile;
    }
    size = static_cast<size_t>(status.size);
    return FileRead::Done;
}

// Reads path into data: at most limit bytes, the whole file (one more byte is
// asked for, to tell a longer file: TooLarge) or its start. The buffer grows
// with what comes, not with the bound: a bound far above the file's size
// costs nothing.
template <typename Bytes>
FileRead ReadBounded(const std::string& path, size_t limit, bool whole, Bytes& data) {
    NativeFile file;
    size_t size = 0;
    if (const FileRead opened = OpenRegular(path, file, size); opened != FileRead::Done) {
        return opened;
    }
    // A whole file already larger than the bound is not read at all; the
    // bound still holds for one that grows while it is read.
    if (whole && size > limit) {
        file.Close();
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
        const int64_t count = file.Read(bytes.data() + done, bytes.size() - done);
        if (count < 0) {
            result = FileRead::CannotRead;
            break;
        }
        if (count == 0) {
            break;
        }
        done += static_cast<size_t>(count);
    }
    file.Close();
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
    const FileStatus status = StatusOf(path);
    return !status.exists   ? FileKind::Missing
           : status.regular ? FileKind::Regular
           : status.folder  ? FileKind::Folder
                            : FileKind::Special;
}

FileWrite ReplaceFile(const std::string& path, std::span<const uint8_t> data) {
    if (const FileKind kind = KindOf(path);
        kind != FileKind::Missing && kind != FileKind::Regular) {
        return FileWrite::CannotCreate;
    }
    std::string temporary;
    NativeFile file = CreateTemporary(path, temporary);
    if (!file.IsOpen()) {
        return FileWrite::CannotCreate;
    }
    bool written = file.WriteAll(data.data(), data.size()) && file.Flush();
    // A failing close can be the first report of a failed write.
    written = file.Close() && written;
    if (!written || !RenameReplacing(temporary, path)) {
        RemoveFileName(temporary);
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

FileLock::FileLock(const std::string& lockPath) {
    if (file_.Open(lockPath, NativeFile::Mode::ReadWriteCreate) && !file_.Lock(true)) {
        file_.Close();
    }
}

FileLock::~FileLock() = default;  // closing the file lets the lock go

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

FileIdentity IdentityOf(const FileStatus& status) {
    return {status.device, status.inode, status.size, status.modifiedNanoseconds};
}

}  // namespace

bool ReadFileIdentified(const std::string& path, size_t limit, std::vector<uint8_t>& data,
                        FileIdentity& identity) {
    // What is no regular file is not opened at all (a FIFO put at path, a
    // device).
    NativeFile file;
    size_t size = 0;
    FileStatus status;
    if (OpenRegular(path, file, size) != FileRead::Done || !file.Status(status)) {
        return false;
    }
    std::vector<uint8_t> bytes(limit);
    size_t done = 0;
    bool ok = true;
    while (done < limit) {
        const int64_t count = file.Read(bytes.data() + done, limit - done);
        if (count < 0) {
            ok = false;
            break;
        }
        if (count == 0) {
            break;
        }
        done += static_cast<size_t>(count);
    }
    // A file written to while it was read has no one content to name.
    FileStatus after;
    ok = ok && file.Status(after) && IdentityOf(after) == IdentityOf(status);
    file.Close();
    if (!ok) {
        return false;
    }
    bytes.resize(done);
    data = std::move(bytes);
    identity = IdentityOf(status);
    return true;
}

bool IsSameFile(const std::string& path, const FileIdentity& identity) {
    const FileStatus status = StatusOf(path, false);
    return status.regular && IdentityOf(status) == identity;
}

bool FileIdentityOf(const std::string& path, FileIdentity& identity) {
    const FileStatus status = StatusOf(path);
    if (!status.exists) {
        return false;
    }
    identity = IdentityOf(status);
    return true;
}

bool KeepCopy(const std::string& from, const std::string& to) {
    if (KindOf(from) != FileKind::Regular) {
        return false;
    }
    // A second name only for the file itself: a link at from gets a copy of
    // its bytes, so that the history never shares a file outside its folder.
    if (StatusOf(from, false).regular) {
        bool exists = false;
        if (LinkNew(from, to, exists)) {
            return true;
        }
        if (exists) {
            return false;
        }
    }
    // No second name here (a file system without them): a copy of the bytes.
    std::vector<uint8_t> bytes;
    const FileStatus status = StatusOf(from);
    if (!status.regular ||
        ReadWholeFile(from, static_cast<size_t>(status.size), bytes) != FileRead::Done) {
        return false;
    }
    std::string temporary;
    NativeFile file = CreateTemporary(to, temporary);
    if (!file.IsOpen()) {
        return false;
    }
    // The copy keeps the time the file was written: it tells when the data
    // was taken.
    bool written = file.WriteAll(bytes.data(), bytes.size()) && file.Flush() &&
                   file.SetModified(status.modifiedNanoseconds);
    written = file.Close() && written;
    // A second name, not a rename: a file that came to stand at to meanwhile
    // stays.
    bool exists = false;
    written = written && LinkNew(temporary, to, exists);
    RemoveFileName(temporary);
    return written;
}

bool Exists(const std::string& path) {
    return StatusOf(path, false).exists;
}

bool FileModified(const std::string& path, LocalDateTime& time) {
    const FileStatus status = StatusOf(path);
    if (!status.exists) {
        return false;
    }
    time = LocalTimeOf(static_cast<std::time_t>(status.modifiedNanoseconds / 1000000000));
    return true;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(PathOf(folder), error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) {
            names.push_back(Utf8Of(it->path().filename()));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool RemoveFile(const std::string& path) {
    const FileStatus status = StatusOf(path, false);
    if (!status.regular && !status.link) {
        return false;
    }
    return RemoveFileName(path);
}

bool CreateFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(PathOf(path), error);
    return std::filesystem::is_directory(PathOf(path), error);
}

}  // namespace orvane
