// The tree's keys: Down and Up walk the rows in display order (and off their ends), scroll one row
// to bring a new selection into view, Left and Right close and open branches, and Enter starts and
// ends edits. Keys the tree does not use go on to the parent.
#include "settings/tree_fixture.h"

namespace {

// An item with a pop-up editor of its own, as colour and font items have.
class PopupItem : public CSPMobTreeItem {
  public:
    using CSPMobTreeItem::CSPMobTreeItem;
    bool IsEditing() override { return open; }
    void BeginEdit(const RECT& /*cell*/) override { open = true; }
    void EndEdit() override {
        open = false;
        CSPMobTreeItem::EndEdit();
    }
    bool open = false;
};

class TreeKeysTest : public TreeTest {
  protected:
    int SelectedId() const { return tree.selectedItem != nullptr ? tree.selectedItem->id : 0; }
    // Presses `key` `times` times and lists the selected item's id after each press.
    std::vector<int> PressAndTrack(UINT key, int times) {
        std::vector<int> ids;
        for (int press = 0; press < times; ++press) {
            Press(key);
            ids.push_back(SelectedId());
        }
        return ids;
    }
    int HighlightedPixels() const { return CountColor(Client(), Sys(COLOR_HIGHLIGHT)); }
};

TEST_F(TreeKeysTest, DownWalksTheDisplayOrderAndPastTheLastItemClearsTheSelectionSilently) {
    CreateTree(CRect(10, 10, 310, 410));
    const int first = tree.AddItem(L"First", L"", -1, -1);
    const int child = tree.AddItem(L"Child", L"", -1, first);
    tree.AddItem(L"Grandchild", L"", -1, child);
    tree.AddItem(L"Second child", L"", -1, first);
    const int closed = tree.AddItem(L"Closed", L"", -1, -1);
    tree.AddItem(L"Hidden", L"", -1, closed);
    tree.AddItem(L"Last", L"", -1, -1);
    tree.FindItem(closed)->expanded = false;
    Repaint();

    EXPECT_EQ(PressAndTrack(VK_DOWN, 7), (std::vector<int>{1, 2, 3, 4, 5, 7, 0}));
    EXPECT_EQ(TakeEvents(),
              (std::vector<std::string>{"selected 1", "changed 1", "selected 2", "changed 2",
                                        "selected 3", "changed 3", "selected 4", "changed 4",
                                        "selected 5", "changed 5", "selected 7", "changed 7"}))
        << "each item's edit ends as the selection leaves it; clearing is not reported";
    EXPECT_EQ(HighlightedPixels(), 0);
    EXPECT_EQ(tree.GetCurrentItem()->id, 7) << "the current item stays";

    Press(VK_DOWN);
    EXPECT_EQ(SelectedId(), 1) << "from nothing, Down selects the top row";
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"selected 1"});
    const CRect top = tree.ItemRect(0);
    EXPECT_EQ(Pixel(top.left, top.top), Sys(COLOR_HIGHLIGHT));
    // The whole highlight lies in the top row, which it fills but for the label's letters.
    EXPECT_EQ(HighlightedPixels(), CountColor(top, Sys(COLOR_HIGHLIGHT)));
    EXPECT_GT(HighlightedPixels(), top.Width() * top.Height() * 9 / 10);
}

TEST_F(TreeKeysTest, UpFromNothingChoosesTheLastWhollyVisibleRowAndFromTheFirstItemClears) {
    // Four whole rows and the first lines of a fifth.
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed() + 5));
    AddRows(7);
    Repaint();
    ASSERT_EQ(tree.rowCount, 5);
    EXPECT_EQ(PressAndTrack(VK_UP, 5), (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_EQ(TakeEvents(),
              (std::vector<std::string>{"selected 4", "changed 4", "selected 3", "changed 3",
                                        "selected 2", "changed 2", "selected 1", "changed 1"}));
    EXPECT_EQ(tree.scrollPos, 0);

    // All rows wholly in view: the last one.
    tree.MoveWindow(10, 10, 300, 10 * H());
    Repaint();
    Press(VK_UP);
    EXPECT_EQ(SelectedId(), 8);

    // A window of one partial row has no row before it to fall back on.
    tree.SetSelection(nullptr);
    tree.selectedItem = nullptr;
    tree.MoveWindow(10, 10, 300, H() / 2);
    Repaint();
    ASSERT_EQ(tree.rowCount, 1);
    Press(VK_UP);
    EXPECT_EQ(SelectedId(), 1);

    // An empty tree selects nothing.
    tree.rootItems.clear();
    tree.selectedItem = tree.currentItem = nullptr;
    Repaint();
    TakeEvents();
    Press(VK_UP);
    Press(VK_DOWN);
    EXPECT_EQ(SelectedId(), 0);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{});
}

