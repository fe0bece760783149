#pragma once

// A page picture's file, looked at before it is decoded: only PNG and JPEG,
// whole (a file cut short is refused, not filled in with grey), and no larger
// than the largest sheet the printer feeds scanned at 1200 dpi, so that a
// small file declaring a huge picture never gets its memory.
#include <cstdint>
#include <opencv2/core.hpp>
#include <optional>
#include <string>
#include <vector>

namespace reader {

// 44 inches of paper at 1200 dpi are 52800 pixels; the glass round it adds a
// little.
inline constexpr int kMaxPictureSide = 60000;
// A 44 by 9.5 inch glass at 1200 dpi: 602 million pixels (decoded, 3 bytes
// each).
inline constexpr int64_t kMaxPicturePixels = 640'000'000;

// The largest picture uncompressed, with room for its file's own data.
inline constexpr int64_t kMaxPictureFileBytes = 3 * kMaxPicturePixels + (64 << 20);

enum class PictureFormat { Png, Jpeg };

struct PictureHeader {
    PictureFormat format = PictureFormat::Png;
    int width = 0;
    int height = 0;
};

// The header of a PNG or JPEG file's bytes, checked to the file's end marker
// (PNG's IEND chunk, JPEG's EOI after its last scan). Empty, with the
// problem, for any other file, one cut short, or a picture above the caps.
std::optional<PictureHeader> ReadPictureHeader(const std::vector<uint8_t>& bytes,
                                               std::string& problem);

// The picture, 8-bit BGR (or grey), with any transparency laid on white
// paper. Empty, with the problem, when the file is refused or its decoder
// fails.
cv::Mat DecodePicture(const std::vector<uint8_t>& bytes, std::string& problem);

}  // namespace reader
