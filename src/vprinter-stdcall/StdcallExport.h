#pragma once

// The link libraries once more, with the stdcall convention: each exported
// function clears its own arguments from the stack, as the maker's libraries
// may. The names stay plain (the build links with --kill-at: no @N). The
// sources of the libraries are the ordinary ones; only the way a function is
// exported differs, so the two variants cannot drift apart.
#include "vprinter/Export.h"

#undef VP_EXPORT
#define VP_EXPORT(Result, Name, Params, Call)                       \
    extern "C" __declspec(dllexport) Result __stdcall Name Params { \
        return vprinter::TheHost().Call;                            \
    }
