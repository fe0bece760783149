#pragma once

#include <memory>

#include "app/HowToForm.h"

namespace Ui {
class THowToFirstDotAdjustForm;
}

// How to read the first-dot check pattern.
class THowToFirstDotAdjustForm final : public THowToForm {
    Q_OBJECT

  public:
    THowToFirstDotAdjustForm();
    ~THowToFirstDotAdjustForm() override;

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::THowToFirstDotAdjustForm> ui_;
};
