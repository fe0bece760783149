#pragma once

// How far a picture without the paper's edges is turned, from its pattern:
// the edges of its rows of ink (the tops and feet of blocks, lines, combs
// and characters) lie level on the page.
#include <opencv2/core.hpp>
#include <optional>

namespace reader {

// The most a picture is looked at turned, either way (degrees).
inline constexpr double kMostPatternTurn = 4;

// The angle (degrees, as cv::getRotationMatrix2D takes it) that brings the
// level edges of the ink level: edges that go down s rows a column to the
// right (row = c + s column) are turned by atan(s). ink: CV_8UC1, page dots,
// 255 a full dot of ink. nullopt when the picture holds too few level edges
// to tell.
std::optional<double> PatternTurn(const cv::Mat& ink);

}  // namespace reader
