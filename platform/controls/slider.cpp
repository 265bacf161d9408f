#include "platform/controls/slider.h"

#include <algorithm>
#include <utility>

#include "platform/base/system_metrics.h"
#include "platform/controls/control_drawing.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"

namespace {

constexpr UINT_PTR kPageRepeatTimer = 1;

}  // namespace

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)

BEGIN_MESSAGE_MAP(CSliderCtrl, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_TIMER()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_MESSAGE(WM_ENABLE, OnEnable)
ON_MESSAGE(TBM_GETPOS, OnGetPos)
ON_MESSAGE(TBM_GETRANGEMIN, OnGetRangeMin)
ON_MESSAGE(TBM_GETRANGEMAX, OnGetRangeMax)
ON_MESSAGE(TBM_SETPOS, OnSetPos)
ON_MESSAGE(TBM_SETRANGE, OnSetRange)
ON_MESSAGE(TBM_SETRANGEMIN, OnSetRangeMin)
ON_MESSAGE(TBM_SETRANGEMAX, OnSetRangeMax)
ON_MESSAGE(TBM_SETPAGESIZE, OnSetPageSize)
ON_MESSAGE(TBM_GETPAGESIZE, OnGetPageSize)
ON_MESSAGE(TBM_SETLINESIZE, OnSetLineSize)
ON_MESSAGE(TBM_GETLINESIZE, OnGetLineSize)
END_MESSAGE_MAP()

CSliderCtrl::CSliderCtrl() = default;

CSliderCtrl::~CSliderCtrl() = default;

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    static const wchar_t* className =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    minimum_ = 0;
    maximum_ = 100;
    position_ = 0;
    gesture_ = Gesture::None;
    keyMoved_ = false;
    return CWnd::Create(className, L"", style, rect, parent, id);
}

void CSliderCtrl::SetRange(int minimum, int maximum, BOOL redraw) {
    // Two messages rather than TBM_SETRANGE, whose 16-bit halves would cut wide ranges.
    SendMessage(TBM_SETRANGEMIN, FALSE, minimum);
    SendMessage(TBM_SETRANGEMAX, redraw, maximum);
}

void CSliderCtrl::GetRange(int& minimum, int& maximum) const {
    minimum = GetRangeMin();
    maximum = GetRangeMax();
}

int CSliderCtrl::GetRangeMin() const {
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETRANGEMIN));
}

int CSliderCtrl::GetRangeMax() const {
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETRANGEMAX));
}

void CSliderCtrl::SetPos(int position) { SendMessage(TBM_SETPOS, TRUE, position); }

int CSliderCtrl::GetPos() const {
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETPOS));
}

int CSliderCtrl::SetPageSize(int size) {
    return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, size));
}

int CSliderCtrl::GetPageSize() const {
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETPAGESIZE));
}

int CSliderCtrl::SetLineSize(int size) {
    return static_cast<int>(SendMessage(TBM_SETLINESIZE, 0, size));
}

int CSliderCtrl::GetLineSize() const {
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETLINESIZE));
}

void CSliderCtrl::ClampPosition(bool redraw) {
    maximum_ = std::max(maximum_, minimum_);
    position_ = std::clamp(position_, minimum_, maximum_);
    if (redraw) Invalidate(FALSE);
}

LRESULT CSliderCtrl::OnGetPos(WPARAM /*wParam*/, LPARAM /*lParam*/) { return position_; }

LRESULT CSliderCtrl::OnGetRangeMin(WPARAM /*wParam*/, LPARAM /*lParam*/) { return minimum_; }

LRESULT CSliderCtrl::OnGetRangeMax(WPARAM /*wParam*/, LPARAM /*lParam*/) { return maximum_; }

LRESULT CSliderCtrl::OnSetPos(WPARAM wParam, LPARAM lParam) {
    position_ = static_cast<int>(lParam);
    ClampPosition(wParam != 0);
    return 0;
}

LRESULT CSliderCtrl::OnSetRange(WPARAM wParam, LPARAM lParam) {
    minimum_ = static_cast<short>(LOWORD(lParam));
    maximum_ = static_cast<short>(HIWORD(lParam));
    ClampPosition(wParam != 0);
    return 0;
}

