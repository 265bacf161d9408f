// The editor's pictures, one function each; each draws its scene and saves it to `path`.
#pragma once

#include <string>

namespace snapshots {

// The tree filled as the editor fills it, with an edit box and a drop-down list open.
bool DrawTree(const std::string& path);
// A few colour rows, one being edited in its colour picker.
bool DrawColorPicker(const std::string& path);
// The font row with its picker open.
bool DrawFontPicker(const std::string& path);
// The description panel with a description long enough to wrap, and a line break.
bool DrawDescription(const std::string& path);

}  // namespace snapshots
