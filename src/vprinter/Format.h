#pragma once

#include <string>

namespace vprinter {

// printf into a string, for the interpreter's notes and listings.
#ifdef __MINGW32__
// mingw's own printf (__USE_MINGW_ANSI_STDIO), which knows %zu.
#define VP_PRINTF_FORMAT __MINGW_PRINTF_FORMAT
#else
#define VP_PRINTF_FORMAT printf
#endif
std::string Format(const char* format, ...) __attribute__((format(VP_PRINTF_FORMAT, 1, 2)));

}  // namespace vprinter