LRESULT CSliderCtrl::OnSetRangeMin(WPARAM wParam, LPARAM lParam) {
    minimum_ = static_cast<int>(lParam);
    ClampPosition(wParam != 0);
    return 0;
}

LRESULT CSliderCtrl::OnSetRangeMax(WPARAM wParam, LPARAM lParam) {
    maximum_ = static_cast<int>(lParam);
    ClampPosition(wParam != 0);
    return 0;
}

LRESULT CSliderCtrl::OnSetPageSize(WPARAM /*wParam*/, LPARAM lParam) {
    return std::exchange(pageSize_, std::max(1, static_cast<int>(lParam)));
}

LRESULT CSliderCtrl::OnGetPageSize(WPARAM /*wParam*/, LPARAM /*lParam*/) { return pageSize_; }

LRESULT CSliderCtrl::OnSetLineSize(WPARAM /*wParam*/, LPARAM lParam) {
    return std::exchange(lineSize_, std::max(1, static_cast<int>(lParam)));
}

LRESULT CSliderCtrl::OnGetLineSize(WPARAM /*wParam*/, LPARAM /*lParam*/) { return lineSize_; }

platform::SliderGeometry CSliderCtrl::Geometry() const {
    CRect client;
    GetClientRect(&client);
    return platform::SliderGeometry(client, platform::ScaleForDisplay(kThumbWidth),
                                    platform::ScaleForDisplay(kFocusFrame));
}

void CSliderCtrl::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const platform::SliderGeometry geometry = Geometry();
    const bool enabled = IsWindowEnabled() != FALSE;
    const bool focused = GetFocus() == this;

    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    if (enabled && focused) {
        platform::DrawControlFrame(dc, client, platform::ScaleForDisplay(kFocusFrame),
                                   GetSysColor(COLOR_HIGHLIGHT));
    }

    // A groove: its upper half in shadow, its lower half lit.
    const RECT track = geometry.TrackRect(platform::ScaleForDisplay(kTrackThickness));
    const int shadowRows = std::max(1, static_cast<int>(track.bottom - track.top) / 2);
    const RECT upper{track.left, track.top, track.right, track.top + shadowRows};
    const RECT lower{track.left, upper.bottom, track.right, track.bottom};
    dc.FillSolidRect(&upper, GetSysColor(COLOR_BTNSHADOW));
    dc.FillSolidRect(&lower, GetSysColor(COLOR_BTNHIGHLIGHT));

    const RECT thumb = geometry.ThumbRect(Range(), position_);
    if (!enabled) {
        // A hollow thumb: nothing to hold.
        dc.FillSolidRect(&thumb, GetSysColor(COLOR_BTNFACE));
        platform::DrawControlFrame(dc, thumb, 1, GetSysColor(COLOR_BTNSHADOW));
        return;
    }
    const bool active = focused || gesture_ == Gesture::Dragging;
    dc.FillSolidRect(&thumb, GetSysColor(active ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW));
}

bool CSliderCtrl::MoveTo(int position) {
    const int clamped = std::clamp(position, minimum_, maximum_);
    if (clamped == position_) return false;
    position_ = clamped;
    Invalidate(FALSE);
    return true;
}

void CSliderCtrl::OnLButtonDown(UINT /*flags*/, CPoint point) {
    // The slider answers the keys next, as a finger expects after touching it.
    if (GetFocus() != this) SetFocus();
    SetCapture();
    const RECT thumb = Geometry().ThumbRect(Range(), position_);
    if (point.x >= thumb.left && point.x < thumb.right) {
        gesture_ = Gesture::Dragging;
        grabOffset_ = point.x - thumb.left;
        Invalidate(FALSE);
        return;
    }
    gesture_ = Gesture::Paging;
    stylusX_ = point.x;
    pageCode_ = point.x < thumb.left ? TB_PAGEUP : TB_PAGEDOWN;
    // The tap itself always pages, even at an end: the parent hears every tap.
    MoveTo(PagedPosition());
    Notify(pageCode_);
    SetTimer(kPageRepeatTimer, kPageRepeatDelay, nullptr);
}

void CSliderCtrl::OnMouseMove(UINT /*flags*/, CPoint point) {
    if (gesture_ == Gesture::Paging) stylusX_ = point.x;
    if (gesture_ != Gesture::Dragging) return;
    const platform::SliderGeometry geometry = Geometry();
    if (geometry.Travel() <= 0) return;  // a thumb with nowhere to go keeps its position
    const int position = geometry.PositionForThumbLeft(Range(), point.x - grabOffset_);
    if (MoveTo(position)) Notify(TB_THUMBTRACK);
}

