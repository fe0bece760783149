#include "tray/PageShelf.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

#include "vprinter/PageFiles.h"

namespace tray {

namespace fs = std::filesystem;

bool IsWholePicture(const std::string& path) {
    static constexpr std::array<unsigned char, 8> kSignature = {0x89, 'P',  'N',  'G',
                                                                '\r', '\n', 0x1A, '\n'};
    // An empty IEND chunk: length 0, type, and its CRC.
    static constexpr std::array<unsigned char, 12> kEnd = {0,   0,   0,    0,    'I',  'E',
                                                           'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    // Only a plain file: opening a pipe or a device named as a page would
    // block, or never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size < static_cast<std::streamoff>(kSignature.size() + kEnd.size())) {
        return false;
    }
    std::array<unsigned char, 8> head{};
    std::array<unsigned char, 12> tail{};
    in.seekg(0);
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    in.seekg(size - static_cast<std::streamoff>(tail.size()));
    in.read(reinterpret_cast<char*>(tail.data()), tail.size());
    return in && head == kSignature && tail == kEnd;
}

std::string TrayFolderProblem(const std::string& folder) {
    if (folder.empty()) {
        return "the state folder (--dir) is an empty name";
    }
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (!fs::exists(status)) {
        return {};
    }
    if (!fs::is_directory(status)) {
        return "the state folder " + folder + " is not a folder";
    }
    if (access(folder.c_str(), R_OK | X_OK) != 0) {
        return "the state folder " + folder + " cannot be read";
    }
    return {};
}

PageShelf::PageShelf(std::string stateFolder, std::string port)
    : store_(std::move(stateFolder)), port_(std::move(port)) {}

std::vector<std::string> PageShelf::PrinterPorts() const {
    if (port_.empty()) {
        return store_.Ports();
    }
    if (store_.Exists(port_)) {
        return {port_};
    }
    return {};
}

bool PageShelf::Refresh() {
    ++scans_;
    std::set<std::string> present;
    for (const auto& port : PrinterPorts()) {
        const std::string folder = store_.PagesFolder(port);
        for (const auto& name : vprinter::ListPages(folder)) {
            const std::string path = folder + "/" + name;
            present.insert(path);
            if (whole_.count(path) != 0) {
                continue;
            }
            if (const auto held = heldBack_.find(path);
                held != heldBack_.end() && held->second == vprinter::StampOf(path)) {
                continue;
            }
            if (!IsWholePicture(path)) {
                continue;
            }
            heldBack_.erase(path);
            // ListPages gives only names page-<digits>.png.
            const unsigned long number = std::stoul(name.substr(5, name.size() - 9));
            whole_.emplace(path, TrayPage{port, name, path, number, scans_});
        }
    }
    std::erase_if(whole_, [&](const auto& entry) { return present.count(entry.first) == 0; });
    std::erase_if(heldBack_, [&](const auto& entry) { return present.count(entry.first) == 0; });
    const std::vector<TrayPage> before = std::move(pages_);
    Arrange();
    return pages_ != before;
}

void PageShelf::HoldBack(const std::string& path) {
    if (whole_.erase(path) == 0) {
        return;
    }
    heldBack_[path] = vprinter::StampOf(path);
    Arrange();
}

void PageShelf::Arrange() {
    pages_.clear();
    for (const auto& entry : whole_) {
        pages_.push_back(entry.second);
    }
    std::sort(pages_.begin(), pages_.end(), [](const TrayPage& a, const TrayPage& b) {
        return std::tie(b.scan, b.number, a.port) < std::tie(a.scan, a.number, b.port);
    });
}

std::vector<std::string> PageShelf::Folders() const {
    std::vector<std::string> folders;
    std::error_code error;
    const auto add = [&](const std::string& folder) {
        if (fs::is_directory(folder, error)) {
            folders.push_back(folder);
        }
    };
    add(store_.Folder());
    for (const auto& port : PrinterPorts()) {
        add(store_.PrinterFolder(port));
        add(store_.PagesFolder(port));
    }
    return folders;
}

}  // namespace tray
