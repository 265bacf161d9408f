// The stylus and the scroll bar on the tree: taps select rows and open editors, expand boxes open
// and close branches, the column line follows a drag within its limits, and the scroll bar moves
// the rows one at a time or to the thumb.
#include "settings/tree_fixture.h"

namespace {

class TreeStylusTest : public TreeTest {
  protected:
    int SelectedId() const { return tree.selectedItem != nullptr ? tree.selectedItem->id : 0; }
    int LineX() const { return Client().left + CSPMobTree::gutterWidth + tree.splitX; }
    void Down(int x, int y) {
        platform::input::StylusDown(OnTree(x, y));
        Pump();
    }
    void Move(int x, int y) {
        platform::input::StylusMove(OnTree(x, y));
        Pump();
    }
    void Up(int x, int y) {
        platform::input::StylusUp(OnTree(x, y));
        Pump();
    }
    void Scroll(UINT code, int position = 0) {
        tree.SendMessage(WM_VSCROLL, MAKEWPARAM(code, position));
        Pump();
    }
    // The middle of row `row`'s label cell.
    POINT LabelPoint(int row) const {
        const CRect rect = tree.ItemRect(row);
        return {rect.left + tree.splitX / 2, rect.top + rect.Height() / 2};
    }
};

TEST_F(TreeStylusTest, ATapSelectsItsRowOnceAndATapBelowTheRowsOnlyEndsTheEdit) {
    CreateTree(CRect(10, 10, 310, 410));
    AddRows(3);
    Repaint();
    Tap(LabelPoint(2).x, LabelPoint(2).y);
    EXPECT_EQ(SelectedId(), 3);
    EXPECT_EQ(Pixel(tree.ItemRect(2).left, tree.ItemRect(2).top), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"selected 3"});
    EXPECT_EQ(::GetWindow(tree.m_hWnd, GW_CHILD), nullptr) << "the label cell opens no editor";

    // Again on the same row: its edit ends on the press, nothing more.
    Tap(LabelPoint(2).x, LabelPoint(2).y);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 3"});

    Tap(LabelPoint(0).x, LabelPoint(0).y);
    EXPECT_EQ(SelectedId(), 1);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"changed 3", "changed 3", "selected 1"}))
        << "the press ends the edit, and so does leaving the item";
    EXPECT_EQ(Pixel(tree.ItemRect(2).left, tree.ItemRect(2).top), Sys(COLOR_APPWORKSPACE));

    // A row begins at its first pixel line.
    Tap(LabelPoint(2).x, 2 * H());
    EXPECT_EQ(SelectedId(), 3);
    Tap(LabelPoint(0).x, 0);
    EXPECT_EQ(SelectedId(), 1);
    TakeEvents();

    // Below the last row there is no item.
    Tap(LabelPoint(0).x, tree.ItemRect(6).top + 3);
    EXPECT_EQ(SelectedId(), 1);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 1"});
}

TEST_F(TreeStylusTest, ATapOnAValueCellSelectsAndOpensTheEditorThereButNotForADisabledItem) {
    CreateTree(CRect(10, 10, 310, 410));
    AddRows(3);
    tree.FindItem(3)->disabled = true;
    Repaint();
    const CRect cell = tree.ValueCell(1);
    Tap(cell.left + 5, cell.top + 5);
    EXPECT_EQ(SelectedId(), 2);
    auto* text = static_cast<CEditItem*>(tree.FindItem(2));
    ASSERT_NE(text->editor, nullptr);
    EXPECT_EQ(RectOnTree(*text->editor), cell);
    EXPECT_EQ(CWnd::GetFocus(), text->editor.get());
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"selected 2"});

    const CRect disabledCell = tree.ValueCell(2);
    Tap(disabledCell.left + 5, disabledCell.top + 5);
    EXPECT_EQ(SelectedId(), 3);
    EXPECT_EQ(text->editor, nullptr);
    EXPECT_EQ(::GetWindow(tree.m_hWnd, GW_CHILD), nullptr);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"changed 2", "changed 2", "selected 3"}))
        << "the press ends the edit, and so does leaving the item";
}

