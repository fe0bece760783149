#pragma once

#include <memory>
#include <string>

#include "adjust/ModuleSet.h"
#include "app/ErrorDetails.h"
#include "app/OpenDialog.h"
#include "app/WindowClock.h"
#include "link/StatusReporter.h"
#include "platform/LibraryLoader.h"
#include "platform/Memory.h"
#include "platform/MessageBox.h"
#include "platform/PortList.h"
#include "platform/Random.h"
#include "platform/SaveDialog.h"
#include "platform/ServiceLogFile.h"

class TFormBoot;
class TFormAdjust;
class TAboutBox;
class TFormQuit;
class THowToHdAngAdjustForm;
class THowToPFAdjustForm;
class THowToBidAdjustForm;
class THowToCheckA4PatForm;
class THowToCheckA4Pad2Form;
class THowToFirstDotAdjustForm;
class THowToTopMarginAdjustForm;

namespace orvane_app {

// The application title, also the caption of the exception report.
inline constexpr const char* kApplicationTitle = "Adjustment program";

// What the program takes from the platform.
struct PlatformSeams {
    orvane::ILibraryLoader& loader;
    std::string programFolder;  // where the link libraries are loaded from
    orvane::IMessageBox& messageBox;
    orvane::IPortList& ports;
    orvane::IRandom& random;
    orvane::IClock* baseClock = nullptr;        // none: the window clock sleeps for real
    orvane::ISaveDialog* saveDialog = nullptr;  // none: the adjustment window's own dialog
    orvane::IMemory* memory = nullptr;          // none: the system's allocator
    std::string serviceLogPath = {};            // empty: ServiceLogFile::DefaultPath()
    IOpenDialog* openDialog = nullptr;          // none: the adjustment window's own dialog
    // Where the virtual printers keep their printed pages; empty: the
    // virtual printers' state folder (ORVANE_VPRINTER_DIR, ...).
    std::string stateFolder = {};
};

// The status line as the module objects reach it: they are created before the
// adjustment window, which takes the reports once it exists.
class StatusRelay final : public IStatusReporter {
  public:
    void Attach(IStatusReporter* window) { window_ = window; }
    uint16_t ShowStatus(int kind, const std::string& text) override;
    void Repaint() override;

  private:
    IStatusReporter* window_ = nullptr;
};

// The module objects of the program: the print-data job tells its failures
// in message boxes and takes its memory from the seams, the pattern job
// reports to the adjustment window, and the link libraries are loaded as
// soon as the link object exists (a missing library shows the start-up
// message and ends the program).
struct Modules : orvane::ModuleSet {
    Modules(const PlatformSeams& seams, orvane::IClock& clock, IStatusReporter& reporter);
};

// The one application context: the seams, the module objects and the
// windows. Creating it is the program's start: the module objects in their
// order (loading the link libraries or ending the program), the title, then
// the windows in their order, all hidden.
class AppContext {
  public:
    explicit AppContext(const PlatformSeams& seams);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Modules& GetModules() { return *modules_; }
    WindowClock& Clock() { return clock_; }
    orvane::IMessageBox& MessageBox() { return seams_.messageBox; }
    orvane::IPortList& Ports() { return seams_.ports; }
    orvane::IRandom& Random() { return seams_.random; }
    orvane::ISaveDialog* SaveDialog() { return seams_.saveDialog; }
    // The open-file dialog of the pages that read a picture.
    IOpenDialog& OpenDialog();
    // The virtual printers' state folder, whose pages folders hold the
    // pictures of the pages they printed.
    const std::string& StateFolder() const { return stateFolder_; }
    ErrorDetails& Details() { return details_; }
    orvane::ServiceLogFile& ServiceLog() { return serviceLog_; }

    TFormBoot& Boot() { return *boot_; }
    TFormAdjust& Adjust() { return *adjust_; }
    TAboutBox& About() { return *about_; }
    TFormQuit& Quit() { return *quit_; }
    THowToHdAngAdjustForm& HowToHdAngAdjust() { return *howToHdAng_; }
    THowToPFAdjustForm& HowToPFAdjust() { return *howToPF_; }
    THowToBidAdjustForm& HowToBidAdjust() { return *howToBid_; }
    THowToCheckA4PatForm& HowToCheckA4Pat() { return *howToA4Pat_; }
    THowToCheckA4Pad2Form& HowToCheckA4Pad2() { return *howToA4Pad2_; }
    THowToFirstDotAdjustForm& HowToFirstDotAdjust() { return *howToFirstDot_; }
    THowToTopMarginAdjustForm& HowToTopMarginAdjust() { return *howToTopMargin_; }

  private:
    void PlugErrorDetails();

    PlatformSeams seams_;
    std::string stateFolder_;
    std::unique_ptr<IOpenDialog> ownOpenDialog_;
    WindowClock clock_;
    StatusRelay relay_;
    // Every write to a printer is logged here; it outlives the link.
    orvane::ServiceLogFile serviceLog_;
    std::unique_ptr<Modules> modules_;
    ErrorDetails details_;
    std::unique_ptr<TFormBoot> boot_;
    std::unique_ptr<TFormAdjust> adjust_;
    std::unique_ptr<TAboutBox> about_;
    std::unique_ptr<TFormQuit> quit_;
    std::unique_ptr<THowToHdAngAdjustForm> howToHdAng_;
    std::unique_ptr<THowToPFAdjustForm> howToPF_;
    std::unique_ptr<THowToBidAdjustForm> howToBid_;
    std::unique_ptr<THowToCheckA4PatForm> howToA4Pat_;
    std::unique_ptr<THowToCheckA4Pad2Form> howToA4Pad2_;
    std::unique_ptr<THowToFirstDotAdjustForm> howToFirstDot_;
    std::unique_ptr<THowToTopMarginAdjustForm> howToTopMargin_;
};

// The font the windows are laid out for.
void ApplyProgramFont();

}  // namespace orvane_app
