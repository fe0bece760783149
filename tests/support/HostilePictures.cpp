#include "support/HostilePictures.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace hostile_pictures {

namespace {

int Samples(int colourType) {
    switch (colourType) {
        case 2:
            return 3;
        case 4:
            return 2;
        case 6:
            return 4;
        default:
            return 1;
    }
}

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// Writes the rows through libpng into a file or the bytes; a longjmp out of
// libpng passes over nothing to destroy.
bool WriteRows(png_structp png, png_infop info, const PngShape* shape, const RowFill* fill,
               uint8_t* row, size_t bytes) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_IHDR(png, info, shape->width, shape->height, shape->bitDepth, shape->colourType,
                 shape->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_text text{};
    if (shape->text != nullptr) {
        text.compression = PNG_TEXT_COMPRESSION_NONE;
        text.key = const_cast<char*>("Comment");
        text.text = const_cast<char*>(shape->text);
        text.text_length = std::strlen(shape->text);
        png_set_text(png, info, &text, 1);
    }
    png_write_info(png, info);
    const int passes = shape->interlaced ? png_set_interlace_handling(png) : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t y = 0; y < shape->height; ++y) {
            (*fill)(y, row, bytes);
            png_write_row(png, row);
        }
    }
    png_write_end(png, nullptr);
    return true;
}

bool Write(const PngShape& shape, const RowFill& fill, FILE* file, Bytes* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    const size_t bytes = (static_cast<size_t>(shape.width) *
                              static_cast<size_t>(Samples(shape.colourType)) *
                              static_cast<size_t>(shape.bitDepth) +
                          7) /
                         8;
    std::vector<uint8_t> row(bytes);
    bool written = false;
    if (info != nullptr) {
        if (file != nullptr) {
            png_init_io(png, file);
        } else {
            png_set_write_fn(png, out, Append, NoFlush);
        }
        written = WriteRows(png, info, &shape, &fill, row.data(), bytes);
    }
    png_destroy_write_struct(&png, &info);
    return written;
}

void Put32(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (24 - 8 * i));
    }
}

uint32_t Get32(const Bytes& bytes, size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 |
           uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// Where the first chunk of the type starts (its length), or 0.
size_t FindChunk(const Bytes& png, const char* type) {
    for (size_t at = 8; at + 12 <= png.size(); at += 12 + Get32(png, at)) {
        if (std::memcmp(&png[at + 4], type, 4) == 0) {
            return at;
        }
    }
    return 0;
}

void MendChecksum(Bytes& png, size_t chunk) {
    const uint32_t length = Get32(png, chunk);
    Put32(png, chunk + 8 + length, Crc32(&png[chunk + 4], length + 4));
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size) {
    return static_cast<uint32_t>(crc32(0, data, static_cast<uInt>(size)));
}

bool WritePng(const std::string& path, const PngShape& shape, const RowFill& fill) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = Write(shape, fill, file, nullptr);
    return std::fclose(file) == 0 && written;
}

Bytes Png(const PngShape& shape, const RowFill& fill) {
    Bytes bytes;
    if (!Write(shape, fill, nullptr, &bytes)) {
        bytes.clear();
    }
    return bytes;
}

Bytes PngDeclaring(const PngShape& shape) {
    PngShape small = shape;
    small.width = 8;
    small.height = 8;
    Bytes bytes = Png(small, [](uint32_t, uint8_t*, size_t) {});  // the rows start as zeros
    Put32(bytes, 16, shape.width);  // IHDR's data starts after the signature, length and type
    Put32(bytes, 20, shape.height);
    MendChecksum(bytes, 8);
    return bytes;
}

Bytes BreakChecksum(Bytes png, const char* chunkType) {
    if (const size_t chunk = FindChunk(png, chunkType); chunk != 0) {
        png[chunk + 8 + Get32(png, chunk)] ^= 0x5a;
    }
    return png;
}

Bytes HalveData(Bytes png) {
    const size_t chunk = FindChunk(png, "IDAT");
    if (chunk == 0) {
        return png;
    }
    const uint32_t length = Get32(png, chunk);
    const uint32_t kept = length / 2;
    png.erase(png.begin() + static_cast<long>(chunk + 8 + kept),
              png.begin() + static_cast<long>(chunk + 8 + length));
    Put32(png, chunk, kept);
    MendChecksum(png, chunk);
    return png;
}

