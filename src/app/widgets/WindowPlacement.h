#pragma once

#include <QWidget>

namespace orvane_app {

// Title-bar styles of the program's windows.
enum class WindowBorder {
    SingleMinimise,   // fixed single border, minimise and system menu (close) only
    DialogNoButtons,  // dialog border, no title-bar buttons at all
    DialogClose,      // dialog border with the close button only
};

// Applies the border style and fixes the client area at width x height.
void SetWindowBorder(QWidget* window, WindowBorder border, int width, int height);

// Moves a window so that it is centred on the screen it is on.
void CentreOnScreen(QWidget* window);

}  // namespace orvane_app
