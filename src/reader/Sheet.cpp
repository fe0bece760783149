#include "reader/Sheet.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

#include "reader/Level.h"
#include "reader/Paper.h"

namespace reader {

namespace {

// Marks are looked for on the sheet shrunk by this factor: rows that the
// nozzle pitch leaves blank and small gaps in a pattern close up.
constexpr int kCoarse = 4;
// A mark is taller than this (page dots); characters are lower.
constexpr int kMarkDots = 64;
constexpr int kCoarseInk = 24;  // coarse dots with this much ink count as inked
// Coarse dots across that the ink of one mark may leave blank between its
// bars (a comb's, thinned by a soft scan).
constexpr int kJoin = 7;

cv::Rect Clip(const Sheet& sheet, int left, int right, int top, int bottom) {
    const cv::Rect area(left, top, right - left, bottom - top);
    return area & cv::Rect(0, 0, sheet.ink.cols, sheet.ink.rows);
}

Ink InkOf(const cv::Scalar& bgr) {
    const double blue = bgr[0];
    const double green = bgr[1];
    const double red = bgr[2];
    if (red > green + 60 && red > blue + 20) {
        return Ink::Magenta;
    }
    if (blue > red + 60) {
        return Ink::Cyan;
    }
    if (red > blue + 60 && green > blue + 60) {
        return Ink::Yellow;
    }
    return Ink::Black;
}

std::vector<double> Profile(const Sheet& sheet, const cv::Rect& area, int dimension) {
    if (area.empty()) {
        return {};
    }
    cv::Mat mean;
    cv::reduce(sheet.ink(area), mean, dimension, cv::REDUCE_AVG, CV_64F);
    return std::vector<double>(mean.begin<double>(), mean.end<double>());
}

// The scan's blur draws the lid's dark into the sheet's outermost dots: the
// outer rows and columns are brought to the light of those a little further
// in, as far as their lightest dots (paper, whatever ink they hold) fall
// short of it. The next ones in are dark by a few hundredths at most.
void LiftEdges(cv::Mat& channel) {
    constexpr int kInside = 10;  // dots in: paper, or ink no line spreads over
    if (channel.rows <= 2 * kInside || channel.cols <= 2 * kInside) {
        return;
    }
    std::vector<uint8_t> line;
    const auto light = [&](const cv::Mat& dots) {
        line.assign(dots.begin<uint8_t>(), dots.end<uint8_t>());
        const auto at = line.begin() + static_cast<long>(line.size() * 9 / 10);
        std::nth_element(line.begin(), at, line.end());
        return static_cast<double>(*at);
    };
    const auto lift = [&](cv::Mat dots, const cv::Mat& inside) {
        const double own = light(dots);
        const double wanted = light(inside);
        if (own > 16 && own < wanted) {
            dots.convertTo(dots, CV_8U, wanted / own);
        }
    };
    const int last = channel.rows - 1;
    const int right = channel.cols - 1;
    lift(channel.row(0), channel.row(kInside));
    lift(channel.row(last), channel.row(last - kInside));
    lift(channel.col(0), channel.col(kInside));
    lift(channel.col(right), channel.col(right - kInside));
}

void PaperToWhite(cv::Mat& colour, bool lift);

// The sheet of a scan in page dots, upright from its top left corner, its
// paper brought to white.
cv::Mat Straightened(const cv::Mat& picture, const Paper& paper) {
    std::array<cv::Point2f, 4> corners;
    for (size_t i = 0; i < 4; ++i) {
        corners[i] = cv::Point2f(paper.corners[i]);
    }
    // A fine scan is first brought near page dots as a whole, so that every
    // pixel counts.
    cv::Mat source = picture;
    const double scale =
        cv::norm(paper.corners[1] - paper.corners[0]) / (paper.inches.width * kDotsPerInch);
    if (scale > 1.2) {
        cv::resize(picture, source, cv::Size(), 1 / scale, 1 / scale, cv::INTER_AREA);
        for (cv::Point2f& corner : corners) {
            corner = (corner + cv::Point2f(0.5F, 0.5F)) / scale - cv::Point2f(0.5F, 0.5F);
        }
    }
    // The sheet's edges lie half a dot outside its outer dots' centres.
    const auto width = static_cast<float>(paper.inches.width * kDotsPerInch);
    const auto height = static_cast<float>(paper.inches.height * kDotsPerInch);
    const std::array<cv::Point2f, 4> sheetCorners = {
        cv::Point2f(-0.5F, -0.5F), cv::Point2f(width - 0.5F, -0.5F),
        cv::Point2f(width - 0.5F, height - 0.5F), cv::Point2f(-0.5F, height - 0.5F)};
    const cv::Mat toSheet = cv::getPerspectiveTransform(corners.data(), sheetCorners.data());
    const cv::Size size(std::min(kSheetDots, static_cast<int>(width)), static_cast<int>(height));
    cv::Mat upright;
    cv::warpPerspective(source, upright, toSheet, size, cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    PaperToWhite(upright, true);
    return upright;
}

// The paper's own tone, which most of the sheet shows, made white; lift: the
// sheet's outer rows and columns are brought to the light further in first.
void PaperToWhite(cv::Mat& colour, bool lift) {
    std::vector<cv::Mat> channels;
    cv::split(colour, channels);
    for (cv::Mat& channel : channels) {
        if (lift) {
            LiftEdges(channel);
        }
        const int histogramSize = 256;
        const float range[] = {0, 256};
        const float* ranges[] = {range};
        cv::Mat histogram;
        cv::calcHist(&channel, 1, nullptr, cv::Mat(), histogram, 1, &histogramSize, ranges);
        double seen = 0;
        int paperLevel = 255;
        for (int level = 255; level > 0; --level) {
            seen += histogram.at<float>(level);
            if (seen * 2 >= static_cast<double>(channel.total())) {
                paperLevel = level;
                break;
            }
        }
        channel.convertTo(channel, CV_8U, 255.0 / std::max(paperLevel, 64));
    }
    cv::merge(channels, colour);
}

// Degrees below which a picture is left as it is: a row of blocks 1400 dots
// long moves a third of a dot at its end.
constexpr double kLeastTurn = 0.015;

// How much ink covers each dot of a BGR picture: any ink takes light away in
// at least one channel.
cv::Mat InkCover(const cv::Mat& colour) {
    // The channels' room is kept from page to page: pages are large.
    thread_local cv::Mat channels[3];
    cv::split(colour, channels);
    cv::Mat ink;
    cv::min(channels[0], channels[1], ink);
    cv::min(ink, channels[2], ink);
    cv::bitwise_not(ink, ink);
    return ink;
}

}  // namespace

std::optional<Sheet> MakeSheet(const cv::Mat& picture, double dpiHint, std::string& problem) {
    if (picture.empty() || picture.depth() != CV_8U ||
        (picture.channels() != 1 && picture.channels() != 3) || picture.cols < 100) {
        problem = "the picture is no picture of a sheet";
        return std::nullopt;
    }
    Sheet sheet;
    if (picture.channels() == 1) {
        cv::cvtColor(picture, sheet.colour, cv::COLOR_GRAY2BGR);
    } else {
        sheet.colour = picture;
    }
    const PaperSearch search = FindPaper(sheet.colour, dpiHint);
    if (!search.problem.empty()) {
        problem = search.problem;
        return std::nullopt;
    }
    if (search.paper) {
        const Paper& paper = *search.paper;
        sheet.pixelDots =
            paper.inches.width * kDotsPerInch / cv::norm(paper.corners[1] - paper.corners[0]);
        sheet.colour = Straightened(sheet.colour, paper);
        sheet.onDarkLid = true;
    } else {
        const double scale =
            dpiHint > 0 ? kDotsPerInch / dpiHint : static_cast<double>(kSheetDots) / picture.cols;
        sheet.pixelDots = scale;
        if (picture.cols * scale > kWidestSheetDots + 0.5 ||
            picture.rows * scale > kLongestSheetDots + 0.5) {
            problem = "the picture makes a sheet larger than any the printer takes";
            return std::nullopt;
        }
        // The printer's own picture is its printable width, 8 inches, from
        // the paper's corner: 2880 pixels, or at a stated resolution as many
        // as make 2880 dots. Without one any width would.
        sheet.edgesSeen = dpiHint > 0 ? std::abs(picture.cols * scale - kSheetDots) < 1
                                      : picture.cols == kSheetDots;
        if (std::abs(scale - 1) > 1e-3) {
            cv::Mat resized;
            cv::resize(sheet.colour, resized, cv::Size(), scale, scale,
                       scale < 1 ? cv::INTER_AREA : cv::INTER_LINEAR);
            sheet.colour = resized;
        }
        if (!sheet.edgesSeen) {
            // A scan's paper is grey beside the printer's own picture's.
            PaperToWhite(sheet.colour, false);
            // No paper's edge to straighten it by: the pattern's own rows
            // (lines, rows of blocks and combs) are.
            const auto turn = PatternTurn(InkCover(sheet.colour));
            if (turn && std::abs(*turn) >= kLeastTurn) {
                const cv::Point2f centre(static_cast<float>(sheet.colour.cols) / 2,
                                         static_cast<float>(sheet.colour.rows) / 2);
                cv::Mat upright;
                cv::warpAffine(sheet.colour, upright, cv::getRotationMatrix2D(centre, *turn, 1),
                               sheet.colour.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
                sheet.colour = upright;
            }
        }
    }
    sheet.ink = InkCover(sheet.colour);
    return sheet;
}

std::vector<Mark> FindMarks(const Sheet& sheet) {
    cv::Mat coarse;
    cv::resize(sheet.ink, coarse, cv::Size(), 1.0 / kCoarse, 1.0 / kCoarse, cv::INTER_AREA);
    cv::Mat inked = coarse > kCoarseInk;
    // Only what stands taller than a character stays; then the bars of a
    // mark join.
    cv::morphologyEx(inked, inked, cv::MORPH_OPEN,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(1, kMarkDots / kCoarse)));
    cv::dilate(inked, inked, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(kJoin, 3)));
    cv::Mat labels;
    cv::Mat stats;
    cv::Mat centres;
    const int count = cv::connectedComponentsWithStats(inked, labels, stats, centres, 8, CV_32S);
    std::vector<Mark> marks;
    for (int label = 1; label < count; ++label) {
        // Back to page dots, less what the dilation added, then to the ink
        // itself.
        const cv::Rect coarseBox(stats.at<int>(label, cv::CC_STAT_LEFT) + kJoin / 2,
                                 stats.at<int>(label, cv::CC_STAT_TOP) + 1,
                                 stats.at<int>(label, cv::CC_STAT_WIDTH) - kJoin + 1,
                                 stats.at<int>(label, cv::CC_STAT_HEIGHT) - 2);
        const cv::Rect near = Clip(sheet, kCoarse * coarseBox.x - kCoarse,
                                   kCoarse * (coarseBox.x + coarseBox.width) + kCoarse,
                                   kCoarse * coarseBox.y - kCoarse,
                                   kCoarse * (coarseBox.y + coarseBox.height) + kCoarse);
        if (near.empty()) {
            continue;
        }
        // The mark's own ink, however light its dots or soft the scan.
        double darkest = 0;
        cv::minMaxLoc(sheet.ink(near), nullptr, &darkest);
        const cv::Mat dense = sheet.ink(near) > std::max(darkest / 2, 48.0);
        std::vector<cv::Point> points;
        cv::findNonZero(dense, points);
        if (points.empty()) {
            continue;
        }
        Mark mark;
        mark.box = cv::boundingRect(points) + near.tl();
        mark.ink = InkOf(cv::mean(sheet.colour(near), dense));
        mark.cover = cv::mean(sheet.ink(near), dense)[0] / 255;
        marks.push_back(mark);
    }
    std::sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) {
        return std::pair(a.box.y, a.box.x) < std::pair(b.box.y, b.box.x);
    });
    return marks;
}

