#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Splits the byte stream a printer received into what the tests look at:
// texts, printer commands, command packets and raster blocks with their
// decoded bytes. It knows the shapes of the commands only, not what they do.
struct StreamItem {
    enum class Kind { Text, Command, Packet, Raster };
    Kind kind = Kind::Text;
    std::vector<uint8_t> bytes;  // the bytes as received (a raster block: its header)

    // Raster blocks.
    uint8_t colour = 0;
    int bytesPerLine = 0;
    int lines = 0;
    std::vector<uint8_t> decoded;
    // Each run-length unit as (count, value).
    std::vector<std::pair<int, uint8_t>> units;

    bool IsCommand(std::initializer_list<uint8_t> prefix) const;
    std::string Text() const { return std::string(bytes.begin(), bytes.end()); }
    // A line of a raster block.
    std::vector<uint8_t> Line(int line) const;
};

struct Stream {
    std::vector<StreamItem> items;
    std::string error;  // empty when the whole stream was read

    std::vector<const StreamItem*> Of(StreamItem::Kind kind) const;
    std::vector<std::string> Texts() const;
    // Values of the Bi-D packets (as signed 16-bit) or the PF packets (signed byte).
    std::vector<int> BidValues() const;
    std::vector<int> PfValues() const;
};

// Reads the stream. A raster block must decode to exactly its announced size
// and be followed by a command or the end; anything else is reported in
// error, and reading stops there.
Stream ReadStream(const std::vector<uint8_t>& bytes);

}  // namespace testing_support
