#include "resources/launcher_icon.h"

#include <algorithm>
#include <cmath>

namespace {

std::uint32_t Argb(double alpha, int red, int green, int blue) {
    const auto a = static_cast<std::uint32_t>(std::clamp(alpha, 0.0, 1.0) * 255.0 + 0.5);
    return (a << 24) | (static_cast<std::uint32_t>(red) << 16) |
           (static_cast<std::uint32_t>(green) << 8) | static_cast<std::uint32_t>(blue);
}

// Coverage of a pixel by a rounded rectangle, from the distance to its edge (antialiased).
double RoundedCoverage(double x, double y, double left, double top, double right, double bottom,
                       double radius) {
    const double cx = std::clamp(x, left + radius, right - radius);
    const double cy = std::clamp(y, top + radius, bottom - radius);
    const double distance = std::hypot(x - cx, y - cy) - radius;
    return std::clamp(0.5 - distance, 0.0, 1.0);
}

}  // namespace

platform::IconGroupImage DrawLauncherIcon(int size) {
    platform::IconGroupImage image{size, size, std::vector<std::uint32_t>(size * size, 0)};
    const double s = size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double tile = RoundedCoverage(px, py, 0.5, 0.5, s - 0.5, s - 0.5, s * 0.2);
            if (tile <= 0.0) continue;
            // A vertical gradient from light to deep blue.
            const double t = py / s;
            int red = static_cast<int>(40 + (10 - 40) * t);
            int green = static_cast<int>(130 + (80 - 130) * t);
            int blue = static_cast<int>(230 + (170 - 230) * t);
            for (int row = 0; row < 3; ++row) {
                const double top = s * (0.2 + row * 0.22);
                const double cover =
                    RoundedCoverage(px, py, s * 0.17, top, s * 0.83, top + s * 0.16, s * 0.05);
                if (cover <= 0.0) continue;
                const int rowRed = row == 1 ? 255 : 235;
                const int rowGreen = row == 1 ? 200 : 240;
                const int rowBlue = row == 1 ? 60 : 250;
                red = static_cast<int>(red + (rowRed - red) * cover);
                green = static_cast<int>(green + (rowGreen - green) * cover);
                blue = static_cast<int>(blue + (rowBlue - blue) * cover);
            }
            image.pixels[static_cast<std::size_t>(y) * size + x] = Argb(tile, red, green, blue);
        }
    }
    return image;
}