std::vector<double> ColumnProfile(const Sheet& sheet, int left, int right, int top, int bottom) {
    return Profile(sheet, Clip(sheet, left, right, top, bottom), 0);
}

std::vector<double> RowProfile(const Sheet& sheet, int left, int right, int top, int bottom) {
    return Profile(sheet, Clip(sheet, left, right, top, bottom), 1);
}

std::optional<double> RisingEdge(const std::vector<double>& profile) {
    if (profile.empty()) {
        return std::nullopt;
    }
    const double peak = *std::max_element(profile.begin(), profile.end());
    if (peak < 32) {
        return std::nullopt;
    }
    const double half = peak / 2;
    for (size_t at = 0; at < profile.size(); ++at) {
        if (profile[at] >= half) {
            if (at == 0) {
                return 0.0;
            }
            // Between the centres of the sample below half and this one; a
            // sharp edge (the page's own picture) gives this sample's left side.
            const double below = profile[at - 1];
            return static_cast<double>(at) - 0.5 + (half - below) / (profile[at] - below);
        }
    }
    return std::nullopt;
}

std::vector<Run> Runs(const std::vector<double>& profile, int gap, int minLength) {
    std::vector<Run> runs;
    if (profile.empty()) {
        return runs;
    }
    const double half = *std::max_element(profile.begin(), profile.end()) / 2;
    if (half < 16) {
        return runs;
    }
    for (int at = 0; at < static_cast<int>(profile.size()); ++at) {
        if (profile[static_cast<size_t>(at)] < half) {
            continue;
        }
        if (!runs.empty() && at - runs.back().last <= gap) {
            runs.back().last = at;
        } else {
            runs.push_back({at, at});
        }
    }
    std::erase_if(runs, [&](const Run& run) { return run.last - run.first + 1 < minLength; });
    return runs;
}

