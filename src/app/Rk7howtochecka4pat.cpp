#include "app/Rk7howtochecka4pat.h"

#include "app/AppContext.h"
#include "app/Rk7howtochecka4pat2.h"
#include "app/pictures/Pictures.h"
#include "ui_Rk7howtochecka4pat.h"

THowToCheckA4PatForm::THowToCheckA4PatForm(orvane_app::AppContext& context)
    : context_(context), ui_(std::make_unique<Ui::THowToCheckA4PatForm>()) {}

void THowToCheckA4PatForm::BuildControls() {
    ui_->setupUi(this);
    Bracket(ui_->Label1, ui_->Label2, ui_->Label3);
    Finish(ui_->Image1, orvane_app::CheckSheetPicture1);
    connect(ui_->A4SFCheckNextBtn, &QPushButton::clicked, this,
            &THowToCheckA4PatForm::A4SFCheckNextBtnClick);
}

THowToCheckA4PatForm::~THowToCheckA4PatForm() = default;

void THowToCheckA4PatForm::A4SFCheckNextBtnClick() {
    hide();
    context_.HowToCheckA4Pad2().ShowForward();
}
