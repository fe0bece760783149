#include <gtest/gtest.h>

#include <QLabel>
#include <array>
#include <ostream>

#include "PageFixture.h"
#include "adjust/PacketTrace.h"
#include "app/pages/Page.h"
#include "link/ResultCodes.h"
#include "vprinter/Host.h"

namespace {

using adjust_tests::Bytes;
using eeprom_tests::AddressValue;
using testing_support::PageTest;

const char* const kReset = "The Waste Ink Pad counter has initialized properly.";
const char* const kCommunication = "Communication error occurred.";

// The packet that starts a maintenance sequence.
Bytes SequencePacket(uint8_t sequence) {
    return {0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x84, 0x7B, 0x42, sequence};
}

class MaintenancePages : public PageTest {
  protected:
    // The Maintenance items: 0 head cleaning, 1 ink charge, 2 the counter.
    void Open(int item, int model = 0) { OpenPage("MainteRdoGrp", item, model); }

    // The command packets sent, without the initialize commands of the
    // readiness wait.
    std::vector<Bytes> Packets() const {
        std::vector<Bytes> packets;
        for (const Bytes& sent : adjust_tests::SentData(Calls("SendDataChannel"))) {
            if (sent.size() > 2 && sent[0] == 0x1B && sent[1] == 0x7C) {
                packets.push_back(sent);
            }
        }
        return packets;
    }

