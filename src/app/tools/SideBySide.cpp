#include "app/tools/SideBySide.h"

#include <QPainter>
#include <algorithm>

namespace orvane_app {

QImage SideBySide(const QList<QImage>& pictures, int margin, const QColor& background) {
    if (pictures.isEmpty()) {
        return {};
    }
    int width = margin;
    int height = 0;
    for (const QImage& picture : pictures) {
        width += picture.width() + margin;
        height = std::max(height, picture.height());
    }
    QImage laid(width, height + 2 * margin, QImage::Format_RGB32);
    laid.fill(background);
    QPainter painter(&laid);
    int left = margin;
    for (const QImage& picture : pictures) {
        painter.drawImage(left, margin, picture);
        left += picture.width() + margin;
    }
    return laid;
}

}  // namespace orvane_app
