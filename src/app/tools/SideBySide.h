#pragma once

#include <QColor>
#include <QImage>
#include <QList>

namespace orvane_app {

// Pictures of windows laid side by side, left to right, their tops in a line,
// on a plain background with a margin round and between them, each at its own
// size. None makes an empty picture.
QImage SideBySide(const QList<QImage>& pictures, int margin, const QColor& background);

}  // namespace orvane_app
