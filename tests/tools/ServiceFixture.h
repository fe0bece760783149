#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "platform/ExecutableFolder.h"
#include "platform/LibraryLoader.h"
#include "platform/PortList.h"
#include "platform/Random.h"
#include "support/LinkFixture.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"
#include "tools/service/Service.h"

namespace testing_support {

// The arguments of a command on the first virtual printer.
inline std::vector<std::string> On(std::vector<std::string> args) {
    args.insert(args.begin(), {"--port", "VTUSB001"});
    return args;
}

// The virtual printers with a backup folder of the test's own (the tool
// keeps its backups under XDG_DATA_HOME).
class ServicePrinterTest : public VirtualPrinterTest {
  private:
    TempFolder data_;
    ScopedEnvironment dataHome_{"XDG_DATA_HOME", (data_ / "data").c_str()};
};

// orvane-service run in the test's process, on the test's virtual printers,
// clock and backup folder. Printers is the fixture that gives them: the
// virtual printers alone (ServiceTest), or the adjustment window's page
// beside them, whose action a command mirrors (the Qt build's trace tests).
template <typename Printers>
class ServiceOn : public Printers {
  protected:
    using Printers::Calls;
    using Printers::ChangeEeprom;
    using Printers::ChangePrinter;
    using Printers::Clock;
    using Printers::Config;
    using Printers::Eeprom;
    using Printers::StateFolder;

    struct Run {
        int exit = -1;
        std::string out;
        std::string err;
    };

    Run Service(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        orvane::VirtualPrinterPortList ports(StateFolder());
        const orvane::service::ServiceSeams seams{.loader = loader_,
                                                  .programFolder = orvane::ExecutableFolder(),
                                                  .ports = &ports,
                                                  .clock = Clock(),
                                                  .random = random_,
                                                  .serviceLogPath = ServiceLogPath()};
        Run run;
        run.exit = orvane::service::RunService(args, out, err, seams);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    std::string ServiceLogPath() const { return StateFolder() + "-service.log"; }

    // A call as two runs on two link objects can agree on it: the pointers
    // among the arguments (buffers, the link's context) are left out.
    struct Call {
        std::string function;
        std::vector<int64_t> args;
        std::vector<uint8_t> data;
        uint16_t result;
        bool operator==(const Call&) const = default;
    };
    static std::vector<Call> Comparable(const std::vector<vprinter::TraceEntry>& trace) {
        std::vector<Call> calls;
        for (const auto& entry : trace) {
            Call call{entry.function, {}, entry.data, entry.result};
            for (const int64_t arg : entry.args) {
                if (arg > -0x10000 && arg < 0x10000) {
                    call.args.push_back(arg);
                }
            }
            calls.push_back(call);
        }
        return calls;
    }

    // The calls of a command's run after its link was opened (the boot
    // window's open: up to the negotiation), without the closing at its end.
    std::vector<Call> CommandCalls() const {
        std::vector<vprinter::TraceEntry> trace = Calls();
        size_t start = 0;
        for (size_t i = 0; i < trace.size(); ++i) {
            if (trace[i].function == "D4Negotiation") {
                start = i + 1;
                break;
            }
        }
        std::vector<vprinter::TraceEntry> after(trace.begin() + static_cast<long>(start),
                                                trace.end());
        if (!after.empty() && after.back().function == "PortCloseByPway") {
            after.pop_back();
        }
        return Comparable(after);
    }

    bool AnyWrite() const {
        for (const auto& entry : Calls()) {
            if (entry.function == "D4WriteEeprom" || entry.function == "SendDataChannel" ||
                entry.function == "D4Reset") {
                return true;
            }
        }
        return false;
    }

    // The printer as it is now, to give the command the printer the page had.
    struct Snapshot {
        vprinter::Eeprom eeprom;
        vprinter::PrinterConfig config;
    };
    Snapshot Take(const std::string& port = "VTUSB001") { return {Eeprom(port), Config(port)}; }
    void Put(const Snapshot& snapshot, const std::string& port = "VTUSB001") {
        ChangeEeprom(port, [&](vprinter::Eeprom& eeprom) { eeprom = snapshot.eeprom; });
        ChangePrinter(port, [&](vprinter::PrinterConfig& config) { config = snapshot.config; });
    }

  private:
    orvane::SystemLibraryLoader loader_;
    orvane::StdRandom random_;
};

// orvane-service on the virtual printers, without windows.
using ServiceTest = ServiceOn<ServicePrinterTest>;

}  // namespace testing_support
