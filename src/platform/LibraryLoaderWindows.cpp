// Loading the link libraries on Windows: by their absolute path only, their
// own dependencies (OrvaneVPrinter.dll) from their own folder.
#include <windows.h>

#include <string>

#include "platform/LibraryLoader.h"
#include "platform/Paths.h"

namespace orvane {

namespace {

// A library that withholds some of its names answers for them here: the
// virtual printer's libraries told that an export is missing. A library
// without this function withholds nothing.
using WithheldQuery = int (*)(const char* name);
constexpr const char* kWithheldQuery = "OrvaneExportWithheld";

}  // namespace

LibraryHandle SystemLibraryLoader::Load(const std::string& absolutePath) {
    if (!IsAbsolutePath(absolutePath)) {
        return nullptr;
    }
    std::wstring path = Widen(absolutePath);
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';  // the altered search path wants the system's separators
        }
    }
    // No message box of the system when the file is no library.
    const UINT errorMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    SetErrorMode(errorMode);
    return reinterpret_cast<LibraryHandle>(library);
}

void* SystemLibraryLoader::Lookup(LibraryHandle library, const char* name) {
    if (library == nullptr) {
        return nullptr;
    }
    const auto module = static_cast<HMODULE>(library);
    void* function = reinterpret_cast<void*>(GetProcAddress(module, name));
    if (function == nullptr) {
        return nullptr;
    }
    const auto withheld = reinterpret_cast<WithheldQuery>(
        reinterpret_cast<void*>(GetProcAddress(module, kWithheldQuery)));
    if (withheld != nullptr && withheld(name) != 0) {
        return nullptr;
    }
    return function;
}

void SystemLibraryLoader::Free(LibraryHandle library) {
    if (library != nullptr) {
        FreeLibrary(static_cast<HMODULE>(library));
    }
}

std::string PlatformLibraryFileName(std::string_view baseName) {
    std::string name(baseName);
    name += ".dll";
    return name;
}

}  // namespace orvane
