#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "platform/SaveDialog.h"

namespace orvane_app {

// The save-file dialog as the windows show it: Qt's own file dialog (the
// same on every desktop, so that every option holds), modal over its owner
// window.
class QtSaveDialog final : public orvane::ISaveDialog {
  public:
    // owner: the window the dialog belongs to; name: its object name.
    QtSaveDialog(QWidget* owner, const QString& name);

    std::optional<std::string> Execute(const orvane::SaveDialogOptions& options) override;

    // The name filters of a filter text of description|pattern pairs: the
    // description as it stands when it already names its pattern in
    // brackets, else the description followed by the patterns in brackets.
    static QStringList NameFilters(const std::string& filter);

  private:
    QPointer<QWidget> owner_;
    QString name_;
};

}  // namespace orvane_app
