#include "settings/color_wnd.h"

#include <cwchar>
#include <string>

#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"
#include "settings/tree_drawing.h"

namespace {

constexpr int kComponents = 3;
// Up to this many characters of a box are read as its number.
constexpr std::size_t kMaxBoxDigits = 9;

// The first characters of `text` as a decimal number; 0 when they are no number.
int NumberOf(const std::wstring& text) {
    const std::wstring digits = text.substr(0, kMaxBoxDigits);
    // Nine digits stay below the int's end, so the conversion cannot overflow.
    return static_cast<int>(std::wcstol(digits.c_str(), nullptr, 10));
}

}  // namespace

IMPLEMENT_DYNAMIC(CColorWnd, CWnd)

BEGIN_MESSAGE_MAP(CColorWnd, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
END_MESSAGE_MAP()

COLORREF CColorWnd::ColorOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) |
           (static_cast<COLORREF>(blue) << 16);
}

CColorWnd::CColorWnd() = default;

CColorWnd::~CColorWnd() { DestroyWindow(); }

BOOL CColorWnd::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, std::uint8_t red,
                       std::uint8_t green, std::uint8_t blue) {
    static const wchar_t* className = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW);
    this->red = red;
    this->green = green;
    this->blue = blue;
    return CWnd::Create(className, L"", style, rect, parent, id);
}

std::uint8_t& CColorWnd::Component(int index) {
    if (index == 0) return red;
    if (index == 1) return green;
    return blue;
}

CSliderCtrl& CColorWnd::Slider(int index) {
    if (index == 0) return redSlider;
    if (index == 1) return greenSlider;
    return blueSlider;
}

CEdit& CColorWnd::Box(int index) {
    if (index == 0) return redBox;
    if (index == 1) return greenBox;
    return blueBox;
}

int CColorWnd::SliderIndex(LPARAM sender) const {
    if (sender == 0) return -1;
    for (int index = 0; index < kComponents; ++index) {
        const CSliderCtrl& slider = index == 0 ? redSlider : index == 1 ? greenSlider : blueSlider;
        if (reinterpret_cast<LPARAM>(slider.m_hWnd) == sender) return index;
    }
    return -1;
}

int CColorWnd::BoxIndex(LPARAM sender) const {
    if (sender == 0) return -1;
    for (int index = 0; index < kComponents; ++index) {
        const CEdit& box = index == 0 ? redBox : index == 1 ? greenBox : blueBox;
        if (reinterpret_cast<LPARAM>(box.m_hWnd) == sender) return index;
    }
    return -1;
}

int CColorWnd::OnCreate(LPCREATESTRUCT createStruct) {
    if (CWnd::OnCreate(createStruct) == -1) return -1;
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    const int L = client.left, T = client.top, R = client.right;
    // Three rows of a quarter of the height each; the fourth quarter is the preview's.
    const int q = client.Height() / 4;
    const int sliderRight = L + 2 * (client.Width() / 3);
    for (int index = 0; index < kComponents; ++index) {
        const int y = T + index * q;
        CSliderCtrl& slider = Slider(index);
        slider.Create(WS_CHILD | WS_VISIBLE, CRect(L, y, sliderRight, y + q), this,
                      kRedSliderId + index);
        slider.SetRange(0, 255, FALSE);
        slider.SetPos(Component(index));
        CEdit& box = Box(index);
        box.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL,
                   CRect(sliderRight + 2, y + 1, R - 2, y + q - 2), this, kRedBoxId + index);
        box.SetWindowText(std::to_wstring(Component(index)).c_str());
    }
    redSlider.SetFocus();
    return 0;
}

CRect CColorWnd::PreviewRect() const {
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    const int q = client.Height() / 4;
    return {client.left, 3 * q + 1, client.right, 4 * q + 1};
}

void CColorWnd::OnPaint() {
    CPaintDC dc(this);
    CDC memoryDC;
    if (!memoryDC.CreateCompatibleDC(&dc)) return;
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(dc, client.Width(), client.Height())) return;
    HBITMAP previousBitmap = memoryDC.SelectObject(&bitmap);

    settings::FillWithSysColor(memoryDC, client, COLOR_APPWORKSPACE);
    const CRect preview = PreviewRect();
    CBrush brush;
    if (brush.CreateSolidBrush(ColorOf(red, green, blue))) memoryDC.FillRect(&preview, &brush);

    const int q = client.Height() / 4;
    dc.BitBlt(0, 0, client.right, 4 * q + 1, &memoryDC, 0, 0, SRCCOPY);
    memoryDC.SelectObject(previousBitmap);
}

void CColorWnd::TakeBoxValue(int index) {
    // The box keeps showing what was typed; the colour takes the number's low 8 bits.
    const auto component = static_cast<std::uint8_t>(NumberOf(Box(index).GetWindowText()) & 0xFF);
    Component(index) = component;
    Slider(index).SetPos(component);  // sends nothing back, so nothing echoes
    const CRect preview = PreviewRect();
    InvalidateRect(&preview, FALSE);
}

void CColorWnd::TakeSliderValue(int index) {
    const auto component = static_cast<std::uint8_t>(Slider(index).GetPos() & 0xFF);
    Component(index) = component;
    // The box tells back with EN_CHANGE, which sets the slider to the same value.
    Box(index).SetWindowText(std::to_wstring(component).c_str());
    const CRect preview = PreviewRect();
    InvalidateRect(&preview, TRUE);
}

LRESULT CColorWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        const int index = BoxIndex(lParam);
        if (index != -1 && LOWORD(wParam) == kRedBoxId + index) TakeBoxValue(index);
    } else if (message == WM_HSCROLL) {
        const int index = SliderIndex(lParam);
        if (index != -1) TakeSliderValue(index);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CColorWnd::FocusCounted() {
    if (CWnd* child = GetDlgItem(focusedControl)) child->SetFocus();
}

BOOL CColorWnd::PreTranslateMessage(MSG* message) {
    if (message->message == WM_KEYDOWN && m_hWnd != nullptr) {
        HWND focus = ::GetFocus();
        const bool ours = focus != nullptr && (focus == m_hWnd || ::GetParent(focus) == m_hWnd);
        if (ours) {
            switch (message->wParam) {
                case VK_RETURN:
                    if (CWnd* parent = GetParent()) parent->SetFocus();
                    return TRUE;
                case VK_UP:
                    focusedControl =
                        focusedControl - 1 < kRedSliderId ? kBlueBoxId : focusedControl - 1;
                    FocusCounted();
                    return TRUE;
                case VK_DOWN:
                    focusedControl =
                        focusedControl + 1 > kBlueBoxId ? kRedSliderId : focusedControl + 1;
                    FocusCounted();
                    return TRUE;
                default:
                    break;
            }
        }
    }
    return CWnd::PreTranslateMessage(message);
}
