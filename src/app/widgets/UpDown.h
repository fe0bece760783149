#pragma once

#include <QTimer>
#include <QWidget>

class QLineEdit;

namespace orvane_app {

// An up-down control: two small arrow buttons, one above the other, beside
// an edit, its associate. Each press of an arrow (held down, it repeats) steps the number the edit
// shows by the increment, within min..max, and writes it back as the edit's
// text; the Up and Down keys in the edit do the same. A text that is no number
// steps from the last position. The control itself takes no keyboard focus.
class UpDown final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int min READ Min WRITE SetMin)
    Q_PROPERTY(int max READ Max WRITE SetMax)
    Q_PROPERTY(int increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(int position READ Position WRITE SetPosition)

  public:
    explicit UpDown(QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Increment() const { return increment_; }
    int Position() const { return position_; }
    void SetMin(int min) { min_ = min; }
    void SetMax(int max) { max_ = max; }
    void SetIncrement(int increment) { increment_ = increment; }
    // Held within min..max; the edit is left as it is.
    void SetPosition(int position);

    void SetAssociate(QLineEdit* edit);
    QLineEdit* Associate() const { return associate_; }

    // Steps by count increments: positive up, negative down.
    void Step(int count);

    // Where the up and the down arrow are.
    QRect UpRect() const;
    QRect DownRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Repeat();

    QLineEdit* associate_ = nullptr;
    QTimer repeat_;
    int pressed_ = 0;  // 1 up, -1 down, 0 none
    int min_ = 0;
    int max_ = 100;
    int increment_ = 1;
    int position_ = 0;
};

}  // namespace orvane_app
