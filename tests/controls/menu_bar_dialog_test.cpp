// A dialog that makes its menu bar in OnInitDialog, as the settings editor does: the layout it
// measures ends above the bar, and the soft keys reach it through the modal loop while a child
// holds the focus.
#include <deque>
#include <functional>

#include "platform/controls/button.h"
#include "platform/controls/menu_bar.h"
#include "platform/framework/dialog.h"
#include "platform/framework/handheld_shell.h"
#include "platform/windows/menus.h"
#include "support/headless_fixture.h"

namespace {

class BarDialog : public CDialog {
  public:
    BarDialog() : CDialog(Template(), nullptr) {}

    static platform::DialogTemplate Template() {
        platform::DialogTemplate dialogTemplate;
        dialogTemplate.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT;
        dialogTemplate.cx = 156;
        dialogTemplate.cy = 129;
        dialogTemplate.caption = L"bar";
        dialogTemplate.fontFace = L"MS Shell Dlg";
        return dialogTemplate;
    }

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        menu = CreateMenu();
        AppendMenu(menu, MF_STRING, 1100, L"сохранить");
        AppendMenu(menu, MF_STRING, 1101, L"отменить");
        SHMENUBARINFO info{};
        info.cbSize = sizeof(info);
        info.hwndParent = m_hWnd;
        info.dwFlags = SHCMBF_HMENU;
        info.nToolBarId = static_cast<UINT>(reinterpret_cast<UINT_PTR>(menu));
        barCreated = SHCreateMenuBar(&info) != FALSE;
        bar = info.hwndMB;
        // The content fills what the dialog measures as its client area.
        CRect client;
        GetClientRect(&client);
        measured = client;
        content.Create(L"content", WS_CHILD | WS_VISIBLE | WS_TABSTOP, client, this, 1001);
        content.SetFocus();
        return FALSE;
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        const UINT id = LOWORD(wParam);
        if (id == 1100 || id == 1101) {
            EndDialog(static_cast<int>(id));
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }

    HMENU menu = nullptr;
    HWND bar = nullptr;
    bool barCreated = false;
    CRect measured;
    CButton content;
};

class MenuBarDialogTest : public HeadlessTest {
  protected:
    INT_PTR Run(BarDialog& dialog, std::vector<std::function<void()>> steps) {
        std::deque<std::function<void()>> pending(steps.begin(), steps.end());
        backend->onIdle = [&pending]() {
            if (pending.empty()) return false;
            auto step = std::move(pending.front());
            pending.pop_front();
            step();
            return true;
        };
        const INT_PTR result = dialog.DoModal();
        backend->onIdle = nullptr;
        DestroyMenu(dialog.menu);
        return result;
    }
    static void Press(UINT key) {
        platform::input::KeyDown(key);
        platform::input::KeyUp(key);
    }
};

TEST_F(MenuBarDialogTest, TheDialogsLayoutEndsAboveTheBarAndTheSoftKeysEndIt) {
    BarDialog dialog;
    RECT barOnScreen{};
    RECT contentOnScreen{};
    const INT_PTR result = Run(dialog, {[&] {
                                            GetWindowRect(dialog.bar, &barOnScreen);
                                            dialog.content.GetWindowRect(&contentOnScreen);
                                        },
                                        [] { Press(VK_F2); }});
    EXPECT_TRUE(dialog.barCreated);
    EXPECT_EQ(result, 1101);
    // Full screen: the bar on the last rows inside the dialog's 1-pixel frame, the content
    // right above it.
    EXPECT_EQ(barOnScreen.bottom, 639);
    EXPECT_EQ(barOnScreen.top, 639 - CMenuBar::BarHeight());
    EXPECT_EQ(contentOnScreen.bottom, barOnScreen.top);
    EXPECT_EQ(dialog.measured.Height(), contentOnScreen.bottom - contentOnScreen.top);
    EXPECT_FALSE(IsWindow(dialog.bar)) << "the bar goes with its dialog";
}

TEST_F(MenuBarDialogTest, F1CommandsTheLeftEntryAndEscapeStillCancels) {
    BarDialog first;
    EXPECT_EQ(Run(first, {[] { Press(VK_F1); }}), 1100);
    BarDialog second;
    EXPECT_EQ(Run(second, {[] { Press(VK_ESCAPE); }}), IDCANCEL);
}

}  // namespace
