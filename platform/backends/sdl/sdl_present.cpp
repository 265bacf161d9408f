// Pixel transfer from window surfaces (0x00RRGGBB) to SDL surfaces: rows are copied as they are
// when the screen uses the same layout, and converted by SDL otherwise.
#include "platform/backends/sdl/sdl_present.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

constexpr Uint32 kOpaque = 0xFF000000u;

void CopyRows(const Surface& source, const RECT& area, SDL_Surface* target, bool setAlpha) {
    const int width = area.right - area.left;
    auto* targetBytes = static_cast<Uint8*>(target->pixels);
    for (int y = area.top; y < area.bottom; ++y) {
        const Pixel* from = source.Row(y) + area.left;
        auto* to = reinterpret_cast<Uint32*>(targetBytes +
                                             static_cast<std::ptrdiff_t>(y) * target->pitch) +
                   area.left;
        if (setAlpha) {
            // An alpha of zero would make the window transparent under a compositor.
            std::transform(from, from + width, to, [](Pixel pixel) { return pixel | kOpaque; });
        } else {
            std::memcpy(to, from, static_cast<std::size_t>(width) * sizeof(Pixel));
        }
    }
}

bool BlitConverted(const Surface& source, const RECT& area, SDL_Surface* target) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // SDL only reads from a source surface; its interface has no const.
    auto* first = const_cast<Pixel*>(source.Row(area.top) + area.left);
    SDL_Surface* wrapper = SDL_CreateRGBSurfaceWithFormatFrom(
        first, width, height, 32, source.Stride() * static_cast<int>(sizeof(Pixel)),
        SDL_PIXELFORMAT_RGB888);
    if (wrapper == nullptr) return false;
    SDL_SetSurfaceBlendMode(wrapper, SDL_BLENDMODE_NONE);
    SDL_Rect destination{area.left, area.top, width, height};
    const bool copied = SDL_BlitSurface(wrapper, nullptr, target, &destination) == 0;
    SDL_FreeSurface(wrapper);
    return copied;
}

}  // namespace

bool CopyToSdlSurface(const Surface& source, const RECT& area, SDL_Surface* target, RECT* copied) {
    if (target == nullptr) return false;
    RECT clipped{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0),
                 std::min<LONG>({area.right, source.Width(), target->w}),
                 std::min<LONG>({area.bottom, source.Height(), target->h})};
    if (clipped.left >= clipped.right || clipped.top >= clipped.bottom) return false;

    const Uint32 format = target->format->format;
    bool done = true;
    if (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888) {
        if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return false;
        CopyRows(source, clipped, target, format == SDL_PIXELFORMAT_ARGB8888);
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    } else {
        done = BlitConverted(source, clipped, target);
    }
    if (done && copied != nullptr) *copied = clipped;
    return done;
}

}  // namespace platform
