#include "reader/Paper.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <vector>

namespace reader {

namespace {

constexpr int kCoarseWidth = 600;  // the picture is first looked at this wide
constexpr int kLongest = 8;        // times as long as wide: longer is no sheet
constexpr int kFrame = 3;          // coarse pixels of the picture's border
constexpr int kEdgeSamples = 48;   // places along each edge where it is measured
constexpr double kEdgeSpan = 0.8;  // the part of each edge they spread over
constexpr double kStraight = 1.5;  // pixels a measured place may lie off its edge's line

struct SheetSize {
    double width;
    double height;
};
constexpr std::array<SheetSize, 2> kSizes = {{{8.27, 11.69}, {8.5, 11.0}}};  // A4, Letter
constexpr double kSizeTolerance = 0.02;  // of the height to width ratio
constexpr double kLongestSheet = 44;     // inches: the longest paper the printer feeds

// A straight edge: a point on it and its direction.
struct Line {
    cv::Point2d at;
    cv::Point2d along;
};

std::optional<cv::Point2d> Meet(const Line& a, const Line& b) {
    const double cross = a.along.x * b.along.y - a.along.y * b.along.x;
    if (std::abs(cross) < 1e-9) {
        return std::nullopt;
    }
    const cv::Point2d d = b.at - a.at;
    const double t = (d.x * b.along.y - d.y * b.along.x) / cross;
    return a.at + t * a.along;
}

double Bilinear(const cv::Mat& grey, cv::Point2d p) {
    const int x = static_cast<int>(std::floor(p.x));
    const int y = static_cast<int>(std::floor(p.y));
    if (x < 0 || y < 0 || x + 1 >= grey.cols || y + 1 >= grey.rows) {
        return -1;
    }
    const double fx = p.x - x;
    const double fy = p.y - y;
    const auto at = [&](int dx, int dy) { return grey.at<uint8_t>(y + dy, x + dx); };
    return (at(0, 0) * (1 - fx) + at(1, 0) * fx) * (1 - fy) +
           (at(0, 1) * (1 - fx) + at(1, 1) * fx) * fy;
}

// Where the light of the paper begins, walking from outside the sheet in:
// the first place the profile rises halfway from the lid to the paper.
std::optional<double> EdgeAlong(const cv::Mat& grey, cv::Point2d outside, cv::Point2d inward,
                                int length) {
    std::vector<double> profile(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
        profile[static_cast<size_t>(i)] = Bilinear(grey, outside + i * inward);
        if (profile[static_cast<size_t>(i)] < 0) {
            return std::nullopt;
        }
    }
    const double lid = *std::min_element(profile.begin(), profile.begin() + length / 4);
    const double paper = *std::max_element(profile.begin() + length / 2, profile.end());
    if (paper - lid < 60) {
        return std::nullopt;
    }
    const double half = (lid + paper) / 2;
    for (size_t i = 1; i < profile.size(); ++i) {
        if (profile[i] >= half) {
            return static_cast<double>(i) - 1 +
                   (half - profile[i - 1]) / (profile[i] - profile[i - 1]);
        }
    }
    return std::nullopt;
}

// Fits a line to the points, leaving out those off it (ink at the edge).
std::optional<Line> FitEdge(std::vector<cv::Point2f> points) {
    for (int round = 0;; ++round) {
        if (points.size() < kEdgeSamples / 2) {
            return std::nullopt;
        }
        cv::Vec4f fitted;
        cv::fitLine(points, fitted, cv::DIST_HUBER, 0, 0.01, 0.01);
        const Line line{{fitted[2], fitted[3]}, {fitted[0], fitted[1]}};
        const auto off = [&](const cv::Point2f& p) {
            const cv::Point2d d = cv::Point2d(p) - line.at;
            return std::abs(d.x * line.along.y - d.y * line.along.x);
        };
        const auto before = points.size();
        std::erase_if(points, [&](const cv::Point2f& p) { return off(p) > kStraight; });
        if (points.size() == before || round == 4) {
            return line;
        }
    }
}

}  // namespace

PaperSearch FindPaper(const cv::Mat& picture, double dpiHint) {
    PaperSearch search;
    cv::Mat grey;
    if (picture.channels() == 3) {
        cv::cvtColor(picture, grey, cv::COLOR_BGR2GRAY);
    } else {
        grey = picture;
    }
    if (grey.rows > kLongest * grey.cols) {
        return search;  // a strip, no sheet
    }
    const double shrink = static_cast<double>(kCoarseWidth) / grey.cols;
    cv::Mat coarse;
    cv::resize(grey, coarse, cv::Size(), shrink, shrink, cv::INTER_AREA);
    if (coarse.rows < 4 * kFrame || coarse.cols < 4 * kFrame) {
        return search;
    }
    // The lid shows all round the sheet, darker than the paper.
    cv::Mat paperMask;
    const double level =
        cv::threshold(coarse, paperMask, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    cv::Mat frame = paperMask.clone();
    frame(cv::Rect(kFrame, kFrame, frame.cols - 2 * kFrame, frame.rows - 2 * kFrame)) = 0;
    const double frameArea = 2.0 * kFrame * (frame.cols + frame.rows - 2 * kFrame);
    if (cv::countNonZero(frame) > frameArea / 4 || level < 60) {
        return search;
    }
    std::vector<std::vector<cv::Point>> outlines;
    cv::findContours(paperMask, outlines, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_SIMPLE);
    const auto largest = std::max_element(outlines.begin(), outlines.end(), [](auto& a, auto& b) {
        return cv::contourArea(a) < cv::contourArea(b);
    });
    if (largest == outlines.end() || cv::contourArea(*largest) < 0.25 * coarse.total()) {
        search.problem = "the scan shows no sheet of paper";
        return search;
    }
    // The sheet roughly, then each edge measured at full size across it.
    const cv::RotatedRect rough = cv::minAreaRect(*largest);
    std::array<cv::Point2f, 4> corners;
    rough.points(corners.data());
    // Top left, top right, bottom right, bottom left, as the picture stands.
    std::array<cv::Point2d, 4> quad;
    {
        std::array<cv::Point2d, 4> c;
        for (size_t i = 0; i < 4; ++i) {
            c[i] = cv::Point2d(corners[i]) / shrink;
        }
        const auto by = [&](auto key) {
            return *std::min_element(c.begin(), c.end(),
                                     [&](auto& a, auto& b) { return key(a) < key(b); });
        };
        quad = {by([](auto p) { return p.x + p.y; }), by([](auto p) { return p.y - p.x; }),
                by([](auto p) { return -p.x - p.y; }), by([](auto p) { return p.x - p.y; })};
    }
    const double reach = 6 / shrink;  // the rough edge is off by a few coarse pixels
    const cv::Point2d centre = (quad[0] + quad[1] + quad[2] + quad[3]) / 4;
    std::array<Line, 4> edges;  // top, right, bottom, left
    for (size_t side = 0; side < 4; ++side) {
        const cv::Point2d from = quad[side];
        const cv::Point2d to = quad[(side + 1) % 4];
        const cv::Point2d along = (to - from) / cv::norm(to - from);
        cv::Point2d inward(-along.y, along.x);
        if ((centre - from).dot(inward) < 0) {
            inward = -inward;
        }
        std::vector<cv::Point2f> points;
        for (int i = 0; i < kEdgeSamples; ++i) {
            const double t = (1 - kEdgeSpan) / 2 + kEdgeSpan * i / (kEdgeSamples - 1);
            const cv::Point2d onEdge = from + t * (to - from);
            const cv::Point2d outside = onEdge - reach * inward;
            if (const auto edge =
                    EdgeAlong(grey, outside, inward, static_cast<int>(std::ceil(2 * reach)))) {
                points.emplace_back(outside + *edge * inward);
            }
        }
        const auto line = FitEdge(points);
        if (!line) {
            search.problem = "the sheet's edges are not straight in the scan";
            return search;
        }
        edges[side] = *line;
    }
    std::array<cv::Point2d, 4> sheet;
    for (size_t i = 0; i < 4; ++i) {
        const auto meet = Meet(edges[(i + 3) % 4], edges[i]);
        if (!meet) {
            search.problem = "the sheet's edges are not straight in the scan";
            return search;
        }
        sheet[i] = *meet;
    }
    const double across = (cv::norm(sheet[1] - sheet[0]) + cv::norm(sheet[2] - sheet[3])) / 2;
    const double down = (cv::norm(sheet[3] - sheet[0]) + cv::norm(sheet[2] - sheet[1])) / 2;
    Paper paper;
    paper.corners = sheet;
    // A sheet of a known size is taken as that size: its edges are cut
    // truer than a scanner's resolution is stated.
    for (const SheetSize& size : kSizes) {
        const double ratio = size.height / size.width;
        const bool fits =
            dpiHint > 0 ? std::abs(across / dpiHint - size.width) < kSizeTolerance * size.width &&
                              std::abs(down / dpiHint - size.height) < kSizeTolerance * size.height
                        : std::abs(down / across - ratio) < kSizeTolerance * ratio;
        if (fits) {
            paper.inches = {size.width, size.height};
            break;
        }
    }
    if (paper.inches.width == 0) {
        if (dpiHint <= 0) {
            search.problem = "the sheet is neither A4 nor Letter: give the scan's resolution";
            return search;
        }
        paper.inches = {across / dpiHint, down / dpiHint};
        if (paper.inches.height > kLongestSheet || paper.inches.width > kLongestSheet) {
            search.problem = "the sheet is larger than any the printer takes";
            return search;
        }
    }
    search.paper = paper;
    return search;
}

}  // namespace reader
