#include "app/Rk7formadjust.h"

#include <QCloseEvent>
#include <QFont>
#include <QLabel>

#include <string_view>

#include "adjust/InkConsumptionCaptions.h"
#include "app/AppContext.h"
#include "app/Cursor.h"
#include "app/QtSaveDialog.h"
#include "app/Rk7formboot.h"
#include "app/Rk7formquit.h"
#include "app/pages/A4CheckPrintPage.h"
#include "app/pages/BidInputPage.h"
#include "app/pages/BidPrintPage.h"
#include "app/pages/CRHeatProtectOffsetPage.h"
#include "app/pages/CleaningPage.h"
#include "app/pages/DefaultSetPage.h"
#include "app/pages/EepromDataCopyPage.h"
#include "app/pages/EepromReadoutPage.h"
#include "app/pages/G0SCheckPrintPage.h"
#include "app/pages/HeadAngAdjustPage.h"
#include "app/pages/HeadIDInputPage.h"
#include "app/pages/InkChargePage.h"
#include "app/pages/LandMarginAdjustPage.h"
#include "app/pages/NozzleCheckPatternPrintPage.h"
#include "app/pages/PFAdjustPage.h"
#include "app/pages/ProCounterMaintePage.h"
#include "app/pages/TopMarginMainPage.h"
#include "app/pages/USBIDInputPage.h"
#include "app/widgets/WindowPlacement.h"
#include "link/Dllfunction.h"
#include "ui_Rk7formadjust.h"

namespace {

constexpr int kDisableMilliseconds = 100;

// The value panels that a close empties; the top margin and PF values stay
// for the next printer.
const char* const kValuesClearedAtClose[] = {
    "ShowHeadIDPnl",     "ShowBid1BkPnl",   "ShowBid1ClPnl",   "ShowBid2BkPnl",
    "ShowBid2ClPnl",     "ShowBid3BkPnl",   "ShowBid3ClPnl",   "ShowUSBIDPnl",
    "ShowProCounterPnl", "ShowBidECOBkPnl", "ShowBidECOClPnl", "ShowHeadAngularAdjustValuePnl",
};

}  // namespace

const QColor TFormAdjust::kStatusBlack(0, 0, 0);
const QColor TFormAdjust::kStatusBlue(0, 0, 255);
const QColor TFormAdjust::kStatusRed(255, 0, 0);

TFormAdjust::TFormAdjust(orvane_app::AppContext& context)
    : context_(context), ui_(std::make_unique<Ui::TFormAdjust>()) {
    orvane_app::SetWindowBorder(this, orvane_app::WindowBorder::SingleMinimise, 846, 464);
    eepSaveDialog_ = context.SaveDialog();
    if (eepSaveDialog_ == nullptr) {
        ownSaveDialog_ =
            std::make_unique<orvane_app::QtSaveDialog>(this, QStringLiteral("EepSaveDialog"));
        eepSaveDialog_ = ownSaveDialog_.get();
    }

    disableTimer_.setObjectName(QStringLiteral("DisableTimer"));
    disableTimer_.setParent(this);
    disableTimer_.setInterval(kDisableMilliseconds);
    connect(&disableTimer_, &QTimer::timeout, this, &TFormAdjust::DisableTimerTimer);
    disableTimer_.start();
}

// The member timers leave their parent before the window goes.
TFormAdjust::~TFormAdjust() = default;

