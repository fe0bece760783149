#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/TempFolder.h"
#include "tray/PageShelf.h"
#include "vprinter/PageFiles.h"
#include "vprinter/Store.h"

namespace tray_test {

// A state folder of its own with printers that print small pages through
// the virtual printer's own page writer.
class TrayTest : public ::testing::Test {
  protected:
    static constexpr int64_t kRows = 400;  // a short sheet: 2880 x 400

    void AddPrinter(const std::string& port) {
        std::string reason;
        ASSERT_TRUE(store_.CreatePrinter(port, "Orvane K31", reason)) << reason;
    }

    // Prints a page (2880 x rows) with a mark in its top left corner; its
    // file name.
    std::string Print(const std::string& port, int64_t rows = kRows) {
        vprinter::Page page(rows);
        page.Mark(vprinter::Ink::Black, 0, 0, 3);
        std::string error;
        EXPECT_TRUE(vprinter::SavePage(store_.PagesFolder(port), page, error)) << error;
        return page.name;
    }

    std::string PagesFolder(const std::string& port) const { return store_.PagesFolder(port); }

    // "PORT/page-0001.png" for each page, in the shelf's order.
    static std::vector<std::string> Listed(const tray::PageShelf& shelf) {
        std::vector<std::string> names;
        for (const auto& page : shelf.Pages()) {
            names.push_back(page.port + "/" + page.name);
        }
        return names;
    }

    testing_support::TempFolder folder_;
    vprinter::Store store_{folder_.Path()};
};

}  // namespace tray_test
