// SDL input reaching windows: mouse and touch as the stylus, keys, text, focus, closing, display
// changes and message boxes.
#include <algorithm>

#include "platform/windows/input.h"
#include "sdl/probe_window.h"
#include "sdl/sdl_fixture.h"

namespace {

using SdlInputTest = SdlTest;

SDL_Event MouseButton(Uint32 type, Uint32 windowId, int x, int y, Uint8 button = SDL_BUTTON_LEFT,
                      Uint32 which = 0) {
    SDL_Event event{};
    event.type = type;
    event.button.windowID = windowId;
    event.button.which = which;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event MouseMotion(Uint32 windowId, int x, int y, Uint32 which = 0) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = windowId;
    event.motion.which = which;
    event.motion.x = x;
    event.motion.y = y;
    return event;
}

SDL_Event Finger(Uint32 type, Uint32 windowId, SDL_FingerID finger, float x, float y) {
    SDL_Event event{};
    event.type = type;
    event.tfinger.touchId = 1;
    event.tfinger.fingerId = finger;
    event.tfinger.windowID = windowId;
    event.tfinger.x = x;
    event.tfinger.y = y;
    return event;
}

SDL_Event Key(Uint32 type, SDL_Keycode symbol, SDL_Scancode position = SDL_SCANCODE_UNKNOWN,
              Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym.sym = symbol;
    event.key.keysym.scancode = position;
    return event;
}

SDL_Event WindowEvent(Uint32 windowId, SDL_WindowEventID what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = windowId;
    event.window.event = static_cast<Uint8>(what);
    return event;
}

SDL_Event TypeOnly(Uint32 type) {
    SDL_Event event{};
    event.type = type;
    return event;
}

TEST_F(SdlInputTest, TheMouseIsTheStylusAtClientPointsOfTheWindowUnderIt) {
    Log log;
    ProbeWindow first(&log, "first");
    ProbeWindow child(&log, "child");
    ProbeWindow second(&log, "second");
    ASSERT_TRUE(first.CreateTopLevel(RECT{100, 50, 300, 200}));
    ASSERT_TRUE(child.CreateChild(&first, RECT{20, 30, 120, 90}));
    ASSERT_TRUE(second.CreateTopLevel(RECT{400, 300, 450, 350}));
    Deliver();
    log.clear();

    Push(MouseButton(SDL_MOUSEBUTTONDOWN, SdlIdOf(first.m_hWnd), 25, 40));
    Push(MouseMotion(SdlIdOf(first.m_hWnd), 30, 45));
    Push(MouseButton(SDL_MOUSEBUTTONUP, SdlIdOf(first.m_hWnd), 30, 45));
    Push(MouseButton(SDL_MOUSEBUTTONDOWN, SdlIdOf(second.m_hWnd), 5, 6));
    Push(MouseButton(SDL_MOUSEBUTTONUP, SdlIdOf(second.m_hWnd), 5, 6));
    Deliver();
    EXPECT_EQ(log, (Log{"child:down 5,10", "child:move 10,15", "child:up 10,15", "second:down 5,6",
                        "second:up 5,6"}));
}

TEST_F(SdlInputTest, HoverOtherButtonsAndSdlsMouseCopiesOfTouchesReachNoWindow) {
    Log log;
    ProbeWindow window(&log);
    ASSERT_TRUE(window.CreateTopLevel(RECT{0, 0, 100, 100}));
    Deliver();
    log.clear();
    const Uint32 id = SdlIdOf(window.m_hWnd);

    Push(MouseMotion(id, 10, 10));
    Push(MouseButton(SDL_MOUSEBUTTONDOWN, id, 10, 10, SDL_BUTTON_RIGHT));
    Push(MouseMotion(id, 12, 12));
    Push(MouseButton(SDL_MOUSEBUTTONUP, id, 12, 12, SDL_BUTTON_RIGHT));
    Push(MouseButton(SDL_MOUSEBUTTONDOWN, id, 20, 20, SDL_BUTTON_LEFT, SDL_TOUCH_MOUSEID));
    Push(MouseMotion(id, 22, 22, SDL_TOUCH_MOUSEID));
    Push(MouseButton(SDL_MOUSEBUTTONUP, id, 22, 22, SDL_BUTTON_LEFT, SDL_TOUCH_MOUSEID));
    Deliver();
    EXPECT_EQ(log, Log{});
    EXPECT_FALSE(platform::input::IsStylusDown());
}

TEST_F(SdlInputTest, TheFirstFingerDownIsTheStylusUntilItLifts) {
    Log log;
    ProbeWindow window(&log);
    ASSERT_TRUE(window.CreateTopLevel(RECT{10, 10, 211, 111}));  // 201 x 101
    Deliver();
    log.clear();
    const Uint32 id = SdlIdOf(window.m_hWnd);

    Push(Finger(SDL_FINGERDOWN, id, 7, 0.5F, 0.25F));
    Push(Finger(SDL_FINGERDOWN, id, 8, 0.1F, 0.1F));
    Push(Finger(SDL_FINGERMOTION, id, 8, 0.2F, 0.2F));
    Push(Finger(SDL_FINGERMOTION, id, 7, 1.0F, 1.0F));
    Push(Finger(SDL_FINGERUP, id, 8, 0.2F, 0.2F));
    Push(Finger(SDL_FINGERUP, id, 7, 1.0F, 1.0F));
    // The other finger was passed over: touching again with it starts anew.
    Push(Finger(SDL_FINGERDOWN, id, 8, 0.0F, 0.0F));
    Push(Finger(SDL_FINGERUP, id, 8, 0.0F, 0.0F));
    // Without a window SDL knows of, the touch goes to the active window.
    Push(Finger(SDL_FINGERDOWN, 0, 9, 0.5F, 0.5F));
    Push(Finger(SDL_FINGERUP, 0, 9, 0.5F, 0.5F));
    Deliver();
    EXPECT_EQ(log, (Log{"w:down 100,25", "w:move 200,100", "w:up 200,100", "w:down 0,0", "w:up 0,0",
                        "w:down 100,50", "w:up 100,50"}));
}

TEST_F(SdlInputTest, KeysBecomeVirtualKeysAndTextBecomesCharacters) {
    Log log;
    ProbeWindow window(&log);
    ASSERT_TRUE(window.CreateTopLevel(RECT{0, 0, 100, 100}));
    Deliver();
    log.clear();

    const std::vector<std::pair<SDL_Keycode, UINT>> keys = {{SDLK_LEFT, VK_LEFT},
                                                            {SDLK_UP, VK_UP},
                                                            {SDLK_RIGHT, VK_RIGHT},
                                                            {SDLK_DOWN, VK_DOWN},
                                                            {SDLK_RETURN, VK_RETURN},
                                                            {SDLK_KP_ENTER, VK_RETURN},
                                                            {SDLK_ESCAPE, VK_ESCAPE},
                                                            {SDLK_F1, VK_F1},
                                                            {SDLK_F2, VK_F2},
                                                            {SDLK_F4, VK_F4},
                                                            {SDLK_LALT, VK_MENU},
                                                            {SDLK_PAGEDOWN, VK_NEXT},
                                                            {SDLK_a, 'A'},
                                                            {SDLK_z, 'Z'},
                                                            {SDLK_0, '0'},
                                                            {SDLK_9, '9'},
                                                            {SDLK_RSHIFT, VK_SHIFT}};
    Log expected;
    for (const auto& [symbol, virtualKey] : keys) {
        Push(Key(SDL_KEYDOWN, symbol));
        expected.push_back("w:keydown " + std::to_string(virtualKey));
    }
    Push(Key(SDL_KEYDOWN, SDLK_DOWN, SDL_SCANCODE_DOWN, 1));  // held down: repeats
    Push(Key(SDL_KEYUP, SDLK_DOWN));
    // Keys the programs never see.
    Push(Key(SDL_KEYDOWN, SDLK_F5));
    Push(Key(SDL_KEYDOWN, SDLK_COMMA, SDL_SCANCODE_M));
    // A Cyrillic layout: the letter key at A's place is still A.
    Push(Key(SDL_KEYDOWN, 0x0444, SDL_SCANCODE_A));
    SDL_Event text = TypeOnly(SDL_TEXTINPUT);
    SDL_strlcpy(text.text.text, "aé€😀", sizeof(text.text.text));
    Push(text);
    Deliver();
    expected.insert(expected.end(), {"w:keydown 40", "w:keyup 40", "w:keydown 65", "w:char 97",
                                     "w:char 233", "w:char 8364", "w:char 128512"});
    EXPECT_EQ(log, expected);
}

TEST_F(SdlInputTest, FocusChangesActivateAndClosingAsksTheWindowsToClose) {
    Log log;
    ProbeWindow first(&log, "first");
    ProbeWindow hidden(&log, "hidden");
    ASSERT_TRUE(first.CreateTopLevel(RECT{0, 0, 100, 100}));
    ASSERT_TRUE(hidden.CreateTopLevel(RECT{0, 0, 100, 100}, WS_POPUP));
    Deliver();
    log.clear();
    const Uint32 id = SdlIdOf(first.m_hWnd);

    Push(WindowEvent(id, SDL_WINDOWEVENT_FOCUS_LOST));
    Push(WindowEvent(id, SDL_WINDOWEVENT_FOCUS_GAINED));
    Deliver();
    EXPECT_EQ(log, (Log{"first:inactive", "first:active"}));
    EXPECT_EQ(GetActiveWindow(), first.m_hWnd);

    log.clear();
    Push(WindowEvent(id, SDL_WINDOWEVENT_CLOSE));
    Deliver();
    EXPECT_EQ(log.front(), "first:close");
    EXPECT_EQ(first.m_hWnd, nullptr) << "the default answer to a close destroys the window";
    EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);

