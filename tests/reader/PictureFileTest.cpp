// Page picture files: only whole PNG and JPEG files of a size a page can have
// are decoded; what is refused becomes the page's problem, never an abort.
#include <gtest/gtest.h>

#include <jpeglib.h>
#include <algorithm>
#include <cstdio>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "pattern/GoldenPictures.h"
#include "reader/PageReading.h"
#include "support/HostilePictures.h"
#include "support/Process.h"
#include "support/SimulatedScan.h"
#include "support/TempFolder.h"

namespace {

using Bytes = std::vector<uint8_t>;

cv::Mat GoldenPicture(const char* name) {
    return cv::imread(golden_pictures::PathOf(name), cv::IMREAD_COLOR);
}

Bytes Encoded(const cv::Mat& picture, const char* extension) {
    Bytes bytes;
    EXPECT_TRUE(cv::imencode(extension, picture, bytes)) << extension;
    return bytes;
}

// A small PNG (8-bit RGB) or JPEG whose header declares another size.
Bytes PngDeclaring(uint32_t width, uint32_t height) {
    return hostile_pictures::PngDeclaring({width, height, 8, 2});
}

Bytes JpegDeclaring(uint16_t width, uint16_t height) {
    return hostile_pictures::JpegDeclaring(Encoded(cv::Mat(8, 8, CV_8UC3, cv::Scalar::all(255)), ".jpg"),
                                           width, height);
}

Bytes CutShort(Bytes bytes) {
    bytes.resize(bytes.size() * 2 / 3);
    return bytes;
}

// A CMYK JPEG as print shops' tools write it (Adobe's inverted samples).
Bytes CmykJpeg(const cv::Mat& bgr) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(bgr.cols);
    info.image_height = static_cast<JDIMENSION>(bgr.rows);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(bgr.cols) * 4);
    while (info.next_scanline < info.image_height) {
        const auto* from = bgr.ptr<cv::Vec3b>(static_cast<int>(info.next_scanline));
        for (int x = 0; x < bgr.cols; ++x) {
            const auto at = static_cast<size_t>(x) * 4;
            row[at] = from[x][2];
            row[at + 1] = from[x][1];
            row[at + 2] = from[x][0];
            row[at + 3] = 255;
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

reader::PageReading ReadBytes(const testing_support::TempFolder& folder, const Bytes& bytes,
                              const std::string& name) {
    const std::string path = folder / name;
    testing_support::WriteFile(path, std::string(bytes.begin(), bytes.end()));
    return reader::ReadPageFile(path);
}

TEST(PictureFile, RefusesWhatIsNoWholePngOrJpegOfAPagesSize) {
    testing_support::TempFolder folder;
    const cv::Mat page = GoldenPicture("PfBlack");
    ASSERT_FALSE(page.empty());
    const Bytes jpeg = Encoded(page, ".jpg");
    const struct {
        const char* what;
        Bytes bytes;
        const char* problem;  // a part of it
    } cases[] = {
        // Past what the decoder itself allows: it threw, and the tool aborted.
        {"PNG of 1.6 Gpx", PngDeclaring(40000, 40000), "larger than any page picture"},
        {"JPEG of 4.2 Gpx", JpegDeclaring(65000, 65000), "larger than any page picture"},
        {"PNG 2^20 + 1 a side", PngDeclaring((1U << 20) + 1, 1), "larger than any page picture"},
        // Within the decoder's limits, beyond the sheet's.
        {"61000 a side", PngDeclaring(61000, 8), "larger than any page picture"},
        {"PNG of 676 Mpx", PngDeclaring(26000, 26000), "larger than any page picture"},
        {"JPEG of 660 Mpx", JpegDeclaring(11000, 60000), "larger than any page picture"},
        {"no size", PngDeclaring(0, 8), "no size"},
        // Pictures of other formats, and files cut short.
        {"BMP", Encoded(page, ".bmp"), "no PNG or JPEG"},
        {"TIFF", Encoded(page, ".tiff"), "no PNG or JPEG"},
        {"PPM", Encoded(page, ".ppm"), "no PNG or JPEG"},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o'}, "no PNG or JPEG"},
        {"JPEG cut short", CutShort(jpeg), "cut short"},
        {"PNG cut short", CutShort(Encoded(page, ".png")), "cut short"},
        {"JPEG header only", Bytes(jpeg.begin(), jpeg.begin() + 700), "cut short"},
    };
    for (const auto& c : cases) {
        const reader::PageReading read = ReadBytes(folder, c.bytes, "picture");
        EXPECT_EQ(read.kind, reader::PageKind::Unknown) << c.what;
        EXPECT_NE(read.problem.find(c.problem), std::string::npos)
            << c.what << ": " << read.problem;
    }
}

// Pictures that are a page, however stored: transparent paper is laid on
// white, 16 bits and CMYK are brought to 8-bit colours.
TEST(PictureFile, ReadsAPageInAnyOfPngsAndJpegsForms) {
    testing_support::TempFolder folder;
    const cv::Mat page = GoldenPicture("PfBlack");
    ASSERT_FALSE(page.empty());
    // Ink opaque, paper transparent; the colour under the transparent parts
    // is black, as many tools leave it.
    cv::Mat grey;
    cv::cvtColor(page, grey, cv::COLOR_BGR2GRAY);
    cv::Mat transparent;
    cv::cvtColor(page, transparent, cv::COLOR_BGR2BGRA);
    transparent.setTo(cv::Scalar(0, 0, 0, 0), grey == 255);
    cv::Mat deep;
    page.convertTo(deep, CV_16U, 257);
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"PNG with alpha", Encoded(transparent, ".png")},
        {"PNG of 16 bits", Encoded(deep, ".png")},
        {"grey PNG", Encoded(grey, ".png")},
        {"JPEG", Encoded(page, ".jpg")},
        {"CMYK JPEG", CmykJpeg(page)},
    };
    for (const auto& c : cases) {
        const reader::PageReading read = ReadBytes(folder, c.bytes, "picture");
        EXPECT_EQ(read.kind, reader::PageKind::PfBlack) << c.what << ": " << read.problem;
        ASSERT_EQ(read.readings.size(), 1u) << c.what;
        EXPECT_TRUE(read.readings[0].sure) << c.what << ": " << read.readings[0].note;
        EXPECT_EQ(read.readings[0].value, 0) << c.what;
    }
}

