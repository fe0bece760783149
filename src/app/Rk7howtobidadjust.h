#pragma once

#include <memory>

#include "app/HowToForm.h"

namespace Ui {
class THowToBidAdjustForm;
}

// How to read the Bi-D check pattern.
class THowToBidAdjustForm final : public THowToForm {
    Q_OBJECT

  public:
    THowToBidAdjustForm();
    ~THowToBidAdjustForm() override;

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::THowToBidAdjustForm> ui_;
};
