// Icon objects, the table of live icons, and DrawIconEx / DestroyIcon / CreateIconFromPixels.
#include "platform/graphics/icon.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <unordered_map>

#include "platform/graphics/device_context.h"
#include "platform/graphics/system_colors.h"

namespace platform {
namespace {

// Sizes an icon keeps ready to blend: the large and the small size, and room for a change.
constexpr std::size_t kMaxDrawnSizes = 4;

std::unordered_map<IconObject*, std::unique_ptr<IconObject>>& IconTable() {
    static std::unordered_map<IconObject*, std::unique_ptr<IconObject>> table;
    return table;
}

HICON AdoptIcon(std::unique_ptr<IconObject> icon) {
    HICON handle = icon.get();
    IconTable().emplace(handle, std::move(icon));
    return handle;
}

// The order in which to try an icon's files for a draw size (the larger side):
//   0. bitmaps made for this size (their directory's range holds it), nearest first;
//   1. bitmaps at least as large, smallest first (shrinking keeps detail);
//   2. SVGs, rendered at exactly the size, those made for this size first;
//   3. smaller bitmaps, largest first.
std::vector<std::size_t> CandidateOrder(const std::vector<IconFile>& files, int size) {
    struct Ranked {
        int group;
        int distance;
        std::size_t index;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(files.size());
    for (std::size_t index = 0; index < files.size(); ++index) {
        const IconFile& file = files[index];
        const bool madeForSize =
            file.maxPixelSize > 0 && file.minPixelSize <= size && size <= file.maxPixelSize;
        const int distance = std::abs(file.pixelSize - size);
        if (file.scalable) {
            ranked.push_back({2, madeForSize ? 0 : distance + 1, index});
        } else if (madeForSize) {
            // Equally near: the larger one, as shrinking looks better than growing.
            ranked.push_back({0, distance * 2 + (file.pixelSize < size ? 1 : 0), index});
        } else if (file.pixelSize >= size) {
            ranked.push_back({1, distance, index});
        } else {
            ranked.push_back({3, distance, index});
        }
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& first, const Ranked& second) {
        if (first.group != second.group) return first.group < second.group;
        if (first.distance != second.distance) return first.distance < second.distance;
        return first.index < second.index;
    });
    std::vector<std::size_t> order;
    order.reserve(ranked.size());
    for (const Ranked& entry : ranked) order.push_back(entry.index);
    return order;
}

bool SizeWithinLimits(int width, int height) {
    return width > 0 && height > 0 && width <= Surface::kMaxSide && height <= Surface::kMaxSide &&
           static_cast<std::int64_t>(width) * height <= Surface::kMaxPixels;
}

}  // namespace

// What icons of the same pixels or the same choices share: the decoded files and the images at
// the sizes drawn.
class IconSource {
  public:
    explicit IconSource(PremultipliedImage pixels)
        : pixels_(std::make_shared<IconImage>(std::move(pixels))) {}
    explicit IconSource(std::shared_ptr<const IconChoices> choices)
        : choices_(std::move(choices)), choiceStates_(choices_->size()) {
        for (std::size_t index = 0; index < choices_->size(); ++index) {
            const std::size_t count = (*choices_)[index] ? (*choices_)[index]->size() : 0;
            choiceStates_[index].loaded.resize(count);
            choiceStates_[index].failed.resize(count, false);
        }
    }
    IconSource(const IconSource&) = delete;
    IconSource& operator=(const IconSource&) = delete;

    const PremultipliedImage* ImageAt(int width, int height) {
        auto cached = std::find_if(drawn_.begin(), drawn_.end(), [&](const Drawn& drawn) {
            return drawn.width == width && drawn.height == height;
        });
        if (cached != drawn_.end()) {
            std::rotate(cached, cached + 1, drawn_.end());
            return drawn_.back().image.get();
        }
        std::shared_ptr<const PremultipliedImage> image = Make(width, height);
        if (drawn_.size() >= kMaxDrawnSizes) drawn_.erase(drawn_.begin());
        drawn_.push_back({width, height, image});
        return image.get();
    }

  private:
    // Per file of a choice: its decoded image once loaded (kept so it stays shared), or the fact
    // that it failed, so a broken file is read only once.
    struct ChoiceState {
        std::vector<std::shared_ptr<IconImage>> loaded;
        std::vector<bool> failed;
    };
    struct Drawn {
        int width;
        int height;
        std::shared_ptr<const PremultipliedImage> image;
    };

    std::shared_ptr<const PremultipliedImage> Make(int width, int height) {
        if (pixels_) return pixels_->At(width, height);
        // A choice none of whose files can be read (corrupt, cut short, too large, no file at
        // all) gives way to the next.
        for (std::size_t choice = 0; choice < choices_->size(); ++choice) {
            const IconFileSet& files = (*choices_)[choice];
            if (!files) continue;
            ChoiceState& state = choiceStates_[choice];
            for (std::size_t index : CandidateOrder(*files, std::max(width, height))) {
                if (state.failed[index]) continue;
                if (!state.loaded[index]) {
                    state.loaded[index] = LoadIconImage((*files)[index]);
                    if (!state.loaded[index]) {
                        state.failed[index] = true;
                        continue;
                    }
                }
                if (auto image = state.loaded[index]->At(width, height)) return image;
            }
        }
        return nullptr;
    }

