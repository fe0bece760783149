#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "adjust/Rk7maintenance.h"
#include "eeprom/Datamanu.h"
#include "eeprom/Rk7eeprom.h"
#include "eeprom/Rk7headid.h"
#include "eeprom/Rk7usbid.h"
#include "link/Dllfunction.h"
#include "link/Rk7factory.h"
#include "link/Rk7remotecomm.h"
#include "link/Rk7statuscontrol.h"
#include "link/StatusReporter.h"
#include "pattern/Rk7checkpattern.h"
#include "pattern/Rk7pattern.h"
#include "pattern/Rk7raster.h"
#include "platform/Clock.h"
#include "platform/LibraryLoader.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "tools/common/Waiting.h"

namespace orvane::tools {

// What a run is asked for on the command line.
struct RunOptions {
    std::string folder;  // the virtual printers' state folder; empty: the default
    std::string port = "VTUSB001";
    std::string item;
    std::string output;
    std::optional<int> value;  // the stored adjustment value
    int dotSize = 16;
    int skipCaption = 0;
    bool eject = false;  // eject the page after the item
    std::optional<uint32_t> seed;
    std::optional<int> paperWait;  // seconds to wait for paper; nothing: no limit
};

// The program's module objects on the real link libraries of the output
// folder, talking to one virtual printer, in the order the program creates
// them.
class Session {
  public:
    explicit Session(const RunOptions& options);

    // Loads the libraries and opens the link as the boot window does. On
    // failure returns false with a reason.
    bool Open(std::string& reason);

    const RunOptions& Options() const { return options_; }
    TPDLLFunction& Link() { return link_; }
    TPStatusControl& Status() { return status_; }
    TPRaster& Raster() { return raster_; }
    TPFactory& Factory() { return factory_; }
    TPPattern& Pattern() { return pattern_; }
    TPRemoteComm& Remote() { return remote_; }
    TPCheckPattern& CheckPattern() { return checkPattern_; }
    const PaperWait& PaperWaiting() const { return paperWait_; }

    // The module's error index or item behind a family result code, if this
    // session has the module.
    std::optional<int> FamilyDetail(uint16_t familyCode) const;

    // Writes every SendDataChannel call the printer got since the link was
    // opened, with its result, to a stream file of the virtual printer
    // (which `orvane-vprinter inspect` lists). Returns the number of calls
    // and of their bytes; false with the reason when it cannot be written.
    bool SaveReceived(const std::string& path, size_t& calls, size_t& bytes,
                      std::string& reason) const;

  private:
    RunOptions options_;
    SystemLibraryLoader loader_;
    ToolClock clock_;
    StdRandom random_;
    ConsoleMessages console_;
    TPDLLFunction link_;
    TPStatusControl status_;
    PaperWait paperWait_;
    TPRaster raster_;
    TPFactory factory_;
    TPPattern pattern_;
    TPRemoteComm remote_;
    TPEeprom eeprom_;
    TPDataManu dataManu_;
    TPHeadID headId_;
    TPUsbId usbId_;
    TPMaintenance maintenance_;
    TPCheckPattern checkPattern_;
};

}  // namespace orvane::tools