    // The session ends: every top-level window, shown or not, is asked.
    ProbeWindow second(&log, "second");
    ASSERT_TRUE(second.CreateTopLevel(RECT{0, 0, 100, 100}));
    log.clear();
    Push(TypeOnly(SDL_QUIT));
    Deliver();
    EXPECT_EQ(std::count(log.begin(), log.end(), "hidden:close"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "second:close"), 1);
    EXPECT_TRUE(platform::IsQuitPosted()) << "the program is asked to end as well";
}

TEST_F(SdlInputTest, ANewDesktopSizeIsAnnouncedOnceToEveryTopLevelWindow) {
    Log log;
    ProbeWindow window(&log);
    ASSERT_TRUE(window.CreateTopLevel(RECT{0, 0, 100, 100}));
    Deliver();
    log.clear();

    // The window system still believes in an older screen than SDL's desktop (1024 x 768).
    platform::SetCurrentDisplay(platform::DisplayInfo{480, 640, 96});
    SDL_Event displayEvent = TypeOnly(SDL_DISPLAYEVENT);
    displayEvent.display.event = SDL_DISPLAYEVENT_ORIENTATION;
    Push(displayEvent);
    platform::CurrentBackend()->WaitForEvents(0);
    platform::CurrentBackend()->WaitForEvents(0);  // not taken yet: not announced again
    platform::ProcessPendingMessages();
    EXPECT_EQ(log, (Log{"w:display 1024x768", "w:size 100x100"}));
    EXPECT_EQ(platform::CurrentDisplay().width, 1024);
    EXPECT_EQ(platform::CurrentDisplay().height, 768);

    log.clear();
    Deliver();
    EXPECT_EQ(log, Log{});
}

