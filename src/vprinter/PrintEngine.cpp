#include "vprinter/PrintEngine.h"

namespace vprinter {

// The interpreter's sink while printing: draws on the sheet and hands the
// rest to the owner.
class PrintEngine::Drawing final : public PrintSink {
  public:
    Drawing(PrintEngine& engine, Owner& owner) : engine_(engine), owner_(owner) {}

    void Fault(uint64_t offset, const std::string& note) override { owner_.Fault(offset, note); }
    void Packet(uint64_t offset, const PacketCommand& command) override {
        owner_.Packet(offset, command);
    }
    void RemoteSetting(uint64_t offset, const uint8_t* table) override {
        owner_.RemoteSetting(offset, table);
    }
    void StartSheet(int64_t rows) override {
        engine_.sheet_.emplace(rows);
        owner_.SheetTaken(*engine_.sheet_);
    }
    void Dot(Ink ink, int64_t row, int64_t column, int level) override {
        if (engine_.sheet_) {
            engine_.sheet_->Mark(ink, row, column, level);
        }
    }
    void DotRun(Ink ink, int64_t row, int64_t column, const uint8_t* pattern, int patternDots,
                uint64_t repeats) override {
        if (engine_.sheet_) {
            engine_.sheet_->MarkRun(ink, row, column, pattern, patternDots, repeats);
        }
    }
    void Character(int64_t row, int64_t column, char character) override {
        if (engine_.sheet_) {
            engine_.sheet_->Print(row, column, character);
        }
    }
    void EjectSheet() override { engine_.Eject(owner_); }

  private:
    PrintEngine& engine_;
    Owner& owner_;
};

namespace {

// Only counts the sheets that the data would take.
class SheetCount final : public PrintSink {
  public:
    int sheets = 0;
    void Fault(uint64_t, const std::string&) override {}
    void Packet(uint64_t, const PacketCommand&) override {}
    void StartSheet(int64_t) override { ++sheets; }
    void Dot(Ink, int64_t, int64_t, int) override {}
    void DotRun(Ink, int64_t, int64_t, const uint8_t*, int, uint64_t) override {}
    void Character(int64_t, int64_t, char) override {}
    void EjectSheet() override {}
};

}  // namespace

int PrintEngine::SheetsNeeded(const uint8_t* data, size_t length) const {
    Interpreter trial = interpreter_;
    SheetCount count;
    trial.Feed(data, length, count);
    return count.sheets;
}

void PrintEngine::Feed(const uint8_t* data, size_t length, Owner& owner) {
    Drawing drawing(*this, owner);
    interpreter_.Feed(data, length, drawing);
}

void PrintEngine::Restart(Owner& owner) {
    if (sheet_) {
        Eject(owner);
    }
    interpreter_.Reset();
}

void PrintEngine::Finish(Owner& owner) {
    Drawing drawing(*this, owner);
    interpreter_.Finish(drawing);
}

void PrintEngine::Eject(Owner& owner) {
    if (!sheet_) {
        return;
    }
    printed_.push_back(std::move(*sheet_));
    sheet_.reset();
    owner.PagePrinted(printed_.back());
    while (printed_.size() > kPagesKept) {
        printed_.pop_front();
    }
}

}  // namespace vprinter
