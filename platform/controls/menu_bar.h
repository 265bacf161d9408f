// CMenuBar: the bar across the bottom of a window that the shell builds from a menu, one
// finger-sized button per entry side by side. A tap that ends on the button it began on, or the
// soft key F1 (the left entry) or F2 (the right entry), sends the entry's WM_COMMAND to the window.
// The bar keeps the bottom strip of the window, whose client area then ends above it.
#pragma once

#include <string>
#include <vector>

#include "platform/windows/cwnd.h"

class CMenuBar : public CWnd {
    DECLARE_DYNAMIC(CMenuBar)

  public:
    // The bar's height for the current display density: one finger.
    static int BarHeight();

    CMenuBar();
    ~CMenuBar() override;

    using CWnd::Create;
    // Takes a copy of the menu's entries and lays the bar across the bottom of `parent`; fails
    // for a bad menu or parent.
    BOOL Create(HWND parent, HMENU menu);
    // The soft keys F1 and F2 of the bar's window.
    BOOL PreTranslateMessage(MSG* message) override;

  protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    // A bar the shell made owns itself and goes with its window.
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()

  public:
    // Set by the shell for a bar it made, so that the object ends with its window.
    bool deleteWithWindow = false;

  private:
    struct Entry {
        UINT id = 0;
        std::wstring text;
    };
    static constexpr int kNone = -1;

    CRect EntryRect(int index) const;
    int EntryAt(CPoint point) const;
    // The entry a soft key stands for, or kNone.
    int EntryForSoftKey(WPARAM key) const;
    // Shows an entry pressed (kNone: none); repaints only on a change.
    void SetPressed(int index);
    // WM_COMMAND to the window: the one place the bar speaks.
    void NotifyCommand(int index);

    std::vector<Entry> entries_;
    int pressed_ = kNone;
    int stylusEntry_ = kNone;  // the entry a held stylus began on
    WPARAM heldSoftKey_ = 0;   // the soft key down, until its release
};
