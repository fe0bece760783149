#include "app/QtOpenDialog.h"

#include <QFile>
#include <QFileDialog>

#include "app/QtSaveDialog.h"

namespace orvane_app {

QtOpenDialog::QtOpenDialog(QWidget* owner, const QString& name) : owner_(owner), name_(name) {}

std::optional<std::string> QtOpenDialog::Execute(const OpenDialogOptions& options) {
    QFileDialog dialog(owner_);
    dialog.setObjectName(name_);
    dialog.setWindowTitle(QString::fromStdString(options.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList filters = QtSaveDialog::NameFilters(options.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    // The path as the file system names it.
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

}  // namespace orvane_app
