#pragma once

#include <QDialog>
#include <memory>

#include "app/widgets/BuiltOnFirstShow.h"

namespace Ui {
class TFormQuit;
}
namespace orvane_app {
class AppContext;
}

// Shown when the adjustment window has closed: go on with another printer
// (back to the boot window) or end the program.
class TFormQuit final : public orvane_app::BuiltOnFirstShow<QDialog> {
    Q_OBJECT

  public:
    explicit TFormQuit(orvane_app::AppContext& context);
    ~TFormQuit() override;

    void NextBtnClick();
    void QuitBtnClick();

  protected:
    void BuildControls() override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    orvane_app::AppContext& context_;
    std::unique_ptr<Ui::TFormQuit> ui_;
    bool placed_ = false;
};
