#pragma once

#include <cstdint>

#include "link/Dllfunction.h"

// The code pair the boot window gives the channel before the link opens.
inline constexpr uint8_t kLinkCommandCodeA = 11;
inline constexpr uint8_t kLinkCommandCodeB = 84;

// The step of opening the link that failed.
enum class LinkOpenFailure {
    None,
    Port,         // the port did not open, or the device on it is not a printer
    Negotiation,  // the printer did not take the negotiation
};

// Opens the link to the printer on portNumber as the boot window does: the
// port closed first (an earlier failure may have left it open), opened, the
// device ID checked (the port's "device ID" answer is a good one), then the
// negotiation. Returns ResultOk or the first failed step's code, and which
// step it was.
uint16_t OpenPrinterLink(TPDLLFunction& link, uint16_t portNumber, LinkOpenFailure& failure);