TEST_F(SdlInputTest, MessageBoxesAreWindowsOfOurOwnAnsweredByTheKeysAndEndedByTheSession) {
    Log log;
    ProbeWindow window(&log);
    ASSERT_TRUE(window.CreateTopLevel(RECT{0, 0, 100, 100}));
    Deliver();

    // Keys from the screen reach the box's buttons: Right moves to "No", Return chooses it.
    for (SDL_Keycode key : {SDLK_RIGHT, SDLK_RETURN}) {
        SDL_Event press = TypeOnly(SDL_KEYDOWN);
        press.key.keysym.sym = key;
        Push(press);
    }
    EXPECT_EQ(MessageBox(window.m_hWnd, L"Удалить «Notes»?", L"Launcher", MB_YESNO), IDNO);
    EXPECT_EQ(SdlIdOf(window.m_hWnd) != 0, true) << "the owner keeps its window";

    // The session ends while a box is up: the box closes, answering as Escape would, and no
    // further box shows.
    Push(TypeOnly(SDL_QUIT));
    EXPECT_EQ(MessageBox(nullptr, L"first", L"Error", MB_OKCANCEL), IDCANCEL);
    EXPECT_TRUE(platform::IsQuitPosted());
    EXPECT_EQ(MessageBox(nullptr, L"second", L"Error", MB_YESNO), IDNO);
}

}  // namespace
