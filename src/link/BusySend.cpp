#include "link/BusySend.h"

#include "link/Dllfunction.h"
#include "link/PrinterStatus.h"
#include "link/ResultCodes.h"
#include "link/Rk7statuscontrol.h"
#include "platform/Clock.h"

namespace {
constexpr uint32_t kBusyRetryMilliseconds = 500;
}

uint16_t SendWhileBusy(TPDLLFunction& link, TPStatusControl& status, orvane::IClock& clock,
                       const uint8_t* bytes, uint32_t count,
                       const std::function<bool(const PrinterStatus&)>& keepTrying) {
    for (;;) {
        const uint16_t result = link.SendDataChannel(bytes, count);
        if (result != ResultChannelError) {
            return result;
        }
        uint16_t channelError = 0;
        link.GetD4ErrorCode(channelError);
        if (channelError != ChannelErrorBusy) {
            return ResultChannelError;
        }
        const uint16_t inquiry = status.InquirePrinterStatus();
        if (inquiry != ResultOk) {
            return inquiry;
        }
        const PrinterStatus& record = status.Record();
        if (record.State() == PrinterStatus::StateError && !(keepTrying && keepTrying(record))) {
            return ResultPrinterError;
        }
        if (!orvane::PauseUnlessEnded(clock, kBusyRetryMilliseconds)) {
            return ResultInterrupted;
        }
    }
}
