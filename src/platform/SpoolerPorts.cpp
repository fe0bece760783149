// Where there is no print spooler: the printers are the virtual printers.
#include "platform/PortList.h"

namespace orvane {

std::unique_ptr<IPortList> SpoolerPortList() {
    return nullptr;
}

}  // namespace orvane
