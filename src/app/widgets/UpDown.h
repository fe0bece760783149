#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace orvane_app {

// An up-down control tied to an edit: an arrow up above an arrow down, each of
// which steps the control's position between Min and Max by Increment and
// writes it into the edit as decimal text. A step starts from the number the
// edit shows, brought to the nearest of the control's positions first (Min
// and every Increment above it, up to Max: a stored value beyond the range
// steps from the nearer end, a 1 between the positions -3, 0 and 3 from 0),
// and from the last position when the edit shows no number; it stops at the
// ends of the range. Holding an arrow repeats its
// step, and the Up and Down keys in the edit step it too. The arrows take no
// keyboard focus, so it stays where it was.
class UpDown final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)

  public:
    explicit UpDown(QWidget* parent = nullptr);

    void SetAssociate(QLineEdit* edit);
    QLineEdit* Associate() const { return associate_; }

    int Min() const { return min_; }
    void SetMin(int min) { min_ = min; }
    int Max() const { return max_; }
    void SetMax(int max) { max_ = max; }
    int Increment() const { return increment_; }
    void SetIncrement(int increment) { increment_ = increment; }
    // One step up (direction 1) or down (-1), as a click on that arrow.
    void Step(int direction);

    QToolButton* UpArrow() const { return up_; }
    QToolButton* DownArrow() const { return down_; }

  signals:
    // After every step that changed the edit or held it at an end of the range.
    void Click();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int Clamped(long long value) const;
    int NearestPosition(long long value) const;
    void PlaceArrows();

    QToolButton* up_;
    QToolButton* down_;
    QLineEdit* associate_ = nullptr;
    int min_ = 0;
    int max_ = 100;
    int increment_ = 1;
    int position_ = 0;
};

}  // namespace orvane_app
