#include "launcher/tavrel_item.h"

#include "platform/base/system_metrics.h"
#include "platform/shell/file_info.h"
#include "platform/shell/shell_execute.h"
#include "platform/windows/styles.h"

namespace {

constexpr COLORREF kOutlineColor = RGB(200, 200, 200);
constexpr COLORREF kActiveOutlineColor = RGB(0, 0, 0);

UINT TitleFormat(BYTE alignment) {
    switch (alignment) {
        case 0:
            return DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        case 2:
            return DT_RIGHT | DT_VCENTER | DT_SINGLELINE;
        default:
            return DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    }
}

}  // namespace

CTavrelItem::CTavrelItem(int rowHeight, std::wstring entryTitle, std::wstring entryExecPath,
                         std::wstring entryArgs, bool oddIndex)
    : height(rowHeight),
      title(std::move(entryTitle)),
      execPath(std::move(entryExecPath)),
      args(std::move(entryArgs)),
      odd(oddIndex) {}

void CTavrelItem::Draw(CDC* dc, CRect rect, bool active, CFont* font, COLORREF activeBackground,
                       COLORREF oddBackground, COLORREF evenBackground, COLORREF textColor,
                       COLORREF activeTextColor, BYTE alignment) {
    // Before anything is drawn: the icon decides where the title goes.
    if (iconPending) LoadEntryIcon();
    const COLORREF background = active ? activeBackground : odd ? oddBackground : evenBackground;
    {
        CBrush brush(background);
        dc->FillRect(&rect, &brush);
    }
    {
        CPen pen(PS_SOLID, 1, active ? kActiveOutlineColor : kOutlineColor);
        HPEN previousPen = dc->SelectObject(&pen);
        dc->MoveTo(rect.left, rect.top);
        dc->LineTo(rect.right - 1, rect.top);
        dc->LineTo(rect.right - 1, rect.bottom - 1);
        dc->LineTo(rect.left, rect.bottom - 1);
        dc->LineTo(rect.left, rect.top);
        dc->SelectObject(previousPen);
    }

    const int previousMode = dc->SetBkMode(TRANSPARENT);
    HFONT previousFont = dc->SelectObject(font);
    const COLORREF previousColor = dc->SetTextColor(active ? activeTextColor : textColor);
    CRect textRect(rect.left + 2 * iconMargin + iconWidth, rect.top, rect.right - iconMargin,
                   rect.bottom);
    dc->DrawText(title, &textRect, TitleFormat(alignment));
    dc->SetTextColor(previousColor);
    dc->SelectObject(previousFont);
    dc->SetBkMode(previousMode);

    if (icon) {
        ::DrawIconEx(dc->GetSafeHdc(), rect.left + iconMargin, rect.top + iconTop, icon.get(),
                     iconWidth, iconHeight, 0, nullptr, DI_NORMAL);
    }
}

void CTavrelItem::LoadEntryIcon() {
    iconPending = false;
    const int available = height - 4;
    UINT flags = SHGFI_ICON;
    int width = 0;
    int iconSide = 0;
    if (GetSystemMetrics(SM_CYICON) < available) {
        width = GetSystemMetrics(SM_CXICON);
        iconSide = GetSystemMetrics(SM_CYICON);
    } else if (GetSystemMetrics(SM_CYSMICON) < available) {
        flags |= SHGFI_SMALLICON;
        width = GetSystemMetrics(SM_CXSMICON);
        iconSide = GetSystemMetrics(SM_CYSMICON);
    } else {
        width = available;
        iconSide = available;
    }
    SHFILEINFO info{};
    if (SHGetFileInfo(execPath.c_str(), 0, &info, sizeof(info), flags) == 0 ||
        info.hIcon == nullptr) {
        return;  // no icon: the entry keeps what it had
    }
    icon.reset(info.hIcon);
    iconWidth = width;
    iconHeight = iconSide;
    iconMargin = GetSystemMetrics(SM_CXSCREEN) / 48;
    iconTop = (height - iconHeight) / 2;
}

void CTavrelItem::Launch() {
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof(SHELLEXECUTEINFO);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = nullptr;
    info.lpVerb = nullptr;
    info.lpFile = execPath.c_str();
    info.lpParameters = args.c_str();
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOW;
    ShellExecuteEx(&info);
}
