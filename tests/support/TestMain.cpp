#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TempFolder.h"

// Nothing a test does may touch the user's own virtual printers: the default
// state folder of the whole run is a temporary one.
int main(int argc, char** argv) {
    testing_support::TempFolder run;
    setenv("ORVANE_VPRINTER_DIR", (run / "vprinter").c_str(), 1);
    setenv("XDG_DATA_HOME", (run / "data").c_str(), 1);
    setenv("XDG_STATE_HOME", (run / "state").c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
