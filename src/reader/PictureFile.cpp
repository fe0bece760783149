#include "reader/PictureFile.h"

#include <array>
#include <cstring>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

namespace reader {

namespace {

constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

uint32_t BigEndian(const uint8_t* at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value = value << 8 | at[i];
    }
    return value;
}

bool Fits(const PictureHeader& header, std::string& problem) {
    if (header.width <= 0 || header.height <= 0) {
        problem = "the picture's header gives it no size";
        return false;
    }
    if (header.width > kMaxPictureSide || header.height > kMaxPictureSide ||
        static_cast<int64_t>(header.width) * header.height > kMaxPicturePixels) {
        problem = "the picture is " + std::to_string(header.width) + " x " +
                  std::to_string(header.height) +
                  " pixels, larger than any page picture (at most " +
                  std::to_string(kMaxPictureSide) + " a side and " +
                  std::to_string(kMaxPicturePixels / 1'000'000) + " million in all)";
        return false;
    }
    return true;
}

const char* const kCutShort = "the picture's file is cut short";

// Chunk by chunk: IHDR first, IDAT, and IEND within the bytes.
std::optional<PictureHeader> PngHeader(const std::vector<uint8_t>& bytes, std::string& problem) {
    PictureHeader header{PictureFormat::Png, 0, 0};
    size_t at = kPngSignature.size();
    bool data = false;
    for (bool first = true;; first = false) {
        if (bytes.size() - at < 12) {
            problem = kCutShort;
            return std::nullopt;
        }
        const uint32_t length = BigEndian(&bytes[at], 4);
        const char* type = reinterpret_cast<const char*>(&bytes[at + 4]);
        if (length > 0x7fffffffU || bytes.size() - at - 12 < length) {
            problem = kCutShort;
            return std::nullopt;
        }
        if (first) {
            if (std::memcmp(type, "IHDR", 4) != 0 || length != 13) {
                problem = "the PNG file starts with no picture header";
                return std::nullopt;
            }
            header.width = static_cast<int>(std::min(BigEndian(&bytes[at + 8], 4), 0x7fffffffU));
            header.height = static_cast<int>(std::min(BigEndian(&bytes[at + 12], 4), 0x7fffffffU));
            if (!Fits(header, problem)) {
                return std::nullopt;
            }
        }
        data = data || std::memcmp(type, "IDAT", 4) == 0;
        if (std::memcmp(type, "IEND", 4) == 0) {
            if (!data) {
                problem = "the PNG file holds no picture data";
                return std::nullopt;
            }
            return header;
        }
        at += 12 + length;
    }
}

bool StartOfFrame(uint8_t marker) {
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

// Marker by marker: the frame's size from its SOF, each scan's data passed
// over to the next marker, and EOI after the last.
std::optional<PictureHeader> JpegHeader(const std::vector<uint8_t>& bytes, std::string& problem) {
    PictureHeader header{PictureFormat::Jpeg, 0, 0};
    bool frame = false;
    size_t at = 2;
    while (true) {
        // Fill bytes may stand before a marker.
        while (at < bytes.size() && bytes[at] == 0xff) {
            ++at;
        }
        if (at >= bytes.size() || bytes[at - 1] != 0xff) {
            problem = at >= bytes.size() ? kCutShort : "the JPEG file's markers are broken";
            return std::nullopt;
        }
        const uint8_t marker = bytes[at++];
        if (marker == 0xd9) {
            if (!frame) {
                problem = "the JPEG file holds no picture";
                return std::nullopt;
            }
            return header;
        }
        if ((marker >= 0xd0 && marker <= 0xd7) || marker == 0x01) {
            continue;  // no length
        }
        if (bytes.size() - at < 2) {
            problem = kCutShort;
            return std::nullopt;
        }
        const size_t length = BigEndian(&bytes[at], 2);
        if (length < 2 || bytes.size() - at < length) {
            problem = length < 2 ? "the JPEG file's markers are broken" : kCutShort;
            return std::nullopt;
        }
        if (StartOfFrame(marker)) {
            if (frame || length < 8) {
                problem = "the JPEG file's markers are broken";
                return std::nullopt;
            }
            frame = true;
            header.height = static_cast<int>(BigEndian(&bytes[at + 3], 2));
            header.width = static_cast<int>(BigEndian(&bytes[at + 5], 2));
            if (!Fits(header, problem)) {
                return std::nullopt;
            }
        }
        at += length;
        if (marker == 0xda) {
            if (!frame) {
                problem = "the JPEG file's markers are broken";
                return std::nullopt;
            }
            // The scan's data: a 0xff in it is followed by 0 or a restart.
            while (at + 1 < bytes.size() && !(bytes[at] == 0xff && bytes[at + 1] != 0 &&
                                              !(bytes[at + 1] >= 0xd0 && bytes[at + 1] <= 0xd7))) {
                ++at;
            }
            if (at + 1 >= bytes.size()) {
                problem = kCutShort;
                return std::nullopt;
            }
        }
    }
}

// Transparent parts become the paper they were laid on.
cv::Mat OnWhite(const cv::Mat& bgra) {
    cv::Mat bgr(bgra.size(), CV_8UC3);
    for (int row = 0; row < bgra.rows; ++row) {
        const auto* from = bgra.ptr<cv::Vec4b>(row);
        auto* to = bgr.ptr<cv::Vec3b>(row);
        for (int column = 0; column < bgra.cols; ++column) {
            const int alpha = from[column][3];
            for (int c = 0; c < 3; ++c) {
                to[column][c] = static_cast<uint8_t>(
                    (from[column][c] * alpha + 255 * (255 - alpha) + 127) / 255);
            }
        }
    }
    return bgr;
}

}  // namespace

std::optional<PictureHeader> ReadPictureHeader(const std::vector<uint8_t>& bytes,
                                               std::string& problem) {
    if (bytes.size() >= kPngSignature.size() &&
        std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin())) {
        return PngHeader(bytes, problem);
    }
    if (bytes.size() >= 3 && bytes[0] == 0xff && bytes[1] == 0xd8 && bytes[2] == 0xff) {
        return JpegHeader(bytes, problem);
    }
    problem = "the file is no PNG or JPEG picture";
    return std::nullopt;
}

cv::Mat DecodePicture(const std::vector<uint8_t>& bytes, std::string& problem) {
    const auto header = ReadPictureHeader(bytes, problem);
    if (!header) {
        return {};
    }
    // A JPEG's decoder brings CMYK and grey to BGR and turns the picture as
    // its EXIF orientation says; a PNG's keeps its alpha and 16 bits.
    cv::Mat picture = cv::imdecode(
        bytes, header->format == PictureFormat::Jpeg ? cv::IMREAD_COLOR : cv::IMREAD_UNCHANGED);
    if (picture.empty()) {
        problem = "the picture's data cannot be decoded";
        return {};
    }
    if (picture.depth() == CV_16U) {
        picture.convertTo(picture, CV_8U, 1.0 / 257);
    }
    if (picture.depth() != CV_8U) {
        problem = "the picture's samples are of no depth a page picture has";
        return {};
    }
    switch (picture.channels()) {
        case 1:
        case 3:
            return picture;
        case 4:
            return OnWhite(picture);
        default:
            problem = "the picture's samples are of no colours a page picture has";
            return {};
    }
}

}  // namespace reader
