#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/OpenDialog.h"

namespace orvane_app {

// The open-file dialog as the windows show it: Qt's own file dialog, modal
// over its owner window, for one existing file.
class QtOpenDialog final : public IOpenDialog {
  public:
    // owner: the window the dialog belongs to; name: its object name.
    QtOpenDialog(QWidget* owner, const QString& name);

    std::optional<std::string> Execute(const OpenDialogOptions& options) override;

  private:
    QPointer<QWidget> owner_;
    QString name_;
};

}  // namespace orvane_app
