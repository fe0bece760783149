#include "pattern/Rk7checkpattern.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "eeprom/EepromMap.h"
#include "eeprom/Rk7eeprom.h"
#include "eeprom/Rk7headid.h"
#include "eeprom/Rk7usbid.h"
#include "eeprom/WasteInkCounter.h"
#include "link/Dllfunction.h"
#include "link/PrintModes.h"
#include "link/ResultCodes.h"
#include "link/Rk7remotecomm.h"
#include "link/Rk7statuscontrol.h"
#include "pattern/Rk7pattern.h"
#include "pattern/Rk7raster.h"

namespace {

// Captions of the normal-paper sheet's report; each goes out with its
// terminating zero byte.
constexpr char kCounterHeading[] = "Waste Ink Pad counter\r\n";
constexpr char kMaximumCaption[] = "  Maximun value = ";
constexpr char kPresentCaption[] = "  Present value = ";
constexpr char kRateCaption[] = "     Usage Rate = ";
constexpr char kHeadIdCaption[] = "Head ID = ";
constexpr char kUsbIdCaption[] = "USB ID = ";
constexpr char kDestinationCaption[] = "Market Destination is ";
constexpr char kInkHeading[] = "Remaining ink amount\r\n";
constexpr char kBlackCaption[] = "  Black = ";
constexpr char kCyanCaption[] = "  Cyan = ";
constexpr char kMagentaCaption[] = "  Magenta = ";
constexpr char kYellowCaption[] = "  Yellow = ";
constexpr char kPercent[] = "%";  // sent without its zero

static_assert(sizeof kCounterHeading == 24 && sizeof kMaximumCaption == 19 &&
              sizeof kPresentCaption == 19 && sizeof kRateCaption == 19 &&
              sizeof kHeadIdCaption == 11 && sizeof kUsbIdCaption == 10 &&
              sizeof kDestinationCaption == 23);
static_assert(sizeof kInkHeading == 23 && sizeof kBlackCaption == 11 && sizeof kCyanCaption == 10 &&
              sizeof kMagentaCaption == 13 && sizeof kYellowCaption == 12);

// The photo-paper sheet's Bi-D heading: the columns stand over the three
// marks of each row, the stored value X and its neighbours.
constexpr char kBidHeading[] =
    "Bi-D adjustment"
    "                  "  // 18 blanks
    "X"
    "          "  // 10 blanks
    "X+1 X-1\r\n";
static_assert(sizeof kBidHeading == 54);

// The title between a print mode's black and colour rows.
constexpr char kVsd1Title[] = "VSD1 BLACK/COLOR\r";
constexpr char kVsd2Title[] = "VSD2 BLACK/COLOR\r";
constexpr char kVsd3Title[] = "VSD3 BLACK/COLOR\r";
constexpr char kEcoTitle[] = "ECO BLACK/COLOR\r";
static_assert(sizeof kVsd1Title == 18 && sizeof kVsd2Title == 18 && sizeof kVsd3Title == 18 &&
              sizeof kEcoTitle == 17);

// The values the photo-paper sheet prints at, in the order they are read.
enum PhotoValue : size_t {
    BidVsd1Black,
    BidVsd2Black,
    BidVsd3Black,
    BidEcoBlack,
    BidVsd1Colour,
    BidVsd2Colour,
    BidVsd3Colour,
    BidEcoColour,
    PfBlack,
    PfColour,
    PhotoValueCount
};
constexpr std::array<uint8_t, PhotoValueCount> kPhotoAddresses = {
    eeprom::BidVsd1Black,  eeprom::BidVsd2Black,  eeprom::BidVsd3Black,  eeprom::BidEcoBlack,
    eeprom::BidVsd1Colour, eeprom::BidVsd2Colour, eeprom::BidVsd3Colour, eeprom::BidEcoColour,
    eeprom::PfBlack,       eeprom::PfColour};

struct BidMode {
    uint8_t mode;
    PhotoValue black;
    PhotoValue colour;
    const char* title;
    size_t titleSize;  // with the zero byte
};
constexpr std::array<BidMode, 4> kBidModes = {{
    {ModeVsd1, BidVsd1Black, BidVsd1Colour, kVsd1Title, sizeof kVsd1Title},
    {ModeVsd2, BidVsd2Black, BidVsd2Colour, kVsd2Title, sizeof kVsd2Title},
    {ModeVsd3, BidVsd3Black, BidVsd3Colour, kVsd3Title, sizeof kVsd3Title},
    {ModeEco, BidEcoBlack, BidEcoColour, kEcoTitle, sizeof kEcoTitle},
}};

// One sheet's steps in sending order. The first step whose result is not 1
// ends the run: every later step does nothing, and Result gives that result.
class SheetSteps {
  public:
    explicit SheetSteps(TPRaster& raster) : raster_(raster) {}

