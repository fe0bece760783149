#include "platform/CommandLine.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h:
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "platform/Paths.h"
#else
#include <cstdlib>
#endif

namespace orvane {

Utf8Arguments::Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; wide != nullptr && i < count; ++i) {
        arguments_.push_back(Narrow(wide[i]));
    }
    LocalFree(wide);
#else
    arguments_.assign(argv, argv + argc);
#endif
    for (std::string& argument : arguments_) {
        pointers_.push_back(argument.data());
    }
    pointers_.push_back(nullptr);
}

std::vector<std::string> Utf8Arguments::WithoutProgram() const {
    if (arguments_.empty()) {
        return {};
    }
    return {arguments_.begin() + 1, arguments_.end()};
}

void UseUtf8Console() {
#ifdef _WIN32
    SetConsoleOutputCP(CP_UTF8);
    // The lines end in '\n' as written, as on Linux: what reads the output
    // (JSON, a test, a script) gets the same bytes on both.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

std::optional<std::string> Environment(const char* name) {
#ifdef _WIN32
    const wchar_t* value = _wgetenv(Widen(name).c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return Narrow(value);
#else
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
#endif
}

bool SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
    // The C library's copy, which _wgetenv reads, and the process's, which
    // the processes it starts get.
    return _wputenv_s(Widen(name).c_str(), Widen(value).c_str()) == 0 &&
           SetEnvironmentVariableW(Widen(name).c_str(), Widen(value).c_str()) != 0;
#else
    return ::setenv(name, value.c_str(), 1) == 0;
#endif
}

}  // namespace orvane
