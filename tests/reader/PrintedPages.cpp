#include "PrintedPages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "adjust/Rk7bid.h"
#include "adjust/StoredValues.h"
#include "link/ResultCodes.h"
#include "link/Rk7remotecomm.h"
#include "pattern/CheckSheetFixture.h"
#include "pattern/PatternFixture.h"
#include "vprinter/Font.h"
#include "vprinter/Misregistration.h"
#include "vprinter/Packet.h"
#include "vprinter/Png.h"
#include "vprinter/PrintEngine.h"

namespace reader_testing {

namespace {

using vprinter::Mechanism;
using vprinter::MechanismQuantities;

// The generators, run once on the virtual printer with every adjustment value
// stored 0.
class StreamCapture : public testing_support::PatternTest {
  public:
    void TestBody() override {}

    std::vector<PageStream> Capture() {
        SetUp();
        ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
            for (const auto& quantity : MechanismQuantities()) {
                eeprom[quantity.address] = 0;
            }
        });
        std::vector<PageStream> pages;
        const auto take = [&](const char* page, const std::string& quantity,
                              const std::string& name, uint16_t result, bool eject, int stored) {
            EXPECT_EQ(result, ResultOk) << quantity;
            if (eject) {
                EXPECT_EQ(raster_.EjectPage(), ResultOk) << quantity;
            }
            std::vector<uint8_t> bytes;
            for (const auto& send : AcceptedSends()) {
                bytes.insert(bytes.end(), send.begin(), send.end());
            }
            ClearTrace();
            pages.push_back({page, quantity, name, std::move(bytes), stored});
        };
        // Each Bi-D item alone, as the window prints it, around a stored
        // value of its own.
        constexpr BidStored kStored = {3, -2, 11, -9, -4, 8, 5, -7};
        ChangeEeprom("VTUSB001", [&](vprinter::Eeprom& eeprom) {
            for (size_t i = 0; i < TPBid::kItems.size(); ++i) {
                eeprom[TPBid::kItems[i].address] = static_cast<uint8_t>(kStored[i]);
            }
        });
        ClearTrace();
        TPBid bid(Link(), factory_, raster_, pattern_);
        for (size_t i = 0; i < BidItems().size(); ++i) {
            BidFlags flags{};
            flags[i] = true;
            take("bid", BidItems()[i], BidItems()[i], bid.PrintBidPattern(flags), false,
                 kStored[i]);
        }
        // As its page prints it: its remote setting first, then the pattern
        // and the eject.
        TPRemoteComm remote(raster_);
        take("head-angular", "head-angular", "head-angular",
             adjust::PrintHeadAngularPage(remote, pattern_, raster_), false, 0);
        take("pf-black", "pf-black", "pf-black", pattern_.PrintPfBlackPattern(), true, 0);
        take("pf-color", "pf-color", "pf-color", pattern_.PrintPfColorPattern(), true, 0);
        take("top-margin", "top-margin", "top-margin", pattern_.PrintTopMarginPattern(0), true, 0);
        take("first-dot", "first-dot", "first-dot", pattern_.PrintFirstDotPattern(), false, 0);
        TearDown();
        return pages;
    }
};

// The Bi-D page of the adjustment window at given stored values.
class BidCapture : public testing_support::PatternTest {
  public:
    void TestBody() override {}

    std::vector<uint8_t> Capture(const BidFlags& flags, const BidStored& stored) {
        SetUp();
        ChangeEeprom("VTUSB001", [&](vprinter::Eeprom& eeprom) {
            for (size_t i = 0; i < TPBid::kItems.size(); ++i) {
                eeprom[TPBid::kItems[i].address] = static_cast<uint8_t>(stored[i]);
            }
        });
        ClearTrace();
        TPBid bid(Link(), factory_, raster_, pattern_);
        EXPECT_EQ(bid.PrintBidPattern(flags), ResultOk);
        std::vector<uint8_t> bytes;
        for (const auto& send : AcceptedSends()) {
            bytes.insert(bytes.end(), send.begin(), send.end());
        }
        TearDown();
        return bytes;
    }
};

