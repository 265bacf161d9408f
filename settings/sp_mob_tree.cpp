#include "settings/sp_mob_tree.h"

#include <algorithm>
#include <cwchar>

#include "platform/controls/combo_box.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"
#include "settings/color_item.h"
#include "settings/combo_box_item.h"
#include "settings/edit_item.h"
#include "settings/font_item.h"
#include "settings/tree_drawing.h"

namespace {

using ItemList = std::vector<std::unique_ptr<CSPMobTreeItem>>;

// Depth-first pre-order search of `items` and all their descendants.
template <typename Predicate>
CSPMobTreeItem* FindInForest(const ItemList& items, const Predicate& matches) {
    for (const auto& item : items) {
        if (matches(*item)) return item.get();
        if (CSPMobTreeItem* found = FindInForest(item->children, matches)) return found;
    }
    return nullptr;
}

int CountRows(const ItemList& items) {
    int count = 0;
    for (const auto& item : items) {
        count += 1;
        if (item->expanded) count += CountRows(item->children);
    }
    return count;
}

std::unique_ptr<CSPMobTreeItem> MakeItem(int kind, CSPMobTree* tree) {
    switch (kind) {
        case CSPMobTree::kTextItem:
            return std::make_unique<CEditItem>(tree);
        case CSPMobTree::kListItem:
            return std::make_unique<CComboBoxItem>(tree);
        case CSPMobTree::kColorItem:
            return std::make_unique<CColorItem>(tree);
        case CSPMobTree::kFontItem:
            return std::make_unique<CFontItem>(tree);
        default:
            return std::make_unique<CSPMobTreeItem>(tree);
    }
}

}  // namespace

IMPLEMENT_DYNAMIC(CSPMobTree, CWnd)

BEGIN_MESSAGE_MAP(CSPMobTree, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

// Until a tree is created, rows one pixel high (nothing divides by zero).
int CSPMobTree::rowHeight = 1;
int CSPMobTree::splitterTolerance = 0;
int CSPMobTree::minColumnWidth = 1;
int CSPMobTree::gutterWidth = 1;
int CSPMobTree::boxSize = 1;

CSPMobTree::CSPMobTree() = default;

CSPMobTree::~CSPMobTree() {
    // Items first: their editors are children of the window, which goes after them.
    rootItems.clear();
}

BOOL CSPMobTree::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    // One class for every tree of the process, registered on first use.
    static const wchar_t* className =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    return CWnd::Create(className, L"", style, rect, parent, id);
}

void CSPMobTree::SetMetrics(int probeHeight) {
    // Everything divides by the row height: a probe that reports no height must not stop the tree.
    const int h = std::max(probeHeight, 1);
    rowHeight = h;
    splitterTolerance = h / 6;
    minColumnWidth = h;
    gutterWidth = h;
    boxSize = h / 2 + 1;
}

void CSPMobTree::ResetRowTable(int windowHeight) {
    rowCapacity = std::max(windowHeight, 0) / rowHeight + 1;
    rowItems.assign(static_cast<std::size_t>(rowCapacity), nullptr);
    rowCount = 0;
}

int CSPMobTree::OnCreate(LPCREATESTRUCT createStruct) {
    // Rows are as high as a closed combo box, so that an in-place list fits a row exactly.
    {
        CComboBox probe;
        probe.Create(WS_CHILD, CRect(0, 0, 100, 100), this, 0);
        CRect probeRect(0, 0, 0, 0);
        probe.GetWindowRect(&probeRect);
        SetMetrics(probeRect.Height());
        probe.DestroyWindow();
    }
    CRect window(0, 0, 0, 0);
    GetWindowRect(&window);
    splitX = (window.Width() - gutterWidth) / 2;
    ResetRowTable(window.Height());
    return CWnd::OnCreate(createStruct);
}

void CSPMobTree::OnSize(UINT type, int width, int height) {
    CWnd::OnSize(type, width, height);
    CRect window(0, 0, 0, 0);
    GetWindowRect(&window);
    if (splitX > window.Width() - gutterWidth - 10) splitX = (window.Width() - gutterWidth) / 2;
    ResetRowTable(window.Height());
    UpdateScroll(false);
    LayOutRows();
}