// The tool gives a refused picture its exit code, not an abort.
TEST(PictureFile, TheToolRefusesAHugePicturesHeader) {
    testing_support::TempFolder folder;
    testing_support::WriteFile(folder / "bomb.png", [] {
        const Bytes bytes = PngDeclaring(40000, 40000);
        return std::string(bytes.begin(), bytes.end());
    }());
    const auto result = testing_support::RunProcess(
        {testing_support::OutputFolder() + "/orvane-read-page", folder / "bomb.png"},
        folder.Path());
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("larger than any page picture"), std::string::npos) << result.err;
}

// Pictures made to take a reader's memory and time, or damaged: each is
// refused with what is wrong, or decoded within the memory bound (a large one
// at a fraction of its size, averaged); and the tool says what is wrong in
// its one line, never with the decoders' own messages.
TEST(PictureFile, HostilePicturesAreRefusedOrDecodedSmallerAndQuietly) {
    testing_support::TempFolder folder;
    for (const auto& c : hostile_pictures::HostileCases()) {
        const std::string path = folder / "picture";
        testing_support::WriteFile(path, std::string(c.bytes.begin(), c.bytes.end()));
        cv::Mat decoded;
        const reader::PageReading read = reader::ReadPageFile(path, 0, &decoded);
        if (c.problem != nullptr) {
            EXPECT_TRUE(decoded.empty()) << c.what;
            EXPECT_NE(read.problem.find(c.problem), std::string::npos)
                << c.what << ": " << read.problem;
        } else {
            EXPECT_EQ(decoded.size(), cv::Size(c.width, c.height)) << c.what << ": " << read.problem;
        }
        const auto tool = testing_support::RunProcess(
            {testing_support::OutputFolder() + "/orvane-read-page", path}, folder.Path());
        EXPECT_EQ(tool.exitCode, 2) << c.what;  // none is a check page
        EXPECT_EQ(tool.err.rfind("orvane-read-page: " + path + ": ", 0), 0u) << c.what << ": " << tool.err;
        EXPECT_EQ(std::count(tool.err.begin(), tool.err.end(), '\n'), 1) << c.what << ": " << tool.err;
        EXPECT_FALSE(hostile_pictures::HasDecoderText(tool.err)) << c.what << ": " << tool.err;
        if (std::string(c.what) == "grey PNG of 24000 x 2400") {
            // Columns 11998 and 11999 black, 12000 black and 12001 white, then white.
            ASSERT_EQ(decoded.type(), CV_8UC3);
            EXPECT_EQ(decoded.at<cv::Vec3b>(600, 5999), cv::Vec3b(0, 0, 0));
            EXPECT_EQ(decoded.at<cv::Vec3b>(600, 6000), cv::Vec3b(128, 128, 128));
            EXPECT_EQ(decoded.at<cv::Vec3b>(1199, 6001), cv::Vec3b(255, 255, 255));
        }
    }
}

}  // namespace

namespace {

// A fine scan's file read with its resolution is decoded smaller (no finer
// than page dots need): it reads as its whole picture does, every reading of
// the photo-paper sheet's first page the same and as sure (all but its PF
// items, whose feed in place lies beyond the choices the stored values give).
TEST(PictureFile, AFineScanDecodedSmallerReadsAsItsWholePicture) {
    const cv::Mat page = GoldenPicture("PhotoPaperSheet1");
    testing_support::TempFolder folder;
    for (const double dpi : {600.0}) {
        auto settings = scan_testing::RandomScanSettings(dpi, 5);
        const Bytes file = scan_testing::ScanFile(page, settings);
        const std::string path = folder / ("scan" + std::to_string(static_cast<int>(dpi)) + ".jpg");
        testing_support::WriteFile(path, std::string(file.begin(), file.end()));
        cv::Mat decoded;
        const reader::PageReading smaller = reader::ReadPageFile(path, dpi, &decoded);
        const reader::PageReading whole = reader::ReadPage(cv::imdecode(file, cv::IMREAD_COLOR), dpi);
        ASSERT_EQ(std::count_if(whole.readings.begin(), whole.readings.end(),
                                [](const reader::Reading& r) { return r.sure; }),
                  9)
            << dpi;
        EXPECT_LT(decoded.cols, cv::imdecode(file, cv::IMREAD_COLOR).cols * 0.9) << dpi;
        ASSERT_EQ(smaller.readings.size(), whole.readings.size()) << dpi << " " << smaller.problem;
        for (size_t at = 0; at < whole.readings.size(); ++at) {
            EXPECT_EQ(smaller.readings[at].sure, whole.readings[at].sure)
                << dpi << " " << whole.readings[at].name;
            EXPECT_EQ(reader::ReadingLine(smaller.readings[at]),
                      reader::ReadingLine(whole.readings[at]))
                << dpi;
        }
    }
}

}  // namespace
