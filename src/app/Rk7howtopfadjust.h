#pragma once

#include <memory>

#include "app/HowToForm.h"

namespace Ui {
class THowToPFAdjustForm;
}

// How to read the PF check pattern.
class THowToPFAdjustForm final : public THowToForm {
    Q_OBJECT

  public:
    THowToPFAdjustForm();
    ~THowToPFAdjustForm() override;

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::THowToPFAdjustForm> ui_;
};
