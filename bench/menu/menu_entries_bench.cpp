// The launcher's start-up work for a long entries file, without a screen: reading 100,000
// entries into the menu (settings.ini read, parsed, converted and added), and that and the first
// paint of the menu on the headless screen. bench/startup measures the whole program.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "launcher/menu_entries.h"
#include "launcher/tavrel_cd.h"
#include "platform/backends/headless/headless_backend.h"
#include "platform/windows/message_pump.h"

namespace {

constexpr int kEntries = 100000;

// A settings.ini of `count` entries naming programs in /usr/bin (most of them missing).
class EntriesFile {
  public:
    EntriesFile() {
        path_ = (std::filesystem::temp_directory_path() / "tavrel-entries-bench.ini").string();
        std::ofstream out(path_, std::ios::binary);
        for (int n = 0; n < kEntries; ++n) {
            out << "[program-" << n << ' ' << n + 1 << "]\r\nExecPath=/usr/bin/program-" << n
                << "\r\n";
        }
    }
    ~EntriesFile() { std::filesystem::remove(path_); }
    EntriesFile(const EntriesFile&) = delete;
    EntriesFile& operator=(const EntriesFile&) = delete;

    std::wstring Path() const { return std::filesystem::path(path_).wstring(); }

  private:
    std::string path_;
};

const EntriesFile& File() {
    static const EntriesFile file;
    return file;
}

void BM_LoadEntries(benchmark::State& state) {
    for (auto _ : state) {
        CTavrel menu;
        LoadEntries(menu, File().Path());
        benchmark::DoNotOptimize(menu.items.data());
        state.PauseTiming();
        menu.items.clear();
        state.ResumeTiming();
    }
    state.counters["entries"] = kEntries;
}
BENCHMARK(BM_LoadEntries)->Unit(benchmark::kMillisecond);

void BM_LoadEntriesAndFirstPaint(benchmark::State& state) {
    platform::DisplayInfo display{480, 640, 96};
    platform::InstallHeadlessBackend(display);
    for (auto _ : state) {
        CWnd parent;
        parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 480, 640,
                        nullptr, nullptr);
        CTavrelCD menu;
        menu.itemHeight = 106;
        LoadEntries(menu, File().Path());
        menu.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 480, 640), &parent, 1001);
        menu.RefreshItems();
        menu.Invalidate();
        platform::ProcessPendingMessages();
        state.PauseTiming();
        menu.DestroyWindow();
        parent.DestroyWindow();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadEntriesAndFirstPaint)->Unit(benchmark::kMillisecond);

}  // namespace
