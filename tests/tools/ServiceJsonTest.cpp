// Every command's --json object, and a failure's, against the written schema
// of the tool's output.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "ServiceFixture.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::ServiceTest;
using Json = nlohmann::json;

// The subset of JSON Schema the schema file uses: type (one or a list),
// enum, properties, required, additionalProperties false, items, and $ref to
// "#/$defs/NAME". Returns the first mismatch, with its path, or "".
class Validator {
  public:
    explicit Validator(Json root) : root_(std::move(root)) {}

    std::string Check(const Json& value, const Json& schema, const std::string& path) const {
        if (schema.contains("$ref")) {
            const std::string ref = schema["$ref"];
            const std::string prefix = "#/$defs/";
            if (ref.rfind(prefix, 0) != 0 || !root_["$defs"].contains(ref.substr(prefix.size()))) {
                return path + ": unknown $ref " + ref;
            }
            return Check(value, root_["$defs"][ref.substr(prefix.size())], path);
        }
        if (schema.contains("type") && !HasType(value, schema["type"])) {
            return path + ": " + value.dump() + " is not of type " + schema["type"].dump();
        }
        if (schema.contains("enum") && std::find(schema["enum"].begin(), schema["enum"].end(),
                                                 value) == schema["enum"].end()) {
            return path + ": " + value.dump() + " is none of " + schema["enum"].dump();
        }
        if (value.is_object()) {
            for (const auto& name : schema.value("required", Json::array())) {
                if (!value.contains(name.get<std::string>())) {
                    return path + ": lacks " + name.get<std::string>();
                }
            }
            const Json properties = schema.value("properties", Json::object());
            for (const auto& [name, member] : value.items()) {
                if (properties.contains(name)) {
                    if (std::string error = Check(member, properties[name], path + "." + name);
                        !error.empty()) {
                        return error;
                    }
                } else if (schema.value("additionalProperties", true) == false) {
                    return path + ": has no member " + name + " in the schema";
                }
            }
        }
        if (value.is_array() && schema.contains("items")) {
            for (size_t i = 0; i < value.size(); ++i) {
                if (std::string error =
                        Check(value[i], schema["items"], path + "[" + std::to_string(i) + "]");
                    !error.empty()) {
                    return error;
                }
            }
        }
        return "";
    }

  private:
    static bool HasType(const Json& value, const Json& type) {
        if (type.is_array()) {
            return std::any_of(type.begin(), type.end(),
                               [&value](const Json& one) { return HasType(value, one); });
        }
        const std::string name = type;
        return (name == "object" && value.is_object()) || (name == "array" && value.is_array()) ||
               (name == "string" && value.is_string()) ||
               (name == "integer" && value.is_number_integer()) ||
               (name == "boolean" && value.is_boolean()) || (name == "null" && value.is_null());
    }

    Json root_;
};

Json Schema() {
    std::ifstream file(ORVANE_SERVICE_SCHEMA);
    return Json::parse(file);
}

class ServiceJson : public ServiceTest {};

// The validator itself finds what it is there to find.
TEST_F(ServiceJson, TheValidatorFindsEveryKindOfMismatch) {
    const Json schema = Schema();
    const Validator validator(schema);
    const Json& waste = schema["commands"]["waste"];
    const Json good = {
        {"command", "waste"}, {"port", "P"}, {"maximum", 1}, {"present", 2}, {"rate", "1 %"}};
    EXPECT_EQ(validator.Check(good, waste, "waste"), "");
    Json lacking = good;
    lacking.erase("rate");
    Json wrongType = good;
    wrongType["maximum"] = "1";
    Json extra = good;
    extra["colour"] = 1;
    Json wrongEnum = good;
    wrongEnum["command"] = "clean";
    Json badDryRun = good;
    badDryRun["dry_run"] = Json::array({{{"function", "D4Negotiation"}}});
    for (const Json& value : {lacking, wrongType, extra, wrongEnum, badDryRun}) {
        EXPECT_NE(validator.Check(value, waste, "waste"), "") << value.dump();
    }
}

