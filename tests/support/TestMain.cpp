#include <gtest/gtest.h>

#include "platform/CommandLine.h"
#include "support/TempFolder.h"

// Nothing a test does may touch the user's own virtual printers: the default
// state folder of the whole run is a temporary one. Its name is not ASCII,
// so that every test that goes through it checks that paths stay UTF-8 from
// the environment to the system's calls (on Windows: to the wide calls).
int main(int argc, char** argv) {
    testing_support::TempFolder run;
    orvane::SetEnvironment("ORVANE_VPRINTER_DIR", run / "vprinter-Жук");
    orvane::SetEnvironment("XDG_DATA_HOME", run / "data");
    orvane::SetEnvironment("XDG_STATE_HOME", run / "state");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