TEST_F(TreeKeysTest, UpPassesOverACollapsedBranchAndClosingToExactlyOnePageScrollsToTheTop) {
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed()));  // a page of exactly four rows
    const int a = tree.AddItem(L"A", L"", -1, -1);
    tree.AddItem(L"a1", L"", -1, a);
    tree.AddItem(L"a2", L"", -1, a);
    const int b = tree.AddItem(L"B", L"", -1, -1);
    for (int child = 0; child < 5; ++child) tree.AddItem(L"b", L"", -1, b);
    Repaint();
    tree.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3));
    Repaint();
    ASSERT_EQ(RowIds(), (std::vector<int>{4, 5, 6, 7}));
    tree.SetSelection(tree.FindItem(b));
    Press(VK_LEFT);  // A, a1, a2, B: the rows fill the page
    EXPECT_EQ(tree.scrollPos, 0);
    Repaint();
    EXPECT_EQ(RowIds(), (std::vector<int>{1, 2, 3, 4}));

    tree.SetSelection(tree.FindItem(a));
    Press(VK_LEFT);
    Repaint();
    tree.SetSelection(tree.FindItem(b));
    Press(VK_UP);
    EXPECT_EQ(SelectedId(), a) << "the branch, not its hidden last child";
}

TEST_F(TreeKeysTest, ANewSelectionNotWhollyInViewScrollsByOneRowEitherWay) {
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed() + 5));
    AddRows(7);  // eight rows, the fifth cut off at the bottom
    Repaint();
    EXPECT_EQ(PressAndTrack(VK_DOWN, 4), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(tree.scrollPos, 0) << "the fourth row ends at the bottom's last whole row";
    Press(VK_DOWN);
    EXPECT_EQ(SelectedId(), 5);
    EXPECT_EQ(tree.scrollPos, 1);
    EXPECT_EQ(tree.GetScrollPos(SB_VERT), 1);
    EXPECT_EQ(RowIds().front(), 2);
    EXPECT_EQ(tree.rowItems[3]->id, 5) << "the new selection's row is now wholly in view";
    EXPECT_EQ(Pixel(tree.ItemRect(3).left, tree.ItemRect(3).top), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(PressAndTrack(VK_DOWN, 3), (std::vector<int>{6, 7, 8}));
    EXPECT_EQ(tree.scrollPos, 4);

    // Back up: rows above the top scroll back one at a time.
    EXPECT_EQ(PressAndTrack(VK_UP, 3), (std::vector<int>{7, 6, 5}));
    EXPECT_EQ(tree.scrollPos, 4);
    Press(VK_UP);
    EXPECT_EQ(SelectedId(), 4);
    EXPECT_EQ(tree.scrollPos, 3);
    EXPECT_EQ(RowIds().front(), 4);
    EXPECT_EQ(PressAndTrack(VK_UP, 3), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(tree.scrollPos, 0);
    EXPECT_EQ(tree.GetScrollPos(SB_VERT), 0);
}

TEST_F(TreeKeysTest, KeysTypedAheadWalkOnPastTheBottomWithoutLosingTheSelection) {
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed() + 5));
    AddRows(39);  // forty rows, four in view
    Repaint();
    // Queued before the tree takes any of them, as a held key or a fast typist sends them.
    for (int press = 0; press < 30; ++press) {
        platform::input::KeyDown(VK_DOWN);
        platform::input::KeyUp(VK_DOWN);
    }
    Pump();
    EXPECT_EQ(SelectedId(), 30);
    EXPECT_EQ(tree.scrollPos, 26);
    for (int press = 0; press < 29; ++press) {
        platform::input::KeyDown(VK_UP);
        platform::input::KeyUp(VK_UP);
    }
    Pump();
    EXPECT_EQ(SelectedId(), 1);
    EXPECT_EQ(tree.scrollPos, 0);
    EXPECT_EQ(Pixel(tree.ItemRect(0).left, tree.ItemRect(0).top), Sys(COLOR_HIGHLIGHT));
}

