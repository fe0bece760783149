// libFuzzer target of the EEPROM dump decoder. Any file it accepts is a dump
// the program could have written: building the dump again from the decoded
// bytes and the file's own random bytes gives the file back. A file it turns
// down comes with a reason and leaves the bytes as they were. And a dump built
// from bytes taken from the input always decodes to those bytes.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "eeprom/EepromImage.h"
#include "vprinter/DumpImage.h"

namespace {

// Hands out given bytes as the random values, one per address.
class Replay final : public orvane::IRandom {
  public:
    Replay(const uint8_t* bytes, size_t count, size_t stride)
        : bytes_(bytes), count_(count), stride_(stride) {}
    void Seed(uint32_t) override {}
    int Next() override {
        const int value = count_ == 0 ? 0 : bytes_[next_ * stride_ % count_];
        ++next_;
        return value;
    }

  private:
    const uint8_t* bytes_;
    size_t count_;
    size_t stride_;
    size_t next_ = 0;
};

bool Same(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

// The file as it decodes: accepted files rebuild to themselves.
void CheckDecode(std::span<const uint8_t> file) {
    vprinter::Eeprom eeprom;
    eeprom.fill(0xA5);
    std::string reason;
    if (!vprinter::DecodeDumpImage(file, eeprom, reason)) {
        vprinter::Eeprom untouched;
        untouched.fill(0xA5);
        if (reason.empty() || eeprom != untouched) {
            std::abort();
        }
        return;
    }
    std::array<uint8_t, eeprom::kSize> randoms{};
    for (size_t address = 0; address < randoms.size(); ++address) {
        randoms[address] = static_cast<uint8_t>(file[4 * address] - 28 * address - 3);
    }
    Replay replay(randoms.data(), randoms.size(), 1);
    const eeprom::Image again = eeprom::BuildImage(eeprom, replay);
    if (!Same(again, file)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckDecode(std::span<const uint8_t>(data, size));
    if (size == 0) {
        return 0;
    }

    // A dump built from the input's bytes, then with one byte changed.
    eeprom::Bytes bytes{};
    for (size_t address = 0; address < bytes.size(); ++address) {
        bytes[address] = data[address % size];
    }
    Replay replay(data, size, 7);
    eeprom::Image image = eeprom::BuildImage(bytes, replay);
    vprinter::Eeprom decoded{};
    std::string reason;
    if (!vprinter::DecodeDumpImage(image, decoded, reason) || decoded != bytes) {
        std::abort();
    }
    image[(size_t{data[0]} << 2 | size) % image.size()] ^= data[size - 1] | 1;
    CheckDecode(image);
    return 0;
}
