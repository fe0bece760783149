#include "app/Program.h"

#include <QApplication>
#include <exception>
#include <string>

#include "app/AppContext.h"
#include "app/QtMessageBox.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "platform/ExecutableFolder.h"
#include "platform/LibraryLoader.h"
#include "platform/PortList.h"
#include "platform/Random.h"

namespace orvane_app {

void ReportException(orvane::IMessageBox& messageBox, const char* what) {
    std::string text = what != nullptr && *what != '\0' ? what : "Unknown exception";
    if (text.back() != '.') {
        text += '.';
    }
    orvane::MessageRequest request;
    request.text = text;
    request.caption = kApplicationTitle;
    request.icon = orvane::MessageIcon::Error;
    messageBox.Show(request);
}

namespace {

// An exception that escapes an event handler is reported, and the event
// loop goes on.
class Application final : public QApplication {
  public:
    Application(int& argc, char** argv, orvane::IMessageBox& messageBox)
        : QApplication(argc, argv), messageBox_(messageBox) {}

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            ReportException(messageBox_, error.what());
        } catch (...) {
            ReportException(messageBox_, nullptr);
        }
        return false;
    }

  private:
    orvane::IMessageBox& messageBox_;
};

}  // namespace

void ShowBootWindow(AppContext& context) {
    QCoreApplication::removePostedEvents(nullptr, QEvent::PolishRequest);
    context.Boot().show();
}

int RunProgram(int& argc, char** argv, const std::function<void(AppContext&)>& started) {
    QtMessageBox messageBox;
    Application application(argc, argv, messageBox);
    // The program ends when the boot window closes, not with the last window.
    QApplication::setQuitOnLastWindowClosed(false);

    orvane::SystemLibraryLoader loader;
    orvane::VirtualPrinterPortList virtualPorts;
    orvane::PrinterPortList ports(virtualPorts, orvane::SpoolerPortList());
    orvane::StdRandom random;
    try {
        AppContext context(
            PlatformSeams{loader, orvane::ExecutableFolder(), messageBox, ports, random, nullptr});
        messageBox.SetOwners(&context.Boot(), &context.Adjust());
        QObject::connect(&context.Boot(), &TFormBoot::ProgramEnds, &application,
                         &QCoreApplication::quit, Qt::QueuedConnection);
        ShowBootWindow(context);
        if (started) {
            started(context);
        }
        QApplication::exec();
    } catch (const std::exception& error) {
        ReportException(messageBox, error.what());
    } catch (...) {
        ReportException(messageBox, nullptr);
    }
    return 0;
}

}  // namespace orvane_app
