// A fixture that runs the SDL backend on SDL's dummy video driver (no X server needed) and
// feeds it events with SDL_PushEvent.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/backends/headless/headless_backend.h"
#include "platform/backends/sdl/sdl_backend.h"
#include "platform/windows/message_pump.h"

// Makes SDL open its invisible dummy screen and never reach a real one, message boxes included.
inline void UseDummyDisplay() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
}

class SdlTest : public ::testing::Test {
  protected:
    using Log = std::vector<std::string>;

    void SetUp() override {
        UseDummyDisplay();
        std::string error;
        ASSERT_TRUE(platform::InstallSdlBackend(&error)) << error;
        backend = dynamic_cast<platform::SdlBackend*>(platform::CurrentBackend());
        ASSERT_NE(backend, nullptr);
    }
    void TearDown() override { platform::InstallHeadlessBackend(); }

    // One turn of the program's loop: SDL's events are taken, then every message is handled.
    static void Deliver() {
        platform::CurrentBackend()->WaitForEvents(0);
        platform::ProcessPendingMessages();
    }
    static void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

    SDL_Window* SdlWindowOf(HWND hwnd) const {
        return SDL_GetWindowFromID(backend->SdlWindowId(hwnd));
    }
    Uint32 SdlIdOf(HWND hwnd) const { return backend->SdlWindowId(hwnd); }

    platform::SdlBackend* backend = nullptr;
};
