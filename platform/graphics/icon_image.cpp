// Decoding icon files (PNG, SVG) once per process and keeping their renderings at drawn sizes.
#include "platform/graphics/icon_image.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <unordered_map>

#include "platform/graphics/svg_image.h"

namespace platform {
namespace {

// Icons are drawn at a large and a small size, sometimes while a size changes; a few more
// renderings than that keep the common cases from resampling.
constexpr std::size_t kMaxRenderings = 4;

// Icons are drawn at tens of pixels. A picture of more pixels than this (4 MB) is shrunk to fit
// while it is decoded, a row at a time, so that no icon file costs more than a few megabytes.
constexpr std::int64_t kMaxDecodedPixels = 1024 * 1024;
// Decoding costs about 9 ms a megapixel here, however small the file (an 8000 x 8000 picture of
// one colour is 265 KB): a picture larger than any icon needs (4096 x 4096, four times the
// largest size icon themes ship) is refused from its header, and the next icon stands in.
constexpr std::int64_t kMaxIconPixels = 4096 * 4096;

// The largest size of the same shape within kMaxDecodedPixels.
SIZE FittedSize(int width, int height) {
    const double scale =
        std::sqrt(static_cast<double>(kMaxDecodedPixels) / (static_cast<double>(width) * height));
    SIZE fitted{std::max(1, static_cast<int>(width * scale)),
                std::max(1, static_cast<int>(height * scale))};
    while (static_cast<std::int64_t>(fitted.cx) * fitted.cy > kMaxDecodedPixels) {
        if (fitted.cx >= fitted.cy) {
            --fitted.cx;
        } else {
            --fitted.cy;
        }
    }
    return fitted;
}

// Premultiplies the decoded rows, and shrinks them on the way when the picture is too large.
class IconPixels final : public PngRowSink {
  public:
    bool Begin(int width, int height, bool interlaced) override {
        const std::int64_t pixels = static_cast<std::int64_t>(width) * height;
        if (pixels > kMaxIconPixels) return false;
        if (pixels <= kMaxDecodedPixels) {
            image_ = PremultipliedImage{width, height, {}};
            // Filled row by row: a file whose data ends early costs only the rows it held.
            image_.pixels.reserve(static_cast<std::size_t>(width) * height);
            return true;
        }
        // An interlaced picture would be held whole before its first row comes.
        if (interlaced) return false;
        const SIZE fitted = FittedSize(width, height);
        shrinker_ = std::make_unique<RowShrinker>(width, height, fitted.cx, fitted.cy);
        row_.resize(static_cast<std::size_t>(width));
        return true;
    }
    // Rows come in order, each once.
    void Row(int /*y*/, const std::uint32_t* pixels) override {
        if (shrinker_) {
            PremultiplyPixels(pixels, row_.data(), row_.size());
            shrinker_->AddRow(row_.data());
            return;
        }
        const std::size_t start = image_.pixels.size();
        image_.pixels.resize(start + static_cast<std::size_t>(image_.width));
        PremultiplyPixels(pixels, image_.pixels.data() + start,
                          static_cast<std::size_t>(image_.width));
    }
    PremultipliedImage Take() { return shrinker_ ? shrinker_->Take() : std::move(image_); }

  private:
    PremultipliedImage image_;
    std::unique_ptr<RowShrinker> shrinker_;
    std::vector<std::uint32_t> row_;
};

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
    IconPixels pixels;
    if (!DecodePng(file.path, pixels)) return nullptr;
    return std::make_shared<IconImage>(pixels.Take());
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
