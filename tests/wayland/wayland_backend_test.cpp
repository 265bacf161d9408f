// The Wayland backend against the fake compositor: the launcher's kind of window as a layer
// surface at its exact pixels, the seat as stylus and keyboard, a scale change, and frames that
// wait for the compositor.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <string>
#include <vector>

#include "platform/backends/wayland/wayland_backend.h"
#include "platform/base/system_metrics.h"
#include "platform/windows/cwnd.h"
#include "platform/windows/message_pump.h"
#include "wayland/fake_compositor.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace {

using platform::CurrentDisplay;

// Writes down, in screen coordinates, the stylus it gets, and its activation and typed text.
class StylusWindow : public CWnd {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_LBUTTONUP) {
            POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ClientToScreen(&point);
            const char* kind = message == WM_LBUTTONDOWN ? "down"
                               : message == WM_MOUSEMOVE ? "move"
                                                         : "up";
            log.push_back(std::string(kind) + " " + std::to_string(point.x) + "," +
                          std::to_string(point.y));
        } else if (message == WM_ACTIVATE) {
            log.push_back(LOWORD(wParam) != WA_INACTIVE ? "active" : "inactive");
        } else if (message == WM_CHAR) {
            log.push_back("char " + std::string(1, static_cast<char>(wParam)));
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<std::string> log;
};

class WaylandBackendTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FakeCompositor::Options options;
        options.output = FakeCompositor::Output{720, 1440, 2};
        options.xdgShell = true;
        options.layerShell = true;
        options.seat = true;
        compositor = std::make_unique<FakeCompositor>(options);
        std::string error;
        auto backend = platform::WaylandBackend::Create(compositor->Client(), false, &error);
        ASSERT_TRUE(backend) << error;
        platform::InstallBackend(std::move(backend));
    }
    void TearDown() override {
        platform::InstallBackend(nullptr);
        compositor.reset();
    }
    bool WaitUntil(const std::function<bool(const FakeCompositor::State&)>& predicate) {
        return compositor->WaitUntil(predicate, [] {
            platform::CurrentBackend()->WaitForEvents(20);
            platform::ProcessPendingMessages();
        });
    }

    std::unique_ptr<FakeCompositor> compositor;
};

