#include "vprinter/Mechanism.h"

#include <random>
#include <set>
#include <sstream>

#include "vprinter/Config.h"

namespace vprinter {

namespace {

// Bi-D: the page prints rows at the stored value -2 .. +2, and a new board
// stores 0. Head angular: the page's choices -3, 0, 3. PF: the page's input
// range. Top margin: the page's choices "-", "0", "+". First dot: the right
// half of the page's range; with a new board's 0 stored, an error left of
// that puts the first dot off the paper, where a page cannot show it.
constexpr std::array<MechanismQuantity, kMechanismQuantities> kQuantities = {{
    {"bid-eco-black", 0x32, -2, 2, 1},
    {"bid-eco-color", 0x33, -2, 2, 1},
    {"bid-vsd1-black", 0x34, -2, 2, 1},
    {"bid-vsd1-color", 0x35, -2, 2, 1},
    {"bid-vsd2-black", 0x36, -2, 2, 1},
    {"bid-vsd2-color", 0x37, -2, 2, 1},
    {"bid-vsd3-black", 0x38, -2, 2, 1},
    {"bid-vsd3-color", 0x39, -2, 2, 1},
    {"head-angular", 0x75, -3, 3, 3},
    {"pf-black", 0x2C, -4, 4, 1},
    {"pf-color", 0x2D, -4, 4, 1},
    {"top-margin", 0x5A, -40, 40, 40},
    {"first-dot", 0x59, 0, 127, 1},
}};

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

const std::array<MechanismQuantity, kMechanismQuantities>& MechanismQuantities() {
    return kQuantities;
}

int MechanismIndex(const std::string& name) {
    for (size_t i = 0; i < kQuantities.size(); ++i) {
        if (name == kQuantities[i].name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int8_t Mechanism::ErrorAt(uint8_t address) const {
    for (size_t i = 0; i < kQuantities.size(); ++i) {
        if (kQuantities[i].address == address) {
            return errors[i];
        }
    }
    return 0;
}

std::string FormatMechanism(const Mechanism& mechanism) {
    std::ostringstream out;
    out << "# Orvane virtual printer: the mechanism's true errors, in steps of the adjustment "
           "values\n";
    out << "hidden=" << (mechanism.hidden ? "yes" : "no") << '\n';
    for (size_t i = 0; i < kQuantities.size(); ++i) {
        out << kQuantities[i].name << '=' << static_cast<int>(mechanism.errors[i]) << '\n';
    }
    return out.str();
}

bool ParseMechanism(const std::string& text, Mechanism& mechanism, std::string& problem) {
    Mechanism read;
    std::set<std::string> seen;
    std::istringstream stream(text);
    std::string line;
    for (int number = 1; std::getline(stream, line); ++number) {
        line = Trimmed(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto equals = line.find('=');
        const std::string name = Trimmed(line.substr(0, equals));
        const std::string value =
            equals == std::string::npos ? std::string() : Trimmed(line.substr(equals + 1));
        const int index = MechanismIndex(name);
        long long parsed = 0;
        std::string wrong;
        if (equals == std::string::npos) {
            wrong = "is not NAME=VALUE";
        } else if (!seen.insert(name).second) {
            wrong = "gives " + name + " a second time";
        } else if (name == "hidden") {
            if (value != "yes" && value != "no") {
                wrong = "says neither hidden=yes nor hidden=no";
            }
            read.hidden = value == "yes";
        } else if (index < 0) {
            wrong = "names no quantity of the mechanism";
        } else if (!ParseNumber(value, parsed) || parsed < -128 || parsed > 127) {
            wrong = "holds no value from -128 to 127";
        } else {
            read.errors[static_cast<size_t>(index)] = static_cast<int8_t>(parsed);
        }
        if (!wrong.empty()) {
            problem = "line " + std::to_string(number) + " " + wrong;
            return false;
        }
    }
    mechanism = read;
    return true;
}

Mechanism RandomMechanism(uint32_t seed) {
    // The engine's sequence is fixed by the standard; the distributions are
    // not, so the draw maps the numbers itself.
    std::mt19937 engine(seed);
    Mechanism mechanism;
    for (size_t i = 0; i < kQuantities.size(); ++i) {
        const auto& quantity = kQuantities[i];
        const auto choices =
            static_cast<uint32_t>((quantity.high - quantity.low) / quantity.step + 1);
        const auto drawn = static_cast<int>(static_cast<uint32_t>(engine()) % choices);
        mechanism.errors[i] = static_cast<int8_t>(quantity.low + quantity.step * drawn);
    }
    return mechanism;
}

}  // namespace vprinter
