// The program's own start, ended as soon as the boot window has painted
// itself: what the technician waits for after starting the program.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include "app/AppContext.h"
#include "app/Program.h"
#include "app/Rk7formboot.h"

namespace {

class QuitOnFirstPaint final : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The quit is queued, so that the window first paints itself.
        if (event->type() == QEvent::Paint) {
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QuitOnFirstPaint quit;
    return orvane_app::RunProgram(argc, argv, [&quit](orvane_app::AppContext& context) {
        context.Boot().installEventFilter(&quit);
    });
}
