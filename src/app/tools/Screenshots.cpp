// Saves pictures of the program's windows as PNG files: the boot window, the
// adjustment window on each of its tabs, the Bi-D input page after Read page
// (in a build with the page reader), the quit window, the About box, the
// how-to windows and the start-up message. Runs the real windows on the
// virtual printers of a scratch state folder.
//   orvane-screenshots FOLDER
//   orvane-screenshots --beside OUT PICTURE...   lays saved pictures side by side
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "app/AppContext.h"
#include "app/QtMessageBox.h"
#include "app/Rk7formabout.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "app/Rk7formquit.h"
#include "app/Rk7howtobidadjust.h"
#include "app/Rk7howtochecka4pat.h"
#include "app/Rk7howtochecka4pat2.h"
#include "app/Rk7howtofirstdotadjust.h"
#include "app/Rk7howtohdangadjust.h"
#include "app/Rk7howtopfadjust.h"
#include "app/Rk7howtotopmarginadjust.h"
#include "app/reading/PageReader.h"
#include "app/tools/SideBySide.h"
#include "app/widgets/MultiLineTabControl.h"
#include "app/widgets/RadioGroup.h"
#include "platform/ExecutableFolder.h"
#include "platform/ImageFile.h"
#include "platform/PortList.h"
#include "platform/Random.h"
#include "vprinter/Mechanism.h"
#include "vprinter/Store.h"

