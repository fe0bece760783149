#include "eeprom/Rk7eeprom.h"

#include <array>
#include <utility>
#include <vector>

#include "eeprom/EepromMap.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"
#include "platform/BackupFolder.h"
#include "platform/Files.h"

namespace {

struct DestinationBytes {
    uint8_t destination;
    uint8_t first;   // at 0x6E
    uint8_t second;  // at 0x5B
};

constexpr std::array<DestinationBytes, 3> kDestinations = {{
    {TPEeprom::DestinationNorthAmericaWestEuro, 0x00, 0xB2},
    {TPEeprom::DestinationSouthAmericaEastEuroAsia, 0x04, 0xF2},
    {TPEeprom::DestinationJapan, 0x06, 0x32},
}};

const DestinationBytes& DestinationOfModel(uint8_t modelCode) {
    switch (modelCode) {
        case TPEeprom::ModelCodeK32:
            return kDestinations[0];
        case TPEeprom::ModelCodeK31:
            return kDestinations[1];
        default:
            return kDestinations[2];
    }
}

}  // namespace

TPEeprom::TPEeprom(TPDLLFunction& link) : TPEeprom(link, orvane::BackupFolder()) {}

TPEeprom::TPEeprom(TPDLLFunction& link, std::string backupFolder)
    : link_(link), backupFolder_(std::move(backupFolder)) {}

std::string TPEeprom::BackupFilePath() const {
    return backupFolder_ + "/" + kBackupFileName;
}

uint16_t TPEeprom::Fail(int16_t index) {
    errorIndex_ = index;
    return ResultEepromFileError;
}

uint16_t TPEeprom::WriteMarketSetting(uint8_t modelCode) {
    const DestinationBytes& bytes = DestinationOfModel(modelCode);
    const std::array<std::array<uint8_t, 2>, 5> writes = {{
        {eeprom::MarketFixed30, 0x04},
        {eeprom::MarketFixed31, 0x00},
        {eeprom::FirstDot, 0x18},
        {eeprom::MarketFirstCode, bytes.first},
        {eeprom::MarketSecondCode, bytes.second},
    }};
    for (const auto& [address, value] : writes) {
        const uint16_t result = link_.D4WriteEeprom(address, value);
        if (result != ResultOk) {
            return result;
        }
    }
    return ResultOk;
}

uint16_t TPEeprom::ReadMarketSetting(uint8_t& destination) {
    uint8_t first = 0;
    uint8_t second = 0;
    uint16_t result = link_.D4ReadEeprom(eeprom::MarketFirstCode, first);
    if (result != ResultOk) {
        return result;
    }
    result = link_.D4ReadEeprom(eeprom::MarketSecondCode, second);
    if (result != ResultOk) {
        return result;
    }
    destination = DestinationUnknown;
    for (const auto& known : kDestinations) {
        if (known.first == first && known.second == second) {
            destination = known.destination;
        }
    }
    return ResultOk;
}

uint16_t TPEeprom::BackupEeprom() {
    std::array<uint8_t, kBackupFileSize> bytes{};
    static_assert(eeprom::BackupAddresses.size() == kBackupFileSize);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint16_t result = link_.D4ReadEeprom(eeprom::BackupAddresses[i], bytes[i]);
        if (result != ResultOk) {
            return result;
        }
    }
    orvane::CreateFolders(backupFolder_);  // a failure shows when the file is created
    switch (orvane::ReplaceFile(BackupFilePath(), bytes)) {
        case orvane::FileWrite::Done:
            return ResultOk;
        case orvane::FileWrite::CannotCreate:
            return ResultFileOpenError;
        case orvane::FileWrite::CannotWrite:
            break;
    }
    return Fail(ErrorCannotCreateFile);
}

uint16_t TPEeprom::RestoreEeprom(uint8_t modelCode) {
    // One byte more than a backup holds, to notice a file that is too long.
    std::vector<uint8_t> bytes;
    if (!orvane::ReadFileStart(BackupFilePath(), kBackupFileSize + 1, bytes) ||
        bytes.size() != kBackupFileSize) {
        return Fail(ErrorCannotReadFile);
    }
    for (size_t i = 0; i < kBackupFileSize; ++i) {
        const uint16_t result = link_.D4WriteEeprom(eeprom::BackupAddresses[i], bytes[i]);
        if (result != ResultOk) {
            return result;
        }
    }
    const uint16_t result = WriteMarketSetting(modelCode);
    if (result != ResultOk) {
        return result;
    }
    // The file has served its purpose; a file that cannot be removed does no
    // harm to the board just written.
    // A dry run keeps it: nothing has been written.
    if (!link_.IsDryRun()) {
        orvane::RemoveFile(BackupFilePath());
    }
    return ResultOk;
}