    unsigned WasteCounter() {
        const vprinter::Eeprom eeprom = Eeprom();
        return eeprom[0x0C] * 256u + eeprom[0x0D];
    }
    void StoreCounter(unsigned present, uint8_t a, uint8_t b, uint8_t c) {
        ChangeEeprom("VTUSB001", [=](vprinter::Eeprom& eeprom) {
            eeprom[0x0C] = static_cast<uint8_t>(present >> 8);
            eeprom[0x0D] = static_cast<uint8_t>(present & 0xFF);
            eeprom[0x2B] = a;
            eeprom[0x3E] = b;
            eeprom[0x3F] = c;
        });
    }
    QString Counter(const char* maximum, const char* present, const char* rate) {
        return QStringLiteral("Maximum value =") + maximum + QStringLiteral("\nPresent value = ") +
               present + QStringLiteral("\nUsage Rate = ") + rate;
    }
    QString Read() {
        ClearTrace();
        Press("ProCounterCheckBtn");
        return StatusText();
    }
    QLabel* Label(const char* name) { return Find<QLabel>(Adjust(), name); }
};

// One maintenance sequence as its page starts it and the printer runs it.
struct Sequence {
    int item;
    const char* button;
    const char* progress;
    const char* completed;
    uint8_t code;
    uint64_t milliseconds;
    std::array<int, 4> inkUsed;
    unsigned wasteInk;
};

const Sequence kCleaning = {0,
                            "CleaningOKBtn",
                            "Cleaning now...",
                            "The head cleaning has completed.",
                            2,
                            vprinter::Host::kCleaningMilliseconds,
                            {8, 3, 3, 3},
                            vprinter::Host::kCleaningWasteInk};
const Sequence kInkCharge = {1,
                             "InkChargeOKBtn",
                             "Charging now...",
                             "The ink charge has completed.",
                             7,
                             vprinter::Host::kInkChargeMilliseconds,
                             {23, 8, 8, 8},
                             vprinter::Host::kInkChargeWasteInk};

void PrintTo(const Sequence& sequence, std::ostream* os) {
    *os << sequence.button;
}

class SequencePage : public MaintenancePages, public ::testing::WithParamInterface<Sequence> {};

TEST_P(SequencePage, StartsTheSequenceAndStaysLockedUntilThePrinterIsReady) {
    const Sequence& s = GetParam();
    Open(s.item);
    const vprinter::PrinterConfig before = Config();
    const unsigned wasteBefore = WasteCounter();
    Clock().ClearSleeps();
    int enabledSleeps = 0;
    QString shownWhileWaiting;
    Clock().onSleep = [&](uint32_t) {
        enabledSleeps += Adjust().isEnabled() ? 1 : 0;
        shownWhileWaiting = StatusText();
    };
    Click(Adjust(), s.button);
    Clock().onSleep = nullptr;

    EXPECT_EQ(Packets(), std::vector<Bytes>{SequencePacket(s.code)});
    // Polled once a second for as long as the sequence runs, never unlocked
    // meanwhile, the progress text standing.
    const std::vector<uint32_t>& sleeps = Clock().Sleeps();
    ASSERT_FALSE(sleeps.empty());
    for (const uint32_t sleep : sleeps) {
        EXPECT_EQ(sleep, 1000u);
    }
    EXPECT_GE(Clock().TotalSlept(), s.milliseconds);
    EXPECT_LE(Clock().TotalSlept(), s.milliseconds + 1000);
    EXPECT_EQ(Calls("InquireStatus").size(), sleeps.size() + 2);
    EXPECT_EQ(enabledSleeps, 0);
    EXPECT_EQ(shownWhileWaiting, QString(s.progress));

    EXPECT_EQ(StatusText(), QString(s.completed));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_FALSE(Adjust().isEnabled());
    Adjust().DisableTimerTimer();
    EXPECT_TRUE(Adjust().isEnabled());

    const vprinter::PrinterConfig after = Config();
    for (size_t colour = 0; colour < 4; ++colour) {
        EXPECT_EQ(after.ink[colour], before.ink[colour] - s.inkUsed[colour]) << colour;
    }
    EXPECT_EQ(WasteCounter(), wasteBefore + s.wasteInk);
    EXPECT_TRUE(Calls("D4WriteEeprom").empty());
}

TEST_P(SequencePage, APrinterInItsErrorStateIsReportedAndNothingStarts) {
    const Sequence& s = GetParam();
    Open(s.item);
    SetPrinterState(0, 4);  // paper jam
    const vprinter::PrinterConfig before = Config();
    Press(s.button);
    EXPECT_TRUE(Packets().empty());
    EXPECT_EQ(
        StatusText(),
        QStringLiteral("Paper jam error.\nClear the error and click the [Get Status] button."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Adjust().isEnabled());
    EXPECT_EQ(Config().ink, before.ink);
    EXPECT_EQ(ItemsEnabled("MainteRdoGrp"), (std::vector<bool>{false, false, false, true}));
}

TEST_P(SequencePage, APacketThatFailsIsReported) {
    const Sequence& s = GetParam();
    Open(s.item);
    const vprinter::PrinterConfig before = Config();
    Clock().ClearSleeps();
    // The printer is ready at once, so the first data sent is the packet.
    FailNextCall("SendDataChannel", ResultChannelError);
    Press(s.button);
    EXPECT_TRUE(StatusText().startsWith(kCommunication));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Adjust().isEnabled());
    EXPECT_EQ(Config().ink, before.ink);
    EXPECT_EQ(Packets().size(), 1u);
    EXPECT_TRUE(Clock().Sleeps().empty());
}

INSTANTIATE_TEST_SUITE_P(Maintenance, SequencePage, ::testing::Values(kCleaning, kInkCharge),
                         [](const ::testing::TestParamInfo<Sequence>& param) {
                             return param.param.code == 2 ? "HeadCleaning" : "InkCharge";
                         });

TEST_F(MaintenancePages, TheOrvaneK31PagesShowOneColourCartridge) {
    Open(0, 0);
    EXPECT_EQ(Label("CleaningBlackConsumptionLabel")->text(),
              QStringLiteral("About 8% of bland-new I/C."));
    EXPECT_EQ(Label("CleaningColorMConsumptionLabel")->text(),
              QStringLiteral("About 3% of bland-new I/C."));
    EXPECT_EQ(Label("InkChargeBlackConsumptionLabel")->text(),
              QStringLiteral("About 23% of bland-new I/C."));
    EXPECT_EQ(Label("InkChargeColorMConsumptionLabel")->text(),
              QStringLiteral("About 8% of bland-new I/C."));
    EXPECT_TRUE(Label("CleaningColorMConsumptionLabel")->isVisible());
    EXPECT_FALSE(
        Label("CleaningColorSConsumptionLabel")->isVisibleTo(Adjust().Page("CleaningPnl")));
    EXPECT_FALSE(
        Label("InkChargeColorSConsumptionLabel")->isVisibleTo(Adjust().Page("InkChargePnl")));
}

TEST_F(MaintenancePages, TheOrvaneK32PagesNameEveryCartridge) {
    Open(1, 1);
    const std::pair<const char*, const char*> captions[] = {
        {"CleaningBlackConsumptionLabel", "R2281 : About 8% of bland-new I/C."},
        {"CleaningColorMConsumptionLabel", "R228x : About 3% of bland-new I/C."},
        {"CleaningColorSConsumptionLabel", "R229x : About 4% of bland-new I/C."},
        {"InkChargeBlackConsumptionLabel", "R2281 : About 23% of bland-new I/C."},
        {"InkChargeColorMConsumptionLabel", "R228x : About 8% of bland-new I/C."},
        {"InkChargeColorSConsumptionLabel", "R229x : About 12% of bland-new I/C."},
    };
    for (const auto& [name, text] : captions) {
        EXPECT_EQ(Label(name)->text(), QString(text)) << name;
        EXPECT_TRUE(Label(name)->isVisibleTo(static_cast<QWidget*>(Label(name)->parent()))) << name;
    }
    EXPECT_TRUE(Label("InkChargeColorSConsumptionLabel")->isVisible());
}

struct CounterCase {
    unsigned present;
    uint8_t a, b, c;
    const char* maximum;
    const char* presentText;
    const char* rate;
};

TEST_F(MaintenancePages, ReadShowsTheMaximumThePresentCountAndTheUsageRate) {
    Open(2);
    const CounterCase cases[] = {
        {0x012C, 0, 0, 0, "12500", "300", "2 %"},
        {300, 25, 0, 0, "25000", "300", "1 %"},
        {300, 10, 5, 2, "15800", "300", "1 %"},
        {300, 60, 10, 10, "21500", "300", "1 %"},
        {30000, 25, 0, 0, "25000", "30000", "120 %"},
        // Far below the lowest maximum, and far above the highest.
        {300, 0, 0, 36, "12500", "300", "2 %"},
        {300, 253, 0, 0, "25000", "300", "1 %"},
        {0xFFFF, 0, 0, 0, "12500", "65535", "524 %"},
    };
    for (const CounterCase& c : cases) {
        StoreCounter(c.present, c.a, c.b, c.c);
        const std::string what = std::to_string(c.present) + " " + std::to_string(c.a) + " " +
                                 std::to_string(c.b) + " " + std::to_string(c.c);
        EXPECT_EQ(Read(), Counter(c.maximum, c.presentText, c.rate)) << what;
        EXPECT_EQ(Reads(), (std::vector<int>{0x0D, 0x0C, 0x2B, 0x3E, 0x3F})) << what;
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
        EXPECT_TRUE(Adjust().isEnabled());
    }
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Adjust().AdjustedValue("ShowProCounterPnl"), QString());
}

