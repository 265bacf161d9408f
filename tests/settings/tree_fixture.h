// A property tree inside a plain top-level window on the headless screen. The parent writes down
// the tree's notifications and its children's commands, in the order they came.
#pragma once

#include <string>
#include <vector>

#include "platform/graphics/system_colors.h"
#include "settings/combo_box_item.h"
#include "settings/edit_item.h"
#include "settings/sp_mob_tree.h"
#include "support/headless_fixture.h"

inline void PrintTo(const RECT& rect, std::ostream* out) {
    *out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom
         << ")";
}

// "selected <current item's id>" for WM_USER + 2, "changed <item's id>" for WM_USER + 1, and
// "key <code>" for each key press that comes through the tree's pre-translation unused.
class TreeHost : public CWnd {
  public:
    CSPMobTree* tree = nullptr;
    std::vector<std::string> events;

    BOOL PreTranslateMessage(MSG* message) override;

  protected:
    LRESULT OnItemChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelectionChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class TreeTest : public HeadlessTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The host at the screen's origin and the tree in it at `treeRect` (host client coordinates).
    void CreateTree(const CRect& treeRect, const CRect& hostRect = CRect(0, 0, 480, 640));
    // Adds an item and returns it.
    CSPMobTreeItem* Add(const wchar_t* label, const wchar_t* value = L"", int kind = -1,
                        int parentId = -1);
    // A header with `count` property rows "Row 1", "Row 2", ... (text items).
    void AddRows(int count);

    static int H() { return CSPMobTree::rowHeight; }
    // The height of a closed combo box, which becomes the row height: known before a tree exists.
    static int Closed() { return platform::ComboBoxClosedHeight(); }
    static int RowTop(int row) { return row * H() + 1; }
    CRect Client() const;
    // The colour shown at a client point of the tree.
    COLORREF Pixel(int x, int y) const { return platform::ReadWindowPixel(tree.m_hWnd, x, y); }
    // Leftmost and rightmost x in [x0, x1) of the band [y0, y1) with pixels other than
    // `background` and `ignored` (lines); -1 when there are none.
    int FirstInk(int x0, int x1, int y0, int y1, COLORREF background,
                 COLORREF ignored = CLR_INVALID) const;
    int LastInk(int x0, int x1, int y0, int y1, COLORREF background,
                COLORREF ignored = CLR_INVALID) const;
    // Pixels of exactly `color` in a client rectangle of the tree.
    int CountColor(const CRect& area, COLORREF color) const;
    // The column of the first ink when `text` is drawn at x = 0 in the tree's font.
    static int LeftBearing(const std::wstring& text, bool bold = false);

    POINT OnTree(int x, int y) const;
    // A window's rectangle in the tree's client coordinates.
    CRect RectOnTree(const CWnd& window) const;
    void Tap(int x, int y);
    void Press(UINT key);
    void Repaint();
    bool HasScrollBarStyle() const { return (tree.GetStyle() & WS_VSCROLL) != 0; }
    std::vector<std::string> TakeEvents();
    // The ids of the items in the rows of the last paint.
    std::vector<int> RowIds() const;

    static COLORREF Sys(int index) { return GetSysColor(index); }

    TreeHost host;
    CSPMobTree tree;
};
