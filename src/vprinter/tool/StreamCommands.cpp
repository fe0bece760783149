// The tool's commands on printed pages and received streams: pages, reprint
// and inspect.
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "vprinter/Capture.h"
#include "vprinter/PageFiles.h"
#include "vprinter/PrintEngine.h"
#include "vprinter/tool/Tool.h"

namespace vprinter::tool {

namespace {

// A stream is read whole, so it has a bound: far above what a printer keeps
// (CaptureFile::kDefaultLimit) or a pattern sends.
constexpr size_t kStreamFileLimit = size_t{1} << 30;

std::string ReadStreamFile(const std::string& path) {
    std::string bytes;
    switch (orvane::ReadWholeFile(path, kStreamFileLimit, bytes)) {
        case orvane::FileRead::Done:
            return bytes;
        case orvane::FileRead::Missing:
            throw ToolError("no such file " + path);
        case orvane::FileRead::NotAFile:
            throw ToolError(path + " is not a regular file");
        case orvane::FileRead::TooLarge:
            throw ToolError(path + " is larger than a stream file can be (" +
                            std::to_string(kStreamFileLimit >> 20) + " MiB)");
        case orvane::FileRead::CannotRead:
            break;
    }
    throw ToolError("cannot read " + path);
}

const uint8_t* DataOf(const std::string& file, const StreamRecord& record) {
    return reinterpret_cast<const uint8_t*>(file.data() + record.offset);
}

// Reprint stops after this many pages: a damaged or hostile stream of form
// feeds would otherwise fill the pages folder.
constexpr uint64_t kReprintPageLimit = 200;

// A stream file read whole: its records, and what is wrong with it when it is
// cut short or a record breaks the format (a code pair record without its 2
// bytes, a start or drop record with data). Empty when it is sound.
struct StreamFile {
    std::string bytes;
    std::vector<StreamRecord> records;
    std::string damage;
};

StreamFile ReadStream(const std::string& path) {
    StreamFile stream;
    stream.bytes = ReadStreamFile(path);
    std::string error;
    if (!ParseStream(stream.bytes, stream.records, error)) {
        stream.damage = "the stream file is cut short: " + error;
    }
    for (const StreamRecord& record : stream.records) {
        const bool bad = (record.kind == 'C' && record.length != 2) ||
                         ((record.kind == 'R' || record.kind == 'T') && record.length != 0);
        if (bad && stream.damage.empty()) {
            stream.damage = "the stream file is damaged: the '" + std::string(1, record.kind) +
                            "' record at byte " +
                            std::to_string(record.offset - kStreamRecordHead) + " has " +
                            std::to_string(record.length) + " data bytes";
        }
    }
    return stream;
}

// A damaged file is still read as far as it goes; the note goes to stderr and
// the tool ends with exit code 1.
void NoteDamage(Tool& tool, const StreamFile& stream) {
    if (!stream.damage.empty()) {
        std::fflush(stdout);
        std::fprintf(stderr, "orvane-vprinter: %s\n", stream.damage.c_str());
        tool.exitCode = 1;
    }
}

struct PageLimitReached {};

// Prints every command the interpreter reads, one a line.
class Lister final : public PrintSink {
  public:
    void Fault(uint64_t offset, const std::string& note) override { Line(offset, "fault", note); }
    void Packet(uint64_t, const PacketCommand&) override {}
    void StartSheet(int64_t) override {}
    void Dot(Ink, int64_t, int64_t, int) override {}
    void DotRun(Ink, int64_t, int64_t, const uint8_t*, int, uint64_t) override {}
    void Character(int64_t, int64_t, char) override {}
    void EjectSheet() override {}
    bool WantsListing() const override { return true; }
    void Listing(uint64_t offset, const std::string& command,
                 const std::string& parameters) override {
        Line(offset, command, parameters);
    }

  private:
    static void Line(uint64_t offset, const std::string& command, const std::string& parameters) {
        if (parameters.empty()) {
            std::printf("%10llu  %s\n", static_cast<unsigned long long>(offset), command.c_str());
        } else {
            std::printf("%10llu  %-12s %s\n", static_cast<unsigned long long>(offset),
                        command.c_str(), parameters.c_str());
        }
    }
};

// Prints a stream again into a printer's pages folder, without touching the
// printer: no paper, no EEPROM, no maintenance.
class Reprint final : public PrintEngine::Owner {
  public:
    explicit Reprint(std::string folder) : folder_(std::move(folder)) {}

    void Fault(uint64_t offset, const std::string& note) override {
        if (++faults_ <= kShown) {
            std::printf("fault at offset %llu: %s\n", static_cast<unsigned long long>(offset),
                        note.c_str());
        }
    }
    void Packet(uint64_t, const PacketCommand&) override {}
    void PagePrinted(Page& page) override {
        if (pages_ == kReprintPageLimit) {
            throw PageLimitReached{};
        }
        std::string error;
        if (!SavePage(folder_, page, error)) {
            throw ToolError(error);
        }
        std::printf("printed %s\n", page.name.c_str());
        ++pages_;
    }
    void Summary() const {
        if (faults_ > kShown) {
            std::printf("%llu faults in all\n", static_cast<unsigned long long>(faults_));
        }
    }

