// Child processes on Windows: CreateProcessW with a quoted command line, the
// child's stdout and stderr through pipes, each read by a thread.
#include <windows.h>

#include <csignal>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "support/Process.h"

namespace testing_support {

namespace {

// One argument as the C runtime's parser of a command line reads it back:
// quoted when it holds a blank or a quote; backslashes doubled before a
// quote.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    quoted += L'"';
    return quoted;
}

// The environment of this process with the extra NAME=value entries, an entry
// of the same name (in any case) replaced; as the block CreateProcessW takes.
std::wstring EnvironmentBlock(const std::vector<std::string>& extra) {
    std::vector<std::wstring> entries;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
            entries.emplace_back(entry);
        }
        FreeEnvironmentStringsW(block);
    }
    const auto nameOf = [](const std::wstring& entry) {
        // Entries of the drives' folders ("=C:=C:\x") start with '='.
        const size_t equals = entry.find(L'=', 1);
        std::wstring name = entry.substr(0, equals);
        CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
        return name;
    };
    for (const std::string& added : extra) {
        const std::wstring entry = orvane::Widen(added);
        const std::wstring name = nameOf(entry);
        std::erase_if(entries, [&](const std::wstring& e) { return nameOf(e) == name; });
        entries.push_back(entry);
    }
    std::wstring block;
    for (const std::wstring& entry : entries) {
        block += entry;
        block += L'\0';
    }
    block += L'\0';
    return block;
}

// The program's file: relative to the child's working folder, as exec takes
// it, with ".exe" when the name has none.
std::string ProgramPath(const std::string& program, const std::string& workingFolder) {
    std::string path = orvane::IsAbsolutePath(program) ? program : workingFolder + "/" + program;
    if (orvane::KindOf(path) != orvane::FileKind::Regular) {
        path += ".exe";
    }
    return path;
}

}  // namespace

std::string ProgramFile(const std::string& name) {
    return name + ".exe";
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& workingFolder,
                           const std::vector<std::string>& extraEnvironment, size_t) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE reads[2] = {nullptr, nullptr};
    HANDLE writes[2] = {nullptr, nullptr};
    for (int i = 0; i < 2; ++i) {
        if (!CreatePipe(&reads[i], &writes[i], &inherited, 0)) {
            return;
        }
        // Only the child's ends are inherited.
        SetHandleInformation(reads[i], HANDLE_FLAG_INHERIT, 0);
    }
    std::wstring commandLine;
    for (const std::string& argument : argv) {
        commandLine += (commandLine.empty() ? L"" : L" ") + Quoted(orvane::Widen(argument));
    }
    std::wstring environment = EnvironmentBlock(extraEnvironment);
    const std::wstring program = orvane::Widen(ProgramPath(argv.at(0), workingFolder));
    const std::wstring folder = orvane::Widen(workingFolder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writes[0];
    startup.hStdError = writes[1];
    PROCESS_INFORMATION started{};
    // Under wine, a start among many at once now and then fails for a
    // moment: tried again, and a failure says why.
    BOOL made = FALSE;
    DWORD error = 0;
    for (int attempt = 0; attempt < 3 && !made; ++attempt) {
        made = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                              CREATE_UNICODE_ENVIRONMENT, environment.data(), folder.c_str(),
                              &startup, &started);
        error = made ? 0 : GetLastError();
    }
    CloseHandle(writes[0]);
    CloseHandle(writes[1]);
    if (!made) {
        CloseHandle(reads[0]);
        CloseHandle(reads[1]);
        result_.exitCode = 127;
        result_.err = "the process could not be started (error " + std::to_string(error) + ")";
        return;
    }
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    open_ = 2;
    readers_[0] = std::thread(&ChildProcess::Gather, this, reads[0], &ProcessResult::out);
    readers_[1] = std::thread(&ChildProcess::Gather, this, reads[1], &ProcessResult::err);
}

ChildProcess::~ChildProcess() {
    if (process_ != nullptr) {
        TerminateProcess(process_, 1);
        Finish();
    }
}

void ChildProcess::Gather(void* pipe, std::string ProcessResult::*sink) {
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &count, nullptr) && count > 0) {
        const std::lock_guard<std::mutex> lock(mutex_);
        (result_.*sink).append(buffer, count);
        changed_.notify_all();
    }
    CloseHandle(pipe);
    const std::lock_guard<std::mutex> lock(mutex_);
    --open_;
    changed_.notify_all();
}

bool ChildProcess::WaitForErr(const std::string& text) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return result_.err.find(text) != std::string::npos || open_ == 0; });
    return result_.err.find(text) != std::string::npos;
}

void ChildProcess::Signal(int signal) {
    // No Ctrl-C can be sent to one process; any other signal ends it.
    if (process_ != nullptr && signal != SIGINT) {
        TerminateProcess(process_, 1);
    }
}

ProcessResult ChildProcess::Finish(std::optional<std::chrono::steady_clock::time_point> deadline) {
    if (process_ != nullptr) {
        DWORD wait = INFINITE;
        if (deadline) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                *deadline - std::chrono::steady_clock::now());
            wait = left.count() <= 0 ? 0 : static_cast<DWORD>(left.count());
        }
        if (WaitForSingleObject(process_, wait) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 1);
            result_.timedOut = true;
            WaitForSingleObject(process_, INFINITE);
        }
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        result_.exitCode = result_.timedOut ? -1 : static_cast<int>(code);
        CloseHandle(process_);
        process_ = nullptr;
    }
    for (std::thread& reader : readers_) {
        if (reader.joinable()) {
            reader.join();
        }
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    return result_;
}

}  // namespace testing_support
