// Decoding icon files (PNG, SVG) once per process and keeping their renderings at drawn sizes.
#include "platform/graphics/icon_image.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "platform/graphics/svg_image.h"

namespace platform {
namespace {

// Icons are drawn at a large and a small size, sometimes while a size changes; a few more
// renderings than that keep the common cases from resampling.
constexpr std::size_t kMaxRenderings = 4;

bool EndsWithIgnoringCase(const std::string& text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(
        suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
        [](char wanted, char actual) {
            return wanted == static_cast<char>(std::tolower(static_cast<unsigned char>(actual)));
        });
}

// Entries expire with the last icon that holds them; expired entries are swept whenever the
// table has doubled since the last sweep, so the sweeps cost nothing per lookup on average.
class DecodedFileCache {
  public:
    std::shared_ptr<IconImage> Find(const std::string& path) {
        auto found = entries_.find(path);
        return found == entries_.end() ? nullptr : found->second.lock();
    }

    void Add(const std::string& path, const std::shared_ptr<IconImage>& image) {
        entries_[path] = image;
        if (entries_.size() >= 2 * sizeAfterSweep_) {
            std::erase_if(entries_, [](const auto& entry) { return entry.second.expired(); });
            sizeAfterSweep_ = std::max<std::size_t>(entries_.size(), 16);
        }
    }

    int decodeCount = 0;

  private:
    std::unordered_map<std::string, std::weak_ptr<IconImage>> entries_;
    std::size_t sizeAfterSweep_ = 16;
};

DecodedFileCache& Cache() {
    static DecodedFileCache cache;
    return cache;
}

std::shared_ptr<IconImage> Decode(const IconFile& file) {
    if (file.scalable) {
        std::unique_ptr<SvgDocument> document = SvgDocument::Load(file.path);
        return document ? std::make_shared<IconImage>(std::move(document)) : nullptr;
    }
    std::optional<RgbaImage> image = ReadPng(file.path);
    return image ? std::make_shared<IconImage>(Premultiply(*image)) : nullptr;
}

}  // namespace

IconFile IconFileForPath(const std::string& path) {
    IconFile file;
    file.path = path;
    file.scalable = EndsWithIgnoringCase(path, ".svg") || EndsWithIgnoringCase(path, ".svgz");
    return file;
}

IconImage::IconImage(PremultipliedImage bitmap)
    : bitmap_(std::make_shared<const PremultipliedImage>(std::move(bitmap))) {}

IconImage::IconImage(std::unique_ptr<SvgDocument> document) : document_(std::move(document)) {}

IconImage::~IconImage() = default;

std::shared_ptr<const PremultipliedImage> IconImage::At(int width, int height) {
    if (bitmap_ && bitmap_->width == width && bitmap_->height == height) return bitmap_;
    auto cached = std::find_if(renderings_.begin(), renderings_.end(), [&](const Rendering& r) {
        return r.width == width && r.height == height;
    });
    if (cached != renderings_.end()) {
        std::rotate(cached, cached + 1, renderings_.end());
        return renderings_.back().image;
    }
    std::optional<PremultipliedImage> made =
        bitmap_ ? ScaleImage(*bitmap_, width, height) : document_->Render(width, height);
    // A failure is remembered too, so a size that cannot be made is not retried every frame.
    std::shared_ptr<const PremultipliedImage> image =
        made ? std::make_shared<const PremultipliedImage>(std::move(*made)) : nullptr;
    if (renderings_.size() >= kMaxRenderings) renderings_.erase(renderings_.begin());
    renderings_.push_back({width, height, image});
    return image;
}

std::shared_ptr<IconImage> LoadIconImage(const IconFile& file) {
    if (std::shared_ptr<IconImage> cached = Cache().Find(file.path)) return cached;
    ++Cache().decodeCount;
    std::shared_ptr<IconImage> image = Decode(file);
    if (image) Cache().Add(file.path, image);
    return image;
}

int IconFileDecodeCount() { return Cache().decodeCount; }

}  // namespace platform
