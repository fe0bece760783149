// The navigation of the adjustment window: the tabs, the four radio groups,
// the page area and which items may be chosen.
#include <array>

#include "app/Rk7formadjust.h"
#include "app/pages/Page.h"
#include "ui_Rk7formadjust.h"

namespace {

// Every page panel, in the order in which the page area hides them.
constexpr std::array<const char*, 18> kPagePanels = {
    "DefaultSetPnl",
    "HeadIDInputPnl",
    "CRHeatProtectOffsetPnl",
    "HeadAngAdjustPnl",
    "BidPrintPnl",
    "BidInputPnl",
    "PFAdjustPnl",
    "USBIDInputPnl",
    "LandMarginAdjustPnl",
    "TopMarginMainPnl",
    "CleaningPnl",
    "InkChargePnl",
    "ProCounterMaintePnl",
    "EepromDataCopyPnl",
    "G0SCheckPrintPnl",
    "A4CheckPrintPnl",
    "NozzleCheckPatternPrintPnl",
    "EepromReadoutPnl",
};

// The page of each item of the four groups, in item order.
const std::vector<QString> kAdjustPages = {
    "DefaultSetPnl",       "USBIDInputPnl", "HeadIDInputPnl",   "HeadAngAdjustPnl",
    "BidPrintPnl",         "PFAdjustPnl",   "TopMarginMainPnl", "CRHeatProtectOffsetPnl",
    "LandMarginAdjustPnl",
};
const std::vector<QString> kMaintePages = {"CleaningPnl", "InkChargePnl", "ProCounterMaintePnl",
                                           "EepromDataCopyPnl"};
const std::vector<QString> kCheckPatternPages = {"G0SCheckPrintPnl", "A4CheckPrintPnl",
                                                 "NozzleCheckPatternPrintPnl"};
const std::vector<QString> kAppendixPages = {"EepromReadoutPnl"};

}  // namespace

void TFormAdjust::ResetPageArea() {
    Ui::TFormAdjust& ui = Frame();
    ui.CanvasPnl->hide();
    for (const char* name : kPagePanels) {
        if (TPage* page = Page(QString::fromUtf8(name))) {
            page->hide();
        }
    }
    ui.AdjustedItemsPnl->show();

    // The status line: empty, black, below the page area.
    SetStatusLines({});
    SetStatusColour(kStatusBlack);
    ui.StatusMemo->show();
    ui.StatusMemo->setGeometry(ui.StatusMemo->x(), ui.ReturnPnl->y(), ui.CanvasPnl->width(),
                               ui.ReturnPnl->height());
    ui.StatusMemo->document()->setDefaultTextOption(QTextOption(Qt::AlignLeft));
}

void TFormAdjust::ClearOtherGroups(const orvane_app::RadioGroup* keep) {
    Ui::TFormAdjust& ui = Frame();
    for (orvane_app::RadioGroup* group :
         {ui.AdjustRdoGrp, ui.MainteRdoGrp, ui.CheckPatternPrnRdoGrp, ui.AppendixRdoGrp}) {
        if (group != keep) {
            group->SetItemIndex(-1);
        }
    }
}

void TFormAdjust::Navigate(orvane_app::RadioGroup& group, const std::vector<QString>& panels) {
    const int index = group.ItemIndex();
    if (index < 0 || index >= static_cast<int>(panels.size())) {
        return;
    }
    ResetPageArea();
    if (TPage* page = Page(panels[static_cast<size_t>(index)])) {
        page->show();
        RunOperation([page] { page->Opened(); });
    }
    ClearOtherGroups(&group);
}

void TFormAdjust::AdjustRdoGrpClick() {
    Navigate(*Frame().AdjustRdoGrp, kAdjustPages);
}

void TFormAdjust::MainteRdoGrpClick() {
    Navigate(*Frame().MainteRdoGrp, kMaintePages);
}

void TFormAdjust::CheckPatternPrnRdoGrpClick() {
    Navigate(*Frame().CheckPatternPrnRdoGrp, kCheckPatternPages);
}

void TFormAdjust::AppendixRdoGrpClick() {
    Navigate(*Frame().AppendixRdoGrp, kAppendixPages);
}

void TFormAdjust::AdjustmentTabChange() {
    ResetPageArea();
    Frame().CanvasPnl->show();
    SetStatusLines({});
    ClearOtherGroups(nullptr);
}

void TFormAdjust::EnableItems(int state) {
    if (state != ItemsAll && state != ItemsPrinterError && state != ItemsNoLink) {
        return;
    }
    const bool all = state == ItemsAll;
    Ui::TFormAdjust& ui = Frame();
    orvane_app::RadioGroup& adjust = *ui.AdjustRdoGrp;
    for (int i = 0; i < adjust.Count(); ++i) {
        // Market setting stays possible while the printer reports an error.
        adjust.Item(i)->setEnabled(all || (i == 0 && state == ItemsPrinterError));
    }
    // The fourth item, EEPROM data copy, is always possible.
    for (int i = 0; i < 3; ++i) {
        ui.MainteRdoGrp->Item(i)->setEnabled(all);
    }
    ui.CheckPatternPrnRdoGrp->setEnabled(all);
    ui.AppendixRdoGrp->Item(0)->setEnabled(state != ItemsNoLink);
    if (state == ItemsNoLink) {
        ShowStatus(StatusAddLine, "Restart the printer and click the [Get Status] button.");
    }
}
