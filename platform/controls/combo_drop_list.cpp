#include "platform/controls/combo_drop_list.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/base/system_metrics.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/control_drawing.h"
#include "platform/controls/drop_list_placement.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"

namespace platform {

int ComboListRowHeight() { return std::max(ComboBoxClosedHeight(), ScaleForDisplay(32)); }

}  // namespace platform

namespace {

constexpr UINT_PTR kGlideTimer = 1;
constexpr UINT kGlideTickMs = 20;
// A release this long after the last move is a finger that came to rest: no glide.
constexpr DWORD kRestMs = 100;

int DragThreshold() { return platform::ScaleForDisplay(8); }
int GlideMinimumSpeed() { return platform::ScaleForDisplay(200); }  // pixels per second
int ScrollIndicationWidth() { return platform::ScaleForDisplay(3); }

HWND TopLevelWindowOf(HWND hwnd) {
    while (hwnd != nullptr && (::GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD) != 0) {
        hwnd = ::GetParent(hwnd);
    }
    return hwnd;
}

// A window's rectangle in the client coordinates of another window.
CRect RectInClientOf(HWND hwnd, HWND other) {
    CRect rect;
    ::GetWindowRect(hwnd, &rect);
    POINT topLeft{rect.left, rect.top};
    ::ScreenToClient(other, &topLeft);
    rect.OffsetRect(topLeft.x - rect.left, topLeft.y - rect.top);
    return rect;
}

}  // namespace

IMPLEMENT_DYNAMIC(CComboDropList, CWnd)

