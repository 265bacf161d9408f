// Draws the settings editor's description panel under a strip of the editor's face colour, with a
// description long enough to wrap and a block with line breaks, and saves the picture as a PNG:
//   settings_description_snapshot docs/settings-description.png
#include <cstdio>
#include <string>

#include "platform/backends/headless/headless_backend.h"
#include "platform/graphics/gdi_classes.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/message_pump.h"
#include "settings/about_frame.h"

namespace {

constexpr int kWidth = 480;
constexpr int kPanelHeight = 180;

const wchar_t kDescription[] =
    L"системная высота элемента: высота элемента списка в пикселях; при значении «да» берётся "
    L"системная высота, вычисленная по размеру экрана, а пользовательская высота не "
    L"используется.\r\nзначение по умолчанию: «нет».";

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "settings-description.png";
    platform::InstallHeadlessBackend(platform::DisplayInfo{kWidth, 800, 96});

    const CBrush face(GetSysColor(COLOR_BTNFACE));
    CWnd host;
    if (!host.CreateEx(0, AfxRegisterWndClass(0, nullptr, face), L"", WS_POPUP | WS_VISIBLE, 0, 0,
                       kWidth, kPanelHeight + 8, nullptr, nullptr)) {
        std::fprintf(stderr, "cannot create the window\n");
        return 1;
    }
    CAboutFrame panel;
    if (!panel.Create(WS_CHILD | WS_VISIBLE, CRect(4, 4, kWidth - 4, 4 + kPanelHeight), &host,
                      1002)) {
        std::fprintf(stderr, "cannot create the panel\n");
        return 1;
    }
    panel.SetText(kDescription);
    panel.Invalidate(TRUE);
    platform::ProcessPendingMessages();

    if (!platform::SaveWindowPng(host.m_hWnd, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    panel.DestroyWindow();
    host.DestroyWindow();
    return 0;
}
