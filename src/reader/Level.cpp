#include "reader/Level.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <vector>

namespace reader {

namespace {

// The vertical Sobel response (3 x 3) of an edge of ink: a blurred, light
// edge gives several hundred, the paper's noise and a JPEG's ripple far less.
constexpr int kEdgeLeast = 120;
constexpr size_t kLeastPoints = 400;  // fewer edge dots tell no angle
// Edge dots the search over every angle takes at most: a dense page is
// thinned out; the search about the best takes all.
constexpr size_t kCoarsePoints = 60000;

struct EdgeDot {
    float x;       // from the picture's middle column
    float y;       // row
    float weight;  // signed: the top of a row of ink and its foot cancel in no bin
};

// How sharply the edge dots stand in rows when rows go down by slope a
// column: the sum of the squared bins of their weights along such rows, bins
// of the given height (rows), every stride-th dot.
class Projection {
  public:
    Projection(const std::vector<EdgeDot>& dots, int rows, int cols)
        : dots_(dots),
          reach_(std::tan(kMostPatternTurn * CV_PI / 180) * cols / 2 + 2),
          rows_(rows) {}

    double Sharpness(double slope, double bin, size_t stride) {
        const auto count = static_cast<size_t>((rows_ + 2 * reach_) / bin) + 3;
        bins_.assign(count, 0.0);
        const double perBin = 1 / bin;
        for (size_t at = 0; at < dots_.size(); at += stride) {
            const EdgeDot& dot = dots_[at];
            const double place = (dot.y - slope * dot.x + reach_) * perBin;
            const auto low = static_cast<size_t>(place);
            const double high = place - static_cast<double>(low);
            bins_[low] += dot.weight * (1 - high);
            bins_[low + 1] += dot.weight * high;
        }
        double sum = 0;
        for (const double value : bins_) {
            sum += value * value;
        }
        return sum;
    }

  private:
    const std::vector<EdgeDot>& dots_;
    double reach_;
    int rows_;
    std::vector<double> bins_;
};

double Slope(double degrees) {
    return std::tan(degrees * CV_PI / 180);
}

}  // namespace

std::optional<double> PatternTurn(const cv::Mat& ink) {
    if (ink.empty() || ink.type() != CV_8UC1 || ink.rows < 3 || ink.cols < 3) {
        return std::nullopt;
    }
    cv::Mat down;
    cv::Mat across;
    cv::Sobel(ink, down, CV_16S, 0, 1, 3);
    cv::Sobel(ink, across, CV_16S, 1, 0, 3);
    std::vector<EdgeDot> dots;
    const float middle = static_cast<float>(ink.cols) / 2;
    // Only dots of edges near level: the sides of bars and marks tell
    // nothing.
    const double gate = std::tan((kMostPatternTurn + 2) * CV_PI / 180);
    for (int y = 1; y + 1 < down.rows; ++y) {
        const auto* line = down.ptr<int16_t>(y);
        const auto* side = across.ptr<int16_t>(y);
        for (int x = 0; x < down.cols; ++x) {
            const int weight = std::abs(line[x]);
            if (weight < kEdgeLeast || std::abs(side[x]) > gate * weight) {
                continue;
            }
            dots.push_back({static_cast<float>(x) - middle, static_cast<float>(y),
                            static_cast<float>(weight)});
        }
    }
    if (dots.size() < kLeastPoints) {
        return std::nullopt;
    }
    Projection projection(dots, ink.rows, ink.cols);
    const auto stride = [&](size_t most) { return std::max<size_t>(1, dots.size() / most); };
    const auto search = [&](double centre, double reach, double step, double bin, size_t every) {
        double sharpest = -1;
        double found = centre;
        const int steps = static_cast<int>(std::lround(reach / step));
        std::vector<double> values;
        for (int at = -steps; at <= steps; ++at) {
            const double degrees = centre + at * step;
            if (std::abs(degrees) > kMostPatternTurn + 1e-9) {
                values.push_back(-1);
                continue;
            }
            values.push_back(projection.Sharpness(Slope(degrees), bin, every));
            if (values.back() > sharpest) {
                sharpest = values.back();
                found = degrees;
            }
        }
        const auto index = static_cast<size_t>(std::lround((found - centre) / step) + steps);
        if (index > 0 && index + 1 < values.size() && values[index - 1] >= 0 &&
            values[index + 1] >= 0) {
            const double bend = values[index - 1] - 2 * values[index] + values[index + 1];
            if (bend < 0) {
                found += step * 0.5 * (values[index - 1] - values[index + 1]) / bend;
            }
        }
        return found;
    };
    // Every angle in steps narrower than the peak of the narrow rows in bins
    // of two rows, then about the best in single rows.
    double best = search(0, kMostPatternTurn, 0.03, 2, stride(kCoarsePoints));
    best = search(best, 0.06, 0.005, 1, 1);
    return best;
}

}  // namespace reader
