// Keys of real keymaps as the programs see them: virtual keys, typed text, dead keys, Num Lock,
// shortcuts and repeats, for the layouts of the people who type into the editor.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/backends/xkb/xkb_keyboard.h"
#include "platform/windows/messages.h"

namespace {

using platform::XkbKeyboard;

// Evdev codes of the keys used below.
enum : std::uint32_t {
    kEscape = 1,
    kOne = 2,
    kBackspace = 14,
    kQ = 16,
    kE = 18,
    kY = 21,
    kLeftBrace = 26,
    kEnter = 28,
    kLeftCtrl = 29,
    kA = 30,
    kApostrophe = 40,
    kLeftShift = 42,
    kZ = 44,
    kC = 46,
    kNumLock = 69,
    kKeypad1 = 79,
    kRightAlt = 100,
    kDown = 108,
};

struct Stroke {
    std::uint32_t key;
    enum { Down, Up, Repeat, Forget } action;
    UINT virtualKey;    // of the press, the release or the repeat
    std::wstring text;  // typed by a press or a repeat
};

struct Case {
    const char* name;
    const char* layout;
    const char* variant;
    std::vector<Stroke> strokes;
};

constexpr auto Down = Stroke::Down;
constexpr auto Up = Stroke::Up;
constexpr auto Repeat = Stroke::Repeat;
constexpr auto Forget = Stroke::Forget;

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases{
        {"UsLettersShiftAndControlKeys",
         "us",
         nullptr,
         {{kA, Down, 'A', L"a"},
          {kA, Up, 'A', L""},
          {kLeftShift, Down, VK_SHIFT, L""},
          {kA, Down, 'A', L"A"},
          {kOne, Down, '1', L"!"},
          {kOne, Up, '1', L""},
          {kA, Up, 'A', L""},
          {kLeftShift, Up, VK_SHIFT, L""},
          {kEnter, Down, VK_RETURN, L""},
          {kEnter, Up, VK_RETURN, L""},
          {kEscape, Down, VK_ESCAPE, L""},
          {kBackspace, Down, VK_BACK, L""},
          {kDown, Down, VK_DOWN, L""},
          {kDown, Repeat, VK_DOWN, L""}}},
        // Ctrl+C is a command: the key, no text.
        {"ControlSuppressesText",
         "us",
         nullptr,
         {{kLeftCtrl, Down, VK_CONTROL, L""},
          {kC, Down, 'C', L""},
          {kC, Up, 'C', L""},
          {kLeftCtrl, Up, VK_CONTROL, L""},
          {kC, Down, 'C', L"c"}}},
        // Cyrillic letters keep the Latin virtual keys of their places.
        {"RussianByPosition",
         "ru",
         nullptr,
         {{kA, Down, 'A', L"ф"},
          {kQ, Down, 'Q', L"й"},
          {kOne, Down, '1', L"1"},
          {kLeftShift, Down, VK_SHIFT, L""},
          {kE, Down, 'E', L"У"}}},
        // The German Z sits where the US Y does; AltGr types without being a shortcut.
        {"GermanSymbolsAndAltGr",
         "de",
         nullptr,
         {{kZ, Down, 'Y', L"y"},
          {kY, Down, 'Z', L"z"},
          {kLeftBrace, Down, 0, L"ü"},
          {kRightAlt, Down, 0, L""},
          {kQ, Down, 'Q', L"@"},
          {kQ, Up, 'Q', L""},
          {kRightAlt, Up, 0, L""},
          {kQ, Down, 'Q', L"q"}}},
        // A dead key types nothing until the next key; holding it composes nothing with itself.
        {"DeadKeysCompose",
         "us",
         "intl",
         {{kApostrophe, Down, 0, L""},
          {kApostrophe, Repeat, 0, L""},
          {kApostrophe, Up, 0, L""},
          {kE, Down, 'E', L"é"},
          {kE, Repeat, 'E', L"é"},
          {kE, Up, 'E', L""},
          {kE, Down, 'E', L"e"}}},
        // Keypad keys move without Num Lock and type digits with it; a release answers the
        // press even when Num Lock changed in between.
        {"KeypadFollowsNumLock",
         "us",
         nullptr,
         {{kKeypad1, Down, VK_END, L""},
          {kNumLock, Down, 0, L""},
          {kNumLock, Up, 0, L""},
          {kKeypad1, Up, VK_END, L""},
          {kKeypad1, Down, 0, L"1"},
          {kKeypad1, Up, 0, L""}}},
        // Focus lost with Shift down: Shift is up when it comes back.
        {"ForgottenKeysReleaseModifiers",
         "us",
         nullptr,
         {{kLeftShift, Down, VK_SHIFT, L""},
          {kA, Down, 'A', L"A"},
          {0, Forget, 0, L""},
          {kA, Repeat, 0, L""},
          {kA, Down, 'A', L"a"}}},
    };
    return cases;
}

