#include "app/WindowClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <algorithm>
#include <chrono>
#include <thread>

namespace orvane_app {

namespace {

// Drops the user's input while it is installed.
class InputBlocker final : public QObject {
  public:
    InputBlocker() {
        if (QCoreApplication::instance() != nullptr) {
            QCoreApplication::instance()->installEventFilter(this);
        }
    }
    ~InputBlocker() override {
        if (QCoreApplication::instance() != nullptr) {
            QCoreApplication::instance()->removeEventFilter(this);
        }
    }
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::TabletPress:
            case QEvent::TabletRelease:
                return true;
            default:
                return QObject::eventFilter(watched, event);
        }
    }
};

}  // namespace

void WindowClock::Sleep(uint32_t milliseconds) {
    ++depth_;
    if (base_ != nullptr) {
        base_->Sleep(milliseconds);
    } else {
        SleepPainting(milliseconds);
    }
    --depth_;
}

void WindowClock::SleepPainting(uint32_t milliseconds) {
    const InputBlocker blocker;
    const auto flags = QEventLoop::AllEvents | QEventLoop::X11ExcludeTimers;
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        QCoreApplication::processEvents(flags);
        const qint64 left = static_cast<qint64>(milliseconds) - elapsed.elapsed();
        if (left <= 0) {
            break;
        }
        const qint64 slice = std::min<qint64>(left, kSliceMilliseconds);
        std::this_thread::sleep_for(std::chrono::milliseconds(slice));
    }
}

orvane::LocalDateTime WindowClock::Now() {
    return base_ != nullptr ? base_->Now() : system_.Now();
}

}  // namespace orvane_app
