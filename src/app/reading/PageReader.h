#pragma once

// Read page: the values a printed check page shows, read off its picture for
// the adjustment page that prints it. The picture is the newest page the
// port's virtual printer printed, or a picture or scan the technician
// chooses. The page reader (src/reader) does the reading; a build without it
// has the controls disabled, and these functions refuse.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvane_app {

// Whether this build has the page reader.
bool PageReaderBuilt();
// The Read page controls' tooltip in a build without it.
inline constexpr const char* kNoReaderTip =
    "This build has no page reader (built without ORVANE_BUILD_READER): read the page "
    "by eye and type its value.";

// One value read off a page.
struct ReadValue {
    std::string name;    // the mechanism quantity: "pf-black", "bid-vsd1-color", ...
    int value = 0;       // the value to write
    bool fills = false;  // sure and a number: the page's control takes it
    std::string line;    // for a person: "pf-black: 3", "pf-black: not sure (...)"
};

// What an adjustment page remembers of its last Input: the values written
// and the number of the newest page its printer had printed by then.
struct LastInput {
    std::map<std::string, int> written;
    std::optional<unsigned long> newestPage;  // none: no Input yet
};

// What the adjustment page's picture gave.
struct PageRead {
    std::string refused;  // why it was not read; empty when it was
    std::string source;   // the picture's file name
    std::string title;    // the page's kind in words: "PF check (black)"
    std::vector<ReadValue> values;
};

// The printer a port number reaches, in the state folder; its newest page.
struct PrinterPages {
    std::string stateFolder;
    uint16_t portNumber = 0;
    uint8_t modelCode = 255;  // the model the program adjusts (1 K31, 2 K32)
};

// Reads the newest page the printer printed, as a page of kind (the
// reader's page name: "bid", "head-angular", "pf-black", "pf-color",
// "top-margin", "first-dot"). Refused: no page yet, a printer of another
// model, a page of another kind, a page printed before last's Input.
PageRead ReadNewestPage(const PrinterPages& printer, const std::string& kind,
                        const LastInput& last);
// Reads a picture file (PNG or JPEG) the technician chose, with the values
// the picture keeps of those stored when it was printed. The file cannot
// tell the printer's model; refused as above for another kind, and for a
// picture that keeps a stored value other than one last's Input wrote since.
PageRead ReadPictureFile(const std::string& path, const std::string& kind, const LastInput& last);
// The number of the newest page the printer printed; 0 when none.
unsigned long NewestPageNumber(const PrinterPages& printer);

}  // namespace orvane_app
