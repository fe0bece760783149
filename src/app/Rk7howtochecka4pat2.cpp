#include "app/Rk7howtochecka4pat2.h"

#include "app/AppContext.h"
#include "app/Rk7howtochecka4pat.h"
#include "app/pictures/Pictures.h"
#include "ui_Rk7howtochecka4pat2.h"

THowToCheckA4Pad2Form::THowToCheckA4Pad2Form(orvane_app::AppContext& context)
    : context_(context), ui_(std::make_unique<Ui::THowToCheckA4Pad2Form>()) {}

void THowToCheckA4Pad2Form::BuildControls() {
    ui_->setupUi(this);
    Bracket(ui_->Label1, ui_->Label2, ui_->Label3);
    Bracket(ui_->Label12, ui_->Label13, ui_->Label14);
    Finish(ui_->Image1, orvane_app::CheckSheetPicture2);
    connect(ui_->A4SFCheckBackBtn, &QPushButton::clicked, this,
            &THowToCheckA4Pad2Form::A4SFCheckBackBtnClick);
}

THowToCheckA4Pad2Form::~THowToCheckA4Pad2Form() = default;

void THowToCheckA4Pad2Form::A4SFCheckBackBtnClick() {
    hide();
    context_.HowToCheckA4Pat().ShowForward();
}
