#include "app/QtSaveDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace orvane_app {

QtSaveDialog::QtSaveDialog(QWidget* owner, const QString& name) : owner_(owner), name_(name) {}

QStringList QtSaveDialog::NameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.contains(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
            filters.append(description);
        } else {
            filters.append(description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
        }
    }
    return filters;
}

std::optional<std::string> QtSaveDialog::Execute(const orvane::SaveDialogOptions& options) {
    QFileDialog dialog(owner_);
    dialog.setObjectName(name_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog: a desktop's dialog may ignore some of the options.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.overwritePrompt);
    // Qt's dialog never offers to open a file read-only: hideReadOnly holds.
    dialog.setSizeGripEnabled(options.resizable);
    if (!options.defaultExtension.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(options.defaultExtension));
    }
    const QStringList filters = NameFilters(options.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
    }

    while (dialog.exec() == QDialog::Accepted) {
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty()) {
            return std::nullopt;
        }
        const QFileInfo file(chosen.front());
        if (options.noReadOnlyReturn && file.exists() && !file.isWritable()) {
            QMessageBox::warning(&dialog, dialog.windowTitle(),
                                 QStringLiteral("%1\nThis file is set to read-only.\nTry again "
                                                "with a different file name.")
                                     .arg(file.fileName()));
            continue;
        }
        // The path as the file system names it.
        return QFile::encodeName(chosen.front()).toStdString();
    }
    return std::nullopt;
}

}  // namespace orvane_app
