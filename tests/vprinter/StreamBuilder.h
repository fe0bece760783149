#pragma once

// Print data written byte for byte as the printer's command language spells
// it, for the tests of the virtual printer.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace vprinter_test {

class Stream {
  public:
    std::vector<uint8_t> bytes;

    Stream& Raw(std::initializer_list<int> values) {
        for (const int value : values) {
            bytes.push_back(static_cast<uint8_t>(value));
        }
        return *this;
    }
    Stream& Text(const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    Stream& Init() { return Raw({0x1B, 0x40}); }
    Stream& Graphics() { return Raw({0x1B, 0x28, 0x47, 0x01, 0x00, 0x01}); }
    Stream& Unit(int u) { return Raw({0x1B, 0x28, 0x55, 0x01, 0x00, u}); }
    Stream& UnitExtended() { return Raw({0x1B, 0x28, 0x55, 0x05, 0x00, 1, 1, 1, 0x40, 0x0B}); }
    Stream& Direction(int n) { return Raw({0x1B, 0x55, n}); }
    Stream& DotSize(int d) { return Raw({0x1B, 0x28, 0x65, 0x02, 0x00, 0x00, d}); }
    Stream& ColourMode(int m) { return Raw({0x1B, 0x28, 0x4B, 0x02, 0x00, 0x00, m}); }
    Stream& CarriageReturn() { return Raw({0x1B, 0x3C, 0x0D}); }
    Stream& Down(int n) { return Raw({0x1B, 0x28, 0x76, 0x02, 0x00, n & 0xFF, n >> 8}); }
    Stream& Right(int n) { return Raw({0x1B, 0x5C, n & 0xFF, (n >> 8) & 0xFF}); }
    Stream& Resolution() { return Raw({0x1B, 0x28, 0x44, 0x04, 0x00, 0x68, 0x01, 0x03, 0x01}); }
    Stream& Draft() { return Raw({0x1B, 0x78, 0x30}); }
    Stream& PaperSize(uint32_t width, uint32_t length) {
        Raw({0x1B, 0x28, 0x53, 0x08, 0x00});
        return Le32(width).Le32(length);
    }
    Stream& PageFormat(uint32_t top, uint32_t bottom) {
        Raw({0x1B, 0x28, 0x63, 0x08, 0x00});
        return Le32(top).Le32(bottom);
    }
    // A short sheet with its top margin at the very top: small pictures.
    Stream& SmallPage(uint32_t rows) { return PaperSize(2880, rows).PageFormat(0, rows); }
    Stream& Block(int colour, int bytesPerLine, int lines) {
        return Raw({0x1B, 0x69, colour, 1, 2, bytesPerLine & 0xFF, bytesPerLine >> 8, lines & 0xFF,
                    lines >> 8});
    }
    // Run-length units of count copies, at most 120 a unit.
    Stream& Run(int count, int value) {
        while (count > 0) {
            const int unit = count > 120 ? 120 : count;
            Raw({unit == 1 ? 0 : (1 - unit) & 0xFF, value});
            count -= unit;
        }
        return *this;
    }
    Stream& FormFeed() { return Raw({0x0C}); }
    // 1B 7C 00 n 00 0B 54 c ~c f parameters
    Stream& Packet(int command, int function, std::initializer_list<int> parameters) {
        Raw({0x1B, 0x7C, 0x00, static_cast<int>(5 + parameters.size()), 0x00, 0x0B, 0x54, command,
             0xFF - command, function});
        return Raw(parameters);
    }
    Stream& RemoteEntry() { return Raw({0x1B, 0x28, 0x52, 0x08, 0x00, 0x00}).Text("REMOTE1"); }
    Stream& RemoteExit() { return Raw({0x1B, 0x00, 0x00, 0x00}); }

  private:
    Stream& Le32(uint32_t value) {
        return Raw({static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                    static_cast<int>((value >> 16) & 0xFF), static_cast<int>(value >> 24)});
    }
};

}  // namespace vprinter_test
