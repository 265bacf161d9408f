#include "settings/font_item.h"

#include "settings/font_description.h"
#include "settings/picker_placement.h"
#include "settings/sp_mob_tree.h"

namespace {

// The picker is this many cell heights high.
constexpr int kPickerHeightInCells = 5;
// Identifier of the picker among the tree's children.
constexpr UINT kPickerId = 1000;
// The value text starts this far right of the column line.
constexpr int kValueIndent = 11;

}  // namespace

CFontItem::CFontItem(CSPMobTree* owner) : CSPMobTreeItem(owner) {}

CFontItem::~CFontItem() = default;

void CFontItem::SetFont(const wchar_t* faceName, int height, bool isBold, bool isItalic) {
    name = faceName != nullptr ? faceName : L"";
    size = height;
    bold = isBold;
    italic = isItalic;
}

void CFontItem::GetFont(std::wstring& faceName, int& height, bool& isBold, bool& isItalic) const {
    faceName = name;
    height = size;
    isBold = bold;
    isItalic = italic;
}

void CFontItem::DrawValue(CDC* dc, const RECT& rect, int splitX) {
    if (parentId == -1) return;
    // The row's height, whatever the item's size: the name must fit its row.
    const LOGFONT logFont =
        settings::FontDescription(name, rect.bottom - rect.top - 2, bold, italic);
    CFont font;
    if (!font.CreateFontIndirect(&logFont)) return;
    HFONT previousFont = dc->SelectObject(&font);
    CRect area(rect.left + splitX + kValueIndent, rect.top, rect.right, rect.bottom);
    dc->DrawText(name, &area, DT_SINGLELINE | DT_VCENTER);
    dc->SelectObject(previousFont);
}

bool CFontItem::IsEditing() { return picker.m_hWnd != nullptr; }

void CFontItem::ClosePicker() {
    if (!IsEditing()) return;
    picker.DestroyWindow();
    bold = picker.bold;
    italic = picker.italic;
    name = picker.name;
    size = picker.size;
}

void CFontItem::BeginEdit(const RECT& cell) {
    ClosePicker();  // a second BeginEdit keeps the first picker's font, without a notification
    const CRect area = settings::PlacePicker(*tree, cell, kPickerHeightInCells);

    picker.bold = bold;
    picker.italic = italic;
    picker.name = name;
    picker.size = size;
    picker.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, area, tree, kPickerId);
}

void CFontItem::EndEdit() {
    ClosePicker();
    CSPMobTreeItem::EndEdit();
    if (tree->m_hWnd != nullptr) tree->SetFocus();
    RefreshRow(false);
}
