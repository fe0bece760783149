#include "app/pages/Page.h"

TPage::TPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : QFrame(parent), context_(context), form_(form) {}

void TPage::Opened() {}
