#include "launcher/tavrel.h"

#include <algorithm>
#include <cassert>
#include <cwchar>
#include <limits>

#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"

IMPLEMENT_DYNAMIC(CTavrel, CWnd)

BEGIN_MESSAGE_MAP(CTavrel, CWnd)
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_CREATE()
END_MESSAGE_MAP()

CTavrel::CTavrel() = default;

CTavrel::~CTavrel() {
    itemFont.DeleteObject();
    items.clear();
}

int CTavrel::AddItem(std::wstring title, std::wstring execPath, std::wstring args) {
    const int index = ItemCount();
    items.push_back(std::make_unique<CTavrelItem>(itemHeight, std::move(title), std::move(execPath),
                                                  std::move(args), index % 2 == 1));
    return index;
}

BOOL CTavrel::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    // One class for every menu window of the process, registered on first use.
    static const wchar_t* className = AfxRegisterWndClass(
        CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr);
    return CWnd::Create(className, L"", style, rect, parent, id);
}

int CTavrel::OnCreate(LPCREATESTRUCT createStruct) {
    if (CWnd::OnCreate(createStruct) == -1) return -1;
    RecalcLayout();
    SetItemFont(nullptr);
    SetSystemColors();
    return 0;
}

void CTavrel::SetSystemColors() {
    oddColor = GetSysColor(SYS_COLOR_INDEX_FLAG | COLOR_BTNFACE);
    evenColor = GetSysColor(SYS_COLOR_INDEX_FLAG | COLOR_BTNFACE);
    activeColor = GetSysColor(SYS_COLOR_INDEX_FLAG | COLOR_HIGHLIGHT);
    textColor = GetSysColor(SYS_COLOR_INDEX_FLAG | COLOR_BTNTEXT);
    activeTextColor = GetSysColor(SYS_COLOR_INDEX_FLAG | COLOR_HIGHLIGHTTEXT);
    sliderColor = RGB(0, 0, 0);
}

void CTavrel::SetColors(const ColorTriple* odd, const ColorTriple* even, const ColorTriple* active,
                        const ColorTriple* text, const ColorTriple* activeText,
                        const ColorTriple* slider) {
    if (odd == nullptr || even == nullptr || active == nullptr || text == nullptr ||
        activeText == nullptr || slider == nullptr) {
        SetSystemColors();
        return;
    }
    oddColor = odd->ToColorRef();
    evenColor = even->ToColorRef();
    activeColor = active->ToColorRef();
    textColor = text->ToColorRef();
    activeTextColor = activeText->ToColorRef();
    sliderColor = slider->ToColorRef();
}

void CTavrel::RecalcLayout() {
    // Whoever sets the item height keeps it positive; everything below divides by it.
    assert(itemHeight >= 1);
    CRect client;
    GetClientRect(&client);
    const int height = client.Height();
    visibleCount = height / itemHeight + 1;
    bottomOffset = height % itemHeight - itemHeight;
    const std::int64_t contentHeight = static_cast<std::int64_t>(ItemCount()) * itemHeight;
    CRect track = client;
    track.left = contentHeight < height ? client.right : client.right - sliderWidth;
    sliderBar.Configure(0, contentHeight, height, track);
    scrollable = ItemCount() > visibleCount - 1 ? 1 : 0;
}

void CTavrel::SetItemFont(const FontValue* spec) {
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return;
    itemFont.DeleteObject();
    CClientDC dc(this);
    LOGFONT logFont{};
    ::GetObject(dc.GetCurrentObject(OBJ_FONT), sizeof(logFont), &logFont);
    if (spec != nullptr) {
        // The face-name field holds 31 characters and its terminator.
        std::wcsncpy(logFont.lfFaceName, spec->faceName.c_str(), LF_FACESIZE - 1);
        logFont.lfFaceName[LF_FACESIZE - 1] = L'\0';
        logFont.lfItalic = spec->italic ? 1 : 0;
        if (spec->bold) logFont.lfWeight = FW_BOLD;
        logFont.lfHeight = spec->size;
    } else {
        logFont.lfWeight = FW_BOLD;
    }
    itemFont.CreateFontIndirect(&logFont);
}

