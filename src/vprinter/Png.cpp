#include "vprinter/Png.h"

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <string>

namespace vprinter {

namespace {

// Dot coverage in percent of the four dot sizes.
constexpr int kCoverage[4] = {0, 40, 70, 100};
constexpr int kInkColour[4][3] = {
    {0, 0, 0},      // black
    {0, 160, 227},  // cyan
    {228, 0, 124},  // magenta
    {255, 230, 0},  // yellow
};

std::array<std::array<uint8_t, 3>, 256> BuildPalette() {
    std::array<std::array<uint8_t, 3>, 256> palette{};
    for (int index = 0; index < 256; ++index) {
        for (int channel = 0; channel < 3; ++channel) {
            long value = 255;
            for (int ink = 0; ink < 4; ++ink) {
                const int level = (index >> (6 - 2 * ink)) & 3;
                const long absorbed = kCoverage[level] * (255 - kInkColour[ink][channel]);
                value = value * (25500 - absorbed) / 25500;
            }
            palette[static_cast<size_t>(index)][static_cast<size_t>(channel)] =
                static_cast<uint8_t>(value);
        }
    }
    return palette;
}

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

struct Input {
    const std::vector<uint8_t>* bytes;
    size_t position;
};

void Take(png_structp png, png_bytep data, png_size_t length) {
    auto* input = static_cast<Input*>(png_get_io_ptr(png));
    if (input->bytes->size() - input->position < length) {
        png_error(png, "truncated");
    }
    std::memcpy(data, input->bytes->data() + input->position, length);
    input->position += length;
}

// Everything between setjmp and the last libpng call is plain data: a
// longjmp out of libpng leaves nothing to destroy.
bool WriteRows(png_structp png, png_infop info, const Page& page, const png_color* palette,
               const uint8_t* blank, png_text* text) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(Page::kColumns),
                 static_cast<png_uint_32>(page.Rows()), 8, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette, 256);
    if (text != nullptr) {
        png_set_text(png, info, text, 1);
    }
    png_set_compression_level(png, 6);
    png_set_compression_strategy(png, Z_RLE);  // pages are long runs of one value
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    for (int64_t row = 0; row < page.Rows(); ++row) {
        const uint8_t* line = page.Row(row);
        png_write_row(png, line != nullptr ? line : blank);
    }
    png_write_end(png, nullptr);
    return true;
}

bool ReadRows(png_structp png, png_infop info, uint32_t* size, std::vector<uint8_t>* pixels) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    if (png_get_color_type(png, info) != PNG_COLOR_TYPE_PALETTE ||
        png_get_bit_depth(png, info) != 8 || png_get_interlace_type(png, info) != 0) {
        return false;
    }
    size[0] = png_get_image_width(png, info);
    size[1] = png_get_image_height(png, info);
    if (static_cast<uint64_t>(size[0]) * size[1] > (uint64_t{1} << 28)) {
        return false;
    }
    pixels->assign(static_cast<size_t>(size[0]) * size[1], 0);
    for (uint32_t row = 0; row < size[1]; ++row) {
        png_read_row(png, pixels->data() + static_cast<size_t>(row) * size[0], nullptr);
    }
    png_read_end(png, nullptr);
    return true;
}

// The text of the stored values' chunk.
std::string StoredValuesText(const std::array<int8_t, kMechanismQuantities>& values) {
    std::string text;
    for (size_t i = 0; i < kMechanismQuantities; ++i) {
        text += std::string(MechanismQuantities()[i].name) + "=" + std::to_string(values[i]) + "\n";
    }
    return text;
}

}  // namespace

const std::array<std::array<uint8_t, 3>, 256>& PagePalette() {
    static const auto palette = BuildPalette();
    return palette;
}

bool EncodePng(const Page& page, std::vector<uint8_t>& png) {
    png.clear();
    if (page.Rows() <= 0) {
        return false;
    }
    png_color palette[256];
    for (size_t i = 0; i < 256; ++i) {
        palette[i] = {PagePalette()[i][0], PagePalette()[i][1], PagePalette()[i][2]};
    }
    const std::vector<uint8_t> blank(static_cast<size_t>(Page::kColumns), 0);
    std::string keyword = kStoredValuesKeyword;
    std::string values = page.stored ? StoredValuesText(*page.stored) : std::string();
    png_text text{};
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = keyword.data();
    text.text = values.data();
    text.text_length = values.size();
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (writer == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(writer);
    bool written = false;
    if (info != nullptr) {
        png_set_write_fn(writer, &png, Append, NoFlush);
        written =
            WriteRows(writer, info, page, palette, blank.data(), page.stored ? &text : nullptr);
    }
    png_destroy_write_struct(&writer, &info);
    return written;
}

bool DecodePng(const std::vector<uint8_t>& png, uint32_t& width, uint32_t& height,
               std::vector<uint8_t>& pixels) {
    if (png.size() < 8 || png_sig_cmp(png.data(), 0, 8) != 0) {
        return false;
    }
    png_structp reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (reader == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(reader);
    Input input{&png, 0};
    uint32_t size[2] = {0, 0};
    bool read = false;
    if (info != nullptr) {
        png_set_read_fn(reader, &input, Take);
        read = ReadRows(reader, info, size, &pixels);
    }
    png_destroy_read_struct(&reader, &info, nullptr);
    width = size[0];
    height = size[1];
    return read;
}

}  // namespace vprinter