TEST_F(TreeStylusTest, TheExpandBoxAreaTogglesEvenALeafAndClosingBringsTheScrollPositionBack) {
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed() + 2));
    AddRows(9);  // ten rows, four in view and the first line of a fifth
    Repaint();
    const CRect box = tree.ExpandBox(0);
    Tap(box.left + 1, box.top + 1);
    EXPECT_FALSE(tree.rootItems[0]->expanded);
    EXPECT_EQ(RowIds(), std::vector<int>{1});
    EXPECT_EQ(SelectedId(), 0) << "the box does not select";
    EXPECT_FALSE(HasScrollBarStyle());
    Tap(box.right - 1, box.bottom - 1);
    EXPECT_TRUE(tree.rootItems[0]->expanded);
    EXPECT_EQ(RowIds(), (std::vector<int>{1, 2, 3, 4, 5}));
    // Just outside the box the tap lands on the row instead.
    Tap(box.right, box.bottom - 1);
    EXPECT_TRUE(tree.rootItems[0]->expanded);
    EXPECT_EQ(SelectedId(), 1);

    // A leaf's flag turns over too, though it shows no box.
    const CRect leafBox = tree.ExpandBox(1);
    Tap(leafBox.left + 1, leafBox.top + 1);
    EXPECT_FALSE(tree.FindItem(2)->expanded);
    EXPECT_EQ(RowIds(), (std::vector<int>{1, 2, 3, 4, 5}));
}

// Painting shows or hides the scroll bar, and the client area changes with it: taps and keys that
// come before the next paint still find the rows, laid out again for the new width.
TEST_F(TreeStylusTest, RowsStayValidBetweenASizeChangeAndTheNextPaint) {
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed() + 2));
    AddRows(9);
    Repaint();
    ASSERT_TRUE(HasScrollBarStyle());
    tree.MoveWindow(10, 10, 280, 3 * H());
    EXPECT_EQ(RowIds(), (std::vector<int>{1, 2, 3})) << "three rows, laid out before any paint";
    Tap(LabelPoint(2).x, LabelPoint(2).y);
    EXPECT_EQ(SelectedId(), 3);
    tree.MoveWindow(10, 10, 300, 6 * H());
    Press(VK_DOWN);
    EXPECT_EQ(SelectedId(), 4);
}

TEST_F(TreeStylusTest, ClosingABranchWhileScrolledTakesThePositionBackFromTheScrollBar) {
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed() + 2));
    AddRows(9);  // items 1 to 10
    const int second = tree.AddItem(L"Second", L"", -1, -1);
    tree.AddItem(L"A", L"", -1, second);
    tree.AddItem(L"B", L"", -1, second);
    Repaint();
    Scroll(SB_THUMBPOSITION, 9);
    ASSERT_EQ(RowIds(), (std::vector<int>{10, 11, 12, 13}));
    const CRect box = tree.ExpandBox(1);
    Tap(box.left + 1, box.top + 1);
    EXPECT_FALSE(tree.FindItem(second)->expanded);
    // Eleven rows in view of four: the last position is 7, and the rows fill the window.
    EXPECT_EQ(tree.scrollPos, 7);
    EXPECT_EQ(tree.GetScrollPos(SB_VERT), 7);
    EXPECT_EQ(RowIds(), (std::vector<int>{8, 9, 10, 11}));
    EXPECT_TRUE(HasScrollBarStyle());
}

