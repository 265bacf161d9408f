// Start-up of the real launcher, from just before its process is spawned to its first presented
// frame, on a virtual screen (Xvfb 480 x 640): 20, 1,000 and 100,000 entries naming this
// machine's programs, folders and documents, and 100,000 distinct programs, beside the floor (a
// bare SDL window shown and presented). The launcher's resident memory at its first frame and
// its peak until then are reported too (target at 100,000 entries: 150 ms, 64 MB).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "startup/start_timing.h"

namespace {

namespace fs = std::filesystem;
using namespace startup;

constexpr int kScreenWidth = 480;
constexpr int kScreenHeight = 640;

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

// A folder holding the launcher, its settings.ini with the entries and an options.ini with the
// defaults.
class LauncherFolder {
  public:
    LauncherFolder(const std::string& launcher, std::size_t entryCount, Entries kind)
        : root_(TemporaryFolder("tavrel-startup-")) {
        if (root_.empty()) return;
        program_ = root_ + "/TavrelPrj";
        if (!PlaceProgram(launcher, program_)) program_.clear();
        const std::vector<std::string> entries = kind == Entries::Machine
                                                     ? MachineEntries(entryCount)
                                                     : DistinctPrograms(root_ + "/bin", entryCount);
        if (entries.size() != entryCount || !WriteEntriesFile(root_ + "/settings.ini", entries)) {
            program_.clear();
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

// The floor's starts in this run, for the launcher's ratio to it.
std::vector<double>& FloorSeconds() {
    static std::vector<double> seconds;
    return seconds;
}

// Runs `program` once per iteration and reports each start as the iteration's time, and as a
// ratio to the floor's median start when the floor ran before it.
void RunStarts(benchmark::State& state, const std::string& program, const std::string& frameFile,
               std::vector<double>* record = nullptr) {
    const std::string& display = ScreenDisplay(kScreenWidth, kScreenHeight);
    if (display.empty()) {
        state.SkipWithError("no virtual screen: Xvfb could not be started");
        return;
    }
    for (auto _ : state) {
        std::string error;
        const std::optional<StartResult> start = TimeOneStart(display, program, frameFile, &error);
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

// Each folder is made once and kept for the whole run, not once per repetition: on ext4, making
// 100,000 links just after removing as many spends minutes looking for free inodes.
const LauncherFolder& FolderFor(std::size_t entryCount, Entries kind) {
    static std::map<std::pair<std::size_t, Entries>, std::unique_ptr<LauncherFolder>> folders;
    std::unique_ptr<LauncherFolder>& folder = folders[{entryCount, kind}];
    if (!folder) {
        folder = std::make_unique<LauncherFolder>(
            ProgramUnderTest("TAVREL_STARTUP_LAUNCHER", TAVREL_LAUNCHER), entryCount, kind);
    }
    return *folder;
}

void RunLauncherStarts(benchmark::State& state, Entries kind) {
    const LauncherFolder& folder = FolderFor(static_cast<std::size_t>(state.range(0)), kind);
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

BENCHMARK(BM_FloorWindowFirstFrame)->Apply(StartStatistics);
BENCHMARK(BM_LauncherFirstFrame)->Arg(20)->Arg(1000)->Arg(100000)->Apply(StartStatistics);
BENCHMARK(BM_LauncherFirstFrameDistinctPrograms)->Arg(100000)->Apply(StartStatistics);

}  // namespace
