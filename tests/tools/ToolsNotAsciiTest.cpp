// The three tools, each its own process, on a state folder whose name is not
// ASCII (and the backups and the service log beside it): the name goes
// through each tool's command line, its environment and every file call.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/Process.h"
#include "support/TempFolder.h"

namespace {

using Json = nlohmann::json;
using testing_support::ProcessResult;

struct Step {
    const char* program;
    std::vector<std::string> args;  // after --dir FOLDER
    // What the step's output must show; the folder is given to it.
    std::function<void(const ProcessResult&, const std::string&)> check;
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ToolsInAFolderNotAscii, ListBackUpAdjustBackUpRemoveAndPrint) {
    testing_support::TempFolder root;
    const std::string folder = root / "Жук";
    const std::vector<std::string> environment = {
        "ORVANE_MANUAL_CLOCK=1", "XDG_DATA_HOME=" + folder + "-data",
        "XDG_STATE_HOME=" + folder + "-state"};
    const std::vector<Step> steps = {
        {"orvane-vprinter",
         {"list"},
         [](const ProcessResult& run, const std::string&) {
             EXPECT_TRUE(Has(run.out, "VTUSB001") && Has(run.out, "VTUSB002")) << run.out;
         }},
        // A backup, a value changed, and a backup again: the first is kept
        // in the history, the second is the current one (a backup of the
        // very same bytes keeps no second copy).
        {"orvane-service", {"--port", "VTUSB001", "--model", "K31", "backup"}, nullptr},
        {"orvane-service", {"--port", "VTUSB001", "adjust", "set", "pf-black=2"}, nullptr},
        {"orvane-service",
         {"--port", "VTUSB001", "--json", "adjust", "pf-black"},
         [](const ProcessResult& run, const std::string&) {
             EXPECT_EQ(Json::parse(run.out)["values"]["pf-black"], 2) << run.out;
         }},
        {"orvane-service", {"--port", "VTUSB001", "--model", "K31", "backup"}, nullptr},
        {"orvane-service",
         {"--json", "backup", "list"},
         [](const ProcessResult& run, const std::string& dir) {
             const Json listed = Json::parse(run.out);
             const Json& backups = listed["backups"];
             ASSERT_EQ(backups.size(), 2u) << run.out;
             EXPECT_FALSE(backups[0]["current"]) << run.out;
             EXPECT_TRUE(backups[1]["current"]) << run.out;
             for (const Json& backup : backups) {
                 EXPECT_TRUE(Has(backup["path"].get<std::string>(), dir + "-data/")) << run.out;
             }
         }},
        {"orvane-service",
         {"--json", "log"},
         [](const ProcessResult& run, const std::string&) {
             EXPECT_TRUE(Has(run.out, "\"pf-black\"")) << run.out;
         }},
        {"orvane-vprinter", {"remove", "VTUSB002"}, nullptr},
        {"orvane-vprinter",
         {"list"},
         [](const ProcessResult& run, const std::string&) {
             EXPECT_TRUE(Has(run.out, "VTUSB001") && !Has(run.out, "VTUSB002")) << run.out;
         }},
        {"orvane-pattern", {"beta", "--eject", "--out", root / "Жук.stream"}, nullptr},
        {"orvane-vprinter",
         {"pages", "VTUSB001"},
         [](const ProcessResult& run, const std::string&) {
             EXPECT_TRUE(Has(run.out, ".png") && Has(run.out, " bytes")) << run.out;
         }},
    };
    for (const Step& step : steps) {
        std::vector<std::string> argv = {testing_support::OutputFolder() + "/" + step.program,
                                         "--dir", folder};
        argv.insert(argv.end(), step.args.begin(), step.args.end());
        std::string shown = step.program;
        for (const std::string& arg : step.args) {
            shown += " " + arg;
        }
        SCOPED_TRACE(shown);
        const ProcessResult run = testing_support::RunProcess(argv, root.Path(), environment);
        ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
        if (step.check) {
            step.check(run, folder);
        }
    }
    // The service log went where the tools were told, beside the folder.
    EXPECT_NE(testing_support::ReadFile(folder + "-state/orvane-adjust/service.log"), "");
}

}  // namespace
