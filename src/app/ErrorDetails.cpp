#include "app/ErrorDetails.h"

#include <utility>

namespace orvane_app {

void ErrorDetails::Plug(uint16_t familyCode, Reader reader) {
    readers_[familyCode] = std::move(reader);
}

std::optional<int> ErrorDetails::Read(uint16_t familyCode) const {
    const auto it = readers_.find(familyCode);
    if (it == readers_.end() || !it->second) {
        return std::nullopt;
    }
    return it->second();
}

}  // namespace orvane_app