// Each command's --json output, successful and failed, has the form its
// schema gives; the error object of every exit code too.
TEST_F(ServiceJson, EveryCommandsOutputHasItsSchemasForm) {
    const Json schema = Schema();
    const Validator validator(schema);
    const std::string dump = StateFolder() + "/dump.eep";
    // A backup of the history to restore from.
    ASSERT_EQ(Service({"--port", "VTUSB001", "--model", "K31", "backup"}).exit, 0);
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) { eeprom[0x2C] = 3; });
    ASSERT_EQ(Service({"--port", "VTUSB001", "--model", "K31", "backup"}).exit, 0);
    Json list = Json::parse(Service({"--json", "backup", "list"}).out);
    ASSERT_FALSE(list["backups"].empty());
    const std::string history = list["backups"][0]["path"];
    const std::vector<std::vector<std::string>> commands = {
        {"ports"},
        {"--port", "VTUSB001", "status"},
        {"--port", "VTUSB001", "identity"},
        {"--port", "VTUSB001", "identity", "set", "--head-id", "12345601F%", "--usb-id",
         "AB12CD34EF"},
        {"--port", "VTUSB002", "identity", "set", "--market"},
        {"--port", "VTUSB001", "identity"},
        {"--port", "VTUSB001", "adjust"},
        {"--port", "VTUSB001", "adjust", "top-margin", "bid-eco-black"},
        {"--port", "VTUSB001", "adjust", "set", "pf-black=1", "top-margin=-", "bid-vsd1-black=-3",
         "first-dot=5", "head-angular=-1", "cr-heat-protect"},
        {"--port", "VTUSB001", "--dry-run", "adjust", "set", "pf-color=2"},
        {"--port", "VTUSB001", "print", "first-dot"},
        {"--port", "VTUSB001", "--dry-run", "print", "photo-sheet"},
        {"print", "--list"},
        {"--port", "VTUSB001", "waste"},
        {"--port", "VTUSB001", "waste", "reset"},
        {"--port", "VTUSB001", "clean"},
        {"--port", "VTUSB001", "ink-charge"},
        {"--port", "VTUSB001", "backup"},
        {"--port", "VTUSB001", "restore"},
        {"--port", "VTUSB001", "dump", dump},
        {"--port", "VTUSB001", "--dry-run", "dump", dump + ".dry"},
        {"--port", "VTUSB001", "--model", "K31", "--dry-run", "backup"},
        {"backup", "list"},
        {"--port", "VTUSB001", "--model", "K31", "restore", "--from", history},
        {"log"},
        {"--port", "VTUSB001", "log", "--since", "2000-01-01"},
        // Failures: bad usage, refused, printer.
        {"--port", "VTUSB001", "adjust", "set", "nothing=1"},
        {"--port", "VTUSB001", "adjust", "set", "pf-black=9"},
        {"--port", "VTUSB001", "restore"},
        {"--port", "VTUSB002", "status"},  // switched off by then
    };
    std::set<std::string> seen;
    for (const auto& args : commands) {
        if (&args == &commands.back()) {
            ChangePrinter("VTUSB002", [](vprinter::PrinterConfig& c) { c.powered = false; });
        }
        std::vector<std::string> withJson = {"--json"};
        withJson.insert(withJson.end(), args.begin(), args.end());
        const Run run = Service(withJson);
        std::string joined;
        for (const auto& arg : args) {
            joined += arg + " ";
        }
        Json result;
        ASSERT_NO_THROW(result = Json::parse(run.out)) << joined << run.out;
        if (run.exit == 0) {
            ASSERT_TRUE(result.contains("command")) << joined;
            const std::string command = result["command"];
            ASSERT_TRUE(schema["commands"].contains(command)) << command;
            EXPECT_EQ(validator.Check(result, schema["commands"][command], command), "")
                << joined << result.dump();
            seen.insert(command);
        } else {
            EXPECT_EQ(validator.Check(result, schema["error"], "error"), "") << joined;
            EXPECT_EQ(result["exit"], run.exit) << joined;
            seen.insert("exit " + std::to_string(run.exit));
        }
    }
    // Every command of the schema was seen, and every exit code of a failure.
    for (const auto& [command, _] : schema["commands"].items()) {
        EXPECT_TRUE(seen.contains(command)) << command;
    }
    for (const char* exit : {"exit 1", "exit 2", "exit 3"}) {
        EXPECT_TRUE(seen.contains(exit)) << exit;
    }

    // A write command cut short tells what it wrote in the error's form.
    FailNextCall("D4WriteEeprom", ResultChannelError, 3);
    const Run cut =
        Service({"--json", "--port", "VTUSB001", "identity", "set", "--head-id", "12345601F%"});
    ASSERT_EQ(cut.exit, 1) << cut.err;
    const Json error = Json::parse(cut.out);
    EXPECT_TRUE(error["written"].contains("partial")) << cut.out;
    EXPECT_EQ(validator.Check(error, schema["error"], "error"), "") << cut.out;
}

// Whatever goes wrong, and wherever --json stands, stdout holds one JSON
// object: also for an option refused before --json is read, and for bytes
// that are no UTF-8 in a port, a value's name or the printer's model name.
TEST_F(ServiceJson, EveryFailureAndOddByteStillGivesOneObject) {
    ChangePrinter("VTUSB002", [](vprinter::PrinterConfig& c) { c.model = "Orvane K32\xe9"; });
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"--model", "K33", "--json", "status"}, 2},
        {{"--port", "\xff", "--json", "status"}, 2},
        {{"--port", "VTUSB001", "--json", "adjust", "set", "pf\xff=1"}, 2},
        {{"--port", "VTUSB002", "--json", "identity"}, 0},
    };
    for (const auto& [args, exit] : cases) {
        const Run run = Service(args);
        EXPECT_EQ(run.exit, exit) << args[1];
        Json result;
        ASSERT_NO_THROW(result = Json::parse(run.out)) << args[1] << run.out;
        EXPECT_EQ(result.contains("error"), exit != 0) << args[1];
    }
}

}  // namespace
