#include "settings/sp_mob_tree_item.h"

#include <algorithm>

#include "platform/graphics/system_colors.h"
#include "settings/sp_mob_tree.h"
#include "settings/tree_drawing.h"
#include "settings/tree_messages.h"

namespace {

constexpr int kIndentPerLevel = 10;
// The value's text starts this far right of the column line.
constexpr int kValueOffset = 11;
constexpr UINT kRowTextFormat = DT_SINGLELINE | DT_VCENTER;

// Draws `text` in the DC's current font made bold.
void DrawBoldText(CDC& dc, const std::wstring& text, RECT* rect) {
    LOGFONT logFont{};
    if (::GetObjectW(dc.GetCurrentObject(OBJ_FONT), sizeof(logFont), &logFont) == 0) return;
    logFont.lfWeight = FW_BOLD;
    CFont bold;
    if (!bold.CreateFontIndirect(&logFont)) return;
    HFONT previous = dc.SelectObject(&bold);
    dc.DrawText(text, rect, kRowTextFormat);
    dc.SelectObject(previous);
}

}  // namespace

CSPMobTreeItem::CSPMobTreeItem(CSPMobTree* owner) : tree(owner) {}

CSPMobTreeItem::~CSPMobTreeItem() = default;

void CSPMobTreeItem::Draw(CDC* dc, const RECT& rect, int splitX) {
    const bool header = parentId == -1;
    const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;

    if (header) {
        settings::FillWithSysColor(*dc, rect, selected ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    } else {
        settings::FillWithSysColor(*dc, rect, selected ? COLOR_HIGHLIGHT : COLOR_APPWORKSPACE);
        settings::DrawSysColorLine(*dc, COLOR_BTNSHADOW,
                                   {{l + splitX, t + 1}, {l + splitX, b - 1}});
    }
    // The separator lies on the one-pixel gap between this row and the next.
    settings::DrawSysColorLine(*dc, COLOR_BTNSHADOW, {{l, b}, {r - 1, b}});

    const int previousMode = dc->SetBkMode(TRANSPARENT);
    // Headers and their direct children share the first indent; each deeper level adds one.
    int depth = tree->GetItemDepth(this);
    if (depth > 1) depth -= 1;
    CRect text(l + kIndentPerLevel * depth, t, r, b);
    const int textColor = selected   ? COLOR_BTNHIGHLIGHT
                          : disabled ? COLOR_GRAYTEXT
                                     : COLOR_WINDOWTEXT;
    const COLORREF previousColor = dc->SetTextColor(settings::SysColor(textColor));

    if (header) {
        DrawBoldText(*dc, label, &text);
    } else {
        text.right = l + splitX - 1;
        if (text.right > text.left) dc->DrawText(label, &text, kRowTextFormat);
    }
    DrawValue(dc, rect, splitX);

    dc->SetTextColor(previousColor);
    dc->SetBkMode(previousMode);
}

void CSPMobTreeItem::DrawValue(CDC* dc, const RECT& rect, int splitX) {
    if (parentId == -1) return;
    CRect cell(rect.left + splitX + kValueOffset, rect.top, rect.right, rect.bottom);
    dc->DrawText(value, &cell, kRowTextFormat);
}

bool CSPMobTreeItem::IsEditing() { return false; }

void CSPMobTreeItem::EndEdit() {
    if (tree->m_hWnd == nullptr) return;
    // Sent, not posted: the parent has acted on the new value before the edit is over.
    ::SendMessage(::GetParent(tree->m_hWnd), WM_TREE_ITEM_CHANGED, reinterpret_cast<WPARAM>(this),
                  0);
}

void CSPMobTreeItem::BeginEdit(const RECT& /*cell*/) {}

bool CSPMobTreeItem::RefreshRow(bool queryOnly) {
    CRect client(0, 0, 0, 0);
    tree->GetClientRect(&client);
    const auto slot = std::find(tree->rowItems.begin(), tree->rowItems.end(), this);
    if (slot == tree->rowItems.end()) return true;
    const int row = static_cast<int>(slot - tree->rowItems.begin());
    const int top = client.top + row * CSPMobTree::rowHeight + 1;
    const int bottom = client.top + (row + 1) * CSPMobTree::rowHeight;
    const bool notWhollyVisible = bottom > client.bottom || top < client.top;
    if (!queryOnly) {
        const CRect rowRect(client.left + CSPMobTree::gutterWidth + 1, top, client.right - 1,
                            bottom);
        tree->InvalidateRect(&rowRect, TRUE);
    }
    return notWhollyVisible;
}

std::wstring CSPMobTreeItem::TextOfEditor(const CWnd& editor, const std::wstring& fallback) {
    if (editor.m_hWnd == nullptr || !::IsWindow(editor.m_hWnd)) return fallback;
    std::wstring text = editor.GetWindowText();
    if (text.size() > kMaxTextLength) text.resize(kMaxTextLength);
    return text;
}
