// The program's own start, ended as soon as the boot window has painted
// itself: what the technician waits for after starting the program.
#include "app/StartupProbe.h"

int main(int argc, char** argv) {
    return orvane_app::RunStartupProbe(argc, argv);
}
