// What the print-data job appends: run-length units and printer commands.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "link/ResultCodes.h"
#include "support/PrintJobFixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

class RasterCommands : public testing_support::PrintJobTest {
  protected:
    // What one operation appends to an empty buffer; it must send nothing.
    Bytes Appended(const std::function<uint16_t()>& operation) {
        EXPECT_EQ(raster_.Flush(), ResultOk);
        ClearTrace();
        EXPECT_EQ(operation(), ResultOk);
        EXPECT_TRUE(Sends().empty());
        return Bytes(raster_.Buffer(), raster_.Buffer() + raster_.FillCount());
    }
};

TEST_F(RasterCommands, RepeatSendWritesOneUnitForOneTo129Copies) {
    EXPECT_EQ(Appended([&] { return raster_.RepeatSend(1, 0xFC); }), (Bytes{0x00, 0xFC}));
    EXPECT_EQ(Appended([&] { return raster_.RepeatSend(2, 0x00); }), (Bytes{0xFF, 0x00}));
    EXPECT_EQ(Appended([&] { return raster_.RepeatSend(120, 0xFF); }), (Bytes{0x89, 0xFF}));
    EXPECT_EQ(Appended([&] { return raster_.RepeatSend(129, 0x00); }), (Bytes{0x80, 0x00}));
    EXPECT_TRUE(messageBox_.shown.empty());
}

TEST_F(RasterCommands, RepeatSendRefusesCountsNoUnitCanCarry) {
    // 256 would pass as 0 through an 8-bit count.
    for (const int count : {130, 256, 0, -1}) {
        messageBox_.shown.clear();
        EXPECT_EQ(raster_.RepeatSend(count, 0x00), ResultCommandError) << count;
        ASSERT_EQ(messageBox_.shown.size(), 1u) << count;
        const auto& box = messageBox_.shown.front();
        EXPECT_EQ(box.text, "RepeatSend() error");
        EXPECT_EQ(box.caption, "");
        EXPECT_EQ(box.icon, orvane::MessageIcon::Error);
        EXPECT_EQ(box.buttons, orvane::MessageButtons::Ok);
        EXPECT_EQ(box.owner, orvane::MessageOwner::AdjustmentWindow);
    }
    EXPECT_EQ(raster_.FillCount(), 0);
}

TEST_F(RasterCommands, SendRunCutsRunsAt120Copies) {
    EXPECT_EQ(Appended([&] { return raster_.SendRun(240, 0x00); }),
              (Bytes{0x89, 0x00, 0x89, 0x00}));
    EXPECT_EQ(Appended([&] { return raster_.SendRun(356, 0xFF); }),
              (Bytes{0x89, 0xFF, 0x89, 0xFF, 0x8D, 0xFF}));
    EXPECT_EQ(Appended([&] { return raster_.SendRun(121, 0x55); }),
              (Bytes{0x89, 0x55, 0x00, 0x55}));
    EXPECT_EQ(Appended([&] { return raster_.SendRun(1, 0xAA); }), (Bytes{0x00, 0xAA}));
    EXPECT_EQ(Appended([&] { return raster_.SendRun(720, 0x0F); }),
              (Bytes{0x89, 0x0F, 0x89, 0x0F, 0x89, 0x0F, 0x89, 0x0F, 0x89, 0x0F, 0x89, 0x0F}));
    EXPECT_TRUE(Appended([&] { return raster_.SendRun(0, 0xAA); }).empty());
    EXPECT_EQ(raster_.SendRun(-5, 0xAA), ResultCommandError);
    EXPECT_EQ(messageBox_.shown.size(), 1u);
}

// Decodes run-length units as the printer does.
Bytes Decode(const Bytes& units) {
    Bytes decoded;
    for (size_t i = 0; i + 1 < units.size(); i += 2) {
        const int copies = units[i] == 0 ? 1 : 1 - static_cast<int8_t>(units[i]);
        decoded.insert(decoded.end(), static_cast<size_t>(copies), units[i + 1]);
    }
    return decoded;
}

TEST_F(RasterCommands, LongRunsDecodeToExactlyTheirLengthAcrossSends) {
    // A run of zeros over many lines, as the patterns send between bands:
    // 22319 copies need 186 units. Behind 900 waiting bytes they straddle
    // the 1000-byte send.
    const Bytes waiting(900, 0x20);
    ASSERT_EQ(raster_.SendBytes(waiting.data(), 900), ResultOk);
    ASSERT_EQ(raster_.SendRun(22319, 0x00), ResultOk);
    ASSERT_EQ(raster_.Flush(), ResultOk);
    EXPECT_EQ(Sends().size(), 2u);
    const Bytes accepted = AcceptedBytes();
    ASSERT_EQ(accepted.size(), 900u + 2u * 186u);
    EXPECT_EQ(Bytes(accepted.begin(), accepted.begin() + 900), waiting);
    EXPECT_EQ(Decode(Bytes(accepted.begin() + 900, accepted.end())), Bytes(22319, 0x00));
}

TEST_F(RasterCommands, ASolidBlackLineCostsSevenUnits) {
    const Bytes line = Appended([&] {
        const uint16_t result = raster_.SendRun(356, 0xFF);
        return result == ResultOk ? raster_.SendRun(364, 0x00) : result;
    });
    EXPECT_EQ(line.size(), 14u);
    Bytes expected(356, 0xFF);
    expected.insert(expected.end(), 364, 0x00);
    EXPECT_EQ(Decode(line), expected);
}

