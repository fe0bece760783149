#pragma once

// The decoders of page pictures, as planned from their headers: the picture
// 8-bit BGR at the plan's size, or empty with the problem. Neither writes
// anything out; what libpng or libjpeg says about a damaged file becomes the
// problem.
#include <cstdint>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "reader/PictureFile.h"

namespace reader {

// Row by row, each band of plan.reduction rows averaged into one as it is
// read; an interlaced picture is put together whole first. Transparency is
// laid on white paper, 16-bit samples are rounded to 8 bits.
cv::Mat DecodePng(const std::vector<uint8_t>& bytes, const DecodePlan& plan,
                  std::string& problem);

// Scaled by the decoder itself; CMYK (as Adobe's tools store it, inverted)
// and grey become BGR. A scan whose data ends before its picture is refused
// rather than filled in with grey.
cv::Mat DecodeJpeg(const std::vector<uint8_t>& bytes, const DecodePlan& plan,
                   std::string& problem);

}  // namespace reader
