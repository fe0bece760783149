#pragma once

#include <QPixmap>

// The pictures of the About box and the how-to windows, drawn by the program
// itself. Each is drawn at the size of the place its window gives it.
namespace orvane_app {

QPixmap AboutPicture();        // 64 x 64: the printer
QPixmap HeadAngularPicture();  // printed lines at -3, 0 and 3, the two ends NG
QPixmap PfPicture();           // the PF check pattern, tall
QPixmap BidPicture();          // Bi-D rows -6 to -2, two areas framed in red
QPixmap CheckSheetPicture1();  // head angular, Bi-D and PF patterns around X
QPixmap CheckSheetPicture2();  // a printed sheet corner: top margin and first dot
QPixmap FirstDotPicture();     // three first-dot prints, one right and two wrong
QPixmap TopMarginPicture();    // three top-margin prints, one right and two wrong

}  // namespace orvane_app
