#include "app/pages/LandMarginAdjustPage.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include "adjust/FirstDotDisplay.h"
#include "adjust/StoredValues.h"
#include "adjust/ValueText.h"
#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7howtofirstdotadjust.h"
#include "app/pages/BusyStart.h"
#include "app/reading/PageReader.h"
#include "app/widgets/UpDown.h"
#include "link/ResultCodes.h"
#include "ui_LandMarginAdjustPnl.h"

namespace {

// How far one press of a "four points at a time" button moves the value.
constexpr int kStep = 4;
// Line feeds of one press of Paper feed.
constexpr int kFeedLines = 3;
// The page's value, as the page reader and the mechanism name it.
constexpr const char* kFirstDotQuantity = "first-dot";

enum class Glyph { LeftEdge, Left, Centre, Right, RightEdge };

// The step buttons' pictures: arrows toward the edge or the middle, drawn
// on a 16 x 16 square.
QIcon GlyphIcon(Glyph glyph) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPolygon pointLeft({QPoint(10, 3), QPoint(10, 13), QPoint(5, 8)});
    const QPolygon pointRight({QPoint(6, 3), QPoint(6, 13), QPoint(11, 8)});
    switch (glyph) {
        case Glyph::LeftEdge:
            painter.drawRect(2, 3, 2, 11);
            painter.drawPolygon(pointLeft.translated(2, 0));
            break;
        case Glyph::Left:
            painter.drawPolygon(pointLeft);
            break;
        case Glyph::Centre:
            painter.drawRect(7, 2, 2, 13);
            painter.drawPolygon(QPolygon({QPoint(1, 4), QPoint(1, 12), QPoint(5, 8)}));
            painter.drawPolygon(QPolygon({QPoint(15, 4), QPoint(15, 12), QPoint(11, 8)}));
            break;
        case Glyph::Right:
            painter.drawPolygon(pointRight);
            break;
        case Glyph::RightEdge:
            painter.drawRect(12, 3, 2, 11);
            painter.drawPolygon(pointRight.translated(-2, 0));
            break;
    }
    painter.end();
    return QIcon(pixmap);
}

}  // namespace

TLandMarginAdjustPage::TLandMarginAdjustPage(orvane_app::AppContext& context, TFormAdjust& form,
                                             QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("LandMarginAdjustPnl")),
      ui_(std::make_unique<Ui::LandMarginAdjustPnl>()) {}

void TLandMarginAdjustPage::BuildControls() {
    ui_->setupUi(this);

    const std::pair<QPushButton*, Glyph> glyphs[] = {
        {ui_->GotoLeftEdgeBitBtn, Glyph::LeftEdge},   {ui_->SteptoLeftBitBtn, Glyph::Left},
        {ui_->CenteringBitBtn, Glyph::Centre},        {ui_->SteptoRightBitBtn, Glyph::Right},
        {ui_->GotoRightEdgeBitBtn, Glyph::RightEdge},
    };
    for (const auto& [button, glyph] : glyphs) {
        button->setIcon(GlyphIcon(glyph));
        button->setIconSize(QSize(16, 16));
    }

    using Page = TLandMarginAdjustPage;
    OnClick(ui_->LandMarginCheckBtn, &Page::LandMarginCheckBtnClick);
    OnClick(ui_->LandMarginInputBtn, &Page::LandMarginInputBtnClick);
    OnClick(ui_->LandMarginPrintBtn, &Page::LandMarginPrintBtnClick);
    OnClick(ui_->LandMarginFeedBtn, &Page::LandMarginFeedBtnClick);
    OnClick(ui_->FirstDotHowToAdjustBtn, &Page::FirstDotHowToAdjustBtnClick);
    OnClick(ui_->GotoLeftEdgeBitBtn, &Page::GotoLeftEdgeBitBtnClick);
    OnClick(ui_->SteptoLeftBitBtn, &Page::SteptoLeftBitBtnClick);
    OnClick(ui_->CenteringBitBtn, &Page::CenteringBitBtnClick);
    OnClick(ui_->SteptoRightBitBtn, &Page::SteptoRightBitBtnClick);
    OnClick(ui_->GotoRightEdgeBitBtn, &Page::GotoRightEdgeBitBtnClick);
    ui_->LandMarginInputUpDown->SetAssociate(ui_->LandMarginInputEdit);
    connect(ui_->LandMarginInputUpDown, &orvane_app::UpDown::Click, this,
            &Page::LandMarginInputUpDownClick);
    // Read page below the Input group, left of How to adjust.
    AddReadPage(
        QStringLiteral("FirstDot"), *this, QRect(63, 323, 110, 25), QRect(177, 323, 110, 25),
        [] { return std::string(kFirstDotQuantity); },
        [this](const std::vector<orvane_app::ReadValue>& values) {
            for (const orvane_app::ReadValue& value : values) {
                if (value.fills && value.name == kFirstDotQuantity) {
                    ShowFirstDot(value.value);
                }
            }
        });
}

