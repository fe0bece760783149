#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "PageFixture.h"
#include "app/QtMessageBox.h"
#include "app/pages/EepromReadoutPage.h"
#include "link/ResultCodes.h"
#include "vprinter/DumpImage.h"

namespace {

using testing_support::PageTest;
using testing_support::ReadFile;

const char* const kDumpCompleted = "This function has been completed properly.";

class EepromDumpPage : public PageTest {
  protected:
    void SetUp() override { OpenPage("AppendixRdoGrp", 0); }
    // Saves a dump into name in the test's folder; returns the file's bytes.
    std::string Dump(const std::string& name = "saved.eep") {
        SaveDialogs().answers.push_back(Data() / name);
        Press("EepromReadoutBtn");
        return ReadFile(Data() / name);
    }
    static std::vector<uint8_t> Bytes(const std::string& file) {
        return std::vector<uint8_t>(file.begin(), file.end());
    }
    // Every text the status line shows from now on.
    void RecordStatusTexts() {
        QObject::connect(Find<QPlainTextEdit>(Adjust(), "StatusMemo"), &QPlainTextEdit::textChanged,
                         [this] { texts.push_back(StatusText()); });
    }
    std::vector<QString> texts;
};

TEST_F(EepromDumpPage, TheProgressLineFollowsEachRead) {
    RecordStatusTexts();
    Dump();
    EXPECT_EQ(Reads().size(), 256u);
    for (int a = 0; a < 256; ++a) {
        ASSERT_EQ(Reads()[static_cast<size_t>(a)], a);
    }
    std::vector<QString> progress;
    for (const QString& text : texts) {
        if (text.startsWith("Reading now...\n")) {
            progress.push_back(text.mid(15));
        }
    }
    ASSERT_EQ(progress.size(), 256u);
    EXPECT_EQ(progress[0], QStringLiteral("0%"));
    EXPECT_EQ(progress[127], QStringLiteral("50%"));
    EXPECT_EQ(progress[255], QStringLiteral("100%"));
    for (size_t a = 0; a < progress.size(); ++a) {
        EXPECT_EQ(progress[a], QString::number((a + 1) * 100 / 256) + "%") << a;
    }
    EXPECT_EQ(StatusText(), QString(kDumpCompleted));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
}

TEST_F(EepromDumpPage, TheDumpIsSavedAfterAPauseWithTheDialogsOptions) {
    Clock().ClearSleeps();
    QString shownWhileAsked;
    bool lockedWhileAsked = false;
    SaveDialogs().onShow = [&](const orvane::SaveDialogOptions&) {
        shownWhileAsked = StatusText();
        lockedWhileAsked = !Adjust().isEnabled();
    };
    const std::string file = Dump();
    EXPECT_EQ(file.size(), 1024u);
    EXPECT_EQ(Clock().Sleeps(), std::vector<uint32_t>{200});
    EXPECT_EQ(shownWhileAsked, QStringLiteral("Saving now..."));
    EXPECT_TRUE(lockedWhileAsked);

    ASSERT_EQ(SaveDialogs().shown.size(), 1u);
    const orvane::SaveDialogOptions& options = SaveDialogs().shown[0];
    EXPECT_EQ(options.defaultExtension, "eep");
    EXPECT_EQ(options.filter, "EEP files (*.eep)|*.eep");
    EXPECT_TRUE(options.overwritePrompt);
    EXPECT_TRUE(options.hideReadOnly);
    EXPECT_TRUE(options.resizable);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(EepromDumpPage, ASavedDumpDecodesToThePrintersEeprom) {
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
        for (size_t a = 0; a < eeprom.size(); ++a) {
            eeprom[a] = static_cast<uint8_t>(255 - a);
        }
        eeprom[0] = 0xA5;
    });
    const std::vector<uint8_t> image = Bytes(Dump());
    ASSERT_EQ(image.size(), 1024u);
    // 0xA5 at address 0: its nibbles 0x0A and 0x50, raised by 7k + 3.
    EXPECT_EQ(image[1], 0x14);
    EXPECT_EQ(image[2], 0x61);
    vprinter::Eeprom decoded{};
    std::string reason;
    ASSERT_TRUE(vprinter::DecodeDumpImage(image, decoded, reason)) << reason;
    EXPECT_EQ(decoded, Eeprom());
}

