#include "settings/edit_item.h"

#include "settings/sp_mob_tree.h"

CEditItem::CEditItem(CSPMobTree* owner) : CSPMobTreeItem(owner) {}

CEditItem::~CEditItem() = default;

void CEditItem::CloseEditor() {
    if (!editor) return;
    value = TextOfEditor(*editor, value);
    editor->DestroyWindow();
    editor.reset();
}

void CEditItem::BeginEdit(const RECT& cell) {
    CloseEditor();  // a second BeginEdit keeps the first editor's text, without a notification
    auto box = std::make_unique<CEdit>();
    if (!box->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, cell, tree, 0)) return;
    editor = std::move(box);
    editor->SetWindowText(value.c_str());
    editor->SetFocus();
}

void CEditItem::EndEdit() {
    CloseEditor();
    CSPMobTreeItem::EndEdit();
    if (tree->m_hWnd != nullptr) tree->SetFocus();
}
