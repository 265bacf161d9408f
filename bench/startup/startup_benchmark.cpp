// Start-up of the real launcher, from just before its process is spawned to its first presented
// frame, on a virtual screen (Xvfb 480 x 640): 20, 1,000 and 100,000 entries naming this
// machine's programs, folders and documents, and 100,000 distinct programs, beside the floor (a
// bare SDL window shown and presented). The launcher's resident memory at its first frame and
// its peak until then are reported too (target at 100,000 entries: 150 ms, 64 MB). And six
// programs whose desktop entries name 8000 x 8000 icons, beside the same with 48 x 48 ones
// (target: 1.2 times as long at most).
#include <benchmark/benchmark.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
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

// A square PNG of one colour, side x side, written a row at a time: a huge one is a small file.
bool WriteSolidPng(const std::string& path, int side) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(side), static_cast<png_uint_32>(side), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> row(static_cast<std::size_t>(side) * 3);
        for (std::size_t x = 0; x < row.size(); x += 3) row[x] = 200;
        for (int y = 0; y < side; ++y) png_write_row(png, row.data());
        png_write_end(png, info);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return written;
}

// `count` programs of their own, each with a desktop entry (in `folder`/data/applications, the
// XDG_DATA_HOME the launcher is started with) whose Icon is a side x side picture.
std::vector<std::string> ProgramsWithIcons(const std::string& folder, std::size_t count, int side) {
    std::vector<std::string> entries;
    fs::create_directories(folder + "/bin");
    fs::create_directories(folder + "/data/applications");
    for (std::size_t n = 0; n < count; ++n) {
        const std::string name = "program-" + std::to_string(n);
        const std::string program = folder + "/bin/" + name;
        const std::string icon = folder + "/" + name + ".png";
        std::ofstream(program) << "#!/bin/sh\n";
        ::chmod(program.c_str(), 0755);
        if (!WriteSolidPng(icon, side)) return {};
        std::ofstream(folder + "/data/applications/" + name + ".desktop")
            << "[Desktop Entry]\nType=Application\nName=" << name << "\nExec=" << program
            << "\nIcon=" << icon << "\n";
        entries.push_back(program);
    }
    return entries;
}

enum class Entries { Machine, DistinctPrograms, HugeIcons, SmallIcons };

// A folder holding the launcher, its settings.ini with the entries and an options.ini with the
// defaults.
class LauncherFolder {
  public:
    LauncherFolder(const std::string& launcher, std::size_t entryCount, Entries kind)
        : root_(TemporaryFolder("tavrel-startup-")) {
        if (root_.empty()) return;
        program_ = root_ + "/TavrelPrj";
        if (!PlaceProgram(launcher, program_)) program_.clear();
        std::vector<std::string> entries;
        switch (kind) {
            case Entries::Machine:
                entries = MachineEntries(entryCount);
                break;
            case Entries::DistinctPrograms:
                entries = DistinctPrograms(root_ + "/bin", entryCount);
                break;
            case Entries::HugeIcons:
            case Entries::SmallIcons:
                entries =
                    ProgramsWithIcons(root_, entryCount, kind == Entries::HugeIcons ? 8000 : 48);
                break;
        }
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
    std::string DataHome() const { return root_ + "/data"; }
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

// The small icons' starts in this run, for the huge ones' ratio to them.
std::vector<double>& SmallIconSeconds() {
    static std::vector<double> seconds;
    return seconds;
}

void RunIconStarts(benchmark::State& state, Entries kind) {
    const LauncherFolder& folder = FolderFor(6, kind);
    if (folder.Program().empty()) {
        state.SkipWithError("cannot prepare the launcher's folder");
        return;
    }
    // The launcher finds the programs' desktop entries in its data home.
    const char* previous = std::getenv("XDG_DATA_HOME");
    const std::string kept = previous != nullptr ? previous : "";
    ::setenv("XDG_DATA_HOME", folder.DataHome().c_str(), 1);
    const bool huge = kind == Entries::HugeIcons;
    std::vector<double> seconds;
    RunStarts(state, folder.Program(), folder.FrameFile(), &seconds);
    if (previous != nullptr) {
        ::setenv("XDG_DATA_HOME", kept.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
    if (!huge) {
        SmallIconSeconds().insert(SmallIconSeconds().end(), seconds.begin(), seconds.end());
    } else if (const double small = Median(SmallIconSeconds()); small > 0) {
        state.counters["x_small_icons"] = Median(seconds) / small;
    }
}

void BM_LauncherFirstFrameSmallIcons(benchmark::State& state) {
    RunIconStarts(state, Entries::SmallIcons);
}
void BM_LauncherFirstFrameHugeIcons(benchmark::State& state) {
    RunIconStarts(state, Entries::HugeIcons);
}

void BM_LauncherFirstFrameDistinctPrograms(benchmark::State& state) {
    RunLauncherStarts(state, Entries::DistinctPrograms);
}

BENCHMARK(BM_FloorWindowFirstFrame)->Apply(StartStatistics);
BENCHMARK(BM_LauncherFirstFrame)->Arg(20)->Arg(1000)->Arg(100000)->Apply(StartStatistics);
BENCHMARK(BM_LauncherFirstFrameDistinctPrograms)->Arg(100000)->Apply(StartStatistics);
BENCHMARK(BM_LauncherFirstFrameSmallIcons)->Apply(StartStatistics);
BENCHMARK(BM_LauncherFirstFrameHugeIcons)->Apply(StartStatistics);

}  // namespace
