// libFuzzer target of the stream-file reader. Whatever the bytes, the records
// read must be the file itself: a header file is its header and its whole
// records one after another, encoded again byte for byte, and a file without
// the header is one data record of all of it. The records are then printed as
// the control tool's reprint does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "vprinter/Capture.h"
#include "vprinter/PrintEngine.h"

namespace {

class Owner final : public vprinter::PrintEngine::Owner {
  public:
    void Fault(uint64_t, const std::string& note) override {
        if (note.empty()) {
            std::abort();
        }
    }
    void Packet(uint64_t, const vprinter::PacketCommand&) override {}
    void PagePrinted(vprinter::Page& page) override {
        if (page.Rows() <= 0) {
            std::abort();
        }
    }
};

void CheckRecords(const std::string& file, const std::vector<vprinter::StreamRecord>& records,
                  bool whole, const std::string& error) {
    if (whole != error.empty()) {
        std::abort();  // a reason exactly when the file is cut short
    }
    if (file.compare(0, vprinter::kStreamHeaderBytes, vprinter::kStreamMagic) != 0) {
        if (!whole || records.size() != 1 || records[0].kind != 'D' || records[0].offset != 0 ||
            records[0].length != file.size()) {
            std::abort();
        }
        return;
    }
    std::string again(vprinter::kStreamMagic, vprinter::kStreamHeaderBytes);
    for (const auto& record : records) {
        if (record.offset != again.size() + vprinter::kStreamRecordHead ||
            record.length > file.size() - record.offset) {
            std::abort();
        }
        const size_t head = again.size();
        again += vprinter::StreamRecordBytes(
            record.kind, record.result,
            reinterpret_cast<const uint8_t*>(file.data()) + record.offset, record.length);
        again[head + 1] = file[head + 1];  // the flags byte is not read
    }
    if (file.compare(0, again.size(), again) != 0 || whole != (again.size() == file.size())) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    std::vector<vprinter::StreamRecord> records;
    std::string error;
    const bool whole = vprinter::ParseStream(file, records, error);
    CheckRecords(file, records, whole, error);

    vprinter::PrintEngine engine;
    engine.SetCommandCode(0x0B, 0x54);
    Owner owner;
    for (const auto& record : records) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(file.data()) + record.offset;
        if (record.kind == 'R' || record.kind == 'T') {
            engine.Restart(owner);
        } else if (record.kind == 'C' && record.length == 2) {
            engine.SetCommandCode(bytes[0], bytes[1]);
        } else if (record.kind == 'D' && record.result == 1) {
            engine.Feed(bytes, record.length, owner);
        }
    }
    engine.Finish(owner);
    return 0;
}
