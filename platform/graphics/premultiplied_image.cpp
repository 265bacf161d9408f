// Premultiplying, resampling and blending icon pixels, all in integer arithmetic.
#include "platform/graphics/premultiplied_image.h"

#include <algorithm>

#include "platform/base/rect.h"

namespace platform {
namespace {

// Filter weights are fixed point with this many fractional bits; the taps of one output pixel
// always add up to exactly 1, so flat areas keep their exact colour.
constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;

// value / 255, rounded to nearest, for value in [0, 255 * 255].
constexpr std::uint32_t DivideBy255(std::uint32_t value) {
    value += 128;
    return (value + (value >> 8)) >> 8;
}

struct Tap {
    int source;
    int weight;
};

// For every output index, the input indexes that contribute to it and their weights.
struct AxisFilter {
    std::vector<int> firstTap;  // output i uses taps [firstTap[i], firstTap[i + 1])
    std::vector<Tap> taps;
};

// Output pixel i covers input span [i * source, (i + 1) * source) and input pixel j covers
// [j * destination, (j + 1) * destination), both in units of 1 / (source * destination).
AxisFilter AreaAverageFilter(int source, int destination) {
    AxisFilter filter;
    filter.firstTap.reserve(static_cast<std::size_t>(destination) + 1);
    for (int i = 0; i < destination; ++i) {
        filter.firstTap.push_back(static_cast<int>(filter.taps.size()));
        const std::int64_t start = static_cast<std::int64_t>(i) * source;
        const std::int64_t end = start + source;
        const int firstSource = static_cast<int>(start / destination);
        const int lastSource = static_cast<int>((end - 1) / destination);
        int total = 0;
        std::size_t heaviest = filter.taps.size();
        for (int j = firstSource; j <= lastSource; ++j) {
            const std::int64_t overlap =
                std::min<std::int64_t>(end, static_cast<std::int64_t>(j + 1) * destination) -
                std::max<std::int64_t>(start, static_cast<std::int64_t>(j) * destination);
            const int weight = static_cast<int>(overlap * kWeightOne / source);
            if (filter.taps.size() == heaviest || weight > filter.taps[heaviest].weight) {
                heaviest = filter.taps.size();
            }
            filter.taps.push_back({j, weight});
            total += weight;
        }
        filter.taps[heaviest].weight += kWeightOne - total;
    }
    filter.firstTap.push_back(static_cast<int>(filter.taps.size()));
    return filter;
}

// Samples at output pixel centres: input position (i + 0.5) * source / destination - 0.5, held
// as the fraction numerator / (2 * destination), clamped at the edges.
AxisFilter BilinearFilter(int source, int destination) {
    AxisFilter filter;
    filter.firstTap.reserve(static_cast<std::size_t>(destination) + 1);
    const std::int64_t denominator = 2LL * destination;
    for (int i = 0; i < destination; ++i) {
        filter.firstTap.push_back(static_cast<int>(filter.taps.size()));
        const std::int64_t numerator = static_cast<std::int64_t>(2 * i + 1) * source - destination;
        if (numerator <= 0) {
            filter.taps.push_back({0, kWeightOne});
            continue;
        }
        const int lower = static_cast<int>(numerator / denominator);
        if (lower >= source - 1) {
            filter.taps.push_back({source - 1, kWeightOne});
            continue;
        }
        const int fraction =
            static_cast<int>((numerator - lower * denominator) * kWeightOne / denominator);
        filter.taps.push_back({lower, kWeightOne - fraction});
        if (fraction > 0) filter.taps.push_back({lower + 1, fraction});
    }
    filter.firstTap.push_back(static_cast<int>(filter.taps.size()));
    return filter;
}

AxisFilter MakeFilter(int source, int destination) {
    return destination <= source ? AreaAverageFilter(source, destination)
                                 : BilinearFilter(source, destination);
}

std::uint32_t PremultiplyPixel(std::uint32_t pixel) {
    const std::uint32_t alpha = pixel >> 24;
    if (alpha == 0xFF) return pixel;
    if (alpha == 0) return 0;
    const std::uint32_t red = DivideBy255(((pixel >> 16) & 0xFF) * alpha);
    const std::uint32_t green = DivideBy255(((pixel >> 8) & 0xFF) * alpha);
    const std::uint32_t blue = DivideBy255((pixel & 0xFF) * alpha);
    return (alpha << 24) | (red << 16) | (green << 8) | blue;
}

// The horizontal pass of one row: per output pixel and channel, the weighted sum of its taps,
// unrounded (at most 255 << kWeightBits).
void SumRow(const AxisFilter& filter, const std::uint32_t* row, int width, std::uint32_t* out) {
    for (int x = 0; x < width; ++x) {
        std::uint32_t sums[4] = {};
        for (int t = filter.firstTap[x]; t < filter.firstTap[x + 1]; ++t) {
            const std::uint32_t pixel = row[filter.taps[t].source];
            const auto weight = static_cast<std::uint32_t>(filter.taps[t].weight);
            for (int channel = 0; channel < 4; ++channel) {
                sums[channel] += ((pixel >> (24 - 8 * channel)) & 0xFF) * weight;
            }
        }
        std::copy(std::begin(sums), std::end(sums), out + static_cast<std::ptrdiff_t>(x) * 4);
    }
}

constexpr std::uint64_t kHalf = std::uint64_t{1} << (2 * kWeightBits - 1);

// One output pixel from its vertical sums, rounded once.
std::uint32_t PixelFromSums(const std::uint64_t* sums) {
    std::uint32_t pixel = 0;
    for (int channel = 0; channel < 4; ++channel) {
        const auto value = static_cast<std::uint32_t>(
            std::min<std::uint64_t>((sums[channel] + kHalf) >> (2 * kWeightBits), 0xFF));
        pixel |= value << (24 - 8 * channel);
    }
    return pixel;
}

}  // namespace

PremultipliedImage Premultiply(const RgbaImage& image) {
    PremultipliedImage result{image.width, image.height, {}};
    result.pixels.resize(image.pixels.size());
    PremultiplyPixels(image.pixels.data(), result.pixels.data(), image.pixels.size());
    return result;
}

void PremultiplyPixels(const std::uint32_t* in, std::uint32_t* out, std::size_t count) {
    std::transform(in, in + count, out, PremultiplyPixel);
}

std::optional<PremultipliedImage> ScaleImage(const PremultipliedImage& image, int width,
                                             int height) {
    if (width <= 0 || height <= 0 || width > Surface::kMaxSide || height > Surface::kMaxSide ||
        static_cast<std::int64_t>(width) * height > Surface::kMaxPixels) {
        return std::nullopt;
    }
    if (image.width <= 0 || image.height <= 0) return std::nullopt;
    if (width == image.width && height == image.height) return image;

    // Horizontal pass into unrounded sums (at most 255 << kWeightBits per channel), then the
    // vertical pass rounds once at the end.
    const AxisFilter horizontal = MakeFilter(image.width, width);
    const AxisFilter vertical = MakeFilter(image.height, height);
    std::vector<std::uint32_t> columns(static_cast<std::size_t>(width) * image.height * 4);
    for (int y = 0; y < image.height; ++y) {
        SumRow(horizontal, image.pixels.data() + static_cast<std::size_t>(y) * image.width, width,
               columns.data() + static_cast<std::size_t>(y) * width * 4);
    }

    PremultipliedImage result{width, height, {}};
    result.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* out = result.pixels.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            std::uint64_t sums[4] = {};
            for (int t = vertical.firstTap[y]; t < vertical.firstTap[y + 1]; ++t) {
                const std::uint32_t* in =
                    columns.data() +
                    (static_cast<std::size_t>(vertical.taps[t].source) * width + x) * 4;
                const auto weight = static_cast<std::uint64_t>(vertical.taps[t].weight);
                for (int channel = 0; channel < 4; ++channel) sums[channel] += in[channel] * weight;
            }
            out[x] = PixelFromSums(sums);
        }
    }
    return result;
}

