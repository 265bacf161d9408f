// Message boxes as the user meets them: the buttons the type asks for, Enter and Escape, taps,
// placement on small and large screens, text in any script, and the program ending under them.
#include <algorithm>
#include <deque>
#include <functional>

#include "controls/control_host.h"
#include "platform/controls/button.h"
#include "platform/framework/message_box.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/window_tree.h"
#include "support/headless_fixture.h"

namespace {

using Step = std::function<void(HWND box)>;

class MessageBoxTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        backend->answerMessageBoxes = false;
    }

    // Shows a box and plays `steps` on it, one each time the loop waits for input.
    int Show(const std::wstring& text, UINT type, std::vector<Step> steps, HWND owner = nullptr) {
        std::deque<Step> pending(steps.begin(), steps.end());
        backend->onIdle = [this, &pending]() {
            if (pending.empty() || backend->messageBoxes.empty()) return false;
            Step step = std::move(pending.front());
            pending.pop_front();
            step(backend->messageBoxes.back().box);
            return true;
        };
        const int answer = MessageBox(owner, text.c_str(), L"Вопрос", type);
        backend->onIdle = nullptr;
        stepsLeft = pending.size();
        return answer;
    }

    static CRect ScreenRect(HWND hwnd) {
        CRect rect;
        ::GetWindowRect(hwnd, &rect);
        return rect;
    }
    static std::vector<int> ButtonIdsLeftToRight(HWND box) {
        std::vector<std::pair<int, int>> placed;
        for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (CWnd::FromHandle(child)->IsKindOf(RUNTIME_CLASS(CButton))) {
                placed.emplace_back(ScreenRect(child).left, ::GetDlgCtrlID(child));
            }
        }
        std::sort(placed.begin(), placed.end());
        std::vector<int> ids;
        for (const auto& [left, id] : placed) ids.push_back(id);
        return ids;
    }
    static std::wstring Label(HWND box, int id) {
        return CWnd::FromHandle(::GetDlgItem(box, id))->GetWindowText();
    }
    static Step Key(UINT key) {
        return [key](HWND) {
            platform::input::KeyDown(key);
            platform::input::KeyUp(key);
        };
    }
    static Step Tap(int id, int dx = 0, int dy = 0) {
        return [id, dx, dy](HWND box) {
            const CRect button = ScreenRect(::GetDlgItem(box, id));
            const POINT at{button.CenterPoint().x + dx, button.CenterPoint().y + dy};
            platform::input::StylusDown(at);
            platform::input::StylusUp(at);
        };
    }

    std::size_t stepsLeft = 0;
};

