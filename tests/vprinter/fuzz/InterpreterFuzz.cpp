// libFuzzer target of the virtual printer's print engine. The first byte
// chooses how the rest is cut into data calls; every call is first counted
// for sheets and then printed, and the two must agree. The same bytes are
// listed once more as the control tool's inspect does, and read as a stream
// file. The values that packets set put the dots that follow off, as on a
// printer whose mechanism is perfect.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "vprinter/Capture.h"
#include "vprinter/Png.h"
#include "vprinter/PrintEngine.h"

namespace {

class Owner final : public vprinter::PrintEngine::Owner {
  public:
    vprinter::PrintEngine* engine = nullptr;
    int sheets = 0;
    void Fault(uint64_t, const std::string& note) override {
        if (note.empty()) {
            std::abort();
        }
    }
    // As a printer with a perfect mechanism: each value a packet sets puts
    // what follows off by that value.
    void Packet(uint64_t, const vprinter::PacketCommand& command) override {
        (void)vprinter::DescribePacket(command);
        using Kind = vprinter::PacketCommand::Kind;
        const int off = -command.value;
        switch (command.kind) {
            case Kind::Bid:
                off_.bid[command.mode & 3][command.black ? 0 : 1] = off;
                break;
            case Kind::PaperFeed:
                (command.black ? off_.pfBlack : off_.pfColour) = off;
                break;
            case Kind::HeadAngular:
                off_.headAngular = off;
                break;
            case Kind::FirstDot:
                off_.firstDot = off;
                break;
            case Kind::TopMargin:
                off_.topMargin = off;
                break;
            default:
                return;
        }
        engine->SetMisregistration(off_);
    }
    void SheetTaken(vprinter::Page&) override { ++sheets; }
    void PagePrinted(vprinter::Page& page) override {
        if (page.Rows() > 64 || pictured_) {
            return;  // the picture of one small page an input: the fuzzer stays fast
        }
        pictured_ = true;
        // Both are written whole by each call; kept from input to input, so
        // that their memory is not mapped and unmapped again each time.
        static std::vector<uint8_t> png;
        static std::vector<uint8_t> pixels;
        uint32_t width = 0;
        uint32_t height = 0;
        if (!vprinter::EncodePng(page, png) || !vprinter::DecodePng(png, width, height, pixels) ||
            height != page.Rows() ||
            pixels[pixels.size() - 1] != page.Pixel(height - 1, width - 1)) {
            std::abort();
        }
    }

  private:
    vprinter::Misregistration off_;
    bool pictured_ = false;
};

class Lister final : public vprinter::PrintSink {
  public:
    void Fault(uint64_t, const std::string&) override {}
    void Packet(uint64_t, const vprinter::PacketCommand&) override {}
    void StartSheet(int64_t) override {}
    void Dot(vprinter::Ink, int64_t, int64_t, int) override {}
    void DotRun(vprinter::Ink, int64_t, int64_t, const uint8_t*, int, uint64_t) override {}
    void Character(int64_t, int64_t, char) override {}
    void EjectSheet() override {}
    bool WantsListing() const override { return true; }
    void Listing(uint64_t, const std::string& command, const std::string&) override {
        if (command.empty()) {
            std::abort();
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const size_t chunk = size_t{1} + data[0];
    ++data;
    --size;

    vprinter::PrintEngine engine;
    engine.SetCommandCode(0x0B, 0x54);
    Owner owner;
    owner.engine = &engine;
    for (size_t at = 0; at < size; at += chunk) {
        const size_t n = size - at < chunk ? size - at : chunk;
        const int expected = owner.sheets + engine.SheetsNeeded(data + at, n);
        engine.Feed(data + at, n, owner);
        if (owner.sheets != expected) {
            std::abort();  // the count before a call must be what the call takes
        }
    }
    engine.Finish(owner);
    engine.Restart(owner);

    vprinter::Interpreter lister;
    Lister listing;
    lister.Feed(data, size, listing);
    lister.Finish(listing);

    std::vector<vprinter::StreamRecord> records;
    std::string error;
    const std::string file(reinterpret_cast<const char*>(data), size);
    vprinter::ParseStream(file, records, error);
    for (const auto& record : records) {
        if (record.offset + record.length > file.size()) {
            std::abort();
        }
    }
    return 0;
}
