// The pictures of the head angular, PF and Bi-D how-to windows.
#include <array>
#include <cstdlib>

#include "app/pictures/PictureKit.h"
#include "app/pictures/Pictures.h"

namespace orvane_app {

using namespace picture;

namespace {

// One printed line of the head angular pattern: an upper and a lower stroke
// that meet straight when the value is right and step sideways otherwise.
void AngularLine(QPainter& painter, int x, int top, int height, int offset) {
    painter.save();
    painter.setPen(QPen(kInk, 3));
    painter.drawLine(x, top, x, top + height / 2);
    painter.drawLine(x + offset, top + height / 2, x + offset, top + height);
    painter.restore();
}

}  // namespace

QPixmap HeadAngularPicture() {
    QPixmap pixmap = Canvas(496, 200);
    QPainter painter(&pixmap);
    painter.setFont(Font(12, true));
    // Samples from left to right; the step shrinks towards 3, where the line
    // is straight. The two ends are past the range: NG.
    struct Sample {
        const char* label;
        int offset;
        bool ng;
    };
    const std::array<Sample, 5> samples = {
        {{"NG", -14, true}, {"-3", -6, false}, {"0", -3, false}, {"3", 0, false}, {"NG", 8, true}}};
    const int spacing = 496 / static_cast<int>(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const int centre = spacing / 2 + static_cast<int>(i) * spacing;
        for (int line = -2; line <= 2; ++line) {
            AngularLine(painter, centre + line * 12, 30, 110, samples[i].offset);
        }
        const QRect labelBox(centre - 40, 152, 80, 24);
        Text(painter, labelBox, QString::fromUtf8(samples[i].label), Qt::AlignCenter,
             samples[i].ng ? kRed : kInk);
        if (samples[i].ng) {
            RedFrame(painter, QRect(centre - 44, 18, 88, 164));
        }
    }
    return pixmap;
}

QPixmap PfPicture() {
    QPixmap pixmap = Canvas(164, 376);
    QPainter painter(&pixmap);
    painter.setFont(Font(11, true));
    // From the top: NG, -4 to 4, NG. Each pattern is two fed bands; the gap
    // or overlap between them is smallest at 3.
    const std::array<const char*, 11> labels = {"NG", "-4", "-3", "-2", "-1", "0",
                                                "1",  "2",  "3",  "4",  "NG"};
    const int rowHeight = 376 / static_cast<int>(labels.size());
    for (size_t i = 0; i < labels.size(); ++i) {
        const int top = static_cast<int>(i) * rowHeight + 6;
        const bool ng = i == 0 || i + 1 == labels.size();
        const int value = ng ? (i == 0 ? -8 : 8) : static_cast<int>(i) - 5;
        const int displacement = std::abs(value - 3);
        Text(painter, QRect(4, top, 30, rowHeight - 10), QString::fromUtf8(labels[i]),
             Qt::AlignCenter, ng ? kRed : kInk);
        painter.fillRect(QRect(44, top, 100, 9), kInk);
        painter.fillRect(
            QRect(44, top + 9 + (value < 3 ? displacement : -displacement / 2), 100, 9),
            QColor(90, 90, 90));
        if (ng) {
            RedFrame(painter, QRect(2, top - 3, 158, rowHeight - 4));
        }
    }
    return pixmap;
}

QPixmap BidPicture() {
    QPixmap pixmap = Canvas(516, 268);
    QPainter painter(&pixmap);
    painter.setFont(Font(12, true));
    // Each row prints strokes forward (upper half) and backward (lower half);
    // the gap between them is the Bi-D error of the row's value.
    const std::array<const char*, 5> labels = {"-6", "-5", "-4", "-3", "-2"};
    const std::array<int, 5> gaps = {9, 6, 0, 4, 7};
    const int rowHeight = 48;
    for (size_t i = 0; i < labels.size(); ++i) {
        const int top = 14 + static_cast<int>(i) * rowHeight;
        Text(painter, QRect(10, top, 40, rowHeight - 8), QString::fromUtf8(labels[i]),
             Qt::AlignCenter);
        painter.setPen(QPen(kInk, 2));
        for (int x = 70; x < 490; x += 14) {
            painter.drawLine(x, top + 2, x, top + 18);
            painter.drawLine(x + gaps[i], top + 18, x + gaps[i], top + 34);
        }
    }
    // The ends of the range: a value from these areas is printed again.
    RedFrame(painter, QRect(6, 8, 504, 2 * rowHeight));
    RedFrame(painter, QRect(6, 8 + 3 * rowHeight, 504, 2 * rowHeight));
    return pixmap;
}

}  // namespace orvane_app
