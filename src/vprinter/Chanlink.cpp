// The packet-channel library: works on the port that the port library opened.
#include <cstdint>

#include "vprinter/Export.h"

VP_EXPORT(uint16_t, D4Negotiation, (void* context), Negotiation(context))
VP_EXPORT(uint16_t, D4Termination, (void* context), Termination(context))
VP_EXPORT(uint16_t, SetD4CommandRCode, (uint8_t a, uint8_t b), SetCommandRCode(a, b))
VP_EXPORT(uint16_t, SendDataChannel, (const uint8_t* data, uint32_t length, void* context),
          SendData(data, length, context))
VP_EXPORT(uint16_t, D4ReadEeprom, (uint8_t address, uint8_t* value, void* context),
          ReadEeprom(address, value, context))
VP_EXPORT(uint16_t, D4WriteEeprom, (uint8_t address, uint8_t value, void* context),
          WriteEeprom(address, value, context))
VP_EXPORT(uint16_t, GetD4ErrorCode, (), GetChannelError())
VP_EXPORT(uint16_t, InquireStatus, (uint8_t * record, void* context),
          InquireStatus(record, context))
VP_EXPORT(uint16_t, D4Reset, (void* context), Reset(context))
