// PNG pictures through libpng, row by row: however large the picture, the
// decoder holds a row of it and the picture at the planned size.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "reader/PictureDecoders.h"

namespace reader {

namespace {

// What libpng's callbacks share: the file's bytes and the error that ended
// the decoding.
struct Source {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t at = 0;
    char error[160] = {};
};

void Take(png_structp png, png_bytep to, png_size_t length) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (source->size - source->at < length) {
        png_error(png, "the file ends inside a chunk");
    }
    std::memcpy(to, source->data + source->at, length);
    source->at += length;
}

void FailPng(png_structp png, png_const_charp message) {
    auto* source = static_cast<Source*>(png_get_error_ptr(png));
    std::snprintf(source->error, sizeof source->error, "%s", message);
    png_longjmp(png, 1);
}

// libpng warns of what it passed over (an ancillary chunk it could not use,
// a colour profile it doubts): nothing the picture's pixels depend on.
void PassOver(png_structp, png_const_charp) {}

// The problem, in words, from libpng's error: "IHDR: CRC error", ...
std::string Damage(const char* error) {
    const std::string text = error;
    const size_t colon = text.find(':');
    if (text.ends_with("CRC error") && colon != std::string::npos) {
        return "the PNG file is damaged: its " + text.substr(0, colon) +
               " chunk's checksum is wrong";
    }
    return "the PNG file is damaged (" + text + ")";
}

inline uint32_t OnWhite(uint32_t colour, uint32_t alpha) {
    return (colour * alpha + 255 * (255 - alpha) + 127) / 255;
}

// Rows of the full picture, 8-bit BGR or BGRA, into the picture's rows: each
// band of factor rows and factor columns becomes the mean of its pixels.
class Reducer {
  public:
    Reducer(cv::Mat& picture, int width, int factor, int channels)
        : picture_(picture),
          width_(width),
          factor_(factor),
          channels_(channels),
          direct_(factor == 1 && channels == 3),
          row_(direct_ ? 0 : static_cast<size_t>(width) * static_cast<size_t>(channels)),
          sums_(factor == 1 ? 0 : static_cast<size_t>(picture.cols) * 3) {}

    // Where the next row is to be written.
    uint8_t* Next() { return direct_ ? picture_.ptr<uint8_t>(out_) : row_.data(); }
    // The row written at Next().
    void Took() { Add(Next()); }

    void Add(const uint8_t* row) {
        if (factor_ == 1) {
            auto* to = picture_.ptr<uint8_t>(out_++);
            if (channels_ == 3) {
                if (to != row) {
                    std::memcpy(to, row, static_cast<size_t>(width_) * 3);
                }
                return;
            }
            for (int x = 0; x < width_; ++x, row += 4, to += 3) {
                to[0] = static_cast<uint8_t>(OnWhite(row[0], row[3]));
                to[1] = static_cast<uint8_t>(OnWhite(row[1], row[3]));
                to[2] = static_cast<uint8_t>(OnWhite(row[2], row[3]));
            }
            return;
        }
        if (channels_ == 3) {
            Sum<3>(row);
        } else {
            Sum<4>(row);
        }
        if (++rows_ == factor_) {
            Flush();
        }
    }

    // The last band, however few rows it has.
    void Finish() {
        if (rows_ > 0) {
            Flush();
        }
    }

  private:
    template <int kChannels>
    void Sum(const uint8_t* row) {
        uint32_t* sum = sums_.data();
        for (int x = 0; x < width_; sum += 3) {
            const int end = std::min(width_, x + factor_);
            uint32_t b = 0;
            uint32_t g = 0;
            uint32_t r = 0;
            for (; x < end; ++x, row += kChannels) {
                if constexpr (kChannels == 4) {
                    b += OnWhite(row[0], row[3]);
                    g += OnWhite(row[1], row[3]);
                    r += OnWhite(row[2], row[3]);
                } else {
                    b += row[0];
                    g += row[1];
                    r += row[2];
                }
            }
            sum[0] += b;
            sum[1] += g;
            sum[2] += r;
        }
    }