    bool Ok() const { return result_ == ResultOk; }
    uint16_t Result() const { return result_; }

    // Any step, run only while the ones before succeeded.
    template <typename Step>
    void Do(Step step) {
        if (Ok()) {
            result_ = step();
        }
    }

    // A caption with its terminating zero byte.
    template <size_t N>
    void Caption(const char (&caption)[N]) {
        Bytes(caption, N);
    }
    void Bytes(const char* data, size_t size) {
        Do([&] {
            return raster_.SendBytes(reinterpret_cast<const uint8_t*>(data),
                                     static_cast<int>(size));
        });
    }
    // A text of its own length, without a zero byte.
    void Text(std::string_view text) { Bytes(text.data(), text.size()); }
    // size bytes: the first characters of text (at most limit of them), then
    // zero bytes.
    void Field(std::string_view text, size_t size, size_t limit) {
        std::vector<char> field(size, '\0');
        const size_t kept = std::min({text.size(), limit, size});
        std::copy_n(text.begin(), kept, field.begin());
        Bytes(field.data(), field.size());
    }
    // A number with at least one zero byte after it.
    void NumberField(std::string_view text, size_t size) { Field(text, size, size - 1); }

    void L(int lines) {
        Do([&] { return raster_.FeedLines(lines); });
    }
    void F() {
        Do([&] { return raster_.Flush(); });
    }
    void EJ() {
        Do([&] { return raster_.EjectPage(); });
    }

  private:
    TPRaster& raster_;
    uint16_t result_ = ResultOk;
};

}  // namespace

TPCheckPattern::TPCheckPattern(TPRaster& raster, TPPattern& pattern, TPRemoteComm& remote,
                               TPStatusControl& status, TPDLLFunction& link,
                               WasteInkCounter& wasteInk, TPHeadID& headId, TPUsbId& usbId,
                               TPEeprom& eeprom)
    : raster_(raster),
      pattern_(pattern),
      remote_(remote),
      status_(status),
      link_(link),
      wasteInk_(wasteInk),
      headId_(headId),
      usbId_(usbId),
      eeprom_(eeprom) {}

const char* TPCheckPattern::DestinationText(uint8_t destination) {
    switch (destination) {
        case TPEeprom::DestinationJapan:
            return "Japan";
        case TPEeprom::DestinationSouthAmericaEastEuroAsia:
            return "Soutn America / East Euro / Asia ";
        case TPEeprom::DestinationNorthAmericaWestEuro:
            return "North America / West Euro";
        default:
            return "unknown";
    }
}

