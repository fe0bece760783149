#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "adjust/ModuleSet.h"
#include "link/ServiceSteps.h"
#include "link/StatusReporter.h"
#include "platform/Clock.h"
#include "platform/LibraryLoader.h"
#include "platform/PortList.h"
#include "platform/Random.h"
#include "platform/ServiceLogFile.h"
#include "tools/common/Waiting.h"

namespace orvane::service {

// What the tool takes from the platform; tests give their own.
struct ServiceSeams {
    ILibraryLoader& loader;
    std::string programFolder;   // where the link libraries are loaded from
    IPortList* ports = nullptr;  // nullptr: the virtual printers of --dir or the default folder
    IClock& clock;
    IRandom& random;
    std::string serviceLogPath = {};  // empty: ServiceLogFile::DefaultPath()
};

// The options before the command.
struct ServiceOptions {
    std::string port;  // empty: the only printer port
    std::optional<uint8_t> modelCode;
    bool json = false;
    bool dryRun = false;
    std::string folder;            // --dir
    std::optional<int> paperWait;  // seconds; nothing: no limit
    std::string since;             // log --since
    std::vector<std::string> kinds;  // log --kind: none, every kind
    std::string from;              // restore --from
    bool force = false;            // restore --from, dump
};

// How a command ended: its exit code, and for a failure the message and the
// result code behind it, and a line more when there is more to tell (what a
// write command wrote before it failed).
struct Outcome {
    int exit = 0;
    std::string message;
    std::optional<uint16_t> code;
    std::string detail = {};

    static Outcome Done() { return {}; }
    static Outcome Usage(std::string message) { return {2, std::move(message), std::nullopt}; }
};

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitRefused = 3;
inline constexpr int kExitInterrupted = tools::kExitInterrupted;

class Session;

// The status line of a program without windows, with the adjustment window's
// rules: StatusBusy waits until the printer is ready, showing the waiting
// texts; StatusDone waits silently; every text goes to err as a line.
// While a wait goes on, the printer's state and the seconds waited are shown
// every few polls, so that a long cleaning is seen to be alive.
class ConsoleStatus final : public IStatusReporter {
  public:
    ConsoleStatus(Session& session, std::ostream& err) : session_(session), err_(err) {}

    uint16_t ShowStatus(int kind, const std::string& text) override;
    void Repaint() override;
    // Ends the line that appended texts are building.
    void Flush();

  private:
    void Line(const std::string& text);

    Session& session_;
    std::ostream& err_;
    std::string pending_;
    bool waiting_ = false;
    std::set<std::string> shownInWait_;
    int polls_ = 0;
};

// The program's module objects, on the link libraries of the tool's own
// folder: the print-data job tells its failures on the console, the pattern
// job reports to the console's status line.
class Session : public ModuleSet {
  public:
    Session(const ServiceSeams& seams, const ServiceOptions& options, std::ostream& err);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Loads the libraries and opens the link to the port as the boot window
    // does. In a dry run the calls that change the printer are kept from
    // then on.
    Outcome Open(const std::string& port, uint16_t portNumber);

    // Starts an operation as its step says; its end waits as the step says.
    uint16_t Start(const ServiceStep& step) { return StartOperation(console_, step); }
    // append follows the done text on its line (the value a read shows).
    uint16_t End(const ServiceStep& step, const std::string& append = "");

    // The outcome of a failed result code: exit 3 for an input refused by a
    // module's check, else 1, with the result-code table's message. A run
    // asked to end (Ctrl-C) ends with 130 whatever the code: "interrupted"
    // for a wait that the interrupt ended, else the code's message.
    Outcome Failed(uint16_t code);
    // The outcome of an input that a module's check refused (exit 3), its
    // message led by what was refused.
    Outcome Refused(uint16_t code, const std::string& what);
    // The model code: --model, else read from the printer's model name.
    Outcome Model(uint8_t& modelCode);

    const ServiceOptions& Options() const { return options_; }
    IClock& Clock() { return clock_; }
    IRandom& Random() { return random_; }
    ConsoleStatus& Console() { return console_; }
    tools::ConsoleMessages& Messages() { return messages_; }
    std::ostream& Err() { return err_; }
    ServiceLogFile& ServiceLog() { return serviceLog_; }
    const std::string& Port() const { return port_; }
    // The writes the printer accepted since the session began.
    const std::vector<AcceptedWrite>& Accepted() const { return accepted_.List(); }
    // Why the service log could not be written, empty while it could. The
    // first call that finds a failure tells it on the console; the session's
    // end tells it when no call did.
    const std::string& LogFailure();
    // Why the wait for paper was given up, empty while it has not been.
    const std::string& PaperGaveUp() const { return paperWait_.GaveUp(); }

  private:
    ServiceOptions options_;
    IClock& clock_;
    IRandom& random_;
    std::ostream& err_;
    std::string port_;
    std::optional<uint8_t> printerModel_;  // read from the printer at the open
    std::string printerModelName_;
    ServiceLogFile serviceLog_;
    std::string logFailure_;
    tools::ConsoleMessages messages_;
    ConsoleStatus console_;
    tools::PaperWait paperWait_;
    TPDLLFunction::AcceptedWrites accepted_{link};
};

// The result-code table's message of a code, as the adjustment window shows
// it (error text and added line joined), or "" when it has none.
std::string ResultText(Session& session, uint16_t code);

}  // namespace orvane::service