namespace {

bool Save(QWidget& window, const QString& folder, const QString& name) {
    // A window shows itself for the picture, as the technician would see it.
    const bool hidden = window.isHidden();
    window.show();
    QCoreApplication::processEvents();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    const bool saved =
        orvane::SaveImage(window.grab().toImage(), path.toStdString()) == orvane::FileWrite::Done;
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
    if (hidden) {
        window.hide();
    }
    return saved;
}

// Presses a button of the adjustment window as the technician does; the
// window takes input again at the unlock timer's tick.
void Press(TFormAdjust& adjust, const char* name) {
    if (auto* button = adjust.findChild<QPushButton*>(QString::fromUtf8(name))) {
        button->click();
    } else {
        std::fprintf(stderr, "orvane-screenshots: no button %s\n", name);
    }
    adjust.DisableTimerTimer();
}

// Lays the pictures side by side into OUT, on the windows' own background.
int Beside(const QString& out, const QStringList& paths) {
    QList<QImage> pictures;
    for (const QString& path : paths) {
        QImage picture(path);
        if (picture.isNull()) {
            std::fprintf(stderr, "orvane-screenshots: cannot read %s\n", qPrintable(path));
            return 1;
        }
        pictures.append(picture);
    }
    const QImage laid = orvane_app::SideBySide(pictures, 16, QColor(0xc8, 0xc8, 0xc8));
    // Quality 0: the PNG writer's strongest compression.
    const bool saved = orvane::SaveImage(laid, out.toStdString(), 0) == orvane::FileWrite::Done;
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(out));
    return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && QByteArray(argv[1]) == "--beside") {
        // Only pictures: no display needed.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        QStringList paths;
        for (int at = 3; at < argc; ++at) {
            paths.append(QString::fromLocal8Bit(argv[at]));
        }
        return Beside(QString::fromLocal8Bit(argv[2]), paths);
    }
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: orvane-screenshots FOLDER\n"
                     "       orvane-screenshots --beside OUT PICTURE...\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QTemporaryDir state;
    const QString printers = state.filePath(QStringLiteral("vprinter"));
    qputenv("ORVANE_VPRINTER_DIR", printers.toLocal8Bit());
    // The first printer's Bi-D is off, for the picture of Read page: VSD1
    // black 2 steps, read and filled in; ECO colour -3, beyond the page's
    // choices, not sure, with the status line saying which way it lies.
    if (orvane_app::PageReaderBuilt()) {
        vprinter::Store store(printers.toStdString());
        vprinter::Mechanism mechanism;
        mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex("bid-vsd1-black"))] = 2;
        mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex("bid-eco-color"))] = -3;
        if (!store.EnsureCreated() || !store.SaveMechanism("VTUSB001", mechanism)) {
            std::fprintf(stderr, "orvane-screenshots: cannot set the printer's mechanism\n");
            return 1;
        }
    }

    orvane_app::QtMessageBox messageBox;
    orvane::SystemLibraryLoader loader;
    orvane::VirtualPrinterPortList ports;
    orvane::StdRandom random;
    orvane_app::PlatformSeams seams{loader, orvane::ExecutableFolder(), messageBox, ports, random};
    // The pictures' printers are made up: their writes stay out of the user's log.
    seams.serviceLogPath = state.filePath(QStringLiteral("service.log")).toStdString();
    orvane_app::AppContext context(seams);
    messageBox.SetOwners(&context.Boot(), &context.Adjust());
    bool ok = true;

    TFormBoot& boot = context.Boot();
    boot.show();
    ok &= Save(boot, folder, QStringLiteral("boot"));

    // Open the link to the first printer, an Orvane K31.
    auto* model = boot.findChild<QComboBox*>(QStringLiteral("ModelNameCombo"));
    auto* port = boot.findChild<QComboBox*>(QStringLiteral("InterfaceCombo"));
    model->setCurrentIndex(0);
    boot.ModelNameComboChange();
    port->setCurrentIndex(0);
    ok &= Save(boot, folder, QStringLiteral("boot-chosen"));
    boot.PortSelectOKBtnClick();

    TFormAdjust& adjust = context.Adjust();
    auto* tabs =
        adjust.findChild<orvane_app::MultiLineTabControl*>(QStringLiteral("AdjustmentTab"));
    const char* const groups[] = {"AdjustRdoGrp", "MainteRdoGrp", "CheckPatternPrnRdoGrp",
                                  "AppendixRdoGrp"};
    for (int tab = 0; tab < tabs->Count(); ++tab) {
        tabs->SetCurrentIndex(tab);
        ok &= Save(adjust, folder, QStringLiteral("adjust-tab%1").arg(tab + 1));
        // Every page of the tab, chosen through its navigation item.
        auto* group = adjust.findChild<orvane_app::RadioGroup*>(QString::fromUtf8(groups[tab]));
        for (int item = 0; item < group->Count(); ++item) {
            group->Item(item)->click();
            // A page that reads the printer on opening keeps the window
            // locked until the unlock timer's tick, as the event loop gives it.
            adjust.DisableTimerTimer();
            ok &= Save(adjust, folder,
                       QStringLiteral("adjust-tab%1-item%2").arg(tab + 1).arg(item + 1));
        }
        if (tab == 0) {
            // The Bi-D input page is reached from the Bi-D print page only.
            adjust.ShowPageOnly(QStringLiteral("BidInputPnl"));
            ok &= Save(adjust, folder, QStringLiteral("adjust-tab1-bid-input"));
        }
    }
    if (orvane_app::PageReaderBuilt()) {
        // The Bi-D page printed, then Read page on its input page.
        tabs->SetCurrentIndex(0);
        adjust.findChild<orvane_app::RadioGroup*>(QStringLiteral("AdjustRdoGrp"))->Item(4)->click();
        adjust.DisableTimerTimer();
        Press(adjust, "BidPrintOKBtn");
        Press(adjust, "BidPrintShowInputBtn");
        Press(adjust, "BidReadPageBtn");
        ok &= Save(adjust, folder, QStringLiteral("adjust-tab1-bid-read-page"));
    }
    tabs->SetCurrentIndex(0);
    adjust.close();
    ok &= Save(context.Quit(), folder, QStringLiteral("quit"));
    context.Quit().hide();

    ok &= Save(context.About(), folder, QStringLiteral("about"));
    ok &= Save(context.HowToHdAngAdjust(), folder, QStringLiteral("howto-head-angular"));
    ok &= Save(context.HowToPFAdjust(), folder, QStringLiteral("howto-pf"));
    ok &= Save(context.HowToBidAdjust(), folder, QStringLiteral("howto-bid"));
    ok &= Save(context.HowToCheckA4Pat(), folder, QStringLiteral("howto-a4-1"));
    ok &= Save(context.HowToCheckA4Pad2(), folder, QStringLiteral("howto-a4-2"));
    ok &= Save(context.HowToFirstDotAdjust(), folder, QStringLiteral("howto-first-dot"));
    ok &= Save(context.HowToTopMarginAdjust(), folder, QStringLiteral("howto-top-margin"));

    // The start-up message about a missing library, as the program shows it.
    QMessageBox startup(QMessageBox::Critical,
                        QString::fromUtf8(orvane_app::QtMessageBox::kDefaultCaption),
                        QString::fromUtf8(TPDLLFunction::kLoadFailureText), QMessageBox::Ok);
    startup.show();
    ok &= Save(startup, folder, QStringLiteral("startup-message"));
    return ok ? 0 : 1;
}
