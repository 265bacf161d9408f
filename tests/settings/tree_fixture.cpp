#include "settings/tree_fixture.h"

#include "platform/windows/window_dc.h"

BEGIN_MESSAGE_MAP(TreeHost, CWnd)
ON_MESSAGE(WM_TREE_ITEM_CHANGED, OnItemChanged)
ON_MESSAGE(WM_TREE_SELECTION_CHANGED, OnSelectionChanged)
END_MESSAGE_MAP()

LRESULT TreeHost::OnItemChanged(WPARAM wParam, LPARAM /*lParam*/) {
    const auto* item = reinterpret_cast<const CSPMobTreeItem*>(wParam);
    events.push_back("changed " + std::to_string(item != nullptr ? item->id : 0));
    return 0;
}

LRESULT TreeHost::OnSelectionChanged(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    const CSPMobTreeItem* current = tree != nullptr ? tree->GetCurrentItem() : nullptr;
    events.push_back("selected " + std::to_string(current != nullptr ? current->id : 0));
    return 0;
}

BOOL TreeHost::PreTranslateMessage(MSG* message) {
    if (message->message == WM_KEYDOWN) events.push_back("key " + std::to_string(message->wParam));
    return CWnd::PreTranslateMessage(message);
}

void TreeTest::SetUp() {
    HeadlessTest::SetUp();
    // The metrics are the process's: each test starts from rows that no tree has set yet.
    CSPMobTree::SetMetrics(1);
}

void TreeTest::TearDown() {
    tree.DestroyWindow();
    host.DestroyWindow();
    HeadlessTest::TearDown();
}

void TreeTest::CreateTree(const CRect& treeRect, const CRect& hostRect) {
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, hostRect.left,
                              hostRect.top, hostRect.Width(), hostRect.Height(), nullptr, nullptr));
    host.tree = &tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, treeRect, &host, 1001));
    tree.SetFocus();
    Pump();
}

CSPMobTreeItem* TreeTest::Add(const wchar_t* label, const wchar_t* value, int kind, int parentId) {
    return tree.FindItem(tree.AddItem(label, value, kind, parentId));
}

void TreeTest::AddRows(int count) {
    const int header = tree.AddItem(L"Header", L"", -1, -1);
    for (int index = 1; index <= count; ++index) {
        const std::wstring label = L"Row " + std::to_wstring(index);
        tree.AddItem(label.c_str(), L"value", CSPMobTree::kTextItem, header);
    }
}

CRect TreeTest::Client() const {
    CRect client;
    tree.GetClientRect(&client);
    return client;
}

int TreeTest::FirstInk(int x0, int x1, int y0, int y1, COLORREF background,
                       COLORREF ignored) const {
    for (int x = x0; x < x1; ++x) {
        for (int y = y0; y < y1; ++y) {
            const COLORREF pixel = Pixel(x, y);
            if (pixel != background && pixel != ignored) return x;
        }
    }
    return -1;
}

int TreeTest::LastInk(int x0, int x1, int y0, int y1, COLORREF background, COLORREF ignored) const {
    for (int x = x1 - 1; x >= x0; --x) {
        for (int y = y0; y < y1; ++y) {
            const COLORREF pixel = Pixel(x, y);
            if (pixel != background && pixel != ignored) return x;
        }
    }
    return -1;
}

int TreeTest::CountColor(const CRect& area, COLORREF color) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) count += Pixel(x, y) == color ? 1 : 0;
    }
    return count;
}

int TreeTest::LeftBearing(const std::wstring& text, bool bold) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(dc, 400, 60);
    HBITMAP previousBitmap = dc.SelectObject(&bitmap);
    const CRect whole(0, 0, 400, 60);
    dc.FillSolidRect(&whole, RGB(255, 255, 255));
    CFont boldFont;
    HGDIOBJ previousFont = nullptr;
    if (bold) {
        LOGFONT logFont{};
        ::GetObject(dc.GetCurrentObject(OBJ_FONT), sizeof(logFont), &logFont);
        logFont.lfWeight = FW_BOLD;
        boldFont.CreateFontIndirect(&logFont);
        previousFont = dc.SelectObject(boldFont.GetSafeHandle());
    }
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    CRect area(0, 0, 400, 60);
    dc.DrawText(text, &area, DT_SINGLELINE | DT_VCENTER);
    int first = -1;
    for (int x = 0; x < 400 && first == -1; ++x) {
        for (int y = 0; y < 60; ++y) {
            if (dc.GetPixel(x, y) != RGB(255, 255, 255)) {
                first = x;
                break;
            }
        }
    }
    if (bold) dc.SelectObject(previousFont);
    dc.SelectObject(previousBitmap);
    return first;
}

POINT TreeTest::OnTree(int x, int y) const {
    POINT point{x, y};
    tree.ClientToScreen(&point);
    return point;
}

CRect TreeTest::RectOnTree(const CWnd& window) const {
    CRect rect;
    window.GetWindowRect(&rect);
    tree.ScreenToClient(reinterpret_cast<POINT*>(&rect.left));
    tree.ScreenToClient(reinterpret_cast<POINT*>(&rect.right));
    return rect;
}

void TreeTest::Tap(int x, int y) {
    platform::input::StylusDown(OnTree(x, y));
    Pump();
    platform::input::StylusUp(OnTree(x, y));
    Pump();
}

void TreeTest::Press(UINT key) {
    platform::input::KeyDown(key);
    platform::input::KeyUp(key);
    Pump();
}

void TreeTest::Repaint() {
    tree.Invalidate();
    Pump();
}

std::vector<std::string> TreeTest::TakeEvents() {
    std::vector<std::string> taken;
    taken.swap(host.events);
    return taken;
}

std::vector<int> TreeTest::RowIds() const {
    std::vector<int> ids;
    for (int row = 0; row < tree.rowCount; ++row) ids.push_back(tree.rowItems[row]->id);
    return ids;
}