struct RowShrinker::State {
    AxisFilter horizontal;
    AxisFilter vertical;
    int sourceHeight = 0;
    int nextSourceRow = 0;
    int firstOpenRow = 0;                // the lowest output row still collecting
    std::vector<std::uint32_t> rowSums;  // the horizontal pass of the current source row
    std::vector<std::uint64_t> open[2];  // vertical sums of output rows firstOpenRow and the next
    PremultipliedImage result;
};

RowShrinker::RowShrinker(int sourceWidth, int sourceHeight, int width, int height)
    : state_(std::make_unique<State>()) {
    State& state = *state_;
    state.horizontal = AreaAverageFilter(sourceWidth, width);
    state.vertical = AreaAverageFilter(sourceHeight, height);
    state.sourceHeight = sourceHeight;
    state.rowSums.resize(static_cast<std::size_t>(width) * 4);
    state.open[0].assign(static_cast<std::size_t>(width) * 4, 0);
    state.open[1].assign(static_cast<std::size_t>(width) * 4, 0);
    state.result = PremultipliedImage{width, height, {}};
    // Filled as rows complete: a picture whose data ends early costs only the rows it reached.
    state.result.pixels.reserve(static_cast<std::size_t>(width) * height);
}

RowShrinker::~RowShrinker() = default;

