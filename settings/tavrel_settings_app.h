// CTavrelSettingsApp: the settings editor's application object, which runs the dialog once.
#pragma once

#include "platform/framework/app.h"

class CTavrelSettingsApp : public CWinApp {
  public:
    CTavrelSettingsApp();
    ~CTavrelSettingsApp() override;

    BOOL InitInstance() override;

  protected:
    DECLARE_MESSAGE_MAP()
};
