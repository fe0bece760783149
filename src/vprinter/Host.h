#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "vprinter/Capture.h"
#include "vprinter/Clock.h"
#include "vprinter/Config.h"
#include "vprinter/Mechanism.h"
#include "vprinter/PrintEngine.h"
#include "vprinter/Store.h"
#include "vprinter/Trace.h"

namespace vprinter {

// The virtual printers as the two libraries see them in one process: the
// port that is open, the channel state, the last errors, and every printer's
// state loaded from the state folder. Changes that another process (the
// control tool) makes to the folder are picked up on the next call.
class Host {
  public:
    explicit Host(std::string folder);

    // The exported functions, one for one.
    uint16_t PortOpen(uint16_t portNumber);
    uint16_t PortClose();
    uint16_t CheckDeviceId();
    uint16_t GetIoErrorCode(int16_t* code);
    uint16_t GetModelName(char* name);
    uint16_t Negotiation(void* context);
    uint16_t Termination(void* context);
    uint16_t SetCommandRCode(uint8_t a, uint8_t b);
    uint16_t SendData(const uint8_t* data, uint32_t length, void* context);
    uint16_t ReadEeprom(uint8_t address, uint8_t* value, void* context);
    uint16_t WriteEeprom(uint8_t address, uint8_t value, void* context);
    uint16_t GetChannelError();
    uint16_t InquireStatus(uint8_t* record, void* context);
    uint16_t Reset(void* context);

    // False when the libraries are told to hide the export.
    bool ExportAvailable(const char* name);

    Store& GetStore() { return store_; }
    Clock& GetClock() { return clock_; }
    const std::deque<TraceEntry>& Trace() const { return trace_; }
    void ClearTrace();
    const std::string& OpenPort() const { return openPort_; }
    // Forgets everything held in memory, as a restart of the program would.
    void Forget();
    // Re-reads the state folder on the next call.
    void Invalidate();

    // The pages a printer ejected since this process loaded it (the last
    // PrintEngine::kPagesKept), and the sheet in it; nullptr when it has
    // printed nothing here.
    const std::deque<Page>* PrintedPages(const std::string& port) const;
    const Page* SheetInPrinter(const std::string& port) const;
    // The file that keeps the data calls the printer received.
    std::string StreamFile(const std::string& port) const;

    // How long the printer is busy after D4Reset.
    static constexpr uint64_t kRestartMilliseconds = 5000;
    // How long it prints a page after its form feed (state 3, data refused).
    static constexpr uint64_t kPagePrintMilliseconds = 2000;
    // The maintenance sequences (state 7), the ink they take from each
    // cartridge in percent and what they add to the waste ink pad counter.
    static constexpr uint64_t kCleaningMilliseconds = 100000;
    static constexpr uint64_t kInkChargeMilliseconds = 50000;
    static constexpr int kCleaningInk[4] = {8, 3, 3, 3};
    static constexpr int kInkChargeInk[4] = {23, 8, 8, 8};
    static constexpr unsigned kCleaningWasteInk = 300;
    static constexpr unsigned kInkChargeWasteInk = 900;
    // Faults of one data call that reach the trace; the rest are counted.
    static constexpr size_t kFaultsPerCall = 32;

  private:
    enum class Activity { None, Restarting, Printing, Maintenance };
    struct Printer {
        std::string port;
        PrinterConfig config;
        FileStamp configStamp;
        Eeprom eeprom{};
        FileStamp eepromStamp;
        // Why eeprom.bin cannot be used (empty when it can): the EEPROM is
        // broken and every access to it fails until the file is mended.
        std::string eepromProblem;
        Activity activity = Activity::None;
        uint64_t activityUntil = 0;
        uint8_t sequence = 0;  // of the maintenance running
        // Values set by packets that the store packet writes to the EEPROM.
        std::map<uint8_t, uint8_t> kept;
        // The head angular check is on (its remote setting came, the sheet
        // after it is not yet ejected): no tilt correction.
        bool tiltCheck = false;
        // The printer's mechanism; all zero while mechanism.conf is damaged,
        // which mechanismProblem then says (once, in the trace of a print).
        Mechanism mechanism;
        FileStamp mechanismStamp;
        std::string mechanismProblem;
        bool mechanismProblemTold = false;
        std::unique_ptr<PrintEngine> engine;
        std::unique_ptr<CaptureFile> capture;
    };
    struct Noticed {
        uint64_t offset;
        std::string note;
    };
    class EngineOwner;

