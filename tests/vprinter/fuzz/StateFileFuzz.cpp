// libFuzzer target of the printer's state files, printer.conf, library.conf
// and mechanism.conf. Whatever a file holds, what is read from it is written
// back as a file that reads the same: written once more, it gives the same
// text. A mechanism file is read strictly: one that is refused says why and
// changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "vprinter/Config.h"
#include "vprinter/Mechanism.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::string printer = vprinter::FormatPrinterConfig(vprinter::ParsePrinterConfig(text));
    if (vprinter::FormatPrinterConfig(vprinter::ParsePrinterConfig(printer)) != printer) {
        std::abort();
    }

    const std::string library = vprinter::FormatLibraryConfig(vprinter::ParseLibraryConfig(text));
    if (vprinter::FormatLibraryConfig(vprinter::ParseLibraryConfig(library)) != library) {
        std::abort();
    }
    for (const auto& [name, fault] : vprinter::ParseLibraryConfig(text).callFaults) {
        if (!vprinter::IsLibraryFunction(name) || fault.remaining < 1) {
            std::abort();
        }
    }

    vprinter::Mechanism mechanism;
    mechanism.errors[0] = 99;
    const vprinter::Mechanism before = mechanism;
    std::string problem;
    if (!vprinter::ParseMechanism(text, mechanism, problem)) {
        if (problem.empty() || !(mechanism == before)) {
            std::abort();
        }
    } else {
        vprinter::Mechanism again;
        if (!vprinter::ParseMechanism(vprinter::FormatMechanism(mechanism), again, problem) ||
            !(again == mechanism)) {
            std::abort();
        }
    }
    return 0;
}