    void Flush() {
        auto* to = picture_.ptr<uint8_t>(out_++);
        for (int column = 0; column < picture_.cols; ++column) {
            const auto columns =
                static_cast<uint32_t>(std::min(factor_, width_ - column * factor_));
            const uint32_t count = columns * static_cast<uint32_t>(rows_);
            for (int c = 0; c < 3; ++c) {
                uint32_t& sum = sums_[static_cast<size_t>(column) * 3 + static_cast<size_t>(c)];
                to[column * 3 + c] = static_cast<uint8_t>((sum + count / 2) / count);
                sum = 0;
            }
        }
        rows_ = 0;
    }

    cv::Mat& picture_;
    int width_;
    int factor_;
    int channels_;
    bool direct_;
    std::vector<uint8_t> row_;
    std::vector<uint32_t> sums_;
    int rows_ = 0;  // in the band being summed
    int out_ = 0;   // the picture's next row
};

struct Layout {
    uint32_t width = 0;
    uint32_t height = 0;
    int channels = 0;
    size_t rowBytes = 0;
    int passes = 1;
};

// Everything between setjmp and the last libpng call is plain data: a
// longjmp out of libpng leaves nothing to destroy.

// The header, and the rows brought to 8-bit BGR or BGRA.
bool Start(png_structp png, png_infop info, Layout* layout) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    png_set_chunk_malloc_max(png, 8 << 20);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    layout->passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    layout->width = png_get_image_width(png, info);
    layout->height = png_get_image_height(png, info);
    layout->channels = png_get_channels(png, info);
    layout->rowBytes = png_get_rowbytes(png, info);
    return true;
}

// An interlaced picture's passes are put together in whole first.
bool ReadRows(png_structp png, const Layout* layout, Reducer* reducer, uint8_t* whole) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    if (layout->passes > 1) {
        for (int pass = 0; pass < layout->passes; ++pass) {
            for (uint32_t row = 0; row < layout->height; ++row) {
                png_read_row(png, whole + row * layout->rowBytes, nullptr);
            }
        }
        for (uint32_t row = 0; row < layout->height; ++row) {
            reducer->Add(whole + row * layout->rowBytes);
        }
    } else {
        for (uint32_t row = 0; row < layout->height; ++row) {
            png_read_row(png, reducer->Next(), nullptr);
            reducer->Took();
        }
    }
    reducer->Finish();
    png_read_end(png, nullptr);
    return true;
}

struct Reading {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~Reading() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
};

}  // namespace

cv::Mat DecodePng(const std::vector<uint8_t>& bytes, const DecodePlan& plan,
                  std::string& problem) {
    Source source{bytes.data(), bytes.size(), 0, {}};
    Reading reading;
    reading.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, FailPng, PassOver);
    if (reading.png == nullptr || (reading.info = png_create_info_struct(reading.png)) == nullptr) {
        problem = "the PNG decoder cannot start";
        return {};
    }
    png_set_read_fn(reading.png, &source, Take);
    Layout layout;
    if (!Start(reading.png, reading.info, &layout)) {
        problem = Damage(source.error);
        return {};
    }
    const auto planned = [&](uint32_t size) {
        return static_cast<int>((size + static_cast<uint32_t>(plan.reduction) - 1) /
                                static_cast<uint32_t>(plan.reduction));
    };
    if (planned(layout.width) != plan.width || planned(layout.height) != plan.height ||
        (layout.channels != 3 && layout.channels != 4) ||
        layout.rowBytes != layout.width * static_cast<size_t>(layout.channels)) {
        problem = "the PNG file's header is read two ways";
        return {};
    }
    cv::Mat picture(plan.height, plan.width, CV_8UC3);
    Reducer reducer(picture, static_cast<int>(layout.width), plan.reduction, layout.channels);
    std::vector<uint8_t> whole(layout.passes > 1 ? layout.rowBytes * layout.height : 0);
    if (!ReadRows(reading.png, &layout, &reducer, whole.data())) {
        problem = Damage(source.error);
        return {};
    }
    return picture;
}

}  // namespace reader
