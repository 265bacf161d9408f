// Start-up of the settings editor beside the launcher's, each from just before its process is
// spawned to its first presented frame, on the same virtual screen (Xvfb 480 x 640 and
// 1080 x 1920). Both are installed in one folder, as a user has them, sharing its options.ini
// with the user's own values (colours, a bold font, item height, window rectangle, left-aligned
// text) and the launcher's settings.ini with 20 of this machine's entries. Each repetition starts
// both, in turns of order, so that a busy moment of the machine falls on both alike; x_launcher
// is the editor's start over the launcher's (target: 1.5 at most). TAVREL_STARTUP_EDITOR and
// TAVREL_STARTUP_LAUNCHER name other builds of the two to measure instead.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>

#include "startup/start_timing.h"

namespace {

namespace fs = std::filesystem;
using namespace startup;

constexpr std::size_t kEntryCount = 20;

// The options a user has saved with the editor: nothing follows the system, so both programs
// read and show every value. The window rectangle and the row height scale with the screen.
std::string UserOptions(int width, int height) {
    const auto line = [](const std::string& key, const std::string& value) {
        return key + "=" + value + "\r\n";
    };
    const auto color = [&](const std::string& group, int red, int green, int blue) {
        return line(group + ".r", std::to_string(red)) + line(group + ".g", std::to_string(green)) +
               line(group + ".b", std::to_string(blue));
    };
    return "[main_settings]\r\n" + line("use_system_colors", "false") +
           color("odd_item", 240, 240, 255) + color("even_item", 220, 230, 250) +
           color("active_item", 40, 90, 200) + color("font", 20, 20, 20) +
           color("active_font", 255, 255, 255) + color("slider", 90, 90, 90) +
           line("use_system_font", "false") + line("item_font.name", "DejaVu Sans") +
           line("item_font.bold", "true") + line("item_font.italic", "false") +
           line("item_font.size", std::to_string(height / 24)) +
           line("use_system_item_height", "false") +
           line("user_item_height", std::to_string(height / 8)) +
           line("use_system_menu_pos", "false") +
           line("user_menu_pos_TL_X", std::to_string(width / 16)) +
           line("user_menu_pos_TL_Y", std::to_string(height / 16)) +
           line("user_menu_pos_BR_X", std::to_string(width - width / 16)) +
           line("user_menu_pos_BR_Y", std::to_string(height - height / 16)) +
           line("pos_item_text", "left") + line("use_menu_inertia", "true");
}

// One folder with both programs (hard links or copies: each finds its files next to itself),
// options.ini and settings.ini.
class SharedFolder {
  public:
    SharedFolder(int width, int height) : root_(TemporaryFolder("tavrel-editor-startup-")) {
        if (root_.empty()) return;
        launcher_ = root_ + "/TavrelPrj";
        editor_ = root_ + "/TavrelSettings";
        const bool placed =
            PlaceProgram(ProgramUnderTest("TAVREL_STARTUP_LAUNCHER", TAVREL_LAUNCHER), launcher_) &&
            PlaceProgram(ProgramUnderTest("TAVREL_STARTUP_EDITOR", TAVREL_SETTINGS), editor_) &&
            WriteEntriesFile(root_ + "/settings.ini", MachineEntries(kEntryCount)) &&
            static_cast<bool>(std::ofstream(root_ + "/options.ini", std::ios::binary)
                              << UserOptions(width, height));
        if (!placed) launcher_.clear();
    }
    ~SharedFolder() {
        std::error_code error;
        if (!root_.empty()) fs::remove_all(root_, error);
    }
    SharedFolder(const SharedFolder&) = delete;
    SharedFolder& operator=(const SharedFolder&) = delete;

    bool Ready() const { return !launcher_.empty(); }
    const std::string& Launcher() const { return launcher_; }
    const std::string& Editor() const { return editor_; }
    std::string FrameFile() const { return root_ + "/first-frame"; }

  private:
    std::string root_;
    std::string launcher_;
    std::string editor_;
};

// Arguments: the screen's width and height.
void BM_EditorBesideLauncherFirstFrame(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::string& display = ScreenDisplay(width, height);
    if (display.empty()) {
        state.SkipWithError("no virtual screen: Xvfb could not be started");
        return;
    }
    const SharedFolder folder(width, height);
    if (!folder.Ready()) {
        state.SkipWithError("cannot prepare the programs' folder");
        return;
    }
    // Which program starts first changes from one repetition to the next.
    static int repetition = 0;
    for (auto _ : state) {
        const bool editorFirst = ++repetition % 2 == 0;
        std::string error;
        std::optional<StartResult> editor;
        std::optional<StartResult> launcher;
        if (editorFirst)
            editor = TimeOneStart(display, folder.Editor(), folder.FrameFile(), &error);
        if (error.empty()) {
            launcher = TimeOneStart(display, folder.Launcher(), folder.FrameFile(), &error);
        }
        if (!editorFirst && error.empty()) {
            editor = TimeOneStart(display, folder.Editor(), folder.FrameFile(), &error);
        }
        if (!editor || !launcher) {
            state.SkipWithError(error.c_str());
            return;
        }
        state.SetIterationTime(editor->seconds);
        state.counters["launcher_ms"] = launcher->seconds * 1000;
        state.counters["x_launcher"] = editor->seconds / launcher->seconds;
        state.counters["cpu_ms"] = editor->cpuMs;
        state.counters["launcher_cpu_ms"] = launcher->cpuMs;
        state.counters["rss_MB"] = editor->residentMb;
        state.counters["peak_rss_MB"] = editor->peakResidentMb;
    }
}

BENCHMARK(BM_EditorBesideLauncherFirstFrame)
    ->ArgNames({"width", "height"})
    ->Args({480, 640})
    ->Args({1080, 1920})
    ->Apply(StartStatistics);

}  // namespace
