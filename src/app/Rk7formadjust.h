#pragma once

#include <QColor>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/widgets/BuiltOnFirstShow.h"
#include "link/ResultMessages.h"
#include "link/StatusReporter.h"
#include "platform/SaveDialog.h"

namespace Ui {
class TFormAdjust;
}
namespace orvane_app {
class AppContext;
class RadioGroup;
}  // namespace orvane_app
class TPage;

// Which navigation items may be chosen, by link state.
enum ItemsState : int {
    ItemsAll = 1,           // everything
    ItemsPrinterError = 2,  // market setting, EEPROM data copy and the full dump only
    ItemsNoLink = 3,        // EEPROM data copy only
};

// The adjustment window: the navigation over four tabs on the left, one page
// at a time in the middle, the status line below it and the values adjusted
// in this run on the right. It reports every operation of its pages through
// ShowStatus and ReportResult, and locks itself while one runs. Its controls
// and pages are built as it is first shown, or by the first call that needs
// them.
class TFormAdjust final : public orvane_app::BuiltOnFirstShow<QWidget>, public IStatusReporter {
    Q_OBJECT

  public:
    explicit TFormAdjust(orvane_app::AppContext& context);
    ~TFormAdjust() override;

    // Status line and lock.
    uint16_t ShowStatus(int kind, const std::string& text) override;
    void Repaint() override;
    void ReportResult(uint16_t code);
    void EnableItems(int state);

    // Event handlers.
    void FormShow();
    void FormClose();
    void AdjustmentTabChange();
    void AdjustRdoGrpClick();
    void MainteRdoGrpClick();
    void CheckPatternPrnRdoGrpClick();
    void AppendixRdoGrpClick();
    void AdjustQuitBtnClick();
    void DisableTimerTimer();
    void GetStatusBtnClick();
    void ResetPageArea();

    // For the pages: the page of a panel name, showing one page alone, and
    // the adjusted-items value panels.
    TPage* Page(const QString& panelName);
    void ShowPageOnly(const QString& panelName);
    void SetAdjustedValue(const QString& panelName, const QString& text);
    QString AdjustedValue(const QString& panelName);
    // The status line's text set as it stands: colour, cursor and lock stay.
    void SetStatusMemo(const QStringList& lines) { SetStatusLines(lines); }
    // The save dialog of the full EEPROM dump.
    orvane::ISaveDialog& EepSaveDialog() { return *eepSaveDialog_; }

    QTimer& DisableTimer() { return disableTimer_; }

    // Runs one operation of the window: a page's button, the Read action of
    // a page that opens, Get Status. A close requested meanwhile (from a
    // sleep, a message box or the save dialog the operation opens) is held
    // and runs once the outermost operation has returned, never inside it:
    // closing ends the link the operation is still using.
    void RunOperation(const std::function<void()>& operation);
    // Tells the technician, once, that a write could not be logged.
    void ReportServiceLogFailure();
    bool OperationRunning() const { return operations_ > 0; }
    bool CloseHeld() const { return closeHeld_; }

    // The status line's colours.
    static const QColor kStatusBlack;
    static const QColor kStatusBlue;
    static const QColor kStatusRed;

  protected:
    // The frame, its pages, and every page's controls, in page order.
    void BuildControls() override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The window's controls, built first when they are not yet.
    Ui::TFormAdjust& Frame();
    void CreatePages();
    void Navigate(orvane_app::RadioGroup& group, const std::vector<QString>& panels);
    void ClearOtherGroups(const orvane_app::RadioGroup* keep);
    void SetModelTexts(uint8_t modelCode);

    // Status line.
    void SetStatusColour(const QColor& colour);
    void SetStatusLines(const QStringList& lines);
    void ReplaceStatus(const QString& text);
    uint16_t WaitUntilReady(bool showMessages);

    // Reporting of the families of result codes.
    void ShowResultMessage(const ResultMessage& message);
    void ReportPrinterError(uint8_t errorCode);
    void ReportHeadIdError();
    void ReportBidError();
    void ReportUsbIdError();
    void ReportHeadAngularError();
    void ReportEepromFileError();
    void FocusEdit(const char* editName);

    orvane_app::AppContext& context_;
    std::unique_ptr<Ui::TFormAdjust> ui_;
    QTimer disableTimer_;
    std::unique_ptr<orvane::ISaveDialog> ownSaveDialog_;
    orvane::ISaveDialog* eepSaveDialog_ = nullptr;
    std::map<QString, TPage*> pages_;
    std::vector<TPage*> pageOrder_;
    QStringList statusLines_;
    int operations_ = 0;
    bool closeHeld_ = false;
    bool placed_ = false;
};
