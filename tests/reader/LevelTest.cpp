// Pictures without the paper's edges, turned by a little: the pattern's own
// rows tell the turn to a twentieth of a degree on every page kind with a
// pattern of rows (a page of a line and a caption to a tenth), close enough
// for the PF readers to take the rest from their blocks' own edges. A picture
// with too few level edges tells none.
#include <gtest/gtest.h>

#include <cmath>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "reader/Level.h"

namespace {

cv::Mat TurnedInk(const std::string& golden, double degrees) {
    const cv::Mat page =
        cv::imread(std::string(ORVANE_GOLDEN_DIR) + "/" + golden + ".png", cv::IMREAD_COLOR);
    EXPECT_FALSE(page.empty()) << golden;
    cv::Mat grey;
    cv::cvtColor(page, grey, cv::COLOR_BGR2GRAY);
    const cv::Point2f centre(static_cast<float>(grey.cols) / 2, static_cast<float>(grey.rows) / 2);
    cv::Mat turned;
    cv::warpAffine(grey, turned, cv::getRotationMatrix2D(centre, degrees, 1), grey.size(),
                   cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar(255));
    // A scanner's softness and noise.
    cv::GaussianBlur(turned, turned, cv::Size(), 1.2);
    cv::Mat noise(turned.size(), CV_16S);
    cv::RNG(7).fill(noise, cv::RNG::NORMAL, 0, 6);
    cv::Mat noisy;
    turned.convertTo(noisy, CV_16S);
    noisy += noise;
    noisy.convertTo(turned, CV_8U);
    cv::bitwise_not(turned, turned);
    return turned;
}

TEST(PatternTurn, FindsTheTurnOfEachPageToATwentiethOfADegree) {
    const struct {
        const char* golden;
        double degrees;
        double within;
    } cases[] = {
        {"PfColor", 0.3, 0.05},           {"PfColor", -3.3, 0.05},
        {"PfBlack", -0.25, 0.05},         {"SheetPfColor", 0.55, 0.05},
        {"PhotoPaperSheet1", 1.7, 0.05},  {"BidBlackVsd1", -2.6, 0.05},
        {"HeadAngular", 3.9, 0.05},       {"TopMargin", -0.5, 0.05},
        {"FirstDot", 0.05, 0.1},          {"PhotoPaperSheet2", -1.15, 0.05},
    };
    for (const auto& c : cases) {
        const auto turn = reader::PatternTurn(TurnedInk(c.golden, c.degrees));
        ASSERT_TRUE(turn.has_value()) << c.golden << " " << c.degrees;
        EXPECT_NEAR(*turn, -c.degrees, c.within) << c.golden << " " << c.degrees;
    }
}

TEST(PatternTurn, ABlankPictureTellsNoTurn) {
    cv::Mat blank(2000, 2880, CV_8UC1, cv::Scalar(3));
    cv::RNG(3).fill(blank, cv::RNG::NORMAL, 3, 4);
    EXPECT_FALSE(reader::PatternTurn(blank).has_value());
}

}  // namespace
