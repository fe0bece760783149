#include "app/Cursor.h"

#include <QApplication>
#include <QCursor>

namespace orvane_app {

void ShowHourglassCursor() {
    if (!HourglassCursorShown()) {
        ShowNormalCursor();
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

void ShowNormalCursor() {
    while (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
}

bool HourglassCursorShown() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

}  // namespace orvane_app