void TFormAdjust::BuildControls() {
    ui_->setupUi(this);
    ui_->AdjustmentTab->AddTab(ui_->AdjustmentSheet, QStringLiteral("Adjustment"));
    ui_->AdjustmentTab->AddTab(ui_->MaintenanceSheet, QStringLiteral("Maintenance"));
    ui_->AdjustmentTab->AddTab(ui_->CheckPatternSheet, QStringLiteral("Check pattern"));
    ui_->AdjustmentTab->AddTab(ui_->AppendixSheet, QStringLiteral("Appendix"));
    for (orvane_app::RadioGroup* group :
         {ui_->AdjustRdoGrp, ui_->MainteRdoGrp, ui_->CheckPatternPrnRdoGrp, ui_->AppendixRdoGrp}) {
        group->CollectItems();
    }
    CreatePages();

    connect(ui_->AdjustmentTab, &orvane_app::MultiLineTabControl::CurrentChanged, this,
            &TFormAdjust::AdjustmentTabChange);
    connect(ui_->AdjustRdoGrp, &orvane_app::RadioGroup::Click, this,
            &TFormAdjust::AdjustRdoGrpClick);
    connect(ui_->MainteRdoGrp, &orvane_app::RadioGroup::Click, this,
            &TFormAdjust::MainteRdoGrpClick);
    connect(ui_->CheckPatternPrnRdoGrp, &orvane_app::RadioGroup::Click, this,
            &TFormAdjust::CheckPatternPrnRdoGrpClick);
    connect(ui_->AppendixRdoGrp, &orvane_app::RadioGroup::Click, this,
            &TFormAdjust::AppendixRdoGrpClick);
    connect(ui_->AdjustQuitBtn, &QPushButton::clicked, this, &TFormAdjust::AdjustQuitBtnClick);
    connect(ui_->GetStatusBtn, &QPushButton::clicked, this,
            [this] { RunOperation([this] { GetStatusBtnClick(); }); });

    ResetPageArea();
    ui_->CanvasPnl->show();
    for (TPage* page : pageOrder_) {
        page->Build();
    }
}

Ui::TFormAdjust& TFormAdjust::Frame() {
    Build();
    return *ui_;
}

void TFormAdjust::CreatePages() {
    orvane_app::AppContext& c = context_;
    const std::vector<TPage*> pages = {
        new TDefaultSetPage(c, *this, this),
        new THeadIDInputPage(c, *this, this),
        new TCRHeatProtectOffsetPage(c, *this, this),
        new THeadAngAdjustPage(c, *this, this),
        new TBidPrintPage(c, *this, this),
        new TBidInputPage(c, *this, this),
        new TPFAdjustPage(c, *this, this),
        new TUSBIDInputPage(c, *this, this),
        new TLandMarginAdjustPage(c, *this, this),
        new TTopMarginMainPage(c, *this, this),
        new TCleaningPage(c, *this, this),
        new TInkChargePage(c, *this, this),
        new TProCounterMaintePage(c, *this, this),
        new TEepromDataCopyPage(c, *this, this),
        new TG0SCheckPrintPage(c, *this, this),
        new TA4CheckPrintPage(c, *this, this),
        new TNozzleCheckPatternPrintPage(c, *this, this),
        new TEepromReadoutPage(c, *this, this),
    };
    for (TPage* page : pages) {
        page->setGeometry(ui_->CanvasPnl->geometry());
        page->hide();
        pages_[page->objectName()] = page;
        pageOrder_.push_back(page);
    }
    // The status line and the adjusted items stay above the page area.
    ui_->StatusMemo->raise();
    ui_->AdjustedItemsPnl->raise();
}

TPage* TFormAdjust::Page(const QString& panelName) {
    Build();
    const auto it = pages_.find(panelName);
    return it == pages_.end() ? nullptr : it->second;
}

void TFormAdjust::ShowPageOnly(const QString& panelName) {
    Frame().CanvasPnl->hide();
    for (TPage* page : pageOrder_) {
        page->setVisible(page->objectName() == panelName);
    }
}

void TFormAdjust::SetAdjustedValue(const QString& panelName, const QString& text) {
    if (auto* panel = Frame().AdjustedItemsPnl->findChild<QLabel*>(panelName)) {
        panel->setText(text);
    }
}

QString TFormAdjust::AdjustedValue(const QString& panelName) {
    const auto* panel = Frame().AdjustedItemsPnl->findChild<QLabel*>(panelName);
    return panel != nullptr ? panel->text() : QString();
}

void TFormAdjust::showEvent(QShowEvent* event) {
    if (!placed_) {
        orvane_app::CentreOnScreen(this);
        // The status line takes its bold type here: set at start, it would lay
        // the empty line out once more, in a face that the boot window does not
        // show, before the boot window appears.
        QFont bold;
        bold.setBold(true);
        ui_->StatusMemo->setFont(bold);
        placed_ = true;
    }
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        RunOperation([this] { FormShow(); });
    }
}

void TFormAdjust::FormShow() {
    const uint8_t modelCode = context_.Boot().ModelCode;
    if (modelCode == 1 || modelCode == 2) {
        SetModelTexts(modelCode);
    } else {
        orvane::MessageRequest request;
        request.text = "program miss!!";
        request.caption = "Error";
        request.icon = orvane::MessageIcon::Error;
        request.owner = orvane::MessageOwner::AdjustmentWindow;
        context_.MessageBox().Show(request);
    }
    GetStatusBtnClick();
}

