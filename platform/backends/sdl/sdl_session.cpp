// Opening and closing SDL, with the hints that make it behave as a touch screen's window system.
#include "platform/backends/sdl/sdl_session.h"

#include <SDL.h>

#include <string_view>

namespace platform {
namespace {

constexpr Uint32 kSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;

void SetHints() {
    // A touch is reported once, as touch; mouse clicks are never turned into touches.
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    // Closing one window is the program's business, not a request to quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // A launcher runs all day; the screen saver and power management stay in charge.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
}

// How window surfaces reach the screen, once the driver is known (SDL reads this hint when the
// first window surface is made). On X11 they go as they are, through shared memory: SDL would
// otherwise present them as OpenGL textures, and loading and starting OpenGL (a software
// renderer on machines without a GPU) costs more than the launcher's whole start-up. Other
// drivers (Wayland, KMS) have no such surface of their own, and the hint would leave them with
// none at all: there SDL keeps its choice (the backend presents through wl_shm on Wayland).
void ChoosePresentation(std::string_view driver) {
    if (driver == "x11") SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

// Whether the SDL_VIDEODRIVER setting (a comma-separated list) names the driver.
bool DriverWasRequested(std::string_view driver) {
    const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (requested == nullptr) return false;
    std::string_view list = requested;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (name.size() == driver.size() &&
            SDL_strncasecmp(name.data(), driver.data(), driver.size()) == 0) {
            return true;
        }
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

bool Fail(std::string* error, const std::string& reason) {
    if (error != nullptr) *error = "cannot open a display: " + reason;
    return false;
}

}  // namespace

std::unique_ptr<SdlSession> SdlSession::Open(std::string* error) {
    SetHints();
    if (SDL_InitSubSystem(kSubsystems) != 0) {
        Fail(error, SDL_GetError());
        if (SDL_WasInit(0) == 0) SDL_Quit();
        return nullptr;
    }
    std::unique_ptr<SdlSession> session(new SdlSession);
    const char* driver = SDL_GetCurrentVideoDriver();
    const std::string_view name = driver != nullptr ? driver : "";
    // SDL falls back to an invisible screen when no real one answers; only tests want that.
    if ((name == "offscreen" || name == "dummy") && !DriverWasRequested(name)) {
        Fail(error, "no X11, Wayland or framebuffer display found");
        return nullptr;
    }
    if (SDL_GetNumVideoDisplays() < 1) {
        Fail(error, SDL_GetError());
        return nullptr;
    }
    ChoosePresentation(name);
    return session;
}

SdlSession::~SdlSession() {
    SDL_QuitSubSystem(kSubsystems);
    // The last user also releases SDL's own state (hints, error buffers).
    if (SDL_WasInit(0) == 0) SDL_Quit();
}

}  // namespace platform
