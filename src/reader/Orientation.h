#pragma once

// Which way up a sheet lies. Every check page is printed from the top margin
// down and leaves the foot of the sheet blank; turned half round, a page
// would show its patterns mirrored through their middle, which reads as the
// same page with every value's sign turned.
#include "reader/Sheet.h"

namespace reader {

// Turns the sheet half round when its ink says it lies upside down: the ink
// begins far below the sheet's top and ends near its foot, or the photo-paper
// sheet's first page shows its last pattern above its first.
void TurnUpright(Sheet& sheet);

}  // namespace reader
