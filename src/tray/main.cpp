// orvane-tray: the paper tray of the virtual printers. Shows the pages they
// print, newest first, as the pictures appear in their pages folders.
#include <CLI/CLI.hpp>

#include <QApplication>
#include <cstdio>
#include <iostream>
#include <map>
#include <vector>

#include "tray/PageShelf.h"
#include "tray/TrayWindow.h"
#include "platform/Files.h"
#include "platform/ImageFile.h"
#include "vprinter/Store.h"

int main(int argc, char** argv) {
    std::string folder;
    std::string port;
    std::string screenshot;
    std::string zoom = "fit";
    std::map<std::string, tray::PageView::Zoom> zooms;
    std::vector<std::string> values;
    for (const tray::ZoomStep& step : tray::kZoomSteps) {
        zooms.emplace(step.value, step.zoom);
        values.emplace_back(step.value);
    }

    CLI::App app{"Paper tray of the Orvane virtual printers: their printed pages, newest first",
                 "orvane-tray"};
    auto* dir = app.add_option(
        "--dir", folder, "state folder (default: ORVANE_VPRINTER_DIR, else the XDG state folder)");
    app.add_option("port", port, "show only this printer's pages");
    app.add_option("--zoom", zoom, "fit, 25, 50, 100, 200 or 400 (percent) to start with")
        ->check(CLI::IsMember(values));
    std::vector<int> at;
    app.add_option("--at", at,
                   "the page's COLUMN,ROW to show in the middle (as far as the zoom lets it)")
        ->delimiter(',')
        ->expected(2)
        ->check(CLI::Range(0, 100000));
    bool sideBySide = false;
    app.add_flag("--side-by-side", sideBySide,
                 "show the page printed before the chosen one beside it (as the S key does)");
    app.add_option("--screenshot", screenshot,
                   "save a picture of the window into this PNG file once the pages are read, "
                   "and end");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        std::cerr << "orvane-tray: " << error.what() << '\n';
        return 2;
    }
    if (dir->count() == 0) {
        folder = vprinter::Store::DefaultFolder();
    } else if (const std::string problem = tray::TrayFolderProblem(folder); !problem.empty()) {
        std::fprintf(stderr, "orvane-tray: %s\n", problem.c_str());
        return 2;
    }
    if (const orvane::FileKind kind = orvane::KindOf(screenshot);
        !screenshot.empty() && kind != orvane::FileKind::Missing &&
        kind != orvane::FileKind::Regular) {
        std::fprintf(stderr, "orvane-tray: %s is not a regular file\n", screenshot.c_str());
        return 2;
    }
    if (!port.empty() && !vprinter::Store::IsValidPortName(port)) {
        std::fprintf(stderr, "orvane-tray: '%s' is no port name\n", port.c_str());
        return 2;
    }

    QApplication application(argc, argv);
    tray::TrayWindow window(folder, port);
    window.resize(1000, 800);
    window.show();
    window.SetZoom(zooms.at(zoom));
    window.SetSideBySide(sideBySide);
    if (at.size() == 2) {
        window.View().CentreOn(QPointF(at[0], at[1]));
    }
    if (screenshot.empty()) {
        return application.exec();
    }
    QCoreApplication::processEvents();
    if (orvane::SaveImage(window.grab().toImage(), screenshot) != orvane::FileWrite::Done) {
        std::fprintf(stderr, "orvane-tray: cannot write %s\n", screenshot.c_str());
        return 1;
    }
    return 0;
}
