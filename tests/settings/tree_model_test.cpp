// Filling and querying the tree: identifiers, the item kinds, where items go, finding them by
// identifier and label, their depth, and items whose parent identifier names no proper parent.
#include "settings/tree_fixture.h"

namespace {

class TreeModelTest : public TreeTest {
  protected:
    void SetUp() override {
        TreeTest::SetUp();
        CreateTree(CRect(10, 10, 310, 410));
    }
};

TEST_F(TreeModelTest, IdentifiersCountFromOneAndTheKindChoosesTheItemClass) {
    const int header = tree.AddItem(L"Header", L"", -1, -1);
    const int text = tree.AddItem(L"Text", L"12", CSPMobTree::kTextItem, header);
    const int list = tree.AddItem(L"List", L"да", CSPMobTree::kListItem, header);
    const int other = tree.AddItem(L"Top", L"", 7, -1);
    const int colour = tree.AddItem(L"Colour", L"", CSPMobTree::kColorItem, list);
    const int font = tree.AddItem(L"Font", L"", CSPMobTree::kFontItem, text);
    EXPECT_EQ((std::vector<int>{header, text, list, other, colour, font}),
              (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(tree.nextId, 7);

    EXPECT_NE(dynamic_cast<CEditItem*>(tree.FindItem(text)), nullptr);
    EXPECT_NE(dynamic_cast<CComboBoxItem*>(tree.FindItem(list)), nullptr);
    for (const int plain : {header, other, colour, font}) {
        EXPECT_EQ(dynamic_cast<CEditItem*>(tree.FindItem(plain)), nullptr) << plain;
        EXPECT_EQ(dynamic_cast<CComboBoxItem*>(tree.FindItem(plain)), nullptr) << plain;
    }

    const CSPMobTreeItem* item = tree.FindItem(list);
    EXPECT_EQ(item->label, L"List");
    EXPECT_EQ(item->value, L"да");
    EXPECT_EQ(item->parentId, header);
    EXPECT_EQ(item->tree, &tree);
    EXPECT_TRUE(item->expanded);
    EXPECT_FALSE(item->selected || item->disabled);
    EXPECT_EQ(item->userData, nullptr);
    ASSERT_EQ(tree.rootItems.size(), 2u);
    EXPECT_EQ(tree.rootItems[1]->id, other);
    ASSERT_EQ(tree.rootItems[0]->children.size(), 2u);
    EXPECT_EQ(tree.rootItems[0]->children[1]->children[0]->id, colour);
    EXPECT_EQ(tree.CountVisibleRows(), 6);
    tree.FindItem(list)->expanded = false;
    EXPECT_EQ(tree.CountVisibleRows(), 5);
    tree.FindItem(header)->expanded = false;
    EXPECT_EQ(tree.CountVisibleRows(), 2);
}

TEST_F(TreeModelTest, ItemsAreFoundUnderCollapsedBranchesByIdentifierAndExactLabel) {
    const int header = tree.AddItem(L"Header", L"", -1, -1);
    const int group = tree.AddItem(L"Group", L"", -1, header);
    const int deep = tree.AddItem(L"Deep", L"", -1, group);
    const int second = tree.AddItem(L"Second", L"", -1, -1);
    const int twin = tree.AddItem(L"Deep", L"", -1, second);
    tree.FindItem(header)->expanded = false;
    tree.FindItem(group)->expanded = false;

    EXPECT_EQ(tree.FindItem(deep)->label, L"Deep");
    EXPECT_EQ(tree.FindItem(-1), nullptr);
    EXPECT_EQ(tree.FindItem(0), nullptr);
    EXPECT_EQ(tree.FindItem(99), nullptr);

    EXPECT_EQ(tree.FindItemByLabel(L"Deep", nullptr)->id, deep) << "the first in pre-order";
    EXPECT_EQ(tree.FindItemByLabel(L"Deep", tree.FindItem(second))->id, twin);
    EXPECT_EQ(tree.FindItemByLabel(L"Deep", tree.FindItem(header))->id, deep);
    EXPECT_EQ(tree.FindItemByLabel(L"deep", nullptr), nullptr) << "letter case counts";
    EXPECT_EQ(tree.FindItemByLabel(L"Dee", nullptr), nullptr) << "the whole label counts";
    EXPECT_EQ(tree.FindItemByLabel(L"Second", tree.FindItem(second)), nullptr)
        << "`under` itself is not compared";
    EXPECT_EQ(tree.FindItemByLabel(L"Header", tree.FindItem(deep)), nullptr);
}

TEST_F(TreeModelTest, DepthCountsTheAncestorsAndAParentThatNamesNoItemGivesATopLevelItem) {
    const int header = tree.AddItem(L"Header", L"", -1, -1);
    const int child = tree.AddItem(L"Child", L"", -1, header);
    const int grandchild = tree.AddItem(L"Grandchild", L"", -1, child);
    const int orphan = tree.AddItem(L"Orphan", L"", -1, 42);
    const int orphansChild = tree.AddItem(L"Orphan's child", L"", -1, orphan);
    EXPECT_EQ(tree.GetItemDepth(tree.FindItem(header)), 1);
    EXPECT_EQ(tree.GetItemDepth(tree.FindItem(child)), 2);
    EXPECT_EQ(tree.GetItemDepth(tree.FindItem(grandchild)), 3);
    // The orphan stands at the top level but keeps its parent identifier, and its chain breaks.
    ASSERT_EQ(tree.rootItems.size(), 2u);
    EXPECT_EQ(tree.rootItems[1]->id, orphan);
    EXPECT_EQ(tree.rootItems[1]->parentId, 42);
    EXPECT_EQ(tree.GetItemDepth(tree.FindItem(orphan)), 0);
    EXPECT_EQ(tree.GetItemDepth(tree.FindItem(orphansChild)), 1);

    // Drawn as a property row with its label at the row's left edge.
    tree.splitX = 200;
    Repaint();
    const CRect row = tree.ItemRect(3);
    EXPECT_EQ(tree.rowItems[3]->id, orphan);
    EXPECT_EQ(FirstInk(row.left, row.left + 150, row.top, row.bottom, Sys(COLOR_APPWORKSPACE)),
              row.left + LeftBearing(L"Orphan"));
}

// Parent identifiers that name the item itself, a later item, or make a circle: the depth walk
// ends, and the keys walk past such items as top-level ones.
TEST_F(TreeModelTest, ParentIdentifiersThatNameTheItemItselfOrALaterItemAreSafe) {
    const int header = tree.AddItem(L"Header", L"", -1, -1);
    const int self = tree.AddItem(L"Self", L"", -1, header + 1);
    const int early = tree.AddItem(L"Early", L"", -1, self + 2);
    const int later = tree.AddItem(L"Later", L"", -1, early);  // a circle of two: early <-> later
    const int orphan = tree.AddItem(L"Orphan", L"", -1, 99);
    const int last = tree.AddItem(L"Last", L"", -1, -1);
    EXPECT_EQ(tree.rootItems.size(), 5u) << "self, early and the orphan stand at the top level";
    EXPECT_EQ(tree.FindItem(early)->children.front()->id, later);

    EXPECT_EQ(tree.GetItemDepth(tree.FindItem(self)), 0);
    EXPECT_EQ(tree.GetItemDepth(tree.FindItem(early)), 0);
    EXPECT_EQ(tree.GetItemDepth(tree.FindItem(later)), 0);
    Repaint();
    EXPECT_EQ(RowIds(), (std::vector<int>{header, self, early, later, orphan, last}));

    std::vector<int> down;
    for (int step = 0; step < 7; ++step) {
        Press(VK_DOWN);
        down.push_back(tree.selectedItem != nullptr ? tree.selectedItem->id : 0);
    }
    EXPECT_EQ(down, (std::vector<int>{header, self, early, later, orphan, last, 0}));
    tree.SetSelection(tree.FindItem(last));
    std::vector<int> up;
    for (int step = 0; step < 6; ++step) {
        Press(VK_UP);
        up.push_back(tree.selectedItem != nullptr ? tree.selectedItem->id : 0);
    }
    EXPECT_EQ(up, (std::vector<int>{orphan, later, early, self, header, 0}));
}

TEST_F(TreeModelTest, AddingWhileScrolledKeepsTheLastPageInViewAndTheScrollBarInStep) {
    tree.MoveWindow(10, 10, 300, 4 * H() + 2);
    AddRows(9);
    Repaint();
    tree.scrollPos = 2;
    tree.AddItem(L"More", L"", -1, -1);
    Pump();
    EXPECT_EQ(tree.scrollPos, 11 - 4) << "added items scroll to the end";
    EXPECT_EQ(tree.GetScrollPos(SB_VERT), 7);
    EXPECT_EQ(RowIds().back(), 11);
    EXPECT_EQ(RowIds().front(), 8);
}

TEST_F(TreeModelTest, ItemsOwnTheirChildrenAndEditorsAndGoWithTheTree) {
    const int header = tree.AddItem(L"Header", L"", -1, -1);
    CSPMobTreeItem* text = Add(L"Text", L"v", CSPMobTree::kTextItem, header);
    CSPMobTreeItem* list = Add(L"List", L"a", CSPMobTree::kListItem, header);
    static_cast<CComboBoxItem*>(list)->AddChoice(L"a");
    text->BeginEdit(tree.ValueCell(1));
    list->BeginEdit(tree.ValueCell(2));
    HWND editor = static_cast<CEditItem*>(text)->editor->m_hWnd;
    ASSERT_TRUE(::IsWindow(editor));
    tree.DestroyWindow();  // the window goes first, as when a dialog closes
    EXPECT_FALSE(::IsWindow(editor));
    // Ending the edit of an editor whose window is gone keeps the value instead of emptying it.
    text->EndEdit();
    EXPECT_EQ(text->value, L"v");
    EXPECT_EQ(static_cast<CEditItem*>(text)->editor, nullptr);
}

}  // namespace
