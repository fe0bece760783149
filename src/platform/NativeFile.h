#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>

namespace orvane {

// What stands at a path, as the system tells it.
struct FileStatus {
    bool exists = false;
    bool regular = false;
    bool folder = false;
    bool link = false;  // only when asked not to follow links
    uint64_t device = 0;
    // The file's own number on its device: the inode, on Windows the file
    // index (with the volume's serial number as device).
    uint64_t inode = 0;
    int64_t size = 0;
    // The last write, in nanoseconds since 1970 (Windows counts in 100 ns).
    int64_t modifiedNanoseconds = 0;
};

// The status of what stands at path; follow says whether a link counts as
// what it names. exists is false when nothing (or a link to nothing) is there.
FileStatus StatusOf(const std::string& path, bool follow = true);

// One open file of the system (a descriptor, a Windows handle), closed with
// the object. The seam under the program's file functions: Files.cpp,
// ServiceLogFile.cpp and the virtual printer's files use it, never the
// system's calls themselves. Paths are UTF-8.
class NativeFile {
  public:
    enum class Mode {
        // Reading; never waits on a FIFO (nor acts on a device) at the open.
        Read,
        // Reading and writing, created when missing (never through a link at
        // its name, nor waiting on a FIFO): lock files.
        ReadWriteCreate,
        // Appending, created when missing, read access too; as above.
        AppendCreate,
        // Appending only, created when missing; as above. A FIFO at the name
        // is not opened as its reader either.
        AppendOnlyCreate,
        // Writing a new file that must not exist yet, not even as a link to
        // nothing: temporary files.
        CreateNew,
    };

    NativeFile() = default;
    ~NativeFile() { Close(); }
    NativeFile(NativeFile&& other) noexcept : handle_(other.handle_), error_(other.error_) {
        other.handle_ = kNone;
    }
    NativeFile& operator=(NativeFile&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = other.handle_;
            error_ = other.error_;
            other.handle_ = kNone;
        }
        return *this;
    }
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    bool Open(const std::string& path, Mode mode);
    bool IsOpen() const { return handle_ != kNone; }
    // Whether the open failed because something stands at the name already
    // (CreateNew).
    bool Existed() const;

    // What the open file is (regular, its identity, size and last write).
    bool Status(FileStatus& status);

    // An advisory lock on the whole file, waiting while another holder has
    // it; exclusive or shared.
    bool Lock(bool exclusive);
    void Unlock();

    // Up to size bytes at the current position: the count, 0 at the end, -1
    // on a failure.
    int64_t Read(void* data, size_t size);
    // Up to size bytes at offset, the position left as it is.
    int64_t ReadAt(void* data, size_t size, uint64_t offset);
    // Every byte, at the end for AppendCreate.
    bool WriteAll(const void* data, size_t size);
    bool Rewind();
    // Puts what was written on the disk.
    bool Flush();
    // Gives the file the last-write time of status (nanoseconds since 1970).
    bool SetModified(int64_t modifiedNanoseconds);
    // Closes the file; false when the close reported a failure (it may be
    // the first report of a failed write).
    bool Close();

    // The system's reason for the last failure.
    std::error_code LastError() const { return error_; }

  private:
    static constexpr intptr_t kNone = -1;
    intptr_t handle_ = kNone;
    std::error_code error_;
};

// Renames from to to, replacing a file at to (never a folder), with the data
// on the disk before it stands there.
bool RenameReplacing(const std::string& from, const std::string& to);
// Gives the file from (a link there followed) a second name to, which must be
// free: false when it is not (exists set) or when the file system has no
// second names.
bool LinkNew(const std::string& from, const std::string& to, bool& exists);
// Removes a file or a link (never a folder).
bool RemoveFileName(const std::string& path);
// Random bits for names; falls back on the clock and the process.
uint64_t RandomBits(int attempt);
// Whether this process may read and change what is in folder (and make files
// there).
bool MayChangeFolder(const std::string& folder);
// The process's number.
uint64_t ProcessId();

}  // namespace orvane
