// CTavrel: the launcher's menu window. It holds the entries, lays out rows and slider from the
// item height and the client size, and paints everything through an off-screen bitmap.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/color_font.h"
#include "launcher/default_wnd.h"
#include "launcher/menu_messages.h"
#include "launcher/tavrel_item.h"
#include "launcher/tavrel_scroll.h"

class CTavrel : public CDefaultWnd {
    DECLARE_DYNAMIC(CTavrel)

  public:
    CTavrel();
    ~CTavrel() override;

    // Paints the whole client area into the given context.
    virtual void DrawItems(CDC* dc);
    // Brings the screen up to date after the scroll position moved by `delta` pixels (0: repaint
    // everything).
    virtual void ScrollView(int delta);

    int AddItem(std::wstring title, std::wstring execPath, std::wstring args);
    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void RecalcLayout();
    void SetItemFont(const FontValue* spec);
    void SetColors(const ColorTriple* odd, const ColorTriple* even, const ColorTriple* active,
                   const ColorTriple* text, const ColorTriple* activeText,
                   const ColorTriple* slider);
    void RefreshItems();

    BOOL PreTranslateMessage(MSG* message) override;

    // The entry under client line y, or -1.
    int HitTest(int y) const;
    // Stops a glide: the timer goes, the highlight comes into view and everything is repainted.
    void StopInertia();
    // One step of a glide by d pixels.
    void ScrollBy(int d);
    // Direction keys and Enter; true when the key was used.
    bool HandleKey(UINT virtualKey);

    // The scroll position: the content pixels above the client's top edge.
    std::int64_t ScrollPosition() const {
        return static_cast<std::int64_t>(firstVisible) * itemHeight - firstOffset;
    }
    // The scroll position at which the last row ends at the bottom edge (0 when all rows fit).
    std::int64_t EndPosition() const;

    // The rectangle of row `index` at the current scroll position.
    CRect RowRect(int index) const;
    // The index of the row slot that covers client line y (it may hold no entry).
    int RowAt(int y) const;
    int ItemCount() const { return static_cast<int>(items.size()); }

    bool inertiaEnabled = true;
    BYTE textAlign = 0;  // 0 centre, 1 left, 2 right
    int itemHeight = 100;
    int sliderWidth = 20;
    int dragThreshold = 50;
    int launchHoldTime = 300;
    std::vector<std::unique_ptr<CTavrelItem>> items;
    CFont itemFont;
    COLORREF oddColor = 0;
    COLORREF evenColor = 0;
    COLORREF activeColor = 0;
    COLORREF textColor = 0;
    COLORREF activeTextColor = 0;
    COLORREF sliderColor = 0;
    std::uint32_t trackStartTick = 0;
    int trackDistance = 0;
    int speed = 0;
    bool trackUp = false;
    int inertiaRunning = 0;
    int tickCount = 0;
    int ticksPerStep = 0;
    int firstVisible = 0;
    int visibleCount = 0;
    int firstOffset = 0;
    CTavrelScroll sliderBar;
    int activeIndex = 0;
    std::uint32_t pressTick = 0;
    int lastY = 0;
    bool dragging = false;
    int pendingDy = 0;
    int bottomOffset = 0;
    int scrollable = 0;
    // The current press went to this window: only then may its release start an entry.
    bool pressSeen = false;

    static constexpr UINT_PTR kInertiaTimer = 1;
    static constexpr UINT kInertiaInterval = 40;

  protected:
    // Draws entry `index` at its row, if it exists.
    void DrawRow(CDC* dc, int index);
    // Draws the slider at the current scroll position, if it is shown.
    void DrawSlider(CDC* dc);
    void SetSystemColors();

    // Sets the highlight on the first wholly visible row when it lies outside the view.
    void PullHighlightIntoView();
    // Starts entry `index` and asks the parent to close the launcher.
    void StartEntry(int index);
    void SendMenuDone();
    // The last row the list may start with, and keeping the list's end at the bottom edge.
    int LastFirstVisible() const { return ItemCount() - visibleCount; }
    // Sets firstVisible and firstOffset for a scroll position between 0 and the end.
    void SetScrollPosition(std::int64_t position);
    // Moves the scroll position by `step` pixels (positive: the list moves up on screen), stopped
    // by the ends; returns whether an end cut the step short.
    bool MoveScrollPosition(std::int64_t step);

    int OnCreate(LPCREATESTRUCT createStruct);
    void OnPaint();
    void OnSize(UINT type, int width, int height);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);

    DECLARE_MESSAGE_MAP()
};
