// The yardstick of the start-up benchmark: Qt's own smallest Widgets
// program, a window that shows one text, at the boot window's size, ended
// when it has painted itself.
#include <QApplication>
#include <QEvent>
#include <QLabel>

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
    QApplication application(argc, argv);
    QLabel window(QStringLiteral("Hello world!"));
    window.resize(400, 250);
    QuitOnFirstPaint quit;
    window.installEventFilter(&quit);
    window.show();
    return QApplication::exec();
}