TEST_F(EepromDumpPage, DumpsDifferOnlyInTheirRandomBytesWhichFollowTheClock) {
    Clock().SetNow({2026, 12, 7, 10, 0, 0});
    const std::vector<uint8_t> first = Bytes(Dump("first.eep"));
    Clock().SetNow({2026, 12, 7, 10, 0, 1});
    const std::vector<uint8_t> second = Bytes(Dump("second.eep"));
    Clock().SetNow({2026, 12, 7, 10, 0, 0});
    const std::vector<uint8_t> again = Bytes(Dump("again.eep"));
    ASSERT_EQ(first.size(), 1024u);
    ASSERT_EQ(second.size(), 1024u);
    int differences = 0;
    for (size_t k = 0; k < first.size(); ++k) {
        if (first[k] != second[k]) {
            EXPECT_EQ(k % 4, 0u) << k;
            ++differences;
        }
    }
    EXPECT_GT(differences, 0);
    // The generator is seeded from the clock: the same second, the same dump.
    EXPECT_EQ(again, first);
}

TEST_F(EepromDumpPage, CancellingAsksWhetherToAbort) {
    SaveDialogs().answers = {std::nullopt};
    Boxes().answers = {orvane::MessageAnswer::Ok};
    Press("EepromReadoutBtn");
    ASSERT_EQ(Boxes().shown.size(), 1u);
    const orvane::MessageRequest& box = Boxes().shown[0];
    EXPECT_EQ(box.text, "Do you want to abort this function?");
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.icon, orvane::MessageIcon::Question);
    // Without a caption of its own a question is captioned as one.
    EXPECT_EQ(orvane_app::QtMessageBox::Caption(box), QStringLiteral("Confirm"));
    EXPECT_EQ(box.buttons, orvane::MessageButtons::OkCancel);
    EXPECT_EQ(SaveDialogs().shown.size(), 1u);
    EXPECT_EQ(StatusText(), QStringLiteral("This function was aborted."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
}

TEST_F(EepromDumpPage, NotAbortingShowsTheDialogAgain) {
    SaveDialogs().answers = {std::nullopt, std::nullopt, Data() / "late.eep"};
    Boxes().answers = {orvane::MessageAnswer::Cancel, orvane::MessageAnswer::Cancel};
    Press("EepromReadoutBtn");
    EXPECT_EQ(SaveDialogs().shown.size(), 3u);
    EXPECT_EQ(Boxes().shown.size(), 2u);
    EXPECT_EQ(ReadFile(Data() / "late.eep").size(), 1024u);
    EXPECT_EQ(StatusText(), QString(kDumpCompleted));
}

TEST_F(EepromDumpPage, AFileThatCannotBeWrittenAsksForAnotherName) {
    SaveDialogs().answers = {Data() / "no such folder/saved.eep", Data().Path(),
                             Data() / "saved.eep"};
    Press("EepromReadoutBtn");
    EXPECT_EQ(SaveDialogs().shown.size(), 3u);
    ASSERT_EQ(Boxes().shown.size(), 2u);
    for (const orvane::MessageRequest& box : Boxes().shown) {
        EXPECT_EQ(box.text, "Cannot access to file.");
        EXPECT_EQ(box.caption, "");
        EXPECT_EQ(box.icon, orvane::MessageIcon::Error);
        EXPECT_EQ(box.buttons, orvane::MessageButtons::Ok);
        EXPECT_EQ(orvane_app::QtMessageBox::Caption(box), QStringLiteral("Error"));
    }
    EXPECT_EQ(ReadFile(Data() / "saved.eep").size(), 1024u);
    EXPECT_EQ(StatusText(), QString(kDumpCompleted));
}

TEST_F(EepromDumpPage, AFailedReadStopsTheDump) {
    ChangePrinter("VTUSB001",
                  [](vprinter::PrinterConfig& config) { config.readFaults[0x80] = 0x2000; });
    Press("EepromReadoutBtn");
    EXPECT_EQ(Reads().size(), 0x81u);
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_TRUE(SaveDialogs().shown.empty());
    EXPECT_TRUE(Adjust().isEnabled());
}

TEST_F(EepromDumpPage, APrinterInItsErrorStateIsStillDumped) {
    SetPrinterState(0, 6);
    EXPECT_EQ(Dump().size(), 1024u);
    EXPECT_EQ(StatusText(), QString(kDumpCompleted));
    // Another failure of the wait ends the handler before any read.
    ClearTrace();
    SetPrinterState(4);
    FailNextCall("InquireStatus", ResultChannelError);
    Press("EepromReadoutBtn");
    EXPECT_TRUE(Reads().empty());
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
}

}  // namespace
