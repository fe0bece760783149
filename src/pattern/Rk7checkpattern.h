#pragma once

#include <cstddef>
#include <cstdint>

class TPRaster;
class TPPattern;
class TPRemoteComm;
class TPStatusControl;
class TPDLLFunction;
class WasteInkCounter;
class TPHeadID;
class TPUsbId;
class TPEeprom;

// The two A4 check sheets. Each gathers the values it prints from the
// printer first, then drives the pattern generators and the print-data job.
// The object keeps nothing between prints: every value is read afresh.
//
// Both return 1 when the sheet has been printed and ejected, else the result
// of the first step that failed. A failed read ends a sheet before anything
// is sent; a failure while printing ends it at once, without the eject, and
// what is in the job's buffer stays there.
class TPCheckPattern {
  public:
    // Fixed-length fields of the normal-paper sheet's report: the bytes after
    // the text are zero. A number keeps at least one zero byte after it, so a
    // longer text is cut to the field less one byte; the two identities fill
    // their fields without one.
    static constexpr size_t kCounterField = 6;  // maximum, present value, usage rate
    static constexpr size_t kHeadIdField = 10;
    static constexpr size_t kUsbIdField = 18;
    static constexpr size_t kInkField = 4;  // each colour's remaining amount

    // The setting sent in remote mode before each page of the photo-paper sheet.
    static constexpr uint8_t kPhotoSheetSetting = 3;

    // The collaborators are kept, not used, until a sheet is printed.
    TPCheckPattern(TPRaster& raster, TPPattern& pattern, TPRemoteComm& remote,
                   TPStatusControl& status, TPDLLFunction& link, WasteInkCounter& wasteInk,
                   TPHeadID& headId, TPUsbId& usbId, TPEeprom& eeprom);

    // One page of normal paper: the waste ink pad counter, the Head ID, the
    // USB ID and the market destination are read in this order; then the
    // solid, vertical and horizontal alignment patterns, the text report,
    // the remaining ink (only when all four amounts of the status inquiry
    // were valid), the eject and a last, empty flush.
    uint16_t PrintNormalPaperSheet();

    // Two pages of photo-quality paper at the values stored in the printer:
    // the eight Bi-D values and the two PF values are read first; page 1
    // holds the head angular, Bi-D (per print mode, black and colour) and PF
    // patterns, page 2 the top margin and the accumulated pitch line. Each
    // page follows the remote setting 3.
    uint16_t PrintPhotoPaperSheet();

    // The name the normal-paper sheet prints for a destination code of the
    // market setting ("unknown" for any code without one).
    static const char* DestinationText(uint8_t destination);

  private:
    TPRaster& raster_;
    TPPattern& pattern_;
    TPRemoteComm& remote_;
    TPStatusControl& status_;
    TPDLLFunction& link_;
    WasteInkCounter& wasteInk_;
    TPHeadID& headId_;
    TPUsbId& usbId_;
    TPEeprom& eeprom_;
};
