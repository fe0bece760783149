#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "app/WindowClock.h"

namespace {

// A button that counts how often it was painted.
class CountingButton final : public QPushButton {
  public:
    CountingButton() : QPushButton(QStringLiteral("OK")) {}
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        QPushButton::paintEvent(event);
    }
};

class WindowClockSleep : public ::testing::Test {
  protected:
    WindowClockSleep() {
        button_.resize(80, 25);
        button_.show();
        QCoreApplication::processEvents();
        QObject::connect(&button_, &QPushButton::clicked, [this] { ++clicks_; });
    }

    void PostClick() {
        const QPointF centre(40, 12);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QCoreApplication::postEvent(
                &button_,
                new QMouseEvent(type, centre, button_.mapToGlobal(centre), Qt::LeftButton,
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                Qt::NoModifier));
        }
    }

    CountingButton button_;
    int clicks_ = 0;
};

// The real clock's sleep (of no length here, so that nothing waits for real)
// still runs the window thread's events once: the windows are painted, but
// the technician's clicks are dropped and no timer fires.
TEST_F(WindowClockSleep, PaintsButDropsInputAndHoldsTimers) {
    orvane_app::WindowClock clock;
    bool fired = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&fired] { fired = true; });
    timer.start(0);

    const int paintsBefore = button_.paints;
    button_.update();
    PostClick();
    clock.Sleep(0);
    EXPECT_GT(button_.paints, paintsBefore);
    EXPECT_EQ(clicks_, 0);
    EXPECT_FALSE(fired);
    EXPECT_FALSE(clock.Waiting());

    // Once the operation is back in the event loop, timers and clicks work.
    QCoreApplication::processEvents();
    EXPECT_TRUE(fired);
    PostClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks_, 1);
}

// With a base clock the sleep goes to it in one piece, and Waiting tells an
// operation under way from the outside.
TEST(WindowClock, HandsSleepsToItsBaseAndTellsWhileOneRuns) {
    class ObservingClock final : public orvane::IClock {
      public:
        void Sleep(uint32_t milliseconds) override {
            slept.push_back(milliseconds);
            waitingDuringSleep = owner != nullptr && owner->Waiting();
        }
        orvane::LocalDateTime Now() override { return {2026, 12, 8, 10, 30, 0}; }
        const orvane_app::WindowClock* owner = nullptr;
        std::vector<uint32_t> slept;
        bool waitingDuringSleep = false;
    } base;
    orvane_app::WindowClock clock(&base);
    base.owner = &clock;
    clock.Sleep(1000);
    EXPECT_EQ(base.slept, std::vector<uint32_t>{1000});
    EXPECT_TRUE(base.waitingDuringSleep);
    EXPECT_FALSE(clock.Waiting());
    EXPECT_EQ(clock.Now().year, 2026);
}

}  // namespace
