#pragma once

// The program's one cursor: the hourglass while the window thread works for
// the printer, the normal cursor otherwise. Setting it twice is the same as
// setting it once.
namespace orvane_app {

void ShowHourglassCursor();
void ShowNormalCursor();
bool HourglassCursorShown();

}  // namespace orvane_app
