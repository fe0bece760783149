#pragma once

// The fault matrix: every action of the adjustment window that reaches the
// printer, run once clean and then again with a failure at each library call
// it makes, and with a busy printer, paper out and power off at chosen points.
#include <gtest/gtest.h>

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "PageFixture.h"
#include "vprinter/Config.h"
#include "vprinter/Trace.h"

namespace fault_matrix {

// How the action's control is worked.
enum class Control {
    Button,  // a push button of the window
    Panel,   // a panel that acts on a click (EEPROM data copy)
};

// A control set before every run of an action.
struct Setting {
    enum class Kind { Text, Combo, Check, Uncheck };
    Kind kind;
    const char* name;
    const char* value = "";  // the text, or the combo entry; a check box is checked
};

// One row of the matrix.
struct Action {
    const char* name;   // the test's name
    const char* group;  // the navigation group of its page; nullptr: no page (Get Status)
    int item = 0;       // the page's item in that group
    const char* control = "";
    Control type = Control::Button;
    // Worked once after the page opened: a button that leads to the page,
    // and an item of a radio group on it.
    const char* via = nullptr;
    std::pair<const char*, int> choice = {nullptr, 0};
    std::vector<Setting> settings = {};
    // EEPROM bytes of the printer before every run (addresses and values).
    std::vector<std::pair<uint8_t, uint8_t>> eeprom = {};
    bool waits = true;           // starts with the readiness wait
    bool prints = false;         // takes a sheet
    bool setsTestValue = false;  // a failed print sends the stored value again
    bool needsBackup = false;    // the EEPROM data copy's restore
    bool savesDump = false;      // a save dialog follows the reads
    // Functions whose failure the action leaves aside by design: a failure
    // there ends as the clean run does.
    std::vector<std::string> ignored = {};
};

inline void PrintTo(const Action& action, std::ostream* os) {
    *os << action.name;
}

// What one run of an action left behind.
struct Outcome {
    QString status;
    bool red = false;
    bool unlocked = false;  // enabled, or unlocked by the timer's next tick
    bool hung = false;      // the watchdog had to end the run
    std::vector<vprinter::TraceEntry> calls;
    std::vector<uint8_t> accepted;
    vprinter::Eeprom eeprom{};
    uint64_t slept = 0;
    size_t callsAtFirstSleep = 0;  // how many calls were made before the first sleep
    size_t boxes = 0;
};

// A failure injected into one run.
struct Injection {
    std::string function;  // the call fault's function; empty: none
    int occurrence = 0;
    uint16_t code = 0;
    std::optional<int32_t> detail;
    int busyPolls = 0;
    bool paperOut = false;
    bool reloadAtBox = true;  // the paper-out box: load paper, or switch the printer off
    bool powerOffAtStart = false;
    bool powerOffAtFirstSleep = false;
};

class Replay;

class FaultMatrix : public testing_support::PageTest, public ::testing::WithParamInterface<Action> {
  protected:
    // Opens the action's page and makes the clean run.
    void SetUp() override;

    // Brings the printer, the link and the page back to the state before the
    // clean run, then runs the action with the injection.
    Outcome Run(const Injection& injection);

    // The failure cases: one per call of the clean run, with the code that
    // the case's position picks.
    void CheckEveryCallFailing();
    // Busy, paper out and power off at chosen points.
    void CheckChosenPoints();

    // How many runs the action made, the clean one included.
    int Runs() const { return runs_; }

  private:
    void Reset();
    void Prepare();
    void Work();
    // The EEPROM of the clean run just before its call index (0-based), with
    // extra packets sent on top.
    vprinter::Eeprom EepromBefore(size_t index,
                                  const std::vector<std::vector<uint8_t>>& extra = {});
    // The bytes the clean run's calls before index had accepted.
    std::vector<uint8_t> AcceptedBefore(size_t index) const;
    // A failure run: the oracles that every injected failure must meet.
    void CheckFailure(const std::string& what, const Outcome& outcome, size_t failedIndex,
                      uint16_t code);
    // A run that must end as the clean one did, with the given bytes first.
    void CheckAsClean(const std::string& what, const Outcome& outcome,
                      const std::vector<uint8_t>& before = {});
    // A run that the printer ended (paper out, power off) where the clean run
    // had made index calls: reported, and nothing after that point.
    void CheckStopped(const std::string& what, const Outcome& outcome, size_t index);

    Outcome clean_;
    int runs_ = 0;  // the clean run and every case
    vprinter::PrinterConfig config_;
    vprinter::Eeprom eeprom_{};
    std::vector<uint8_t> backup_;
    std::shared_ptr<Replay> replay_;
    std::vector<size_t> changing_;         // the clean calls that change the EEPROM
    std::vector<vprinter::Eeprom> steps_;  // the EEPROM after each of them
};

}  // namespace fault_matrix