void TFormAdjust::SetModelTexts(uint8_t modelCode) {
    const bool k31 = modelCode == 1;
    Frame().ModelNameLbl->setText(k31 ? QStringLiteral("Orvane K31")
                                      : QStringLiteral("Orvane K32"));
    const InkConsumptionCaptions captions = InkConsumptionCaptionsFor(modelCode);
    const std::pair<const char*, const std::string*> labels[] = {
        {"CleaningBlackConsumptionLabel", &captions.cleaningBlack},
        {"CleaningColorMConsumptionLabel", &captions.cleaningColorM},
        {"CleaningColorSConsumptionLabel", &captions.cleaningColorS},
        {"InkChargeBlackConsumptionLabel", &captions.inkChargeBlack},
        {"InkChargeColorMConsumptionLabel", &captions.inkChargeColorM},
        {"InkChargeColorSConsumptionLabel", &captions.inkChargeColorS},
    };
    for (const auto& [name, text] : labels) {
        if (auto* label = findChild<QLabel*>(QString::fromUtf8(name)); label != nullptr) {
            const bool colourS = std::string_view(name).find("ColorS") != std::string_view::npos;
            label->setVisible(!colourS || captions.colorSShown);
            label->setText(QString::fromStdString(*text));
        }
    }
}

void TFormAdjust::AdjustQuitBtnClick() {
    close();
}

void TFormAdjust::DisableTimerTimer() {
    setEnabled(true);
    disableTimer_.stop();
}

void TFormAdjust::closeEvent(QCloseEvent* event) {
    if (OperationRunning()) {
        // The operation is still on the stack, e.g. in a wait for the
        // printer or a message box of its own: the close follows when it
        // has returned.
        closeHeld_ = true;
        event->ignore();
        return;
    }
    closeHeld_ = false;
    FormClose();
    event->accept();
    hide();
    context_.Quit().show();
}

void TFormAdjust::RunOperation(const std::function<void()>& operation) {
    if (operations_ == 0) {
        // A print that failed left its unsent bytes behind; the next print
        // starts a page of its own.
        context_.GetModules().raster.DiscardUnsent();
    }
    ++operations_;
    try {
        operation();
    } catch (...) {
        --operations_;
        if (operations_ == 0 && closeHeld_) {
            // The exception report comes first; the close then runs from the
            // event loop.
            closeHeld_ = false;
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        }
        throw;
    }
    --operations_;
    if (operations_ == 0) {
        ReportServiceLogFailure();
    }
    if (operations_ == 0 && closeHeld_) {
        closeHeld_ = false;
        close();
    }
}

void TFormAdjust::ReportServiceLogFailure() {
    // Once the operation is over, so that the box never comes between the
    // writes to the printer; the link tells of a failure once per program run.
    std::string reason;
    if (!context_.GetModules().link.TakeServiceLogFailure(reason)) {
        return;
    }
    orvane::MessageRequest request;
    request.text = "The service log cannot be written:\n" + reason +
                   "\nThe printer has been written all the same. This message is not shown "
                   "again until the program is started anew.";
    request.caption = "Service log";
    request.icon = orvane::MessageIcon::Warning;
    request.owner = orvane::MessageOwner::AdjustmentWindow;
    context_.MessageBox().Show(request);
}

void TFormAdjust::FormClose() {
    Ui::TFormAdjust& ui = Frame();
    ResetPageArea();
    ui.CanvasPnl->show();
    for (const char* name : kValuesClearedAtClose) {
        SetAdjustedValue(QString::fromUtf8(name), QString());
    }

    TPDLLFunction& link = context_.GetModules().link;
    orvane_app::ShowHourglassCursor();
    link.D4Termination();
    link.PortCloseByPway();
    orvane_app::ShowNormalCursor();

    ui.AdjustRdoGrp->SetItemIndex(-1);
    ui.MainteRdoGrp->SetItemIndex(-1);
    ui.CheckPatternPrnRdoGrp->SetItemIndex(-1);

    ui.AdjustmentTab->setEnabled(true);
    ui.AdjustmentTab->blockSignals(true);
    ui.AdjustmentTab->SetCurrentIndex(0);
    ui.AdjustmentTab->blockSignals(false);
    ui.AdjustQuitBtn->setEnabled(true);
}
