#include "adjust/ValueText.h"

#include <limits>

namespace adjust {

std::optional<int> TextToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    // Accumulate the magnitude in a wider type so that the lowest int, whose
    // magnitude is one above the highest, converts as well.
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    if (!negative && magnitude == kLimit) {
        return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int TextToIntDef(std::string_view text, int fallback) {
    return TextToInt(text).value_or(fallback);
}

std::string SignedByteText(uint8_t value) {
    return std::to_string(static_cast<int>(static_cast<int8_t>(value)));
}

}  // namespace adjust
