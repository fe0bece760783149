#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <QString>
#include <iterator>

namespace tray {

// One page picture, zoomed to fit the view or to one of the fixed steps
// from 25% to 400% (at 100% one picture pixel a screen pixel), panned with the
// scroll bars or by dragging it with the mouse. Only the part in view is
// drawn, so a close-up of a whole page costs no more than the window.
//
// The view keeps its place: a zoom and a new picture keep the picture point
// in the middle of the view there, as far as the picture reaches.
class PageView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    // In step order, from the whole page to the closest look.
    enum class Zoom { Fit, Quarter, Half, Full, Double, Close };  // fit, 25% .. 400%

    explicit PageView(QWidget* parent = nullptr);

    // A null picture empties the view, which then shows the note. A picture
    // after another one is shown at the same zoom with the same picture point
    // in the middle of the view; the first one from its top left corner.
    void SetPicture(const QImage& picture);
    void SetNote(const QString& note);
    bool HasPicture() const { return !picture_.isNull(); }
    QSize PictureSize() const { return picture_.size(); }

    // Keeps the picture point at the middle of the view.
    void SetZoom(Zoom zoom);
    // The next step closer or farther, the same at either end.
    static Zoom Closer(Zoom zoom);
    static Zoom Farther(Zoom zoom);
    // Shows the picture's point (in its pixels) in the middle of the view, as
    // far as the zoom lets it.
    void CentreOn(QPointF point);
    Zoom CurrentZoom() const { return zoom_; }
    // Screen pixels a picture pixel.
    double Scale() const { return scale_; }
    // The picture point at the middle of the view.
    QPointF Centre() const;
    // Takes the other view's zoom and place.
    void Take(const PageView& other);

  signals:
    // The zoom, the place looked at or the picture changed.
    void PlaceChanged();
    // The view's size changed; its place is kept.
    void Resized();
    // A click on the picture, not a drag: the picture point clicked.
    void Clicked(QPointF point);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // Sets the scale and the scroll bars for the zoom and the view's size,
    // with the picture point centre at the middle of the view as far as the
    // scroll bars go.
    void Arrange(QPointF centre);
    QPointF Origin() const;  // where the picture's corner is drawn

    QImage picture_;
    QImage fitted_;  // the picture scaled to fit, made once a size
    QString note_;
    Zoom zoom_ = Zoom::Fit;
    double scale_ = 1.0;
    QPoint dragFrom_;
    int dragged_ = 0;  // screen pixels moved since the press
    bool dragging_ = false;
    bool arranging_ = false;
};

// The zoom steps as the tray offers them: the --zoom value, the toolbar's
// text, the key that chooses it (none for some) and the scale (the fitting
// one for Fit). In step order.
struct ZoomStep {
    PageView::Zoom zoom;
    const char* value;
    const char* text;
    const char* key;
    double scale;
};
inline constexpr ZoomStep kZoomSteps[] = {
    {PageView::Zoom::Fit, "fit", "Fit", "F", 0.0},
    {PageView::Zoom::Quarter, "25", "25%", "", 0.25},
    {PageView::Zoom::Half, "50", "50%", "", 0.5},
    {PageView::Zoom::Full, "100", "100%", "1", 1.0},
    {PageView::Zoom::Double, "200", "200%", "2", 2.0},
    {PageView::Zoom::Close, "400", "400%", "4", 4.0}};
static_assert(std::size(kZoomSteps) == static_cast<size_t>(PageView::Zoom::Close) + 1);

}  // namespace tray
