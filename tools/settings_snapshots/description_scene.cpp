#include "scenes.h"
#include "settings/about_frame.h"
#include "stage.h"

namespace snapshots {
namespace {

constexpr int kPanelHeight = 180;

const wchar_t kDescription[] =
    L"системная высота элемента: высота элемента списка в пикселях; при значении «да» берётся "
    L"системная высота, вычисленная по размеру экрана, а пользовательская высота не "
    L"используется.\r\nзначение по умолчанию: «нет».";

}  // namespace

bool DrawDescription(const std::string& path) {
    // A strip of the editor's face colour around the panel.
    Stage stage(kPanelHeight + 8, false);
    if (!stage.Ready()) return false;
    CAboutFrame panel;
    if (!panel.Create(WS_CHILD | WS_VISIBLE, CRect(4, 4, kScreenWidth - 4, 4 + kPanelHeight),
                      &stage.Host(), 1002)) {
        return false;
    }
    panel.SetText(kDescription);
    panel.Invalidate(TRUE);
    const bool saved = stage.Save(path);
    panel.DestroyWindow();
    return saved;
}

}  // namespace snapshots
