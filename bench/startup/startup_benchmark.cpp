// Start-up of the real launcher, from just before its process is spawned to its first presented
// frame, on a virtual screen (Xvfb 480 x 640): 20, 1,000 and 100,000 entries naming this
// machine's programs, folders and documents, and 100,000 distinct programs, beside the floor (a
// bare SDL window shown and presented). The launcher's resident memory at its first frame and
// its peak until then are reported too (target at 100,000 entries: 150 ms, 64 MB).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kRuns = 20;

std::int64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

std::string TemporaryFolder(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

// Waits for a child for up to `limit`; true when it has ended.
bool WaitForChild(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (::waitpid(pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

void EndChild(pid_t pid) {
    ::kill(pid, SIGTERM);
    if (!WaitForChild(pid, 5s)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

// Xvfb on a display number it picks itself, for as long as the benchmarks run. It must not reset
// when the last launcher disconnects: a reset rebuilds the keyboard map (xkbcomp), and the next
// start would wait for that, which no desktop with other programs on it does.
class VirtualScreen {
  public:
    VirtualScreen() {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return;
        const std::string fd = std::to_string(pipeEnds[1]);
        std::vector<std::string> arguments{"Xvfb",       "-displayfd", fd,    "-screen", "0",
                                           "480x640x24", "-nolisten",  "tcp", "-noreset"};
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
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

const VirtualScreen& Screen() {
    static const VirtualScreen screen;
    return screen;
}

// What a user's list holds: folders, documents and a web page first, then every program in
// /usr/bin in name order, so that the rows on screen ask the icon theme for real icons.
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

// A folder holding the launcher (a hard link or a copy: it finds its files next to itself),
// its settings.ini with the entries (CR LF line ends) and an options.ini with the defaults.
// `count` distinct programs: links to one real program, each its own path and name, so that no
// lookup is answered from another entry's.
std::vector<std::string> DistinctPrograms(const std::string& folder, std::size_t count) {
    std::vector<std::string> entries;
    fs::create_directories(folder);
    for (std::size_t n = 0; n < count; ++n) {
        std::string path = folder + "/program-" + std::to_string(n);
        std::error_code error;
        fs::create_symlink("/bin/true", path, error);
        if (error) return {};
        entries.push_back(std::move(path));
    }
    return entries;
}

enum class Entries { Machine, DistinctPrograms };

class LauncherFolder {
  public:
    LauncherFolder(const std::string& launcher, std::size_t entryCount, Entries kind)
        : root_(TemporaryFolder("tavrel-startup-")) {
        if (root_.empty()) return;
        program_ = root_ + "/TavrelPrj";
        std::error_code error;
        fs::create_hard_link(launcher, program_, error);
        if (error) fs::copy_file(launcher, program_, error);
        if (error) program_.clear();
        const std::vector<std::string> entries = kind == Entries::Machine
                                                     ? MachineEntries(entryCount)
                                                     : DistinctPrograms(root_ + "/bin", entryCount);
        if (entries.size() != entryCount) program_.clear();
        std::ofstream settings(root_ + "/settings.ini", std::ios::binary);
        int number = 0;
        for (const std::string& entry : entries) {
            settings << '[' << fs::path(entry).filename().string() << ' ' << ++number
                     << "]\r\nExecPath=" << entry << "\r\n";
        }
        std::ofstream(root_ + "/options.ini", std::ios::binary)
            << "[main_settings]\r\nuse_system_colors=true\r\nuse_system_font=true\r\n"
               "use_system_item_height=true\r\nuse_system_menu_pos=true\r\n"
               "use_menu_inertia=true\r\n";
    }
    ~LauncherFolder() {
        std::error_code error;
        if (!root_.empty()) fs::remove_all(root_, error);
    }
    LauncherFolder(const LauncherFolder&) = delete;
    LauncherFolder& operator=(const LauncherFolder&) = delete;

    const std::string& Program() const { return program_; }
    std::string FrameFile() const { return root_ + "/first-frame"; }

  private:
    std::string root_;
    std::string program_;
};

struct StartResult {
    double seconds = 0;         // from just before the spawn to the first present
    double residentMb = 0;      // resident memory just after the first present
    double peakResidentMb = 0;  // the most it held until then
    double cpuMs = 0;           // processor time it used until then (a busy machine's waits aside)
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

// One start: spawns `program` on the screen and waits for the time of its first present.
std::optional<StartResult> TimeOneStart(const std::string& program, const std::string& frameFile,
                                        std::string* error) {
    fs::remove(frameFile);
    std::vector<std::string> variables{"DISPLAY=" + Screen().Display(),
                                       "TAVREL_FIRST_FRAME_FILE=" + frameFile};
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string text = *variable;
        if (text.rfind("DISPLAY=", 0) != 0 && text.rfind("TAVREL_FIRST_FRAME_FILE=", 0) != 0 &&
            text.rfind("WAYLAND_DISPLAY=", 0) != 0) {
            variables.push_back(text);
        }
    }
    std::vector<char*> environment;
    for (std::string& variable : variables) environment.push_back(variable.data());
    environment.push_back(nullptr);
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
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!presented && std::chrono::steady_clock::now() < deadline) {
        long long nanoseconds = 0;
        if (std::FILE* file = std::fopen(frameFile.c_str(), "r")) {
            if (std::fscanf(file, "%lld", &nanoseconds) == 1) presented = nanoseconds;
            std::fclose(file);
        } else if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            *error = program + " ended before presenting a frame";
            return std::nullopt;
        } else {
            std::this_thread::sleep_for(500us);
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

// The floor's starts in this run, for the launcher's ratio to it.
std::vector<double>& FloorSeconds() {
    static std::vector<double> seconds;
    return seconds;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Runs `program` once per iteration and reports each start as the iteration's time, and as a
// ratio to the floor's median start when the floor ran before it.
void RunStarts(benchmark::State& state, const std::string& program, const std::string& frameFile,
               std::vector<double>* record = nullptr) {
    if (Screen().Display().empty()) {
        state.SkipWithError("no virtual screen: Xvfb could not be started");
        return;
    }
    for (auto _ : state) {
        std::string error;
        const std::optional<StartResult> start = TimeOneStart(program, frameFile, &error);
        if (!start) {
            state.SkipWithError(error.c_str());
            return;
        }
        state.SetIterationTime(start->seconds);
        state.counters["rss_MB"] = start->residentMb;
        state.counters["peak_rss_MB"] = start->peakResidentMb;
        state.counters["cpu_ms"] = start->cpuMs;
        if (record != nullptr) record->push_back(start->seconds);
        if (const double floor = Median(FloorSeconds()); floor > 0 && record == nullptr) {
            state.counters["x_floor"] = start->seconds / floor;
        }
    }
}

void BM_FloorWindowFirstFrame(benchmark::State& state) {
    const std::string folder = TemporaryFolder("tavrel-floor-");
    RunStarts(state, TAVREL_FLOOR_WINDOW, folder + "/first-frame", &FloorSeconds());
    std::error_code error;
    fs::remove_all(folder, error);
}

// The launcher built beside the benchmark, or another build of it to compare with (a copy of an
// earlier build, say) named by TAVREL_STARTUP_LAUNCHER.
std::string LauncherUnderTest() {
    const char* other = std::getenv("TAVREL_STARTUP_LAUNCHER");
    return other != nullptr && *other != '\0' ? other : TAVREL_LAUNCHER;
}

void RunLauncherStarts(benchmark::State& state, Entries kind) {
    const LauncherFolder folder(LauncherUnderTest(), static_cast<std::size_t>(state.range(0)),
                                kind);
    if (folder.Program().empty()) {
        state.SkipWithError("cannot prepare the launcher's folder");
        return;
    }
    RunStarts(state, folder.Program(), folder.FrameFile());
}

void BM_LauncherFirstFrame(benchmark::State& state) { RunLauncherStarts(state, Entries::Machine); }

void BM_LauncherFirstFrameDistinctPrograms(benchmark::State& state) {
    RunLauncherStarts(state, Entries::DistinctPrograms);
}

void Statistics(benchmark::internal::Benchmark* benchmark) {
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

BENCHMARK(BM_FloorWindowFirstFrame)->Apply(Statistics);
BENCHMARK(BM_LauncherFirstFrame)->Arg(20)->Arg(1000)->Arg(100000)->Apply(Statistics);
BENCHMARK(BM_LauncherFirstFrameDistinctPrograms)->Arg(100000)->Apply(Statistics);

}  // namespace
