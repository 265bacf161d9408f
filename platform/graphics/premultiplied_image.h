// Premultiplied-alpha pixel images for icons: conversion from straight RGBA, resampling to a
// size, and source-over blending onto a surface.
#pragma once

#include <cstdint>
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

// Resamples to width x height: area averaging along an axis that shrinks, bilinear along one
// that grows. nullopt for a size of 0 or less or beyond the surface limits.
std::optional<PremultipliedImage> ScaleImage(const PremultipliedImage& image, int width,
                                             int height);

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
