// The files an icon is drawn from and their decoded images, shared process-wide by path so
// that many icons naming the same file decode it once.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/premultiplied_image.h"

namespace platform {

class SvgDocument;

// One candidate file of an icon. Sizes are in pixels; [minPixelSize, maxPixelSize] is the range
// of draw sizes the file was made for (its theme directory's range), empty when unknown.
struct IconFile {
    std::string path;
    int pixelSize = 0;  // 0: unknown
    int minPixelSize = 0;
    int maxPixelSize = 0;
    bool scalable = false;  // SVG; otherwise PNG
};

// A file named directly (an absolute icon path): its kind from its extension, size unknown.
IconFile IconFileForPath(const std::string& path);

// A decoded icon source: a bitmap, resampled on demand, or an SVG, rendered on demand. The few
// most recent renderings are kept, so an icon drawn every frame at one size is resampled once.
class IconImage {
  public:
    explicit IconImage(PremultipliedImage bitmap);
    explicit IconImage(std::unique_ptr<SvgDocument> document);
    ~IconImage();
    IconImage(const IconImage&) = delete;
    IconImage& operator=(const IconImage&) = delete;

    // The image at exactly width x height; null when it cannot be made.
    std::shared_ptr<const PremultipliedImage> At(int width, int height);

  private:
    std::shared_ptr<const PremultipliedImage> bitmap_;
    std::unique_ptr<SvgDocument> document_;
    struct Rendering {
        int width;
        int height;
        std::shared_ptr<const PremultipliedImage> image;
    };
    std::vector<Rendering> renderings_;  // least recently used first
};

// The decoded image of a file, from the process-wide cache while any icon still holds it, or
// decoded now; null when the file is missing or cannot be decoded.
std::shared_ptr<IconImage> LoadIconImage(const IconFile& file);
// Files decoded so far in this process (cache misses); tests use it to see laziness and sharing.
int IconFileDecodeCount();

}  // namespace platform