void CSliderCtrl::OnLButtonUp(UINT /*flags*/, CPoint /*point*/) { EndGesture(); }

void CSliderCtrl::OnTimer(UINT_PTR id) {
    if (id != kPageRepeatTimer) return;
    if (gesture_ != Gesture::Paging || !PageTowardsStylus()) {
        KillTimer(kPageRepeatTimer);
        return;
    }
    SetTimer(kPageRepeatTimer, kPageRepeatInterval, nullptr);
}

int CSliderCtrl::PagedPosition() const {
    return platform::MoveWithinRange(Range(), position_,
                                     pageCode_ == TB_PAGEUP ? -pageSize_ : pageSize_);
}

bool CSliderCtrl::PageTowardsStylus() {
    // Only onwards in the direction of the tap, so a page that jumps past the finger stops there.
    const RECT thumb = Geometry().ThumbRect(Range(), position_);
    const bool beyond = pageCode_ == TB_PAGEUP ? stylusX_ < thumb.left : stylusX_ >= thumb.right;
    if (!beyond || !MoveTo(PagedPosition())) return false;
    Notify(pageCode_);
    return true;
}

void CSliderCtrl::EndGesture() {
    const Gesture ended = std::exchange(gesture_, Gesture::None);
    if (ended == Gesture::None) return;
    KillTimer(kPageRepeatTimer);
    if (GetCapture() == this) ::ReleaseCapture();
    Invalidate(FALSE);
    if (ended == Gesture::Dragging) Notify(TB_THUMBPOSITION);
    Notify(TB_ENDTRACK);
}

LRESULT CSliderCtrl::OnCaptureChanged(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    // The stylus was taken away: the gesture ends where it stands, and the parent hears so.
    EndGesture();
    return 0;
}

void CSliderCtrl::OnKeyDown(UINT key, UINT /*repeatCount*/, UINT /*flags*/) {
    UINT code = TB_LINEUP;
    long long target = position_;
    switch (key) {
        case VK_LEFT:
        case VK_UP:
            code = TB_LINEUP;
            target -= lineSize_;
            break;
        case VK_RIGHT:
        case VK_DOWN:
            code = TB_LINEDOWN;
            target += lineSize_;
            break;
        case VK_PRIOR:
            code = TB_PAGEUP;
            target -= pageSize_;
            break;
        case VK_NEXT:
            code = TB_PAGEDOWN;
            target += pageSize_;
            break;
        case VK_HOME:
            code = TB_TOP;
            target = minimum_;
            break;
        case VK_END:
            code = TB_BOTTOM;
            target = maximum_;
            break;
        default:
            // Enter, Escape, Tab and the rest belong to the dialog around the slider.
            Default();
            return;
    }
    MoveTo(platform::MoveWithinRange(Range(), position_, target - position_));
    keyMoved_ = true;
    Notify(code);
}

void CSliderCtrl::OnKeyUp(UINT key, UINT /*repeatCount*/, UINT /*flags*/) {
    const bool movingKey = key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN ||
                           key == VK_PRIOR || key == VK_NEXT || key == VK_HOME || key == VK_END;
    if (!movingKey || !keyMoved_) {
        Default();
        return;
    }
    keyMoved_ = false;
    Notify(TB_ENDTRACK);
}

void CSliderCtrl::OnSetFocus(CWnd* /*oldWindow*/) { Invalidate(FALSE); }

void CSliderCtrl::OnKillFocus(CWnd* /*newWindow*/) {
    // A key held while the focus leaves never comes back up here: its track ends now.
    if (std::exchange(keyMoved_, false)) Notify(TB_ENDTRACK);
    Invalidate(FALSE);
}

LRESULT CSliderCtrl::OnEnable(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    Invalidate(FALSE);
    return 0;
}

void CSliderCtrl::Notify(UINT code) {
    HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr) return;
    const bool carriesPosition = code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
    ::SendMessage(parent, WM_HSCROLL,
                  MAKEWPARAM(static_cast<int>(code), carriesPosition ? position_ : 0),
                  reinterpret_cast<LPARAM>(m_hWnd));
}
