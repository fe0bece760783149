#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "support/TempFolder.h"

// The windows run on the offscreen platform; nothing a test does touches the
// user's own virtual printers.
int main(int argc, char** argv) {
    testing_support::TempFolder run;
    setenv("ORVANE_VPRINTER_DIR", (run / "vprinter").c_str(), 1);
    setenv("XDG_DATA_HOME", (run / "data").c_str(), 1);
    setenv("XDG_STATE_HOME", (run / "state").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