    // The printer on port, synchronised with its files; nullptr when there is
    // none.
    Printer* FindPrinter(const std::string& port);
    Printer* Open();  // the printer on the open port
    void LoadEeprom(Printer& printer);
    void LoadMechanism(Printer& printer);
    // Tells the print engine where the mechanism puts the dots with the
    // values now in force.
    void UpdateMisregistration(Printer& printer);
    // Every change the printer makes to its files is a read-modify-write
    // under its lock: the file is read again (another process may have
    // changed it), changed and written before the lock is let go.
    void ChangeConfig(Printer& printer, const std::function<void(PrinterConfig&)>& change);
    // Writes bytes of the EEPROM: all or, with the reason, none (a broken
    // EEPROM; with applyWriteFaults, as when the printer writes them itself,
    // a write fault at one of the addresses).
    bool WriteBytes(Printer& printer, const std::map<uint8_t, uint8_t>& bytes,
                    bool applyWriteFaults, std::string& reason);
    bool ActivityRunning(Printer& printer);
    void ActivityEnded(Printer& printer);

    // Printing and the printer's own sequences (HostPrint.cpp).
    PrintEngine& EngineOf(Printer& printer);
    uint16_t Print(Printer& printer, const uint8_t* data, size_t length,
                   std::vector<Noticed>& faults);
    void Restart(Printer& printer, std::vector<Noticed>& faults);
    // False when a write to the EEPROM that the packet asks for (a Bi-D
    // value, the store, the waste ink counter of a maintenance sequence)
    // could not be made; the fault says why, and the data call fails.
    bool ApplyPacket(Printer& printer, const PacketCommand& command, uint64_t offset,
                     std::vector<Noticed>& faults);
    bool ApplyPacketValues(Printer& printer, const PacketCommand& command, uint64_t offset,
                           std::vector<Noticed>& faults);
    bool StartMaintenance(Printer& printer, uint8_t sequence, uint64_t offset,
                          std::vector<Noticed>& faults);
    // False when the page's picture could not be saved.
    bool PagePrinted(Printer& printer, Page& page, std::vector<Noticed>& faults);
    void RecordFaults(const std::vector<Noticed>& faults);
    void EffectiveState(Printer& printer, bool consumePoll, uint8_t& state, uint8_t& error);
    bool RefusesData(Printer& printer);

    // A call fault armed for this call of function: its code, with its
    // error left behind in the port or channel error.
    std::optional<uint16_t> TakeCallFault(const std::string& function, bool channel);
    const LibraryConfig& Library();
    // Checks for a negotiated channel on a powered printer.
    std::optional<uint16_t> ChannelUnavailable(Printer*& printer);

    TraceEntry& Begin(const char* function, std::vector<int64_t> args);
    uint16_t Finish(uint16_t result);

    Store store_;
    Clock clock_;
    std::map<std::string, Printer> printers_;
    LibraryConfig library_;
    FileStamp libraryStamp_;
    bool libraryLoaded_ = false;
    bool forceReload_ = false;

    std::string openPort_;
    bool negotiated_ = false;
    int16_t ioError_ = 0;
    uint16_t channelError_ = 0;
    uint8_t commandCodeA_ = 0;
    uint8_t commandCodeB_ = 0;

    std::deque<TraceEntry> trace_;
    size_t traceBytes_ = 0;
    uint64_t nextSequence_ = 1;
    TraceEntry current_;
};

// The host of this process, created on first use from the default folder.
Host& TheHost();
// Replaces the host by one on another folder (tests and the control tool).
Host& ResetHost(const std::string& folder);

}  // namespace vprinter
