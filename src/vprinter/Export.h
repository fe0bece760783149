#pragma once

// The exported functions of the two libraries. The program sees a function
// that the libraries are told is missing exactly as a library without it
// would show it: its look-up finds nothing.
#include "vprinter/Host.h"

#ifdef _WIN32

// Windows has no indirect functions: each function is exported as it is, and
// the library answers which of its names it withholds through
// OrvaneExportWithheld, which the program's loader asks after every look-up
// (orvane::SystemLibraryLoader on Windows).
#define VP_EXPORT(Result, Name, Params, Call)                         \
    extern "C" __declspec(dllexport) Result Name Params {             \
        return vprinter::TheHost().Call;                              \
    }

extern "C" __declspec(dllexport) int OrvaneExportWithheld(const char* name) {
    return vprinter::TheHost().ExportAvailable(name) ? 0 : 1;
}

#else

// Each exported function is an indirect function: the dynamic loader asks its
// resolver for the address whenever the program looks the name up. The
// resolver answers with no address while the libraries are told that the
// export is missing.
#define VP_EXPORT(Result, Name, Params, Call)                                                \
    static Result Name##Implementation Params {                                              \
        return vprinter::TheHost().Call;                                                     \
    }                                                                                        \
    extern "C" {                                                                             \
    __attribute__((no_sanitize("address", "undefined"), visibility("hidden")))               \
    Result(*Name##Resolver()) Params {                                                       \
        return vprinter::TheHost().ExportAvailable(#Name) ? &Name##Implementation : nullptr; \
    }                                                                                        \
    __attribute__((visibility("default"))) Result Name Params                                \
        __attribute__((ifunc(#Name "Resolver")));                                            \
    }

#endif
