// Scalable icons: an SVG document parsed once and rendered at any pixel size (librsvg + cairo).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/premultiplied_image.h"

namespace platform {

class SvgDocument {
  public:
    // Parses the file; null when it is missing, no regular file, larger than an icon can sensibly
    // be (4 MiB), or not a valid SVG (gzip-compressed or not). References to other files are not
    // followed.
    static std::unique_ptr<SvgDocument> Load(const std::string& path);
    ~SvgDocument();
    SvgDocument(const SvgDocument&) = delete;
    SvgDocument& operator=(const SvgDocument&) = delete;

    // The whole document fitted into width x height (aspect ratio kept, centred); nullopt for an
    // impossible size or when rendering fails.
    std::optional<PremultipliedImage> Render(int width, int height) const;

  private:
    struct Handle;
    explicit SvgDocument(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> handle_;
};

}  // namespace platform
