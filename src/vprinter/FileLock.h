#pragma once

#include <string>

namespace vprinter {

// An advisory lock (orvane::FileLock: flock, LockFileEx) on a lock file, held
// from construction until destruction; the constructor waits while another
// process holds it. Locks of one process nest: taking a lock that the process
// holds already only counts, so that a printer's call may save several of its
// files under one lock.
//
// The state folder has three kinds: <folder>/.lock for library.conf and the
// set of printers (create, remove), <printer folder>/.lock for one printer's
// files (printer.conf, eeprom.bin, received.stream), and
// <printer folder>/pages/.lock for the page numbers. Whoever needs more than
// one takes them in that order.
//
// Nesting is counted per process, not per thread: the libraries and the
// tools use a printer from one thread only.
class FileLock {
  public:
    explicit FileLock(std::string path);
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    FileLock& operator=(FileLock&&) = delete;

    // False when the lock file could not be opened (its folder is missing, or
    // a link stands at its name).
    bool Held() const { return held_; }

  private:
    std::string path_;
    bool held_ = false;
};

}  // namespace vprinter
