#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vprinter {

// An ESC '|' command packet that the printer understood:
//   1B 7C 00 n 00 a b c ~c f parameters...   (n + 5 bytes in all)
// a b is the code pair the channel was given with SetD4CommandRCode, c the
// command, ~c its complement and f the function code of the command.
struct PacketCommand {
    enum class Kind {
        Bid,          // 00 FF 00 m k vL vS: a Bi-D value, stored at once
        PaperFeed,    // 04 FB 02 v b: PF value (b 1 black, 2 colour), kept until stored
        HeadAngular,  // 05 FA 82 v
        FirstDot,     // 06 F9 03 v
        TopMargin,    // 07 F8 83 v
        Store,        // 50 AF 28: writes the values kept to the EEPROM
        Maintenance,  // 84 7B 42 v: 2 head cleaning, 7 ink charge
    };
    Kind kind = Kind::Store;
    bool black = true;     // Bi-D and PF
    uint8_t mode = 0;      // Bi-D: 0 ECO, 1 VSD1, 2 VSD2, 3 VSD3
    int8_t value = 0;      // the adjustment value
    uint8_t sequence = 0;  // maintenance sequence

    // The EEPROM address that holds the value of a Bi-D, PF, head angular,
    // top margin or first-dot packet.
    uint8_t Address() const;
};

inline constexpr size_t kPacketHeaderBytes = 5;  // ESC | 00 n 00

// Decodes one whole packet of length bytes (the n + 5 that its length byte
// announces). False, with the reason, for a packet the printer refuses.
bool DecodePacket(const uint8_t* bytes, size_t length, uint8_t codeA, uint8_t codeB,
                  PacketCommand& command, std::string& reason);

// "Bi-D VSD2 colour -3", "store", "head cleaning" ...
std::string DescribePacket(const PacketCommand& command);

}  // namespace vprinter
