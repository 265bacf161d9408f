#include "settings/tavrel_settings_dlg.h"

#include "config/options.h"
#include "platform/base/last_error.h"
#include "platform/framework/handheld_shell.h"
#include "platform/framework/message_box.h"
#include "platform/windows/menus.h"
#include "resources/settings_resource_ids.h"

BEGIN_MESSAGE_MAP(CTavrelSettingsDlg, CDialog)
ON_MESSAGE(WM_TREE_ITEM_CHANGED, OnItemChanged)
ON_MESSAGE(WM_TREE_SELECTION_CHANGED, OnSelectionChanged)
ON_WM_SIZE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CTavrelSettingsDlg::CTavrelSettingsDlg(CWnd* parent) : CDialog(IDD_TAVRELSETTINGS_DIALOG, parent) {
    description.SetText(L"");
}

CTavrelSettingsDlg::~CTavrelSettingsDlg() = default;

BOOL CTavrelSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CreateMenuBar();
    if (LoadOptions(options) == OptionsSource::Unreadable) ReportUnreadableFile();

    CRect client;
    GetClientRect(&client);
    tree.Create(WS_CHILD | WS_VISIBLE, TreeRect(client), this, kTreeId);
    BuildTree();
    tree.SetFocus();
    description.Create(WS_CHILD | WS_VISIBLE, PanelRect(client), this, kDescriptionId);
    return TRUE;
}

CRect CTavrelSettingsDlg::TreeRect(const CRect& client) {
    const int split = (client.bottom / 4) * 3;
    return CRect(client.left + 2, client.top + 2, client.right - 2, split);
}

CRect CTavrelSettingsDlg::PanelRect(const CRect& client) {
    const int split = (client.bottom / 4) * 3;
    return CRect(client.left + 2, split + 2, client.right - 2, client.bottom - 2);
}

void CTavrelSettingsDlg::OnSize(UINT type, int width, int height) {
    CDialog::OnSize(type, width, height);
    if (tree.m_hWnd == nullptr || description.m_hWnd == nullptr) return;
    // A picker or an in-place editor (a child window of the tree) was placed for the old size:
    // its edit ends, keeping what was typed or chosen.
    CSPMobTreeItem* current = tree.GetCurrentItem();
    if (current != nullptr && ::GetWindow(tree.m_hWnd, GW_CHILD) != nullptr) current->EndEdit();
    CRect client;
    GetClientRect(&client);
    const CRect treeRect = TreeRect(client);
    const CRect panelRect = PanelRect(client);
    tree.MoveWindow(&treeRect);
    description.MoveWindow(&panelRect);
}

void CTavrelSettingsDlg::ReportUnreadableFile() {
    const std::wstring text =
        L"Из файла настроек не удалось прочитать ни одного значения:\r\n" + OptionsPath() +
        L"\r\n\r\nРедактор начинает с системного оформления. «сохранить» запишет файл заново.";
    ::MessageBox(nullptr, text.c_str(), L"Tavrel Settings", MB_OK);
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

void CTavrelSettingsDlg::OnOK() {
    if (ReadyToClose()) CDialog::OnOK();
}

void CTavrelSettingsDlg::OnCancel() {
    if (ReadyToClose()) CDialog::OnCancel();
}

bool CTavrelSettingsDlg::ReadyToClose() {
    if (askingToClose_) return false;
    if (!OptionsChanged()) return true;
    askingToClose_ = true;
    const int answer = platform::RunMessageBox(m_hWnd, L"Сохранить изменения?", L"Tavrel Settings",
                                               MB_YESNOCANCEL, {L"да", L"нет", L"отмена"});
    askingToClose_ = false;
    switch (answer) {
        case IDYES:
            if (SaveOptions()) return true;
            ReportSaveFailure();
            return false;
        case IDNO:
            return true;
        default:
            if (tree.m_hWnd != nullptr) tree.SetFocus();
            return false;
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
