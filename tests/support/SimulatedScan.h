#pragma once

// A page picture as a flatbed scanner gives it back: the A4 sheet laid a
// little askew and off the corner on the scanner's dark lid, sampled at the
// scanner's resolution, softened by its optics, with sensor noise, and
// saved as a JPEG.
#include <cstdint>
#include <opencv2/core.hpp>
#include <utility>
#include <vector>

namespace scan_testing {

struct ScanSettings {
    double dpi = 600;
    double degrees = 0;      // the sheet's turn on the glass, clockwise
    cv::Point2d offset{};    // its extent's top left corner from the glass's, inches
    double blurAt600 = 1.0;  // the optics' Gaussian sigma, pixels at 600 dpi
    double noise = 6;        // the sensor's noise, standard deviation in levels
    int jpegQuality = 85;
    uint64_t seed = 1;  // the noise's
    bool whiteLid = false;  // the lid as light as the paper: no paper's edge shows
    double unevenLight = 0;  // the light's fall from the glass's left to its right, 0..1
    // Strokes of a ball pen on the sheet, from and to, in page dots.
    std::vector<std::pair<cv::Point2d, cv::Point2d>> penStrokes;
    bool noBlackInk = false;  // printed with the black ink run out
    bool upsideDown = false;  // the sheet laid on the glass head first
    // The picture cut to the print on it and a tenth of an inch round: no
    // paper's edge shows.
    bool tightCrop = false;
};

// Settings drawn from a seed: up to 1.5 degrees either way, the sheet's
// extent between 0.1 and 0.4 inches off the glass's top and left edge.
ScanSettings RandomScanSettings(double dpi, uint64_t seed);

// page: the virtual printer's page picture (BGR, 360 dpi, from the sheet's
// top left corner). The JPEG file's bytes.
std::vector<uint8_t> ScanFile(const cv::Mat& page, const ScanSettings& settings);
// The same, decoded.
cv::Mat Scan(const cv::Mat& page, const ScanSettings& settings);

}  // namespace scan_testing
