#include "app/pages/Page.h"

#include <QPushButton>

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/reading/ReadPageControls.h"
#include "link/ResultCodes.h"

TPage::TPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent,
             const QString& panelName)
    : QFrame(parent), context_(context), form_(form) {
    setObjectName(panelName);
}

TPage::~TPage() = default;

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

void TPage::AddReadPage(const QString& prefix, QWidget& holder, const QRect& read,
                        const QRect& open, std::function<std::string()> kind,
                        std::function<void(const std::vector<orvane_app::ReadValue>&)> fill) {
    reading_ = std::make_unique<orvane_app::ReadPageControls>(
        context_, form_, prefix, holder, read, open, std::move(kind), std::move(fill));
    orvane_app::ReadPageControls* reading = reading_.get();
    connect(reading->ReadButton(), &QAbstractButton::clicked, this,
            [this, reading] { RunOperation([reading] { reading->ReadNewest(); }); });
    connect(reading->OpenButton(), &QAbstractButton::clicked, this,
            [this, reading] { RunOperation([reading] { reading->OpenPicture(); }); });
}

void TPage::ReadPageInputWritten(const std::vector<std::pair<std::string, int>>& values) {
    if (reading_) {
        reading_->InputWritten({values.begin(), values.end()});
    }
}
