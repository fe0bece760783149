#pragma once

#include <string>
#include <string_view>

namespace orvane {

using LibraryHandle = void*;

// Loading a shared library by its full path, looking a function up by name and
// freeing the library again.
class ILibraryLoader {
  public:
    virtual ~ILibraryLoader() = default;
    // Returns nullptr when the library cannot be loaded. Only absolute paths are
    // accepted: a library is never searched for along a library search path.
    virtual LibraryHandle Load(const std::string& absolutePath) = 0;
    // Returns nullptr when the library does not export the name.
    virtual void* Lookup(LibraryHandle library, const char* name) = 0;
    virtual void Free(LibraryHandle library) = 0;
};

class SystemLibraryLoader final : public ILibraryLoader {
  public:
    LibraryHandle Load(const std::string& absolutePath) override;
    void* Lookup(LibraryHandle library, const char* name) override;
    void Free(LibraryHandle library) override;
};

// The file name of a shared library on this platform: "Portway" ->
// "libPortway.so", on Windows "Portway.dll".
std::string PlatformLibraryFileName(std::string_view baseName);

}  // namespace orvane
