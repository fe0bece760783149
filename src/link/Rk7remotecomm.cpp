#include "link/Rk7remotecomm.h"

#include <initializer_list>
#include <utility>

#include "link/PrintDataJob.h"
#include "link/ResultCodes.h"

namespace {

using Table = std::array<uint8_t, TPRemoteComm::kTableSize>;
using Difference = std::pair<size_t, uint8_t>;

// ESC ( R, length 8, 00, "REMOTE1".
constexpr uint8_t kEnter[] = {0x1B, 0x28, 0x52, 0x08, 0x00, 0x00, 0x52,
                              0x45, 0x4D, 0x4F, 0x54, 0x45, 0x31};
constexpr uint8_t kExit[] = {0x1B, 0x00, 0x00, 0x00};
// "SN", 76 parameter bytes: 00 09, the table and its sum.
constexpr uint8_t kSettingHead[] = {0x53, 0x4E, 0x4C, 0x00, 0x00, 0x09};
// "NC", 2 parameter bytes.
constexpr uint8_t kNozzleCheck[] = {0x4E, 0x43, 0x02, 0x00, 0x00, 0x00};
// The caption above the printer's nozzle check, with its terminating zero.
constexpr char kNozzleCaption[] = "Nozzle check pattern\r";
constexpr int kNozzleCaptionSize = static_cast<int>(sizeof kNozzleCaption);
static_assert(kNozzleCaptionSize == 22);

constexpr Table kBase = {0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                         0xB0, 0x04, 0xBA, 0x04, 0x1C, 0x01, 0xF4, 0x01, 0x00, 0x00, 0x00, 0x00,
                         0x34, 0x08, 0x68, 0x10, 0x18, 0x15, 0xC8, 0x19, 0xE0, 0x3D, 0xCC, 0x10,
                         0x8C, 0x0A, 0x14, 0x05, 0x8C, 0x00, 0x0A, 0x01, 0x2C, 0x01, 0x00, 0x00,
                         0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x03, 0x0A, 0x03, 0x0F,
                         0x0F, 0x0F, 0x0F, 0x0F, 0x06, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

constexpr Table Differing(std::initializer_list<Difference> differences) {
    Table table = kBase;
    for (const auto& [index, value] : differences) {
        table[index] = value;
    }
    return table;
}

// The seven tables A to G.
constexpr std::array<Table, 7> kTables = {
    kBase,
    Differing({{48, 0x0B},
               {49, 0x0B},
               {50, 0x09},
               {51, 0x02},
               {52, 0x08},
               {53, 0x08},
               {54, 0x0B},
               {55, 0x0B},
               {56, 0x01},
               {58, 0x01},
               {59, 0x08},
               {60, 0x0B},
               {61, 0x0B},
               {62, 0x0A},
               {63, 0x09}}),
    Differing({{0, 0x0C}, {56, 0x04}, {58, 0x04}, {67, 0x01}}),
    Differing({{0, 0x2C},
               {14, 0xEA},
               {16, 0x34},
               {18, 0x0E},
               {19, 0x02},
               {56, 0x04},
               {58, 0x04},
               {65, 0x04}}),
    Differing({{0, 0x2C},
               {14, 0x72},
               {15, 0x06},
               {16, 0x00},
               {17, 0x00},
               {18, 0x00},
               {19, 0x00},
               {56, 0x04},
               {58, 0x04},
               {65, 0x04},
               {67, 0x01}}),
    Differing({{14, 0x40}, {15, 0x06}, {16, 0x00}, {17, 0x00}, {18, 0x00}, {19, 0x00}}),
    Differing({{0, 0x17},
               {14, 0xDE},
               {16, 0x34},
               {18, 0x00},
               {19, 0x02},
               {56, 0x04},
               {58, 0x04},
               {65, 0x04}}),
};

// Setting number -> table; 0, 2 and every number above 7 take table A.
constexpr std::array<size_t, 8> kTableOfSetting = {0, 1, 0, 2, 3, 4, 5, 6};

}  // namespace

TPRemoteComm::TPRemoteComm(IPrintDataJob& job) : job_(job) {}

const std::array<uint8_t, TPRemoteComm::kTableSize>& TPRemoteComm::SettingTable(uint8_t setting) {
    return kTables[setting < kTableOfSetting.size() ? kTableOfSetting[setting] : 0];
}

uint16_t TPRemoteComm::TableSum(const std::array<uint8_t, kTableSize>& table) {
    uint16_t sum = 0;
    for (const uint8_t byte : table) {
        sum = static_cast<uint16_t>(sum + byte);
    }
    return sum;
}

uint16_t TPRemoteComm::EnterRemoteMode() {
    return job_.SendBytes(kEnter, sizeof kEnter);
}

uint16_t TPRemoteComm::ExitRemoteMode() {
    return job_.SendBytes(kExit, sizeof kExit);
}

uint16_t TPRemoteComm::SendRemoteSetting(uint8_t setting) {
    const auto& table = SettingTable(setting);
    const uint16_t sum = TableSum(table);
    const uint8_t sumBytes[] = {static_cast<uint8_t>(sum & 0xFF), static_cast<uint8_t>(sum >> 8)};

    uint16_t result = EnterRemoteMode();
    if (result == ResultOk) {
        result = job_.SendBytes(kSettingHead, sizeof kSettingHead);
    }
    if (result == ResultOk) {
        result = job_.SendBytes(table.data(), static_cast<int>(table.size()));
    }
    if (result == ResultOk) {
        result = job_.SendBytes(sumBytes, sizeof sumBytes);
    }
    if (result == ResultOk) {
        result = ExitRemoteMode();
    }
    if (result == ResultOk) {
        result = job_.Flush();
    }
    return result;
}

uint16_t TPRemoteComm::PrintNozzleCheck() {
    uint16_t result =
        job_.SendBytes(reinterpret_cast<const uint8_t*>(kNozzleCaption), kNozzleCaptionSize);
    if (result == ResultOk) {
        result = EnterRemoteMode();
    }
    if (result == ResultOk) {
        result = job_.SendBytes(kNozzleCheck, sizeof kNozzleCheck);
    }
    if (result == ResultOk) {
        result = ExitRemoteMode();
    }
    if (result == ResultOk) {
        result = job_.FeedLines(2);
    }
    if (result == ResultOk) {
        result = job_.Flush();
    }
    return result;
}
