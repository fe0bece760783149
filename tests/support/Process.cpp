#include "support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/ExecutableFolder.h"

extern char** environ;

namespace testing_support {

std::string OutputFolder() {
    return orvane::ExecutableFolder();
}

namespace {

struct Child {
    pid_t pid = -1;
    int out = -1;
    int err = -1;
};

// Forks and executes one program with its stdout and stderr on pipes.
Child Start(const std::vector<std::string>& argv, const std::string& workingFolder,
            const std::vector<std::string>& environment) {
    Child started;
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        return started;
    }
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return started;
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        if (chdir(workingFolder.c_str()) != 0) {
            _exit(127);
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
    started.pid = child;
    started.out = out[0];
    started.err = err[0];
    return started;
}

// Reads every child's output until all pipes are closed, then reaps them.
std::vector<ProcessResult> Collect(const std::vector<Child>& children) {
    std::vector<ProcessResult> results(children.size());
    std::vector<pollfd> fds;
    std::vector<std::string*> sinks;
    for (size_t i = 0; i < children.size(); ++i) {
        if (children[i].pid > 0) {
            fds.push_back({children[i].out, POLLIN, 0});
            sinks.push_back(&results[i].out);
            fds.push_back({children[i].err, POLLIN, 0});
            sinks.push_back(&results[i].err);
        }
    }
    size_t open = fds.size();
    while (open > 0) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            break;
        }
        for (size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP)) != 0) {
                char buffer[4096];
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    sinks[i]->append(buffer, static_cast<size_t>(n));
                } else {
                    close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
    }
    for (size_t i = 0; i < children.size(); ++i) {
        if (children[i].pid > 0) {
            int status = 0;
            waitpid(children[i].pid, &status, 0);
            results[i].exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }
    return results;
}

std::vector<std::string> Environment(const std::vector<std::string>& extra) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        environment.emplace_back(*entry);
    }
    environment.insert(environment.end(), extra.begin(), extra.end());
    return environment;
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingFolder,
                         const std::vector<std::string>& extraEnvironment) {
    return Collect({Start(argv, workingFolder, Environment(extraEnvironment))}).front();
}

std::vector<ProcessResult> RunProcessesTogether(const std::vector<std::vector<std::string>>& argvs,
                                                const std::string& workingFolder) {
    const auto environment = Environment({});
    std::vector<Child> children;
    for (const auto& argv : argvs) {
        children.push_back(Start(argv, workingFolder, environment));
    }
    return Collect(children);
}

}  // namespace testing_support