TEST_F(MaintenancePages, ResetZeroesTheCounterWithoutAskingAndReadFollows) {
    Open(2);
    StoreCounter(24000, 60, 10, 10);
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
        for (const uint8_t neighbour : {0x0B, 0x0E, 0x2A, 0x2C, 0x3D, 0x40}) {
            eeprom[neighbour] = 0x77;
        }
    });
    const vprinter::Eeprom before = Eeprom();
    Press("ProCounterClearBtn");
    EXPECT_EQ(Writes(),
              (std::vector<AddressValue>{{0x0D, 0}, {0x0C, 0}, {0x2B, 0}, {0x3E, 0}, {0x3F, 0}}));
    EXPECT_EQ(StatusText(), QString(kReset));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_TRUE(Adjust().isEnabled());
    EXPECT_EQ(Adjust().AdjustedValue("ShowProCounterPnl"), QStringLiteral("0"));
    EXPECT_TRUE(Boxes().shown.empty());

    vprinter::Eeprom expected = before;
    for (const uint8_t address : {0x0C, 0x0D, 0x2B, 0x3E, 0x3F}) {
        expected[address] = 0;
    }
    EXPECT_EQ(Eeprom(), expected);
    EXPECT_EQ(Read(), Counter("12500", "0", "0 %"));
}

TEST_F(MaintenancePages, ReadAndResetGoOnWhenThePrinterIsInItsErrorState) {
    Open(2);
    for (const uint8_t state : {uint8_t{0}, uint8_t{8}}) {
        SetPrinterState(state, 16);  // the maintenance error of a full pad
        StoreCounter(25000, 25, 0, 0);
        Clock().ClearSleeps();
        EXPECT_EQ(Read(), Counter("25000", "25000", "100 %")) << int{state};
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
        EXPECT_TRUE(Adjust().isEnabled());

        ClearTrace();
        Press("ProCounterClearBtn");
        EXPECT_EQ(Writes().size(), 5u) << int{state};
        EXPECT_EQ(StatusText(), QString(kReset));
        EXPECT_EQ(WasteCounter(), 0u);
        EXPECT_EQ(Adjust().AdjustedValue("ShowProCounterPnl"), QStringLiteral("0"));
        // Neither waits for a printer that will not become ready.
        EXPECT_TRUE(Clock().Sleeps().empty());
    }
}

TEST_F(MaintenancePages, EepromFailuresAreReportedAndTheResetStopsWhereItFailed) {
    Open(2);
    StoreCounter(300, 10, 5, 2);
    ChangePrinter("VTUSB001",
                  [](vprinter::PrinterConfig& config) { config.readFaults[0x2B] = 0x2000; });
    EXPECT_TRUE(Read().startsWith(kCommunication));
    EXPECT_EQ(Reads(), (std::vector<int>{0x0D, 0x0C, 0x2B}));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Adjust().isEnabled());

    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults.clear();
        config.writeFaults[0x2B] = 0x2000;
    });
    ClearTrace();
    Press("ProCounterClearBtn");
    EXPECT_EQ(Writes(), (std::vector<AddressValue>{{0x0D, 0}, {0x0C, 0}, {0x2B, 0}}));
    EXPECT_TRUE(StatusText().startsWith(kCommunication));
    EXPECT_EQ(Adjust().AdjustedValue("ShowProCounterPnl"), QString());
    // What was zeroed before the failure stays zeroed.
    const vprinter::Eeprom eeprom = Eeprom();
    EXPECT_EQ(eeprom[0x0C], 0);
    EXPECT_EQ(eeprom[0x0D], 0);
    EXPECT_EQ(eeprom[0x2B], 10);
    EXPECT_EQ(eeprom[0x3E], 5);
    EXPECT_EQ(eeprom[0x3F], 2);

    // A failing readiness wait ends either action before the EEPROM is touched.
    for (const char* button : {"ProCounterCheckBtn", "ProCounterClearBtn"}) {
        ClearTrace();
        FailNextCall("InquireStatus", ResultPortNoResponse);
        Press(button);
        EXPECT_TRUE(Reads().empty()) << button;
        EXPECT_TRUE(Writes().empty()) << button;
        EXPECT_TRUE(StatusText().startsWith(kCommunication)) << button;
    }
}

}  // namespace
