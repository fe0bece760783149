#pragma once

// The adjustment values a page was printed with. The top margin and first
// dot pages (and the photo-paper sheet's second page) print no sweep of test
// values: they show the mechanism's error less the value stored when they
// were printed, so the value to write is what the page shows plus that
// stored value. The head angular page is printed without the stored tilt
// correction (its remote setting asks for that; the picture then keeps
// head-angular=0), so its straight mark is the value to write; a picture
// printed with a tilt correction in force (the pattern alone, an older
// picture) keeps that value, which is added as for the others. The virtual
// printer keeps the values in a text chunk of its page pictures; for a scan
// they are given by hand.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "reader/PageReading.h"

namespace reader {

// By quantity name ("head-angular", "top-margin", "first-dot", "pf-black",
// "bid-vsd3-color", ...): the signed stored byte.
using StoredValues = std::map<std::string, int>;

// The keyword of the page pictures' text chunk; its text is one line
// NAME=VALUE a quantity.
inline constexpr const char* kStoredValuesKeyword = "Orvane stored values";

// The stored values that a PNG picture (its bytes, or its file) holds; none
// for a picture without the chunk, a JPEG, or a file that cannot be read.
StoredValues StoredValuesOfPng(const std::vector<uint8_t>& png);
StoredValues StoredValuesOfFile(const std::string& path);

// One "NAME=VALUE" as given by hand: NAME a quantity, VALUE a signed byte
// (-128 to 127). False with the problem in one line.
bool ParseStoredValue(const std::string& text, std::string& name, int& value, std::string& problem);

// Turns the readings that show the error less the stored value into the
// value to write: the reading plus the stored value, sure only when the sum
// is a value the page's input writes (head angular -3, 0 or 3; top margin
// -40, 0 or 40; first dot -127 to 127). An end mark ("NG") on a page printed
// with a stored value not 0 may stand for a value that can be written: not
// sure. A reading whose stored value is not known keeps its value as read
// (as if 0 were stored) but is not sure, and its note begins with
// kStoredNotKnown;
// the head angular page's is sure, as the program prints that page without
// the stored correction. The photo-paper sheet's first page shows each item's
// choices as steps from its stored value X: its readings become X plus the
// step (the step stays in Reading::step), not sure when X is not known.
// Readings of test values the page sets itself (Bi-D, PF) are left as they
// are. The values a reading that is not sure names to print with next move
// with the stored value.
void ApplyStored(PageReading& page, const StoredValues& stored);
inline constexpr const char* kStoredNotKnown =
    "the value stored when the page was printed is not known";

}  // namespace reader
