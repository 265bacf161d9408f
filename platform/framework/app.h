// The application object: one per program, whose InitInstance runs the program.
#pragma once

#include "platform/windows/cwnd.h"

class CWinApp : public CCmdTarget {
  public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;

    // Runs the program; FALSE when it has finished and the process is to end.
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Keeps the name under which settings would be stored; nothing is stored by the platform.
    void SetRegistryKey(const wchar_t* key);
    HICON LoadIcon(UINT id) const;

    CWnd* m_pMainWnd = nullptr;
    std::wstring m_registryKey;
    std::wstring m_appName;
};

CWinApp* AfxGetApp();
