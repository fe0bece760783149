#pragma once

#include <functional>
#include <string>

#include "adjust/Rk7bid.h"
#include "adjust/Rk7headangular.h"
#include "adjust/Rk7heatprotectoffset.h"
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
#include "platform/Memory.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"

namespace orvane {

// What the module objects are built on. The adjustment program and the
// service tool differ only here.
struct ModuleSeams {
    ILibraryLoader& loader;
    std::string programFolder;  // where the link libraries are loaded from
    IClock& clock;
    IRandom& random;
    // Where the print-data job tells what it cannot do, and the memory of
    // its buffer (nullptr: the system's allocator).
    IMessageBox& messageBox;
    IMemory* memory = nullptr;
    // The status line the pattern job reports to.
    IStatusReporter& reporter;
    // Run once the link object exists, before any other module is made
    // (the program loads the libraries there, or ends).
    std::function<void(TPDLLFunction&)> linkMade = {};
};

// The module objects, one of each, made in this order and released in the
// opposite one. Each constructor only keeps the references it is given, so a
// module may be handed one that is made after it, and the seams may be
// members of a class that derives from this one.
struct ModuleSet {
    explicit ModuleSet(const ModuleSeams& seams);
    ModuleSet(const ModuleSet&) = delete;
    ModuleSet& operator=(const ModuleSet&) = delete;

    // Runs the seams' hook on the link as it is made.
    struct LinkMade {
        LinkMade(TPDLLFunction& link, const std::function<void(TPDLLFunction&)>& hook);
    };

    TPDLLFunction link;
    LinkMade linkMade;
    TPRaster raster;
    TPFactory factory;
    TPRemoteComm remote;
    TPStatusControl status;
    TPPattern pattern;
    TPCheckPattern checkPattern;
    TPEeprom eeprom;
    TPDataManu dataManu;
    TPHeadID headId;
    TPUsbId usbId;
    TPBid bid;
    TPHeadAngular headAngular;
    TPHeatProtect heatProtect;
    TPMaintenance maintenance;
};

}  // namespace orvane
