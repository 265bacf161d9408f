// The launcher's resources: its dialog template, its icon group and the marker that it draws
// for high-density screens itself.
#include "platform/windows/styles.h"
#include "resources/launcher_icon.h"
#include "resources/launcher_resource_ids.h"

namespace {

void RegisterLauncherResources() {
    platform::DialogTemplate dialog;
    dialog.style = 0x90800248;  // pop-up, visible, thin border, foreground, dialog font
    dialog.exStyle = WS_EX_APPWINDOW | WS_EX_CAPTIONOKBTN;
    dialog.x = 0;
    dialog.y = 0;
    dialog.cx = 229;
    dialog.cy = 246;
    dialog.caption = L"";
    dialog.fontFace = L"MS Shell Dlg";
    dialog.fontPointSize = 8;
    platform::RegisterDialogTemplate(IDD_TAVRELPRJ_DIALOG, dialog);
    platform::RegisterIconGroup(IDR_MAINFRAME, {DrawLauncherIcon(16), DrawLauncherIcon(32)});
    platform::RegisterValueResource(L"CEUX", L"HI_RES_AWARE", 1);
}

const platform::ResourceRegistration registration(RegisterLauncherResources);

}  // namespace
