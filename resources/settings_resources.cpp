// The settings editor's resources: its dialog template and the marker that it draws for
// high-density screens itself.
#include "platform/framework/resources.h"
#include "platform/windows/styles.h"
#include "resources/settings_resource_ids.h"

namespace {

void RegisterSettingsResources() {
    platform::DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT | DS_FIXEDSYS;
    dialog.exStyle = WS_EX_APPWINDOW | WS_EX_CAPTIONOKBTN;
    dialog.x = 0;
    dialog.y = 0;
    dialog.cx = 156;
    dialog.cy = 129;
    dialog.caption = L"Tavrel Settings";
    dialog.fontFace = L"MS Shell Dlg";
    dialog.fontPointSize = 8;
    platform::RegisterDialogTemplate(IDD_TAVRELSETTINGS_DIALOG, dialog);
    platform::RegisterValueResource(L"CEUX", L"HI_RES_AWARE", 1);
}

const platform::ResourceRegistration registration(RegisterSettingsResources);

}  // namespace
