#include "pattern/Rk7pattern.h"

// The generators themselves live one family per file: Rk7patternbeta (BETA
// and alignment), Rk7patternangular, Rk7patternpf, Rk7patternmargin (first
// dot and top margin), Rk7patternpitch and Rk7patternbid.

TPPattern::TPPattern(TPRaster& raster, TPFactory& factory, TPDLLFunction& link,
                     TPStatusControl& status, orvane::IRandom& random)
    : raster_(raster), factory_(factory), link_(link), status_(status), random_(random) {}
