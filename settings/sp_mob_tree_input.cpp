// The property tree's input: the direction keys, Enter and Escape move the selection, open and
// close branches and start and end edits; the stylus selects rows, toggles expand boxes, opens
// editors with a tap on a value cell and drags the column line; the scroll bar scrolls by whole
// rows. Before the selection moves, the tree scrolls or a press lands on it, the selected item's
// edit ends, so the edited value is in its item first.
#include <algorithm>
#include <cstdlib>

#include "platform/controls/combo_box.h"
#include "settings/sp_mob_tree.h"

const CSPMobTree::ItemList* CSPMobTree::SiblingsOf(const CSPMobTreeItem* item,
                                                   CSPMobTreeItem** parent) const {
    *parent = FindItem(item->parentId);
    if (*parent != nullptr) {
        const ItemList& children = (*parent)->children;
        const auto found = std::find_if(children.begin(), children.end(),
                                        [item](const auto& child) { return child.get() == item; });
        if (found != children.end()) return &children;
    }
    // A parent identifier that names no item, the item itself or a later item: the item was put
    // at the top level when it was added.
    *parent = nullptr;
    return &rootItems;
}

CSPMobTreeItem* CSPMobTree::GetNextItem(CSPMobTreeItem* item) const {
    if (item->expanded && item->HasChildren()) return item->children.front().get();
    return GetAdjacentItem(item, Direction::Next);
}

CSPMobTreeItem* CSPMobTree::GetAdjacentItem(CSPMobTreeItem* item, Direction direction) const {
    CSPMobTreeItem* parent = nullptr;
    const ItemList& siblings = *SiblingsOf(item, &parent);
    const auto found = std::find_if(siblings.begin(), siblings.end(),
                                    [item](const auto& sibling) { return sibling.get() == item; });
    if (found == siblings.end()) return nullptr;
    if (direction == Direction::Previous) {
        if (found == siblings.begin()) return parent;
        CSPMobTreeItem* last = std::prev(found)->get();
        while (last->HasChildren() && last->expanded) last = last->children.back().get();
        return last;
    }
    if (std::next(found) != siblings.end()) return std::next(found)->get();
    return parent != nullptr ? GetAdjacentItem(parent, Direction::Next) : nullptr;
}

void CSPMobTree::EndSelectedEdit() {
    if (selectedItem != nullptr) selectedItem->EndEdit();
}

void CSPMobTree::SelectMovedTo(CSPMobTreeItem* item, bool towardsEnd) {
    item->selected = true;
    currentItem = item;
    ::SendMessage(::GetParent(m_hWnd), WM_TREE_SELECTION_CHANGED, 0, 0);
    // A newly selected row that is not wholly in view brings itself in by one row.
    if (item->RefreshRow(false)) {
        scrollPos += towardsEnd ? 1 : -1;
        UpdateScroll(false);
        // Keys typed ahead move on from the rows as now shown, not from those of the last paint,
        // which would no longer hold the selection.
        UpdateWindow();
    }
}

void CSPMobTree::SetSelection(CSPMobTreeItem* item) {
    if (selectedItem != nullptr && selectedItem != item) {
        selectedItem->selected = false;
        selectedItem->EndEdit();
        selectedItem->RefreshRow(false);
    }
    if (item == nullptr) return;
    selectedItem = item;
    SelectMovedTo(item, true);
}

BOOL CSPMobTree::PreTranslateMessage(MSG* message) {
    if (message->message == WM_KEYDOWN) {
        if (HandleEditorKey(message)) return TRUE;
        if (OnKey(static_cast<UINT>(message->wParam))) return TRUE;
    }
    return CWnd::PreTranslateMessage(message);
}

bool CSPMobTree::HandleEditorKey(MSG* message) {
    const auto key = static_cast<UINT>(message->wParam);
    if ((key != VK_RETURN && key != VK_ESCAPE) || message->hwnd == m_hWnd ||
        !::IsChild(m_hWnd, message->hwnd)) {
        return false;
    }
    // An open list takes both keys itself (Enter chooses, Escape closes only the list); they
    // must not go on to the dialog, which would close the whole editor.
    const CWnd* focus = CWnd::FromHandle(::GetFocus());
    if (focus != nullptr && focus->IsKindOf(RUNTIME_CLASS(CComboBox)) &&
        static_cast<const CComboBox*>(focus)->GetDroppedState()) {
        ::TranslateMessage(message);
        ::DispatchMessage(message);
        return true;
    }
    // Enter or Escape in an editor ends the edit and gives the focus back to the tree, as Enter
    // on the tree does while an item edits; Escape never reaches the dialog from here, which
    // would close the whole editor.
    if (selectedItem != nullptr) {
        selectedItem->EndEdit();
    } else {
        SetFocus();
    }
    return true;
}

bool CSPMobTree::OnKey(UINT virtualKey) {
    if (::GetFocus() != m_hWnd) return false;
    switch (virtualKey) {
        case VK_DOWN:
            return MoveSelectionDown();
        case VK_UP:
            return MoveSelectionUp();
        case VK_RIGHT:
            return SetSelectedExpanded(true);
        case VK_LEFT:
            return SetSelectedExpanded(false);
        case VK_RETURN:
            return ToggleSelectedEdit();
        case VK_ESCAPE:
            // An edit still open (a picker whose keys went back to the tree) ends; only then
            // does Escape go on to close the editor.
            if (selectedItem == nullptr || !selectedItem->IsEditing()) return false;
            selectedItem->EndEdit();
            return true;
        default:
            return false;
    }
}

