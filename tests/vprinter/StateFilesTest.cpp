// The state folder's files against what may be planted among them: a FIFO
// where a file belongs is neither waited on nor replaced, and a link at a
// temporary file's name is never written through.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/LinuxOnly.h"
#include "support/PlantedFifo.h"
#include "support/TempFolder.h"
#include "vprinter/Capture.h"
#include "vprinter/PageFiles.h"
#include "vprinter/Store.h"

namespace {

using testing_support::PlantedFifo;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;
using vprinter::Store;

class StateFiles : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(store_.EnsureCreated()); }

    std::string Printer(const std::string& name) const {
        return store_.PrinterFolder("VTUSB001") + "/" + name;
    }
    bool SavePage() {
        vprinter::Page page(100);
        std::string error;
        return vprinter::SavePage(store_.PagesFolder("VTUSB001"), page, error);
    }
#ifndef _WIN32
    static bool IsFifo(const std::string& path) {
        struct stat status {};
        return ::lstat(path.c_str(), &status) == 0 && S_ISFIFO(status.st_mode);
    }
#endif

    TempFolder folder_;
    Store store_{folder_ / "state"};
};

struct Use {
    std::string file;           // in the state folder
    std::function<bool()> run;  // false when it went wrong for it
};

// Each use of a state file meets a FIFO in its place: it goes on at once
// without opening it, and the FIFO is still there afterwards.
TEST_F(StateFiles, AFifoInAFilesPlaceIsNeitherOpenedNorReplaced) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("FIFOs do not exist on Windows");
#else
    const std::vector<Use> uses = {
        {"VTUSB001/printer.conf",
         [this] {
             vprinter::PrinterConfig config;
             return !store_.LoadConfig("VTUSB001", config);
         }},
        {"VTUSB001/printer.conf",
         [this] { return !store_.SaveConfig("VTUSB001", vprinter::PrinterConfig{}); }},
        {"library.conf", [this] { return store_.LoadLibraryConfig().callFaults.empty(); }},
        {"library.conf", [this] { return !store_.SaveLibraryConfig({}); }},
        {"VTUSB001/eeprom.bin", [this] { return !store_.SaveEeprom("VTUSB001", {}); }},
        {"VTUSB001/pages/.next", [this] { return SavePage(); }},
        {"VTUSB001/received.stream",
         [this] {
             vprinter::CaptureFile capture(Printer("received.stream"));
             capture.Started(0x0B, 0x54);
             return true;
         }},
    };
    for (const Use& use : uses) {
        const std::string path = store_.Folder() + "/" + use.file;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::filesystem::remove(path);
        PlantedFifo fifo(path);
        ASSERT_TRUE(fifo.Made()) << use.file;
        EXPECT_TRUE(use.run()) << use.file;
        EXPECT_FALSE(fifo.WasOpened()) << use.file << " was opened";
        EXPECT_TRUE(IsFifo(path)) << use.file << " was replaced";
        std::filesystem::remove(path);
    }
#endif
}

// A link planted at the name an older writer gave its temporary file
// (NAME.tmp.PID) is left alone: what it points at keeps its content.
TEST_F(StateFiles, ALinkAtATemporaryNameIsNotWrittenThrough) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("symbolic links need a privilege on Windows");
#else
    const std::vector<Use> uses = {
        {"VTUSB001/printer.conf",
         [this] { return store_.SaveConfig("VTUSB001", vprinter::PrinterConfig{}); }},
        {"VTUSB001/eeprom.bin",
         [this] { return store_.SaveEeprom("VTUSB001", Store::FreshBoard()); }},
        {"VTUSB001/mechanism.conf", [this] { return store_.SaveMechanism("VTUSB001", {}); }},
        {"library.conf", [this] { return store_.SaveLibraryConfig({}); }},
        {"VTUSB001/pages/.next", [this] { return SavePage(); }},
        {"VTUSB001/pages/.page-" + std::to_string(::getpid()) + ".part",
         [this] { return SavePage(); }},
    };
    const std::string victim = folder_ / "victim";
    for (const Use& use : uses) {
        WriteFile(victim, "not theirs");
        const std::string link =
            store_.Folder() + "/" + use.file + ".tmp." + std::to_string(::getpid());
        std::filesystem::create_directories(std::filesystem::path(link).parent_path());
        ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0) << link;
        EXPECT_TRUE(use.run()) << use.file;
        EXPECT_EQ(ReadFile(victim), "not theirs") << use.file;
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << use.file;
        std::filesystem::remove(link);
    }
#endif
}

}  // namespace
