#include "reader/PictureFile.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <cstring>

#include "reader/PictureDecoders.h"

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

// samples: a pixel's, as stored; bits: a sample's.
bool Fits(const PictureHeader& header, int samples, int bits, std::string& problem) {
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
    const int64_t data = int64_t{header.width} * header.height * samples * bits / 8;
    if (data > kMaxPictureDataBytes) {
        problem = "the picture's " + std::to_string(header.width) + " x " +
                  std::to_string(header.height) + " pixels of " + std::to_string(samples) +
                  (samples == 1 ? " sample" : " samples") + " of " + std::to_string(bits) +
                  " bits are " + std::to_string(data >> 20) +
                  " MiB to decode, more than any page picture's (at most " +
                  std::to_string(kMaxPictureDataBytes >> 20) + " MiB)";
        return false;
    }
    return true;
}

// Samples a pixel of a PNG's colour type has.
int PngSamples(uint8_t colourType) {
    switch (colourType) {
        case 2:
            return 3;
        case 4:
            return 2;
        case 6:
            return 4;
        default:
            return 1;  // grey, or a palette index
    }
}

const char* const kCutShort = "the picture's file is cut short";

// Chunk by chunk: IHDR first, IDAT, and IEND within the bytes.
std::optional<PictureHeader> PngHeader(const std::vector<uint8_t>& bytes, std::string& problem) {
    PictureHeader header;
    size_t at = kPngSignature.size();
    bool data = false;
    bool interlaced = false;
    bool alpha = false;
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
            const uint8_t colourType = bytes[at + 17];
            if (!Fits(header, PngSamples(colourType), std::max<int>(bytes[at + 16], 1), problem)) {
                return std::nullopt;
            }
            alpha = colourType == 4 || colourType == 6;
            interlaced = bytes[at + 20] != 0;
        }
        data = data || std::memcmp(type, "IDAT", 4) == 0;
        alpha = alpha || std::memcmp(type, "tRNS", 4) == 0;
        if (std::memcmp(type, "IEND", 4) == 0) {
            if (!data) {
                problem = "the PNG file holds no picture data";
                return std::nullopt;
            }
            // Its passes are put together in the whole picture, 8-bit BGR or
            // BGRA.
            if (interlaced) {
                header.wholeFrameBytes =
                    int64_t{header.width} * header.height * (alpha ? 4 : 3);
            }
            return header;
        }
        at += 12 + length;
    }
}

bool StartOfFrame(uint8_t marker) {
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

bool Progressive(uint8_t marker) {
    return marker == 0xc2 || marker == 0xc6 || marker == 0xca || marker == 0xce;
}

// The coefficients of the whole frame, as the decoder keeps them for a
// picture in several scans: 64 of 2 bytes a block of 8 by 8 samples of each
// component, in whole blocks of its sampling; 0 when the frame's components
// are broken. at: the frame header's data, after its length.
int64_t CoefficientBytes(const uint8_t* frame, size_t length, int width, int height) {
    const size_t components = frame[5];
    if (components == 0 || length < 6 + 3 * components) {
        return 0;
    }
    int most[2] = {1, 1};
    for (size_t i = 0; i < components; ++i) {
        most[0] = std::max(most[0], frame[7 + 3 * i] >> 4);
        most[1] = std::max(most[1], frame[7 + 3 * i] & 15);
    }
    int64_t bytes = 0;
    for (size_t i = 0; i < components; ++i) {
        const int sampling[2] = {std::max(1, frame[7 + 3 * i] >> 4),
                                 std::max(1, frame[7 + 3 * i] & 15)};
        int64_t blocks[2] = {0, 0};
        for (int d = 0; d < 2; ++d) {
            const int64_t samples =
                ((d == 0 ? width : height) * int64_t{sampling[d]} + most[d] - 1) / most[d];
            blocks[d] = ((samples + 7) / 8 + sampling[d] - 1) / sampling[d] * sampling[d];
        }
        bytes += blocks[0] * blocks[1] * 64 * 2;
    }
    return bytes;
}

// The orientation an APP1 segment's EXIF data gives (its first directory's
// tag 0x112), 1 without one; 0 when the segment holds no EXIF data.
int ExifOrientation(const uint8_t* data, size_t length) {
    if (length < 14 || std::memcmp(data, "Exif\0\0", 6) != 0) {
        return 0;
    }
    const uint8_t* tiff = data + 6;
    const size_t size = length - 6;
    const bool little = tiff[0] == 'I' && tiff[1] == 'I';
    if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) {
        return 1;
    }
    const auto number = [&](size_t at, int bytes) {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value |= uint32_t{tiff[at + static_cast<size_t>(i)]}
                     << (8 * (little ? i : bytes - 1 - i));
        }
        return value;
    };
    const size_t directory = number(4, 4);
    if (directory > size - 2) {
        return 1;
    }
    const size_t entries = number(directory, 2);
    for (size_t i = 0; i < entries && directory + 2 + 12 * (i + 1) <= size; ++i) {
        const size_t entry = directory + 2 + 12 * i;
        if (number(entry, 2) == 0x112 && number(entry + 2, 2) == 3) {
            const uint32_t orientation = number(entry + 8, 2);
            return orientation >= 1 && orientation <= 8 ? static_cast<int>(orientation) : 1;
        }
    }
    return 1;
}

