#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QString>

// Small drawing helpers shared by the pictures.
namespace orvane_app::picture {

inline const QColor kInk(40, 40, 40);
inline const QColor kRed(255, 0, 0);
inline const QColor kPaper(255, 255, 255);
inline const QColor kShade(235, 235, 235);

// A white picture of the given size with a thin grey border.
QPixmap Canvas(int width, int height);
QFont Font(int pixelSize, bool bold = false);
// Text in a box; wraps when the flags ask for it.
void Text(QPainter& painter, const QRect& box, const QString& text,
          int flags = Qt::AlignLeft | Qt::AlignVCenter, const QColor& colour = kInk);
// A red frame around an area, as the examples mark what is not good.
void RedFrame(QPainter& painter, const QRect& area);
// A dimension arrow between two points, with heads at both ends.
void Dimension(QPainter& painter, QPoint from, QPoint to, const QColor& colour = kRed);
// The big "o" (good) or "x" (not good) of an example.
void Mark(QPainter& painter, QPoint centre, bool good);

}  // namespace orvane_app::picture