TEST_F(TreeStylusTest, TheColumnLineFollowsADragAndStopsAtEitherLimit) {
    CreateTree(CRect(10, 10, 310, 410));
    AddRows(2);
    Repaint();
    const int tolerance = CSPMobTree::splitterTolerance;
    ASSERT_GT(tolerance, 1);
    const int start = tree.splitX;
    const int y = LabelPoint(0).y;

    // The grab zone is open at both ends.
    Down(LineX() + tolerance, y);
    EXPECT_FALSE(tree.dragging);
    Up(LineX() + tolerance, y);
    Down(LineX() - tolerance, y);
    EXPECT_FALSE(tree.dragging);
    Up(LineX() - tolerance, y);
    const int selectedBefore = SelectedId();
    TakeEvents();

    int x = LineX() + tolerance - 1;
    Down(x, y);
    ASSERT_TRUE(tree.dragging);
    Move(x + 20, y);
    EXPECT_EQ(tree.splitX, start + 20);
    const CRect row = tree.ItemRect(1);
    EXPECT_EQ(Pixel(row.left + start + 20, row.top + 2), Sys(COLOR_BTNSHADOW)) << "drawn at once";
    EXPECT_EQ(Pixel(row.left + start, row.top + 2), Sys(COLOR_APPWORKSPACE));
    Up(x + 20, y);
    EXPECT_FALSE(tree.dragging);
    EXPECT_EQ(tree.splitX, start + 20);
    EXPECT_EQ(SelectedId(), selectedBefore) << "a drag selects nothing";
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 1"}) << "the press ends the edit";

    // Right past the upper limit: stopped there; the move after it changes nothing.
    const CRect client = Client();
    const int upper = client.right - CSPMobTree::gutterWidth - CSPMobTree::minColumnWidth;
    x = LineX();
    Down(x, y);
    Move(x + 1000, y);
    EXPECT_EQ(tree.splitX, upper);
    EXPECT_FALSE(tree.dragging);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    Move(x + 10, y);
    EXPECT_EQ(tree.splitX, upper);
    Up(x + 10, y);

    // Left past the lower limit.
    x = LineX();
    Down(x, y);
    Move(x - 5, y);
    Move(x - 1000, y);
    EXPECT_EQ(tree.splitX, CSPMobTree::minColumnWidth);
    EXPECT_FALSE(tree.dragging);
    Up(x, y);
    EXPECT_EQ(tree.splitX, CSPMobTree::minColumnWidth);
}

TEST_F(TreeStylusTest, ReleasingADragMovesTheLineByTheLastStepWithoutALimitCheck) {
    CreateTree(CRect(10, 10, 310, 410));
    AddRows(2);
    Repaint();
    const int y = LabelPoint(1).y;
    const int x = LineX();
    const int start = tree.splitX;
    Down(x, y);
    Move(x + 10, y);
    Up(x + 200, y);  // far past the right edge, under the capture
    EXPECT_EQ(tree.splitX, start + 200);
    EXPECT_FALSE(tree.dragging);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    // A drag whose capture went elsewhere stays inert.
    tree.splitX = start;
    Repaint();
    Down(LineX(), y);
    ASSERT_TRUE(tree.dragging);
    ::SetCapture(host.m_hWnd);
    ::SendMessage(tree.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(LineX() + 30, y));
    EXPECT_EQ(tree.splitX, start);
    ::ReleaseCapture();
}

TEST_F(TreeStylusTest, TheArrowsMoveOneRowWithinTheEndsTheThumbSetsThePositionPagesDoNothing) {
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed() + 2));
    AddRows(6);  // seven rows, four in view
    Repaint();
    Scroll(SB_LINEUP);
    EXPECT_EQ(tree.scrollPos, 0);
    std::vector<int> positions;
    for (int step = 0; step < 5; ++step) {
        Scroll(SB_LINEDOWN);
        positions.push_back(tree.scrollPos);
    }
    EXPECT_EQ(positions, (std::vector<int>{1, 2, 3, 3, 3})) << "stops with the last row in view";
    EXPECT_EQ(tree.GetScrollPos(SB_VERT), 3);
    EXPECT_EQ(RowIds(), (std::vector<int>{4, 5, 6, 7}));
    const CRect last = tree.ItemRect(3);
    EXPECT_EQ(FirstInk(last.left, last.left + tree.splitX, last.top, last.bottom,
                       Sys(COLOR_APPWORKSPACE)),
              last.left + 10 + LeftBearing(L"Row 6"));

    Scroll(SB_PAGEUP);
    Scroll(SB_PAGEDOWN);
    Scroll(SB_TOP);
    Scroll(SB_ENDSCROLL);
    EXPECT_EQ(tree.scrollPos, 3);

    Scroll(SB_THUMBTRACK, 1);
    EXPECT_EQ(tree.scrollPos, 1);
    EXPECT_EQ(RowIds().front(), 2);
    Scroll(SB_THUMBPOSITION, 2);
    EXPECT_EQ(tree.scrollPos, 2);
    EXPECT_EQ(tree.GetScrollPos(SB_VERT), 2);
    for (int step = 0; step < 4; ++step) Scroll(SB_LINEUP);
    EXPECT_EQ(tree.scrollPos, 0);
    EXPECT_EQ(RowIds().front(), 1);
}

