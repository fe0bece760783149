// The port library: opens and closes a printer port, checks the device ID and
// reports the last I/O error and the printer's model name.
#include <cstdint>

#include "vprinter/Export.h"

VP_EXPORT(uint16_t, PortOpenByPway, (uint16_t portNumber), PortOpen(portNumber))
VP_EXPORT(uint16_t, PortCloseByPway, (), PortClose())
VP_EXPORT(uint16_t, CheckDeviceIDByPway, (), CheckDeviceId())
VP_EXPORT(uint16_t, GetIoErrorCodeByPway, (int16_t * code), GetIoErrorCode(code))
VP_EXPORT(uint16_t, GetModelNameByPway, (char* name), GetModelName(name))

// Loading the library is the printers' first use: the state folder with its
// two default printers then exists before the program lists the ports.
__attribute__((constructor)) static void AttachPrinters() {
    vprinter::TheHost();
}
