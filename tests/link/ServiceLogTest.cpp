// What the link and the command packets leave in the service log: one record
// for every write the printer was handed, with the printer it went to.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/Dllfunction.h"
#include "link/PrintModes.h"
#include "link/ResultCodes.h"
#include "link/Rk7factory.h"
#include "support/ListServiceLog.h"
#include "support/PrintJobFixture.h"

namespace {

using Lines = std::vector<std::string>;

class ServiceLog : public testing_support::PrintJobTest {
  protected:
    void SetUp() override {
        PrintJobTest::SetUp();
        orvane::LocalDateTime now{2026, 12, 7, 10, 0, 0};
        now.utcOffsetMinutes = 60;
        Clock().SetNow(now);
        Link().AttachServiceLog(&log_, &Clock());
        Link().SetLogSubject("VTUSB001", "Orvane K31");
    }

    Lines RecordedBy(const std::function<void()>& action) {
        log_.records.clear();
        action();
        return log_.Lines();
    }

    testing_support::ListServiceLog log_;
    TPFactory factory_{Link(), status_, Clock()};
};

TEST_F(ServiceLog, EachValuePacketIsRecordedByTheValueItSets) {
    struct Case {
        std::function<uint16_t(TPFactory&)> send;
        Lines expected;
    };
    const Case cases[] = {
        {[](TPFactory& f) { return f.SendBidValue(SelectColour, ModeVsd2, -5); },
         {"bid bid-vsd2-color -5"}},
        {[](TPFactory& f) { return f.SendBidValue(SelectBlack, ModeEco, 36); },
         {"bid bid-eco-black 36"}},
        {[](TPFactory& f) { return f.SendBidValue(SelectBlack, ModeVsd3, 0); },
         {"bid bid-vsd3-black 0"}},
        {[](TPFactory& f) { return f.SendPfValue(1, 0xFD); }, {"pf pf-black -3"}},
        {[](TPFactory& f) { return f.SendPfValue(0, 4); }, {"pf pf-color 4"}},
        {[](TPFactory& f) { return f.SendHeadAngularValue(0xFD); },
         {"head-angular head-angular -3"}},
        {[](TPFactory& f) { return f.SendTopMarginValue(0x02); }, {"top-margin top-margin 2"}},
        {[](TPFactory& f) { return f.SendFirstDotValue(-127); }, {"first-dot first-dot -127"}},
        {[](TPFactory& f) { return f.SendStoreCommand(); }, {"store  "}},
        // Sets no value.
        {[](TPFactory& f) { return f.StartMaintenanceSequence(TPFactory::SequenceCleaning); }, {}},
    };
    for (const Case& c : cases) {
        const Lines lines = RecordedBy([&] { EXPECT_EQ(c.send(factory_), ResultOk); });
        EXPECT_EQ(lines, c.expected);
        for (const ServiceLogRecord& record : log_.records) {
            EXPECT_EQ(record.time, "2026-12-07T10:00:00+01:00");
            EXPECT_EQ(record.port, "VTUSB001");
            EXPECT_EQ(record.model, "Orvane K31");
            EXPECT_EQ(record.result, "ok");
        }
    }
    // Refused before the send: nothing reached the printer, nothing is logged.
    ClearTrace();
    EXPECT_TRUE(RecordedBy([&] { factory_.SendBidValue(SelectBlack, ModeVsd1, 128); }).empty());
    EXPECT_TRUE(RecordedBy([&] { factory_.SendFirstDotValue(128); }).empty());
    EXPECT_TRUE(Sends().empty());
}

// The virtual printer writes a Bi-D value to its EEPROM as it comes, but
// holds the other values until a store: a pattern's Bi-D test values change
// the board, its PF test values do not.
TEST_F(ServiceLog, APatternsTestValuesAreRecordedOnlyWhereThePrinterKeepsThem) {
    const Lines lines = RecordedBy([&] {
        const TPFactory::PatternValues testValues(factory_);
        factory_.SendBidValue(SelectBlack, ModeVsd1, 7);
        factory_.SendPfValue(1, 3);
    });
    EXPECT_EQ(lines, Lines{"bid-test bid-vsd1-black 7"});
    EXPECT_EQ(Eeprom()[0x34], 7) << "the printer kept the test value";
    EXPECT_EQ(RecordedBy([&] { factory_.SendPfValue(1, 3); }), Lines{"pf pf-black 3"})
        << "outside a pattern a PF value is recorded again";
}

// A pattern print is one record, at its end: the Bi-D test values the
// printer wrote meanwhile are counted in it, not recorded one by one; a print
// inside another belongs to the outer one; one that ended without sending
// (no Done) leaves nothing; the record carries the print's result. The
// stored values written during a print are still recorded as they go.
TEST_F(ServiceLog, APatternPrintIsOneRecordAtItsEnd) {
    const auto testValues = [&](int count) {
        const TPFactory::PatternValues values(factory_);
        for (int i = 0; i < count; ++i) {
            factory_.SendBidValue(SelectBlack, ModeVsd1, i);
        }
    };
    struct Case {
        const char* what;
        std::function<void()> run;
        Lines expected;
        const char* result;
    };
    const Case cases[] = {
        {"test values",
         [&] {
             TPDLLFunction::PatternPrint print(Link(), "bid");
             testValues(3);
             print.Done(ResultOk);
         },
         {"pattern bid 3 Bi-D test values"},
         "ok"},
        {"none",
         [&] {
             TPDLLFunction::PatternPrint print(Link(), "head-angular");
             print.Done(ResultOk);
         },
         {"pattern head-angular "},
         "ok"},
        {"nested",
         [&] {
             TPDLLFunction::PatternPrint sheet(Link(), "photo-sheet");
             testValues(1);
             {
                 TPDLLFunction::PatternPrint inner(Link(), "first-dot");
                 testValues(1);
                 inner.Done(ResultOk);
             }
             sheet.Done(ResultOk);
         },
         {"pattern photo-sheet 2 Bi-D test values"},
         "ok"},
        {"nothing sent", [&] { TPDLLFunction::PatternPrint print(Link(), "bid"); }, {}, ""},
        {"failed",
         [&] {
             TPDLLFunction::PatternPrint print(Link(), "pf-black");
             print.Done(0x2000);
         },
         {"pattern pf-black "},
         "0x2000"},
        {"a value stored meanwhile",
         [&] {
             TPDLLFunction::PatternPrint print(Link(), "bid");
             factory_.SendBidValue(SelectBlack, ModeVsd1, 1);
             testValues(1);
             print.Done(ResultOk);
         },
         {"bid bid-vsd1-black 1", "pattern bid 1 Bi-D test value"},
         "ok"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RecordedBy(c.run), c.expected);
        if (!log_.records.empty()) {
            EXPECT_EQ(log_.records.back().result, c.result);
            EXPECT_EQ(log_.records.back().port, "VTUSB001");
        }
    }
    EXPECT_EQ(RecordedBy([&] { testValues(1); }), Lines{"bid-test bid-vsd1-black 0"})
        << "a generator run alone still records its test values";
}

TEST_F(ServiceLog, EepromWritesCarryTheOperationTheyBelongTo) {
    EXPECT_EQ(RecordedBy([&] { Link().D4WriteEeprom(0x56, 0x36); }),
              Lines{"eeprom-write 0x56 0x36"});
    const Lines nested = RecordedBy([&] {
        const TPDLLFunction::ServiceOperation outer(Link(), servicelog::Restore);
        Link().D4WriteEeprom(0x04, 0xA0);
        {
            const TPDLLFunction::ServiceOperation inner(Link(), servicelog::Market);
            Link().D4WriteEeprom(0x6E, 0x00);
        }
        Link().D4WriteEeprom(0x05, 0x0B);
    });
    EXPECT_EQ(nested, (Lines{"restore 0x04 0xA0", "restore 0x6E 0x00", "restore 0x05 0x0B"}))
        << "a write inside another operation belongs to the outer one";
    EXPECT_EQ(RecordedBy([&] { Link().D4WriteEeprom(0x57, 0x01); }),
              Lines{"eeprom-write 0x57 0x01"})
        << "the operation ends with its scope";
}

TEST_F(ServiceLog, AFailedWriteCarriesItsCodeAndAnUnsentOneIsNotRecorded) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.writeFaults[0x42] = ResultChannelError;
    });
    RecordedBy([&] { EXPECT_EQ(Link().D4WriteEeprom(0x42, 0x10), ResultChannelError); });
    ASSERT_EQ(log_.records.size(), 1u);
    EXPECT_EQ(log_.records[0].result, "0x2000");

    ChangeLibrary(
        [](vprinter::LibraryConfig& config) { config.missingExports.insert("D4WriteEeprom"); });
    EXPECT_TRUE(RecordedBy([&] { Link().D4WriteEeprom(0x43, 0x10); }).empty());
}

