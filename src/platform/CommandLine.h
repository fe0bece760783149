#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// A tool's command line as UTF-8, whatever the platform: on Windows the
// arguments come from the wide command line (GetCommandLineW), not from the
// code page's argv, so that a folder named "Жук" reaches the tool whole.
class Utf8Arguments {
  public:
    Utf8Arguments(int argc, char** argv);
    int Count() const { return static_cast<int>(pointers_.size()) - 1; }
    char** Values() { return pointers_.data(); }
    std::vector<std::string> WithoutProgram() const;

  private:
    std::vector<std::string> arguments_;
    std::vector<char*> pointers_;
};

// The console shows what the tool writes as UTF-8 (Windows: the console's
// output code page; POSIX consoles take the bytes as they are), and a line
// ends in '\n' alone on Windows too (stdout and stderr in binary mode).
void UseUtf8Console();

// An environment variable as UTF-8; nothing when it is not set.
std::optional<std::string> Environment(const char* name);
// Sets an environment variable of this process (and the processes it
// starts), the value UTF-8.
bool SetEnvironment(const char* name, const std::string& value);

}  // namespace orvane
