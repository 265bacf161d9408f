// An edit box on the real-screen backend: text committed by the keyboard or an input method, and
// the desktop's clipboard, with Ctrl held on SDL's keys.
#include "controls/control_host.h"
#include "platform/controls/edit.h"
#include "sdl/sdl_fixture.h"

namespace {

using SdlEditTest = SdlTest;

SDL_Event Key(Uint32 type, SDL_Keycode symbol) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = symbol;
    return event;
}

TEST_F(SdlEditTest, CommittedTextAndTheDesktopClipboardReachTheBox) {
    ControlHost host;
    CEdit edit;
    ASSERT_TRUE(host.CreateHost(RECT{0, 0, 300, 100}));
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                            CRect(10, 10, 290, 50), &host, 7));
    edit.SetFocus();
    Deliver();

    // An input method commits a whole word at once.
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    SDL_strlcpy(text.text.text, "Привет, 世界", sizeof(text.text.text));
    Push(text);
    Deliver();
    EXPECT_EQ(edit.GetWindowText(), L"Привет, 世界");

    auto chord = [this](SDL_Keycode key) {
        Push(Key(SDL_KEYDOWN, SDLK_LCTRL));
        Push(Key(SDL_KEYDOWN, key));
        Push(Key(SDL_KEYUP, key));
        Push(Key(SDL_KEYUP, SDLK_LCTRL));
        Deliver();
    };
    chord(SDLK_a);
    chord(SDLK_c);
    char* copied = SDL_GetClipboardText();
    EXPECT_STREQ(copied, "Привет, 世界");
    SDL_free(copied);

    ASSERT_EQ(SDL_SetClipboardText("вставка\nвторая строка"), 0);
    chord(SDLK_v);
    EXPECT_EQ(edit.GetWindowText(), L"вставка");
}

}  // namespace
