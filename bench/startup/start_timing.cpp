#include "startup/start_timing.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <thread>
#include <utility>

extern char** environ;

namespace startup {
namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 20;

std::int64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// The strings as the argument or environment array of a spawn; they must outlive it.
std::vector<char*> NullTerminated(std::vector<std::string>& strings) {
    std::vector<char*> pointers(strings.size() + 1, nullptr);
    std::transform(strings.begin(), strings.end(), pointers.begin(),
                   [](std::string& text) { return text.data(); });
    return pointers;
}

// Waits for a child for up to `limit`; true when it has ended.
bool WaitForChild(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (::waitpid(pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void EndChild(pid_t pid) {
    ::kill(pid, SIGTERM);
    if (!WaitForChild(pid, std::chrono::seconds(5))) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

// Xvfb on a display number it picks itself, for as long as the benchmarks run. It must not reset
// when the last program disconnects: a reset rebuilds the keyboard map (xkbcomp), and the next
// start would wait for that, which no desktop with other programs on it does.
class VirtualScreen {
  public:
    VirtualScreen(int width, int height) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return;
        const std::string fd = std::to_string(pipeEnds[1]);
        const std::string size = std::to_string(width) + "x" + std::to_string(height) + "x24";
        std::vector<std::string> arguments{"Xvfb", "-displayfd", fd,    "-screen", "0",
                                           size,   "-nolisten",  "tcp", "-noreset"};
        std::vector<char*> argv = NullTerminated(arguments);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int failed = ::posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        if (failed != 0) {
            pid_ = -1;
            ::close(pipeEnds[0]);
            return;
        }
        // Xvfb writes the display number once it accepts connections.
        std::string number;
        char character = 0;
        while (::read(pipeEnds[0], &character, 1) == 1 && character != '\n') number += character;
        ::close(pipeEnds[0]);
        if (!number.empty()) display_ = ":" + number;
    }
    ~VirtualScreen() {
        if (pid_ > 0) EndChild(pid_);
    }
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;

    const std::string& Display() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

// A "VmRSS:"-style line of /proc/<pid>/status in megabytes; 0 when it cannot be read.
double StatusMegabytes(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::atof(line.c_str() + field.size()) / 1024.0;
    }
    return 0;
}

// The processor time (user and system) a process has used, from /proc/<pid>/stat.
double ProcessorMilliseconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const std::size_t afterName = text.rfind(')');
    if (afterName == std::string::npos) return 0;
    std::istringstream fields(text.substr(afterName + 2));
    std::string field;
    double ticks = 0;
    // Fields 3 to 13 come before utime (14) and stime (15).
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number >= 14) ticks += std::atof(field.c_str());
    }
    return ticks * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

}  // namespace

std::string TemporaryFolder(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

const std::string& ScreenDisplay(int width, int height) {
    static std::map<std::pair<int, int>, std::unique_ptr<VirtualScreen>> screens;
    std::unique_ptr<VirtualScreen>& screen = screens[{width, height}];
    if (!screen) screen = std::make_unique<VirtualScreen>(width, height);
    return screen->Display();
}

std::optional<StartResult> TimeOneStart(const std::string& display, const std::string& program,
                                        const std::string& frameFile, std::string* error) {
    fs::remove(frameFile);
    std::vector<std::string> variables{"DISPLAY=" + display,
                                       "TAVREL_FIRST_FRAME_FILE=" + frameFile};
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string text = *variable;
        if (text.rfind("DISPLAY=", 0) != 0 && text.rfind("TAVREL_FIRST_FRAME_FILE=", 0) != 0 &&
            text.rfind("WAYLAND_DISPLAY=", 0) != 0) {
            variables.push_back(text);
        }
    }
    std::vector<char*> environment = NullTerminated(variables);
    std::string programCopy = program;
    char* argv[] = {programCopy.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const std::int64_t start = MonotonicNanoseconds();
    const int failed =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        *error = "cannot start " + program;
        return std::nullopt;
    }
    std::optional<std::int64_t> presented;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!presented && std::chrono::steady_clock::now() < deadline) {
        long long nanoseconds = 0;
        if (std::FILE* file = std::fopen(frameFile.c_str(), "r")) {
            if (std::fscanf(file, "%lld", &nanoseconds) == 1) presented = nanoseconds;
            std::fclose(file);
        } else if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            *error = program + " ended before presenting a frame";
            return std::nullopt;
        } else {
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    }
    StartResult result;
    if (presented) {
        result.residentMb = StatusMegabytes(pid, "VmRSS:");
        result.peakResidentMb = StatusMegabytes(pid, "VmHWM:");
        result.cpuMs = ProcessorMilliseconds(pid);
    }
    EndChild(pid);
    if (!presented) {
        *error = program + " presented no frame within 20 s";
        return std::nullopt;
    }
    result.seconds = static_cast<double>(*presented - start) / 1e9;
    return result;
}

bool PlaceProgram(const std::string& program, const std::string& destination) {
    std::error_code error;
    fs::create_hard_link(program, destination, error);
    if (error) fs::copy_file(program, destination, error);
    return !error;
}

// Folders, documents and a web page first, then every program in /usr/bin in name order, so that
// the rows on screen ask the icon theme for real icons.
std::vector<std::string> MachineEntries(std::size_t count) {
    std::vector<std::string> entries;
    const char* home = std::getenv("HOME");
    for (const std::string& candidate :
         {std::string(home != nullptr ? home : "/root"), std::string("/usr/share/doc"),
          std::string("/etc"), std::string("/etc/os-release"),
          std::string("/usr/share/common-licenses/GPL-3"), std::string("/etc/hostname")}) {
        if (fs::exists(candidate)) entries.push_back(candidate);
    }
    entries.emplace_back("https://www.debian.org");
    std::vector<std::string> programs;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/usr/bin", error)) {
        if (entry.is_regular_file(error) && ::access(entry.path().c_str(), X_OK) == 0) {
            programs.push_back(entry.path().string());
        }
    }
    std::sort(programs.begin(), programs.end());
    for (const std::string& program : programs) {
        if (entries.size() >= count) break;
        entries.push_back(program);
    }
    // A machine with few programs repeats them rather than measure a shorter list.
    for (std::size_t n = 0; entries.size() < count && !programs.empty(); ++n) {
        entries.push_back(programs[n % programs.size()]);
    }
    entries.resize(std::min(entries.size(), count));
    return entries;
}

bool WriteEntriesFile(const std::string& path, const std::vector<std::string>& entries) {
    std::ofstream settings(path, std::ios::binary);
    int number = 0;
    for (const std::string& entry : entries) {
        settings << '[' << fs::path(entry).filename().string() << ' ' << ++number
                 << "]\r\nExecPath=" << entry << "\r\n";
    }
    return static_cast<bool>(settings);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string ProgramUnderTest(const char* variable, const char* builtBeside) {
    const char* other = std::getenv(variable);
    return other != nullptr && *other != '\0' ? other : builtBeside;
}

void StartStatistics(benchmark::internal::Benchmark* benchmark) {
    benchmark->UseManualTime()
        ->Iterations(1)
        ->Repetitions(kRuns)
        ->ComputeStatistics("min",
                            [](const std::vector<double>& values) {
                                return *std::min_element(values.begin(), values.end());
                            })
        ->ComputeStatistics("max",
                            [](const std::vector<double>& values) {
                                return *std::max_element(values.begin(), values.end());
                            })
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace startup