// The photo-paper sheet, printed once with every adjustment value stored 0.
class SheetCapture : public testing_support::CheckSheetTest {
  public:
    void TestBody() override {}

    std::vector<uint8_t> Capture() {
        SetUp();
        StoreBytes({});
        ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
            for (const auto& quantity : MechanismQuantities()) {
                eeprom[quantity.address] = 0;
            }
        });
        ClearTrace();
        EXPECT_EQ(sheet_.PrintPhotoPaperSheet(), ResultOk);
        std::vector<uint8_t> bytes;
        for (const auto& send : AcceptedSends()) {
            bytes.insert(bytes.end(), send.begin(), send.end());
        }
        TearDown();
        return bytes;
    }
};

// The printer's side of the stream: packets set the values in force, as the
// virtual printer does.
class Printer final : public vprinter::PrintEngine::Owner {
  public:
    Printer(const Mechanism& mechanism, const vprinter::Eeprom& eeprom)
        : mechanism_(mechanism), eeprom_(eeprom) {
        Update();
    }

    void Fault(uint64_t offset, const std::string& note) override {
        ADD_FAILURE() << "fault at " << offset << ": " << note;
    }
    void Packet(uint64_t, const vprinter::PacketCommand& command) override {
        using Kind = vprinter::PacketCommand::Kind;
        if (command.kind == Kind::Bid) {
            eeprom_[command.Address()] = static_cast<uint8_t>(command.value);
        } else if (command.kind == Kind::Store) {
            for (const auto& [address, value] : kept_) {
                eeprom_[address] = value;
            }
            kept_.clear();
        } else if (command.kind != Kind::Maintenance) {
            kept_[command.Address()] = static_cast<uint8_t>(command.value);
        }
        Update();
    }
    // The head angular page's setting prints its sheet without the tilt
    // correction.
    void RemoteSetting(uint64_t, const uint8_t* table) override {
        tiltCheck_ = vprinter::IsHeadAngularCheck(table);
        Update();
    }
    void SheetTaken(vprinter::Page& sheet) override {
        sheet.stored = vprinter::ValuesInForce(eeprom_, kept_, tiltCheck_);
    }
    // The engine is dropped after the stream: its pages are taken, not copied.
    void PagePrinted(vprinter::Page& page) override {
        pages.push_back(std::move(page));
        tiltCheck_ = false;
        Update();
    }

    void Print(const std::vector<uint8_t>& bytes) {
        engine_.SetCommandCode(11, 84);
        engine_.Feed(bytes.data(), bytes.size(), *this);
    }

    std::vector<vprinter::Page> pages;

  private:
    void Update() {
        engine_.SetMisregistration(
            vprinter::MisregistrationOf(mechanism_, eeprom_, kept_, tiltCheck_));
    }

    Mechanism mechanism_;
    vprinter::Eeprom eeprom_{};
    std::map<uint8_t, uint8_t> kept_;
    bool tiltCheck_ = false;
    vprinter::PrintEngine engine_;
};

}  // namespace

const std::vector<PageStream>& AdjustmentPages() {
    static const std::vector<PageStream> pages = [] {
        StreamCapture capture;
        return capture.Capture();
    }();
    return pages;
}

std::vector<uint8_t> BidPage(const BidFlags& flags, const BidStored& stored) {
    BidCapture capture;
    return capture.Capture(flags, stored);
}

const std::array<const char*, 8>& BidItems() {
    static const std::array<const char*, 8> items = {
        "bid-vsd1-black", "bid-vsd1-color", "bid-vsd2-black", "bid-vsd2-color",
        "bid-vsd3-black", "bid-vsd3-color", "bid-eco-black",  "bid-eco-color"};
    return items;
}

const std::vector<uint8_t>& PhotoSheet() {
    static const std::vector<uint8_t> bytes = [] {
        SheetCapture capture;
        return capture.Capture();
    }();
    return bytes;
}

