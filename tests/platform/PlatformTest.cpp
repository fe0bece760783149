#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ExecutableFolder.h"
#include "platform/LibraryLoader.h"
#include "platform/PortList.h"
#include "support/TempFolder.h"

using testing_support::TempFolder;

TEST(ExecutableFolder, CutsAtTheLastSeparator) {
    EXPECT_EQ(orvane::FolderOfPath("/opt/orvane/bin/adjust"), "/opt/orvane/bin");
    EXPECT_EQ(orvane::FolderOfPath("/adjust"), "/");
    EXPECT_EQ(orvane::FolderOfPath("adjust"), "");
    EXPECT_EQ(orvane::ExecutableFolder().front(), '/');
}

TEST(LibraryLoader, RefusesRelativePathsAndNamesTheLibrariesTheLinuxWay) {
    orvane::SystemLibraryLoader loader;
    EXPECT_EQ(loader.Load("libPortway.so"), nullptr);
    EXPECT_EQ(loader.Load("./libPortway.so"), nullptr);
    EXPECT_EQ(orvane::PlatformLibraryFileName("Chanlink"), "libChanlink.so");
}

TEST(VirtualPrinterPortList, ListsThePrinterFoldersAndFailsWithoutAStateFolder) {
    TempFolder folder;
    for (const char* name : {"VTUSB002", "LPT1:", "USB001"}) {
        std::filesystem::create_directories(folder / name);
        testing_support::WriteFile(folder / name + "/printer.conf", "model=x\n");
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
