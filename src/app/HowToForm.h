#pragma once

#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <functional>
#include <vector>

#include "app/widgets/BuiltOnFirstShow.h"

// The common frame of the how-to windows: a dialog border with the close
// button, centred on the screen, shown beside the adjustment window without
// blocking it. Each window builds its controls as it is first shown.
class THowToForm : public orvane_app::BuiltOnFirstShow<QDialog> {
    Q_OBJECT

  public:
    THowToForm();

    // Shows the window, or only brings it forward when it is open.
    void ShowForward();

  protected:
    // Called by BuildControls after the form is set up: the border, and the
    // picture, which is drawn when the window is first shown.
    void Finish(QLabel* image, std::function<QPixmap()> picture);
    // Puts "[", a text and "]" on one line, each right after the other, when
    // the window is first shown: their widths need the texts laid out.
    void Bracket(QLabel* open, QLabel* text, QLabel* close);

    void showEvent(QShowEvent* event) override;

  private:
    struct Brackets {
        QLabel* open;
        QLabel* text;
        QLabel* close;
    };
    static void PlaceBrackets(const Brackets& brackets);

    QLabel* image_ = nullptr;
    std::vector<Brackets> brackets_;
    std::function<QPixmap()> picture_;
    bool placed_ = false;
};
