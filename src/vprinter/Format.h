#pragma once

#include <string>

namespace vprinter {

// printf into a string, for the interpreter's notes and listings.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vprinter
