// A keystroke into an edit box inside a 1080 x 1920 window, as the program handles it (the
// character message, the box's repaint and the present), reported as a ratio to one plain copy of
// a 1080 x 1920 frame. Each step types a character and takes it back with Backspace, so the text
// stays as long as a typical value.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "platform/backends/headless/headless_backend.h"
#include "platform/controls/edit.h"
#include "platform/windows/input.h"
#include "platform/windows/message_pump.h"
#include "support/frame_copy.h"

namespace {

constexpr int kWidth = 1080;
constexpr int kHeight = 1920;
constexpr std::size_t kFrameBytes = bench::FrameBytes(kWidth, kHeight);

// The window around the box counts its paints: a keystroke should cause none.
class CountingWindow : public CWnd {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) ++paints;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int paints = 0;
};

void BM_EditKeystroke(benchmark::State& state) {
    platform::InstallHeadlessBackend(platform::DisplayInfo{kWidth, kHeight, 96});
    CountingWindow window;
    window.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                    nullptr, nullptr);
    CEdit edit;
    edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(40, 900, 1040, 960),
                &window, 1);
    edit.SetWindowText(L"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    edit.SetFocus();
    edit.SetSel(1000, 1000);  // the caret at the end, where typing usually happens
    platform::ProcessPendingMessages();
    window.paints = 0;

    const double frameCopySeconds = bench::MeasureFrameCopySeconds(kFrameBytes);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        platform::input::Character(L'x');
        platform::ProcessPendingMessages();
        platform::input::KeyDown(VK_BACK);
        platform::input::KeyUp(VK_BACK);
        platform::ProcessPendingMessages();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double keystrokes = 2.0 * static_cast<double>(state.iterations());
    state.counters["frame_copies_per_keystroke"] = seconds / keystrokes / frameCopySeconds;
    state.counters["frame_copy_ms"] = frameCopySeconds * 1000.0;
    state.counters["parent_paints"] = window.paints;
    edit.DestroyWindow();
    window.DestroyWindow();
}
BENCHMARK(BM_EditKeystroke)->Unit(benchmark::kMicrosecond);

}  // namespace
