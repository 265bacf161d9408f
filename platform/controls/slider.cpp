#include "platform/controls/slider.h"

#include <algorithm>
#include <utility>

#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)

BEGIN_MESSAGE_MAP(CSliderCtrl, CWnd)
ON_WM_PAINT()
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
    static const wchar_t* className = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW);
    minimum_ = 0;
    maximum_ = 100;
    position_ = 0;
    return CWnd::Create(className, L"", style, rect, parent, id);
}

void CSliderCtrl::SetRange(int minimum, int maximum, BOOL redraw) {
    SendMessage(TBM_SETRANGE, redraw, MAKELPARAM(minimum, maximum));
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

void CSliderCtrl::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    // A first form: a track line and a thumb at the position.
    const int span = std::max(1, maximum_ - minimum_);
    const int thumbWidth = std::max(4, client.Height() / 2);
    const int travel = std::max(0, client.Width() - thumbWidth);
    const int thumbLeft = client.left + static_cast<int>(static_cast<long long>(travel) *
                                                         (position_ - minimum_) / span);
    CRect track(client.left, client.top + client.Height() / 2 - 1, client.right,
                client.top + client.Height() / 2 + 1);
    dc.FillSolidRect(&track, GetSysColor(COLOR_BTNSHADOW));
    CRect thumb(thumbLeft, client.top + 2, thumbLeft + thumbWidth, client.bottom - 2);
    dc.FillSolidRect(&thumb, GetSysColor(COLOR_BTNTEXT));
}
