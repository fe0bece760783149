#include "adjust/ModuleSet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "link/ResultCodes.h"
#include "support/ScriptedMessageBox.h"
#include "support/VirtualClock.h"

namespace {

// Memory that notes when it is asked for.
class NotedMemory final : public orvane::IMemory {
  public:
    explicit NotedMemory(std::vector<std::string>& events) : events_(events) {}
    std::unique_ptr<uint8_t[]> Allocate(size_t size) override {
        events_.push_back("memory");
        return std::make_unique<uint8_t[]>(size);
    }

  private:
    std::vector<std::string>& events_;
};

class NoStatus final : public IStatusReporter {
  public:
    uint16_t ShowStatus(int, const std::string&) override { return ResultOk; }
    void Repaint() override {}
};

// The hook sees the set's own link before any other module is made: the
// program ends there when a library is missing, before the print-data job
// takes its memory (which must then be the seams' memory).
TEST(ModuleSet, TheLinkHookRunsBeforeThePrintJobTakesTheSeamsMemory) {
    std::vector<std::string> events;
    orvane::SystemLibraryLoader loader;
    testing_support::VirtualClock clock;
    orvane::StdRandom random;
    testing_support::ScriptedMessageBox box;
    NotedMemory memory(events);
    NoStatus status;
    const TPDLLFunction* hooked = nullptr;
    const orvane::ModuleSet set({.loader = loader,
                                 .programFolder = "",
                                 .clock = clock,
                                 .random = random,
                                 .messageBox = box,
                                 .memory = &memory,
                                 .reporter = status,
                                 .linkMade = [&](TPDLLFunction& link) {
                                     events.push_back("link");
                                     hooked = &link;
                                 }});
    EXPECT_EQ(events, (std::vector<std::string>{"link", "memory"}));
    EXPECT_EQ(hooked, &set.link);
    EXPECT_TRUE(box.shown.empty());
}

}  // namespace
