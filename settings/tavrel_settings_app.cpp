#include "settings/tavrel_settings_app.h"

#include "platform/framework/handheld_shell.h"
#include "settings/tavrel_settings_dlg.h"

BEGIN_MESSAGE_MAP(CTavrelSettingsApp, CWinApp)
END_MESSAGE_MAP()

CTavrelSettingsApp::CTavrelSettingsApp() : CWinApp(nullptr) {}

CTavrelSettingsApp::~CTavrelSettingsApp() = default;

BOOL CTavrelSettingsApp::InitInstance() {
    SHInitExtraControls();
    SetRegistryKey(L"Local AppWizard-Generated Applications");
    CTavrelSettingsDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
