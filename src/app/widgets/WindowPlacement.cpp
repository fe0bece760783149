#include "app/widgets/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>

namespace orvane_app {

void SetWindowBorder(QWidget* window, WindowBorder border, int width, int height) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    switch (border) {
        case WindowBorder::SingleMinimise:
            flags |= Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                     Qt::WindowCloseButtonHint;
            break;
        case WindowBorder::DialogNoButtons:
            flags |= Qt::Dialog;
            break;
        case WindowBorder::DialogClose:
            flags |= Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            break;
    }
    window->setWindowFlags(flags);
    window->setFixedSize(width, height);
}

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    frame.moveCenter(available.center());
    window->move(frame.topLeft());
}

}  // namespace orvane_app
