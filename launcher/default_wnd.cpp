#include "launcher/default_wnd.h"

IMPLEMENT_DYNAMIC(CDefaultWnd, CWnd)

BEGIN_MESSAGE_MAP(CDefaultWnd, CWnd)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()