bool CSPMobTree::MoveSelectionDown() {
    CSPMobTreeItem* next = nullptr;
    if (selectedItem != nullptr) {
        selectedItem->selected = false;
        selectedItem->EndEdit();
        if (LaidOutRow(selectedItem) != -1) {
            selectedItem->RefreshRow(false);
            next = GetNextItem(selectedItem);
        }
    }
    // With nothing selected the top row is next; past the last item, or from an item scrolled
    // out of view, nothing is.
    if (next == nullptr && selectedItem == nullptr && rowCapacity > 0) next = rowItems[0];
    selectedItem = next;
    if (next != nullptr) SelectMovedTo(next, true);
    return true;
}

bool CSPMobTree::MoveSelectionUp() {
    CSPMobTreeItem* previous = nullptr;
    if (selectedItem != nullptr) {
        selectedItem->selected = false;
        selectedItem->EndEdit();
        if (LaidOutRow(selectedItem) != -1) {
            selectedItem->RefreshRow(false);
            previous = GetAdjacentItem(selectedItem, Direction::Previous);
        }
    }
    // With nothing selected the last wholly visible row is next.
    if (previous == nullptr && selectedItem == nullptr && rowCount > 0) {
        previous = rowItems[static_cast<std::size_t>(rowCount - 1)];
        if (rowCount > 1 && previous->RefreshRow(true)) {
            previous = rowItems[static_cast<std::size_t>(rowCount - 2)];
        }
    }
    selectedItem = previous;
    if (previous != nullptr) SelectMovedTo(previous, false);
    return true;
}

bool CSPMobTree::SetSelectedExpanded(bool expand) {
    if (selectedItem == nullptr) return false;
    selectedItem->EndEdit();
    if (LaidOutRow(selectedItem) == -1) return false;
    selectedItem->expanded = expand;
    UpdateScroll(false);
    return true;
}

bool CSPMobTree::ToggleSelectedEdit() {
    const int row = LaidOutRow(selectedItem);
    if (row == -1) return true;
    if (!selectedItem->IsEditing() && !selectedItem->disabled) {
        selectedItem->BeginEdit(ValueCell(row));
    } else {
        selectedItem->EndEdit();
    }
    return true;
}

void CSPMobTree::OnLButtonDown(UINT flags, CPoint point) {
    EndSelectedEdit();
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    const int lineX = client.left + gutterWidth + splitX;
    // Strictly inside the zone on either side of the line.
    if (std::abs(point.x - lineX) < splitterTolerance) {
        dragging = true;
        SetCapture();
        dragX = point.x;
    } else {
        dragging = false;
    }
    CWnd::OnLButtonDown(flags, point);
}

void CSPMobTree::OnMouseMove(UINT flags, CPoint point) {
    if (dragging && GetCapture() == this) {
        CRect client(0, 0, 0, 0);
        GetClientRect(&client);
        const int candidate = splitX + point.x - dragX;
        const int lower = minColumnWidth + client.left;
        const int upper = client.right - gutterWidth - minColumnWidth - client.left;
        if (candidate >= lower && candidate <= upper) {
            splitX = candidate;
            dragX = point.x;
        } else {
            // A limit reached ends the drag there.
            splitX = candidate < lower ? lower : upper;
            dragging = false;
            ::ReleaseCapture();
        }
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    CWnd::OnMouseMove(flags, point);
}

void CSPMobTree::OnLButtonUp(UINT flags, CPoint point) {
    if (dragging && GetCapture() == this) {
        // The movement since the last accepted step, without the limits.
        dragging = false;
        splitX += point.x - dragX;
        ::ReleaseCapture();
        CWnd::OnLButtonUp(flags, point);
        return;
    }
    // Under the capture the point may lie above the window: no row there.
    const int row = point.y < 0 ? -1 : point.y / rowHeight;
    CSPMobTreeItem* item = row >= 0 && row < rowCapacity ? rowItems[row] : nullptr;
    if (item == nullptr) {
        CWnd::OnLButtonUp(flags, point);
        return;
    }
    if (ExpandBox(row).PtInRect(point)) {
        item->expanded = !item->expanded;
        UpdateScroll(false);
        if (!item->expanded) {
            scrollPos = GetScrollPos(SB_VERT);
            SetScrollPos(SB_VERT, scrollPos, TRUE);
            InvalidateRect(nullptr, TRUE);
        }
        return;
    }
    // Selecting a row cut off at the bottom scrolls it up: its editor opens where it now is.
    int editRow = row;
    if (item != selectedItem) {
        const int scrolledFrom = scrollPos;
        SetSelection(item);
        editRow -= scrollPos - scrolledFrom;
    }
    if (ValueCell(row).PtInRect(point) && !item->disabled && editRow >= 0) {
        item->BeginEdit(ValueCell(editRow));
    }
    CWnd::OnLButtonUp(flags, point);
}

void CSPMobTree::OnVScroll(UINT code, UINT position, CWnd* scrollBar) {
    EndSelectedEdit();
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    const int page = client.bottom / rowHeight;
    const int target = static_cast<int>(position);
    bool moved = false;
    switch (code) {
        case SB_LINEUP:
            if (scrollPos > 0) {
                scrollPos -= 1;
                moved = true;
            }
            break;
        case SB_LINEDOWN:
            if (scrollPos + page <= CountVisibleRows() - 1) {
                scrollPos += 1;
                moved = true;
            }
            break;
        case SB_THUMBPOSITION:
            scrollPos = target;
            moved = true;
            break;
        case SB_THUMBTRACK:
            if (target != scrollPos) {
                scrollPos = target;
                moved = true;
            }
            break;
        default:  // page clicks, top, bottom and the end of a scroll do nothing
            break;
    }
    if (moved) {
        SetScrollPos(SB_VERT, scrollPos, TRUE);
        InvalidateRect(nullptr, TRUE);
    }
    CWnd::OnVScroll(code, position, scrollBar);
}
