// CTavrelPrjApp: the launcher's application object, which runs the dialog once.
#pragma once

#include "platform/framework/app.h"

class CTavrelPrjApp : public CWinApp {
  public:
    CTavrelPrjApp();
    ~CTavrelPrjApp() override;

    BOOL InitInstance() override;

  protected:
    DECLARE_MESSAGE_MAP()
};
