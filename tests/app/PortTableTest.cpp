#include <gtest/gtest.h>

#include <ostream>

#include "app/PortTable.h"

namespace {

using orvane_app::DerivePortNumber;
using orvane_app::PortNumberResult;
using orvane_app::PortNumberStatus;
using orvane_app::PrinterPorts;

TEST(PortList, KeepsOnlyUsbVtusbAndLptPortsInListOrder) {
    EXPECT_EQ(PrinterPorts({"USB001", "FILE:", "LPT1:", "COM1:", "VTUSB002", "usb003", "XUSB1"}),
              (std::vector<std::string>{"LPT1:", "USB001", "VTUSB002"}));
    EXPECT_TRUE(PrinterPorts({"FILE:", "COM1:", "lpt1:"}).empty());
    EXPECT_TRUE(PrinterPorts({}).empty());
}

TEST(PortList, SortsWithoutRegardToCase) {
    EXPECT_EQ(PrinterPorts({"USB010", "LPT2:", "USB002", "LPT1:", "USBb", "USBA"}),
              (std::vector<std::string>{"LPT1:", "LPT2:", "USB002", "USB010", "USBA", "USBb"}));
}

struct Derivation {
    std::string name;
    uint16_t number;
};

void PrintTo(const Derivation& derivation, std::ostream* out) {
    *out << derivation.name;
}

class PortNumberOfName : public ::testing::TestWithParam<Derivation> {};

TEST_P(PortNumberOfName, IsTheDigitsPlusTheOffsetOfTheFamily) {
    const PortNumberResult result = DerivePortNumber({GetParam().name}, 0);
    EXPECT_EQ(result.status, PortNumberStatus::Ok) << GetParam().name;
    EXPECT_EQ(result.number, GetParam().number) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, PortNumberOfName,
    ::testing::Values(Derivation{"USB001", 1025}, Derivation{"VTUSB002", 1026},
                      Derivation{"LPT1:", 1152}, Derivation{"LPT3", 1154},
                      Derivation{"USB:007", 1031}, Derivation{"USB64511", 65535},
                      // Leading zeros do not make a number too large.
                      Derivation{"USB000001", 1025}, Derivation{"LPT000001:", 1152},
                      Derivation{"VTUSB0000000000002", 1026}, Derivation{"USB0000064511", 65535},
                      Derivation{"USB000", 1024}));

TEST(PortNumber, IsDerivedForTheChosenEntryOnly) {
    const std::vector<std::string> listed = {"LPT1:", "USBX", "USB001"};
    EXPECT_EQ(DerivePortNumber(listed, 0).number, 1152);
    EXPECT_EQ(DerivePortNumber(listed, 2).number, 1025);
    EXPECT_EQ(DerivePortNumber(listed, 1).status, PortNumberStatus::NotANumber);
}

TEST(PortNumber, RefusesARestThatIsNoDecimalNumber) {
    for (const char* name :
         {"USB", "USBX", "USB1A", "USB-1", "USB+1", "LPT:", "LPT1::", "USB 1", "USB0x10"}) {
        const PortNumberResult result = DerivePortNumber({name}, 0);
        EXPECT_EQ(result.status, PortNumberStatus::NotANumber) << name;
        EXPECT_EQ(result.number, 0) << name;
    }
}

TEST(PortNumber, RefusesANumberThatDoesNotFitInSixteenBits) {
    // 64512 + 1024 would wrap round to port 0 and open an unrelated port.
    EXPECT_EQ(DerivePortNumber({"USB64512"}, 0).status, PortNumberStatus::NotANumber);
    EXPECT_EQ(DerivePortNumber({"LPT64385"}, 0).status, PortNumberStatus::NotANumber);
    EXPECT_EQ(DerivePortNumber({"LPT64384"}, 0).number, 65535);
    EXPECT_EQ(DerivePortNumber({"USB00064512"}, 0).status, PortNumberStatus::NotANumber);
    EXPECT_EQ(DerivePortNumber({"USB99999999999999999999"}, 0).status,
              PortNumberStatus::NotANumber);
}

TEST(PortNumber, HasATableOf140Entries) {
    std::vector<std::string> listed;
    for (int i = 1; i <= 150; ++i) {
        listed.push_back("USB" + std::to_string(1000 + i));
    }
    EXPECT_EQ(DerivePortNumber(listed, 139).status, PortNumberStatus::Ok);
    EXPECT_EQ(DerivePortNumber(listed, 139).number, 1024 + 1140);
    EXPECT_EQ(DerivePortNumber(listed, 140).status, PortNumberStatus::BeyondTable);
    EXPECT_EQ(DerivePortNumber(listed, 149).status, PortNumberStatus::BeyondTable);
}

TEST(PortNumber, IsZeroForANameOfNoFamily) {
    const PortNumberResult result = DerivePortNumber({"COM1:"}, 0);
    EXPECT_EQ(result.status, PortNumberStatus::Ok);
    EXPECT_EQ(result.number, 0);
}

TEST(PortNumber, RefusesAnIndexOutsideTheList) {
    EXPECT_EQ(DerivePortNumber({"USB001"}, 1).status, PortNumberStatus::NotANumber);
    EXPECT_EQ(DerivePortNumber({"USB001"}, -1).status, PortNumberStatus::NotANumber);
}

}  // namespace
