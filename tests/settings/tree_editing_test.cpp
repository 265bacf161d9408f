// In-place editing: text and list items open their editors over the value cell, take what was
// typed or chosen into their value when the edit ends, tell the tree's parent, and give the focus
// back to the tree. Enter and Escape in an editor stay with the tree instead of reaching the
// dialog, whose default button would close the whole editor.
#include "settings/tree_fixture.h"

namespace {

class TreeEditingTest : public TreeTest {
  protected:
    void SetUp() override {
        TreeTest::SetUp();
        CreateTree(CRect(10, 10, 310, 410));
        header = tree.AddItem(L"Header", L"", -1, -1);
        text = static_cast<CEditItem*>(Add(L"Text", L"old", CSPMobTree::kTextItem, header));
        list = static_cast<CComboBoxItem*>(Add(L"List", L"Beta", CSPMobTree::kListItem, header));
        for (const wchar_t* choice : {L"Alpha", L"Beta", L"Gamma"}) list->AddChoice(choice);
        list->SetCurrentChoice(L"Beta");
        Repaint();
    }
    // Taps the value cell of `row`, which selects its item and opens the editor.
    void TapValue(int row) {
        const CRect cell = tree.ValueCell(row);
        Tap(cell.left + 5, cell.top + cell.Height() / 2);
        TakeEvents();
    }
    // What the value column of `row` shows: the first column with ink right of the line.
    int ValueInk(int row) const {
        const CRect rect = tree.ItemRect(row);
        const CRect cell = tree.ValueCell(row);
        return FirstInk(cell.left + 1, cell.right, rect.top, rect.bottom,
                        Pixel(cell.left + 2, rect.top));
    }

    int header = 0;
    CEditItem* text = nullptr;
    CComboBoxItem* list = nullptr;
};

TEST_F(TreeEditingTest, TextSetInTheEditBoxIsTheValueAfterEnterAndTheTreeHasTheFocusAgain) {
    TapValue(1);
    ASSERT_NE(text->editor, nullptr);
    EXPECT_EQ(text->editor->GetWindowText(), L"old");
    EXPECT_EQ(CWnd::GetFocus(), text->editor.get());
    EXPECT_EQ(text->editor->GetStyle() & (WS_BORDER | ES_AUTOHSCROLL | WS_VISIBLE),
              WS_BORDER | ES_AUTOHSCROLL | WS_VISIBLE);
    text->editor->SetWindowText(L"new text");
    Press(VK_RETURN);
    EXPECT_EQ(text->value, L"new text");
    EXPECT_EQ(text->editor, nullptr);
    EXPECT_EQ(::GetWindow(tree.m_hWnd, GW_CHILD), nullptr);
    EXPECT_EQ(CWnd::GetFocus(), &tree);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 2"})
        << "Enter stays with the tree: the dialog never sees it";
    EXPECT_EQ(ValueInk(1), tree.ValueCell(1).left + 11 + LeftBearing(L"new text"));

    // The tree has the focus again, so the next Enter opens the editor once more.
    Press(VK_RETURN);
    ASSERT_NE(text->editor, nullptr);
    EXPECT_EQ(text->editor->GetWindowText(), L"new text");
    Press(VK_RETURN);
    EXPECT_EQ(text->editor, nullptr);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 2"});
}

TEST_F(TreeEditingTest, TypedCharactersEndUpInTheValue) {
    TapValue(1);
    ASSERT_NE(text->editor, nullptr);
    text->editor->SetWindowText(L"");
    for (const wchar_t character : std::wstring(L"42 да")) platform::input::Character(character);
    Pump();
    EXPECT_EQ(text->editor->GetWindowText(), L"42 да");
    Press(VK_RETURN);
    EXPECT_EQ(text->value, L"42 да");
}

TEST_F(TreeEditingTest, TextLongerThanTheValueHoldsIsCutAndASecondBeginKeepsTheFirstText) {
    text->BeginEdit(tree.ValueCell(1));
    text->editor->SetWindowText(std::wstring(300, L'x').c_str());
    text->BeginEdit(tree.ValueCell(1));  // a fresh editor, with the first one's text
    EXPECT_EQ(text->value, std::wstring(259, L'x'));
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{}) << "no notification for the first editor";
    ASSERT_NE(text->editor, nullptr);
    EXPECT_EQ(text->editor->GetWindowText(), std::wstring(259, L'x'));
    EXPECT_EQ(::GetWindow(::GetWindow(tree.m_hWnd, GW_CHILD), GW_HWNDNEXT), nullptr)
        << "one editor at a time";
    text->editor->SetWindowText(std::wstring(259, L'y').c_str());
    text->EndEdit();
    EXPECT_EQ(text->value, std::wstring(259, L'y'));
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 2"});
}

