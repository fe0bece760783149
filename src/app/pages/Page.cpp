#include "app/pages/Page.h"

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "link/ResultCodes.h"

TPage::TPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent,
             const QString& panelName)
    : QFrame(parent), context_(context), form_(form) {
    setObjectName(panelName);
}

void TPage::Build() {
    if (built_) {
        return;
    }
    built_ = true;
    // The form gives the page its designed size; the page area decides.
    const QRect place = geometry();
    BuildControls();
    setGeometry(place);
}

void TPage::Opened() {}

void TPage::RunOperation(const std::function<void()>& operation) {
    form_.RunOperation(operation);
}

void TPage::FeedPaper(int lines) {
    TPRaster& raster = context_.GetModules().raster;
    uint16_t result = raster.FeedLines(lines);
    if (result == ResultOk) {
        result = raster.Flush();
    }
    if (result != ResultOk) {
        form_.ReportResult(result);
    }
}
