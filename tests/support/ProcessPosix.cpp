// Child processes on POSIX: fork, exec and pipes read through poll.
#include "support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>

extern char** environ;

namespace testing_support {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& workingFolder,
                           const std::vector<std::string>& extraEnvironment, size_t memoryLimit) {
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return;
    }
    // The extra entries replace the inherited ones of their names (getenv
    // finds the first of two).
    std::vector<std::string> environment;
    const auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string inherited = *entry;
        if (std::none_of(extraEnvironment.begin(), extraEnvironment.end(),
                         [&](const std::string& extra) {
                             return nameOf(extra) == nameOf(inherited);
                         })) {
            environment.push_back(inherited);
        }
    }
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());

    child_ = fork();
    if (child_ == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        if (chdir(workingFolder.c_str()) != 0) {
            _exit(127);
        }
        if (memoryLimit > 0 && !kSanitized) {
            const rlimit limit{memoryLimit, memoryLimit};
            setrlimit(RLIMIT_AS, &limit);
        }
        std::vector<char*> args;
        for (const auto& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        std::vector<char*> env;
        for (const auto& entry : environment) {
            env.push_back(const_cast<char*>(entry.c_str()));
        }
        env.push_back(nullptr);
        execve(args[0], args.data(), env.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    fds_[0] = out[0];
    fds_[1] = err[0];
}

ChildProcess::~ChildProcess() {
    if (child_ > 0) {
        kill(child_, SIGKILL);
        Finish();
    }
}

bool ChildProcess::ReadSome(int timeoutMilliseconds) {
    pollfd fds[2] = {{fds_[0], POLLIN, 0}, {fds_[1], POLLIN, 0}};
    if (fds_[0] < 0 && fds_[1] < 0) {
        return false;
    }
    if (poll(fds, 2, timeoutMilliseconds) <= 0) {
        return true;
    }
    std::string* sinks[2] = {&result_.out, &result_.err};
    for (int i = 0; i < 2; ++i) {
        if (fds_[i] >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            char buffer[4096];
            const ssize_t n = read(fds_[i], buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(n));
            } else {
                close(fds_[i]);
                fds_[i] = -1;
            }
        }
    }
    return true;
}

bool ChildProcess::WaitForErr(const std::string& text) {
    while (result_.err.find(text) == std::string::npos) {
        if (!ReadSome()) {
            return false;
        }
    }
    return true;
}

void ChildProcess::Signal(int signal) {
    if (child_ > 0) {
        kill(child_, signal);
    }
}

ProcessResult ChildProcess::Finish(std::optional<std::chrono::steady_clock::time_point> deadline) {
    using std::chrono::steady_clock;
    for (;;) {
        int timeout = -1;
        if (deadline && child_ > 0 && !result_.timedOut) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(*deadline - steady_clock::now());
            if (left.count() <= 0) {
                kill(child_, SIGKILL);
                result_.timedOut = true;
            } else {
                timeout = static_cast<int>(left.count());
            }
        }
        if (!ReadSome(timeout)) {
            break;
        }
    }
    if (child_ > 0) {
        int status = 0;
        waitpid(child_, &status, 0);
        result_.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        child_ = -1;
    }
    return result_;
}

std::string ProgramFile(const std::string& name) {
    return name;
}

}  // namespace testing_support
