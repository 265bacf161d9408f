// XInput 2.2 touch events as a touch screen sends them (two fingers, interleaved) reach the
// windows as the stylus of the first finger alone, in the coordinates of the monitor.
#include <gtest/gtest.h>
#include <xcb/xinput.h>

#include <string>
#include <vector>

#include "platform/backends/x11/x11_touch.h"
#include "platform/windows/cwnd.h"
#include "support/headless_fixture.h"

namespace {

constexpr std::uint8_t kOpcode = 131;
// The screen is the monitor right of a 640-pixel one: points are the monitor's.
constexpr double kMonitorLeft = 640;

class StylusWindow : public CWnd {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_LBUTTONUP) {
            const char* kind = message == WM_LBUTTONDOWN ? "down"
                               : message == WM_MOUSEMOVE ? "move"
                                                         : "up";
            log.push_back(std::string(kind) + " " + std::to_string(LOWORD(lParam)) + "," +
                          std::to_string(HIWORD(lParam)));
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<std::string> log;
};

// A touch event as the server sends it: root coordinates in 16.16 fixed point.
xcb_input_touch_begin_event_t Touch(std::uint16_t type, std::uint32_t finger, double x, double y,
                                    std::uint8_t extension = kOpcode) {
    xcb_input_touch_begin_event_t event{};
    event.response_type = XCB_GE_GENERIC;
    event.extension = extension;
    event.event_type = type;
    event.detail = finger;
    event.root_x = static_cast<xcb_input_fp1616_t>((kMonitorLeft + x) * 65536);
    event.root_y = static_cast<xcb_input_fp1616_t>(y * 65536);
    return event;
}

class X11TouchTest : public HeadlessTest {};

TEST_F(X11TouchTest, TheFirstFingerIsTheStylusAndOthersAreIgnored) {
    StylusWindow window;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 480,
                                640, nullptr, nullptr));
    platform::X11Touch touch(kOpcode);
    touch.SetOrigin(POINT{static_cast<LONG>(kMonitorLeft), 0});
    const std::vector<xcb_input_touch_begin_event_t> events{
        Touch(XCB_INPUT_TOUCH_BEGIN, 7, 10.75, 20.5),
        Touch(XCB_INPUT_TOUCH_BEGIN, 8, 100, 100),
        Touch(XCB_INPUT_TOUCH_UPDATE, 8, 120, 120),
        Touch(XCB_INPUT_TOUCH_UPDATE, 7, 30, 40),
        Touch(XCB_INPUT_TOUCH_END, 8, 120, 120),
        Touch(XCB_INPUT_TOUCH_UPDATE, 7, 31, 41),
        Touch(XCB_INPUT_TOUCH_END, 7, 31, 41),
        // The second finger, lifted and down again after the first, is a new stylus.
        Touch(XCB_INPUT_TOUCH_BEGIN, 9, 200, 300),
        Touch(XCB_INPUT_TOUCH_END, 9, 200, 300),
    };
    for (const auto& event : events) {
        EXPECT_TRUE(touch.Handle(reinterpret_cast<const xcb_generic_event_t&>(event)));
        Pump();
    }
    // Another extension's generic event, and a core event, are not touches.
    const auto other = Touch(XCB_INPUT_TOUCH_BEGIN, 1, 5, 5, kOpcode + 1);
    EXPECT_FALSE(touch.Handle(reinterpret_cast<const xcb_generic_event_t&>(other)));
    xcb_generic_event_t core{};
    core.response_type = XCB_BUTTON_PRESS;
    EXPECT_FALSE(touch.Handle(core));
    Pump();
    EXPECT_EQ(window.log, (std::vector<std::string>{"down 10,20", "move 30,40", "move 31,41",
                                                    "up 31,41", "down 200,300", "up 200,300"}));
    window.DestroyWindow();
}

}  // namespace
