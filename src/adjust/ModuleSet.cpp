#include "adjust/ModuleSet.h"

namespace orvane {

ModuleSet::LinkMade::LinkMade(TPDLLFunction& link,
                              const std::function<void(TPDLLFunction&)>& hook) {
    if (hook) {
        hook(link);
    }
}

ModuleSet::ModuleSet(const ModuleSeams& seams)
    : link(seams.loader, seams.programFolder),
      linkMade(link, seams.linkMade),
      raster(link, status, seams.clock, seams.messageBox, seams.memory),
      factory(link, status, seams.clock),
      remote(raster),
      status(link),
      pattern(raster, factory, link, status, seams.reporter, seams.clock, seams.random),
      checkPattern(raster, pattern, remote, status, link, maintenance, headId, usbId, eeprom),
      eeprom(link),
      headId(link, dataManu),
      usbId(link, seams.clock),
      bid(link, factory, raster, pattern),
      headAngular(link, factory),
      heatProtect(link),
      maintenance(link) {}

}  // namespace orvane
