#include "menu/menu_fixture.h"

BEGIN_MESSAGE_MAP(MenuHost, CWnd)
ON_MESSAGE(WM_MENU_DONE, OnMenuDone)
END_MESSAGE_MAP()
