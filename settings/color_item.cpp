#include "settings/color_item.h"

#include "settings/picker_placement.h"
#include "settings/sp_mob_tree.h"

namespace {

// The picker is this many value cells high.
constexpr int kPickerHeightInCells = 4;
constexpr UINT kPickerId = 1000;

}  // namespace

CColorItem::CColorItem(CSPMobTree* owner) : CSPMobTreeItem(owner) {}

CColorItem::~CColorItem() = default;

void CColorItem::SetColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    colour = CColorWnd::ColorOf(red, green, blue);
    RefreshRow(false);
}

COLORREF CColorItem::GetColor(std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue) const {
    red = static_cast<std::uint8_t>(colour & 0xFF);
    green = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
    blue = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
    return colour;
}

void CColorItem::DrawValue(CDC* dc, const RECT& rect, int splitX) {
    if (parentId == -1) return;
    const CRect cell(rect.left + splitX + 1, rect.top, rect.right, rect.bottom);
    CBrush brush;
    if (!brush.CreateSolidBrush(colour)) return;
    const CRect swatch(cell.left + cell.Width() / 10, cell.top + cell.Height() / 10,
                       cell.right - cell.Width() / 10, cell.bottom - cell.Height() / 10);
    dc->FillRect(&swatch, &brush);

    // A dashed frame in the inverse colour stands out on any swatch.
    CPen pen;
    if (!pen.CreatePen(PS_DASH, 1, ~colour & 0xFFFFFF)) return;
    HPEN previous = dc->SelectObject(&pen);
    dc->MoveTo(swatch.left + 2, swatch.top + 2);
    dc->LineTo(swatch.right - 3, swatch.top + 2);
    dc->LineTo(swatch.right - 3, swatch.bottom - 3);
    dc->LineTo(swatch.left + 2, swatch.bottom - 3);
    dc->LineTo(swatch.left + 2, swatch.top + 2);
    dc->SelectObject(previous);
}

bool CColorItem::IsEditing() { return picker.m_hWnd != nullptr; }

void CColorItem::BeginEdit(const RECT& cell) {
    // A second BeginEdit reopens the picker on the colour edited so far, without a notification.
    std::uint8_t red = 0, green = 0, blue = 0;
    GetColor(red, green, blue);
    if (picker.m_hWnd != nullptr) {
        red = picker.red;
        green = picker.green;
        blue = picker.blue;
        picker.DestroyWindow();
    }

    const CRect area = settings::PlacePicker(*tree, cell, kPickerHeightInCells);
    picker.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, area, tree, kPickerId, red, green, blue);
}

void CColorItem::EndEdit() {
    if (picker.m_hWnd != nullptr) {
        colour = CColorWnd::ColorOf(picker.red, picker.green, picker.blue);
        picker.DestroyWindow();
    }
    CSPMobTreeItem::EndEdit();
    if (tree->m_hWnd == nullptr) return;
    tree->SetFocus();
    RefreshRow(false);
}
