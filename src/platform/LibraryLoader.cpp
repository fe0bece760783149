#include "platform/LibraryLoader.h"

#include <dlfcn.h>

namespace orvane {

LibraryHandle SystemLibraryLoader::Load(const std::string& absolutePath) {
    if (absolutePath.empty() || absolutePath.front() != '/') {
        return nullptr;
    }
    return dlopen(absolutePath.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* SystemLibraryLoader::Lookup(LibraryHandle library, const char* name) {
    if (library == nullptr) {
        return nullptr;
    }
    dlerror();
    return dlsym(library, name);
}

void SystemLibraryLoader::Free(LibraryHandle library) {
    if (library != nullptr) {
        dlclose(library);
    }
}

std::string PlatformLibraryFileName(std::string_view baseName) {
    std::string name = "lib";
    name += baseName;
    name += ".so";
    return name;
}

}  // namespace orvane
