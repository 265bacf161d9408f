#include "launcher/tavrel_prj_app.h"

#include "launcher/tavrel_prj_dlg.h"
#include "platform/framework/handheld_shell.h"

BEGIN_MESSAGE_MAP(CTavrelPrjApp, CWinApp)
END_MESSAGE_MAP()

CTavrelPrjApp::CTavrelPrjApp() : CWinApp(nullptr) {}

CTavrelPrjApp::~CTavrelPrjApp() = default;

BOOL CTavrelPrjApp::InitInstance() {
    SHInitExtraControls();
    SetRegistryKey(L"Local AppWizard-Generated Applications");
    CTavrelPrjDlg dialog;
    m_pMainWnd = &dialog;
    // The dialog places itself; the framework must not size it to the screen.
    dialog.m_bFullScreen = FALSE;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
