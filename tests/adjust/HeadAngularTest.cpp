// The head angular value: the range check of the typed text, the value and
// store packets, and the read of the stored byte.
#include <gtest/gtest.h>

#include "PacketTrace.h"
#include "adjust/Rk7headangular.h"
#include "link/ResultCodes.h"
#include "link/Rk7factory.h"
#include "support/PrintJobFixture.h"

namespace {

using adjust_tests::Bytes;
using adjust_tests::HeadAngularPacket;
using adjust_tests::kStorePacket;
using adjust_tests::SentData;

class HeadAngular : public testing_support::PrintJobTest {
  protected:
    void Store(uint8_t value) {
        ChangeEeprom("VTUSB001", [&](vprinter::Eeprom& bytes) { bytes[0x75] = value; });
        ClearTrace();
    }

    TPFactory factory_{Link(), status_, Clock()};
    TPHeadAngular module_{Link(), factory_};
};

TEST_F(HeadAngular, AnAcceptedValueGoesOutAsItsLowByteFollowedByTheStorePacket) {
    const std::pair<const char*, uint8_t> cases[] = {
        {"3", 0x03}, {"-3", 0xFD}, {"0", 0x00}, {"1", 0x01}, {"-2", 0xFE}, {"+3", 0x03},
    };
    for (const auto& [text, byte] : cases) {
        ClearTrace();
        ASSERT_EQ(module_.WriteHeadAngularValue(text), ResultOk) << text;
        EXPECT_EQ(SentData(Calls()), (std::vector<Bytes>{HeadAngularPacket(byte), kStorePacket}))
            << text;
        EXPECT_EQ(module_.ErrorItem(), 0);
    }
}

TEST_F(HeadAngular, AValueOutsideTheRangeOrNoNumberIsRefusedBeforeAnythingIsSent) {
    for (const char* text : {"4", "-4", "5", "100", "", "abc", "3x", "0x3", "$3", "3 "}) {
        EXPECT_EQ(module_.WriteHeadAngularValue(text), ResultHeadAngularError) << text;
        EXPECT_EQ(module_.ErrorItem(), TPHeadAngular::ErrorValue) << text;
    }
    EXPECT_TRUE(Calls().empty()) << "a refused value reached the printer";
    // A later accepted value does not clear the item.
    ASSERT_EQ(module_.WriteHeadAngularValue("0"), ResultOk);
    EXPECT_EQ(module_.ErrorItem(), TPHeadAngular::ErrorValue);
}

TEST_F(HeadAngular, TheStoredByteReadsAsSignedTextWhateverItHolds) {
    std::string text;
    Store(0xFD);
    ASSERT_EQ(module_.ReadHeadAngularValue(text), ResultOk);
    EXPECT_EQ(text, "-3");
    ASSERT_EQ(Calls("D4ReadEeprom").size(), 1u);
    EXPECT_EQ(Calls("D4ReadEeprom")[0].args.at(0), 0x75);

    // A stored 5 is shown, but sending it back is refused.
    Store(0x05);
    ASSERT_EQ(module_.ReadHeadAngularValue(text), ResultOk);
    EXPECT_EQ(text, "5");
    ClearTrace();
    EXPECT_EQ(module_.WriteHeadAngularValue(text), ResultHeadAngularError);
    EXPECT_TRUE(SentData(Calls()).empty());
}

TEST_F(HeadAngular, FailuresReturnTheirCodeAndAFailedValuePacketIsNotStored) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[0x75] = ResultPortNoResponse;
    });
    std::string text = "left over";
    EXPECT_EQ(module_.ReadHeadAngularValue(text), ResultPortNoResponse);
    EXPECT_EQ(text, "left over");

    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["SendDataChannel"] = vprinter::CallFault{1, ResultChannelError, 7};
    });
    ClearTrace();
    EXPECT_EQ(module_.WriteHeadAngularValue("3"), ResultChannelError);
    EXPECT_EQ(Calls("SendDataChannel").size(), 1u) << "no store packet after a failed value";
}

}  // namespace
