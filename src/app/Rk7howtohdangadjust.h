#pragma once

#include <memory>

#include "app/HowToForm.h"

namespace Ui {
class THowToHdAngAdjustForm;
}

// How to read the head angular check pattern.
class THowToHdAngAdjustForm final : public THowToForm {
    Q_OBJECT

  public:
    THowToHdAngAdjustForm();
    ~THowToHdAngAdjustForm() override;

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::THowToHdAngAdjustForm> ui_;
};