  private:
    static constexpr uint64_t kShown = 100;
    std::string folder_;
    uint64_t faults_ = 0;
    uint64_t pages_ = 0;
};

void Inspect(Tool& tool, const std::string& path) {
    const StreamFile stream = ReadStream(path);
    const std::string& file = stream.bytes;
    const std::vector<StreamRecord>& records = stream.records;
    const bool raw = file.compare(0, kStreamHeaderBytes, kStreamMagic) != 0;
    Interpreter interpreter;
    interpreter.SetCommandCode(0x0B, 0x54);
    Lister lister;
    size_t call = 0;
    for (const StreamRecord& record : records) {
        const uint8_t* data = DataOf(file, record);
        switch (record.kind) {
            case 'D':
                ++call;
                if (raw) {
                    break;
                }
                if (record.result != 1) {
                    std::printf("-- call %zu: %zu bytes, refused (0x%04X)\n", call, record.length,
                                record.result);
                    continue;
                }
                std::printf("-- call %zu: %zu bytes\n", call, record.length);
                break;
            case 'C':
                if (record.length == 2) {
                    std::printf("-- command code %02X %02X\n", data[0], data[1]);
                    interpreter.SetCommandCode(data[0], data[1]);
                }
                continue;
            case 'R':
            case 'T':
                std::printf(record.kind == 'R' ? "-- printer started\n"
                                               : "-- the stream before was dropped\n");
                interpreter.Reset();
                continue;
            default:
                std::printf("-- record of unknown kind 0x%02X\n",
                            static_cast<unsigned char>(record.kind));
                continue;
        }
        interpreter.Feed(data, record.length, lister);
    }
    interpreter.Finish(lister);
    NoteDamage(tool, stream);
}

}  // namespace

void AddStreamCommands(CLI::App& app, Tool& tool) {
    static std::string port;
    auto* pages = app.add_subcommand("pages", "list the pages a printer printed");
    pages->add_option("port", port)->required();
    pages->callback([&tool] {
        tool.RequirePrinter(port);
        const std::string folder = tool.GetStore().PagesFolder(port);
        for (const auto& name : ListPages(folder)) {
            uint32_t width = 0;
            uint32_t height = 0;
            std::error_code error;
            const auto bytes =
                std::filesystem::file_size(orvane::PathOf(folder + "/" + name), error);
            if (PngSize(folder + "/" + name, width, height)) {
                std::printf("%s  %u x %u  %llu bytes\n", name.c_str(), width, height,
                            static_cast<unsigned long long>(error ? 0 : bytes));
            } else {
                std::printf("%s  (no picture)\n", name.c_str());
            }
        }
    });

    auto* reprint = app.add_subcommand("reprint", "print the stream a printer received again");
    reprint->add_option("port", port)->required();
    reprint->callback([&tool] {
        tool.RequirePrinter(port);
        const std::string path = tool.GetStore().PrinterFolder(port) + "/received.stream";
        std::error_code missing;
        if (!std::filesystem::exists(orvane::PathOf(path), missing)) {
            throw ToolError("printer " + port + " has received no stream");
        }
        const StreamFile stream = ReadStream(path);
        Reprint owner(tool.GetStore().PagesFolder(port));
        PrintEngine engine;
        engine.SetCommandCode(0x0B, 0x54);
        try {
            for (const StreamRecord& record : stream.records) {
                const uint8_t* data = DataOf(stream.bytes, record);
                if (record.kind == 'R' || record.kind == 'T') {
                    engine.Restart(owner);
                } else if (record.kind == 'C' && record.length == 2) {
                    engine.SetCommandCode(data[0], data[1]);
                } else if (record.kind == 'D' && record.result == 1) {
                    engine.Feed(data, record.length, owner);
                }
            }
        } catch (const PageLimitReached&) {
            owner.Summary();
            std::fflush(stdout);
            std::fprintf(stderr,
                         "orvane-vprinter: reprint stopped after %llu pages; the rest of the "
                         "stream is not printed\n",
                         static_cast<unsigned long long>(kReprintPageLimit));
            tool.exitCode = 1;
            return;
        }
        owner.Summary();
        if (engine.Sheet() != nullptr) {
            std::printf("a sheet is still in the printer: the stream ends before its form feed\n");
        }
        NoteDamage(tool, stream);
    });

    static std::string file;
    auto* inspect = app.add_subcommand(
        "inspect", "list the commands of a stream file (or raw print data), one a line");
    inspect->add_option("file", file)->required();
    inspect->callback([&tool] { Inspect(tool, file); });
}

}  // namespace vprinter::tool
