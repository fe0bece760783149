// Loads the link libraries from its own folder as the program does, and
// opens the port number given as its argument.
#include <cstdio>
#include <cstdlib>

#include "link/Dllfunction.h"
#include "platform/CommandLine.h"
#include "platform/ExecutableFolder.h"

namespace {

class PrintingMessageBox final : public orvane::IMessageBox {
  public:
    orvane::MessageAnswer Show(const orvane::MessageRequest& request) override {
        std::printf("message box: %s\n", request.text.c_str());
        std::fflush(stdout);
        return orvane::MessageAnswer::Ok;
    }
};

}  // namespace

int main(int argc, char** argv) {
    orvane::UseUtf8Console();
    orvane::SystemLibraryLoader loader;
    TPDLLFunction link(loader, orvane::ExecutableFolder());
    PrintingMessageBox messageBox;
    link.LoadOrExit(messageBox);
    std::printf("loaded\n");
    if (argc > 1) {
        const auto port = static_cast<uint16_t>(std::strtoul(argv[1], nullptr, 10));
        std::printf("open %u: 0x%04X\n", static_cast<unsigned>(port),
                    static_cast<unsigned>(link.PortOpenByPway(port)));
    }
    return 3;
}
