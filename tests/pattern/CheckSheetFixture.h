#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "PatternFixture.h"
#include "adjust/Rk7maintenance.h"
#include "eeprom/Datamanu.h"
#include "eeprom/Rk7eeprom.h"
#include "eeprom/Rk7headid.h"
#include "eeprom/Rk7usbid.h"
#include "link/ResultCodes.h"
#include "link/Rk7remotecomm.h"
#include "pattern/Rk7checkpattern.h"

namespace testing_support {

using Bytes = std::vector<uint8_t>;

inline Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

inline void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// The check sheets on VTUSB001 with every module they read through. The
// printer holds a known identity: waste ink counter 300 of 12500, Head ID
// 10203040PK, USB ID A1B2C3D4E5435E7F30, the K31 destination, and ink
// amounts 80, 70, 60 and 50.
class CheckSheetTest : public PatternTest {
  protected:
    void SetUp() override {
        PatternTest::SetUp();
        const std::string usbId = "A1B2C3D4E5435E7F30";
        ChangeEeprom("VTUSB001", [&usbId](vprinter::Eeprom& eeprom) {
            eeprom[0x0C] = 0x01;
            eeprom[0x0D] = 0x2C;
            eeprom[0x2B] = eeprom[0x3E] = eeprom[0x3F] = 0;
            eeprom[0x42] = 0x10;
            eeprom[0x43] = 0x20;
            eeprom[0x44] = 0x30;
            eeprom[0x45] = 0x40;
            eeprom[0x49] = 13;
            std::copy(usbId.begin(), usbId.end(), eeprom.begin() + 0x5C);
            eeprom[0x6E] = 0x04;
            eeprom[0x5B] = 0xF2;
        });
        SetInk({80, 70, 60, 50});
    }

    // Each of these empties the trace.
    void StoreBytes(const std::map<int, uint8_t>& bytes) {
        ChangeEeprom("VTUSB001", [&bytes](vprinter::Eeprom& eeprom) {
            for (const auto& [address, value] : bytes) {
                eeprom[static_cast<size_t>(address)] = value;
            }
        });
        ClearTrace();
    }
    void SetInk(const std::array<int16_t, 4>& ink) {
        ChangePrinter("VTUSB001", [&ink](vprinter::PrinterConfig& config) { config.ink = ink; });
        ClearTrace();
    }

    // Lets the printer finish the pages it was sent.
    void LetThePrinterFinish() { Clock().Sleep(30000); }

    std::vector<int> ReadAddresses() const {
        std::vector<int> addresses;
        for (const auto& call : Calls("D4ReadEeprom")) {
            addresses.push_back(static_cast<int>(call.args.at(0)));
        }
        return addresses;
    }
    bool NothingReadAfterTheFirstSend() const {
        const auto names = CallNames();
        const auto first = std::find(names.begin(), names.end(), "SendDataChannel");
        return first != names.end() && std::count(first, names.end(), "D4ReadEeprom") == 0;
    }
    size_t PageCount() {
        const auto* pages = Printers().PrintedPages("VTUSB001");
        return pages == nullptr ? 0 : pages->size();
    }

    // Everything the printer accepted since the trace was emptied.
    std::string Printed() const {
        const Bytes bytes = AcceptedBytes();
        return std::string(bytes.begin(), bytes.end());
    }
    // The count bytes right after the first caption in stream.
    static std::string After(const std::string& stream, const std::string& caption, size_t count) {
        const size_t at = stream.find(caption);
        EXPECT_NE(at, std::string::npos) << caption;
        return at == std::string::npos ? std::string() : stream.substr(at + caption.size(), count);
    }
    // What a print operation alone hands to the printer, flushed.
    Bytes Alone(const std::function<uint16_t()>& print) {
        ClearTrace();
        EXPECT_EQ(print(), ResultOk);
        EXPECT_EQ(raster_.Flush(), ResultOk);
        return AcceptedBytes();
    }

    TPRemoteComm remote_{raster_};
    TPMaintenance maintenance_{Link()};
    TPDataManu dataManu_;
    TPHeadID headId_{Link(), dataManu_};
    TPUsbId usbId_{Link(), Clock()};
    TPEeprom eeprom_{Link(), StateFolder()};
    TPCheckPattern sheet_{raster_,      pattern_, remote_, status_, Link(),
                          maintenance_, headId_,  usbId_,  eeprom_};
};

}  // namespace testing_support