TEST_F(ServiceLog, RecordsCarryTheUsbIdOnlyUntilTheLinkIsOpenedAgain) {
    const auto usbIdOfNextRecord = [this] {
        RecordedBy([&] { Link().D4WriteEeprom(0x56, 0x36); });
        return log_.records.at(0).usbId;
    };
    EXPECT_EQ(usbIdOfNextRecord(), "") << "not read yet";
    Link().NoteUsbId("A1B2C3D4E5435E7F30");
    EXPECT_EQ(usbIdOfNextRecord(), "A1B2C3D4E5435E7F30");
    ASSERT_EQ(OpenLink("VTUSB002"), ResultOk);
    EXPECT_EQ(usbIdOfNextRecord(), "") << "another printer, perhaps";
    Link().NoteUsbId("A1B2C3D4E5435E7F30");
    Link().SetLogSubject("VTUSB002", "Orvane K32");
    EXPECT_EQ(usbIdOfNextRecord(), "");
    EXPECT_EQ(log_.records.at(0).model, "Orvane K32");
}

TEST_F(ServiceLog, ALostRecordNeverStopsTheWriteAndIsToldOnce) {
    log_.fails = true;
    std::string reason;
    EXPECT_FALSE(Link().TakeServiceLogFailure(reason)) << "nothing lost yet";
    EXPECT_EQ(Link().D4WriteEeprom(0x56, 0x36), ResultOk);
    EXPECT_EQ(factory_.SendBidValue(SelectBlack, ModeVsd1, 4), ResultOk);
    EXPECT_EQ(Eeprom()[0x56], 0x36);
    EXPECT_EQ(Eeprom()[0x34], 4);
    EXPECT_EQ(log_.lost, 2);
    ASSERT_TRUE(Link().TakeServiceLogFailure(reason));
    EXPECT_EQ(reason, "No space left on device");
    Link().D4WriteEeprom(0x56, 0x36);
    EXPECT_FALSE(Link().TakeServiceLogFailure(reason)) << "told once";
}

