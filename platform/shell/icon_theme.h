// Named icons from the freedesktop icon themes: the current theme, the themes it inherits,
// hicolor and the pixmaps folders. Everything read is cached until ResetIconThemeCache().
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/icon_image.h"
#include "platform/shell/xdg_directories.h"

namespace platform {

// Every file of the first theme in the chain that has the icon (all its sizes, PNG and SVG),
// else the pixmaps folders' file, else the "-symbolic" variant; null when there is none.
// The same list object is returned for the same name until the cache is reset.
std::shared_ptr<const std::vector<IconFile>> FindThemeIcon(std::string_view name);

// The theme in use: gtk-icon-theme-name from GTK's settings.ini when that theme is installed,
// else Adwaita when installed, else hicolor.
std::string CurrentIconThemeName();

// A startup step for a program whose first paint looks up many icons: Begin reads the themes of
// the chain and their indexes on a thread of its own; End, or the first lookup, waits for them.
void BeginIndexingIconThemes();
void EndIndexingIconThemes();

// Forgets every theme, listing and result, and reads the environment again on the next lookup.
void ResetIconThemeCache();

}  // namespace platform
