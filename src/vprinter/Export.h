#pragma once

// Each exported function of the two libraries is an indirect function: the
// dynamic loader asks its resolver for the address whenever the program looks
// the name up. The resolver answers with no address while the libraries are
// told that the export is missing, so the program sees exactly what a
// library without that function would show it.
#include "vprinter/Host.h"

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
