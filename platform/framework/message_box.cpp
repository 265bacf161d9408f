#include "platform/framework/message_box.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>

#include "platform/base/system_metrics.h"
#include "platform/base/text_encoding.h"
#include "platform/controls/button.h"
#include "platform/controls/control_drawing.h"
#include "platform/controls/static_text.h"
#include "platform/framework/dialog.h"
#include "platform/windows/backend.h"
#include "platform/windows/message_pump.h"
#include "platform/windows/window_dc.h"

namespace platform {
namespace {

constexpr UINT kTextId = 0xFFFF;
constexpr UINT kTextFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_LEFT;

const wchar_t* ButtonLabel(int result) {
    switch (result) {
        case IDCANCEL:
            return L"Cancel";
        case IDYES:
            return L"Yes";
        case IDNO:
            return L"No";
        default:
            return L"OK";
    }
}

// Lengths of the box, for 96 dots per inch: room around the text and between the buttons,
// buttons a fingertip can hit, and a width that stays readable on a desktop screen.
struct BoxMetrics {
    int margin = ScaleForDisplay(12);
    int buttonGap = ScaleForDisplay(8);
    int buttonHeight = ScaleForDisplay(40);
    int buttonMinWidth = ScaleForDisplay(88);
    int buttonPadding = ScaleForDisplay(16);
    int screenMargin = ScaleForDisplay(8);
    int narrowestClient = ScaleForDisplay(200);
    int widestClient = ScaleForDisplay(560);
};

CSize MeasureText(CDC& dc, const std::wstring& text, UINT format, int width) {
    CRect bounds(0, 0, std::max(1, width), 0);
    dc.DrawText(text, &bounds, format | DT_CALCRECT);
    return CSize(bounds.Width(), bounds.Height());
}

class CMessageBoxDialog : public CDialog {
  public:
    CMessageBoxDialog(HWND owner, std::wstring text, std::wstring caption, UINT type)
        : CDialog(BoxTemplate(std::move(caption)), owner),
          owner_(owner),
          text_(std::move(text)),
          type_(type),
          buttons_(ButtonsForMessageBoxType(type)) {}

  protected:
    BOOL OnInitDialog() override {
        message_.Create(text_.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, CRect(), this, kTextId);
        for (std::size_t index = 0; index < buttons_.results.size(); ++index) {
            const int result = buttons_.results[index];
            auto button = std::make_unique<CButton>();
            button->Create(ButtonLabel(result), WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(), this,
                           static_cast<UINT>(result));
            buttonWindows_.push_back(std::move(button));
        }
        HFONT font = ControlFont(m_hWnd);
        for (CWnd* child : Children())
            child->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font));
        LayOut();
        FocusButton(buttons_.defaultIndex);
        if (const std::optional<int> answer =
                CurrentBackend()->MessageBoxOpened(m_hWnd, text_, GetWindowText(), type_)) {
            EndDialog(*answer);
        }
        return FALSE;  // the focus is set
    }

