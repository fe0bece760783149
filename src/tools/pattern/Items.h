#pragma once

#include <cstdint>
#include <vector>

namespace orvane::tools {

class Session;

// What one item takes from the command line besides the port.
enum Takes : unsigned {
    TakesNothing = 0,
    TakesValue = 1,        // --value: the stored adjustment value
    TakesDotSize = 2,      // --dot-size: 16 VSD1, 17 VSD2, 18 VSD3, 19 ECO
    TakesSkipCaption = 4,  // --skip-caption
};

// A printable item: a pattern generator, or later a whole check sheet.
// To add one, add a row to the table in Items.cpp.
struct Item {
    const char* name;
    const char* summary;
    unsigned takes;
    int valueLow, valueHigh;  // range of --value
    uint16_t (*print)(Session& session);
};

const std::vector<Item>& Items();
const Item* FindItem(const char* name);

}  // namespace orvane::tools
