// CSPMobTree: the settings editor's property tree. A child window that shows a forest of items as
// rows of equal height, each split into a label column and a value column beside a grey gutter
// of expand boxes; it scrolls by whole rows. The tree owns and lays out its items, each item
// draws its own row and runs its own editor. Input (keys, stylus, scroll bar) is in
// sp_mob_tree_input.cpp.
#pragma once

#include <memory>
#include <vector>

#include "platform/windows/cwnd.h"
#include "settings/sp_mob_tree_item.h"
#include "settings/tree_messages.h"

class CSPMobTree : public CWnd {
    DECLARE_DYNAMIC(CSPMobTree)

  public:
    // Item kinds for AddItem; any other kind is a plain node.
    static constexpr int kTextItem = 1;
    static constexpr int kListItem = 2;
    static constexpr int kColorItem = 3;
    static constexpr int kFontItem = 4;

    CSPMobTree();
    ~CSPMobTree() override;

    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Adds an item of `kind` under the item `parentId` (-1, or an identifier that names no item:
    // at the top level) and returns its identifier: 1, 2, 3, ... in the order of the calls.
    int AddItem(const wchar_t* label, const wchar_t* value, int kind, int parentId);
    // Depth-first searches of every item, expanded or not; null when nothing matches.
    CSPMobTreeItem* FindItem(int id) const;
    // The first item labelled exactly `label` among the descendants of `under` (null: the whole
    // forest); `under` itself is not compared.
    CSPMobTreeItem* FindItemByLabel(const wchar_t* label, const CSPMobTreeItem* under) const;
    // 1 for a top-level item, one more for each ancestor named by the parent identifiers; a
    // chain that names a missing item counts without the final 1, one that turns in a circle
    // counts 0.
    int GetItemDepth(const CSPMobTreeItem* item) const;
    CSPMobTreeItem* GetCurrentItem() const { return currentItem; }

    // Lays out and draws every row from `scrollPos` on, recording them in rowItems; with no
    // device context, only lays them out.
    virtual void DrawTree(CDC* dc, int left, int top, int right, int bottom);
    // The same for the children of `item`; `row` and `index` run on through the whole walk.
    virtual void DrawChildren(CDC* dc, int left, int top, int right, int bottom,
                              CSPMobTreeItem* item, int& row, int& index);
    virtual void DrawExpandBox(CDC* dc, bool expanded, const RECT& box);
    // One key press; true when the tree used it.
    virtual bool OnKey(UINT virtualKey);

    BOOL PreTranslateMessage(MSG* message) override;

    // The number of items in display order (children of collapsed items left out).
    int CountVisibleRows() const;
    // Keeps scrollPos within the rows (at their end with `clampToEnd`), hands range, page and
    // position to the scroll bar and repaints.
    void UpdateScroll(bool clampToEnd);
    // Selects `item` (null: none), ending the previous item's edit first.
    void SetSelection(CSPMobTreeItem* item);

    enum class Direction { Previous, Next };
    // Display-order neighbours.
    CSPMobTreeItem* GetNextItem(CSPMobTreeItem* item) const;
    CSPMobTreeItem* GetAdjacentItem(CSPMobTreeItem* item, Direction direction) const;

    // Row geometry in client coordinates (row 0 is the top row).
    CRect ItemRect(int row) const;
    CRect ValueCell(int row) const;
    CRect ExpandBox(int row) const;
    // The row that shows `item` in the last paint, or -1.
    int LaidOutRow(const CSPMobTreeItem* item) const;

    // Sets the metrics shared by every tree from the height of a closed combo box. Rows are at
    // least one pixel high, whatever the probe reports.
    static void SetMetrics(int probeHeight);

    // Metrics shared by every tree of the process.
    static int rowHeight;
    static int splitterTolerance;
    static int minColumnWidth;
    static int gutterWidth;
    static int boxSize;

    std::vector<std::unique_ptr<CSPMobTreeItem>> rootItems;
    int rowCapacity = 0;
    int rowCount = 0;
    // The item drawn in each row by the last paint (rowCapacity slots, null past rowCount).
    std::vector<CSPMobTreeItem*> rowItems;
    int scrollPos = 0;
    int splitX = 0;
    bool scrollBarShown = false;
    CSPMobTreeItem* selectedItem = nullptr;
    // The item selected last; never cleared once set.
    CSPMobTreeItem* currentItem = nullptr;
    int nextId = 1;
    bool dragging = false;
    bool overflow = false;
    int dragX = 0;

  protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnSize(UINT type, int width, int height);
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnVScroll(UINT code, UINT position, CWnd* scrollBar);

    DECLARE_MESSAGE_MAP()

  private:
    // The off-screen picture that every paint draws into, of the client area's size.
    CBitmap offscreen_;
    CSize offscreenSize_{0, 0};

    using ItemList = std::vector<std::unique_ptr<CSPMobTreeItem>>;

    static CRect RowRectIn(const RECT& client, int row);
    static CRect ExpandBoxIn(const RECT& client, int row);
    // The walk shared by DrawTree and DrawChildren.
    void DrawList(CDC* dc, const RECT& client, const ItemList& items, int& row, int& index);
    // Empties the row table and gives it one slot per row that fits the window's height.
    void ResetRowTable(int windowHeight);
    // Fills the row table for the current size and scroll position without drawing.
    void LayOutRows();
    // The list that holds `item` (its parent's children, or the top level) and that parent.
    const ItemList* SiblingsOf(const CSPMobTreeItem* item, CSPMobTreeItem** parent) const;

    // Keys.
    bool MoveSelectionDown();
    bool MoveSelectionUp();
    bool SetSelectedExpanded(bool expand);
    bool ToggleSelectedEdit();
    // Marks `item` selected and current, tells the parent and scrolls one row towards it when
    // its row is not wholly in view (`towardsEnd`: down).
    void SelectMovedTo(CSPMobTreeItem* item, bool towardsEnd);
    // Enter and Escape pressed in a window inside the tree (an in-place editor).
    bool HandleEditorKey(MSG* message);
    void EndSelectedEdit();
};
