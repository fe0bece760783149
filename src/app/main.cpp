#include "app/Program.h"

int main(int argc, char** argv) {
    return orvane_app::RunProgram(argc, argv);
}
