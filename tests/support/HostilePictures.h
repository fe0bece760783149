#pragma once

// Page pictures that attack their reader: headers declaring more than their
// data holds, damaged checksums and data cut short, and pictures that are
// real but large, written row by row so that making them costs no more memory
// than reading them should. Shared by the reader's and the tray's tests and
// the picture benchmark.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace hostile_pictures {

using Bytes = std::vector<uint8_t>;

uint32_t Crc32(const uint8_t* data, size_t size);

struct PngShape {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 8;
    int colourType = 0;  // PNG's: 0 grey, 2 RGB, 4 grey and alpha, 6 RGBA
    bool interlaced = false;
    const char* text = nullptr;  // a tEXt chunk's, before the picture data
};

// Fills a row's bytes of samples (big-endian at 16 bits, as PNG stores
// them).
using RowFill = std::function<void(uint32_t row, uint8_t* samples, size_t bytes)>;

// The PNG written by libpng row by row, with fast compression: into a file
// (false when it cannot be written), or as bytes.
bool WritePng(const std::string& path, const PngShape& shape, const RowFill& fill);
Bytes Png(const PngShape& shape, const RowFill& fill);

// A small PNG (8 x 8, of the shape's depth and colours) whose header
// declares the shape's size, its checksum mended: what a decompression bomb
// or a forged file looks like.
Bytes PngDeclaring(const PngShape& shape);

// The chunk's checksum broken (its first chunk of the type).
Bytes BreakChecksum(Bytes png, const char* chunkType);
// The picture data cut to its first half, the chunk's length and checksum
// mended: the file is whole to look at, but its rows end early.
Bytes HalveData(Bytes png);

// A JPEG of width x height, grey or YCbCr, baseline or progressive, every
// pixel the value.
Bytes Jpeg(int width, int height, bool colour, bool progressive, uint8_t value = 0x80);
// Its frame header declaring another size.
Bytes JpegDeclaring(Bytes jpeg, uint16_t width, uint16_t height);
// Its scan data cut to a few bytes before the end of image.
Bytes JpegDataCut(Bytes jpeg);

// The hostile pictures a page reader meets, and what it is to make of each:
// refuse it with the problem (a part of it), or decode it at a size that
// keeps it within its memory bound.
struct HostileCase {
    const char* what;
    Bytes bytes;
    const char* problem;  // nullptr: decoded, at width x height
    int width = 0;
    int height = 0;
};
std::vector<HostileCase> HostileCases();

// What libpng and libjpeg print when left to themselves: none of it may
// reach the output.
bool HasDecoderText(const std::string& text);

}  // namespace hostile_pictures