void RowShrinker::AddRow(const std::uint32_t* row) {
    State& state = *state_;
    if (state.nextSourceRow >= state.sourceHeight) return;
    const int source = state.nextSourceRow++;
    const int width = state.result.width;
    const int height = state.result.height;
    SumRow(state.horizontal, row, width, state.rowSums.data());
    // Shrinking, a source row reaches at most two output rows: the lowest open one and the next.
    for (int slot = 0; slot < 2 && state.firstOpenRow + slot < height; ++slot) {
        const int output = state.firstOpenRow + slot;
        const int first = state.vertical.firstTap[output];
        const int offset = source - state.vertical.taps[first].source;
        if (offset < 0 || first + offset >= state.vertical.firstTap[output + 1]) continue;
        const auto weight = static_cast<std::uint64_t>(state.vertical.taps[first + offset].weight);
        std::uint64_t* sums = state.open[slot].data();
        for (std::size_t index = 0; index < state.rowSums.size(); ++index) {
            sums[index] += state.rowSums[index] * weight;
        }
    }
    // An output row is done with its last tap.
    while (state.firstOpenRow < height &&
           state.vertical.taps[state.vertical.firstTap[state.firstOpenRow + 1] - 1].source ==
               source) {
        for (int x = 0; x < width; ++x) {
            state.result.pixels.push_back(
                PixelFromSums(state.open[0].data() + static_cast<std::ptrdiff_t>(x) * 4));
        }
        std::swap(state.open[0], state.open[1]);
        std::fill(state.open[1].begin(), state.open[1].end(), 0);
        ++state.firstOpenRow;
    }
}

PremultipliedImage RowShrinker::Take() { return std::move(state_->result); }

void BlendImage(Surface& surface, const PremultipliedImage& image, int x, int y, const RECT& clip,
                BlendMode mode) {
    const RECT placed{x, y, x + image.width, y + image.height};
    RECT area{};
    if (!IntersectRect(&area, &placed, &clip)) return;
    for (int row = area.top; row < area.bottom; ++row) {
        const std::uint32_t* source =
            image.pixels.data() + static_cast<std::size_t>(row - y) * image.width + (area.left - x);
        Pixel* target = surface.Row(row) + area.left;
        for (int column = 0; column < area.right - area.left; ++column) {
            const std::uint32_t pixel = source[column];
            const std::uint32_t alpha = pixel >> 24;
            switch (mode) {
                case BlendMode::ColourOnly:
                    target[column] = pixel & 0xFFFFFF;
                    break;
                case BlendMode::MaskOnly:
                    if (alpha >= 0x80) target[column] = 0;
                    break;
                case BlendMode::SourceOver: {
                    if (alpha == 0) break;
                    if (alpha == 0xFF) {
                        target[column] = pixel & 0xFFFFFF;
                        break;
                    }
                    const Pixel under = target[column];
                    const std::uint32_t keep = 0xFF - alpha;
                    const std::uint32_t red =
                        ((pixel >> 16) & 0xFF) + DivideBy255(((under >> 16) & 0xFF) * keep);
                    const std::uint32_t green =
                        ((pixel >> 8) & 0xFF) + DivideBy255(((under >> 8) & 0xFF) * keep);
                    const std::uint32_t blue = (pixel & 0xFF) + DivideBy255((under & 0xFF) * keep);
                    // A colour above its alpha (not truly premultiplied) must not wrap around.
                    target[column] = (std::min<std::uint32_t>(red, 0xFF) << 16) |
                                     (std::min<std::uint32_t>(green, 0xFF) << 8) |
                                     std::min<std::uint32_t>(blue, 0xFF);
                    break;
                }
            }
        }
    }
}

}  // namespace platform
