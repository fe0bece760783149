#pragma once

#include <memory>

#include "app/HowToForm.h"

namespace Ui {
class THowToCheckA4PatForm;
}
namespace orvane_app {
class AppContext;
}

// How to check page 1 of the A4 photo-paper check sheet.
class THowToCheckA4PatForm final : public THowToForm {
    Q_OBJECT

  public:
    explicit THowToCheckA4PatForm(orvane_app::AppContext& context);
    ~THowToCheckA4PatForm() override;

    // "Next": this window closes and page 2/2 shows.
    void A4SFCheckNextBtnClick();

  protected:
    void BuildControls() override;

  private:
    orvane_app::AppContext& context_;
    std::unique_ptr<Ui::THowToCheckA4PatForm> ui_;
};