void CTavrel::RefreshItems() {
    for (auto& item : items) {
        if (!item) continue;
        item->height = itemHeight;
        item->LoadEntryIconWhenDrawn();
    }
}

namespace {

int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace

CRect CTavrel::RowRect(int index) const {
    CRect client;
    GetClientRect(&client);
    // In 64 bits: rows far from the view, or of a huge height, lie beyond the int range.
    const std::int64_t row = static_cast<std::int64_t>(index) - firstVisible;
    const std::int64_t top = firstOffset + itemHeight * row;
    const int right = sliderBar.IsVisible() ? client.right - sliderWidth - 1 : client.right - 1;
    return CRect(2, ClampToInt(top + 1), right, ClampToInt(top + itemHeight - 1));
}

int CTavrel::RowAt(int y) const {
    const std::int64_t offset = static_cast<std::int64_t>(y) - firstOffset;
    // Floor division: lines above the first row belong to the rows before it.
    const std::int64_t rows =
        offset >= 0 ? offset / itemHeight : -((-offset + itemHeight - 1) / itemHeight);
    return ClampToInt(firstVisible + rows);
}

std::int64_t CTavrel::EndPosition() const {
    CRect client;
    GetClientRect(&client);
    return std::max<std::int64_t>(
        0, static_cast<std::int64_t>(ItemCount()) * itemHeight - client.Height());
}

void CTavrel::SetScrollPosition(std::int64_t position) {
    // At the end the list rests as a drag has always left it: its last place for the first row,
    // with the offset that puts the last row's end at the bottom edge.
    if (position == EndPosition() && LastFirstVisible() >= 0) {
        firstVisible = LastFirstVisible();
        firstOffset = bottomOffset;
        return;
    }
    firstVisible = static_cast<int>(position / itemHeight);
    firstOffset = -static_cast<int>(position % itemHeight);
}

void CTavrel::DrawRow(CDC* dc, int index) {
    if (index < 0 || index >= ItemCount() || !items[index]) return;
    items[index]->Draw(dc, RowRect(index), index == activeIndex, &itemFont, activeColor, oddColor,
                       evenColor, textColor, activeTextColor, textAlign);
}

void CTavrel::DrawSlider(CDC* dc) {
    if (!sliderBar.IsVisible()) return;
    sliderBar.SetPos(ScrollPosition());
    sliderBar.Draw(dc, evenColor, sliderColor);
}

void CTavrel::DrawItems(CDC* dc) {
    CDC memoryDC;
    if (!memoryDC.CreateCompatibleDC(dc)) return;
    CRect client;
    GetClientRect(&client);
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(dc->GetSafeHdc(), client.Width(), client.Height())) return;
    HBITMAP previousBitmap = memoryDC.SelectObject(&bitmap);

    {
        CBrush background(evenColor);
        memoryDC.FillRect(&client, &background);
    }
    for (int index = std::max(firstVisible, 0); index < ItemCount(); ++index) {
        if (!items[index]) continue;
        DrawRow(&memoryDC, index);
        if (RowRect(index).bottom > client.bottom) break;
    }
    DrawSlider(&memoryDC);

    dc->BitBlt(0, 0, client.Width(), client.Height(), &memoryDC, 0, 0, SRCCOPY);
    memoryDC.SelectObject(previousBitmap);
}

void CTavrel::ScrollView(int /*delta*/) { InvalidateRect(nullptr, TRUE); }

void CTavrel::OnPaint() {
    CPaintDC dc(this);
    DrawItems(&dc);
}

void CTavrel::OnSize(UINT type, int width, int height) { CWnd::OnSize(type, width, height); }