TEST_F(RasterCommands, EachCommandAppendsItsExactBytes) {
    struct Case {
        std::string name;
        std::function<uint16_t()> operation;
        Bytes bytes;
    };
    const std::array<uint8_t, 8> paper = {0xA0, 0x0B, 0x00, 0x00, 0x1C, 0x10, 0x00, 0x00};
    const std::array<uint8_t, 8> format = {0x78, 0x00, 0x00, 0x00, 0xF4, 0x0F, 0x00, 0x00};
    const std::vector<Case> cases = {
        {"Initialize", [&] { return raster_.SendInitialize(); }, {0x1B, 0x40}},
        {"GraphicsMode",
         [&] { return raster_.SendGraphicsMode(); },
         {0x1B, 0x28, 0x47, 0x01, 0x00, 0x01}},
        {"Unit 10", [&] { return raster_.SendUnit(10); }, {0x1B, 0x28, 0x55, 0x01, 0x00, 0x0A}},
        {"Unit 30", [&] { return raster_.SendUnit(30); }, {0x1B, 0x28, 0x55, 0x01, 0x00, 0x1E}},
        {"UnitExtended",
         [&] { return raster_.SendUnitExtended(); },
         {0x1B, 0x28, 0x55, 0x05, 0x00, 0x01, 0x01, 0x01, 0x40, 0x0B}},
        {"PrintDirection 3", [&] { return raster_.SendPrintDirection(3); }, {0x1B, 0x55, 0x03}},
        {"DotSize ECO",
         [&] { return raster_.SendDotSize(19); },
         {0x1B, 0x28, 0x65, 0x02, 0x00, 0x00, 0x13}},
        {"ColorMode 1",
         [&] { return raster_.SendColorMode(1); },
         {0x1B, 0x28, 0x4B, 0x02, 0x00, 0x00, 0x01}},
        {"ColorMode 2",
         [&] { return raster_.SendColorMode(2); },
         {0x1B, 0x28, 0x4B, 0x02, 0x00, 0x00, 0x02}},
        {"ColorMode 3",
         [&] { return raster_.SendColorMode(3); },
         {0x1B, 0x28, 0x4B, 0x02, 0x00, 0x00, 0x00}},
        {"ColorMode 0",
         [&] { return raster_.SendColorMode(0); },
         {0x1B, 0x28, 0x4B, 0x02, 0x00, 0x00, 0x00}},
        {"CarriageReturn", [&] { return raster_.SendCarriageReturn(); }, {0x1B, 0x3C, 0x0D}},
        {"MoveVertical 89",
         [&] { return raster_.MoveVertical(89); },
         {0x1B, 0x28, 0x76, 0x02, 0x00, 0x59, 0x00}},
        {"MoveVertical 1000",
         [&] { return raster_.MoveVertical(1000); },
         {0x1B, 0x28, 0x76, 0x02, 0x00, 0xE8, 0x03}},
        {"MoveHorizontal 300",
         [&] { return raster_.MoveHorizontal(300); },
         {0x1B, 0x5C, 0x2C, 0x01}},
        {"Resolution",
         [&] { return raster_.SendResolution(0x68, 0x01, 0x03, 0x01); },
         {0x1B, 0x28, 0x44, 0x04, 0x00, 0x68, 0x01, 0x03, 0x01}},
        {"PaperSize",
         [&] { return raster_.SendPaperSize(paper); },
         {0x1B, 0x28, 0x53, 0x08, 0x00, 0xA0, 0x0B, 0x00, 0x00, 0x1C, 0x10, 0x00, 0x00}},
        {"PageFormat",
         [&] { return raster_.SendPageFormat(format); },
         {0x1B, 0x28, 0x63, 0x08, 0x00, 0x78, 0x00, 0x00, 0x00, 0xF4, 0x0F, 0x00, 0x00}},
        {"PageLength",
         [&] { return raster_.SendPageLength(0x16); },
         {0x1B, 0x28, 0x43, 0x04, 0x00, 0x00, 0x00, 0x00, 0x16}},
        {"RasterHeader black",
         [&] { return raster_.SendRasterHeader(0, 1, 2, 720, 90); },
         {0x1B, 0x69, 0x00, 0x01, 0x02, 0xD0, 0x02, 0x5A, 0x00}},
        {"RasterHeader first dot",
         [&] { return raster_.SendRasterHeader(4, 1, 2, 1, 29); },
         {0x1B, 0x69, 0x04, 0x01, 0x02, 0x01, 0x00, 0x1D, 0x00}},
        {"DraftMode", [&] { return raster_.SendDraftMode(); }, {0x1B, 0x78, 0x30}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Appended(test.operation), test.bytes) << test.name;
    }
}

TEST_F(RasterCommands, FeedLinesAppendsNewLinesOnly) {
    EXPECT_EQ(Appended([&] { return raster_.FeedLines(3); }),
              (Bytes{0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A}));
    EXPECT_TRUE(Appended([&] { return raster_.FeedLines(0); }).empty());
    EXPECT_TRUE(Appended([&] { return raster_.FeedLines(-2); }).empty());
}

}  // namespace
