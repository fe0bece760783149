// The pictures of the check-sheet, first-dot and top-margin how-to windows.
#include <array>

#include "app/pictures/PictureKit.h"
#include "app/pictures/Pictures.h"

namespace orvane_app {

using namespace picture;

namespace {

// Three small prints of one pattern at X-step, X and X+step; X is the best.
void PatternRow(QPainter& painter, int top, const QString& caption, const char* low,
                const char* high, int kind) {
    painter.setFont(Font(12, true));
    Text(painter, QRect(10, top, 300, 20), caption);
    const std::array<const char*, 3> labels = {low, "X", high};
    for (int i = 0; i < 3; ++i) {
        const int left = 40 + i * 160;
        const int error = (i - 1) * 5;  // X prints clean, the others off
        painter.setPen(QPen(kInk, 2));
        for (int line = 0; line < 6; ++line) {
            const int x = left + line * 14;
            switch (kind) {
                case 0:  // head angular: upper and lower stroke
                    painter.drawLine(x, top + 26, x, top + 46);
                    painter.drawLine(x + error, top + 46, x + error, top + 66);
                    break;
                case 1:  // Bi-D: forward and backward stroke
                    painter.drawLine(x, top + 26, x, top + 46);
                    painter.drawLine(x + error / 2, top + 46, x + error / 2, top + 66);
                    break;
                default:  // PF: two fed bands
                    break;
            }
        }
        if (kind == 2) {
            painter.fillRect(QRect(left, top + 30, 76, 14), kInk);
            painter.fillRect(QRect(left, top + 44 + error, 76, 14), QColor(90, 90, 90));
        }
        painter.setFont(Font(12, i == 1));
        Text(painter, QRect(left, top + 72, 80, 18),
             QString::fromUtf8(labels[static_cast<size_t>(i)]), Qt::AlignCenter,
             i == 1 ? QColor(0, 0, 255) : kInk);
    }
}

// A sheet whose print starts at the given distance from the edge, with the
// example's mark and its text beside it. vertical: the distance is from the
// top edge, else from the left edge.
void EdgeExample(QPainter& painter, const QRect& column, bool vertical, int distance, bool good,
                 const QString& text) {
    const QRect sheet(column.left() + 34, column.top() + 8, column.width() - 44, 120);
    painter.fillRect(sheet.adjusted(3, 3, 3, 3), kShade);
    painter.fillRect(sheet, kPaper);
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.drawRect(sheet);
    painter.setPen(QPen(kInk, 2));
    for (int line = 0; line < 5; ++line) {
        if (vertical) {
            const int y = sheet.top() + distance + line * 8;
            painter.drawLine(sheet.left() + 12, y, sheet.right() - 12, y);
        } else {
            const int x = sheet.left() + distance;
            painter.drawLine(x, sheet.top() + 20 + line * 18, x + 60, sheet.top() + 20 + line * 18);
        }
    }
    if (vertical) {
        Dimension(painter, QPoint(sheet.left() + 22, sheet.top()),
                  QPoint(sheet.left() + 22, sheet.top() + distance));
    } else {
        Dimension(painter, QPoint(sheet.left(), sheet.top() + 10),
                  QPoint(sheet.left() + distance, sheet.top() + 10));
    }
    Mark(painter, QPoint(column.left() + 16, column.top() + 24), good);
    painter.setFont(Font(11, good));
    Text(painter, QRect(column.left() + 4, sheet.bottom() + 8, column.width() - 8, 90), text,
         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap);
}

}  // namespace

QPixmap CheckSheetPicture1() {
    QPixmap pixmap = Canvas(516, 310);
    QPainter painter(&pixmap);
    PatternRow(painter, 8, QStringLiteral("- Head Angular pattern "), "X-2", "X+2", 0);
    PatternRow(painter, 108, QStringLiteral("- Bi-D pattern "), "X-1", "X+1", 1);
    PatternRow(painter, 208, QStringLiteral("- PF pattern "), "X-1", "X+1", 2);
    return pixmap;
}

QPixmap CheckSheetPicture2() {
    QPixmap pixmap = Canvas(196, 280);
    QPainter painter(&pixmap);
    // The top left corner of a printed sheet.
    const QRect sheet(30, 30, 160, 244);
    painter.fillRect(sheet.adjusted(3, 3, 3, 3), kShade);
    painter.fillRect(sheet, kPaper);
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.drawRect(sheet);
    painter.setPen(QPen(kInk, 2));
    const int printTop = sheet.top() + 34;
    const int printLeft = sheet.left() + 28;
    painter.drawLine(printLeft, printTop, sheet.right() - 8, printTop);
    for (int line = 1; line < 8; ++line) {
        painter.drawLine(printLeft, printTop + line * 22, printLeft + 70 + (line % 3) * 20,
                         printTop + line * 22);
    }
    Dimension(painter, QPoint(sheet.left() + 90, sheet.top()), QPoint(sheet.left() + 90, printTop));
    Dimension(painter, QPoint(sheet.left(), printTop + 66), QPoint(printLeft, printTop + 66));
    painter.setFont(Font(11, true));
    Text(painter, QRect(sheet.left() + 96, sheet.top() + 6, 70, 22), QStringLiteral("Top margin"),
         Qt::AlignLeft | Qt::AlignVCenter, kRed);
    Text(painter, QRect(4, printTop + 72, 90, 22), QStringLiteral("First dot"),
         Qt::AlignLeft | Qt::AlignVCenter, kRed);
    return pixmap;
}

QPixmap FirstDotPicture() {
    QPixmap pixmap = Canvas(576, 258);
    QPainter painter(&pixmap);
    const int width = 576 / 3;
    EdgeExample(painter, QRect(0, 4, width, 250), false, 34, true,
                QStringLiteral("No adjustment\n3 ± 1.5mm from left edge"));
    EdgeExample(painter, QRect(width, 4, width, 250), false, 10, false,
                QStringLiteral("Input the higher value than current one."));
    EdgeExample(painter, QRect(2 * width, 4, width, 250), false, 64, false,
                QStringLiteral("Input the lower value than current one."));
    return pixmap;
}

QPixmap TopMarginPicture() {
    QPixmap pixmap = Canvas(616, 308);
    QPainter painter(&pixmap);
    const int width = 616 / 3;
    EdgeExample(painter, QRect(0, 4, width, 300), true, 40, true,
                QStringLiteral("No adjustment\n3.6 ± 1mm from top edge"));
    EdgeExample(painter, QRect(width, 4, width, 300), true, 14, false,
                QStringLiteral("This case, select \"+\" and print the pattern again. Confirm that "
                               "standard is satisfied."));
    EdgeExample(painter, QRect(2 * width, 4, width, 300), true, 72, false,
                QStringLiteral("This case, select \"-\" and print the pattern again. Confirm that "
                               "standard is satisfied."));
    return pixmap;
}

}  // namespace orvane_app