BEGIN_MESSAGE_MAP(CComboDropList, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_TIMER()
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
END_MESSAGE_MAP()

CComboDropList::CComboDropList(CComboBox& owner) : owner_(owner) {}

CComboDropList::~CComboDropList() = default;

bool CComboDropList::Open(int reach, int current, bool pressHeld) {
    if (IsOpen()) return true;
    static const wchar_t* className =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    const HWND topLevel = TopLevelWindowOf(owner_.m_hWnd);
    if (topLevel == nullptr || topLevel == owner_.m_hWnd) return false;

    rowHeight_ = platform::ComboListRowHeight();
    platform::DropListRequest request;
    request.box = RectInClientOf(owner_.m_hWnd, topLevel);
    request.reach = reach;
    request.rowHeight = rowHeight_;
    request.rowCount = EntryCount();
    ::GetClientRect(topLevel, &request.area);
    const CRect rect = platform::PlaceDropList(request).rect;

    current_ = current;
    scrollOffset_ = 0;
    press_ = pressHeld ? Press::Opening : Press::None;
    pressedEntry_ = -1;
    flickSpeed_ = 0;
    glideSpeed_ = 0;
    if (!CreateEx(0, className, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.Width(),
                  rect.Height(), topLevel, nullptr)) {
        return false;
    }
    ScrollIntoView(current_);
    SetCapture();
    return true;
}

void CComboDropList::Close() {
    press_ = Press::None;
    // Its timer and its hold on the stylus go with the window.
    if (m_hWnd != nullptr) DestroyWindow();
}

void CComboDropList::SetCurrent(int index) {
    current_ = index >= 0 && index < EntryCount() ? index : -1;
    ScrollIntoView(current_);
    Invalidate(FALSE);
}

void CComboDropList::MoveCurrent(int step) {
    const int count = EntryCount();
    if (count == 0) return;
    // From no highlight, either key starts at the first entry.
    SetCurrent(current_ < 0 ? 0 : std::clamp(current_ + step, 0, count - 1));
}

void CComboDropList::EntriesChanged() {
    if (current_ >= EntryCount()) current_ = -1;
    if (pressedEntry_ >= EntryCount()) pressedEntry_ = -1;
    ScrollTo(scrollOffset_);
    Invalidate(FALSE);
}

CRect CComboDropList::RowsArea() const {
    CRect client;
    GetClientRect(&client);
    client.DeflateRect(platform::kDropListFrame, platform::kDropListFrame);
    if (client.bottom < client.top) client.bottom = client.top;
    return client;
}

int CComboDropList::EntryCount() const { return owner_.GetCount(); }

int CComboDropList::EntryAt(CPoint point) const {
    const CRect rows = RowsArea();
    if (!rows.PtInRect(point)) return -1;
    const int entry = (point.y - rows.top + scrollOffset_) / rowHeight_;
    return entry < EntryCount() ? entry : -1;
}

int CComboDropList::MaxScrollOffset() const {
    return std::max(0, EntryCount() * rowHeight_ - RowsArea().Height());
}

void CComboDropList::ScrollTo(int offset) {
    const int clamped = std::clamp(offset, 0, MaxScrollOffset());
    if (clamped == scrollOffset_) return;
    scrollOffset_ = clamped;
    Invalidate(FALSE);
}

void CComboDropList::ScrollIntoView(int index) {
    if (index < 0) return;
    const int top = index * rowHeight_;
    const int visible = RowsArea().Height();
    if (top < scrollOffset_) {
        ScrollTo(top);
    } else if (top + rowHeight_ > scrollOffset_ + visible) {
        ScrollTo(top + rowHeight_ - visible);
    }
}

void CComboDropList::StopGlide() {
    if (glideSpeed_ == 0) return;
    glideSpeed_ = 0;
    KillTimer(kGlideTimer);
}

int CComboDropList::HighlightedEntry() const {
    return press_ == Press::Tap || (press_ == Press::Opening && pressedEntry_ >= 0) ? pressedEntry_
                                                                                    : current_;
}

void CComboDropList::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const CRect rows = RowsArea();
    dc.FillSolidRect(&rows, GetSysColor(COLOR_WINDOW));

    HGDIOBJ previousFont = dc.SelectObject(platform::ControlFont(owner_.m_hWnd));
    const int previousMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF previousColor = dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    const int highlighted = HighlightedEntry();
    const int indication = MaxScrollOffset() > 0 ? ScrollIndicationWidth() : 0;
    std::wstring text;
    for (int entry = scrollOffset_ / rowHeight_; entry < EntryCount(); ++entry) {
        const CRect row(rows.left, rows.top + entry * rowHeight_ - scrollOffset_, rows.right,
                        rows.top + (entry + 1) * rowHeight_ - scrollOffset_);
        if (row.top >= rows.bottom) break;
        CRect shown;
        shown.IntersectRect(&row, &rows);
        const bool marked = entry == highlighted;
        dc.FillSolidRect(&shown, GetSysColor(marked ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        dc.SetTextColor(GetSysColor(marked ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        CRect textRect = row;
        textRect.DeflateRect(platform::ScaleForDisplay(4), 0);
        textRect.right -= indication;
        owner_.GetLBText(entry, text);
        dc.DrawText(text, &textRect, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    dc.SetTextColor(previousColor);
    dc.SetBkMode(previousMode);
    dc.SelectObject(previousFont);

    DrawScrollIndication(dc, rows);
    // Last, over any text of a row cut by the frame.
    platform::DrawControlFrame(dc, client, platform::kDropListFrame,
                               GetSysColor(COLOR_WINDOWFRAME));
}

void CComboDropList::DrawScrollIndication(CDC& dc, const CRect& rows) const {
    const int content = EntryCount() * rowHeight_;
    const int visible = rows.Height();
    if (content <= visible || visible <= 0) return;
    // A thumb whose length and place show which part of the entries is in view.
    const int length = std::max(platform::ScaleForDisplay(8), visible * visible / content);
    const int travel = std::max(0, visible - length);
    const int top = rows.top + scrollOffset_ * travel / (content - visible);
    const CRect thumb(rows.right - ScrollIndicationWidth(), top, rows.right,
                      std::min(rows.bottom, top + length));
    dc.FillSolidRect(&thumb, GetSysColor(COLOR_BTNSHADOW));
}

void CComboDropList::OnLButtonDown(UINT /*flags*/, CPoint point) {
    if (!RowsArea().PtInRect(point)) {
        CRect client;
        GetClientRect(&client);
        // The frame belongs to the list; anywhere else (the box included) dismisses it.
        if (client.PtInRect(point)) return;
        owner_.DismissFromList();  // takes the list down: nothing after this
        return;
    }
    const bool gliding = glideSpeed_ != 0;
    StopGlide();
    press_ = gliding ? Press::Stopped : Press::Tap;
    pressedEntry_ = gliding ? -1 : EntryAt(point);
    pressY_ = lastY_ = point.y;
    pressOffset_ = scrollOffset_;
    lastMoveTime_ = ::GetTickCount();
    flickSpeed_ = 0;
    Invalidate(FALSE);
}

void CComboDropList::OnMouseMove(UINT /*flags*/, CPoint point) {
    if (press_ == Press::Opening) {
        // Sliding from the box into the list points at the entry that its release will choose.
        const int entry = EntryAt(point);
        if (entry != pressedEntry_) {
            pressedEntry_ = entry;
            Invalidate(FALSE);
        }
        return;
    }
    if (press_ == Press::None) return;
    if (press_ != Press::Drag && std::abs(point.y - pressY_) >= DragThreshold()) {
        press_ = Press::Drag;
        pressedEntry_ = -1;
        Invalidate(FALSE);
    }
    if (press_ != Press::Drag) return;
    const DWORD now = ::GetTickCount();
    if (now != lastMoveTime_) {
        flickSpeed_ = (lastY_ - point.y) * 1000 / static_cast<int>(now - lastMoveTime_);
    }
    lastY_ = point.y;
    lastMoveTime_ = now;
    ScrollTo(pressOffset_ - (point.y - pressY_));
}

void CComboDropList::OnLButtonUp(UINT /*flags*/, CPoint point) {
    const Press press = press_;
    press_ = Press::None;
    if (press == Press::Drag) {
        // A quick drag lets the entries glide on; a finger that came to rest stops them.
        const bool rested = ::GetTickCount() - lastMoveTime_ > kRestMs;
        if (!rested && std::abs(flickSpeed_) >= GlideMinimumSpeed()) {
            glideSpeed_ = flickSpeed_;
            SetTimer(kGlideTimer, kGlideTickMs, nullptr);
        }
        return;
    }
    const int entry = EntryAt(point);
    if ((press == Press::Tap || press == Press::Opening) && entry >= 0) {
        owner_.ChooseFromList(entry);  // takes the list down: nothing after this
        return;
    }
    pressedEntry_ = -1;
    Invalidate(FALSE);
}

void CComboDropList::OnTimer(UINT_PTR id) {
    if (id != kGlideTimer) {
        Default();
        return;
    }
    const int before = scrollOffset_;
    const int step = glideSpeed_ * static_cast<int>(kGlideTickMs) / 1000;
    ScrollTo(scrollOffset_ + step);
    glideSpeed_ = glideSpeed_ * 7 / 8;
    if (step == 0 || scrollOffset_ == before) StopGlide();
}

LRESULT CComboDropList::OnCaptureChanged(WPARAM /*wParam*/, LPARAM lParam) {
    // Someone else took the stylus (a message box, say): the list closes without a choice. The
    // box takes it only to end the press that dismissed the list.
    const auto* const taker = reinterpret_cast<const HWND__*>(lParam);
    if (IsOpen() && taker != m_hWnd && taker != owner_.m_hWnd) owner_.CancelFromList();
    return 0;
}
