// CSliderCtrl: the platform's horizontal slider (trackbar). A thumb on a track picks a position
// in a range. Every move the user makes tells the parent with WM_HSCROLL (TB_ codes in the low
// word); a position set by the program tells no one, so a parent may mirror it without echoes.
#pragma once

#include "platform/windows/cwnd.h"

constexpr DWORD TBS_HORZ = 0x0000;

constexpr UINT TBM_GETPOS = 0x0400;  // WM_USER
constexpr UINT TBM_GETRANGEMIN = 0x0401;
constexpr UINT TBM_GETRANGEMAX = 0x0402;
constexpr UINT TBM_SETPOS = 0x0405;
constexpr UINT TBM_SETRANGE = 0x0406;  // wParam: redraw; lParam: MAKELONG(min, max)
constexpr UINT TBM_SETRANGEMIN = 0x0407;
constexpr UINT TBM_SETRANGEMAX = 0x0408;
constexpr UINT TBM_SETPAGESIZE = 0x0415;
constexpr UINT TBM_GETPAGESIZE = 0x0416;
constexpr UINT TBM_SETLINESIZE = 0x0417;
constexpr UINT TBM_GETLINESIZE = 0x0418;

// WM_HSCROLL codes from a slider.
constexpr UINT TB_LINEUP = 0;
constexpr UINT TB_LINEDOWN = 1;
constexpr UINT TB_PAGEUP = 2;
constexpr UINT TB_PAGEDOWN = 3;
constexpr UINT TB_THUMBPOSITION = 4;
constexpr UINT TB_THUMBTRACK = 5;
constexpr UINT TB_TOP = 6;
constexpr UINT TB_BOTTOM = 7;
constexpr UINT TB_ENDTRACK = 8;

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)

  public:
    CSliderCtrl();
    ~CSliderCtrl() override;

    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetRange(int minimum, int maximum, BOOL redraw = FALSE);
    void GetRange(int& minimum, int& maximum) const;
    int GetRangeMin() const;
    int GetRangeMax() const;
    // Moves the thumb, kept within the range; sends nothing to the parent.
    void SetPos(int position);
    int GetPos() const;
    int SetPageSize(int size);
    int GetPageSize() const;
    int SetLineSize(int size);
    int GetLineSize() const;

  protected:
    void OnPaint();
    LRESULT OnGetPos(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetRangeMin(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetRangeMax(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetPos(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetRange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetRangeMin(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetRangeMax(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetPageSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetPageSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetLineSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetLineSize(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

  private:
    // Keeps the position inside the range after either changed; repaints when `redraw`.
    void ClampPosition(bool redraw);

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    int pageSize_ = 20;
    int lineSize_ = 1;
};
