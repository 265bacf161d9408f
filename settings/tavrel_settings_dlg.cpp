#include "settings/tavrel_settings_dlg.h"

#include "config/options.h"
#include "platform/base/last_error.h"
#include "platform/framework/handheld_shell.h"
#include "platform/windows/menus.h"
#include "resources/settings_resource_ids.h"

BEGIN_MESSAGE_MAP(CTavrelSettingsDlg, CDialog)
ON_MESSAGE(WM_TREE_ITEM_CHANGED, OnItemChanged)
ON_MESSAGE(WM_TREE_SELECTION_CHANGED, OnSelectionChanged)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CTavrelSettingsDlg::CTavrelSettingsDlg(CWnd* parent) : CDialog(IDD_TAVRELSETTINGS_DIALOG, parent) {
    description.SetText(L"");
}

CTavrelSettingsDlg::~CTavrelSettingsDlg() = default;

BOOL CTavrelSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CreateMenuBar();
    LoadOptions(options);

    CRect client;
    GetClientRect(&client);
    const int split = (client.bottom / 4) * 3;
    tree.Create(WS_CHILD | WS_VISIBLE,
                CRect(client.left + 2, client.top + 2, client.right - 2, split), this, kTreeId);
    BuildTree();
    tree.SetFocus();
    description.Create(WS_CHILD | WS_VISIBLE,
                       CRect(client.left + 2, split + 2, client.right - 2, client.bottom - 2), this,
                       kDescriptionId);
    return TRUE;
}

void CTavrelSettingsDlg::CreateMenuBar() {
    menuBarMenu = ::CreateMenu();
    ::AppendMenu(menuBarMenu, MF_STRING, kSaveCommand, L"сохранить");
    ::AppendMenu(menuBarMenu, MF_STRING, kCancelCommand, L"отменить");
    SHMENUBARINFO info{};
    // The description's own size: its pointers make it larger than on the handheld.
    info.cbSize = sizeof(info);
    info.hwndParent = m_hWnd;
    info.dwFlags = SHCMBF_HMENU;
    info.nToolBarId = static_cast<UINT>(reinterpret_cast<UINT_PTR>(menuBarMenu));
    // Resources are found by identifier alone; the program has no module handle to name.
    info.hInstRes = nullptr;
    if (!SHCreateMenuBar(&info)) {
        ::MessageBox(nullptr, L"Can not create menu", L"error", MB_OK);
    }
}

BOOL CTavrelSettingsDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case kSaveCommand:
            if (SaveOptions()) {
                DestroyWindow();
            } else {
                ReportSaveFailure();
            }
            return TRUE;
        case kCancelCommand:
            DestroyWindow();
            return TRUE;
        default:
            return CDialog::OnCommand(wParam, lParam);
    }
}

void CTavrelSettingsDlg::ReportSaveFailure() {
    // The writer has said "!CreateFile"; this says where, why, and that nothing is lost.
    const DWORD error = ::GetLastError();
    const std::wstring text = L"Настройки не сохранены:\r\n" + OptionsPath() + L"\r\n" +
                              platform::ErrorText(error) +
                              L"\r\n\r\nВсе изменения остались в редакторе: устраните причину "
                              L"и нажмите «сохранить» ещё раз или «отменить».";
    MessageBox(text.c_str(), L"Tavrel Settings", MB_OK);
    // The box took the focus; the user goes on where the tree left off.
    if (tree.m_hWnd != nullptr) tree.SetFocus();
}

LRESULT CTavrelSettingsDlg::OnSelectionChanged(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    const CSPMobTreeItem* item = tree.GetCurrentItem();
    if (item == nullptr) return 0;
    std::wstring text;
    if (item->userData != nullptr) text = *static_cast<const std::wstring*>(item->userData);
    description.SetText(text.c_str());
    description.Invalidate(TRUE);
    return 0;
}

namespace {

void ForgetDescriptions(const std::vector<std::unique_ptr<CSPMobTreeItem>>& items) {
    for (const auto& item : items) {
        item->userData = nullptr;
        ForgetDescriptions(item->children);
    }
}

}  // namespace

void CTavrelSettingsDlg::OnDestroy() {
    CDialog::OnDestroy();
    if (menuBarMenu != nullptr) {
        ::DestroyMenu(menuBarMenu);
        menuBarMenu = nullptr;
    }
    dependencies.clear();
    // The items go with the tree; their descriptions are the dialog's.
    ForgetDescriptions(tree.rootItems);
    descriptions_.clear();
}