void CSPMobTree::LayOutRows() {
    // The paint that follows draws these rows; until then taps and keys find them already.
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    DrawTree(nullptr, client.left, client.top, client.right, client.bottom);
}

int CSPMobTree::AddItem(const wchar_t* label, const wchar_t* value, int kind, int parentId) {
    std::unique_ptr<CSPMobTreeItem> item = MakeItem(kind, this);
    item->parentId = parentId;
    item->id = nextId++;
    item->label = label != nullptr ? label : L"";
    item->value = value != nullptr ? value : L"";
    const int id = item->id;
    // A parent identifier that names no item gives a top-level item that still carries it.
    if (CSPMobTreeItem* parent = FindItem(parentId)) {
        parent->children.push_back(std::move(item));
    } else {
        rootItems.push_back(std::move(item));
    }
    UpdateScroll(true);
    return id;
}

CSPMobTreeItem* CSPMobTree::FindItem(int id) const {
    if (id == -1) return nullptr;
    return FindInForest(rootItems, [id](const CSPMobTreeItem& item) { return item.id == id; });
}

CSPMobTreeItem* CSPMobTree::FindItemByLabel(const wchar_t* label,
                                            const CSPMobTreeItem* under) const {
    if (label == nullptr) return nullptr;
    return FindInForest(under != nullptr ? under->children : rootItems,
                        [label](const CSPMobTreeItem& item) { return item.label == label; });
}

int CSPMobTree::GetItemDepth(const CSPMobTreeItem* item) const {
    // Items are never removed, so there are nextId - 1 of them: a chain of parents longer than
    // that turns in a circle.
    const int itemCount = nextId - 1;
    int ancestors = 0;
    for (const CSPMobTreeItem* current = item; current != nullptr && ancestors < itemCount;) {
        if (current->parentId == -1) return ancestors + 1;
        current = FindItem(current->parentId);
        if (current == nullptr) return ancestors;
        ancestors += 1;
    }
    return 0;
}

int CSPMobTree::CountVisibleRows() const { return CountRows(rootItems); }

void CSPMobTree::UpdateScroll(bool clampToEnd) {
    if (m_hWnd == nullptr) return;
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    const int page = client.bottom / rowHeight;
    const int count = CountVisibleRows();
    if (scrollPos != 0) {
        if (count <= page) {
            scrollPos = 0;
        } else {
            overflow = true;
            if (clampToEnd) scrollPos = count - page;
        }
    }
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = count - 1;
    info.nPage = static_cast<UINT>(page);
    info.nPos = scrollPos;
    SetScrollInfo(SB_VERT, &info, TRUE);
    InvalidateRect(nullptr, TRUE);
}

CRect CSPMobTree::RowRectIn(const RECT& client, int row) {
    return CRect(client.left + gutterWidth + 1, client.top + row * rowHeight + 1, client.right - 1,
                 client.top + (row + 1) * rowHeight);
}

CRect CSPMobTree::ExpandBoxIn(const RECT& client, int row) {
    const int rowTop = client.top + row * rowHeight;
    return CRect((gutterWidth - boxSize) / 2, rowTop + (rowHeight - boxSize) / 2 + 1,
                 (gutterWidth + boxSize) / 2, rowTop + (rowHeight + boxSize) / 2 + 1);
}

CRect CSPMobTree::ItemRect(int row) const {
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    return RowRectIn(client, row);
}

CRect CSPMobTree::ValueCell(int row) const {
    CRect cell = ItemRect(row);
    cell.left += splitX;
    return cell;
}

CRect CSPMobTree::ExpandBox(int row) const {
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    return ExpandBoxIn(client, row);
}

int CSPMobTree::LaidOutRow(const CSPMobTreeItem* item) const {
    if (item == nullptr) return -1;
    const auto end = rowItems.begin() + std::clamp(rowCount, 0, rowCapacity);
    const auto slot = std::find(rowItems.begin(), end, item);
    return slot == end ? -1 : static_cast<int>(slot - rowItems.begin());
}

