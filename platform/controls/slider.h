// CSliderCtrl: the platform's horizontal slider (trackbar). A thumb on a track picks a position
// in a range. Every move the user makes tells the parent with WM_HSCROLL (TB_ codes in the low
// word); a position set by the program tells no one, so a parent may mirror it without echoes.
//
// The user moves it three ways. Dragging the thumb: TB_THUMBTRACK at each new position, then
// TB_THUMBPOSITION and TB_ENDTRACK on release. A tap on the track beside the thumb: a page
// towards the tap (TB_PAGEUP / TB_PAGEDOWN), repeated while held until the thumb reaches the
// finger, then TB_ENDTRACK on release. Keys while focused: Left/Up and Right/Down a line,
// PageUp/PageDown a page, Home/End to the ends (TB_TOP / TB_BOTTOM); one code per key press
// (auto-repeat included) and TB_ENDTRACK when the key is released. The position has changed
// before the parent hears the code, so the parent may read GetPos(). The high word of wParam
// carries the position for TB_THUMBTRACK and TB_THUMBPOSITION (its low 16 bits), else 0.
#pragma once

#include "platform/controls/slider_geometry.h"
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

    // The thumb's width and the focus frame's thickness at 96 dots per inch; both scale with
    // the display's density. The thumb also takes the control's height, so a finger can hold it.
    static constexpr int kThumbWidth = 20;
    static constexpr int kFocusFrame = 2;
    static constexpr int kTrackThickness = 4;
    // A held tap on the track pages again after the first delay, then at the repeat interval.
    static constexpr UINT kPageRepeatDelay = 400;
    static constexpr UINT kPageRepeatInterval = 100;

  protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    void OnKeyUp(UINT key, UINT repeatCount, UINT flags);
    void OnTimer(UINT_PTR id);
    void OnSetFocus(CWnd* oldWindow);
    void OnKillFocus(CWnd* newWindow);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnable(WPARAM wParam, LPARAM lParam);
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
    enum class Gesture { None, Dragging, Paging };

    // Keeps the position inside the range after either changed; repaints when `redraw`.
    void ClampPosition(bool redraw);
    platform::SliderRange Range() const { return {minimum_, maximum_}; }
    platform::SliderGeometry Geometry() const;
    // Moves the thumb for the user; repaints on a change. Returns whether it moved.
    bool MoveTo(int position);
    // The position one page on in the direction of the current tap.
    int PagedPosition() const;
    // One page towards the held finger; false once the thumb has reached it.
    bool PageTowardsStylus();
    // Ends a stylus gesture: stops the repeat, tells the parent how it ended.
    void EndGesture();
    // WM_HSCROLL to the parent: the one place the slider speaks.
    void Notify(UINT code);

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    int pageSize_ = 20;
    int lineSize_ = 1;
    Gesture gesture_ = Gesture::None;
    int grabOffset_ = 0;         // the stylus's distance from the thumb's left edge in a drag
    int stylusX_ = 0;            // where the finger holds the track while paging
    UINT pageCode_ = TB_PAGEUP;  // the direction of the tap being held
    bool keyMoved_ = false;      // a key moved the thumb; its release ends the track
};
