// The list a CComboBox drops down. It is a window of its own, a child of the box's top-level
// window created last, so that it lies over every other control of the dialog and is not clipped
// by the box's parent. It never takes the focus: the keys stay with the box, which moves the
// highlight here. While open it holds the stylus: a tap on an entry chooses it, a drag or flick
// scrolls the entries, and a press anywhere else closes the list.
#pragma once

#include "platform/windows/cwnd.h"

class CComboBox;

namespace platform {
// The height of one entry of a dropped list: a finger's size, and never less than a closed box.
int ComboListRowHeight();
}  // namespace platform

class CComboDropList : public CWnd {
    DECLARE_DYNAMIC(CComboDropList)

  public:
    explicit CComboDropList(CComboBox& owner);
    ~CComboDropList() override;
    CComboDropList(const CComboDropList&) = delete;
    CComboDropList& operator=(const CComboDropList&) = delete;

    // Shows the owner's entries with `current` highlighted (-1: none). `reach` is how far down
    // from the box's top the list may go; `pressHeld`: the press that opened it is still down,
    // and its release on an entry chooses that entry.
    bool Open(int reach, int current, bool pressHeld);
    // Takes the list down without telling anyone.
    void Close();
    bool IsOpen() const { return m_hWnd != nullptr; }

    int GetCurrent() const { return current_; }
    // Highlights an entry (-1: none) and scrolls it into view.
    void SetCurrent(int index);
    // Moves the highlight by `step` entries, stopping at the ends.
    void MoveCurrent(int step);
    // The owner's entries were added or removed.
    void EntriesChanged();
    // The first pixel row of the entries that shows at the top of the list.
    int GetScrollOffset() const { return scrollOffset_; }

  protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

  private:
    // What the stylus is doing in the list.
    enum class Press {
        None,
        Opening,  // the press that opened the list, still down
        Tap,      // down on the entries, not moved far yet
        Drag,     // moved far enough to scroll the entries with it
        Stopped,  // down to stop a glide: its release chooses nothing
    };

    CRect RowsArea() const;
    int EntryCount() const;
    int EntryAt(CPoint point) const;
    int MaxScrollOffset() const;
    void ScrollTo(int offset);
    void ScrollIntoView(int index);
    void StopGlide();
    // The entry drawn highlighted: the one under a tap being made, else the current one.
    int HighlightedEntry() const;
    void DrawScrollIndication(CDC& dc, const CRect& rows) const;

    CComboBox& owner_;
    int rowHeight_ = 1;
    int current_ = -1;
    int scrollOffset_ = 0;
    Press press_ = Press::None;
    int pressedEntry_ = -1;
    int pressY_ = 0;
    int pressOffset_ = 0;
    int lastY_ = 0;
    DWORD lastMoveTime_ = 0;
    int flickSpeed_ = 0;  // pixels per second the entries moved up at the last drag step
    int glideSpeed_ = 0;  // pixels per second they move up while gliding; 0 when still
};
