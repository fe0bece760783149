#pragma once

#include <memory>

#include "app/HowToForm.h"

namespace Ui {
class THowToTopMarginAdjustForm;
}

// How to read the top margin check pattern.
class THowToTopMarginAdjustForm final : public THowToForm {
    Q_OBJECT

  public:
    THowToTopMarginAdjustForm();
    ~THowToTopMarginAdjustForm() override;

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::THowToTopMarginAdjustForm> ui_;
};
