// The README's picture of the program beside the paper tray: two windows'
// pictures laid side by side, tops in a line, each whole and at its size.
#include <gtest/gtest.h>

#include "app/tools/SideBySide.h"

namespace {

QImage Filled(int width, int height, Qt::GlobalColor colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

TEST(SideBySide, LaysEachPictureWholeTopsInALineOnTheBackground) {
    const QImage laid = orvane_app::SideBySide({Filled(30, 20, Qt::red), Filled(10, 40, Qt::blue)},
                                               4, QColor(Qt::gray));
    ASSERT_EQ(laid.size(), QSize(4 + 30 + 4 + 10 + 4, 4 + 40 + 4));
    const struct {
        QPoint at;
        Qt::GlobalColor colour;
    } pixels[] = {
        {{0, 0}, Qt::gray},   {{4, 4}, Qt::red},   {{33, 23}, Qt::red},  {{34, 4}, Qt::gray},
        {{20, 24}, Qt::gray}, {{38, 4}, Qt::blue}, {{47, 43}, Qt::blue}, {{48, 43}, Qt::gray},
        {{40, 47}, Qt::gray}, {{3, 10}, Qt::gray},
    };
    for (const auto& pixel : pixels) {
        EXPECT_EQ(laid.pixelColor(pixel.at), QColor(pixel.colour))
            << pixel.at.x() << "," << pixel.at.y();
    }
    EXPECT_TRUE(orvane_app::SideBySide({}, 4, QColor(Qt::gray)).isNull());
}

}  // namespace
