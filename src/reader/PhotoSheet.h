#pragma once

#include <vector>

#include "reader/Sheet.h"

namespace reader {

// The photo-paper sheet's first page: for the head angular item, the Bi-D
// items of each mode and ink and the two PF items, which of the choices
// printed at the stored value X and its neighbours is best.
std::vector<Reading> ReadPhotoSheetFirst(const Sheet& sheet, const std::vector<Mark>& marks);

}  // namespace reader