std::optional<double> InkCentre(const Sheet& sheet, int row, int left, int right) {
    const cv::Rect area = Clip(sheet, left, right, row, row + 1);
    if (area.empty()) {
        return std::nullopt;
    }
    double total = 0;
    double moment = 0;
    const uint8_t* line = sheet.ink.ptr<uint8_t>(row);
    for (int column = area.x; column < area.x + area.width; ++column) {
        total += line[column];
        moment += static_cast<double>(line[column]) * column;
    }
    if (total < 128) {
        return std::nullopt;
    }
    return moment / total;
}

void JudgeRow(Reading& reading, const RowOfChoices& row) {
    const auto valueOf = [&](size_t at) { return row.first + row.step * static_cast<int>(at); };
    const auto isEnd = [&](size_t at) { return at == 0 || at == row.count - 1; };
    const std::string choice = row.choice;
    reading.ng = isEnd(row.best);
    reading.value = reading.ng ? 0 : valueOf(row.best);
    reading.printAgain = false;
    if (row.unfit != nullptr) {
        reading.note = row.unfit;
    } else if (row.tie && (isEnd(row.best) || isEnd(row.second))) {
        // An end choice and its neighbour: the value lies out towards the
        // end, and the neighbour is the nearest value the input takes.
        const size_t inside = isEnd(row.best) ? row.second : row.best;
        const size_t end = isEnd(row.best) ? row.best : row.second;
        NotSure(reading,
                "an end " + choice + " (NG) and the " + choice + " " +
                    std::to_string(valueOf(inside)) + " " + row.asGood,
                end == 0 ? -1 : 1, valueOf(inside));
    } else if (row.tie) {
        NotSure(reading, "two " + choice + "s " + row.asGood, 0, valueOf(row.best),
                valueOf(row.second));
    } else if (reading.ng) {
        // The verdict is sure: no value the page's input takes corrects it.
        reading.sure = true;
        reading.note =
            row.inPlace ? "an end " + choice + " (NG) " + row.endIs
                        : std::string(row.none) + " and an end " + choice + " (NG) is the nearest";
        reading.note += std::string(": ") + row.beyond;
    } else if (!row.inPlace) {
        const size_t toward = row.way > 0 ? row.best + 1 : row.best - 1;
        if (isEnd(toward)) {
            NotSure(reading, row.none, row.way, valueOf(row.best));
        } else {
            NotSure(reading, row.none, 0, valueOf(row.best), valueOf(toward));
        }
    } else {
        reading.sure = true;
    }
}

}  // namespace reader
