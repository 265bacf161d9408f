// Draws the settings editor's pictures for the README on the headless screen:
//   settings_snapshots [folder]   (default: docs)
// The controls draw themselves, so run it again when their look changes.
#include <cstdio>
#include <string>

#include "platform/backends/headless/headless_backend.h"
#include "scenes.h"
#include "stage.h"

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "docs";
    platform::InstallHeadlessBackend(
        platform::DisplayInfo{snapshots::kScreenWidth, snapshots::kScreenHeight, 96});
    const bool drawn = snapshots::DrawTree(folder + "/settings-tree.png") &&
                       snapshots::DrawColorPicker(folder + "/settings-color-picker.png") &&
                       snapshots::DrawFontPicker(folder + "/settings-font-picker.png") &&
                       snapshots::DrawDescription(folder + "/settings-description.png");
    return drawn ? 0 : 1;
}
