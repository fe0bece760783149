#pragma once

#include <QCheckBox>
#include <QTest>
#include <map>
#include <vector>

#include "PageFixture.h"
#include "adjust/PacketTrace.h"
#include "app/widgets/UpDown.h"

namespace bid_page_tests {

// One of the eight values as the input page and the printer know it.
struct BidItem {
    const char* edit;
    const char* check;
    const char* upDown;
    const char* request;  // its print-request check box
    int address;
    uint8_t modeByte;    // in the Bi-D packet: 1-3 VSD1-3, 0 ECO
    uint8_t colourByte;  // 1 black, 2 colour
    const char* panel;   // its adjusted-items panel
    const char* refused;
};

// In item order.
inline const BidItem kItems[] = {
    {"BidVSD1BkInputEdit", "BidVSD1BkInputCheckBox", "BidVSD1BkInputUpDown",
     "BidVSD1BkPrnRequestCheckBox", 0x34, 1, 1, "ShowBid1BkPnl", "VSD1 Black value is wrong."},
    {"BidVSD1CLInputEdit", "BidVSD1CLInputCheckBox", "BidVSD1CLInputUpDown",
     "BidVSD1CLPrnRequestCheckBox", 0x35, 1, 2, "ShowBid1ClPnl", "VSD1 Color value is wrong."},
    {"BidVSD2BkInputEdit", "BidVSD2BkInputCheckBox", "BidVSD2BkInputUpDown",
     "BidVSD2BkPrnRequestCheckBox", 0x36, 2, 1, "ShowBid2BkPnl", "VSD2 Black value is wrong."},
    {"BidVSD2CLInputEdit", "BidVSD2CLInputCheckBox", "BidVSD2CLInputUpDown",
     "BidVSD2CLPrnRequestCheckBox", 0x37, 2, 2, "ShowBid2ClPnl", "VSD2 Color value is wrong."},
    {"BidVSD3BkInputEdit", "BidVSD3BkInputCheckBox", "BidVSD3BkInputUpDown",
     "BidVSD3BkPrnRequestCheckBox", 0x38, 3, 1, "ShowBid3BkPnl", "VSD3 Black value is wrong."},
    {"BidVSD3CLInputEdit", "BidVSD3CLInputCheckBox", "BidVSD3CLInputUpDown",
     "BidVSD3CLPrnRequestCheckBox", 0x39, 3, 2, "ShowBid3ClPnl", "VSD3 Color value is wrong."},
    {"BidECOBkInputEdit", "BidECOBkInputCheckBox", "BidECOBkInputUpDown",
     "BidECOBkPrnRequestCheckBox", 0x32, 0, 1, "ShowBidECOBkPnl", "ECO Black value is wrong."},
    {"BidECOCLInputEdit", "BidECOCLInputCheckBox", "BidECOCLInputUpDown",
     "BidECOCLPrnRequestCheckBox", 0x33, 0, 2, "ShowBidECOClPnl", "ECO Color value is wrong."},
};

inline const char* const kRead = "The Bi-D adjustment value has read properly.";
inline const char* const kWritten = "The Bi-D adjustment value has written properly.";
inline const char* const kPrinted = "The Bi-D pattern print has completed.";
inline const char* const kSelectItem = "Please select item.";

// The Bi-D pages on VTUSB001, the print page chosen through its item.
class BidPages : public testing_support::PageTest {
  protected:
    void SetUp() override { OpenPage("AdjustRdoGrp", 4); }

    // Stores bytes at their addresses and empties the trace.
    void Store(const std::map<int, uint8_t>& bytes) {
        ChangeEeprom("VTUSB001", [&](vprinter::Eeprom& eeprom) {
            for (const auto& [address, value] : bytes) {
                eeprom[static_cast<size_t>(address)] = value;
            }
        });
        ClearTrace();
    }
    // From the print page to the input page, which reads the stored values.
    void GoToInput() { Press("BidPrintShowInputBtn"); }

    QCheckBox* Check(const char* name) { return Find<QCheckBox>(Adjust(), name); }
    orvane_app::UpDown* UpDown(const char* name) {
        return Find<orvane_app::UpDown>(Adjust(), name);
    }
    std::vector<bool> Checked(const char* BidItem::*box) {
        std::vector<bool> states;
        for (const BidItem& item : kItems) {
            states.push_back(Check(item.*box)->isChecked());
        }
        return states;
    }
    std::vector<QString> EditTexts() {
        std::vector<QString> texts;
        for (const BidItem& item : kItems) {
            texts.push_back(EditText(item.edit));
        }
        return texts;
    }

    std::vector<adjust_tests::Bytes> Sent() const { return adjust_tests::SentData(Calls()); }
};

}  // namespace bid_page_tests
