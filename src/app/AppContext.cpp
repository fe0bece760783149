#include "app/AppContext.h"

#include <QApplication>
#include <QFont>

#include "app/QtOpenDialog.h"
#include "app/Rk7formabout.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "app/Rk7formquit.h"
#include "app/Rk7howtobidadjust.h"
#include "app/Rk7howtochecka4pat.h"
#include "app/Rk7howtochecka4pat2.h"
#include "app/Rk7howtofirstdotadjust.h"
#include "app/Rk7howtohdangadjust.h"
#include "app/Rk7howtopfadjust.h"
#include "app/Rk7howtotopmarginadjust.h"
#include "link/ResultCodes.h"
#include "platform/PortList.h"

namespace orvane_app {

uint16_t StatusRelay::ShowStatus(int kind, const std::string& text) {
    return window_ != nullptr ? window_->ShowStatus(kind, text) : ResultOk;
}

void StatusRelay::Repaint() {
    if (window_ != nullptr) {
        window_->Repaint();
    }
}

Modules::Modules(const PlatformSeams& seams, orvane::IClock& clock, IStatusReporter& reporter)
    : ModuleSet(
          {.loader = seams.loader,
           .programFolder = seams.programFolder,
           .clock = clock,
           .random = seams.random,
           .messageBox = seams.messageBox,
           .memory = seams.memory,
           .reporter = reporter,
           .linkMade = [&seams](TPDLLFunction& made) { made.LoadOrExit(seams.messageBox); }}) {}

AppContext::AppContext(const PlatformSeams& seams)
    : seams_(seams),
      stateFolder_(seams.stateFolder.empty() ? orvane::VirtualPrinterStateFolder()
                                             : seams.stateFolder),
      clock_(seams.baseClock),
      serviceLog_(seams.serviceLogPath.empty() ? orvane::ServiceLogFile::DefaultPath()
                                               : seams.serviceLogPath),
      modules_(std::make_unique<Modules>(seams_, clock_, relay_)) {
    modules_->link.AttachServiceLog(&serviceLog_, &clock_);
    QCoreApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    ApplyProgramFont();
    PlugErrorDetails();

    // The boot window first: closing it ends the program.
    boot_ = std::make_unique<TFormBoot>(*this);
    adjust_ = std::make_unique<TFormAdjust>(*this);
    relay_.Attach(adjust_.get());
    about_ = std::make_unique<TAboutBox>();
    quit_ = std::make_unique<TFormQuit>(*this);
    howToHdAng_ = std::make_unique<THowToHdAngAdjustForm>();
    howToPF_ = std::make_unique<THowToPFAdjustForm>();
    howToBid_ = std::make_unique<THowToBidAdjustForm>();
    howToA4Pat_ = std::make_unique<THowToCheckA4PatForm>(*this);
    howToA4Pad2_ = std::make_unique<THowToCheckA4Pad2Form>(*this);
    howToFirstDot_ = std::make_unique<THowToFirstDotAdjustForm>();
    howToTopMargin_ = std::make_unique<THowToTopMarginAdjustForm>();
}

AppContext::~AppContext() = default;

IOpenDialog& AppContext::OpenDialog() {
    if (seams_.openDialog != nullptr) {
        return *seams_.openDialog;
    }
    if (!ownOpenDialog_) {
        ownOpenDialog_ =
            std::make_unique<QtOpenDialog>(adjust_.get(), QStringLiteral("OpenPictureDialog"));
    }
    return *ownOpenDialog_;
}

void AppContext::PlugErrorDetails() {
    Modules& modules = *modules_;
    details_.Plug(ResultEepromFileError, [&modules] { return modules.eeprom.ErrorIndex(); });
    details_.Plug(ResultHeadIdError, [&modules] { return modules.headId.ErrorIndex(); });
    details_.Plug(ResultUsbIdError, [&modules] { return modules.usbId.ErrorIndex(); });
    details_.Plug(ResultBidValueError, [&modules] { return modules.bid.ErrorItem(); });
    details_.Plug(ResultHeadAngularError, [&modules] { return modules.headAngular.ErrorItem(); });
}

void ApplyProgramFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    QApplication::setFont(font);
}

}  // namespace orvane_app
