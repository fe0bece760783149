#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace orvane {

// Small files of raw bytes: the EEPROM backup file and the full dump.

enum class FileWrite {
    Done,
    CannotCreate,  // the file could not be opened for writing
    CannotWrite,   // it was opened, but writing, flushing or putting it in place failed
};

// Replaces the content of path by data. Two programs replacing the same file
// at once must hold a FileLock around it. The bytes go to a temporary file
// beside it (path + ".tmp"), which is flushed to the disk and
// only then renamed over path, so that a failure at any step leaves the old file as it was. The
// temporary file is removed again after a failure.
FileWrite ReplaceFile(const std::string& path, std::span<const uint8_t> data);

// Reads at most limit bytes from the start of path into data. False when the
// file cannot be opened or read.
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

// Removes a file; false when it is not there or cannot be removed.
bool RemoveFile(const std::string& path);

// Puts a copy of the file from at to, where no file may be yet: a second
// name for the same file where the file system allows it, else the bytes
// written to a temporary file beside to and given its name once they are on
// the disk. from is left as it is; to never stands half written, and an
// existing to is never replaced. False when no copy is in place.
bool KeepCopy(const std::string& from, const std::string& to);

// An exclusive lock on a file, held from construction to destruction, that
// keeps the steps of two programs on the same files apart. The lock file is
// created when missing and stays. Where it cannot be opened nothing is held
// (Held() is false), and the caller's own steps report the folder's fault.
class FileLock {
  public:
    explicit FileLock(const std::string& lockPath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return file_ >= 0; }

  private:
    int file_ = -1;
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