TEST_F(MessageBoxTest, EachTypeShowsItsButtonsAndEnterAndEscapeAnswerAsTheTypeSays) {
    std::vector<int> ids;
    std::wstring labels;
    auto look = [&](HWND box) {
        ids = ButtonIdsLeftToRight(box);
        labels.clear();
        for (int id : ids) labels += Label(box, id) + L"|";
    };
    EXPECT_EQ(Show(L"Сохранить?", MB_YESNOCANCEL, {look, Key(VK_RETURN)}), IDYES);
    EXPECT_EQ(ids, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(labels, L"Yes|No|Cancel|");
    EXPECT_EQ(Show(L"Сохранить?", MB_YESNOCANCEL, {Key(VK_ESCAPE)}), IDCANCEL);
    EXPECT_EQ(Show(L"Сохранить?", MB_YESNOCANCEL | MB_DEFBUTTON2, {Key(VK_RETURN)}), IDNO);
    EXPECT_EQ(Show(L"Сохранить?", MB_YESNOCANCEL | MB_DEFBUTTON3, {Key(VK_RETURN)}), IDCANCEL);

    EXPECT_EQ(Show(L"Удалить?", MB_YESNO, {look, Key(VK_ESCAPE)}), IDNO);
    EXPECT_EQ(ids, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(Show(L"Удалить?", MB_YESNO | MB_DEFBUTTON3, {Key(VK_RETURN)}), IDNO)
        << "a default past the last button is the last one";
    EXPECT_EQ(Show(L"Дальше?", MB_OKCANCEL, {look, Key(VK_ESCAPE)}), IDCANCEL);
    EXPECT_EQ(ids, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(Show(L"Дальше?", MB_OKCANCEL, {Key(VK_RETURN)}), IDOK);
    EXPECT_EQ(Show(L"Готово", MB_OK, {look, Key(VK_ESCAPE)}), IDOK);
    EXPECT_EQ(ids, std::vector<int>{IDOK});
    EXPECT_EQ(Show(L"Готово", MB_OK | MB_ICONERROR, {Key(VK_RETURN)}), IDOK);

    // The arrows move the choice along the row, wrapping at its ends.
    EXPECT_EQ(Show(L"?", MB_YESNOCANCEL, {Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_RETURN)}), IDCANCEL);
    EXPECT_EQ(Show(L"?", MB_YESNOCANCEL, {Key(VK_LEFT), Key(VK_RETURN)}), IDCANCEL);
    EXPECT_EQ(Show(L"?", MB_YESNO, {Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_RETURN)}), IDYES);
    // Space on the focused button chooses it, as a tap does.
    EXPECT_EQ(Show(L"?", MB_YESNO, {Key(VK_RIGHT), Key(VK_SPACE)}), IDNO);
    EXPECT_EQ(stepsLeft, 0u);
}

TEST_F(MessageBoxTest, ATapOnAButtonChoosesItAndAPressSlidOffChoosesNothing) {
    EXPECT_EQ(Show(L"Удалить?", MB_YESNOCANCEL, {Tap(IDNO)}), IDNO);
    EXPECT_EQ(Show(L"Удалить?", MB_YESNOCANCEL, {Tap(IDCANCEL)}), IDCANCEL);

    auto slideOff = [](HWND box) {
        const CRect yes = ScreenRect(::GetDlgItem(box, IDYES));
        platform::input::StylusDown(yes.CenterPoint());
        platform::input::StylusMove(POINT{yes.CenterPoint().x, yes.bottom + 30});
        platform::input::StylusUp(POINT{yes.CenterPoint().x, yes.bottom + 30});
    };
    // A tap beside the buttons, on the text, chooses nothing either.
    auto tapText = [](HWND box) {
        const CRect window = ScreenRect(box);
        const POINT onText{window.left + 20, window.top + 40};
        platform::input::StylusDown(onText);
        platform::input::StylusUp(onText);
    };
    EXPECT_EQ(Show(L"Удалить?", MB_YESNO, {slideOff, tapText, Tap(IDYES)}), IDYES);
    EXPECT_EQ(stepsLeft, 0u) << "the box stayed until the last tap";
}

TEST_F(MessageBoxTest, TheBoxIsSizedToItsTextWithinTheScreenAndCentredOnItsOwnerOrTheScreen) {
    CRect measured;
    CRect text;
    auto measure = [&](HWND box) {
        measured = ScreenRect(box);
        text = ScreenRect(::GetDlgItem(box, 0xFFFF));
    };
    Show(L"Готово", MB_OK, {measure, Key(VK_RETURN)});
    const CRect shortBox = measured;
    const CRect shortText = text;
    EXPECT_LT(shortBox.Width(), display.width / 2) << "a short text gives a small box";
    EXPECT_EQ(shortBox.CenterPoint().x, display.width / 2);
    EXPECT_NEAR(shortBox.CenterPoint().y, display.height / 2, 1);

    // A long text wraps at words, inside the screen, and every line is shown.
    std::wstring paragraph;
    for (int word = 0; word < 60; ++word) paragraph += L"слово ";
    Show(paragraph, MB_OK, {measure, Key(VK_RETURN)});
    EXPECT_GT(measured.Width(), shortBox.Width());
    EXPECT_GE(measured.left, 0);
    EXPECT_LE(measured.right, display.width);
    EXPECT_GE(text.Height(), 4 * shortText.Height());

    // Over its owner, whose middle it shares.
    ControlHost owner;
    ASSERT_TRUE(owner.CreateHost(RECT{20, 300, 420, 600}));
    CRect over;
    Show(L"Готово", MB_OK, {[&](HWND box) { over = ScreenRect(box); }, Key(VK_RETURN)},
         owner.m_hWnd);
    EXPECT_EQ(over.CenterPoint().x, 220);
    EXPECT_NEAR(over.CenterPoint().y, 450, 1);
    EXPECT_TRUE(owner.IsWindowEnabled()) << "the owner is enabled again once the box is answered";

    // The control that had the focus before the box has it again after.
    CButton field;
    ASSERT_TRUE(field.Create(L"field", WS_CHILD | WS_VISIBLE, CRect(10, 10, 100, 50), &owner, 5));
    field.SetFocus();
    Show(L"Готово", MB_OK, {Key(VK_RETURN)}, owner.m_hWnd);
    EXPECT_EQ(CWnd::GetFocus(), &field);
    EXPECT_EQ(::GetActiveWindow(), owner.m_hWnd);

    // An owner near the screen's corner: the box stays on the screen.
    owner.MoveWindow(400, 580, 200, 200);
    Show(L"Готово", MB_OK, {[&](HWND box) { over = ScreenRect(box); }, Key(VK_RETURN)},
         owner.m_hWnd);
    EXPECT_LE(over.right, display.width);
    EXPECT_LE(over.bottom, display.height);
}

TEST_F(MessageBoxTest, OnAPhoneAndOnADesktopEverythingStaysOnTheScreenAndButtonsFitAFinger) {
    std::wstring essay;
    for (int word = 0; word < 2000; ++word) essay += L"word ";
    const std::wstring longPath =
        L"/home/user/" + std::wstring(300, L'x') + L"/Programs/Notes.desktop";
    for (const platform::DisplayInfo screen :
         {platform::DisplayInfo{240, 320, 96}, platform::DisplayInfo{480, 640, 192},
          platform::DisplayInfo{1920, 1080, 96}}) {
        display = screen;
        backend = &platform::InstallHeadlessBackend(display);
        backend->answerMessageBoxes = false;
        for (const std::wstring& text : {essay, longPath}) {
            CRect box;
            CRect client;
            std::vector<CRect> buttons;
            auto measure = [&](HWND hwnd) {
                box = ScreenRect(hwnd);
                ::GetClientRect(hwnd, &client);
                for (int id : {IDYES, IDNO, IDCANCEL})
                    buttons.push_back(ScreenRect(::GetDlgItem(hwnd, id)));
            };
            EXPECT_EQ(Show(text, MB_YESNOCANCEL, {measure, Tap(IDNO)}), IDNO)
                << screen.width << "x" << screen.height;
            EXPECT_GE(box.left, 0);
            EXPECT_GE(box.top, 0);
            EXPECT_LE(box.right, screen.width);
            EXPECT_LE(box.bottom, screen.height);
            // Not stretched over a desktop: a readable measure of text.
            EXPECT_LE(client.Width(), platform::ScaleForDisplay(560));
            for (const CRect& button : buttons) {
                EXPECT_TRUE(CRect().IntersectRect(&button, &box) && button.left >= box.left &&
                            button.right <= box.right && button.bottom <= box.bottom);
                EXPECT_GE(button.Height(),
                          std::min(platform::ScaleForDisplay(40), screen.height / 4));
            }
            EXPECT_LE(buttons[0].right, buttons[1].left) << "the buttons do not overlap";
        }
    }
}

TEST_F(MessageBoxTest, TheTextIsDrawnInTheBoxWithTheDefaultButtonMarked) {
    std::vector<COLORREF> textPixels;
    COLORREF yesFrame = 0;
    COLORREF noFrame = 0;
    COLORREF border = 0;
    COLORREF captionBand = 0;
    auto look = [&](HWND box) {
        border = platform::ReadWindowFramePixel(box, 0, 30);
        captionBand = platform::ReadWindowFramePixel(box, 3, 3);
        textPixels = platform::ReadWindowPixels(::GetDlgItem(box, 0xFFFF));
        yesFrame = platform::ReadWindowPixel(::GetDlgItem(box, IDYES), 1, 10);
        noFrame = platform::ReadWindowPixel(::GetDlgItem(box, IDNO), 1, 10);
    };
    Show(L"Файл «options.ini» не найден", MB_YESNO, {look, Key(VK_ESCAPE)});
    const auto inked =
        std::count(textPixels.begin(), textPixels.end(), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_GT(inked, 50) << "Cyrillic glyphs are drawn, not left blank";
    EXPECT_EQ(border, GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(captionBand, GetSysColor(COLOR_ACTIVECAPTION)) << "the caption bar of the active box";
    EXPECT_EQ(yesFrame, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(noFrame, GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(MessageBoxTest, AnEndingProgramShowsNoBoxAndWithoutAScreenTheTextGoesToStandardError) {
    ::PostQuitMessage(0);
    EXPECT_EQ(Show(L"Удалить?", MB_YESNO, {Tap(IDYES)}), IDNO);
    EXPECT_TRUE(backend->messageBoxes.empty()) << "no box was made";
    EXPECT_TRUE(platform::IsQuitPosted()) << "the quit stays for the loops outside";

    platform::InstallBackend(nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBox(nullptr, L"Файл не найден", L"Error", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Файл не найден\n");
}

TEST_F(MessageBoxTest, ButtonSetsFollowTheTypeBitsOnly) {
    const auto set = platform::ButtonsForMessageBoxType(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    EXPECT_EQ(set.results, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(set.defaultIndex, 1);
    EXPECT_EQ(set.escapeResult, IDNO);
    EXPECT_EQ(platform::ButtonsForMessageBoxType(0x0000000E).results, std::vector<int>{IDOK})
        << "an unknown type gives OK";
}

}  // namespace
