#include "vprinter/StateFolder.h"

#include <filesystem>

#include "platform/NativeFile.h"
#include "platform/Paths.h"

namespace fs = std::filesystem;

namespace vprinter {

std::string StateFolderProblem(const std::string& folder) {
    if (folder.empty()) {
        return "the state folder (--dir) is an empty name";
    }
    std::error_code error;
    const fs::file_status status = fs::status(orvane::PathOf(folder), error);
    if (fs::exists(status)) {
        if (!fs::is_directory(status)) {
            return "the state folder " + folder + " is not a folder";
        }
        if (!orvane::MayChangeFolder(folder)) {
            return "the state folder " + folder + " cannot be read and changed";
        }
        return {};
    }
    // Not there yet: the nearest part of the path that exists has to be a
    // folder it can be made in.
    fs::path parent = fs::absolute(orvane::PathOf(folder), error).parent_path();
    while (!parent.empty() && !fs::exists(parent, error)) {
        if (parent == parent.parent_path()) {
            break;
        }
        parent = parent.parent_path();
    }
    if (!fs::is_directory(parent, error)) {
        return "the state folder " + folder + " cannot be made: " + orvane::Utf8Of(parent) +
               " is not a folder";
    }
    if (!orvane::MayChangeFolder(orvane::Utf8Of(parent))) {
        return "the state folder " + folder + " cannot be made in " + orvane::Utf8Of(parent);
    }
    return {};
}

}  // namespace vprinter
