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
// Left-aligned, wrapped at words, and long paths broken where they must be.
constexpr UINT kTextFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;

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
    CMessageBoxDialog(HWND owner, std::wstring text, std::wstring caption, UINT type,
                      std::vector<std::wstring> labels)
        : CDialog(BoxTemplate(std::move(caption)), owner),
          owner_(owner),
          text_(std::move(text)),
          type_(type),
          buttons_(ButtonsForMessageBoxType(type)),
          labels_(std::move(labels)) {}

  protected:
    BOOL OnInitDialog() override {
        message_.Create(text_.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, CRect(0, 0, 0, 0), this,
                        kTextId);
        const auto font = reinterpret_cast<WPARAM>(ControlFont(m_hWnd));
        message_.SendMessage(WM_SETFONT, font);
        for (std::size_t index = 0; index < buttons_.results.size(); ++index) {
            const int result = buttons_.results[index];
            auto button = std::make_unique<CButton>();
            button->Create(Label(index), WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 0, 0),
                           this, static_cast<UINT>(result));
            button->SendMessage(WM_SETFONT, font);
            buttonWindows_.push_back(std::move(button));
        }
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
        const CSize frame = FrameSize();
        const int count = static_cast<int>(buttonWindows_.size());
        const int widest = std::max(
            1, std::min(screen.cx - 2 * metrics.screenMargin - frame.cx, metrics.widestClient));
        const int tallest = std::max(1, screen.cy - 2 * metrics.screenMargin - frame.cy);

        int buttonWidth = 0;
        CSize text;
        {
            CClientDC dc(this);
            HGDIOBJ previousFont = dc.SelectObject(ControlFont(m_hWnd));
            buttonWidth =
                std::max(metrics.buttonMinWidth, WidestButtonLabel(dc) + 2 * metrics.buttonPadding);
            text = MeasureText(dc, text_, kTextFormat, widest - 2 * metrics.margin);
            dc.SelectObject(previousFont);
        }
        const int rowWidth = count * buttonWidth + (count - 1) * metrics.buttonGap;
        const int clientWidth =
            std::min(widest, std::max({static_cast<int>(text.cx), rowWidth,
                                       metrics.narrowestClient - 2 * metrics.margin}) +
                                 2 * metrics.margin);
        // On a very narrow screen the buttons share what there is; on a very low one the text
        // is cut rather than the buttons.
        buttonWidth = std::min(
            buttonWidth,
            std::max(1,
                     (clientWidth - 2 * metrics.margin - (count - 1) * metrics.buttonGap) / count));
        const int buttonHeight = std::min(metrics.buttonHeight, tallest);
        const int textHeight = std::clamp(static_cast<int>(text.cy), 0,
                                          std::max(0, tallest - 3 * metrics.margin - buttonHeight));
        const int clientHeight = std::min(tallest, textHeight + buttonHeight + 3 * metrics.margin);

        message_.MoveWindow(metrics.margin, metrics.margin, clientWidth - 2 * metrics.margin,
                            textHeight);
        const int buttonsLeft =
            (clientWidth - (count * buttonWidth + (count - 1) * metrics.buttonGap)) / 2;
        const int buttonsTop = std::max(0, clientHeight - metrics.margin - buttonHeight);
        for (int index = 0; index < count; ++index) {
            buttonWindows_[static_cast<std::size_t>(index)]->MoveWindow(
                buttonsLeft + index * (buttonWidth + metrics.buttonGap), buttonsTop, buttonWidth,
                buttonHeight);
        }
        PlaceOnScreen(CSize(clientWidth + frame.cx, clientHeight + frame.cy), screen);
    }

    // What the caption and borders add to the client area.
    CSize FrameSize() const {
        CRect window(0, 0, 0, 0);
        CRect client(0, 0, 0, 0);
        GetWindowRect(&window);
        GetClientRect(&client);
        return CSize(window.Width() - client.Width(), window.Height() - client.Height());
    }

    // The label of the button at `index`: the caller's, or the standard one of its result.
    const wchar_t* Label(std::size_t index) const {
        if (index < labels_.size() && !labels_[index].empty()) return labels_[index].c_str();
        return ButtonLabel(buttons_.results[index]);
    }

    int WidestButtonLabel(const CDC& dc) const {
        int widest = 0;
        for (std::size_t index = 0; index < buttons_.results.size(); ++index) {
            widest = std::max(widest, static_cast<int>(dc.GetTextExtent(Label(index)).cx));
        }
        return widest;
    }

    void PlaceOnScreen(CSize size, CSize screen) {
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
    std::vector<std::wstring> labels_;
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

int RunMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type,
                  std::vector<std::wstring> buttonLabels) {
    const MessageBoxButtonSet buttons = ButtonsForMessageBoxType(type);
    // A program that is ending asks nothing more of its user.
    if (IsQuitPosted()) return buttons.escapeResult;
    Backend* backend = CurrentBackend();
    if (!backend->CanShowWindows()) {
        std::fprintf(stderr, "%s: %s\n", Utf8FromWide(caption).c_str(), Utf8FromWide(text).c_str());
        return buttons.escapeResult;
    }
    CMessageBoxDialog box(TopLevelOwner(owner), text, caption, type, std::move(buttonLabels));
    const INT_PTR result = box.DoModal();
    return result > 0 ? static_cast<int>(result) : buttons.escapeResult;
}

}  // namespace platform

int MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    return platform::RunMessageBox(owner, text != nullptr ? text : L"",
                                   caption != nullptr ? caption : L"Error", type);
}
