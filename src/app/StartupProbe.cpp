#include "app/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <cstdlib>
#include <cstring>

#include "app/AppContext.h"
#include "app/Program.h"
#include "app/Rk7formboot.h"

namespace orvane_app {

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

bool StartupProbeRequested() {
    const char* probe = std::getenv("ORVANE_STARTUP_PROBE");
    return probe != nullptr && std::strcmp(probe, "1") == 0;
}

int RunStartupProbe(int& argc, char** argv) {
    QuitOnFirstPaint quit;
    return RunProgram(argc, argv,
                      [&quit](AppContext& context) { context.Boot().installEventFilter(&quit); });
}

}  // namespace orvane_app
