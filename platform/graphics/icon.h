// Icons behind HICON: made from pixels or from a set of theme files, decoded on first draw and
// drawn scaled with alpha by DrawIconEx.
#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/gdi.h"
#include "platform/graphics/icon_image.h"

namespace platform {

class IconObject {
  public:
    // An icon of fixed pixels.
    explicit IconObject(PremultipliedImage pixels);
    // An icon drawn from the best of `files` for each size; nothing is read until it is drawn.
    // `naturalSize` is the size it was asked for (the large or small icon size).
    IconObject(std::shared_ptr<const std::vector<IconFile>> files, SIZE naturalSize);
    IconObject(const IconObject&) = delete;
    IconObject& operator=(const IconObject&) = delete;

    SIZE NaturalSize() const { return naturalSize_; }
    // The icon at exactly width x height (premultiplied), or null when no source can be decoded
    // or the size is impossible.
    const PremultipliedImage* ImageAt(int width, int height);

  private:
    std::shared_ptr<const PremultipliedImage> Make(int width, int height);

    std::shared_ptr<const std::vector<IconFile>> files_;
    // Per file: its decoded image once loaded (kept so it stays shared), or the fact that it
    // failed, so a broken file is read only once per icon.
    std::vector<std::shared_ptr<IconImage>> loaded_;
    std::vector<bool> failed_;
    std::shared_ptr<IconImage> pixels_;
    SIZE naturalSize_{};
    struct Drawn {
        int width;
        int height;
        std::shared_ptr<const PremultipliedImage> image;
    };
    std::vector<Drawn> drawn_;  // least recently used first
};

// Registers an icon drawn from theme files; null when there are no files.
HICON CreateIconFromFiles(std::shared_ptr<const std::vector<IconFile>> files, SIZE naturalSize);
// The icon behind a handle, or null when the handle is not a live icon.
IconObject* FindIcon(HICON icon);
// The size the icon was made for (pixels: their size; theme icons: the size asked for).
BOOL GetIconSize(HICON icon, SIZE* size);
// Number of icons not yet destroyed; tests use it to find leaks.
int LiveIconCount();

}  // namespace platform
