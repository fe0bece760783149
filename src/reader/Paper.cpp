#include "reader/Paper.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <vector>

namespace reader {

namespace {

constexpr int kCoarseWidth = 600;         // the picture is first looked at this wide
constexpr int kLongest = 8;               // times as long as wide, either way: longer is no sheet
constexpr int kFrame = 3;                 // coarse pixels of the picture's border
constexpr int kEdgeSamples = 48;          // places along each edge where it is measured
constexpr double kEdgeSpan = 0.8;         // the part of each edge they spread over
constexpr double kMillimetre = 1 / 25.4;  // inches
// Millimetres a measured place may lie off its edge's line (at least a pixel).
constexpr double kStraight = 0.1;
// How far the paper's edge is looked for either side of where the coarse copy
// shows it: coarse pixels (the coarse edge's own error), millimetres of paper
// and pixels of the scan's blur; the most of the three.
constexpr double kReachCoarse = 3;
constexpr double kReachPaper = 0.5;
constexpr double kReachBlur = 4;
constexpr double kMostTurn = 20;  // degrees a sheet may lie turned

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
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
        return -1;
    }
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

// The part [from, to] of the line at + t * along that lies in the picture,
// where Bilinear has four pixels round each point.
bool Clip(const cv::Mat& grey, cv::Point2d at, cv::Point2d along, double& from, double& to) {
    const auto axis = [&](double start, double step, double last) {
        if (std::abs(step) < 1e-12) {
            return start >= 0 && start < last;
        }
        double low = (0 - start) / step;
        double high = (last - 1e-6 - start) / step;
        if (low > high) {
            std::swap(low, high);
        }
        from = std::max(from, low);
        to = std::min(to, high);
        return true;
    };
    return axis(at.x, along.x, grey.cols - 1) && axis(at.y, along.y, grey.rows - 1) && from <= to;
}

// Where the light of the paper begins across the coarse edge at onEdge: the
// place the profile rises halfway from the lid (its darkest outside the
// coarse edge) to the paper (its lightest inside), the outermost such rise:
// ink near the paper's edge makes more rises further in, which may stand
// nearer the coarse edge than the paper's own (a fine scan's coarse pixel is
// wider than the top margin). The window is cut to the picture; outside is
// how much of it lies outside the coarse edge.
std::optional<double> EdgeAlong(const cv::Mat& grey, cv::Point2d onEdge, cv::Point2d inward,
                                double reach, double& outside) {
    double from = -reach;
    double to = reach;
    outside = 0;
    if (!Clip(grey, onEdge, inward, from, to)) {
        return std::nullopt;
    }
    outside = -from;
    const double start = std::ceil(from);
    const int length = static_cast<int>(std::floor(to) - start) + 1;
    if (start > -2 || start + length - 1 < 2) {
        return std::nullopt;  // too little either side to tell lid from paper
    }
    std::vector<double> profile(static_cast<size_t>(length));
    double lid = 255;
    double paper = 0;
    for (int i = 0; i < length; ++i) {
        const double t = start + i;
        const double level = Bilinear(grey, onEdge + t * inward);
        profile[static_cast<size_t>(i)] = level;
        if (t < 0) {
            lid = std::min(lid, level);
        } else if (t > 0) {
            paper = std::max(paper, level);
        }
    }
    if (paper - lid < 60) {
        return std::nullopt;
    }
    const double half = (lid + paper) / 2;
    for (size_t i = 1; i < profile.size(); ++i) {
        if (profile[i - 1] < half && profile[i] >= half) {
            return start + static_cast<double>(i) - 1 +
                   (half - profile[i - 1]) / (profile[i] - profile[i - 1]);
        }
    }
    return std::nullopt;
}

// The corners of the coarse sheet, top left first and on clockwise as the
// picture stands: the top edge is the one whose middle stands highest.
std::array<cv::Point2d, 4> Clockwise(const cv::RotatedRect& rough, double scale) {
    std::array<cv::Point2f, 4> points;
    rough.points(points.data());
    std::array<cv::Point2d, 4> c;
    for (size_t i = 0; i < 4; ++i) {
        c[i] = cv::Point2d(points[i]) * scale;
    }
    const cv::Point2d a = c[1] - c[0];
    const cv::Point2d b = c[2] - c[1];
    if (a.x * b.y - a.y * b.x < 0) {
        std::reverse(c.begin(), c.end());
    }
    size_t top = 0;
    for (size_t i = 1; i < 4; ++i) {
        if (c[i].y + c[(i + 1) % 4].y < c[top].y + c[(top + 1) % 4].y) {
            top = i;
        }
    }
    std::rotate(c.begin(), c.begin() + static_cast<long>(top), c.end());
    return c;
}

// Fits a line to the points, leaving out those off it (ink at the edge).
std::optional<Line> FitEdge(std::vector<cv::Point2f> points, double straight) {
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
        std::erase_if(points, [&](const cv::Point2f& p) { return off(p) > straight; });
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
    if (grey.rows > kLongest * grey.cols || grey.cols > kLongest * grey.rows) {
        search.problem = "the picture is a strip, no sheet";
        return search;
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
    // The sheet roughly, then each edge measured at full size across it,
    // as far either way as the coarse edge may be off.
    const cv::RotatedRect rough = cv::minAreaRect(*largest);
    const std::array<cv::Point2d, 4> quad = Clockwise(rough, 1 / shrink);
    const cv::Point2d top = quad[1] - quad[0];
    const cv::Point2d left = quad[3] - quad[0];
    if (std::abs(std::atan2(top.y, top.x)) > kMostTurn * CV_PI / 180) {
        search.problem = "the sheet lies turned more than " +
                         std::to_string(static_cast<int>(kMostTurn)) +
                         " degrees in the scan: lay it straight";
        return search;
    }
    if (cv::norm(top) > cv::norm(left)) {
        search.problem = "the sheet lies sideways in the scan: lay it upright";
        return search;
    }
    const double dpi = dpiHint > 0 ? dpiHint : cv::norm(top) / kSizes[0].width;
    const double reach =
        std::max({kReachCoarse / shrink, kReachPaper * kMillimetre * dpi, kReachBlur});
    const double straight = std::max(1.0, kStraight * kMillimetre * dpi);
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
        int cut = 0;  // places whose window the picture's border cuts short outside
        for (int i = 0; i < kEdgeSamples; ++i) {
            const double t = (1 - kEdgeSpan) / 2 + kEdgeSpan * i / (kEdgeSamples - 1);
            const cv::Point2d onEdge = from + t * (to - from);
            double outside = 0;
            if (const auto edge = EdgeAlong(grey, onEdge, inward, reach, outside)) {
                points.emplace_back(onEdge + *edge * inward);
            }
            cut += outside < reach / 2 ? 1 : 0;
        }
        if (cut > kEdgeSamples / 2) {
            search.problem =
                "the sheet touches the picture's edge: leave the lid's dark all round it";
            return search;
        }
        const auto line = FitEdge(points, straight);
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
