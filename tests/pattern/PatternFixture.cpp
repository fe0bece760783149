#include "PatternFixture.h"

#include "link/ResultCodes.h"

namespace testing_support {

std::vector<std::vector<uint8_t>> PatternTest::AcceptedSends() const {
    std::vector<std::vector<uint8_t>> sends;
    for (const auto& call : Calls("SendDataChannel")) {
        if (call.result == ResultOk) {
            sends.push_back(call.data);
        }
    }
    return sends;
}

std::vector<const StreamItem*> Blocks(const Stream& stream) {
    return stream.Of(StreamItem::Kind::Raster);
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& line, int from, int count) {
    return {line.begin() + from, line.begin() + from + count};
}

}  // namespace testing_support