// The accepted writes are what the printer took, in order, with or without a
// log: neither a write it failed, nor one refused before the send, nor a dry
// run's. The restart and a maintenance sequence, which are not logged, are
// accepted writes too.
TEST_F(ServiceLog, TheAcceptedWritesAreWhatThePrinterTook) {
    Link().AttachServiceLog(nullptr);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.writeFaults[0x42] = ResultChannelError;
    });
    const TPDLLFunction::AcceptedWrites accepted(Link());
    {
        const TPDLLFunction::ServiceOperation operation(Link(), servicelog::HeadId);
        EXPECT_EQ(Link().D4WriteEeprom(0x56, 0x36), ResultOk);
        EXPECT_EQ(Link().D4WriteEeprom(0x42, 0x10), ResultChannelError);
    }
    EXPECT_EQ(factory_.SendPfValue(1, 0xFD), ResultOk);
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["SendDataChannel"] = {1, ResultOutOfMemory, std::nullopt};
    });
    EXPECT_EQ(factory_.SendStoreCommand(), ResultOutOfMemory);
    EXPECT_EQ(factory_.SendBidValue(SelectBlack, ModeVsd1, 128), ResultCommandError);
    EXPECT_EQ(factory_.StartMaintenanceSequence(TPFactory::SequenceCleaning), ResultOk);
    EXPECT_EQ(Link().D4Reset(), ResultOk);
    Link().StartDryRun();
    Link().D4WriteEeprom(0x57, 0x01);
    factory_.SendStoreCommand();
    factory_.StartMaintenanceSequence(TPFactory::SequenceInkCharge);
    Link().D4Reset();
    const std::vector<AcceptedWrite> expected = {{"head-id", "0x56", "0x36"},
                                                 {"pf", "pf-black", "-3"},
                                                 {"sequence", "cleaning", ""},
                                                 {"reset", "", ""}};
    EXPECT_EQ(accepted.List(), expected);
}

}  // namespace
