// The service log reads as what the technician did: the EEPROM writes of an
// operation of several writes carry that operation's word, and the records
// name the board by the USB ID once it is known.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "adjust/Rk7heatprotectoffset.h"
#include "adjust/Rk7maintenance.h"
#include "eeprom/Datamanu.h"
#include "eeprom/EepromMap.h"
#include "eeprom/Rk7eeprom.h"
#include "eeprom/Rk7headid.h"
#include "eeprom/Rk7usbid.h"
#include "link/ResultCodes.h"
#include "support/LinkFixture.h"
#include "support/ListServiceLog.h"

namespace {

class ServiceLogOperations : public testing_support::VirtualPrinterTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(OpenLink(), ResultOk);
        Link().AttachServiceLog(&log_, &Clock());
        Link().SetLogSubject("VTUSB001", "Orvane K31");
    }

    // The operation words and the targets of what action recorded.
    std::pair<std::set<std::string>, std::vector<std::string>> Recorded(
        const std::function<uint16_t()>& action) {
        log_.records.clear();
        EXPECT_EQ(action(), ResultOk);
        std::set<std::string> operations;
        std::vector<std::string> targets;
        for (const ServiceLogRecord& record : log_.records) {
            operations.insert(record.operation);
            targets.push_back(record.target);
        }
        return {operations, targets};
    }

    std::string UsbIdOfNextRecord() {
        log_.records.clear();
        Link().D4WriteEeprom(0x56, 0x36);
        return log_.records.at(0).usbId;
    }

    testing_support::ListServiceLog log_;
    testing_support::TempFolder backups_;
    TPDataManu dataManu_;
    TPEeprom eeprom_{Link(), backups_.Path()};
    TPHeadID headId_{Link(), dataManu_};
    TPUsbId usbId_{Link(), Clock()};
    TPMaintenance maintenance_{Link()};
    TPHeatProtect heatProtect_{Link()};
};

TEST_F(ServiceLogOperations, EachOperationsWritesCarryItsWord) {
    std::vector<std::string> backupTargets;
    for (const uint8_t address : eeprom::BackupAddresses) {
        backupTargets.push_back(servicelog::ByteText(address));
    }
    std::vector<std::string> restoreTargets = backupTargets;
    restoreTargets.insert(restoreTargets.end(), {"0x30", "0x31", "0x59", "0x6E", "0x5B"});

    struct Case {
        const char* word;
        std::function<uint16_t()> action;
        std::vector<std::string> targets;
    };
    std::string dateCode;
    const Case cases[] = {
        {"market",
         [&] { return eeprom_.WriteMarketSetting(TPEeprom::ModelCodeK31); },
         {"0x30", "0x31", "0x59", "0x6E", "0x5B"}},
        {"head-id",
         [&] { return headId_.WriteHeadId("10203040PK"); },
         {"0x42", "0x43", "0x44", "0x45", "0x49"}},
        {"usb-id",
         [&] { return usbId_.WriteUsbId("A1B2C3D4E5", dateCode); },
         {"0x5C", "0x5D", "0x5E", "0x5F", "0x60", "0x61", "0x62", "0x63", "0x64", "0x65", "0x66",
          "0x67", "0x68", "0x69", "0x6A", "0x6B", "0x6C", "0x6D"}},
        {"waste-reset",
         [&] { return maintenance_.ResetWasteInkCounter(); },
         {"0x0D", "0x0C", "0x2B", "0x3E", "0x3F"}},
        {"cr-heat-protect", [&] { return heatProtect_.WriteHeatProtectOffset(); }, {"0x56"}},
        {"restore",
         [&] {
             const uint16_t backup = eeprom_.BackupEeprom();
             return backup != ResultOk ? backup : eeprom_.RestoreEeprom(TPEeprom::ModelCodeK31);
         },
         restoreTargets},
    };
    for (const Case& c : cases) {
        const auto [operations, targets] = Recorded(c.action);
        EXPECT_EQ(operations, std::set<std::string>{c.word}) << c.word;
        EXPECT_EQ(targets, c.targets) << c.word;
    }
}

TEST_F(ServiceLogOperations, TheUsbIdIsNamedOnceReadOrWrittenAndARestoreNamesTheOneItWrote) {
    // A fresh board holds no USB ID: a read that finds none names none.
    std::string id;
    EXPECT_EQ(usbId_.ReadUsbId(id), ResultUsbIdError);
    EXPECT_EQ(UsbIdOfNextRecord(), "");

    Clock().SetNow({2004, 3, 5, 14, 37, 45});
    std::string dateCode;
    log_.records.clear();
    ASSERT_EQ(usbId_.WriteUsbId("A1B2C3D4E5", dateCode), ResultOk);
    EXPECT_EQ(log_.records.back().usbId, "") << "its own writes name the board as it was";
    EXPECT_EQ(UsbIdOfNextRecord(), "A1B2C3D4E5435E7F30");

    // Opened anew, the board is named once the backup has read its ID.
    ASSERT_EQ(OpenLink(), ResultOk);
    EXPECT_EQ(UsbIdOfNextRecord(), "");
    ASSERT_EQ(eeprom_.BackupEeprom(), ResultOk);
    EXPECT_EQ(UsbIdOfNextRecord(), "A1B2C3D4E5435E7F30");

    // The new board: its restore names the ID it wrote from then on.
    ASSERT_TRUE(Printers().GetStore().SaveEeprom("VTUSB001", vprinter::Store::FreshBoard()));
    Printers().Invalidate();
    ASSERT_EQ(OpenLink(), ResultOk);
    log_.records.clear();
    ASSERT_EQ(eeprom_.RestoreEeprom(TPEeprom::ModelCodeK31), ResultOk);
    EXPECT_EQ(log_.records.front().usbId, "");
    EXPECT_EQ(UsbIdOfNextRecord(), "A1B2C3D4E5435E7F30");
    EXPECT_EQ(usbId_.ReadUsbId(id), ResultOk);
    EXPECT_EQ(id, "A1B2C3D4E5435E7F30");
}

}  // namespace
