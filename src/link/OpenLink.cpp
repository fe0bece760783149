#include "link/OpenLink.h"

#include "link/ResultCodes.h"

uint16_t OpenPrinterLink(TPDLLFunction& link, uint16_t portNumber, LinkOpenFailure& failure) {
    failure = LinkOpenFailure::Port;
    link.PortCloseByPway();
    uint16_t result = link.PortOpenByPway(portNumber);
    if (result != ResultOk) {
        return result;
    }
    if (const uint16_t device = link.CheckDeviceIDByPway();
        device != ResultOk && device != ResultPortDeviceId) {
        return device;
    }
    failure = LinkOpenFailure::Negotiation;
    result = link.D4Negotiation();
    if (result != ResultOk) {
        return result;
    }
    failure = LinkOpenFailure::None;
    return ResultOk;
}
