// Painting the menu on a 1080 x 1920 screen: a full DrawItems and ScrollView steps of 1, 10 and
// 100 pixels, each also reported as a ratio to one plain copy of a 1080 x 1920 frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "launcher/tavrel_cd.h"
#include "platform/backends/headless/headless_backend.h"
#include "platform/graphics/font_face.h"
#include "platform/windows/message_pump.h"
#include "platform/windows/window_dc.h"
#include "support/frame_copy.h"

namespace {

constexpr int kWidth = 1080;
constexpr int kHeight = 1920;
constexpr int kVisibleRows = 20;
constexpr std::size_t kFrameBytes = bench::FrameBytes(kWidth, kHeight);

// Programs likely to have themed icons, so that rows draw real icons as on a desktop.
std::vector<std::wstring> SamplePrograms() {
    std::vector<std::wstring> programs;
    for (const char* path :
         {"/usr/bin/xterm", "/usr/bin/firefox", "/usr/bin/gimp", "/usr/bin/vim", "/usr/bin/python3",
          "/usr/bin/bash", "/usr/bin/cmake", "/usr/bin/git", "/usr/share", "/etc/hostname"}) {
        if (std::filesystem::exists(path)) {
            programs.emplace_back(std::filesystem::path(path).wstring());
        }
    }
    if (programs.empty()) programs.emplace_back(L"/usr/bin/env");
    return programs;
}

class MenuScene {
  public:
    explicit MenuScene(int entries = 200) {
        platform::InstallHeadlessBackend(platform::DisplayInfo{kWidth, kHeight, 96});
        parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                        kHeight, nullptr, nullptr);
        menu.itemHeight = kHeight / kVisibleRows;
        menu.sliderWidth = kWidth / 48;
        const std::vector<std::wstring> programs = SamplePrograms();
        for (int index = 0; index < entries; ++index) {
            const std::wstring& program =
                programs[static_cast<std::size_t>(index) % programs.size()];
            menu.AddItem(L"Program number " + std::to_wstring(index), program, L"");
        }
        menu.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &parent, 1001);
        menu.RefreshItems();
        platform::ProcessPendingMessages();
    }
    ~MenuScene() {
        menu.DestroyWindow();
        parent.DestroyWindow();
    }

    // Moves the list by `delta` pixels as a drag would, turning back at the ends.
    int Step(int delta) {
        const int maxPosition = menu.ItemCount() * menu.itemHeight - kHeight;
        int position = menu.firstVisible * menu.itemHeight - menu.firstOffset;
        if (position + delta > maxPosition || position + delta < 0) direction_ = -direction_;
        const int applied = delta * direction_;
        position += applied;
        menu.firstVisible = position / menu.itemHeight;
        menu.firstOffset = -(position % menu.itemHeight);
        return applied;
    }

    CWnd parent;
    CTavrelCD menu;

  private:
    int direction_ = 1;
};

void BM_FrameCopy(benchmark::State& state) { bench::RunFrameCopies(state, kFrameBytes); }
BENCHMARK(BM_FrameCopy)->Unit(benchmark::kMillisecond);

void BM_DrawItemsFull(benchmark::State& state) {
    MenuScene scene;
    CClientDC dc(&scene.menu);
    scene.menu.DrawItems(&dc);  // the first frame fills the glyph and icon caches
    const auto rendersBefore = platform::GlyphRenderCount();
    const double frameCopySeconds = bench::MeasureFrameCopySeconds(kFrameBytes);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) scene.menu.DrawItems(&dc);
    bench::ReportFrameCopies(
        state, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
        frameCopySeconds);
    state.counters["glyph_renders_after_first_frame"] =
        static_cast<double>(platform::GlyphRenderCount() - rendersBefore);
}
BENCHMARK(BM_DrawItemsFull)->Unit(benchmark::kMillisecond);

void BM_ScrollView(benchmark::State& state) {
    MenuScene scene;
    const int delta = static_cast<int>(state.range(0));
    {
        CClientDC dc(&scene.menu);
        scene.menu.DrawItems(&dc);
    }
    const double frameCopySeconds = bench::MeasureFrameCopySeconds(kFrameBytes);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) scene.menu.ScrollView(scene.Step(delta));
    bench::ReportFrameCopies(
        state, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
        frameCopySeconds);
}
BENCHMARK(BM_ScrollView)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The CPU time of the calling thread: unlike the wall clock it leaves out the time other
// programs on a shared machine take, which would otherwise show as slow steps.
double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void ReportSteps(benchmark::State& state, const std::string& name, std::vector<double> steps) {
    std::sort(steps.begin(), steps.end());
    state.counters["median_" + name + "_ms"] = steps[steps.size() / 2] * 1000.0;
    state.counters["p99_" + name + "_ms"] = steps[steps.size() * 99 / 100] * 1000.0;
    state.counters["max_" + name + "_ms"] = steps.back() * 1000.0;
}

// A whole glide on the 40-ms timer after a fling at state.range(0) pixels per tick, as the
// program runs it: each tick's handling (scroll step and repaint) is timed on its own, by the
// wall clock and by the thread's CPU time. The list (1,000 rows, 96,000 pixels) is longer than
// the fastest glide, which runs from its end upward.
void BM_GlideStep(benchmark::State& state) {
    MenuScene scene(1000);
    platform::HeadlessBackend& backend =
        *static_cast<platform::HeadlessBackend*>(platform::CurrentBackend());
    const int speed = static_cast<int>(state.range(0));
    std::vector<double> wallSteps;
    std::vector<double> cpuSteps;
    for (auto _ : state) {
        scene.menu.firstVisible = scene.menu.ItemCount() - kVisibleRows;
        scene.menu.firstOffset = 0;
        {
            CClientDC dc(&scene.menu);
            scene.menu.DrawItems(&dc);
        }
        scene.menu.speed = speed;
        scene.menu.trackUp = false;
        scene.menu.tickCount = 0;
        scene.menu.ticksPerStep = 1;
        scene.menu.inertiaRunning = 1;
        scene.menu.SetTimer(CTavrel::kInertiaTimer, CTavrel::kInertiaInterval, nullptr);
        while (scene.menu.inertiaRunning) {
            backend.AdvanceClock(CTavrel::kInertiaInterval);
            const double cpuStart = ThreadCpuSeconds();
            const auto wallStart = std::chrono::steady_clock::now();
            platform::ProcessPendingMessages();
            wallSteps.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart)
                    .count());
            cpuSteps.push_back(ThreadCpuSeconds() - cpuStart);
        }
    }
    state.counters["steps"] = static_cast<double>(wallSteps.size());
    ReportSteps(state, "step", wallSteps);
    ReportSteps(state, "step_cpu", cpuSteps);
}
BENCHMARK(BM_GlideStep)->Arg(10)->Arg(80)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
