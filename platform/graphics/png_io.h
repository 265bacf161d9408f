// Reading and writing PNG files (through libpng), for icons and window snapshots.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/surface.h"

namespace platform {

// Straight (not premultiplied) pixels, 0xAARRGGBB, row by row.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Any PNG colour type and bit depth; nullopt for a missing, corrupt or truncated file, or one
// whose size exceeds the surface limits.
std::optional<RgbaImage> ReadPng(const std::string& path);
// Writes `area` of the surface as an opaque RGB PNG; false when the file cannot be written.
bool WritePng(const std::string& path, const Surface& surface, const RECT& area);

}  // namespace platform
