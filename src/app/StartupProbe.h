#pragma once

namespace orvane_app {

// The program's own start, ended as soon as the boot window has painted
// itself: libraries, modules, all windows and the port list, then exit code 0.
// The start-up benchmark times it; the check of an installed tree runs it to
// see that the installed program starts. ORVANE_STARTUP_PROBE=1 in the
// environment asks the program for it.
bool StartupProbeRequested();

int RunStartupProbe(int& argc, char** argv);

}  // namespace orvane_app
