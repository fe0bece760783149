#include "StreamReader.h"

#include <algorithm>

namespace testing_support {

namespace {

constexpr uint8_t kEsc = 0x1B;

// Length of the command at bytes[at] (an ESC), or 0 when its shape is unknown
// or it runs past the end.
size_t CommandLength(const std::vector<uint8_t>& bytes, size_t at) {
    const size_t left = bytes.size() - at;
    if (left < 2) {
        return 0;
    }
    size_t length = 0;
    switch (bytes[at + 1]) {
        case 0x40:  // ESC @
            length = 2;
            break;
        case 0x55:  // ESC U n
        case 0x78:  // ESC x n
            length = 3;
            break;
        case 0x3C:  // ESC < CR
            length = 3;
            break;
        case 0x5C:  // ESC \ nL nH
            length = 4;
            break;
        case 0x69:  // ESC i r c b nL nH mL mH
            length = 9;
            break;
        case 0x28:  // ESC ( c nL nH data
        case 0x7C:  // ESC | 00 n 00 ...: n bytes after offset 5
            if (left < 5) {
                return 0;
            }
            length = bytes[at + 1] == 0x28 ? 5 + (bytes[at + 3] | (bytes[at + 4] << 8))
                                           : 5 + static_cast<size_t>(bytes[at + 3]);
            break;
        default:
            return 0;
    }
    return length <= left ? length : 0;
}

}  // namespace

bool StreamItem::IsCommand(std::initializer_list<uint8_t> prefix) const {
    return kind != Kind::Text && bytes.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

std::vector<uint8_t> StreamItem::Line(int line) const {
    const auto begin = decoded.begin() + static_cast<std::ptrdiff_t>(line) * bytesPerLine;
    return {begin, begin + bytesPerLine};
}

std::vector<const StreamItem*> Stream::Of(StreamItem::Kind kind) const {
    std::vector<const StreamItem*> found;
    for (const auto& item : items) {
        if (item.kind == kind) {
            found.push_back(&item);
        }
    }
    return found;
}

std::vector<std::string> Stream::Texts() const {
    std::vector<std::string> texts;
    for (const auto* item : Of(StreamItem::Kind::Text)) {
        texts.push_back(item->Text());
    }
    return texts;
}

std::vector<int> Stream::BidValues() const {
    std::vector<int> values;
    for (const auto* item : Of(StreamItem::Kind::Packet)) {
        if (item->bytes.size() == 14 && item->bytes[7] == 0x00) {
            values.push_back(static_cast<int16_t>(item->bytes[12] | (item->bytes[13] << 8)));
        }
    }
    return values;
}

std::vector<int> Stream::PfValues() const {
    std::vector<int> values;
    for (const auto* item : Of(StreamItem::Kind::Packet)) {
        if (item->bytes.size() == 12 && item->bytes[7] == 0x04) {
            values.push_back(static_cast<int8_t>(item->bytes[10]));
        }
    }
    return values;
}

Stream ReadStream(const std::vector<uint8_t>& bytes) {
    Stream stream;
    size_t at = 0;
    while (at < bytes.size()) {
        StreamItem item;
        if (bytes[at] != kEsc) {
            const auto end =
                std::find(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(), kEsc);
            item.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), end);
            at += item.bytes.size();
            stream.items.push_back(std::move(item));
            continue;
        }
        const size_t length = CommandLength(bytes, at);
        if (length == 0) {
            stream.error = "unknown or cut command at byte " + std::to_string(at);
            return stream;
        }
        item.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        item.kind = item.bytes[1] == 0x7C   ? StreamItem::Kind::Packet
                    : item.bytes[1] == 0x69 ? StreamItem::Kind::Raster
                                            : StreamItem::Kind::Command;
        if (item.kind == StreamItem::Kind::Raster) {
            item.colour = item.bytes[2];
            item.bytesPerLine = item.bytes[5] | (item.bytes[6] << 8);
            item.lines = item.bytes[7] | (item.bytes[8] << 8);
            const size_t size = static_cast<size_t>(item.bytesPerLine) * item.lines;
            while (item.decoded.size() < size) {
                if (at + 2 > bytes.size()) {
                    stream.error = "raster block cut at byte " + std::to_string(at);
                    return stream;
                }
                const uint8_t header = bytes[at];
                const uint8_t value = bytes[at + 1];
                if (header != 0x00 && header < 0x80) {
                    stream.error = "literal run of more than one byte at " + std::to_string(at);
                    return stream;
                }
                const int count = header == 0 ? 1 : 1 - static_cast<int8_t>(header);
                item.units.emplace_back(count, value);
                item.decoded.insert(item.decoded.end(), static_cast<size_t>(count), value);
                at += 2;
            }
            if (item.decoded.size() != size) {
                stream.error = "raster block decodes to " + std::to_string(item.decoded.size()) +
                               " bytes instead of " + std::to_string(size);
                return stream;
            }
            if (at < bytes.size() && bytes[at] != kEsc) {
                stream.error = "raster block followed by data at byte " + std::to_string(at);
                return stream;
            }
        }
        stream.items.push_back(std::move(item));
    }
    return stream;
}

}  // namespace testing_support
