#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ExecutableFolder.h"
#include "platform/LibraryLoader.h"
#include "platform/Paths.h"
#include "platform/PortFolder.h"
#include "platform/PortList.h"
#include "support/TempFolder.h"

using testing_support::TempFolder;

TEST(ExecutableFolder, CutsAtTheLastSeparator) {
    EXPECT_EQ(orvane::FolderOfPath("/opt/orvane/bin/adjust"), "/opt/orvane/bin");
    EXPECT_EQ(orvane::FolderOfPath("/adjust"), "/");
    EXPECT_EQ(orvane::FolderOfPath("adjust"), "");
    EXPECT_TRUE(orvane::IsAbsolutePath(orvane::ExecutableFolder())) << orvane::ExecutableFolder();
#ifdef _WIN32
    EXPECT_EQ(orvane::FolderOfPath("C:\\Program Files\\Orvane\\adjust.exe"),
              "C:\\Program Files\\Orvane");
    EXPECT_EQ(orvane::FolderOfPath("C:\\adjust.exe"), "C:\\");
#endif
}

TEST(LibraryLoader, RefusesRelativePathsAndNamesTheLibrariesThePlatformsWay) {
    orvane::SystemLibraryLoader loader;
    const std::string name = orvane::PlatformLibraryFileName("Portway");
    EXPECT_EQ(loader.Load(name), nullptr);
    EXPECT_EQ(loader.Load("./" + name), nullptr);
#ifdef _WIN32
    EXPECT_EQ(orvane::PlatformLibraryFileName("Chanlink"), "Chanlink.dll");
#else
    EXPECT_EQ(orvane::PlatformLibraryFileName("Chanlink"), "libChanlink.so");
#endif
}

TEST(VirtualPrinterPortList, ListsThePrinterFoldersAndFailsWithoutAStateFolder) {
    TempFolder folder;
    for (const char* name : {"VTUSB002", "LPT1:", "USB001"}) {
        const std::string printer = folder / orvane::PortFolderName(name);
        std::filesystem::create_directories(orvane::PathOf(printer));
        testing_support::WriteFile(printer + "/printer.conf", "model=x\n");
    }
    std::filesystem::create_directories(folder / "notaprinter");

    std::vector<std::string> ports{"untouched"};
    orvane::VirtualPrinterPortList missing(folder / "absent");
    EXPECT_FALSE(missing.EnumeratePorts(ports));
    EXPECT_EQ(ports, std::vector<std::string>{"untouched"});

    orvane::VirtualPrinterPortList list(folder.Path());
    ASSERT_TRUE(list.EnumeratePorts(ports));
    EXPECT_EQ(ports, (std::vector<std::string>{"LPT1:", "USB001", "VTUSB002"}));
}
