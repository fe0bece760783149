#pragma once

#include <cstdint>

// The print-data job as the link modules use it: the readiness wait sends the
// initialize command through it, the remote mode its blocks. The job itself
// (TPRaster, with its buffer and its retries while the printer is busy) is
// built on the link; this is all of it that the link sees.
class IPrintDataJob {
  public:
    virtual ~IPrintDataJob() = default;

    // Each returns the code of the first failed send, or 1.
    virtual uint16_t SendBytes(const uint8_t* data, int length) = 0;
    // Sends what the buffer holds, even nothing.
    virtual uint16_t Flush() = 0;
    // CR LF count times, without a flush.
    virtual uint16_t FeedLines(int count) = 0;
    // ESC @, without a flush.
    virtual uint16_t SendInitialize() = 0;
};
