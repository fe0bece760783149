#pragma once

#include <memory>

#include "app/HowToForm.h"

namespace Ui {
class THowToCheckA4Pad2Form;
}
namespace orvane_app {
class AppContext;
}

// How to check page 2 of the A4 photo-paper check sheet.
class THowToCheckA4Pad2Form final : public THowToForm {
    Q_OBJECT

  public:
    explicit THowToCheckA4Pad2Form(orvane_app::AppContext& context);
    ~THowToCheckA4Pad2Form() override;

    // "Back": this window closes and page 1/2 shows.
    void A4SFCheckBackBtnClick();

  protected:
    void BuildControls() override;

  private:
    orvane_app::AppContext& context_;
    std::unique_ptr<Ui::THowToCheckA4Pad2Form> ui_;
};
