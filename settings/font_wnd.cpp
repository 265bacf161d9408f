#include "settings/font_wnd.h"

#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"
#include "settings/font_description.h"
#include "settings/tree_drawing.h"

namespace {

// The sample's text, as the preview shows it.
constexpr wchar_t kSample[] = L"test frase";
constexpr int kSampleLength = 10;

// The size box's text before the working size replaces it.
constexpr wchar_t kInitialSize[] = L"16";

// Appends each family's name to the list and always asks for the next one.
int AddFamilyToList(const LOGFONT* logFont, const TEXTMETRIC* /*metrics*/, DWORD /*fontType*/,
                    LPARAM data) {
    reinterpret_cast<CComboBox*>(data)->AddString(logFont->lfFaceName);
    return 1;
}

}  // namespace

IMPLEMENT_DYNAMIC(CFontWnd, CWnd)

BEGIN_MESSAGE_MAP(CFontWnd, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CFontWnd::CFontWnd() = default;

CFontWnd::~CFontWnd() {
    // Here, and not in the base destructor: the children are members and would be gone by then.
    if (m_hWnd != nullptr) DestroyWindow();
}

BOOL CFontWnd::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    static const wchar_t* className = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW);
    return CWnd::Create(className, L"", style, rect, parent, id);
}

int CFontWnd::OnCreate(LPCREATESTRUCT createStruct) {
    if (CWnd::OnCreate(createStruct) == -1) return -1;
    // A list taken down with the window last time sent no close-up.
    listOpen = false;
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    CreateChildren(client.Width(), client.Height());
    ShowWorkingCopy();
    if (CWnd* focused = GetDlgItem(focusedControl)) focused->SetFocus();
    return 0;
}

void CFontWnd::CreateChildren(int width, int height) {
    const int r = height / 5;
    const int half = width / 2;
    // The list's height includes its dropped part.
    fontList.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST,
                    CRect(1, 1, width - 1, height), this, kFontListId);
    FillFontList();
    CRect closedList(0, 0, 0, 0);
    fontList.GetWindowRect(&closedList);
    const int k = closedList.Height();

    sizeLabel.Create(L"text size:", WS_CHILD | WS_VISIBLE, CRect(1, k + 2, half, k + 2 + r), this,
                     kSizeLabelId);
    sizeBox.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL,
                   CRect(half, k + 2, width - 1, k + 2 + r), this, kSizeBoxId);
    sizeBox.SetWindowText(kInitialSize);
    boldBox.Create(L"Bold", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                   CRect(1, k + 3 + r, half, k + 3 + 2 * r), this, kBoldBoxId);
    italicBox.Create(L"Italic", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                     CRect(half, k + 3 + r, width - 1, k + 3 + 2 * r), this, kItalicBoxId);
    previewRect = CRect(1, k + 4 + 2 * r, width - 2, height - 2);
}

void CFontWnd::FillFontList() {
    CClientDC dc(this);
    EnumFontFamilies(dc, nullptr, AddFamilyToList, reinterpret_cast<LPARAM>(&fontList));
    fontList.SetCurSel(0);
}

void CFontWnd::ShowWorkingCopy() {
    boldBox.SetCheck(bold ? BST_CHECKED : BST_UNCHECKED);
    italicBox.SetCheck(italic ? BST_CHECKED : BST_UNCHECKED);
    // The first family that begins with the name; with none, the first entry stays selected.
    fontList.SelectString(-1, name.c_str());
    sizeBox.SetWindowText(std::to_wstring(size).c_str());
}

void CFontWnd::OnDestroy() {
    bold = boldBox.GetCheck() == BST_CHECKED;
    italic = italicBox.GetCheck() == BST_CHECKED;
    name = fontList.GetWindowText();
    size = settings::ParseFontSize(sizeBox.GetWindowText());
    CWnd::OnDestroy();
}

void CFontWnd::OnPaint() {
    CPaintDC dc(this);
    CDC memoryDC;
    if (!memoryDC.CreateCompatibleDC(&dc)) return;
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(dc, client.Width(), client.Height())) return;
    HBITMAP previousBitmap = memoryDC.SelectObject(&bitmap);

    settings::FillWithSysColor(memoryDC, client, COLOR_APPWORKSPACE);
    {
        CPen black(PS_SOLID, 1, RGB(0, 0, 0));
        if (black.GetSafeHandle() != nullptr) {
            HPEN previousPen = memoryDC.SelectObject(&black);
            const CRect& frame = previewRect;
            memoryDC.MoveTo(frame.left, frame.top);
            memoryDC.LineTo(frame.right, frame.top);
            memoryDC.LineTo(frame.right, frame.bottom);
            memoryDC.LineTo(frame.left, frame.bottom);
            memoryDC.LineTo(frame.left, frame.top);
            memoryDC.SelectObject(previousPen);
        }
    }
    DrawSample(memoryDC);

    dc.BitBlt(0, 0, client.Width(), client.Height(), &memoryDC, 0, 0, SRCCOPY);
    memoryDC.SelectObject(previousBitmap);
}

void CFontWnd::DrawSample(CDC& dc) {
    const std::wstring face = fontList.GetWindowText();
    if (face.empty()) return;
    const LOGFONT logFont = settings::FontDescription(
        face, settings::ParseFontSize(sizeBox.GetWindowText()), boldBox.GetCheck() == BST_CHECKED,
        italicBox.GetCheck() == BST_CHECKED);
    // A height the platform cannot make a font of draws no sample.
    CFont font;
    if (!font.CreateFontIndirect(&logFont)) return;
    HFONT previousFont = dc.SelectObject(&font);
    CRect area(previewRect.left + 1, previewRect.top + 1, previewRect.right - 2,
               previewRect.bottom);
    dc.DrawText(kSample, kSampleLength, &area, DT_SINGLELINE | DT_VCENTER);
    dc.SelectObject(previousFont);
}

LRESULT CFontWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const UINT code = HIWORD(wParam);
        const UINT id = LOWORD(wParam);
        if (id == kFontListId && code == CBN_SELENDOK) {
            Invalidate(TRUE);
        } else if (id == kSizeBoxId && code == EN_CHANGE) {
            Invalidate(TRUE);
        } else if ((id == kBoldBoxId || id == kItalicBoxId) && code == BN_CLICKED) {
            Invalidate(TRUE);
        } else if (id == kFontListId && code == CBN_DROPDOWN) {
            listOpen = true;
        } else if (id == kFontListId && code == CBN_CLOSEUP) {
            listOpen = false;
        }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CFontWnd::PreTranslateMessage(MSG* message) {
    if (message->message == WM_KEYDOWN &&
        (message->wParam == VK_UP || message->wParam == VK_DOWN)) {
        const HWND focus = ::GetFocus();
        const bool ours = focus != nullptr && (focus == m_hWnd || ::GetParent(focus) == m_hWnd);
        // An open list moves its own selection.
        const bool listMoves = focus == fontList.m_hWnd && listOpen;
        if (ours && !listMoves) {
            StepFocus(message->wParam == VK_UP ? -1 : 1);
            return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(message);
}

void CFontWnd::StepFocus(int step) {
    focusedControl += step;
    if (focusedControl < static_cast<int>(kFontListId)) focusedControl = kItalicBoxId;
    if (focusedControl > static_cast<int>(kItalicBoxId)) focusedControl = kFontListId;
    if (CWnd* control = GetDlgItem(focusedControl)) control->SetFocus();
}
