#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/MessageBox.h"

namespace orvane_app {

// Message boxes as the windows show them: modal, owned by the window that the
// request names (none before the windows exist). An empty caption is the
// system's default caption, "Error".
class QtMessageBox final : public orvane::IMessageBox {
  public:
    void SetOwners(QWidget* bootWindow, QWidget* adjustmentWindow);
    orvane::MessageAnswer Show(const orvane::MessageRequest& request) override;

    static constexpr const char* kDefaultCaption = "Error";

  private:
    QWidget* Owner(orvane::MessageOwner owner) const;

    QPointer<QWidget> bootWindow_;
    QPointer<QWidget> adjustmentWindow_;
};

}  // namespace orvane_app
