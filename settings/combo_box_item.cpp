#include "settings/combo_box_item.h"

#include "settings/sp_mob_tree.h"

namespace {

// The opened list may reach this many cell heights down from the cell's top.
constexpr int kListHeightInCells = 5;

}  // namespace

CComboBoxItem::CComboBoxItem(CSPMobTree* owner) : CSPMobTreeItem(owner) {}

CComboBoxItem::~CComboBoxItem() = default;

void CComboBoxItem::AddChoice(const wchar_t* text) { choices.emplace_back(text); }

void CComboBoxItem::SetCurrentChoice(const wchar_t* text) {
    currentChoice = text != nullptr ? text : L"";
}

void CComboBoxItem::CloseEditor() {
    if (!editor) return;
    value = TextOfEditor(*editor, value);
    currentChoice = value;
    editor->DestroyWindow();
    editor.reset();
}

void CComboBoxItem::BeginEdit(const RECT& cell) {
    CloseEditor();  // a second BeginEdit keeps the first list's choice, without a notification
    // The closed box covers the value cell; the rectangle's height is how far the list may reach.
    const CRect area(cell.left, cell.top, cell.right,
                     cell.top + kListHeightInCells * (cell.bottom - cell.top));
    auto list = std::make_unique<CComboBox>();
    if (!list->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, area, tree, 0)) {
        return;
    }
    editor = std::move(list);
    for (const std::wstring& choice : choices) editor->AddString(choice.c_str());
    editor->SelectString(-1, currentChoice.c_str());
    editor->SetFocus();  // the user opens the list
}

void CComboBoxItem::EndEdit() {
    CloseEditor();
    CSPMobTreeItem::EndEdit();
    if (tree->m_hWnd != nullptr) tree->SetFocus();
}
