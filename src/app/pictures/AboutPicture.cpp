#include <QLinearGradient>
#include <QPainterPath>

#include "app/pictures/PictureKit.h"
#include "app/pictures/Pictures.h"

namespace orvane_app {

// An inkjet printer seen from the front: a sheet going in at the back, the
// body with its four ink colours and a printed sheet in the output tray.
QPixmap AboutPicture() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // The sheet at the back.
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.setBrush(picture::kPaper);
    painter.drawRect(QRectF(18.5, 4.5, 27, 22));

    // The body.
    QLinearGradient body(0, 20, 0, 48);
    body.setColorAt(0, QColor(110, 130, 160));
    body.setColorAt(1, QColor(50, 65, 95));
    painter.setPen(QPen(QColor(30, 40, 60), 1.5));
    painter.setBrush(body);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(4.5, 20.5, 55, 26), 5, 5);
    painter.drawPath(shape);

    // The paper slot and the four inks.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 25, 35));
    painter.drawRect(QRectF(14, 38, 36, 3));
    const QColor inks[] = {QColor(20, 20, 20), QColor(0, 170, 230), QColor(220, 0, 140),
                           QColor(250, 220, 0)};
    for (int i = 0; i < 4; ++i) {
        painter.setBrush(inks[i]);
        painter.drawEllipse(QPointF(12 + 6.5 * i, 28), 2.5, 2.5);
    }
    painter.setBrush(QColor(120, 230, 120));
    painter.drawEllipse(QPointF(52, 28), 2, 2);

    // The printed sheet in the tray.
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.setBrush(picture::kPaper);
    QPolygonF sheet({QPointF(14, 40), QPointF(50, 40), QPointF(56, 60), QPointF(8, 60)});
    painter.drawPolygon(sheet);
    for (int i = 0; i < 4; ++i) {
        painter.setPen(QPen(inks[i], 2));
        const double y = 44 + 4 * i;
        painter.drawLine(QPointF(16 - i, y), QPointF(48 + i, y));
    }
    return pixmap;
}

}  // namespace orvane_app