    BOOL OnCommand(WPARAM wParam, LPARAM /*lParam*/) override {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) != BN_CLICKED || !IsButton(id)) return FALSE;
        EndDialog(id);
        return TRUE;
    }

    BOOL PreTranslateMessage(MSG* message) override {
        if (message->message != WM_KEYDOWN) return CDialog::PreTranslateMessage(message);
        switch (message->wParam) {
            case VK_RETURN:
                EndDialog(buttons_.results[static_cast<std::size_t>(FocusedButton())]);
                return TRUE;
            case VK_ESCAPE:
                EndDialog(buttons_.escapeResult);
                return TRUE;
            case VK_LEFT:
            case VK_UP:
                FocusButton(FocusedButton() - 1);
                return TRUE;
            case VK_RIGHT:
            case VK_DOWN:
            case VK_TAB:
                FocusButton(FocusedButton() + 1);
                return TRUE;
            default:
                return CDialog::PreTranslateMessage(message);
        }
    }

    // Closing the box (the window system or the session asks) answers as Escape does.
    void OnCancel() override { EndDialog(buttons_.escapeResult); }
    void OnOK() override { EndDialog(buttons_.results[static_cast<std::size_t>(FocusedButton())]); }

  private:
    static DialogTemplate BoxTemplate(std::wstring caption) {
        DialogTemplate boxTemplate;
        boxTemplate.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFOREGROUND | WS_VISIBLE;
        boxTemplate.exStyle = WS_EX_TOPMOST;
        boxTemplate.cx = 100;
        boxTemplate.cy = 50;
        boxTemplate.caption = std::move(caption);
        return boxTemplate;
    }

    std::vector<CWnd*> Children() {
        std::vector<CWnd*> children{&message_};
        for (auto& button : buttonWindows_) children.push_back(button.get());
        return children;
    }

    bool IsButton(int id) const {
        return std::find(buttons_.results.begin(), buttons_.results.end(), id) !=
               buttons_.results.end();
    }

    int FocusedButton() const {
        for (std::size_t index = 0; index < buttonWindows_.size(); ++index) {
            if (GetFocus() == buttonWindows_[index].get()) return static_cast<int>(index);
        }
        return buttons_.defaultIndex;
    }

    // The focused button is the default one: Enter chooses it. Moving past either end wraps.
    void FocusButton(int index) {
        const int count = static_cast<int>(buttonWindows_.size());
        index = ((index % count) + count) % count;
        for (int other = 0; other < count; ++other) {
            buttonWindows_[static_cast<std::size_t>(other)]->SetButtonStyle(
                other == index ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        }
        buttonWindows_[static_cast<std::size_t>(index)]->SetFocus();
    }

    // Sizes the box to its text within the screen, places the text and the row of buttons, and
    // centres the box on its owner (or the screen), keeping it on the screen.
    void LayOut() {
        const BoxMetrics metrics;
        const CSize screen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        CRect window;
        CRect client;
        GetWindowRect(&window);
        GetClientRect(&client);
        const CSize frame(window.Width() - client.Width(), window.Height() - client.Height());

        CClientDC dc(this);
        HGDIOBJ previousFont = dc.SelectObject(ControlFont(m_hWnd));
        int widestLabel = 0;
        for (int result : buttons_.results) {
            widestLabel =
                std::max(widestLabel, static_cast<int>(dc.GetTextExtent(ButtonLabel(result)).cx));
        }
        const int count = static_cast<int>(buttons_.results.size());
        const int maxClientWidth = std::max(
            1, std::min(screen.cx - 2 * metrics.screenMargin - frame.cx, metrics.widestClient));
        int buttonWidth = std::max(metrics.buttonMinWidth, widestLabel + 2 * metrics.buttonPadding);
        const int buttonsWidth = count * buttonWidth + (count - 1) * metrics.buttonGap;
        const CSize text = MeasureText(dc, text_, kTextFormat, maxClientWidth - 2 * metrics.margin);
        dc.SelectObject(previousFont);

        const int clientWidth = std::min(
            maxClientWidth, std::max({static_cast<int>(text.cx) + 2 * metrics.margin,
                                      buttonsWidth + 2 * metrics.margin, metrics.narrowestClient}));
        // On a very narrow screen the buttons share what there is.
        buttonWidth = std::min(
            buttonWidth,
            std::max(1,
                     (clientWidth - 2 * metrics.margin - (count - 1) * metrics.buttonGap) / count));
        const int maxClientHeight = std::max(1, screen.cy - 2 * metrics.screenMargin - frame.cy);
        const int buttonHeight = std::min(metrics.buttonHeight, maxClientHeight);
        const int textHeight =
            std::clamp(static_cast<int>(text.cy), 0,
                       std::max(0, maxClientHeight - 3 * metrics.margin - buttonHeight));
        const int clientHeight =
            std::min(maxClientHeight, textHeight + buttonHeight + 3 * metrics.margin);

        message_.MoveWindow(metrics.margin, metrics.margin, clientWidth - 2 * metrics.margin,
                            textHeight);
        const int rowWidth = count * buttonWidth + (count - 1) * metrics.buttonGap;
        int x = (clientWidth - rowWidth) / 2;
        const int y = clientHeight - metrics.margin - buttonHeight;
        for (auto& button : buttonWindows_) {
            button->MoveWindow(x, std::max(0, y), buttonWidth, buttonHeight);
            x += buttonWidth + metrics.buttonGap;
        }

        const CSize size(clientWidth + frame.cx, clientHeight + frame.cy);
        CRect around(0, 0, screen.cx, screen.cy);
        if (owner_ != nullptr && ::IsWindowVisible(owner_)) ::GetWindowRect(owner_, &around);
        const int left = std::clamp(around.left + (around.Width() - size.cx) / 2, 0,
                                    std::max(0, screen.cx - size.cx));
        const int top = std::clamp(around.top + (around.Height() - size.cy) / 2, 0,
                                   std::max(0, screen.cy - size.cy));
        MoveWindow(left, top, size.cx, size.cy);
    }

    HWND owner_;
    std::wstring text_;
    UINT type_;
    MessageBoxButtonSet buttons_;
    CStatic message_;
    std::vector<std::unique_ptr<CButton>> buttonWindows_;
};

// A box belongs to the top-level window of the window that asked for it.
HWND TopLevelOwner(HWND owner) {
    if (owner == nullptr || !::IsWindow(owner)) return nullptr;
    while ((::GetWindowLong(owner, GWL_STYLE) & WS_CHILD) != 0 && ::GetParent(owner) != nullptr) {
        owner = ::GetParent(owner);
    }
    return owner;
}

}  // namespace

MessageBoxButtonSet ButtonsForMessageBoxType(UINT type) {
    MessageBoxButtonSet set;
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            set.results = {IDOK, IDCANCEL};
            set.escapeResult = IDCANCEL;
            break;
        case MB_YESNOCANCEL:
            set.results = {IDYES, IDNO, IDCANCEL};
            set.escapeResult = IDCANCEL;
            break;
        case MB_YESNO:
            set.results = {IDYES, IDNO};
            set.escapeResult = IDNO;
            break;
        default:
            set.results = {IDOK};
            set.escapeResult = IDOK;
            break;
    }
    const int requested = static_cast<int>((type & MB_DEFMASK) >> 8);
    set.defaultIndex = std::min(requested, static_cast<int>(set.results.size()) - 1);
    return set;
}

int RunMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    const MessageBoxButtonSet buttons = ButtonsForMessageBoxType(type);
    // A program that is ending asks nothing more of its user.
    if (IsQuitPosted()) return buttons.escapeResult;
    Backend* backend = CurrentBackend();
    if (!backend->CanShowWindows()) {
        std::fprintf(stderr, "%s: %s\n", Utf8FromWide(caption).c_str(), Utf8FromWide(text).c_str());
        return buttons.escapeResult;
    }
    CMessageBoxDialog box(TopLevelOwner(owner), text, caption, type);
    const INT_PTR result = box.DoModal();
    return result > 0 ? static_cast<int>(result) : buttons.escapeResult;
}

}  // namespace platform

int MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    return platform::RunMessageBox(owner, text != nullptr ? text : L"",
                                   caption != nullptr ? caption : L"Error", type);
}
