#pragma once

// For the Qt programs only (the platform library itself has no Qt): a picture
// written as every other file of the project is, through a temporary file and
// a rename, never through a link or into a FIFO or a device.

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QString>

#include <string>
#include <string_view>

#include "platform/Files.h"

namespace orvane {

// Saves image at path in the format its suffix names (PNG without one).
// quality as QImage::save takes it.
inline FileWrite SaveImage(const QImage& image, const std::string& path, int quality = -1) {
    QByteArray format = QFileInfo(QString::fromStdString(path)).suffix().toLatin1().toUpper();
    if (format.isEmpty()) {
        format = "PNG";
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format.constData(), quality)) {
        return FileWrite::CannotCreate;
    }
    return ReplaceFile(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}  // namespace orvane
