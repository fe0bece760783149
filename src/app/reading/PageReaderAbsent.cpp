// A build without the page reader: Read page is there, disabled.
#include "app/reading/PageReader.h"

namespace orvane_app {

bool PageReaderBuilt() {
    return false;
}

PageRead ReadNewestPage(const PrinterPages& /*printer*/, const std::string& /*kind*/,
                        const LastInput& /*last*/) {
    return {kNoReaderTip, {}, {}, {}};
}

PageRead ReadPictureFile(const std::string& /*path*/, const std::string& /*kind*/,
                         const LastInput& /*last*/) {
    return {kNoReaderTip, {}, {}, {}};
}

unsigned long NewestPageNumber(const PrinterPages& /*printer*/) {
    return 0;
}

}  // namespace orvane_app
