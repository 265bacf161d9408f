// A small Wayland compositor in a thread of the test, connected to the test by a socket pair. It
// offers wl_compositor and (optionally) wl_shm, and shows a surface as a compositor that keeps a
// texture does: of each committed buffer it takes only the damaged part. It also watches the
// client keep the rules of shared buffers: no writing into a buffer it has not released.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/base/win_types.h"

struct wl_display;
struct wl_surface;
struct wl_compositor;

class FakeCompositor {
  public:
    enum class Release {
        AfterReading,  // as soon as a commit has been read (a renderer that uploads at once)
        OnReplace,     // when the next buffer is committed (a renderer that reads while drawing)
        Never,         // only when the test says so
    };

    // What the surface shows, and what the compositor saw of its client.
    struct Screen {
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> pixels;  // as committed, 0x00RRGGBB
        // All of the buffer committed last, as a compositor that repaints from it reads it.
        std::vector<std::uint32_t> lastBuffer;
        int commits = 0;
        RECT lastDamage{};
        int heldBuffers = 0;
        // A buffer changed while the compositor held it, or was committed again before release.
        bool bufferTouchedWhileHeld = false;
    };

    explicit FakeCompositor(bool offerShm = true);
    ~FakeCompositor();
    FakeCompositor(const FakeCompositor&) = delete;
    FakeCompositor& operator=(const FakeCompositor&) = delete;

    // The test's connection and a surface made on it.
    wl_display* Client() const { return client_; }
    wl_surface* Surface() const { return surface_; }

    void SetRelease(Release release);
    // Releases every buffer held, `delayMs` from now.
    void ReleaseHeldAfter(int delayMs);
    // Returns once the compositor has handled every request sent so far.
    void Sync();
    Screen Shown();

    struct Server;

  private:
    void Run();

    std::unique_ptr<Server> server_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    wl_display* client_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_surface* surface_ = nullptr;
};
