#include "app/pictures/PictureKit.h"

#include <QLineF>
#include <QPolygonF>
#include <cmath>

namespace orvane_app::picture {

QPixmap Canvas(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(kPaper);
    QPainter painter(&pixmap);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(0, 0, width - 1, height - 1);
    return pixmap;
}

QFont Font(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void Text(QPainter& painter, const QRect& box, const QString& text, int flags,
          const QColor& colour) {
    painter.save();
    painter.setPen(colour);
    painter.drawText(box, flags, text);
    painter.restore();
}

void RedFrame(QPainter& painter, const QRect& area) {
    painter.save();
    painter.setPen(QPen(kRed, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    painter.restore();
}

void Dimension(QPainter& painter, QPoint from, QPoint to, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(colour);
    painter.drawLine(from, to);
    const QLineF line(from, to);
    const double angle = std::atan2(line.dy(), line.dx());
    for (const auto& [tip, direction] :
         {std::pair{QPointF(to), angle + M_PI}, std::pair{QPointF(from), angle}}) {
        const QPointF left =
            tip + QPointF(std::cos(direction + 0.4), std::sin(direction + 0.4)) * 7;
        const QPointF right =
            tip + QPointF(std::cos(direction - 0.4), std::sin(direction - 0.4)) * 7;
        painter.drawPolygon(QPolygonF({tip, left, right}));
    }
    painter.restore();
}

void Mark(QPainter& painter, QPoint centre, bool good) {
    painter.save();
    painter.setFont(Font(24, true));
    Text(painter, QRect(centre - QPoint(14, 16), QSize(28, 32)),
         good ? QStringLiteral("o") : QStringLiteral("x"), Qt::AlignCenter,
         good ? QColor(0, 0, 255) : kRed);
    painter.restore();
}

}  // namespace orvane_app::picture
