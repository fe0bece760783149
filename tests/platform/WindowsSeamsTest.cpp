// What the Windows sides of the seams must do as the POSIX sides do, run on
// both platforms: replacing a file that is there, telling a replaced file
// from the one read, UTF-8 names, the printers' folder names and the default
// folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/BackupFolder.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/PortFolder.h"
#include "platform/PortList.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

namespace {

using testing_support::ScopedEnvironment;
using testing_support::TempFolder;

// Every write replaces what the one before it left: a rename over an
// existing file (which Windows' plain rename refuses), each time a new file
// whose identity differs from the one before, and no temporary file left.
TEST(WindowsSeams, AReplacedFileHoldsTheNewBytesAndIsAnotherFile) {
    TempFolder folder;
    const std::string path = folder / "eeprom.bin";
    orvane::FileIdentity before;
    for (const std::string content : {"first", "second, longer", "3"}) {
        ASSERT_EQ(orvane::ReplaceFile(path, content), orvane::FileWrite::Done) << content;
        std::string read;
        ASSERT_EQ(orvane::ReadWholeFile(path, 64, read), orvane::FileRead::Done);
        EXPECT_EQ(read, content);
        orvane::FileIdentity now;
        ASSERT_TRUE(orvane::FileIdentityOf(path, now));
        EXPECT_FALSE(now == before) << content << ": the same identity as the file it replaced";
        EXPECT_FALSE(orvane::IsSameFile(path, before)) << content;
        EXPECT_TRUE(orvane::IsSameFile(path, now)) << content;
        before = now;
    }
    EXPECT_EQ(orvane::FilesIn(folder.Path()), std::vector<std::string>{"eeprom.bin"});
    // A copy kept under a second name is not replaced by the next write.
    ASSERT_TRUE(orvane::KeepCopy(path, folder / "kept.bin"));
    ASSERT_EQ(orvane::ReplaceFile(path, std::string("4")), orvane::FileWrite::Done);
    EXPECT_EQ(testing_support::ReadFile(folder / "kept.bin"), "3");
    EXPECT_FALSE(orvane::KeepCopy(path, folder / "kept.bin")) << "a kept copy was replaced";
}

// Names that are not ASCII pass through every file call as UTF-8 and come
// back from a folder's listing as they went in.
TEST(WindowsSeams, NamesThatAreNotAsciiStayUtf8) {
    TempFolder root;
    for (const std::string name : {"Жук", "café", "日本語", "plain"}) {
        const std::string folder = root / name;
        ASSERT_TRUE(orvane::CreateFolders(folder + "/sub")) << name;
        EXPECT_EQ(orvane::KindOf(folder), orvane::FileKind::Folder) << name;
        const std::string file = folder + "/" + name + ".conf";
        ASSERT_EQ(orvane::ReplaceFile(file, name), orvane::FileWrite::Done) << name;
        std::string read;
        ASSERT_EQ(orvane::ReadWholeFile(file, 64, read), orvane::FileRead::Done) << name;
        EXPECT_EQ(read, name);
        EXPECT_EQ(orvane::FilesIn(folder), std::vector<std::string>{name + ".conf"});
        EXPECT_EQ(orvane::Utf8Of(orvane::PathOf(file).filename()), name + ".conf");
        EXPECT_TRUE(orvane::RemoveFile(file)) << name;
        EXPECT_FALSE(orvane::Exists(file)) << name;
    }
}

// A port's folder name and back. On Windows no ':' and no device's name;
// the same mapping is checked here on every platform.
TEST(WindowsSeams, EveryPortNameHasAFolderNameWindowsTakesAndBack) {
    const struct {
        const char* port;
        const char* folder;
    } cases[] = {
        {"VTUSB001", "VTUSB001"}, {"LPT1:", "LPT1%3A"}, {"LPT1", "LPT1%"},
        {"lpt9", "lpt9%"},        {"COM3", "COM3%"},    {"USB001:a:", "USB001%3Aa%3A"},
        {"LPT10", "LPT10"},       {"NUL", "NUL%"},      {"LPT0", "LPT0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(orvane::WindowsPortFolderName(c.port), c.folder) << c.port;
        EXPECT_EQ(orvane::PortOfWindowsFolderName(c.folder), std::optional<std::string>(c.port))
            << c.folder;
        const std::string folder = orvane::WindowsPortFolderName(c.port);
        EXPECT_EQ(folder.find(':'), std::string::npos) << c.port;
    }
    // Names no port gives: a device's name bare, a stray '%', an empty name.
    for (const char* folder : {"LPT1", "con", "a%3", "USB%41", "%", "X%"}) {
        EXPECT_EQ(orvane::PortOfWindowsFolderName(folder), std::nullopt) << folder;
    }
#ifdef _WIN32
    EXPECT_EQ(orvane::PortFolderName("LPT1:"), "LPT1%3A");
#else
    // Linux folders keep their ports' names: existing state folders stay valid.
    EXPECT_EQ(orvane::PortFolderName("LPT1:"), "LPT1:");
    EXPECT_EQ(orvane::PortOfFolderName("LPT1"), std::optional<std::string>("LPT1"));
#endif
}

// Without the XDG variables the user's folders are the platform's own: on
// Windows the local application data folder (no HOME there), on Linux the
// home folder's.
TEST(WindowsSeams, TheDefaultFoldersAreThePlatformsOwn) {
    const ScopedEnvironment noDir("ORVANE_VPRINTER_DIR", nullptr);
    const ScopedEnvironment noState("XDG_STATE_HOME", nullptr);
    const ScopedEnvironment noData("XDG_DATA_HOME", nullptr);
#ifndef _WIN32
    const ScopedEnvironment home("HOME", "/home/technician");
#endif
    const std::string state = orvane::VirtualPrinterStateFolder();
    EXPECT_TRUE(orvane::IsAbsolutePath(state)) << state;
    EXPECT_TRUE(state.ends_with("/orvane-vprinter")) << state;
    EXPECT_TRUE(orvane::IsAbsolutePath(orvane::BackupFolder())) << orvane::BackupFolder();
#ifdef _WIN32
    const auto local = orvane::Utf8Of(std::filesystem::path(_wgetenv(L"LOCALAPPDATA")));
    EXPECT_EQ(state, local + "/orvane-vprinter");
    EXPECT_EQ(orvane::UserDataFolder(), local);
#else
    EXPECT_EQ(orvane::VirtualPrinterStateFolder(), "/home/technician/.local/state/orvane-vprinter");
    EXPECT_EQ(orvane::UserDataFolder(), "/home/technician/.local/share");
#endif
    // A relative XDG folder is ignored, an absolute one taken.
    TempFolder folder;
    const ScopedEnvironment relative("XDG_STATE_HOME", "relative/state");
    EXPECT_EQ(orvane::VirtualPrinterStateFolder(), state);
    const ScopedEnvironment absolute("XDG_DATA_HOME", folder.Path().c_str());
    EXPECT_EQ(orvane::BackupFolder(), folder / "Adjustment Program/OrvaneK51_52");
}

}  // namespace
