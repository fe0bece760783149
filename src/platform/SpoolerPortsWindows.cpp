// The print spooler's ports of the local machine, at information level 1.
#include <windows.h>
#include <winspool.h>

#include <new>

#include "platform/PortList.h"

namespace orvane {

namespace {

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string converted(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, converted.data(), size, nullptr, nullptr);
    converted.resize(static_cast<size_t>(size - 1));
    return converted;
}

class WindowsSpoolerPortList final : public IPortList {
  public:
    bool EnumeratePorts(std::vector<std::string>& names) override {
        // First the size the list needs. A spooler that answers without a
        // buffer has no ports; any error but a short buffer is a failure.
        DWORD needed = 0;
        DWORD returned = 0;
        if (EnumPortsW(nullptr, 1, nullptr, 0, &needed, &returned)) {
            names.clear();
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) {
            return false;
        }
        // Four times that: a port added between the two calls still fits.
        std::vector<BYTE> buffer;
        try {
            buffer.resize(static_cast<size_t>(needed) * 4);
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (!EnumPortsW(nullptr, 1, buffer.data(), static_cast<DWORD>(buffer.size()), &needed,
                        &returned)) {
            return false;
        }
        const auto* ports = reinterpret_cast<const PORT_INFO_1W*>(buffer.data());
        std::vector<std::string> found;
        found.reserve(returned);
        for (DWORD i = 0; i < returned; ++i) {
            if (ports[i].pName != nullptr) {
                found.push_back(Utf8(ports[i].pName));
            }
        }
        names = std::move(found);
        return true;
    }
};

}  // namespace

std::unique_ptr<IPortList> SpoolerPortList() {
    return std::make_unique<WindowsSpoolerPortList>();
}

}  // namespace orvane
