#include "app/QtMessageBox.h"

#include <QMessageBox>

namespace orvane_app {

namespace {

QMessageBox::Icon ToQt(orvane::MessageIcon icon) {
    switch (icon) {
        case orvane::MessageIcon::Error:
            return QMessageBox::Critical;
        case orvane::MessageIcon::Warning:
            return QMessageBox::Warning;
        case orvane::MessageIcon::Information:
            return QMessageBox::Information;
        case orvane::MessageIcon::Question:
            return QMessageBox::Question;
        case orvane::MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtMessageBox::SetOwners(QWidget* bootWindow, QWidget* adjustmentWindow) {
    bootWindow_ = bootWindow;
    adjustmentWindow_ = adjustmentWindow;
}

QWidget* QtMessageBox::Owner(orvane::MessageOwner owner) const {
    switch (owner) {
        case orvane::MessageOwner::BootWindow:
            return bootWindow_;
        case orvane::MessageOwner::AdjustmentWindow:
            return adjustmentWindow_;
        case orvane::MessageOwner::None:
            break;
    }
    return nullptr;
}

orvane::MessageAnswer QtMessageBox::Show(const orvane::MessageRequest& request) {
    const QString caption = request.caption.empty() ? QString::fromUtf8(kDefaultCaption)
                                                    : QString::fromStdString(request.caption);
    const auto buttons = request.buttons == orvane::MessageButtons::OkCancel
                             ? QMessageBox::Ok | QMessageBox::Cancel
                             : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(ToQt(request.icon), caption, QString::fromStdString(request.text), buttons,
                    Owner(request.owner));
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? orvane::MessageAnswer::Ok
                                         : orvane::MessageAnswer::Cancel;
}

}  // namespace orvane_app
