// The EEPROM data copy's fixture: a K32 whose board holds a value of its own
// at every address, and the module on a backup folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "EepromTrace.h"
#include "eeprom/EepromMap.h"
#include "eeprom/Rk7eeprom.h"
#include "link/ResultCodes.h"
#include "platform/BackupFolder.h"
#include "platform/Files.h"
#include "support/FullDisk.h"
#include "support/LinkFixture.h"
#include "support/ScopedEnvironment.h"

namespace eeprom_tests {

using testing_support::FullDisk;
using testing_support::ReadFile;
using testing_support::ScopedEnvironment;
using testing_support::WriteFile;

constexpr const char* kPort = "VTUSB002";  // an Orvane K32

// A value for every address that differs from a fresh board's.
inline uint8_t OldBoardValue(size_t address) {
    return static_cast<uint8_t>(address * 3 + 1);
}

class BackupRestore : public testing_support::VirtualPrinterTest {
  protected:
    void SetUp() override {
        ChangeEeprom(kPort, [](vprinter::Eeprom& bytes) {
            for (size_t a = 0; a < bytes.size(); ++a) {
                bytes[a] = OldBoardValue(a);
            }
        });
        ASSERT_EQ(OpenLink(kPort), ResultOk);
        ClearTrace();
    }

    void ReplaceMainBoard() {
        ASSERT_TRUE(Printers().GetStore().SaveEeprom(kPort, vprinter::Store::FreshBoard()));
        Printers().Invalidate();
        ClearTrace();
    }

    std::string OldBoardFile() const {
        std::string file;
        for (const uint8_t address : eeprom::BackupAddresses) {
            file.push_back(static_cast<char>(OldBoardValue(address)));
        }
        return file;
    }

    bool Exists(const std::string& path) const {
        std::error_code error;
        return std::filesystem::exists(std::filesystem::symlink_status(path, error));
    }

    // The temporary files left in the backup folder.
    std::vector<std::string> TemporariesLeft() const {
        std::vector<std::string> left;
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(module_.BackupFolder(), error)) {
            if (orvane::IsTemporaryName(entry.path().filename().string())) {
                left.push_back(entry.path().filename().string());
            }
        }
        return left;
    }

    testing_support::TempFolder data_;
    // A folder that does not exist yet: the backup creates it.
    TPEeprom module_{Link(), data_ / "Adjustment Program/OrvaneK51_52"};
};

}  // namespace eeprom_tests
