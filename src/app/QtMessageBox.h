#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/MessageBox.h"

namespace orvane_app {

// Message boxes as the windows show them: modal, owned by the window that the
// request names (none before the windows exist). A box without a caption of
// its own is captioned by its kind: "Confirm" for a question, "Information",
// "Warning", and "Error" for the others.
class QtMessageBox final : public orvane::IMessageBox {
  public:
    void SetOwners(QWidget* bootWindow, QWidget* adjustmentWindow);
    orvane::MessageAnswer Show(const orvane::MessageRequest& request) override;

    static constexpr const char* kDefaultCaption = "Error";
    // The caption a request is shown with.
    static QString Caption(const orvane::MessageRequest& request);

  private:
    QWidget* Owner(orvane::MessageOwner owner) const;

    QPointer<QWidget> bootWindow_;
    QPointer<QWidget> adjustmentWindow_;
};

}  // namespace orvane_app
