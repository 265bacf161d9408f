#include "platform/framework/handheld_shell.h"

#include <memory>

#include "platform/controls/menu_bar.h"
#include "platform/windows/window_api.h"

BOOL SHInitExtraControls() { return TRUE; }

BOOL SHDoneButton(HWND window, DWORD /*state*/) { return IsWindow(window); }

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
    if (info == nullptr || info->cbSize != sizeof(SHMENUBARINFO) ||
        (info->dwFlags & SHCMBF_HMENU) == 0) {
        return FALSE;
    }
    // The menu handle travels in the identifier field.
    auto menu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(info->nToolBarId));  // NOLINT
    auto bar = std::make_unique<CMenuBar>();
    if (!bar->Create(info->hwndParent, menu)) return FALSE;
    bar->deleteWithWindow = true;
    info->hwndMB = bar->m_hWnd;
    bar.release();  // the window owns it now (CMenuBar::PostNcDestroy)
    return TRUE;
}
