// The full dump image of the 256 EEPROM bytes, and its decoding on the
// virtual printer's side.
#include <gtest/gtest.h>

#include <vector>

#include "eeprom/EepromImage.h"
#include "vprinter/DumpImage.h"

namespace {

// Hands out a fixed list of numbers, over and over.
class ListRandom final : public orvane::IRandom {
  public:
    explicit ListRandom(std::vector<int> values) : values_(std::move(values)) {}
    void Seed(uint32_t seed) override { seeds.push_back(seed); }
    int Next() override { return values_[next_++ % values_.size()]; }
    std::vector<uint32_t> seeds;

  private:
    std::vector<int> values_;
    size_t next_ = 0;
};

eeprom::Bytes Pattern() {
    eeprom::Bytes bytes{};
    for (size_t a = 0; a < bytes.size(); ++a) {
        bytes[a] = static_cast<uint8_t>(255 - a);
    }
    return bytes;
}

vprinter::Eeprom Decode(const eeprom::Image& image) {
    vprinter::Eeprom eeprom{};
    std::string reason;
    EXPECT_TRUE(vprinter::DecodeDumpImage(image, eeprom, reason)) << reason;
    return eeprom;
}

TEST(EepromImage, EachAddressGivesARandomByteItsNibblesAndAFillerCharacterRaisedBy7kPlus3) {
    eeprom::Bytes bytes{};
    bytes[0] = 0xA5;
    bytes[255] = 0x3C;
    ListRandom random({0x1234, 0x7FFF});
    const eeprom::Image image = eeprom::BuildImage(bytes, random);
    EXPECT_EQ(image[0], 0x37) << "random 0x34 + 3";
    EXPECT_EQ(image[1], 0x14) << "0x0A + 10";
    EXPECT_EQ(image[2], 0x61) << "0x50 + 17";
    EXPECT_EQ(image[3], 'M' + 24);
    EXPECT_EQ(image[4], 0x1E) << "random 0xFF + 31 wraps";
    EXPECT_EQ(image[5], 0x26) << "0x00 + 38";
    EXPECT_EQ(image[7], 'e' + 52);
    // Address 255: 0x3C, and the 16th filler character 't'.
    EXPECT_EQ(image[1021], (0x03 + 7 * 1021 + 3) % 256);
    EXPECT_EQ(image[1022], (0xC0 + 7 * 1022 + 3) % 256);
    EXPECT_EQ(image[1023], ('t' + 7 * 1023 + 3) % 256);
    EXPECT_TRUE(random.seeds.empty()) << "the caller seeds the generator";
}

TEST(EepromImage, TwoDumpsOfTheSameEepromDifferOnlyInTheRandomBytes) {
    orvane::StdRandom random;
    random.Seed(1);
    const eeprom::Image first = eeprom::BuildImage(Pattern(), random);
    random.Seed(1);
    EXPECT_EQ(eeprom::BuildImage(Pattern(), random), first) << "the same seed, the same dump";
    random.Seed(2);
    const eeprom::Image second = eeprom::BuildImage(Pattern(), random);
    int differing = 0;
    for (size_t k = 0; k < first.size(); ++k) {
        if (first[k] != second[k]) {
            EXPECT_EQ(k % 4, 0u) << k;
            ++differing;
        }
    }
    EXPECT_GT(differing, 200) << "the random bytes do change";
}

TEST(EepromImage, DecodingGivesBackTheBytesWhateverTheRandomBytesHold) {
    orvane::StdRandom random;
    random.Seed(7);
    for (const eeprom::Bytes& bytes : {Pattern(), eeprom::Bytes{}, [] {
                                           eeprom::Bytes all{};
                                           all.fill(0xFF);
                                           return all;
                                       }()}) {
        eeprom::Image image = eeprom::BuildImage(bytes, random);
        EXPECT_EQ(Decode(image), bytes);
        image[0] ^= 0x5A;
        image[1020] += 1;
        EXPECT_EQ(Decode(image), bytes);
    }
}

TEST(EepromImage, DecodingRefusesWhatNoDumpLooksLike) {
    ListRandom random({0});
    const eeprom::Image good = eeprom::BuildImage(Pattern(), random);
    vprinter::Eeprom eeprom{};
    eeprom.fill(0x11);
    std::string reason;

    const std::vector<uint8_t> shorter(good.begin(), good.end() - 1);
    EXPECT_FALSE(vprinter::DecodeDumpImage(shorter, eeprom, reason));
    EXPECT_EQ(reason, "a dump is 1024 bytes, this is 1023");

    eeprom::Image filler = good;
    filler[4 * 0x42 + 3] += 1;
    EXPECT_FALSE(vprinter::DecodeDumpImage(filler, eeprom, reason));
    EXPECT_EQ(reason, "not an EEPROM dump: wrong filler text at address 0x42");

    eeprom::Image high = good;
    high[4 * 9 + 1] += 0x10;  // a high nibble above 15
    EXPECT_FALSE(vprinter::DecodeDumpImage(high, eeprom, reason));
    EXPECT_EQ(reason, "not an EEPROM dump: bad nibble bytes at address 0x09");
    eeprom::Image low = good;
    low[4 * 200 + 2] += 1;  // bits below the low nibble
    EXPECT_FALSE(vprinter::DecodeDumpImage(low, eeprom, reason));

    vprinter::Eeprom untouched{};
    untouched.fill(0x11);
    EXPECT_EQ(eeprom, untouched) << "a refused file leaves the bytes alone";
}

}  // namespace