TEST_F(WaylandBackendTest, TheLauncherLiesAtItsPixelsAndTakesTheFirstFingerAndTheKeyboard) {
    EXPECT_EQ(CurrentDisplay().width, 720);
    EXPECT_EQ(CurrentDisplay().height, 1440);
    EXPECT_EQ(CurrentDisplay().dotsPerInch, 192);
    StylusWindow window;
    const HBRUSH face = CreateSolidBrush(RGB(0x11, 0x22, 0x33));
    // Odd corners: no whole surface coordinate at scale 2 reaches them.
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0, nullptr, face), L"",
                                WS_POPUP | WS_VISIBLE, 45, 93, 630, 1255, nullptr, nullptr));
    int layer = -1;
    ASSERT_TRUE(WaitUntil([&](const FakeCompositor::State& state) {
        layer = state.Find("layer");
        return layer >= 0 && state.surfaces[layer].mapped &&
               state.surfaces[layer].screen.pixels.size() > 633 &&
               state.surfaces[layer].screen.pixels[633] != 0xFF000000U;
    }));
    FakeCompositor::State state = compositor->Snapshot();
    const FakeCompositor::SurfaceView& shown = state.surfaces[layer];
    EXPECT_EQ(shown.layer.layer, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY);
    EXPECT_EQ(shown.layer.anchor,
              ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    EXPECT_EQ(shown.layer.marginLeft, 22);
    EXPECT_EQ(shown.layer.marginTop, 46);
    EXPECT_EQ(shown.layer.size, (FakeCompositor::Size{316, 628}));
    EXPECT_EQ(shown.layer.exclusiveZone, 0);
    EXPECT_EQ(shown.layer.keyboardInteractivity,
              ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    EXPECT_FALSE(shown.bufferBeforeFirstAck);
    EXPECT_EQ(shown.bufferScale, 2);
    // The picture starts one pixel into the buffer, which is transparent before it.
    ASSERT_EQ(shown.screen.width, 632);
    ASSERT_EQ(shown.screen.height, 1256);
    EXPECT_EQ(shown.screen.pixels[0], 0U);
    EXPECT_EQ(shown.screen.pixels[632 + 0], 0U);
    EXPECT_EQ(shown.screen.pixels[632 + 1], 0xFF112233U);
    EXPECT_EQ(shown.screen.pixels[1255 * 632 + 630], 0xFF112233U);
    EXPECT_EQ(shown.screen.pixels[1255 * 632 + 631], 0U);

    // The first finger is the stylus; a second one changes nothing.
    compositor->TouchDown(layer, 7, 10.5, 20.25);
    compositor->TouchDown(layer, 8, 100, 100);
    compositor->TouchMotion(8, 120, 120);
    compositor->TouchMotion(7, 30, 40);
    compositor->TouchUp(8);
    compositor->TouchUp(7);
    compositor->SendKeymap(FakeCompositor::KeymapFromNames("us"));
    compositor->KeyboardEnter(layer);
    compositor->Key(KEY_A, true);
    compositor->Key(KEY_A, false);
    compositor->KeyboardLeave();
    ASSERT_TRUE(WaitUntil([&](const FakeCompositor::State&) {
        return !window.log.empty() && window.log.back() == "inactive";
    }));
    // Shown, it is the active window already; the keyboard's enter confirms it.
    EXPECT_EQ(window.log, (std::vector<std::string>{"active", "down 65,132", "move 104,172",
                                                    "up 104,172", "char a", "inactive"}));
    window.DestroyWindow();
    DeleteObject(face);
}

TEST_F(WaylandBackendTest, AScaleChangeRepaintsAndFramesWaitForTheCompositor) {
    StylusWindow window;
    ASSERT_TRUE(window.CreateEx(
        0, AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), L"",
        WS_POPUP | WS_VISIBLE, 45, 93, 200, 100, nullptr, nullptr));
    int layer = -1;
    ASSERT_TRUE(WaitUntil([&](const FakeCompositor::State& state) {
        layer = state.Find("layer");
        return layer >= 0 && state.surfaces[layer].mapped;
    }));
    compositor->SetOutputScale(1);
    ASSERT_TRUE(WaitUntil([&](const FakeCompositor::State& state) {
        const FakeCompositor::SurfaceView& shown = state.surfaces[layer];
        return shown.bufferScale == 1 && shown.screen.width == 200;
    }));
    EXPECT_EQ(CurrentDisplay().dotsPerInch, 96);
    FakeCompositor::State state = compositor->Snapshot();
    EXPECT_EQ(state.surfaces[layer].layer.marginLeft, 45);
    EXPECT_EQ(state.surfaces[layer].layer.size, (FakeCompositor::Size{200, 100}));
    EXPECT_EQ(state.surfaces[layer].screen.pixels[0], 0xFFFFFFU) << "no lead at scale 1";

    // While the compositor cannot show a frame, changes wait; the last of them goes out after.
    compositor->SetFrames(FakeCompositor::Frames::Held);
    compositor->SetRelease(FakeCompositor::Release::OnReplace);
    window.Invalidate();
    window.UpdateWindow();
    ASSERT_TRUE(WaitUntil(
        [&](const FakeCompositor::State& s) { return s.surfaces[layer].pendingFrames > 0; }));
    const int commits = compositor->Snapshot().surfaces[layer].screen.commits;
    for (int n = 0; n < 5; ++n) {
        window.Invalidate();
        platform::ProcessPendingMessages();
        platform::CurrentBackend()->WaitForEvents(0);
    }
    ASSERT_TRUE(compositor->Settle());
    EXPECT_EQ(compositor->Snapshot().surfaces[layer].screen.commits, commits);
    compositor->ReleaseFrames();
    ASSERT_TRUE(WaitUntil([&](const FakeCompositor::State& s) {
        return s.surfaces[layer].screen.commits == commits + 1;
    }));
    state = compositor->Snapshot();
    EXPECT_FALSE(state.surfaces[layer].committedWhileFramePending);
    EXPECT_FALSE(state.surfaces[layer].screen.bufferTouchedWhileHeld);
    window.DestroyWindow();
}

}  // namespace
