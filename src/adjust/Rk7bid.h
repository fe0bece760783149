#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class TPDLLFunction;
class TPFactory;
class TPPattern;
class TPRaster;

// The Bi-D adjustment: one signed value per print mode (VSD1, VSD2, VSD3,
// ECO) and nozzle group (black, colour) that shifts the dots printed in one
// carriage direction against the other. Values are set with the Bi-D packet
// and read back from the EEPROM. Besides its collaborators the object's only
// state is the error item that names a refused value (result
// ResultBidValueError).
class TPBid {
  public:
    // One of the eight values.
    struct Item {
        uint8_t colourSelector;  // SelectBlack or SelectColour
        uint8_t mode;            // ModeVsd1 .. ModeEco
        uint8_t address;         // where the printer keeps it
        int16_t errorItem;       // names it when its value is refused
    };

    static constexpr int kItemCount = 8;
    // The eight values in item order, the order in which every operation
    // visits them: VSD1 black, VSD1 colour, VSD2 black, VSD2 colour, VSD3
    // black, VSD3 colour, ECO black, ECO colour.
    static const std::array<Item, kItemCount> kItems;

    // Error items, by item.
    static constexpr int16_t ErrorVsd1Black = 1;
    static constexpr int16_t ErrorVsd1Colour = 6;
    static constexpr int16_t ErrorVsd2Black = 2;
    static constexpr int16_t ErrorVsd2Colour = 7;
    static constexpr int16_t ErrorVsd3Black = 3;
    static constexpr int16_t ErrorVsd3Colour = 8;
    static constexpr int16_t ErrorEcoBlack = 5;
    static constexpr int16_t ErrorEcoColour = 10;

    static constexpr int kMinimum = -36;
    static constexpr int kMaximum = 36;

    // One yes/no flag per item, in item order.
    using Flags = std::array<bool, kItemCount>;

    TPBid(TPDLLFunction& link, TPFactory& factory, TPRaster& raster, TPPattern& pattern);

    // Reads the item's byte and gives it as signed decimal text; the text is
    // left alone when the read fails. A mode that is none of the four gives
    // ResultCommandError without a read.
    uint16_t ReadBidValue(uint8_t colourSelector, uint8_t mode, std::string& text);
    // Converts the text (a text that is no number counts as 100) and checks
    // it against -36..36; a refused value sets the item's error item and
    // returns ResultBidValueError with nothing sent. Otherwise sends the Bi-D
    // packet. A mode that is none of the four gives ResultCommandError.
    uint16_t WriteBidValue(uint8_t colourSelector, uint8_t mode, std::string_view text);
    // The check of WriteBidValue alone: 1 with the value, or ResultBidValueError
    // with the item's error item set (ResultCommandError for no such item).
    uint16_t CheckBidValue(uint8_t colourSelector, uint8_t mode, std::string_view text, int& value);

    // Prints the check pattern of the flagged items on one page. Without a
    // flag nothing is read or sent. Otherwise all eight stored values are
    // read first (a failed read ends the operation before anything is sent),
    // then come the heading and, for each mode with a flagged item, its title
    // and the rows of its flagged nozzle groups around the stored values,
    // and the page is ejected. The first failing step ends the operation;
    // the page is then not ejected.
    uint16_t PrintBidPattern(const Flags& flags);

    int16_t ErrorItem() const { return errorItem_; }

    // The item of a colour selector (1 black, anything else colour) and mode,
    // or nullptr when the mode is none of the four.
    static const Item* FindItem(uint8_t colourSelector, uint8_t mode);

  private:
    template <size_t N>
    uint16_t SendText(const char (&text)[N]);
    // What PrintBidPattern sends once the stored values are read.
    uint16_t PrintItems(const Flags& flags, const std::array<int, kItemCount>& stored);

    TPDLLFunction& link_;
    TPFactory& factory_;
    TPRaster& raster_;
    TPPattern& pattern_;
    int16_t errorItem_ = 0;
};
