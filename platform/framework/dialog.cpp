#include "platform/framework/dialog.h"

#include <algorithm>

#include "platform/base/handheld_screen.h"
#include "platform/base/system_metrics.h"
#include "platform/graphics/gdi_objects.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/message_pump.h"
#include "platform/windows/window_dc.h"

namespace {

const wchar_t* DialogClassName() {
    static const wchar_t* className = [] {
        // A face-coloured background that lives as long as the class.
        static CBrush background(GetSysColor(COLOR_BTNFACE));
        return AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                   static_cast<HBRUSH>(background), nullptr);
    }();
    return className;
}

// Dialog units to pixels: a horizontal unit is a quarter of the font's average character width,
// a vertical unit an eighth of its height.
SIZE DialogBaseUnits(HFONT font) {
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ previous = ::SelectObject(screen, font);
    TEXTMETRIC metrics{};
    ::GetTextMetrics(screen, &metrics);
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);
    return SIZE{std::max<LONG>(1, metrics.tmAveCharWidth), std::max<LONG>(1, metrics.tmHeight)};
}

}  // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_MESSAGE(WM_DISPLAYCHANGE, OnDisplayChange)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_WM_CLOSE()
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}

CDialog::CDialog(platform::DialogTemplate indirectTemplate, HWND owner)
    : indirectTemplate_(std::move(indirectTemplate)), indirectOwner_(owner) {}

CDialog::~CDialog() = default;

const platform::DialogTemplate* CDialog::Template() const {
    return indirectTemplate_ ? &*indirectTemplate_ : platform::FindDialogTemplate(templateId_);
}

HWND CDialog::ModalOwner() const {
    if (indirectTemplate_) return indirectOwner_;
    return parent_ != nullptr ? parent_->m_hWnd : ::GetActiveWindow();
}

INT_PTR CDialog::DoModal() {
    const platform::DialogTemplate* dialogTemplate = Template();
    if (dialogTemplate == nullptr) return -1;

    LOGFONT logFont{};
    ::GetObject(platform::DefaultFont(), sizeof(logFont), &logFont);
    if ((dialogTemplate->style & DS_SETFONT) != 0) {
        logFont.lfHeight = -platform::ScaleForDisplay(dialogTemplate->fontPointSize * 96 / 72);
    }
    dialogFont_.CreateFontIndirect(&logFont);
    const SIZE units = DialogBaseUnits(dialogFont_);

    HWND owner = ModalOwner();
    const bool ownerWasEnabled = owner != nullptr && ::IsWindowEnabled(owner);
    if (ownerWasEnabled) ::EnableWindow(owner, FALSE);

    continueModal_ = true;
    result_ = -1;
    const BOOL created =
        CreateEx(dialogTemplate->exStyle, DialogClassName(), dialogTemplate->caption.c_str(),
                 dialogTemplate->style & ~WS_VISIBLE, dialogTemplate->x * units.cx / 4,
                 dialogTemplate->y * units.cy / 8, dialogTemplate->cx * units.cx / 4,
                 dialogTemplate->cy * units.cy / 8, owner, nullptr);
    if (created) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont_.GetSafeHandle()), FALSE);
        SendMessage(WM_INITDIALOG, 0, 0);
        // A dialog ended while it was being set up never shows, nor one whose program is
        // ending.
        if (continueModal_ && m_hWnd != nullptr && !platform::IsQuitPosted()) {
            if ((dialogTemplate->style & WS_VISIBLE) != 0) ShowWindow(SW_SHOW);
            // A modal dialog takes the stylus: a press held elsewhere (the tap that opened it)
            // must not keep its capture and swallow the dialog's own taps.
            if (::GetCapture() != nullptr && !::IsChild(m_hWnd, ::GetCapture())) ::ReleaseCapture();
            while (continueModal_ && m_hWnd != nullptr) {
                if (!platform::PumpOneMessage()) {
                    ::PostQuitMessage(0);  // leave the quit for the loop outside
                    break;
                }
            }
        }
    }
    if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
    if (m_hWnd != nullptr) {
        ShowWindow(SW_HIDE);
        DestroyWindow();
    }
    if (owner != nullptr && ::IsWindow(owner)) ::SetActiveWindow(owner);
    dialogFont_.DeleteObject();
    return created ? result_ : -1;
}

LRESULT CDialog::HandleInitDialog(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (OnInitDialog()) {
        // Focus to the first control that takes it, as the dialog manager does.
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            const DWORD style = static_cast<DWORD>(::GetWindowLong(child, GWL_STYLE));
            if ((style & WS_TABSTOP) != 0 && (style & WS_VISIBLE) != 0 &&
                (style & WS_DISABLED) == 0) {
                ::SetFocus(child);
                break;
            }
        }
    }
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    if (m_bFullScreen) {
        PlaceOnHandheldScreen();
        placedOnHandheldScreen_ = true;
    }
    return TRUE;
}

void CDialog::PlaceOnHandheldScreen() {
    const RECT screen = platform::HandheldScreenRect();
    MoveWindow(screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top,
               TRUE);
}

LRESULT CDialog::OnDisplayChange(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (placedOnHandheldScreen_) PlaceOnHandheldScreen();
    return 0;
}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnClose() { OnCancel(); }

void CDialog::EndDialog(int result) {
    // The first end decides; closing the window afterwards may ask again (deactivation).
    if (!continueModal_) return;
    result_ = result;
    continueModal_ = false;
    // Wakes the modal loop if it is waiting: the end may come from input handled inside a wait.
    if (m_hWnd != nullptr) PostMessage(WM_NULL);
}

BOOL CDialog::PreTranslateMessage(MSG* message) {
    // The dialog keys: Escape cancels, Enter is the default OK.
    if (message->message == WM_KEYDOWN &&
        (message->hwnd == m_hWnd || ::IsChild(m_hWnd, message->hwnd))) {
        if (message->wParam == VK_ESCAPE) {
            SendMessage(WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
        if (message->wParam == VK_RETURN) {
            SendMessage(WM_COMMAND, IDOK, 0);
            return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(message);
}