TEST_F(TreeStylusTest, EveryScrollBarMessageEndsTheEditFirst) {
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed() + 2));
    AddRows(6);
    Repaint();
    const CRect cell = tree.ValueCell(1);
    Tap(cell.left + 5, cell.top + 5);
    auto* text = static_cast<CEditItem*>(tree.FindItem(2));
    ASSERT_NE(text->editor, nullptr);
    text->editor->SetWindowText(L"typed");
    TakeEvents();
    Scroll(SB_ENDSCROLL);
    EXPECT_EQ(text->editor, nullptr);
    EXPECT_EQ(text->value, L"typed");
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 2"});
    EXPECT_EQ(CWnd::GetFocus(), &tree);
}

// Under the capture a release can come from above the window: that is no row, however far up.
TEST_F(TreeStylusTest, AReleaseAboveTheWindowHitsNoRow) {
    CreateTree(CRect(10, 300, 310, 600));
    AddRows(3);
    Repaint();
    for (const int y : {-1, -3, -CSPMobTree::rowHeight - 3, -5 * CSPMobTree::rowHeight}) {
        Down(LabelPoint(0).x, tree.ItemRect(6).top);  // below the rows
        ::SetCapture(tree.m_hWnd);
        Up(LabelPoint(0).x, y);
        ::ReleaseCapture();
        EXPECT_EQ(SelectedId(), 0) << y;
    }
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{});
}

// Selecting a row cut off at the bottom scrolls it up by one; its editor must open where the row
// now is, or what is typed would be taken for the item that moved into the old place.
TEST_F(TreeStylusTest, ATapOnTheValueOfARowCutOffAtTheBottomOpensTheEditorWhereTheRowMovedTo) {
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed() + 6));
    AddRows(6);
    Repaint();
    ASSERT_EQ(tree.rowCount, 5);
    const CRect cutOff = tree.ValueCell(4);
    Tap(cutOff.left + 5, cutOff.top + 3);
    EXPECT_EQ(SelectedId(), 5);
    EXPECT_EQ(tree.scrollPos, 1);
    auto* item = static_cast<CEditItem*>(tree.FindItem(5));
    ASSERT_NE(item->editor, nullptr);
    EXPECT_EQ(RectOnTree(*item->editor), tree.ValueCell(3));
    EXPECT_EQ(tree.rowItems[3], item) << "the row the editor lies over shows its item";

    item->editor->SetWindowText(L"new");
    Press(VK_RETURN);
    EXPECT_EQ(item->value, L"new");
    EXPECT_EQ(tree.FindItem(6)->value, L"value");
    const CRect row = tree.ItemRect(3);
    EXPECT_EQ(
        FirstInk(row.left + tree.splitX + 1, row.right, row.top, row.bottom, Sys(COLOR_HIGHLIGHT)),
        row.left + tree.splitX + 11 + LeftBearing(L"new"));
}

// Metrics are shared by every tree: one made later with lower rows must not make this one lay
// out more rows than its table holds, and no probe height stops the rows from having one.
TEST_F(TreeStylusTest, LayoutStopsAtTheRowTableAndRowsAreAtLeastOnePixelHigh) {
    CreateTree(CRect(10, 10, 310, 10 + 3 * Closed()));
    AddRows(40);
    Repaint();
    const int capacity = tree.rowCapacity;
    const int height = CSPMobTree::rowHeight;
    CSPMobTree::SetMetrics(height / 2);
    Repaint();
    EXPECT_EQ(tree.rowCount, capacity);
    EXPECT_EQ(tree.rowItems.size(), static_cast<std::size_t>(capacity));
    EXPECT_TRUE(tree.overflow);
    Press(VK_UP);
    EXPECT_EQ(SelectedId(), capacity) << "the last laid-out row";

    for (const int probe : {0, -4}) {
        CSPMobTree::SetMetrics(probe);
        EXPECT_EQ(CSPMobTree::rowHeight, 1) << probe;
        EXPECT_EQ(CSPMobTree::boxSize, 1) << probe;
    }
    tree.MoveWindow(10, 10, 300, 50);
    Repaint();
    EXPECT_EQ(tree.rowCapacity, 51);
    EXPECT_EQ(tree.rowCount, 41) << "every item, one pixel each";
    CSPMobTree::SetMetrics(height);
}

}  // namespace
