#include "vprinter/Packet.h"

#include <cstdio>

namespace vprinter {

namespace {

struct Shape {
    uint8_t command;
    uint8_t function;
    size_t parameters;
    PacketCommand::Kind kind;
};

// Every packet the printer knows: command byte, function code and the
// number of parameter bytes after the function code.
constexpr Shape kShapes[] = {
    {0x00, 0x00, 4, PacketCommand::Kind::Bid},
    {0x04, 0x02, 2, PacketCommand::Kind::PaperFeed},
    {0x05, 0x82, 1, PacketCommand::Kind::HeadAngular},
    {0x06, 0x03, 1, PacketCommand::Kind::FirstDot},
    {0x07, 0x83, 1, PacketCommand::Kind::TopMargin},
    {0x50, 0x28, 0, PacketCommand::Kind::Store},
    {0x84, 0x42, 1, PacketCommand::Kind::Maintenance},
};

std::string Hex2(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFFu);
    return text;
}

const char* ModeName(uint8_t mode) {
    switch (mode) {
        case 0:
            return "ECO";
        case 1:
            return "VSD1";
        case 2:
            return "VSD2";
        default:
            return "VSD3";
    }
}

}  // namespace

uint8_t PacketCommand::Address() const {
    switch (kind) {
        case Kind::Bid: {
            // ECO 0x32/0x33, VSD1 0x34/0x35, VSD2 0x36/0x37, VSD3 0x38/0x39.
            const uint8_t base = static_cast<uint8_t>(0x32 + 2 * mode);
            return black ? base : static_cast<uint8_t>(base + 1);
        }
        case Kind::PaperFeed:
            return black ? 0x2C : 0x2D;
        case Kind::HeadAngular:
            return 0x75;
        case Kind::FirstDot:
            return 0x59;
        case Kind::TopMargin:
            return 0x5A;
        default:
            return 0;
    }
}

bool DecodePacket(const uint8_t* bytes, size_t length, uint8_t codeA, uint8_t codeB,
                  PacketCommand& command, std::string& reason) {
    if (length < kPacketHeaderBytes || bytes[0] != 0x1B || bytes[1] != 0x7C) {
        reason = "not a command packet";
        return false;
    }
    if (bytes[2] != 0 || bytes[4] != 0) {
        reason = "packet with " + Hex2(bytes[2]) + " " + Hex2(bytes[4]) +
                 " where its fixed zero bytes belong";
        return false;
    }
    if (length != bytes[3] + kPacketHeaderBytes) {
        reason = "packet of " + std::to_string(length) + " bytes announced as " +
                 std::to_string(bytes[3] + kPacketHeaderBytes);
        return false;
    }
    if (length < kPacketHeaderBytes + 5) {
        reason = "packet too short for code bytes, command and function";
        return false;
    }
    const uint8_t* body = bytes + kPacketHeaderBytes;
    if (body[0] != codeA || body[1] != codeB) {
        reason = "packet with code bytes " + Hex2(body[0]) + " " + Hex2(body[1]) +
                 ", the channel expects " + Hex2(codeA) + " " + Hex2(codeB);
        return false;
    }
    const uint8_t code = body[2];
    if (static_cast<uint8_t>(code ^ body[3]) != 0xFF) {
        reason = "packet command " + Hex2(code) + " with a wrong complement " + Hex2(body[3]);
        return false;
    }
    const Shape* shape = nullptr;
    for (const Shape& candidate : kShapes) {
        if (candidate.command == code) {
            shape = &candidate;
        }
    }
    if (shape == nullptr || shape->function != body[4]) {
        reason = "unknown packet command " + Hex2(code) + " function " + Hex2(body[4]);
        return false;
    }
    const size_t parameters = length - kPacketHeaderBytes - 5;
    if (parameters != shape->parameters) {
        reason = "packet command " + Hex2(code) + " with " + std::to_string(parameters) +
                 " parameter bytes instead of " + std::to_string(shape->parameters);
        return false;
    }
    const uint8_t* p = body + 5;
    PacketCommand decoded;
    decoded.kind = shape->kind;
    switch (shape->kind) {
        case PacketCommand::Kind::Bid: {
            if (p[0] > 3 || p[1] < 1 || p[1] > 2) {
                reason = "Bi-D packet for mode " + Hex2(p[0]) + " colour " + Hex2(p[1]);
                return false;
            }
            const bool negative = (p[2] & 0x80) != 0;
            if (p[3] != (negative ? 0xFF : 0x00)) {
                reason = "Bi-D value " + Hex2(p[2]) + " " + Hex2(p[3]) + " does not fit a byte";
                return false;
            }
            decoded.mode = p[0];
            decoded.black = p[1] == 1;
            decoded.value = static_cast<int8_t>(p[2]);
            break;
        }
        case PacketCommand::Kind::PaperFeed:
            if (p[1] < 1 || p[1] > 2) {
                reason = "PF packet for colour " + Hex2(p[1]);
                return false;
            }
            decoded.value = static_cast<int8_t>(p[0]);
            decoded.black = p[1] == 1;
            break;
        case PacketCommand::Kind::Maintenance:
            if (p[0] != 2 && p[0] != 7) {
                reason = "unknown maintenance sequence " + Hex2(p[0]);
                return false;
            }
            decoded.sequence = p[0];
            break;
        case PacketCommand::Kind::Store:
            break;
        default:
            decoded.value = static_cast<int8_t>(p[0]);
            break;
    }
    command = decoded;
    return true;
}

std::string DescribePacket(const PacketCommand& command) {
    const std::string value = std::to_string(command.value);
    const char* colour = command.black ? "black" : "colour";
    switch (command.kind) {
        case PacketCommand::Kind::Bid:
            return std::string("Bi-D ") + ModeName(command.mode) + " " + colour + " " + value;
        case PacketCommand::Kind::PaperFeed:
            return std::string("PF ") + colour + " " + value;
        case PacketCommand::Kind::HeadAngular:
            return "head angular " + value;
        case PacketCommand::Kind::FirstDot:
            return "first dot " + value;
        case PacketCommand::Kind::TopMargin:
            return "top margin " + value;
        case PacketCommand::Kind::Store:
            return "store";
        case PacketCommand::Kind::Maintenance:
            return command.sequence == 2 ? "head cleaning" : "ink charge";
    }
    return "?";
}

}  // namespace vprinter
