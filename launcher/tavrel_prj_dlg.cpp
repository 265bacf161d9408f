#include "launcher/tavrel_prj_dlg.h"

#include <algorithm>

#include "config/program_folder.h"
#include "launcher/diagnostic_log.h"
#include "launcher/menu_entries.h"
#include "platform/base/system_metrics.h"
#include "platform/framework/app.h"
#include "platform/framework/handheld_shell.h"
#include "platform/graphics/surface.h"
#include "resources/launcher_resource_ids.h"

BEGIN_MESSAGE_MAP(CTavrelPrjDlg, CDialog)
ON_WM_ACTIVATE()
ON_WM_SIZE()
ON_MESSAGE(WM_MENU_DONE, OnMenuDone)
END_MESSAGE_MAP()

CTavrelPrjDlg::CTavrelPrjDlg(CWnd* parent)
    : CDialog(IDD_TAVRELPRJ_DIALOG, parent),
      m_hIcon(::LoadIcon(nullptr, IDR_MAINFRAME)),
      // The screen as it is now: a size message that comes while the window is being made must
      // not look like a rotation.
      screenWidth(GetSystemMetrics(SM_CXSCREEN)),
      screenHeight(GetSystemMetrics(SM_CYSCREEN)),
      logPath(L"CMFCSLogTest.txt") {}

CTavrelPrjDlg::~CTavrelPrjDlg() {
    if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
}

BOOL CTavrelPrjDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    InitLayout();
    LoadOptions(options);
    LoadEntries();
    logPath = ProgramFolder() + L"log.txt";

    CRect client;
    GetClientRect(&client);
    client.DeflateRect(2, 2);
    menu.Create(WS_CHILD | WS_VISIBLE, client, this, kMenuId);
    menu.SetFocus();

    SHDoneButton(m_hWnd, SHDB_HIDE);
    ModifyStyle(0, WS_NONAVDONEBUTTON, SWP_NOSIZE);
    ApplyOptions();
    return TRUE;
}

void CTavrelPrjDlg::InitLayout() {
    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int width = screenWidth;
    const int height = screenHeight;
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    MoveWindow(height / 32, caption + height / 32, width - (2 * height) / 32,
               height - 2 * caption - (2 * height) / 32, TRUE);
    // A screen less than six pixels high still gets rows of at least one pixel.
    menu.itemHeight = std::max(1, height / 6);
    menu.sliderWidth = width / 48;
    menu.dragThreshold = height / 12;
}

void CTavrelPrjDlg::LoadEntries() { ::LoadEntries(menu, ProgramFolder() + L"settings.ini"); }

void CTavrelPrjDlg::ApplyOptions() {
    const CRect user(options.user_menu_pos_TL_X, options.user_menu_pos_TL_Y,
                     options.user_menu_pos_BR_X, options.user_menu_pos_BR_Y);
    const CRect screen(0, 0, screenWidth, screenHeight);
    CRect shown;
    // A user rectangle without area or wholly off the screen, or rows without height, would
    // leave nothing to see or use: the launcher keeps what it derived from the screen instead.
    if (!options.use_system_menu_pos && shown.IntersectRect(&user, &screen)) {
        const std::int64_t width = static_cast<std::int64_t>(user.right) - user.left;
        const std::int64_t height = static_cast<std::int64_t>(user.bottom) - user.top;
        // Beyond any picture the platform can hold (a side or the area too large), only the
        // part on the screen is used.
        const CRect placed = platform::Surface::Fits(width, height) ? user : shown;
        MoveWindow(placed.left, placed.top, placed.Width(), placed.Height(), TRUE);
    }
    if (!options.use_system_item_height && options.user_item_height >= 1) {
        // No window can be taller than a surface, so neither need a row be; beyond that the
        // row geometry would leave the int range.
        menu.itemHeight = std::min(options.user_item_height, platform::Surface::kMaxSide);
    }
    if (!options.use_system_item_height || !options.use_system_menu_pos) {
        CRect client;
        GetClientRect(&client);
        menu.MoveWindow(client.left + 2, client.top + 2, client.Width() - 4, client.Height() - 4,
                        TRUE);
        menu.RecalcLayout();
    }
    if (!options.use_system_font) menu.SetItemFont(&options.item_font);
    if (!options.use_system_colors) {
        menu.SetColors(&options.odd_item, &options.even_item, &options.active_item, &options.font,
                       &options.active_font, &options.slider);
    }
    menu.inertiaEnabled = options.use_menu_inertia;
    menu.textAlign = options.pos_item_text;
    menu.RefreshItems();
}

void CTavrelPrjDlg::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    if (state == WA_INACTIVE) {
        WriteLog(logPath, L"CTavrelPrjDlg::OnActivate\r\n");
        OnOK();
    }
    CDialog::OnActivate(state, other, minimized);
}

void CTavrelPrjDlg::OnSize(UINT type, int width, int height) {
    CDialog::OnSize(type, width, height);
    if (GetSystemMetrics(SM_CYSCREEN) == screenHeight &&
        GetSystemMetrics(SM_CXSCREEN) == screenWidth) {
        return;
    }
    OnOK();  // the screen was rotated or resized
}

LRESULT CTavrelPrjDlg::OnMenuDone(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    OnOK();
    return 0;
}