// Marker by marker: the frame's size from its SOF, each scan's data passed
// over to the next marker, and EOI after the last.
std::optional<PictureHeader> JpegHeader(const std::vector<uint8_t>& bytes, std::string& problem) {
    PictureHeader header;
    header.format = PictureFormat::Jpeg;
    bool frame = false;
    bool progressive = false;
    bool exif = false;
    int scans = 0;
    int64_t coefficients = 0;
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
            header.wholeFrameBytes = progressive || scans > 1 ? coefficients : 0;
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
            progressive = Progressive(marker);
            header.height = static_cast<int>(BigEndian(&bytes[at + 3], 2));
            header.width = static_cast<int>(BigEndian(&bytes[at + 5], 2));
            if (!Fits(header, std::max<int>(bytes[at + 7], 1), 8, problem)) {
                return std::nullopt;
            }
            coefficients = CoefficientBytes(&bytes[at + 2], length - 2, header.width, header.height);
        }
        if (marker == 0xe1 && !exif) {
            const int orientation = ExifOrientation(&bytes[at + 2], length - 2);
            exif = orientation != 0;
            header.orientation = std::max(orientation, 1);
        }
        at += length;
        if (marker == 0xda) {
            if (!frame) {
                problem = "the JPEG file's markers are broken";
                return std::nullopt;
            }
            ++scans;
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

// A JPEG turned as its EXIF orientation says.
cv::Mat Oriented(cv::Mat picture, int orientation) {
    if (orientation >= 5) {
        cv::Mat turned;
        cv::transpose(picture, turned);
        picture = turned;
    }
    // Then mirrored: left to right (2, 6), both ways (3, 7), top to bottom
    // (4, 8).
    constexpr int kFlip[9] = {2, 2, 1, -1, 0, 2, 1, -1, 0};
    if (kFlip[orientation] != 2) {
        cv::flip(picture, picture, kFlip[orientation]);
    }
    return picture;
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

std::optional<DecodePlan> PlanDecode(const PictureHeader& header, std::string& problem) {
    DecodePlan plan;
    for (plan.reduction = 1;; plan.reduction *= 2) {
        plan.width = (header.width + plan.reduction - 1) / plan.reduction;
        plan.height = (header.height + plan.reduction - 1) / plan.reduction;
        plan.pictureBytes = int64_t{3} * plan.width * plan.height;
        if (plan.pictureBytes <= kMaxDecodedBytes || plan.reduction == 8) {
            break;
        }
    }
    // A picture turned a quarter round is turned into a second one.
    plan.decoderBytes = header.wholeFrameBytes + (header.orientation >= 5 ? plan.pictureBytes : 0);
    if (plan.pictureBytes > kMaxDecodedBytes || plan.decoderBytes > kMaxDecoderBytes) {
        const bool png = header.format == PictureFormat::Png;
        problem = std::string(png ? "the PNG is interlaced" : "the JPEG is progressive") +
                  ": decoding its " + std::to_string(header.width) + " x " +
                  std::to_string(header.height) + " pixels takes " +
                  std::to_string((plan.decoderBytes + (1 << 20) - 1) >> 20) +
                  " MiB, more than a page picture may (" +
                  std::to_string(kMaxDecoderBytes >> 20) + " MiB); save it " +
                  (png ? "without interlacing" : "as a baseline JPEG");
        return std::nullopt;
    }
    return plan;
}

cv::Mat DecodePicture(const std::vector<uint8_t>& bytes, std::string& problem, int* reduction,
                      double enough, double* scale) {
    const auto header = ReadPictureHeader(bytes, problem);
    if (!header) {
        return {};
    }
    auto plan = PlanDecode(*header, problem);
    if (!plan) {
        return {};
    }
    if (header->format == PictureFormat::Jpeg && plan->reduction == 1 && enough > 0 &&
        enough < 1) {
        plan->eighths = std::clamp(static_cast<int>(std::ceil(8 * enough - 1e-9)), 1, 8);
        plan->width = (header->width * plan->eighths + 7) / 8;
        plan->height = (header->height * plan->eighths + 7) / 8;
        plan->pictureBytes = int64_t{3} * plan->width * plan->height;
    }
    if (reduction != nullptr) {
        *reduction = plan->reduction;
    }
    if (scale != nullptr) {
        *scale = plan->eighths / (8.0 * plan->reduction);
    }
    if (header->format == PictureFormat::Png) {
        return DecodePng(bytes, *plan, problem);
    }
    cv::Mat picture = DecodeJpeg(bytes, *plan, problem);
    return picture.empty() ? picture : Oriented(picture, header->orientation);
}

}  // namespace reader
