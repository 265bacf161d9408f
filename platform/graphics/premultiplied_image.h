// Premultiplied-alpha pixel images for icons: conversion from straight RGBA, resampling to a
// size, and source-over blending onto a surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/png_io.h"
#include "platform/graphics/surface.h"

namespace platform {

// Pixels are 0xAARRGGBB with each colour channel already multiplied by alpha (so never above
// it): averaging and blending then need no division per pixel.
struct PremultipliedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

PremultipliedImage Premultiply(const RgbaImage& image);
// The same for `count` straight pixels; `in` and `out` may be the same.
void PremultiplyPixels(const std::uint32_t* in, std::uint32_t* out, std::size_t count);

// Resamples to width x height: area averaging along an axis that shrinks, bilinear along one
// that grows. nullopt for a size of 0 or less or beyond the surface limits.
std::optional<PremultipliedImage> ScaleImage(const PremultipliedImage& image, int width,
                                             int height);

// Shrinks an image that arrives row by row to exactly what ScaleImage would make of it whole,
// while holding only the result and two of its rows of sums: for pictures too large to keep.
class RowShrinker {
  public:
    // The result's sides lie between 1 and the source's.
    RowShrinker(int sourceWidth, int sourceHeight, int width, int height);
    ~RowShrinker();
    RowShrinker(const RowShrinker&) = delete;
    RowShrinker& operator=(const RowShrinker&) = delete;

    // The next source row, premultiplied; rows beyond the source's height are ignored.
    void AddRow(const std::uint32_t* row);
    // The shrunk image, once every source row was added.
    PremultipliedImage Take();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// How the image's pixels land on the surface.
enum class BlendMode {
    SourceOver,  // alpha blending
    ColourOnly,  // the premultiplied colour, opaque (the image as if over black)
    MaskOnly,    // black where the image is at least half opaque, untouched elsewhere
};

// Draws the image with its top-left corner at device point (x, y), only inside `clip` (which
// must lie within the surface).
void BlendImage(Surface& surface, const PremultipliedImage& image, int x, int y, const RECT& clip,
                BlendMode mode);

}  // namespace platform