TLandMarginAdjustPage::~TLandMarginAdjustPage() = default;

void TLandMarginAdjustPage::Opened() {
    LandMarginCheckBtnClick();
}

std::optional<int> TLandMarginAdjustPage::EditValue() const {
    return adjust::TextToInt(ui_->LandMarginInputEdit->text().toStdString());
}

void TLandMarginAdjustPage::ShowMargins(int value) {
    const adjust::FirstDotDisplay display = adjust::FirstDotDisplayFor(value);
    ui_->LeftMarginGauge->setValue(display.leftGauge);
    ui_->RightMarginGauge->setValue(display.rightGauge);
    ui_->LandMarginInputRealValuePnl->setText(QString::fromStdString(display.realValue));
}

void TLandMarginAdjustPage::ShowFirstDot(int value) {
    const int shown = adjust::ClampFirstDot(value);
    ui_->LandMarginInputEdit->setText(QString::number(shown));
    ShowMargins(shown);
}

void TLandMarginAdjustPage::StepBy(int delta) {
    if (const std::optional<int> value = EditValue()) {
        ShowFirstDot(*value + delta);
    }
}

void TLandMarginAdjustPage::GotoLeftEdgeBitBtnClick() {
    ShowFirstDot(adjust::kFirstDotMin);
}

void TLandMarginAdjustPage::SteptoLeftBitBtnClick() {
    StepBy(-kStep);
}

void TLandMarginAdjustPage::CenteringBitBtnClick() {
    ShowFirstDot(0);
}

void TLandMarginAdjustPage::SteptoRightBitBtnClick() {
    StepBy(kStep);
}

void TLandMarginAdjustPage::GotoRightEdgeBitBtnClick() {
    ShowFirstDot(adjust::kFirstDotMax);
}

void TLandMarginAdjustPage::LandMarginInputUpDownClick() {
    // The up-down has stepped the edit within its range.
    if (const std::optional<int> value = EditValue()) {
        ShowMargins(*value);
    }
}

void TLandMarginAdjustPage::LandMarginCheckBtnClick() {
    TFormAdjust& form = Form();
    ui_->LandMarginInputEdit->clear();
    if (!StartBusy(form, steps::FirstDotRead)) {
        return;
    }
    uint8_t stored = 0;
    const uint16_t result = adjust::ReadFirstDot(Context().GetModules().link, stored);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // The gauges and millimetres keep to the range; the edit shows the byte
    // as stored, so that a stored -128 is seen (and refused by Input).
    ShowFirstDot(static_cast<int8_t>(stored));
    ui_->LandMarginInputEdit->setText(QString::fromStdString(adjust::SignedByteText(stored)));
    EndBusy(form, steps::FirstDotRead);
}

void TLandMarginAdjustPage::LandMarginInputBtnClick() {
    TFormAdjust& form = Form();
    const std::optional<int> value =
        adjust::CheckFirstDotValue(ui_->LandMarginInputEdit->text().toStdString());
    if (!value) {
        ui_->LandMarginInputEdit->setFocus(Qt::OtherFocusReason);
        form.ShowStatus(StatusError, adjust::kFirstDotRefusedText);
        return;
    }
    if (!StartBusy(form, steps::FirstDotWrite)) {
        return;
    }
    const uint16_t result = adjust::WriteFirstDot(Context().GetModules().factory, *value);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    if (EndBusy(form, steps::FirstDotWrite) == ResultOk) {
        ReadPageInputWritten({{kFirstDotQuantity, *value}});
    }
}

void TLandMarginAdjustPage::LandMarginPrintBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::FirstDotPrint)) {
        return;
    }
    // The pattern ejects its page itself.
    const uint16_t result = Context().GetModules().pattern.PrintFirstDotPattern();
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    EndBusy(form, steps::FirstDotPrint);
}

void TLandMarginAdjustPage::LandMarginFeedBtnClick() {
    FeedPaper(kFeedLines);
}

void TLandMarginAdjustPage::FirstDotHowToAdjustBtnClick() {
    Context().HowToFirstDotAdjust().ShowForward();
}
