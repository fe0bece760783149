#pragma once

#include <cstdint>

// Result codes of every printer operation. 1 is success; a code is passed on
// unchanged or handed to the adjustment window's ReportResult.
inline constexpr uint16_t ResultOk = 0x0001;
inline constexpr uint16_t ResultPortIoError = 0x1000;
inline constexpr uint16_t ResultPortDeviceId = 0x1001;
inline constexpr uint16_t ResultPortNoResponse = 0x1100;
inline constexpr uint16_t ResultChannelError = 0x2000;
inline constexpr uint16_t ResultFileOpenError = 0x2001;
inline constexpr uint16_t ResultCommandError = 0x3000;
inline constexpr uint16_t ResultPrinterError = 0x4000;
inline constexpr uint16_t ResultHeadIdError = 0x5000;
inline constexpr uint16_t ResultBidValueError = 0x7000;
inline constexpr uint16_t ResultUsbIdError = 0x8000;
inline constexpr uint16_t ResultDllMissing = 0xB000;
inline constexpr uint16_t ResultOutOfMemory = 0xC000;
inline constexpr uint16_t ResultHeadAngularError = 0xD000;
inline constexpr uint16_t ResultEepromFileError = 0xF040;
// A wait that ended because the run was asked to end (a tool's Ctrl-C); the
// program's waits never end so.
inline constexpr uint16_t ResultInterrupted = 0xE000;

// Channel error of GetD4ErrorCode that means "the printer is busy".
inline constexpr uint16_t ChannelErrorBusy = 51;
