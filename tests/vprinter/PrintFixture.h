#pragma once

// A virtual printer on the real libraries, with helpers to send print data
// and to compare printed pages pixel for pixel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StreamBuilder.h"
#include "link/PrinterStatus.h"
#include "link/ResultCodes.h"
#include "support/LinkFixture.h"
#include "vprinter/Page.h"

namespace vprinter_test {

class PrintTest : public testing_support::VirtualPrinterTest {
  protected:
    void SetUp() override { ASSERT_EQ(OpenLink(), ResultOk); }

    uint16_t Send(const std::vector<uint8_t>& bytes) {
        return Link().SendDataChannel(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    uint16_t Send(const Stream& stream) { return Send(stream.bytes); }
    // Sends the stream in calls of at most chunk bytes; the first failure ends it.
    uint16_t SendInPieces(const Stream& stream, size_t chunk) {
        for (size_t at = 0; at < stream.bytes.size(); at += chunk) {
            const size_t n = std::min(chunk, stream.bytes.size() - at);
            const uint16_t result =
                Link().SendDataChannel(stream.bytes.data() + at, static_cast<uint32_t>(n));
            if (result != ResultOk) {
                return result;
            }
        }
        return ResultOk;
    }
    uint16_t ChannelError() {
        uint16_t code = 0;
        Link().GetD4ErrorCode(code);
        return code;
    }
    PrinterStatus Status() {
        PrinterStatus record;
        EXPECT_EQ(Link().InquireStatus(record.Bytes()), ResultOk);
        return record;
    }

    // The last page ejected by the printer on port.
    const vprinter::Page& LastPage(const std::string& port = "VTUSB001") {
        static const vprinter::Page none(1);
        const auto* pages = Printers().PrintedPages(port);
        if (pages == nullptr || pages->empty()) {
            ADD_FAILURE() << "no page printed on " << port;
            return none;
        }
        return pages->back();
    }
    size_t PagesPrinted(const std::string& port = "VTUSB001") {
        const auto* pages = Printers().PrintedPages(port);
        return pages == nullptr ? 0 : pages->size();
    }
    // The notes of the faults the printer recorded.
    std::vector<std::string> Faults() const {
        std::vector<std::string> notes;
        for (const auto& entry : Calls("fault")) {
            notes.push_back(entry.note);
        }
        return notes;
    }
    // Lets the printer finish printing what it ejected.
    void WaitPrinted() { Clock().Sleep(vprinter::Host::kPagePrintMilliseconds); }
};

// Every pixel of both pages; the first differences are named.
inline ::testing::AssertionResult SamePixels(const vprinter::Page& actual,
                                             const vprinter::Page& expected) {
    if (actual.Rows() != expected.Rows()) {
        return ::testing::AssertionFailure()
               << "the page has " << actual.Rows() << " rows instead of " << expected.Rows();
    }
    size_t differences = 0;
    std::string shown;
    for (int64_t row = 0; row < actual.Rows(); ++row) {
        for (int64_t column = 0; column < vprinter::Page::kColumns; ++column) {
            const int a = actual.Pixel(row, column);
            const int e = expected.Pixel(row, column);
            if (a != e && ++differences <= 8) {
                shown += " (" + std::to_string(row) + "," + std::to_string(column) +
                         "): " + std::to_string(a) + " instead of " + std::to_string(e) + ";";
            }
        }
    }
    if (differences == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << differences << " pixels differ:" << shown;
}

}  // namespace vprinter_test
