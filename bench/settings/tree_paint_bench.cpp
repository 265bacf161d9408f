// The property tree on a 1080 x 1920 screen with 40 rows: a full paint, and a Down key press that
// moves the selection (with the paint it causes), each also reported as a ratio to one plain copy
// of a 1080 x 1920 frame measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/backends/headless/headless_backend.h"
#include "platform/windows/input.h"
#include "platform/windows/message_pump.h"
#include "settings/combo_box_item.h"
#include "settings/sp_mob_tree.h"
#include "support/frame_copy.h"

namespace {

constexpr int kWidth = 1080;
constexpr int kHeight = 1920;
constexpr int kRows = 40;
constexpr std::size_t kFrameBytes = bench::FrameBytes(kWidth, kHeight);

// A tree over the whole screen: four headers, each with nine property rows of text and list
// items, some greyed.
class TreeScene {
  public:
    TreeScene() {
        platform::InstallHeadlessBackend(platform::DisplayInfo{kWidth, kHeight, 96});
        parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                        kHeight, nullptr, nullptr);
        tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &parent, 1001);
        int header = -1;
        for (int index = 0; index < kRows; ++index) {
            const std::wstring number = std::to_wstring(index);
            if (index % 10 == 0) {
                header = tree.AddItem((L"Group " + number).c_str(), L"", -1, -1);
                continue;
            }
            const int kind = index % 2 == 0 ? CSPMobTree::kTextItem : CSPMobTree::kListItem;
            const int id = tree.AddItem((L"Property number " + number).c_str(),
                                        (L"value " + number).c_str(), kind, header);
            tree.FindItem(id)->disabled = index % 7 == 0;
        }
        tree.SetFocus();
        platform::ProcessPendingMessages();
    }
    ~TreeScene() {
        tree.DestroyWindow();
        parent.DestroyWindow();
    }

    CWnd parent;
    CSPMobTree tree;
};

void BM_FrameCopy(benchmark::State& state) { bench::RunFrameCopies(state, kFrameBytes); }
BENCHMARK(BM_FrameCopy)->Unit(benchmark::kMillisecond);

// Every row laid out and drawn into the off-screen bitmap, copied to the window and shown.
void BM_TreePaintFull(benchmark::State& state) {
    TreeScene scene;
    const double frameCopySeconds = bench::MeasureFrameCopySeconds(kFrameBytes);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        scene.tree.Invalidate();
        platform::ProcessPendingMessages();
    }
    bench::ReportFrameCopies(
        state, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
        frameCopySeconds);
    state.counters["rows"] = scene.tree.rowCount;
}
BENCHMARK(BM_TreePaintFull)->Unit(benchmark::kMillisecond);

// Down moves the selection one row (past the last row it clears, and the next Down starts at the
// top again): the edit of the row left ends, the parent hears of the new row, and the tree
// repaints.
void BM_KeyMovesSelection(benchmark::State& state) {
    TreeScene scene;
    const double frameCopySeconds = bench::MeasureFrameCopySeconds(kFrameBytes);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        platform::input::KeyDown(VK_DOWN);
        platform::input::KeyUp(VK_DOWN);
        platform::ProcessPendingMessages();
    }
    bench::ReportFrameCopies(
        state, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
        frameCopySeconds);
}
BENCHMARK(BM_KeyMovesSelection)->Unit(benchmark::kMillisecond);

}  // namespace
