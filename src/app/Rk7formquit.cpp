#include "app/Rk7formquit.h"

#include <QCloseEvent>

#include "app/AppContext.h"
#include "app/Rk7formboot.h"
#include "app/widgets/WindowPlacement.h"
#include "ui_Rk7formquit.h"

TFormQuit::TFormQuit(orvane_app::AppContext& context)
    : context_(context), ui_(std::make_unique<Ui::TFormQuit>()) {}

void TFormQuit::BuildControls() {
    ui_->setupUi(this);
    orvane_app::SetWindowBorder(this, orvane_app::WindowBorder::DialogNoButtons, width(), height());
    connect(ui_->NextBtn, &QPushButton::clicked, this, &TFormQuit::NextBtnClick);
    connect(ui_->QuitBtn, &QPushButton::clicked, this, &TFormQuit::QuitBtnClick);
}

TFormQuit::~TFormQuit() = default;

void TFormQuit::showEvent(QShowEvent* event) {
    if (!placed_) {
        orvane_app::CentreOnScreen(this);
        placed_ = true;
    }
    QDialog::showEvent(event);
}

void TFormQuit::NextBtnClick() {
    hide();
    context_.Boot().show();
}

void TFormQuit::QuitBtnClick() {
    hide();
    context_.Boot().close();
}

void TFormQuit::reject() {
    // Esc is the Quit button.
    ui_->QuitBtn->click();
}

void TFormQuit::closeEvent(QCloseEvent* event) {
    // The window has no close button: its two buttons (Enter and Esc) are the
    // only way out, and they hide it.
    event->ignore();
}
