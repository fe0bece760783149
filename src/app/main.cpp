#include "app/Program.h"
#include "app/StartupProbe.h"

int main(int argc, char** argv) {
    if (orvane_app::StartupProbeRequested()) {
        return orvane_app::RunStartupProbe(argc, argv);
    }
    return orvane_app::RunProgram(argc, argv);
}
