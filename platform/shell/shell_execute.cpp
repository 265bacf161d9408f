#include "platform/shell/shell_execute.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>

#include "platform/base/text_encoding.h"
#include "platform/windows/backend.h"
#include "platform/windows/window_api.h"

extern char** environ;

namespace platform {
namespace {

// Started programs not yet reaped. A SIGCHLD handler collects them as they end, so none stays a
// zombie while this process lives; after it ends they belong to init.
constexpr std::size_t kTrackedChildren = 64;
std::array<std::atomic<pid_t>, kTrackedChildren> trackedChildren{};
std::atomic<int> lastStarted{0};
std::string lastStartError;

void ReapTracked() {
    for (auto& slot : trackedChildren) {
        const pid_t child = slot.load();
        if (child > 0 && ::waitpid(child, nullptr, WNOHANG) == child) slot.store(0);
    }
}

void OnChildEnded(int /*signal*/) {
    const int savedErrno = errno;
    ReapTracked();
    errno = savedErrno;
}

void InstallReaper() {
    static const bool installed = [] {
        struct sigaction action {};
        action.sa_handler = OnChildEnded;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
        return ::sigaction(SIGCHLD, &action, nullptr) == 0;
    }();
    (void)installed;
}

void Track(pid_t child) {
    for (auto& slot : trackedChildren) {
        pid_t empty = 0;
        if (slot.compare_exchange_strong(empty, child)) break;
    }
    // It may have ended before it was tracked; its signal would then have found nothing.
    ReapTracked();
}

// Keeps the reason for the caller and writes it to standard error with the path.
void ReportFailure(const std::string& path, const std::string& reason) {
    lastStartError = reason;
    std::fprintf(stderr, "cannot start \"%s\": %s\n", path.c_str(), reason.c_str());
}

bool IsUrl(const std::string& text) {
    if (text.rfind("mailto:", 0) == 0) return true;
    const std::size_t colon = text.find("://");
    if (colon == std::string::npos || colon == 0) return false;
    for (std::size_t index = 0; index < colon; ++index) {
        const char character = text[index];
        const bool allowed = std::isalnum(static_cast<unsigned char>(character)) != 0 ||
                             character == '+' || character == '-' || character == '.';
        if (!allowed) return false;
    }
    return true;
}

// Our environment for a started program, with the startup entries of the backend in place of
// the ones we inherited: a token is spent once, and ours went to this program.
std::vector<std::string> StartedProgramEnvironment() {
    static constexpr std::array<std::string_view, 2> kStartupNames{"XDG_ACTIVATION_TOKEN=",
                                                                   "DESKTOP_STARTUP_ID="};
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        if (std::none_of(kStartupNames.begin(), kStartupNames.end(),
                         [text](std::string_view name) { return text.starts_with(name); })) {
            environment.emplace_back(text);
        }
    }
    if (Backend* backend = CurrentBackend()) {
        for (std::string& entry : backend->StartupEnvironment()) {
            environment.push_back(std::move(entry));
        }
    }
    return environment;
}

// Starts `program` detached: its own session, standard input from /dev/null, default signal
// handling. `searchPath` looks the program up in PATH. Returns 0, or the error number of the
// failed start.
int Spawn(const std::string& program, const std::vector<std::string>& arguments, bool searchPath) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    sigset_t noSignals;
    sigset_t allSignals;
    sigemptyset(&noSignals);
    sigfillset(&allSignals);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setsigdefault(&attributes, &allSignals);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    const std::vector<std::string> environment = StartedProgramEnvironment();
    std::vector<char*> envp;
    envp.reserve(environment.size() + 1);
    for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);

    InstallReaper();
    pid_t child = 0;
    // The C library reports a failed exec (missing file, no permission) as the result here.
    const int error = searchPath ? ::posix_spawnp(&child, program.c_str(), &actions, &attributes,
                                                  argv.data(), envp.data())
                                 : ::posix_spawn(&child, program.c_str(), &actions, &attributes,
                                                 argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return error;
    lastStarted.store(child);
    Track(child);
    return 0;
}

bool StartProgram(const std::string& path, const std::vector<std::string>& arguments) {
    const int error = Spawn(path, arguments, false);
    if (error != 0) ReportFailure(path, std::strerror(error));
    return error == 0;
}

// Folders, documents and web addresses open in what the desktop associates with them, through
// xdg-open, which a bare system may lack: then the user learns what to install.
bool OpenWithDesktop(const std::string& path) {
    const int error = Spawn("xdg-open", {"xdg-open", path}, true);
    if (error == ENOENT) {
        ReportFailure(path, "xdg-open is not installed (it comes with the package xdg-utils)");
    } else if (error != 0) {
        ReportFailure(path, std::string("xdg-open: ") + std::strerror(error));
    }
    return error == 0;
}

}  // namespace

std::vector<std::string> SplitArguments(std::string_view arguments) {
    std::vector<std::string> result;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const char character = arguments[index];
        if (character == '\\' && index + 1 < arguments.size() &&
            (arguments[index + 1] == '"' || arguments[index + 1] == '\\')) {
            current += arguments[++index];
            inArgument = true;
        } else if (character == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((character == ' ' || character == '\t') && !quoted) {
            if (inArgument) result.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            current += character;
            inArgument = true;
        }
    }
    if (inArgument) result.push_back(std::move(current));
    return result;
}

int LastStartedProcess() { return lastStarted.load(); }

const std::string& LastStartError() { return lastStartError; }

}  // namespace platform

namespace platform {
namespace {

bool Start(const SHELLEXECUTEINFO& request) {
    lastStartError.clear();
    const std::string path = Utf8FromWide(request.lpFile != nullptr ? request.lpFile : L"");
    if (path.empty()) {
        ReportFailure(path, "no program given");
        return false;
    }
    if (IsUrl(path)) return OpenWithDesktop(path);

    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        ReportFailure(path, std::strerror(errno));
        return false;
    }
    if (S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0) {
        std::vector<std::string> arguments{path};
        const std::string parameters =
            Utf8FromWide(request.lpParameters != nullptr ? request.lpParameters : L"");
        for (std::string& argument : SplitArguments(parameters)) {
            arguments.push_back(std::move(argument));
        }
        return StartProgram(path, arguments);
    }
    return OpenWithDesktop(path);
}

// What a user who chose the entry is told, over the window they chose it in.
void ShowStartFailure(const SHELLEXECUTEINFO& request) {
    const std::wstring file = request.lpFile != nullptr ? request.lpFile : L"";
    const std::wstring reason = WideFromUtf8(LastStartError());
    const std::wstring text = file.empty() ? L"Cannot start: " + reason
                                           : L"Cannot start \u201C" + file + L"\u201D:\n" + reason;
    ::MessageBox(request.hwnd != nullptr ? request.hwnd : ::GetActiveWindow(), text.c_str(),
                 L"Error", MB_OK | MB_ICONERROR);
}

}  // namespace
}  // namespace platform

BOOL ShellExecuteEx(SHELLEXECUTEINFO* info) {
    if (info == nullptr) return FALSE;
    if (platform::Start(*info)) return TRUE;
    if ((info->fMask & SEE_MASK_FLAG_NO_UI) == 0) platform::ShowStartFailure(*info);
    return FALSE;
}