uint16_t TPCheckPattern::PrintNormalPaperSheet() {
    // Everything the report prints is read before the first byte is sent.
    std::string maximum;
    std::string present;
    std::string rate;
    uint16_t result = wasteInk_.ReadWasteInkCounter(maximum, present, rate);
    if (result != ResultOk) {
        return result;
    }
    std::string headId;
    result = headId_.ReadHeadId(headId);
    if (result != ResultOk) {
        return result;
    }
    std::string usbId;
    result = usbId_.ReadUsbId(usbId);
    if (result != ResultOk) {
        return result;
    }
    uint8_t destination = TPEeprom::DestinationUnknown;
    result = eeprom_.ReadMarketSetting(destination);
    if (result != ResultOk) {
        return result;
    }

    TPDLLFunction::PatternPrint print(link_, "normal-sheet");
    SheetSteps s(raster_);
    s.Do([this] { return pattern_.PrintBetaPattern(); });
    s.Do([this] { return pattern_.PrintVerticalAlignmentPattern(); });
    s.Do([this] { return pattern_.PrintHorizontalAlignmentPattern(); });

    s.L(2);
    s.Caption(kCounterHeading);
    s.Caption(kMaximumCaption);
    s.NumberField(maximum, kCounterField);
    s.L(1);
    s.Caption(kPresentCaption);
    s.NumberField(present, kCounterField);
    s.L(1);
    s.Caption(kRateCaption);
    s.NumberField(rate, kCounterField);
    s.L(2);
    s.Caption(kHeadIdCaption);
    s.Field(headId, kHeadIdField, kHeadIdField);
    s.L(2);
    s.Caption(kUsbIdCaption);
    s.Field(usbId, kUsbIdField, kUsbIdField);
    s.L(2);
    s.Caption(kDestinationCaption);
    s.Text(DestinationText(destination));
    s.L(2);

    s.Do([this] { return status_.InquirePrinterStatus(); });
    if (s.Ok() && status_.Record().InkValid() == 1) {
        const PrinterStatus& record = status_.Record();
        const auto amount = [&record](PrinterStatus::Colour colour) {
            return std::to_string(record.AcceptedInk(colour));
        };
        s.Caption(kInkHeading);
        s.Caption(kBlackCaption);
        s.NumberField(amount(PrinterStatus::Black), kInkField);
        s.Text(kPercent);
        s.Caption(kCyanCaption);
        s.NumberField(amount(PrinterStatus::Cyan), kInkField);
        s.Text(kPercent);
        s.Caption(kMagentaCaption);
        s.NumberField(amount(PrinterStatus::Magenta), kInkField);
        s.Text(kPercent);
        s.Caption(kYellowCaption);
        s.NumberField(amount(PrinterStatus::Yellow), kInkField);
        s.Text(kPercent);
    }
    s.EJ();
    s.F();
    return print.Done(s.Result());
}

uint16_t TPCheckPattern::PrintPhotoPaperSheet() {
    // All ten values are read before anything is sent, so that a failed
    // read leaves the printer untouched.
    std::array<int8_t, PhotoValueCount> stored{};
    for (size_t i = 0; i < kPhotoAddresses.size(); ++i) {
        uint8_t byte = 0;
        const uint16_t result = link_.D4ReadEeprom(kPhotoAddresses[i], byte);
        if (result != ResultOk) {
            return result;
        }
        stored[i] = static_cast<int8_t>(byte);
    }

    TPDLLFunction::PatternPrint print(link_, "photo-sheet");
    SheetSteps s(raster_);
    // Page 1: head angular, Bi-D and PF.
    s.Do([this] { return remote_.SendRemoteSetting(kPhotoSheetSetting); });
    s.Do([this] { return pattern_.PrintSheetHeadAngularPattern(); });
    s.L(2);
    s.Caption(kBidHeading);
    for (const BidMode& mode : kBidModes) {
        s.Do([&] { return pattern_.PrintSheetBidBlackPattern(mode.mode, stored[mode.black]); });
        s.Bytes(mode.title, mode.titleSize);
        s.Do([&] { return pattern_.PrintSheetBidColorPattern(mode.mode, stored[mode.colour]); });
    }
    s.Do([&] { return pattern_.PrintSheetPfBlackPattern(stored[PfBlack]); });
    s.Do([&] { return pattern_.PrintSheetPfColorPattern(stored[PfColour]); });
    s.EJ();

    // Page 2: top margin and accumulated pitch.
    s.Do([this] { return remote_.SendRemoteSetting(kPhotoSheetSetting); });
    s.Do([this] { return pattern_.PrintSheetTopMarginPattern(); });
    s.Do([this] { return pattern_.PrintAccumulatedPitchPattern(); });
    s.EJ();
    return print.Done(s.Result());
}
