#pragma once

// A page picture's file, looked at before it is decoded: only PNG and JPEG,
// whole (a file cut short is refused, not filled in with grey), and no larger
// than the largest sheet the printer feeds scanned at 1200 dpi, so that a
// small file declaring a huge picture never gets its memory. What decoding
// takes is counted from the header: the picture is decoded at a half, a
// quarter or an eighth of its size when it would take more than its share,
// and a file whose decoder must hold more besides is refused.
#include <cstdint>
#include <opencv2/core.hpp>
#include <optional>
#include <string>
#include <vector>

namespace reader {

// 44 inches of paper at 1200 dpi are 52800 pixels; the glass round it adds a
// little.
inline constexpr int kMaxPictureSide = 60000;
// A 44 by 9.5 inch glass at 1200 dpi: 602 million pixels.
inline constexpr int64_t kMaxPicturePixels = 640'000'000;

// The picture's samples as stored, at their depth: what the decoder goes
// through, whatever size it decodes at. A 1200 dpi scan of an A4 sheet in
// 16-bit RGB is 0.8 GiB.
inline constexpr int64_t kMaxPictureDataBytes = int64_t{2} << 30;

// The decoded picture, 8-bit BGR, takes at most this much: a larger one is
// decoded at 1/2, 1/4 or 1/8 of its size each way. The printer's own page
// pictures (2880 pixels wide, at most 44 inches long) never are; a scan at
// 1200 dpi of an A4 sheet is decoded at 600 dpi, still more than the 360 dpi
// the reader measures at.
inline constexpr int64_t kMaxDecodedBytes = int64_t{160} << 20;
// What a decoder holds besides, at most: a progressive or multi-scan JPEG's
// coefficients and an interlaced PNG's whole picture, at full size.
inline constexpr int64_t kMaxDecoderBytes = int64_t{192} << 20;
// The file is read whole before it is decoded: with the picture and the
// decoder's share, well under a gigabyte. A 600 dpi scan of a sheet as PNG is
// about a third of it.
inline constexpr int64_t kMaxPictureFileBytes = int64_t{320} << 20;

enum class PictureFormat { Png, Jpeg };

struct PictureHeader {
    PictureFormat format = PictureFormat::Png;
    int width = 0;
    int height = 0;
    // Bytes the decoder holds for the whole picture at full size, whatever
    // size it is decoded at: a progressive or multi-scan JPEG's coefficients,
    // an interlaced PNG's pixels. 0 when it decodes row by row.
    int64_t wholeFrameBytes = 0;
    int orientation = 1;  // a JPEG's EXIF orientation, 1 to 8
};

// The header of a PNG or JPEG file's bytes, checked to the file's end marker
// (PNG's IEND chunk, JPEG's EOI after its last scan). Empty, with the
// problem, for any other file, one cut short, or a picture above the caps.
std::optional<PictureHeader> ReadPictureHeader(const std::vector<uint8_t>& bytes,
                                               std::string& problem);

// How a picture is decoded: at 1/reduction of its size each way (1, 2, 4 or
// 8), so that it takes at most kMaxDecodedBytes as 8-bit BGR; with what the
// decoder holds besides.
struct DecodePlan {
    int reduction = 1;
    // A JPEG that is not reduced may be decoded smaller still, at eighths/8
    // of its size, when less is enough (a fine scan): its decoder scales it
    // as it decodes, filtering as a shrunk picture must be.
    int eighths = 8;
    int width = 0;  // decoded
    int height = 0;
    int64_t pictureBytes = 0;
    int64_t decoderBytes = 0;
};
// Empty, with the problem, when the decoder would hold more than
// kMaxDecoderBytes.
std::optional<DecodePlan> PlanDecode(const PictureHeader& header, std::string& problem);

// The picture as planned, 8-bit BGR, with any transparency laid on white
// paper and a JPEG turned as its EXIF orientation says. Empty, with the
// problem, when the file is refused or its data is damaged; the decoders'
// own messages become the problem, never output. reduction, when given, is
// set to the plan's. enough: the part of the picture's size that is enough
// (0..1; 1 keeps it whole); scale, when given, is set to the decoded
// picture's size over the file's.
cv::Mat DecodePicture(const std::vector<uint8_t>& bytes, std::string& problem,
                      int* reduction = nullptr, double enough = 1, double* scale = nullptr);

}  // namespace reader
