#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "vprinter/Interpreter.h"
#include "vprinter/Page.h"

namespace vprinter {

// One printer's print engine: reads the data it is sent, prints on the sheet
// in the printer and ejects it. What the data asks of the printer itself
// (packets, sheets from the tray, pictures of the ejected pages) goes to the
// engine's owner.
class PrintEngine {
  public:
    class Owner {
      public:
        virtual ~Owner() = default;
        virtual void Fault(uint64_t offset, const std::string& note) = 0;
        virtual void Packet(uint64_t offset, const PacketCommand& command) = 0;
        virtual void RemoteSetting(uint64_t /*offset*/, const uint8_t* /*table*/) {}
        // A sheet is taken from the tray and printing on it starts.
        virtual void SheetTaken(Page& /*sheet*/) {}
        // An ejected page: the owner keeps its picture and may name it.
        virtual void PagePrinted(Page& page) = 0;
    };

    // Ejected pages kept in memory, the last ones.
    static constexpr size_t kPagesKept = 3;

    void SetCommandCode(uint8_t a, uint8_t b) { interpreter_.SetCommandCode(a, b); }
    void SetMisregistration(const Misregistration& misregistration) {
        interpreter_.SetMisregistration(misregistration);
    }
    // How many sheets the data would take from the tray; nothing changes.
    int SheetsNeeded(const uint8_t* data, size_t length) const;
    void Feed(const uint8_t* data, size_t length, Owner& owner);
    // Power on again: a sheet in the printer is ejected as it is.
    void Restart(Owner& owner);
    // The end of a stream read as a whole: tells of a command left unfinished.
    void Finish(Owner& owner);

    bool AtRest() const { return interpreter_.AtRest(); }
    uint64_t Offset() const { return interpreter_.Offset(); }
    const std::deque<Page>& Printed() const { return printed_; }
    const Page* Sheet() const { return sheet_ ? &*sheet_ : nullptr; }

  private:
    class Drawing;

    void Eject(Owner& owner);

    Interpreter interpreter_;
    std::optional<Page> sheet_;
    std::deque<Page> printed_;
};

}  // namespace vprinter
