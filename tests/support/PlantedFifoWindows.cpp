// Windows has no FIFOs in its file system and no device nodes: nothing is
// planted, and the tests that need them are Linux-only (ORVANE_LINUX_ONLY).
#include "support/PlantedFifo.h"

namespace testing_support {

PlantedFifo::PlantedFifo(std::string path, Side side) : path_(std::move(path)), side_(side) {}

PlantedFifo::~PlantedFifo() = default;

bool PlantedFifo::WasOpened() {
    return false;
}

void PlantedFifo::Serve() {}

bool MakeCharacterDevice(const std::string&, unsigned) {
    return false;
}

}  // namespace testing_support
