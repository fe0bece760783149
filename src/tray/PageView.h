#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <QString>

namespace tray {

// One page picture, zoomed to fit the view, at 100% (one picture pixel a
// screen pixel) or at 400%, panned with the scroll bars or by dragging it
// with the mouse. Only the part in view is drawn, so a close-up of a whole
// page costs no more than the window.
class PageView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    enum class Zoom { Fit, Full, Close };  // fit, 100%, 400%

    explicit PageView(QWidget* parent = nullptr);

    // A null picture empties the view, which then shows the note.
    void SetPicture(const QImage& picture);
    void SetNote(const QString& note);
    bool HasPicture() const { return !picture_.isNull(); }
    QSize PictureSize() const { return picture_.size(); }

    // Keeps the picture point at the middle of the view; from Fit, a closer
    // look starts at the page's top left corner.
    void SetZoom(Zoom zoom);
    // Shows the picture's point (in its pixels) in the middle of the view, as
    // far as the zoom lets it.
    void CentreOn(QPointF point);
    Zoom CurrentZoom() const { return zoom_; }
    // Screen pixels a picture pixel.
    double Scale() const { return scale_; }
    // The picture point at the middle of the view.
    QPointF Centre() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // Sets the scale and the scroll bars for the zoom and the view's size,
    // with the picture point centre at the middle of the view as far as the
    // scroll bars go (a new picture: its top left corner).
    void Arrange(QPointF centre);
    QPointF Origin() const;  // where the picture's corner is drawn

    QImage picture_;
    QImage fitted_;  // the picture scaled to fit, made once a size
    QString note_;
    Zoom zoom_ = Zoom::Fit;
    double scale_ = 1.0;
    QPoint dragFrom_;
    bool dragging_ = false;
};

}  // namespace tray