void CSPMobTree::OnPaint() {
    overflow = false;
    CPaintDC dc(this);
    CDC memoryDC;
    if (!memoryDC.CreateCompatibleDC(&dc)) return;
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    const int L = client.left, T = client.top, R = client.right, B = client.bottom;
    // The bitmap is kept from one paint to the next while the client size stays: a new one of
    // a full screen costs more than drawing the rows into it.
    const CSize size(R - L, B - T);
    if (offscreen_.GetSafeHandle() == nullptr || offscreenSize_.cx != size.cx ||
        offscreenSize_.cy != size.cy) {
        offscreen_.DeleteObject();
        if (!offscreen_.CreateCompatibleBitmap(dc, size.cx, size.cy)) return;
        offscreenSize_ = size;
    }
    HBITMAP previousBitmap = memoryDC.SelectObject(&offscreen_);

    settings::FillWithSysColor(memoryDC, CRect(L + gutterWidth, T, R - L - 1, B - T),
                               COLOR_APPWORKSPACE);
    settings::FillWithSysColor(memoryDC, CRect(L + 1, T, gutterWidth, B - T), COLOR_BTNFACE);
    settings::DrawSysColorLine(memoryDC, COLOR_BTNSHADOW,
                               {{L + gutterWidth, T}, {L + gutterWidth, B}});
    DrawTree(&memoryDC, L, T, R, B);
    settings::DrawSysColorLine(memoryDC, COLOR_BTNSHADOW,
                               {{L, T}, {R - 1, T}, {R - 1, B - 1}, {L, B - 1}, {L, T}});

    if (scrollPos != 0 && CountVisibleRows() > B / rowHeight) overflow = true;
    if (overflow != scrollBarShown) {
        const DWORD style = static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE));
        const DWORD changed = overflow ? (style | WS_VSCROLL) : (style & ~WS_VSCROLL);
        ::SetWindowLong(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
        scrollBarShown = overflow;
    }

    dc.BitBlt(0, 0, R, B, &memoryDC, 0, 0, SRCCOPY);
    memoryDC.SelectObject(previousBitmap);
}

void CSPMobTree::DrawTree(CDC* dc, int left, int top, int right, int bottom) {
    int row = 0;
    int index = 0;
    DrawList(dc, CRect(left, top, right, bottom), rootItems, row, index);
    rowCount = row;
    std::fill(rowItems.begin() + std::min(rowCount, rowCapacity), rowItems.end(), nullptr);
}

void CSPMobTree::DrawChildren(CDC* dc, int left, int top, int right, int bottom,
                              CSPMobTreeItem* item, int& row, int& index) {
    DrawList(dc, CRect(left, top, right, bottom), item->children, row, index);
}

void CSPMobTree::DrawList(CDC* dc, const RECT& client, const ItemList& items, int& row,
                          int& index) {
    for (const auto& item : items) {
        if (index >= scrollPos) {
            const CRect rect = RowRectIn(client, row);
            if (rect.bottom > client.bottom) overflow = true;
            // A row that starts below the client area, or has no slot in the row table, is not
            // laid out; the enclosing walks stop at their next item for the same reason.
            if (rect.top > client.bottom || row >= rowCapacity) {
                overflow = true;
                return;
            }
            rowItems[static_cast<std::size_t>(row)] = item.get();
            if (dc != nullptr) item->Draw(dc, rect, splitX);
            row += 1;
        }
        index += 1;
        if (item->HasChildren()) {
            if (index - 1 >= scrollPos && dc != nullptr)
                DrawExpandBox(dc, item->expanded, ExpandBoxIn(client, row - 1));
            if (item->expanded) {
                DrawChildren(dc, client.left, client.top, client.right, client.bottom, item.get(),
                             row, index);
            }
        }
    }
}

void CSPMobTree::DrawExpandBox(CDC* dc, bool expanded, const RECT& box) {
    const int l = box.left, t = box.top, r = box.right, b = box.bottom;
    settings::FillWithSysColor(*dc, box, COLOR_APPWORKSPACE);
    settings::DrawSysColorLine(*dc, COLOR_BTNSHADOW,
                               {{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}, {l, t}});
    const int middleY = t + (b - t) / 2;
    settings::DrawSysColorLine(*dc, COLOR_BTNTEXT, {{l + 2, middleY}, {r - 2, middleY}});
    if (!expanded) {
        const int middleX = l + (r - l) / 2;
        settings::DrawSysColorLine(*dc, COLOR_BTNTEXT, {{middleX, t + 2}, {middleX, b - 2}});
    }
}
