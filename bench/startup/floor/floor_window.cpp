// The start-up floor: a program that opens SDL as the launcher does, shows one borderless window
// of the launcher's size, presents it once and waits to be ended. It records its first present
// the same way as the launcher (TAVREL_FIRST_FRAME_FILE).
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/backends/sdl/sdl_session.h"
#include "platform/backends/shared/first_frame_record.h"

int main(int argc, char** argv) {
    std::string error;
    const std::unique_ptr<platform::SdlSession> session = platform::SdlSession::Open(&error);
    if (!session) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    // The launcher's window on a 480 x 640 screen, unless told otherwise.
    const int width = argc > 2 ? std::atoi(argv[1]) : 440;
    const int height = argc > 2 ? std::atoi(argv[2]) : 552;
    SDL_Window* window =
        SDL_CreateWindow("", 20, 44, width, height,
                         SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP);
    if (window == nullptr) return 1;
    SDL_ShowWindow(window);
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) return 1;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0xE4, 0xE4, 0xE4));
    if (SDL_UpdateWindowSurface(window) == 0) platform::RecordFirstFrame();
    SDL_Event event;
    while (SDL_WaitEvent(&event) != 0 && event.type != SDL_QUIT) {
    }
    SDL_DestroyWindow(window);
    return 0;
}