class XkbKeyboardTest : public testing::TestWithParam<Case> {};

TEST_P(XkbKeyboardTest, TypesWhatTheLayoutSays) {
    const Case& scenario = GetParam();
    const auto keyboard = XkbKeyboard::FromNames(scenario.layout, scenario.variant, "en_US.UTF-8");
    ASSERT_TRUE(keyboard);
    for (std::size_t index = 0; index < scenario.strokes.size(); ++index) {
        const Stroke& stroke = scenario.strokes[index];
        SCOPED_TRACE("stroke " + std::to_string(index));
        const std::uint32_t keycode = stroke.key + 8;
        switch (stroke.action) {
            case Stroke::Down:
            case Stroke::Repeat: {
                const XkbKeyboard::Press press = stroke.action == Stroke::Down
                                                     ? keyboard->KeyDown(keycode)
                                                     : keyboard->Repeat(keycode);
                EXPECT_EQ(press.virtualKey, stroke.virtualKey);
                EXPECT_EQ(press.text, stroke.text);
                break;
            }
            case Stroke::Up:
                EXPECT_EQ(keyboard->KeyUp(keycode), stroke.virtualKey);
                break;
            case Stroke::Forget:
                keyboard->ForgetHeldKeys();
                break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, XkbKeyboardTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(XkbKeyboard, KeymapTextAndModifierReports) {
    EXPECT_EQ(XkbKeyboard::FromKeymapText("not a keymap"), nullptr);
    EXPECT_EQ(XkbKeyboard::FromKeymapText(std::string(4, '\0')), nullptr);
    EXPECT_EQ(XkbKeyboard::FromNames("no-such-layout"), nullptr);

    // A compositor's keymap, with its trailing NUL; Shift reported as a modifier, not pressed.
    const auto names = XkbKeyboard::FromNames("us");
    ASSERT_TRUE(names);
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    const xkb_rule_names rules{"evdev", "pc105", "us", "", ""};
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &rules, XKB_KEYMAP_COMPILE_NO_FLAGS);
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const auto keyboard =
        XkbKeyboard::FromKeymapText(std::string_view(text, std::strlen(text) + 1), "C");
    const xkb_mod_mask_t shift = 1U << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_SHIFT);
    std::free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    ASSERT_TRUE(keyboard);
    keyboard->SetModifiers(shift, 0, 0, 0);
    EXPECT_EQ(keyboard->KeyDown(kA + 8).text, L"A");
    EXPECT_TRUE(keyboard->KeyDown(kA + 8).repeats);
    keyboard->SetModifiers(0, 0, 0, 0);
    EXPECT_EQ(keyboard->KeyUp(kA + 8), UINT{'A'});
    EXPECT_EQ(keyboard->KeyDown(kA + 8).text, L"a");
    EXPECT_FALSE(keyboard->KeyDown(kLeftShift + 8).repeats);
}

}  // namespace
