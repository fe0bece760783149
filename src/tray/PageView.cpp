#include "tray/PageView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace tray {

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setCursor(Qt::OpenHandCursor);
    horizontalScrollBar()->setSingleStep(40);
    verticalScrollBar()->setSingleStep(40);
    // Moved by the user (or the program); a resize that keeps the place only
    // tells that it was resized.
    const auto moved = [this] {
        if (!arranging_) {
            emit PlaceChanged();
        }
    };
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, moved);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, moved);
}

void PageView::SetPicture(const QImage& picture) {
    // The next page of a run of prints is looked at where the last one was.
    const QPointF centre = picture_.isNull() ? QPointF(0.0, 0.0) : Centre();
    // Drawn often and in parts: converted once from the palette.
    picture_ = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    fitted_ = QImage();
    Arrange(centre);
    viewport()->update();
    emit PlaceChanged();
}

void PageView::SetNote(const QString& note) {
    note_ = note;
    viewport()->update();
}

void PageView::SetZoom(Zoom zoom) {
    const QPointF centre = Centre();
    zoom_ = zoom;
    Arrange(centre);
    viewport()->update();
    emit PlaceChanged();
}

PageView::Zoom PageView::Closer(Zoom zoom) {
    return zoom == Zoom::Close ? zoom : static_cast<Zoom>(static_cast<int>(zoom) + 1);
}

PageView::Zoom PageView::Farther(Zoom zoom) {
    return zoom == Zoom::Fit ? zoom : static_cast<Zoom>(static_cast<int>(zoom) - 1);
}

void PageView::Take(const PageView& other) {
    zoom_ = other.zoom_;
    Arrange(other.Centre());
    viewport()->update();
}

void PageView::CentreOn(QPointF point) {
    Arrange(point);
    viewport()->update();
    emit PlaceChanged();
}

QPointF PageView::Centre() const {
    const QPointF middle(viewport()->width() / 2.0, viewport()->height() / 2.0);
    return (middle - Origin()) / scale_;
}

QPointF PageView::Origin() const {
    // A picture narrower (or lower) than the view sits in its middle.
    const double width = picture_.width() * scale_;
    const double height = picture_.height() * scale_;
    const double x = width < viewport()->width() ? (viewport()->width() - width) / 2.0
                                                 : -horizontalScrollBar()->value();
    const double y = height < viewport()->height() ? (viewport()->height() - height) / 2.0
                                                   : -verticalScrollBar()->value();
    return {x, y};
}

void PageView::Arrange(QPointF centre) {
    const QScopedValueRollback quiet(arranging_, true);
    const QSize view = viewport()->size();
    if (picture_.isNull()) {
        scale_ = 1.0;
        horizontalScrollBar()->setRange(0, 0);
        verticalScrollBar()->setRange(0, 0);
        return;
    }
    scale_ = kZoomSteps[static_cast<size_t>(zoom_)].scale;
    if (zoom_ == Zoom::Fit) {
        scale_ = std::max(0.01, std::min(double(view.width()) / picture_.width(),
                                         double(view.height()) / picture_.height()));
    }
    const int width = static_cast<int>(std::ceil(picture_.width() * scale_));
    const int height = static_cast<int>(std::ceil(picture_.height() * scale_));
    horizontalScrollBar()->setRange(0, std::max(0, width - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, height - view.height()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    // Rounded, not cut: zooming back and forth leaves the place where it was.
    horizontalScrollBar()->setValue(
        static_cast<int>(std::lround(centre.x() * scale_ - view.width() / 2.0)));
    verticalScrollBar()->setValue(
        static_cast<int>(std::lround(centre.y() * scale_ - view.height() / 2.0)));
    if (scale_ < 1.0 && (fitted_.isNull() || fitted_.width() != width)) {
        // Scaled down once with averaging: thin lines stay visible.
        fitted_ = picture_.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    } else if (scale_ >= 1.0) {
        fitted_ = QImage();
    }
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
    if (picture_.isNull()) {
        painter.setPen(palette().color(QPalette::BrightText));
        painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap, note_);
        return;
    }
    const QPointF origin = Origin();
    const QRectF shown(origin, QSizeF(picture_.width() * scale_, picture_.height() * scale_));
    const QRectF visible = shown.intersected(QRectF(viewport()->rect()));
    if (visible.isEmpty()) {
        return;
    }
    if (!fitted_.isNull()) {
        painter.drawImage(visible.topLeft(), fitted_, visible.translated(-origin));
        return;
    }
    // Enlarged pixels stay sharp squares.
    const QRectF source((visible.x() - origin.x()) / scale_, (visible.y() - origin.y()) / scale_,
                        visible.width() / scale_, visible.height() / scale_);
    painter.drawImage(visible, picture_, source);
}

void PageView::resizeEvent(QResizeEvent* event) {
    const QPointF centre = Centre();
    QAbstractScrollArea::resizeEvent(event);
    Arrange(centre);
    emit Resized();
}

void PageView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    dragged_ = 0;
    dragFrom_ = event->position().toPoint();
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void PageView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const QPoint moved = at - dragFrom_;
    dragFrom_ = at;
    dragged_ += moved.manhattanLength();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - moved.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - moved.y());
}

void PageView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    viewport()->setCursor(Qt::OpenHandCursor);
    // A hand that shakes a little still clicks.
    constexpr int kClickSlack = 4;
    if (dragged_ <= kClickSlack && !picture_.isNull()) {
        emit Clicked((event->position() - Origin()) / scale_);
    }
}

}  // namespace tray
