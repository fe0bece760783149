#pragma once

#include <cstdint>

#include "pattern/PatternSteps.h"

class IStatusReporter;
class TPRaster;
class TPFactory;
class TPDLLFunction;
class TPStatusControl;
namespace orvane {
class IClock;
class IRandom;
}  // namespace orvane

// The pattern generators: each prints one check pattern into the print-data
// job as printer commands, a caption and run-length raster data, built from
// fixed numbers (the PF patterns add dither bytes). The generators that test
// an adjustment value set it with command packets between their passes and
// send the stored value again at their end, also when a step has failed.
//
// Every generator returns 1 when its whole pattern has been handed to the
// job, else the result of the first step that failed. None keeps state
// between calls.
class TPPattern {
  public:
    // reporter and clock serve the readiness wait of the PF patterns (without
    // messages: it only repaints the window while it polls).
    TPPattern(TPRaster& raster, TPFactory& factory, TPDLLFunction& link, TPStatusControl& status,
              IStatusReporter& reporter, orvane::IClock& clock, orvane::IRandom& random);

    // Normal-paper sheet: solid areas, vertical and horizontal alignment.
    uint16_t PrintBetaPattern();
    uint16_t PrintVerticalAlignmentPattern();
    uint16_t PrintHorizontalAlignmentPattern();

    // Head angular: the page's five marks, the sheet's three pairs.
    uint16_t PrintHeadAngularPattern();
    uint16_t PrintSheetHeadAngularPattern();

    // PF: the page versions read the stored value and test -5..+5, the sheet
    // versions test value-1, value, value+1.
    uint16_t PrintPfBlackPattern();
    uint16_t PrintPfColorPattern();
    uint16_t PrintSheetPfBlackPattern(int8_t value);
    uint16_t PrintSheetPfColorPattern(int8_t value);

    // First dot and top margin.
    uint16_t PrintFirstDotPattern();
    uint16_t PrintTopMarginPattern(uint8_t skipCaption);
    uint16_t PrintSheetTopMarginPattern();

    // The last black nozzle's line after a long feed.
    uint16_t PrintAccumulatedPitchPattern();

    // Bi-D: the page versions print three rows around value, the sheet
    // versions one row with value, value+1 and value-1 side by side.
    uint16_t PrintBidBlackPattern(uint8_t dotSize, int value);
    uint16_t PrintBidColorPattern(uint8_t dotSize, int value);
    uint16_t PrintSheetBidBlackPattern(uint8_t dotSize, int value);
    uint16_t PrintSheetBidColorPattern(uint8_t dotSize, int value);

    struct PfVersion;
    struct BidVersion;

  private:
    PatternSteps Steps() {
        return PatternSteps({raster_, factory_, status_, reporter_, clock_, random_});
    }
    uint16_t PrintPf(const PfVersion& version, int stored);
    uint16_t PrintPfPage(const PfVersion& version, uint8_t address);
    uint16_t PrintTopMargin(bool sheet, bool skipCaption);
    uint16_t PrintBidPage(const BidVersion& version, uint8_t dotSize, int value);
    uint16_t PrintBidSheet(const BidVersion& version, uint8_t dotSize, int value);

    TPRaster& raster_;
    TPFactory& factory_;
    TPDLLFunction& link_;
    TPStatusControl& status_;
    IStatusReporter& reporter_;
    orvane::IClock& clock_;
    orvane::IRandom& random_;
};