TEST_F(TreeKeysTest, DownOrUpWhileTheSelectionIsScrolledOutOfViewClearsIt) {
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed() + 5));
    AddRows(7);
    Repaint();
    Press(VK_DOWN);
    tree.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
    Pump();
    TakeEvents();
    Press(VK_DOWN);
    EXPECT_EQ(SelectedId(), 0);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 1"});
    Press(VK_DOWN);
    EXPECT_EQ(SelectedId(), 2) << "the top row";

    tree.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
    Pump();
    TakeEvents();
    Press(VK_UP);
    EXPECT_EQ(SelectedId(), 0);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 2"});
}

TEST_F(TreeKeysTest, LeftAndRightCloseAndOpenTheSelectedItemOnlyWhileItIsLaidOut) {
    CreateTree(CRect(10, 10, 310, 10 + 4 * Closed() + 5));
    AddRows(7);
    Repaint();
    Press(VK_LEFT);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"key 37"}) << "nothing selected: passed on";

    Press(VK_DOWN);
    TakeEvents();
    Press(VK_LEFT);
    EXPECT_FALSE(tree.rootItems[0]->expanded);
    EXPECT_EQ(RowIds(), std::vector<int>{1});
    EXPECT_FALSE(HasScrollBarStyle());
    Press(VK_LEFT);
    EXPECT_FALSE(tree.rootItems[0]->expanded);
    Press(VK_RIGHT);
    EXPECT_TRUE(tree.rootItems[0]->expanded);
    EXPECT_EQ(RowIds().size(), 5u);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"changed 1", "changed 1", "changed 1"}));

    // A leaf takes the flag too.
    Press(VK_DOWN);
    Press(VK_LEFT);
    EXPECT_FALSE(tree.FindItem(2)->expanded);

    // Scrolled out of view: the edit ends, the flag stays and the key goes on.
    tree.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
    tree.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
    Pump();
    TakeEvents();
    Press(VK_RIGHT);
    EXPECT_FALSE(tree.FindItem(2)->expanded);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"changed 2", "key 39"}));
}

TEST_F(TreeKeysTest, EnterOpensTheSelectedItemsEditorAndADisabledOrEditingItemEndsItsEdit) {
    CreateTree(CRect(10, 10, 310, 410));
    CSPMobTreeItem* header = Add(L"Header");
    auto* text = static_cast<CEditItem*>(Add(L"Text", L"42", CSPMobTree::kTextItem, 1));
    CSPMobTreeItem* disabled = Add(L"Disabled", L"7", CSPMobTree::kTextItem, 1);
    disabled->disabled = true;
    auto popup = std::make_unique<PopupItem>(&tree);
    PopupItem* picker = popup.get();
    picker->id = tree.nextId++;
    picker->parentId = header->id;
    picker->label = L"Picker";
    header->children.push_back(std::move(popup));
    Repaint();

    Press(VK_RETURN);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{}) << "nothing selected: used, nothing done";

    Press(VK_DOWN);
    Press(VK_DOWN);
    TakeEvents();
    Press(VK_RETURN);
    ASSERT_NE(text->editor, nullptr);
    CRect editorRect;
    text->editor->GetWindowRect(&editorRect);
    tree.ScreenToClient(reinterpret_cast<POINT*>(&editorRect.left));
    tree.ScreenToClient(reinterpret_cast<POINT*>(&editorRect.right));
    EXPECT_EQ(editorRect, tree.ValueCell(1));
    EXPECT_EQ(CWnd::GetFocus(), text->editor.get());
    EXPECT_EQ(text->editor->GetWindowText(), L"42");
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{});

    Press(VK_DOWN);  // the edit box has the focus: the tree leaves the key alone
    EXPECT_EQ(SelectedId(), text->id);
    EXPECT_NE(text->editor, nullptr);

    tree.SetFocus();
    Press(VK_DOWN);
    EXPECT_EQ(SelectedId(), disabled->id);
    EXPECT_EQ(text->editor, nullptr);
    TakeEvents();
    Press(VK_RETURN);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 3"});
    EXPECT_EQ(::GetWindow(tree.m_hWnd, GW_CHILD), nullptr) << "no editor for a disabled item";

    Press(VK_DOWN);
    TakeEvents();
    Press(VK_RETURN);
    EXPECT_TRUE(picker->open);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{});
    Press(VK_RETURN);
    EXPECT_FALSE(picker->open);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 4"});

    // Scrolled out of view: used, and nothing happens.
    tree.MoveWindow(10, 10, 300, 2 * H());
    tree.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0));
    Pump();
    TakeEvents();
    Press(VK_RETURN);
    EXPECT_FALSE(picker->open);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{});
}

}  // namespace
