#include "tools/pattern/Capture.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace orvane::tools {

namespace {

constexpr char kMagic[] = "OVCAPT01";
constexpr size_t kMagicSize = sizeof kMagic - 1;

void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

uint64_t Get(const std::string& in, size_t at, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<uint64_t>(static_cast<uint8_t>(in[at + static_cast<size_t>(i)]))
                 << (8 * i);
    }
    return value;
}

}  // namespace

bool WriteCapture(const std::string& path, const std::vector<CapturedSend>& sends,
                  std::string& reason) {
    std::string out(kMagic, kMagicSize);
    for (const auto& send : sends) {
        Put(out, send.data.size(), 4);
        Put(out, send.result, 2);
        out.append(send.data.begin(), send.data.end());
    }
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(out.data(), static_cast<std::streamsize>(out.size()));
        if (!file.flush()) {
            reason = "cannot write " + temporary;
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        reason = "cannot rename " + temporary + " to " + path;
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool ReadCapture(const std::string& path, std::vector<CapturedSend>& sends, std::string& reason) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        reason = "cannot open " + path;
        return false;
    }
    const std::string in((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (in.compare(0, kMagicSize, kMagic) != 0) {
        reason = path + " is not a capture file";
        return false;
    }
    sends.clear();
    size_t at = kMagicSize;
    while (at < in.size()) {
        if (in.size() - at < 6) {
            reason = path + ": record cut at byte " + std::to_string(at);
            return false;
        }
        const uint64_t length = Get(in, at, 4);
        CapturedSend send;
        send.result = static_cast<uint16_t>(Get(in, at + 4, 2));
        at += 6;
        if (in.size() - at < length) {
            reason = path + ": record cut at byte " + std::to_string(at);
            return false;
        }
        send.data.assign(in.begin() + static_cast<std::ptrdiff_t>(at),
                         in.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        sends.push_back(std::move(send));
    }
    return true;
}

}  // namespace orvane::tools
