// Icons behind HICON: made from pixels or from sets of theme files, decoded on first draw and
// drawn scaled with alpha by DrawIconEx.
#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/gdi.h"
#include "platform/graphics/icon_image.h"

namespace platform {

// The files of one icon (all its sizes).
using IconFileSet = std::shared_ptr<const std::vector<IconFile>>;
// Icons in order of preference: the icon itself, then what stands in for it (a generic icon)
// where none of its files can be read.
using IconChoices = std::vector<IconFileSet>;

class IconSource;

class IconObject {
  public:
    // An icon of fixed pixels.
    explicit IconObject(PremultipliedImage pixels);
    // An icon drawn, for each size, from the first choice that has a readable file; nothing is
    // read until it is drawn. Icons made from the same choices object share their decoded images
    // and drawn sizes. `naturalSize` is the size it was asked for (the large or small icon size).
    IconObject(const std::shared_ptr<const IconChoices>& choices, SIZE naturalSize);
    ~IconObject();
    IconObject(const IconObject&) = delete;
    IconObject& operator=(const IconObject&) = delete;

    SIZE NaturalSize() const { return naturalSize_; }
    // The icon at exactly width x height (premultiplied), or null when no source can be decoded
    // or the size is impossible.
    const PremultipliedImage* ImageAt(int width, int height);

  private:
    SIZE naturalSize_{};
    std::shared_ptr<IconSource> source_;
};

// Registers an icon drawn from theme files; null when there are no files.
HICON CreateIconFromFiles(IconFileSet files, SIZE naturalSize);
// Registers an icon drawn from the first usable of `choices`; null when there is no choice.
HICON CreateIconFromChoices(const std::shared_ptr<const IconChoices>& choices, SIZE naturalSize);
// The icon behind a handle, or null when the handle is not a live icon.
IconObject* FindIcon(HICON icon);
// The size the icon was made for (pixels: their size; theme icons: the size asked for).
BOOL GetIconSize(HICON icon, SIZE* size);
// Number of icons not yet destroyed; tests use it to find leaks.
int LiveIconCount();

}  // namespace platform
