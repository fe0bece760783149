#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::tools {

// One SendDataChannel call as the printer got it: the bytes and the result.
struct CapturedSend {
    std::vector<uint8_t> data;
    uint16_t result = 0;
};

// Capture file: the 8 bytes "OVCAPT01", then one record per call in order:
// length (32-bit, low byte first), result (16-bit, low byte first), the
// bytes. Written through a temporary file and a rename.
bool WriteCapture(const std::string& path, const std::vector<CapturedSend>& sends,
                  std::string& reason);
bool ReadCapture(const std::string& path, std::vector<CapturedSend>& sends, std::string& reason);

}  // namespace orvane::tools
