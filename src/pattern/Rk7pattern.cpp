#include "pattern/Rk7pattern.h"

// The generators themselves live one family per file: Rk7patternbeta (BETA
// and alignment), Rk7patternangular, Rk7patternpf, Rk7patternmargin (first
// dot and top margin), Rk7patternpitch and Rk7patternbid.

TPPattern::TPPattern(TPRaster& raster, TPFactory& factory, TPDLLFunction& link,
                     TPStatusControl& status, IStatusReporter& reporter, orvane::IClock& clock,
                     orvane::IRandom& random)
    : raster_(raster),
      factory_(factory),
      link_(link),
      status_(status),
      reporter_(reporter),
      clock_(clock),
      random_(random) {}
