#pragma once

// The boot window's port list and port numbers live with the platform's port
// list, where orvane-service finds them too.
#include "platform/PortTable.h"

namespace orvane_app {
using orvane::DerivePortNumber;
using orvane::kPortTableSize;
using orvane::PortNumberResult;
using orvane::PortNumberStatus;
using orvane::PrinterPorts;
}  // namespace orvane_app
