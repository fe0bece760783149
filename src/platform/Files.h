#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/NativeFile.h"

namespace orvane {

// The files of the program, its tools and the virtual printer: the EEPROM
// backup, the full dump, the streams, the state files. A file that a user
// points us at is taken for hostile until checked: no link is followed when a
// file is created, nothing but a regular file is ever replaced, read or
// kept, and every read has a bound.

// What stands at a path; a link counts as what it names (a link to nothing
// as Missing).
enum class FileKind {
    Missing,
    Regular,
    Folder,
    Special,  // a FIFO, a device, a socket
};
FileKind KindOf(const std::string& path);

enum class FileWrite {
    Done,
    // The file could not be opened for writing, or what stands at its name
    // is no regular file (nor a link to one).
    CannotCreate,
    CannotWrite,  // it was opened, but writing, flushing or putting it in place failed
};

// Replaces the content of path by data. Two programs replacing the same file
// at once must hold a FileLock around it. The bytes go to a temporary file
// beside it under a fresh name (path + ".tmp." and six random characters),
// created new, so that nothing planted there is ever written through; it is
// flushed to the disk and only then renamed over path, so that a failure at
// any step leaves the old file as it was. The temporary file is removed again
// after a failure.
// A folder, a FIFO or a device at path (or a link to one) is never replaced:
// CannotCreate, before anything is written. A link at path to a regular file
// or to nothing is itself replaced by the new file; what it named stays as it
// was.
FileWrite ReplaceFile(const std::string& path, std::span<const uint8_t> data);
FileWrite ReplaceFile(const std::string& path, std::string_view data);

// Whether a file's name is that of a temporary file that ReplaceFile or
// KeepCopy writes (its writer may have ended before it was renamed).
bool IsTemporaryName(std::string_view name);

enum class FileRead {
    Done,
    Missing,
    NotAFile,  // a folder, a FIFO, a device: never opened
    TooLarge,  // more bytes than the bound
    CannotRead,
};

// Reads the whole file at path into data when it holds at most limit bytes;
// data is left as it was otherwise. A link is followed to what it names. What
// is no regular file is not opened (a FIFO could keep the reader waiting for
// ever, a device give bytes without end), and a file that grows while it is
// read is not read past limit.
FileRead ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& data);
FileRead ReadWholeFile(const std::string& path, size_t limit, std::string& data);

// Reads at most limit bytes from the start of path into data. False when the
// file is no regular file (as for ReadWholeFile), or cannot be opened or read.
bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& data);

// Which file a name stood for when it was read: the same file, unchanged,
// has the same identity; a file put in its place (a rename over it, as
// ReplaceFile does) has another.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = -1;
    int64_t modifiedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Reads at most limit bytes from the start of the regular file at path
// through one descriptor, and tells which file that was. False when it cannot
// be opened or read, or is no regular file (a FIFO is not waited for).
bool ReadFileIdentified(const std::string& path, size_t limit, std::vector<uint8_t>& data,
                        FileIdentity& identity);
// Whether path itself (a link is not followed) is the file of identity, unchanged.
bool IsSameFile(const std::string& path, const FileIdentity& identity);
// The identity of what stands at path now (a link followed): the inode and
// the last write to the nanosecond; on Windows the volume's serial number,
// the file index and the last write to 100 ns. False when nothing is there.
bool FileIdentityOf(const std::string& path, FileIdentity& identity);

// Removes a file (or a link); false when it is not there or cannot be
// removed, and for what is neither (a folder, a FIFO, a device stays).
bool RemoveFile(const std::string& path);

// Puts a copy of the file from at to, where no file may be yet: a second
// name for the same file where the file system allows it, else the bytes
// written to a temporary file beside to and given its name once they are on
// the disk. from is left as it is; to never stands half written, and an
// existing to is never replaced. False when no copy is in place, and when
// from is no regular file (a link is followed to the file it names).
bool KeepCopy(const std::string& from, const std::string& to);

// An exclusive lock on a file, held from construction to destruction, that
// keeps the steps of two programs on the same files apart. The lock file is
// created when missing and stays; a link at its name is not followed. Where
// it cannot be opened nothing is held (Held() is false), and the caller's own
// steps report the folder's fault.
class FileLock {
  public:
    explicit FileLock(const std::string& lockPath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return file_.IsOpen(); }

  private:
    NativeFile file_;
};

// Whether path exists (as anything).
bool Exists(const std::string& path);

// The time the file was last written, in local time. False when it cannot be
// read.
bool FileModified(const std::string& path, LocalDateTime& time);

// The names of the regular files in a folder, sorted; empty when the folder
// cannot be read.
std::vector<std::string> FilesIn(const std::string& folder);

// Creates a folder and every missing folder above it; an existing folder is
// no error. False when the folder is not there afterwards.
bool CreateFolders(const std::string& path);

}  // namespace orvane
