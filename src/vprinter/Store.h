#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vprinter/Config.h"
#include "vprinter/FileLock.h"
#include "vprinter/Mechanism.h"

namespace vprinter {

// Identity of a file's present content, to notice changes made by another
// process (the control tool) while the libraries are loaded.
struct FileStamp {
    uint64_t device = 0;  // on Windows the volume's serial number, the inode its file index
    uint64_t inode = 0;
    int64_t size = -1;
    int64_t modified = 0;  // nanoseconds
    bool operator==(const FileStamp&) const = default;
};

// The virtual printers' state folder: one folder per printer, named by its
// port (orvane::PortFolderName: on Windows "LPT1:" is "LPT1%3A"), holding
// printer.conf, the 256-byte eeprom.bin and mechanism.conf (once the
// mechanism is set); library.conf for faults of the libraries themselves.
// Every write goes to a temporary file that is then renamed over the old one,
// so a crash never leaves half a file; a file that is no regular file (a
// FIFO, a device) is neither read nor replaced.
// Whoever changes a file reads it again under its lock (LockPrinter,
// LockFolder) and keeps the lock until the change is written, so that two
// processes never lose each other's changes.
class Store {
  public:
    explicit Store(std::string folder);

    // ORVANE_VPRINTER_DIR, else $XDG_STATE_HOME/orvane-vprinter, else
    // ~/.local/state/orvane-vprinter.
    static std::string DefaultFolder();

    const std::string& Folder() const { return folder_; }

    // On first use (no state folder yet): creates it with VTUSB001, an
    // Orvane K31, and VTUSB002, an Orvane K32.
    bool EnsureCreated();

    std::vector<std::string> Ports() const;  // sorted by name
    bool Exists(const std::string& port) const;
    // Creates a printer with a fresh main board. Fails with a reason for a bad
    // or taken name, a name that gives no port number, or a port number that
    // another printer already answers to.
    bool CreatePrinter(const std::string& port, const std::string& model, std::string& reason);
    bool RemovePrinter(const std::string& port);
    // The printers that answer to a port number: one, or none when no
    // printer does (0 never has one).
    std::vector<std::string> PortsAnswering(uint16_t number) const;

    // The lock of one printer's files, and that of library.conf and of the
    // set of printers.
    FileLock LockPrinter(const std::string& port) const;
    FileLock LockFolder() const;

    // False when printer.conf is missing (config left as it is: a folder made
    // by hand is a printer with the defaults) or cannot be used; problem then
    // says which of the latter it is, and stays empty for a missing file.
    bool LoadConfig(const std::string& port, PrinterConfig& config, FileStamp* stamp = nullptr,
                    std::string* problem = nullptr) const;
    bool SaveConfig(const std::string& port, const PrinterConfig& config,
                    FileStamp* stamp = nullptr);
    // False when eeprom.bin is missing, not 256 bytes long or unreadable; the
    // problem then says which, and how to mend it. The file is left as it is.
    bool LoadEeprom(const std::string& port, Eeprom& eeprom, FileStamp* stamp = nullptr,
                    std::string* problem = nullptr) const;
    bool SaveEeprom(const std::string& port, const Eeprom& eeprom, FileStamp* stamp = nullptr);
    // The printer's mechanism; all zero when it has no mechanism.conf. False
    // when the file is unreadable or damaged; the problem then says which, and
    // how to mend it. The file is left as it is.
    bool LoadMechanism(const std::string& port, Mechanism& mechanism,
                       std::string* problem = nullptr, FileStamp* stamp = nullptr) const;
    bool SaveMechanism(const std::string& port, const Mechanism& mechanism);
    LibraryConfig LoadLibraryConfig(FileStamp* stamp = nullptr) const;
    bool SaveLibraryConfig(const LibraryConfig& config, FileStamp* stamp = nullptr);

    FileStamp ConfigStamp(const std::string& port) const;
    FileStamp EepromStamp(const std::string& port) const;
    FileStamp MechanismStamp(const std::string& port) const;
    FileStamp LibraryStamp() const;

    std::string PrinterFolder(const std::string& port) const;
    std::string PagesFolder(const std::string& port) const;

    // The port number a port name stands for, by the program's own rule
    // (orvane::PortNumberOfName): the decimal number after the first USB in
    // the name (its first ':' left out, leading zeros allowed) + 1024, else
    // after the first LPT + 1151. 0 for a name with neither, a rest that is
    // no number and a number past 65535.
    static uint16_t PortNumber(const std::string& port);
    static bool IsValidPortName(const std::string& port);
    // Empty for a good model name, else why it is not one.
    static std::string ModelNameProblem(const std::string& model);
    // The EEPROM of a new main board.
    static Eeprom FreshBoard();

  private:
    std::string folder_;
};

// The files are written with orvane::ReplaceFile and read with
// orvane::ReadWholeFile (src/platform), like the program's own.
FileStamp StampOf(const std::string& path);

}  // namespace vprinter