TEST_F(TreeEditingTest, TheListOpensOnTheCurrentChoiceAndTheChosenEntryIsTheValue) {
    TapValue(2);
    ASSERT_NE(list->editor, nullptr);
    CComboBox& box = *list->editor;
    EXPECT_EQ(box.GetCount(), 3);
    EXPECT_EQ(box.GetCurSel(), 1);
    EXPECT_EQ(box.GetWindowText(), L"Beta");
    EXPECT_FALSE(box.GetDroppedState()) << "the user opens the list";
    EXPECT_EQ(CWnd::GetFocus(), &box);
    const CRect boxRect = RectOnTree(box);
    EXPECT_EQ(boxRect.TopLeft(), tree.ValueCell(2).TopLeft());
    EXPECT_EQ(boxRect.Width(), tree.ValueCell(2).Width());
    EXPECT_EQ(boxRect.Height(), platform::ComboBoxClosedHeight());

    box.SetCurSel(2);
    Press(VK_RETURN);
    EXPECT_EQ(list->value, L"Gamma");
    EXPECT_EQ(list->currentChoice, L"Gamma");
    EXPECT_EQ(list->editor, nullptr);
    EXPECT_EQ(CWnd::GetFocus(), &tree);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 3"});
    EXPECT_EQ(ValueInk(2), tree.ValueCell(2).left + 11 + LeftBearing(L"Gamma"));

    // The next opening starts on the new choice; a prefix of a choice finds it too.
    Press(VK_RETURN);
    ASSERT_NE(list->editor, nullptr);
    EXPECT_EQ(list->editor->GetCurSel(), 2);
    Press(VK_RETURN);
    list->SetCurrentChoice(L"al");
    list->BeginEdit(tree.ValueCell(2));
    EXPECT_EQ(list->editor->GetCurSel(), 0);
    list->EndEdit();
    EXPECT_EQ(list->value, L"Alpha");
}

TEST_F(TreeEditingTest, AListWithoutAMatchingOrAnyChoiceEndsWithAnEmptyValue) {
    list->SetCurrentChoice(L"Omega");
    TapValue(2);
    ASSERT_NE(list->editor, nullptr);
    EXPECT_EQ(list->editor->GetCurSel(), CB_ERR);
    Press(VK_RETURN);
    EXPECT_EQ(list->value, L"");
    EXPECT_EQ(list->currentChoice, L"");

    CComboBoxItem* empty =
        static_cast<CComboBoxItem*>(Add(L"Empty", L"shown", CSPMobTree::kListItem, header));
    empty->SetCurrentChoice();
    EXPECT_EQ(empty->currentChoice, L"");
    Repaint();
    TapValue(3);
    ASSERT_NE(empty->editor, nullptr);
    EXPECT_EQ(empty->editor->GetCount(), 0);
    tree.SetFocus();
    Press(VK_UP);
    EXPECT_EQ(empty->value, L"");
    EXPECT_EQ(empty->editor, nullptr);
}

// Enter and Escape in an in-place editor end the edit in the tree; they must not go on to the
// dialog, which would close the whole editor.
TEST_F(TreeEditingTest, EnterAndEscapeInAnEditorStayWithTheTreeWhileTheyConcernIt) {
    TapValue(2);
    ASSERT_NE(list->editor, nullptr);
    list->editor->ShowDropDown(TRUE);
    ASSERT_TRUE(list->editor->GetDroppedState());
    Press(VK_ESCAPE);
    ASSERT_NE(list->editor, nullptr) << "Escape is the open list's";
    EXPECT_FALSE(list->editor->GetDroppedState()) << "it closes only the list";
    list->editor->ShowDropDown(TRUE);
    Press(VK_RETURN);
    ASSERT_NE(list->editor, nullptr) << "Enter is the open list's: it chooses";
    EXPECT_FALSE(list->editor->GetDroppedState());
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{}) << "neither reaches the dialog";

    Press(VK_RETURN);
    EXPECT_EQ(list->editor, nullptr);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 3"});

    // Escape in an editor without an open list ends the edit as Enter does, keeping the text;
    // only on the tree itself, with no edit open, does it go on to the dialog.
    TapValue(1);
    ASSERT_NE(text->editor, nullptr);
    text->editor->SetWindowText(L"old!");
    Press(VK_ESCAPE);
    EXPECT_EQ(text->editor, nullptr);
    EXPECT_EQ(text->value, L"old!");
    EXPECT_EQ(CWnd::GetFocus(), &tree);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 2"});
    Press(VK_ESCAPE);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"key 27"});
    // Keys the tree does not use go on from an editor too.
    TapValue(1);
    Press(VK_DOWN);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"key 40"});
    EXPECT_NE(text->editor, nullptr);

    // An editor with no item selected (opened by its owner) still hands the focus back.
    tree.SetSelection(nullptr);
    tree.selectedItem = nullptr;
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 2"});
    text->BeginEdit(tree.ValueCell(1));
    Press(VK_RETURN);
    EXPECT_EQ(CWnd::GetFocus(), &tree);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{});
}

TEST_F(TreeEditingTest, EndingAnEditNotifiesTheParentWithTheItemEvenWithoutAnEditor) {
    CSPMobTreeItem* plain = tree.FindItem(header);
    plain->EndEdit();
    text->EndEdit();
    list->EndEdit();
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"changed 1", "changed 2", "changed 3"}));
    EXPECT_EQ(text->value, L"old");
    EXPECT_EQ(list->value, L"Beta") << "no editor, no change";
    EXPECT_FALSE(text->IsEditing());
    text->BeginEdit(tree.ValueCell(1));
    EXPECT_FALSE(text->IsEditing()) << "an in-place control is no pop-up editor";
}

}  // namespace