Bytes Jpeg(int width, int height, bool colour, bool progressive, uint8_t value) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = colour ? 3 : 1;
    info.in_color_space = colour ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 75, TRUE);
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * (colour ? 3 : 1), value);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

Bytes JpegDeclaring(Bytes jpeg, uint16_t width, uint16_t height) {
    for (size_t at = 2; at + 9 < jpeg.size(); ++at) {
        if (jpeg[at] == 0xff && (jpeg[at + 1] == 0xc0 || jpeg[at + 1] == 0xc2)) {
            jpeg[at + 5] = static_cast<uint8_t>(height >> 8);
            jpeg[at + 6] = static_cast<uint8_t>(height);
            jpeg[at + 7] = static_cast<uint8_t>(width >> 8);
            jpeg[at + 8] = static_cast<uint8_t>(width);
            break;
        }
    }
    return jpeg;
}

Bytes JpegDataCut(Bytes jpeg) {
    for (size_t at = 2; at + 4 < jpeg.size(); ++at) {
        if (jpeg[at] == 0xff && jpeg[at + 1] == 0xda) {
            const size_t data = at + 2 + (size_t{jpeg[at + 2]} << 8 | jpeg[at + 3]);
            jpeg.resize(std::min(jpeg.size() - 2, data + 4));
            jpeg.push_back(0xff);
            jpeg.push_back(0xd9);
            break;
        }
    }
    return jpeg;
}

std::vector<HostileCase> HostileCases() {
    const auto grey = [](uint32_t, uint8_t* samples, size_t bytes) {
        std::memset(samples, 0x80, bytes);
    };
    // Black to column 12000, white from 12001: decoded at half, the column
    // that takes 12000 and 12001 is their mean. Both decoded pictures are
    // strips, which the reader refuses once they are decoded.
    const auto halves = [](uint32_t, uint8_t* samples, size_t bytes) {
        std::memset(samples, 0, 12001);
        std::memset(samples + 12001, 255, bytes - 12001);
    };
    const Bytes page = Png({512, 512, 8, 2}, grey);
    const Bytes jpeg = Jpeg(512, 512, true, false);
    std::vector<HostileCase> cases;
    cases.push_back({"16-bit RGBA PNG declaring 25000 x 25000",
                     PngDeclaring({25000, 25000, 16, 6}), "MiB to decode"});
    cases.push_back({"grey PNG declaring 24000 x 24000", PngDeclaring({24000, 24000, 8, 0}),
                     "the PNG file is damaged"});
    cases.push_back({"interlaced RGBA PNG declaring 9000 x 9000",
                     PngDeclaring({9000, 9000, 8, 6, true}), "interlaced"});
    cases.push_back({"PNG whose header's checksum is wrong", BreakChecksum(page, "IHDR"),
                     "its IHDR chunk's checksum is wrong"});
    cases.push_back({"PNG whose data ends early", HalveData(page), "the PNG file is damaged"});
    cases.push_back({"PNG whose text's checksum is wrong",
                     BreakChecksum(Png({2048, 128, 8, 2, false, "scanned"}, grey), "tEXt"),
                     nullptr, 2048, 128});
    cases.push_back({"grey PNG of 24000 x 2400", Png({24000, 2400, 8, 0}, halves), nullptr,
                     12000, 1200});
    cases.push_back({"progressive JPEG declaring 20000 x 20000",
                     JpegDeclaring(Jpeg(64, 64, true, true), 20000, 20000), "progressive"});
    cases.push_back({"JPEG declaring 30000 x 20000",
                     JpegDeclaring(Jpeg(64, 64, true, false), 30000, 20000), "ends early"});
    cases.push_back({"JPEG whose scan data is cut", JpegDataCut(jpeg), "ends early"});
    return cases;
}

bool HasDecoderText(const std::string& text) {
    for (const char* own : {"libpng", "Corrupt JPEG data", "Premature end of JPEG"}) {
        if (text.find(own) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace hostile_pictures
