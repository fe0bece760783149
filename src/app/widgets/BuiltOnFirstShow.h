#pragma once

#include <QWidget>

namespace orvane_app {

// A window that builds its controls as it is first shown. The start creates
// every window of the program, in its order, before the boot window shows;
// what a window shows is built only when it first appears, or earlier by
// whatever needs it first (Build). Every show of a widget passes setVisible
// (show, exec, open), which builds before the window is polished and shown.
template <typename Window>
class BuiltOnFirstShow : public Window {
  public:
    using Window::Window;

    // Builds the controls and ties them to their handlers, once.
    void Build() {
        if (!built_) {
            built_ = true;
            BuildControls();
        }
    }

    void setVisible(bool visible) override {
        if (visible) {
            Build();
        }
        Window::setVisible(visible);
    }

  protected:
    virtual void BuildControls() = 0;

  private:
    bool built_ = false;
};

}  // namespace orvane_app
