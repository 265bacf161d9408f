// SDL windows follow the top-level windows, and presenting copies their pictures to the screen.
#include "platform/backends/sdl/sdl_present.h"
#include "platform/windows/window_tree.h"
#include "sdl/probe_window.h"
#include "sdl/sdl_fixture.h"

namespace {

using SdlWindowsTest = SdlTest;

bool HasFlag(SDL_Window* window, Uint32 flag) { return (SDL_GetWindowFlags(window) & flag) != 0; }

// The pixel an SDL window shows, as 0x00RRGGBB (the dummy screen is XRGB8888).
Uint32 ShownPixel(SDL_Window* window, int x, int y) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    EXPECT_EQ(surface->format->format, static_cast<Uint32>(SDL_PIXELFORMAT_RGB888));
    const auto* row = reinterpret_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    return reinterpret_cast<const Uint32*>(row)[x] & 0x00FFFFFFu;
}

TEST_F(SdlWindowsTest, EachShownTopLevelWindowHasABorderlessSdlWindowAtItsPlace) {
    Log log;
    ProbeWindow popup(&log);
    ASSERT_TRUE(popup.CreateTopLevel(RECT{30, 40, 230, 190}, WS_POPUP, L"Start ✓"));
    EXPECT_EQ(SdlIdOf(popup.m_hWnd), 0u) << "no SDL window before the first show";

    popup.ShowWindow(SW_SHOW);
    SDL_Window* window = SdlWindowOf(popup.m_hWnd);
    ASSERT_NE(window, nullptr);
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{30, 40, 200, 150}));
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Start ✓");
    EXPECT_TRUE(HasFlag(window, SDL_WINDOW_SHOWN));
    EXPECT_TRUE(HasFlag(window, SDL_WINDOW_BORDERLESS));
    EXPECT_TRUE(HasFlag(window, SDL_WINDOW_ALWAYS_ON_TOP));

    popup.MoveWindow(5, 6, 70, 80);
    popup.SetWindowText(L"Renamed");
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{5, 6, 70, 80}));
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Renamed");

    popup.ShowWindow(SW_HIDE);
    EXPECT_FALSE(HasFlag(window, SDL_WINDOW_SHOWN));
    popup.ShowWindow(SW_SHOW);
    EXPECT_TRUE(HasFlag(window, SDL_WINDOW_SHOWN));
    // A window without area cannot be shown; it comes back with its size.
    popup.MoveWindow(5, 6, 0, 80);
    EXPECT_FALSE(HasFlag(window, SDL_WINDOW_SHOWN));
    popup.MoveWindow(5, 6, 70, 80);
    EXPECT_TRUE(HasFlag(window, SDL_WINDOW_SHOWN));
    EXPECT_EQ(SdlWindowOf(popup.m_hWnd), window);

    const Uint32 id = SdlIdOf(popup.m_hWnd);
    popup.DestroyWindow();
    EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);

    // Other top-level windows stack as the desktop decides, unless they ask to stay on top.
    ProbeWindow plain(&log);
    ASSERT_TRUE(plain.CreateTopLevel(RECT{0, 0, 50, 50}, WS_OVERLAPPED | WS_VISIBLE));
    EXPECT_FALSE(HasFlag(SdlWindowOf(plain.m_hWnd), SDL_WINDOW_ALWAYS_ON_TOP));
    ProbeWindow topmost(&log);
    ASSERT_TRUE(
        topmost.CreateTopLevel(RECT{0, 0, 50, 50}, WS_OVERLAPPED | WS_VISIBLE, L"", WS_EX_TOPMOST));
    EXPECT_TRUE(HasFlag(SdlWindowOf(topmost.m_hWnd), SDL_WINDOW_ALWAYS_ON_TOP));
}

TEST_F(SdlWindowsTest, PaintingShowsOnScreenAndWhatSdlLostIsShownAgain) {
    Log log;
    ProbeWindow popup(&log);
    popup.color = RGB(255, 0, 0);
    ASSERT_TRUE(popup.CreateTopLevel(RECT{10, 10, 110, 60}));
    Deliver();
    SDL_Window* window = SdlWindowOf(popup.m_hWnd);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ShownPixel(window, 0, 0), 0xFF0000u);
    EXPECT_EQ(ShownPixel(window, 99, 49), 0xFF0000u);

    // The desktop threw the picture away (a window on top moved off): SDL says it is exposed.
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    SDL_FillRect(surface, nullptr, 0);
    SDL_Event exposed{};
    exposed.type = SDL_WINDOWEVENT;
    exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
    exposed.window.windowID = SdlIdOf(popup.m_hWnd);
    Push(exposed);
    Deliver();
    EXPECT_EQ(ShownPixel(window, 0, 0), 0xFF0000u);
    EXPECT_EQ(ShownPixel(window, 99, 49), 0xFF0000u);

    // A partial repaint reaches the screen too.
    popup.color = RGB(0, 0, 255);
    RECT corner{0, 0, 10, 10};
    popup.InvalidateRect(&corner, TRUE);
    Deliver();
    EXPECT_EQ(ShownPixel(window, 5, 5), 0x0000FFu);

    // A bigger window gets a new SDL surface, filled all over.
    popup.MoveWindow(10, 10, 150, 90);
    Deliver();
    EXPECT_EQ(ShownPixel(SdlWindowOf(popup.m_hWnd), 149, 89), 0x0000FFu);
}

TEST(SdlPresent, ConvertsToOtherScreenFormatsAndClipsToBothSurfaces) {
    std::optional<platform::Surface> source = platform::Surface::Create(4, 3);
    ASSERT_TRUE(source);
    source->Fill(source->Bounds(), 0x0000FF);
    source->Fill(RECT{2, 1, 4, 3}, 0xFF0000);

    SDL_Surface* rgb565 = SDL_CreateRGBSurfaceWithFormat(0, 3, 3, 16, SDL_PIXELFORMAT_RGB565);
    ASSERT_NE(rgb565, nullptr);
    SDL_FillRect(rgb565, nullptr, 0);
    RECT copied{};
    ASSERT_TRUE(platform::CopyToSdlSurface(*source, RECT{1, 1, 10, 10}, rgb565, &copied));
    EXPECT_EQ((std::vector<LONG>{copied.left, copied.top, copied.right, copied.bottom}),
              (std::vector<LONG>{1, 1, 3, 3}));
    const auto pixel565 = [&](int x, int y) {
        const auto* row = static_cast<const Uint8*>(rgb565->pixels) + y * rgb565->pitch;
        return reinterpret_cast<const Uint16*>(row)[x];
    };
    EXPECT_EQ(pixel565(0, 0), 0x0000) << "outside the area";
    EXPECT_EQ(pixel565(1, 1), 0x001F);
    EXPECT_EQ(pixel565(2, 2), 0xF800);
    SDL_FreeSurface(rgb565);

    // A screen with alpha gets opaque pixels.
    SDL_Surface* argb = SDL_CreateRGBSurfaceWithFormat(0, 4, 3, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(argb, nullptr);
    ASSERT_TRUE(platform::CopyToSdlSurface(*source, source->Bounds(), argb, nullptr));
    EXPECT_EQ(static_cast<const Uint32*>(argb->pixels)[0], 0xFF0000FFu);
    EXPECT_FALSE(platform::CopyToSdlSurface(*source, RECT{3, 3, 3, 5}, argb, nullptr));
    SDL_FreeSurface(argb);
}

}  // namespace