    std::shared_ptr<IconImage> pixels_;
    std::shared_ptr<const IconChoices> choices_;
    std::vector<ChoiceState> choiceStates_;
    std::vector<Drawn> drawn_;  // least recently used first
};

namespace {

// The shared source of each choices object while any icon holds it. Expired entries are swept
// whenever the table has doubled since the last sweep.
class SourceTable {
  public:
    std::shared_ptr<IconSource> For(const std::shared_ptr<const IconChoices>& choices) {
        std::weak_ptr<IconSource>& slot = sources_[choices.get()];
        std::shared_ptr<IconSource> source = slot.lock();
        if (!source) {
            source = std::make_shared<IconSource>(choices);
            slot = source;
            if (sources_.size() >= 2 * sizeAfterSweep_) {
                std::erase_if(sources_, [](const auto& entry) { return entry.second.expired(); });
                sizeAfterSweep_ = std::max<std::size_t>(sources_.size(), 16);
            }
        }
        return source;
    }

  private:
    // A source holds its choices, so a key's object cannot be freed and its address reused
    // while the entry is live.
    std::unordered_map<const IconChoices*, std::weak_ptr<IconSource>> sources_;
    std::size_t sizeAfterSweep_ = 16;
};

SourceTable& Sources() {
    static SourceTable table;
    return table;
}

}  // namespace

// The size is taken before the pixels move into the source (the members are in that order).
IconObject::IconObject(PremultipliedImage pixels)
    : naturalSize_{pixels.width, pixels.height},
      source_(std::make_shared<IconSource>(std::move(pixels))) {}

IconObject::IconObject(const std::shared_ptr<const IconChoices>& choices, SIZE naturalSize)
    : naturalSize_(naturalSize), source_(Sources().For(choices)) {}

IconObject::~IconObject() = default;

const PremultipliedImage* IconObject::ImageAt(int width, int height) {
    if (!SizeWithinLimits(width, height)) return nullptr;
    return source_->ImageAt(width, height);
}

HICON CreateIconFromFiles(IconFileSet files, SIZE naturalSize) {
    if (!files || files->empty()) return nullptr;
    return CreateIconFromChoices(std::make_shared<const IconChoices>(1, std::move(files)),
                                 naturalSize);
}

HICON CreateIconFromChoices(const std::shared_ptr<const IconChoices>& choices, SIZE naturalSize) {
    if (!choices || choices->empty()) return nullptr;
    return AdoptIcon(std::make_unique<IconObject>(choices, naturalSize));
}

IconObject* FindIcon(HICON icon) {
    if (icon == nullptr) return nullptr;
    auto found = IconTable().find(icon);
    return found == IconTable().end() ? nullptr : found->second.get();
}

BOOL GetIconSize(HICON icon, SIZE* size) {
    IconObject* found = FindIcon(icon);
    if (found == nullptr || size == nullptr) return FALSE;
    *size = found->NaturalSize();
    return TRUE;
}

int LiveIconCount() { return static_cast<int>(IconTable().size()); }

}  // namespace platform

HICON CreateIconFromPixels(int width, int height, const std::uint32_t* argb) {
    if (argb == nullptr || !platform::SizeWithinLimits(width, height)) return nullptr;
    platform::RgbaImage image{width, height, {}};
    image.pixels.assign(argb, argb + static_cast<std::size_t>(width) * height);
    return platform::AdoptIcon(
        std::make_unique<platform::IconObject>(platform::Premultiply(image)));
}

BOOL DestroyIcon(HICON icon) {
    if (icon == nullptr) return FALSE;
    return platform::IconTable().erase(icon) > 0 ? TRUE : FALSE;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT /*step*/,
                HBRUSH flickerFreeBrush, UINT flags) {
    platform::DeviceContext* context = platform::FindDeviceContext(hdc);
    platform::IconObject* iconObject = platform::FindIcon(icon);
    if (context == nullptr || iconObject == nullptr || context->Target() == nullptr) return FALSE;
    if (!platform::SizeWithinLimits(width, height) || (flags & DI_NORMAL) == 0) return FALSE;
    const POINT at = context->ToDevice(x, y);
    if (at.x > INT_MAX - width || at.y > INT_MAX - height) return FALSE;
    const RECT area{at.x, at.y, at.x + width, at.y + height};
    RECT visible{};
    // Nothing to show: done without decoding, so icons scrolled out of view cost nothing.
    if (!IntersectRect(&visible, &area, &context->DeviceClip())) return TRUE;

    // With a brush the icon is drawn over that background, as it would be through an off-screen
    // bitmap filled with it.
    auto* brush = platform::FindGdiObjectOf<platform::BrushObject>(flickerFreeBrush,
                                                                   platform::GdiKind::Brush);
    if (brush != nullptr && !brush->hollow) {
        context->Target()->Fill(visible,
                                platform::PixelFromColor(platform::ResolveColor(brush->color)));
    }
    const platform::PremultipliedImage* image = iconObject->ImageAt(width, height);
    if (image == nullptr) return FALSE;
    const platform::BlendMode mode = (flags & DI_NORMAL) == DI_NORMAL
                                         ? platform::BlendMode::SourceOver
                                     : (flags & DI_IMAGE) != 0 ? platform::BlendMode::ColourOnly
                                                               : platform::BlendMode::MaskOnly;
    platform::BlendImage(*context->Target(), *image, at.x, at.y, visible, mode);
    return TRUE;
}
