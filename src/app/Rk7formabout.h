#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TAboutBox;
}

// The About box of the boot window's pop-up menu.
class TAboutBox final : public QDialog {
    Q_OBJECT

  public:
    TAboutBox();
    ~TAboutBox() override;

    void OKButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    std::unique_ptr<Ui::TAboutBox> ui_;
    bool placed_ = false;
};