Mechanism ForPage(const Mechanism& mechanism, const PageStream& stream) {
    Mechanism shifted = mechanism;
    int8_t& error = shifted.errors[static_cast<size_t>(vprinter::MechanismIndex(stream.quantity))];
    error = static_cast<int8_t>(error + stream.stored);
    return shifted;
}

int TrueValue(const Mechanism& mechanism, const std::string& quantity, bool onSheet) {
    const int error = mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex(quantity))];
    const bool once = quantity == "top-margin" || quantity == "first-dot";
    return !onSheet || once || quantity == "head-angular" ? error : std::clamp(error, -1, 1);
}

int BeyondSheet(const Mechanism& mechanism, const std::string& quantity) {
    const int error = mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex(quantity))];
    return TrueValue(mechanism, quantity, true) == error ? 0 : (error > 0 ? 1 : -1);
}

bool ReadsRight(const reader::Reading& reading, int truth, int beyond) {
    if (beyond != 0) {
        return !reading.sure && reading.direction == beyond && reading.value == truth;
    }
    return reading.sure && !reading.ng && reading.value == truth;
}

std::vector<vprinter::Page> PrintOn(const Mechanism& mechanism, const std::vector<uint8_t>& bytes,
                                    const vprinter::Eeprom& stored) {
    Printer printer(mechanism, stored);
    printer.Print(bytes);
    return std::move(printer.pages);
}

cv::Mat Picture(const vprinter::Page& page) {
    // One picture, drawn anew for each page: pages are large and many.
    static cv::Mat picture;
    picture.create(static_cast<int>(page.Rows()), static_cast<int>(vprinter::Page::kColumns),
                   CV_8UC3);
    std::memset(picture.data, 0xFF, picture.total() * picture.elemSize());  // white paper
    const auto& palette = vprinter::PagePalette();
    for (int row = 0; row < picture.rows; ++row) {
        const uint8_t* dots = page.Row(row);
        if (dots == nullptr) {
            continue;
        }
        auto* pixel = picture.ptr<uint8_t>(row);
        for (int column = 0; column < picture.cols; ++column, pixel += 3) {
            const auto& rgb = palette[dots[column]];
            pixel[0] = rgb[2];
            pixel[1] = rgb[1];
            pixel[2] = rgb[0];
        }
    }
    return picture;
}

cv::Mat TextPage() {
    constexpr int kColumns = 78;
    constexpr int kLines = 40;
    constexpr int kTop = 42;
    const std::string words =
        "Nozzle check, ink levels and the head's counters as the printer keeps them; "
        "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz. ";
    cv::Mat page(4208, static_cast<int>(vprinter::Page::kColumns), CV_8UC3, cv::Scalar::all(255));
    for (int line = 0; line < kLines; ++line) {
        for (int column = 0; column < kColumns; ++column) {
            const char character = words[static_cast<size_t>(line * 7 + column) % words.size()];
            const vprinter::Glyph& glyph = vprinter::GlyphOf(character);
            const int left = 36 * column + vprinter::kGlyphLeft;
            const int top = kTop + 60 * line + vprinter::kGlyphTop;
            for (int row = 0; row < vprinter::kGlyphRows; ++row) {
                for (int dot = 0; dot < vprinter::kGlyphColumns; ++dot) {
                    if ((glyph.rows[row] >> (vprinter::kGlyphColumns - 1 - dot) & 1) != 0) {
                        page(cv::Rect(left + dot * vprinter::kGlyphScale,
                                      top + row * vprinter::kGlyphScale, vprinter::kGlyphScale,
                                      vprinter::kGlyphScale))
                            .setTo(cv::Scalar::all(0));
                    }
                }
            }
        }
    }
    return page;
}

const reader::Reading* Named(const reader::PageReading& page, const std::string& name) {
    for (const auto& reading : page.readings) {
        if (reading.name == name) {
            return &reading;
        }
    }
    return nullptr;
}

}  // namespace reader_testing
