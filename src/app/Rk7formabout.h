#pragma once

#include <QDialog>
#include <memory>

#include "app/widgets/BuiltOnFirstShow.h"

namespace Ui {
class TAboutBox;
}

// The About box of the boot window's pop-up menu.
class TAboutBox final : public orvane_app::BuiltOnFirstShow<QDialog> {
    Q_OBJECT

  public:
    TAboutBox();
    ~TAboutBox() override;

    void OKButtonClick();

  protected:
    void BuildControls() override;
    void showEvent(QShowEvent* event) override;

  private:
    std::unique_ptr<Ui::TAboutBox> ui_;
    bool placed_ = false;
};
