// Loading and unloading of the link libraries, with a scripted loader and
// with the real libraries copied into folders of a test's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "link/Dllfunction.h"
#include "link/ResultCodes.h"
#include "platform/LibraryLoader.h"
#include "support/Process.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

// A link library's path in folder, named as on this platform.
std::string Lib(const std::string& folder, const char* name) {
    return folder + "/" + orvane::PlatformLibraryFileName(name);
}

// Answers loads from a list of available paths and records every call.
class ScriptedLoader final : public orvane::ILibraryLoader {
  public:
    std::map<std::string, int> available;  // path -> handle number
    std::vector<std::string> calls;

    orvane::LibraryHandle Load(const std::string& path) override {
        calls.push_back("load " + path);
        const auto it = available.find(path);
        return it == available.end() ? nullptr : Handle(it->second);
    }
    void* Lookup(orvane::LibraryHandle library, const char* name) override {
        calls.push_back("lookup " + std::string(name) + " in " + std::to_string(Number(library)));
        return nullptr;
    }
    void Free(orvane::LibraryHandle library) override {
        calls.push_back("free " + std::to_string(Number(library)));
    }

  private:
    static orvane::LibraryHandle Handle(int number) {
        return reinterpret_cast<orvane::LibraryHandle>(static_cast<uintptr_t>(number));
    }
    static int Number(orvane::LibraryHandle handle) {
        return static_cast<int>(reinterpret_cast<uintptr_t>(handle));
    }
};

class RecordingMessageBox final : public orvane::IMessageBox {
  public:
    orvane::MessageAnswer Show(const orvane::MessageRequest& request) override {
        fprintf(stderr, "box[%s] caption[%s] icon %d owner %d\n", request.text.c_str(),
                request.caption.c_str(), static_cast<int>(request.icon),
                static_cast<int>(request.owner));
        return orvane::MessageAnswer::Ok;
    }
};

TEST(DllfunctionLoad, LoadsPortThenChannelLibraryFromTheProgramFolderAndFreesChannelFirst) {
    ScriptedLoader loader;
    loader.available = {{Lib("/opt/adj", "Portway"), 1}, {Lib("/opt/adj", "Chanlink"), 2}};
    {
        TPDLLFunction link(loader, "/opt/adj");
        ASSERT_TRUE(link.Load());
        loader.calls.clear();
    }
    EXPECT_EQ(loader.calls, (std::vector<std::string>{"free 2", "free 1"}));
}

TEST(DllfunctionLoad, TriesTheChannelLibraryEvenWhenThePortLibraryIsMissing) {
    ScriptedLoader loader;
    loader.available = {{Lib("/opt/adj", "Chanlink"), 2}};
    TPDLLFunction link(loader, "/opt/adj");
    EXPECT_FALSE(link.Load());
    EXPECT_EQ(loader.calls, (std::vector<std::string>{"load " + Lib("/opt/adj", "Portway"),
                                                      "load " + Lib("/opt/adj", "Chanlink")}));
    // The channel library is held, the port wrappers answer 0xB000 without a look-up.
    loader.calls.clear();
    EXPECT_EQ(link.PortOpenByPway(1025), ResultDllMissing);
    EXPECT_EQ(link.CheckDeviceIDByPway(), ResultDllMissing);
    EXPECT_TRUE(loader.calls.empty());
    // A channel function that the library does not export is missing too.
    EXPECT_EQ(link.D4Negotiation(), ResultDllMissing);
    EXPECT_EQ(loader.calls, (std::vector<std::string>{"lookup D4Negotiation in 2"}));
}

TEST(DllfunctionLoad, LooksTheFunctionUpAnewOnEveryCall) {
    ScriptedLoader loader;
    loader.available = {{Lib("/a", "Portway"), 1}, {Lib("/a", "Chanlink"), 2}};
    TPDLLFunction link(loader, "/a");
    ASSERT_TRUE(link.Load());
    loader.calls.clear();
    uint8_t value = 0;
    link.D4ReadEeprom(0x42, value);
    link.D4ReadEeprom(0x42, value);
    int16_t code = 0;
    link.GetIoErrorCodeByPway(code);
    EXPECT_EQ(loader.calls,
              (std::vector<std::string>{"lookup D4ReadEeprom in 2", "lookup D4ReadEeprom in 2",
                                        "lookup GetIoErrorCodeByPway in 1"}));
}

