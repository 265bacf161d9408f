#include "platform/backends/sdl/sdl_window_icon.h"

#include <SDL.h>

#include <cstring>
#include <memory>

#include "platform/graphics/icon.h"

namespace platform {
namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const noexcept { SDL_FreeSurface(surface); }
};

// Premultiplied 0xAARRGGBB back to straight alpha, as SDL expects.
std::uint32_t Straight(std::uint32_t pixel) {
    const std::uint32_t alpha = pixel >> 24;
    if (alpha == 0) return 0;
    if (alpha == 255) return pixel;
    auto channel = [alpha](std::uint32_t value) {
        return std::min<std::uint32_t>(255, (value * 255 + alpha / 2) / alpha);
    };
    return (alpha << 24) | (channel((pixel >> 16) & 0xFF) << 16) |
           (channel((pixel >> 8) & 0xFF) << 8) | channel(pixel & 0xFF);
}

}  // namespace

void SetSdlWindowIcon(SDL_Window* window, HICON icon) {
    IconObject* object = FindIcon(icon);
    SIZE size{};
    if (window == nullptr || object == nullptr || !GetIconSize(icon, &size)) return;
    const PremultipliedImage* image = object->ImageAt(size.cx, size.cy);
    if (image == nullptr) return;
    std::unique_ptr<SDL_Surface, SurfaceDeleter> surface(SDL_CreateRGBSurfaceWithFormat(
        0, image->width, image->height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!surface || SDL_LockSurface(surface.get()) != 0) return;
    for (int y = 0; y < image->height; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                             static_cast<std::ptrdiff_t>(y) * surface->pitch);
        for (int x = 0; x < image->width; ++x) {
            row[x] = Straight(image->pixels[static_cast<std::size_t>(y) * image->width + x]);
        }
    }
    SDL_UnlockSurface(surface.get());
    SDL_SetWindowIcon(window, surface.get());
}

}  // namespace platform
