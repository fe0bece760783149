#include "support/SimulatedScan.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <random>

namespace scan_testing {

namespace {

constexpr double kPageDpi = 360;
constexpr double kA4Width = 8.27;  // inches
constexpr double kA4Height = 11.69;
constexpr double kGlassMargin = 0.6;  // inches of glass beyond the sheet's far sides
const cv::Scalar kPaper(236, 238, 240);
const cv::Scalar kLid(52, 50, 48);
const cv::Scalar kWhiteLid(238, 239, 240);
const cv::Scalar kPen(150, 60, 40);  // a blue ball pen
constexpr int kPenDots = 5;           // its stroke, half a millimetre

}  // namespace

ScanSettings RandomScanSettings(double dpi, uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> turn(-1.5, 1.5);
    std::uniform_real_distribution<double> off(0.1, 0.4);
    ScanSettings settings;
    settings.dpi = dpi;
    settings.degrees = turn(random);
    settings.offset = {off(random), off(random)};
    settings.seed = seed;
    return settings;
}

std::vector<uint8_t> ScanFile(const cv::Mat& page, const ScanSettings& settings) {
    // The whole sheet at the page's resolution: the picture holds its left
    // 8 inches, the paper goes on beyond.
    const cv::Size sheetSize(static_cast<int>(std::lround(kA4Width * kPageDpi)),
                             static_cast<int>(std::lround(kA4Height * kPageDpi)));
    cv::Mat sheet(sheetSize, CV_8UC3, cv::Scalar::all(255));
    const cv::Rect shown = cv::Rect(0, 0, page.cols, page.rows) & cv::Rect({}, sheetSize);
    page(shown).copyTo(sheet(shown));
    if (settings.noBlackInk) {
        // The black ink's dots are grey to black and of no hue: paper.
        for (int y = 0; y < sheet.rows; ++y) {
            auto* pixel = sheet.ptr<cv::Vec3b>(y);
            for (int x = 0; x < sheet.cols; ++x) {
                const auto [low, high] = std::minmax({pixel[x][0], pixel[x][1], pixel[x][2]});
                if (high < 200 && high - low < 24) {
                    pixel[x] = cv::Vec3b(255, 255, 255);
                }
            }
        }
    }
    for (const auto& [from, to] : settings.penStrokes) {
        cv::line(sheet, cv::Point(from), cv::Point(to), kPen, kPenDots, cv::LINE_AA);
    }
    if (settings.upsideDown) {
        cv::rotate(sheet, sheet, cv::ROTATE_180);
    }
    // Paper is not the scanner's white.
    cv::multiply(sheet, kPaper, sheet, 1.0 / 255);

    // Sheet dots to glass pixels: scaled, turned about the sheet's corner,
    // moved off the glass's corner.
    const double scale = settings.dpi / kPageDpi;
    const double angle = settings.degrees * CV_PI / 180;
    const double c = std::cos(angle) * scale;
    const double s = std::sin(angle) * scale;
    // The turned sheet's extent, from its top left corner, in inches.
    const double cosine = std::cos(angle);
    const double sine = std::sin(angle);
    const double left = std::min({0.0, -kA4Height * sine, kA4Width * cosine - kA4Height * sine});
    const double top = std::min({0.0, kA4Width * sine, kA4Width * sine + kA4Height * cosine});
    const double width = kA4Width * cosine + kA4Height * std::abs(sine);
    const double height = kA4Height * cosine + kA4Width * std::abs(sine);
    const cv::Point2d corner = settings.offset - cv::Point2d(left, top);
    const cv::Size glass(
        static_cast<int>(std::lround((settings.offset.x + width + kGlassMargin) * settings.dpi)),
        static_cast<int>(std::lround((settings.offset.y + height + kGlassMargin) * settings.dpi)));
    // Pixel centres stand half a pixel in: source pixels of the given size
    // (in sheet dots) go to glass pixels.
    const auto toGlass = [&](double size) {
        const double a = c * size;
        const double b = s * size;
        return cv::Matx23d(a, -b, corner.x * settings.dpi + 0.5 * (a - b) - 0.5,  //
                           b, a, corner.y * settings.dpi + 0.5 * (a + b) - 0.5);
    };
    cv::Mat scanned;
    if (scale < 1) {
        // A coarse sensor takes in the whole of each pixel's area.
        cv::Mat shrunk;
        cv::resize(sheet, shrunk, cv::Size(), scale, scale, cv::INTER_AREA);
        cv::warpAffine(shrunk, scanned, toGlass(1 / scale), glass, cv::INTER_LINEAR,
                       cv::BORDER_CONSTANT, settings.whiteLid ? kWhiteLid : kLid);
    } else {
        cv::warpAffine(sheet, scanned, toGlass(1), glass, cv::INTER_LINEAR, cv::BORDER_CONSTANT,
                       settings.whiteLid ? kWhiteLid : kLid);
    }
    if (settings.unevenLight > 0) {
        // The lamp lights the glass's left more than its right.
        cv::Mat light(1, scanned.cols, CV_32F);
        for (int x = 0; x < scanned.cols; ++x) {
            light.at<float>(x) = static_cast<float>(
                1 - settings.unevenLight * x / std::max(scanned.cols - 1, 1));
        }
        cv::Mat lit;
        scanned.convertTo(lit, CV_32FC3);
        for (int y = 0; y < lit.rows; ++y) {
            auto* pixel = lit.ptr<cv::Vec3f>(y);
            for (int x = 0; x < lit.cols; ++x) {
                pixel[x] *= light.at<float>(x);
            }
        }
        lit.convertTo(scanned, CV_8UC3);
    }
    if (settings.blurAt600 > 0) {
        cv::GaussianBlur(scanned, scanned, cv::Size(), settings.blurAt600 * settings.dpi / 600);
    }
    if (settings.noise > 0) {
        // A band of rows at a time: a fine scan is large.
        cv::RNG random(settings.seed);
        cv::Mat noise;
        cv::Mat noisy;
        for (int first = 0; first < scanned.rows; first += 256) {
            cv::Mat band = scanned.rowRange(first, std::min(first + 256, scanned.rows));
            noise.create(band.size(), CV_16SC3);
            random.fill(noise, cv::RNG::NORMAL, cv::Scalar::all(0),
                        cv::Scalar::all(settings.noise));
            band.convertTo(noisy, CV_16SC3);
            noisy += noise;
            noisy.convertTo(band, CV_8UC3);
        }
    }
    if (settings.tightCrop) {
        cv::Mat grey;
        cv::cvtColor(scanned, grey, cv::COLOR_BGR2GRAY);
        std::vector<cv::Point> printed;
        cv::findNonZero(grey < 150, printed);
        if (!printed.empty()) {
            const int margin = static_cast<int>(0.1 * settings.dpi);
            const cv::Rect box = cv::boundingRect(printed);
            const cv::Rect crop =
                cv::Rect(box.x - margin, box.y - margin, box.width + 2 * margin,
                         box.height + 2 * margin) &
                cv::Rect(0, 0, scanned.cols, scanned.rows);
            scanned = scanned(crop).clone();
        }
    }
    std::vector<uint8_t> file;
    cv::imencode(".jpg", scanned, file, {cv::IMWRITE_JPEG_QUALITY, settings.jpegQuality});
    return file;
}

cv::Mat Scan(const cv::Mat& page, const ScanSettings& settings) {
    return cv::imdecode(ScanFile(page, settings), cv::IMREAD_COLOR);
}

}  // namespace scan_testing
