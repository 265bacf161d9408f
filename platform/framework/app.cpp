#include "platform/framework/app.h"

#include "platform/framework/resources.h"

namespace {
CWinApp* theApplication = nullptr;
}  // namespace

CWinApp::CWinApp(const wchar_t* appName) : m_appName(appName != nullptr ? appName : L"") {
    theApplication = this;
}

CWinApp::~CWinApp() {
    if (theApplication == this) theApplication = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

void CWinApp::SetRegistryKey(const wchar_t* key) { m_registryKey = key != nullptr ? key : L""; }

HICON CWinApp::LoadIcon(UINT id) const { return ::LoadIcon(nullptr, id); }

CWinApp* AfxGetApp() { return theApplication; }
