#include "vprinter/Format.h"

#include <cstdarg>
#include <cstdio>

namespace vprinter {

std::string Format(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return n < 0 ? std::string() : std::string(text);
}

}  // namespace vprinter
