#pragma once

// Where the sheet lies in a scan: a scanner with a dark lid (or a dark sheet
// laid over the page) shows the paper's edges, which give the sheet's
// corners and, from its size, the scan's resolution.
#include <array>
#include <opencv2/core.hpp>
#include <optional>
#include <string>

namespace reader {

struct Paper {
    // The sheet's corners in picture pixels: top left, top right, bottom
    // right, bottom left, as the sheet stands.
    std::array<cv::Point2d, 4> corners;
    cv::Size2d inches;  // the sheet's size
};

// nullopt when the picture shows no paper's edge: its border is as light as
// paper. Else the sheet, or a problem: the picture a strip, the sheet turned
// more than 20 degrees, sideways, touching the picture's edge, its edges not
// straight, or of no known size without dpiHint.
struct PaperSearch {
    std::optional<Paper> paper;
    std::string problem;
};
PaperSearch FindPaper(const cv::Mat& picture, double dpiHint);

}  // namespace reader