TEST(DllfunctionLoad, ReloadingFreesWhatWasHeldFirst) {
    ScriptedLoader loader;
    loader.available = {{Lib("/a", "Portway"), 1}, {Lib("/a", "Chanlink"), 2}};
    TPDLLFunction link(loader, "/a");
    ASSERT_TRUE(link.Load());
    loader.calls.clear();
    ASSERT_TRUE(link.Load());
    EXPECT_EQ(loader.calls,
              (std::vector<std::string>{"free 2", "free 1", "load " + Lib("/a", "Portway"),
                                        "load " + Lib("/a", "Chanlink")}));
}

TEST(DllfunctionLoadDeathTest, AMissingLibraryShowsTheStartUpMessageAndEndsWithExitCodeZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ScriptedLoader loader;
    loader.available = {{Lib("/a", "Portway"), 1}};
    TPDLLFunction link(loader, "/a");
    RecordingMessageBox box;
    EXPECT_EXIT(link.LoadOrExit(box), ::testing::ExitedWithCode(0),
                "box\\[DLLファイルが見つかりません。\nこのプログラムは終了します。\\] "
                "caption\\[\\] icon 1 owner 0");
}

// The real libraries, copied with the probe into a program folder; the probe
// is started from another folder that holds decoy files of the same names.
class ProgramFolder : public ::testing::Test {
  protected:
    ProgramFolder() {
        fs::create_directories(root_ / "program");
        fs::create_directories(root_ / "elsewhere");
        const std::string from = testing_support::OutputFolder();
        std::vector<std::string> files = {testing_support::ProgramFile("orvane-link-probe")};
        for (const char* library : {"Portway", "Chanlink", "OrvaneVPrinter"}) {
            files.push_back(orvane::PlatformLibraryFileName(library));
        }
#ifdef _WIN32
        // The compiler's runtime libraries, which Windows loads from the
        // program's folder too.
        for (const auto& entry : fs::directory_iterator(from)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("lib") && name.ends_with(".dll")) {
                files.push_back(name);
            }
        }
#endif
        for (const std::string& file : files) {
            fs::copy_file(from + "/" + file, root_ / "program/" + file);
        }
        for (const char* decoy : {"Portway", "Chanlink"}) {
            testing_support::WriteFile(Lib(root_ / "elsewhere", decoy), "not a library");
        }
    }

    testing_support::ProcessResult RunProbe(const std::string& invocation) {
        return testing_support::RunProcess({invocation, "1025"}, root_ / "elsewhere",
                                           {"ORVANE_VPRINTER_DIR=" + (root_ / "printers")});
    }

    TempFolder root_;
};

TEST_F(ProgramFolder, TheLibrariesComeFromTheProgramsOwnFolderNotFromTheWorkingFolder) {
    const auto result = RunProbe("../program/./orvane-link-probe");
    EXPECT_EQ(result.exitCode, 3) << result.err;
    EXPECT_EQ(result.out, "loaded\nopen 1025: 0x0001\n");
}

TEST_F(ProgramFolder, AMissingChannelLibraryEndsTheProgramWithTheMessageAndExitCodeZero) {
    fs::remove(Lib(root_ / "program", "Chanlink"));
    const auto result = RunProbe(root_ / "program/orvane-link-probe");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "message box: DLLファイルが見つかりません。\nこのプログラムは終了します。\n");
}

TEST_F(ProgramFolder, AMissingPortLibraryEndsTheProgramTheSameWay) {
    fs::remove(Lib(root_ / "program", "Portway"));
    const auto result = RunProbe(root_ / "program/orvane-link-probe");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("message box: DLL"), std::string::npos);
    EXPECT_EQ(result.out.find("loaded"), std::string::npos);
}

}  // namespace
