// The fake compositor's server side runs on its own thread (libwayland-server is not shared
// between threads); the test reads what it saw under a lock.
#include "wayland/fake_compositor.h"

#include <sys/socket.h>
#include <wayland-client.h>
#include <wayland-server.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>

#include "platform/base/rect.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kUnfilled = 0x7F007F;

struct HeldBuffer {
    wl_listener destroyed{};  // first member: the listener leads back to its record
    FakeCompositor::Server* server = nullptr;
    wl_resource* resource = nullptr;
    std::vector<std::uint8_t> contentAtCommit;
};

struct SurfaceState {
    FakeCompositor::Server* server = nullptr;
    std::optional<wl_resource*> attached;  // a null buffer detaches
    RECT damage{};
};

std::vector<std::uint8_t> ContentOf(wl_shm_buffer* buffer) {
    const auto* data = static_cast<const std::uint8_t*>(wl_shm_buffer_get_data(buffer));
    const auto size = static_cast<std::size_t>(wl_shm_buffer_get_stride(buffer)) *
                      static_cast<std::size_t>(wl_shm_buffer_get_height(buffer));
    return {data, data + size};
}

void AddDamage(wl_resource* surface, int x, int y, int width, int height) {
    auto* state = static_cast<SurfaceState*>(wl_resource_get_user_data(surface));
    const RECT added{x, y, x + width, y + height};
    UnionRect(&state->damage, &state->damage, &added);
}

}  // namespace

struct FakeCompositor::Server {
    wl_display* display = nullptr;
    std::mutex mutex;
    Release release = Release::AfterReading;
    Screen screen;
    std::map<wl_resource*, std::unique_ptr<HeldBuffer>> held;
    std::optional<Clock::time_point> releaseHeldAt;
    std::map<wl_resource*, SurfaceState> surfaces;

    // Called with the lock held.
    void Hold(wl_resource* resource, wl_shm_buffer* buffer) {
        auto record = std::make_unique<HeldBuffer>();
        record->server = this;
        record->resource = resource;
        record->contentAtCommit = ContentOf(buffer);
        record->destroyed.notify = [](wl_listener* listener, void*) {
            // The client's teardown: the buffer goes, held or not.
            auto* record = reinterpret_cast<HeldBuffer*>(listener);
            Server* server = record->server;
            const std::lock_guard lock(server->mutex);
            server->held.erase(record->resource);
            server->screen.heldBuffers = static_cast<int>(server->held.size());
        };
        wl_resource_add_destroy_listener(resource, &record->destroyed);
        held[resource] = std::move(record);
    }

    void ReleaseHeld() {
        for (auto& [resource, record] : held) {
            wl_shm_buffer* buffer = wl_shm_buffer_get(resource);
            wl_shm_buffer_begin_access(buffer);
            if (ContentOf(buffer) != record->contentAtCommit) screen.bufferTouchedWhileHeld = true;
            wl_shm_buffer_end_access(buffer);
            wl_list_remove(&record->destroyed.link);
            wl_buffer_send_release(resource);
        }
        held.clear();
    }

    void Commit(SurfaceState& state) {
        const std::lock_guard lock(mutex);
        ++screen.commits;
        screen.lastDamage = state.damage;
        if (state.attached && *state.attached != nullptr) Show(*state.attached, state.damage);
        state.attached.reset();
        state.damage = RECT{};
    }

    void Show(wl_resource* resource, RECT damage) {
        wl_shm_buffer* buffer = wl_shm_buffer_get(resource);
        if (buffer == nullptr) throw std::runtime_error("a buffer that is not wl_shm");
        if (held.contains(resource)) screen.bufferTouchedWhileHeld = true;
        if (release == Release::OnReplace) ReleaseHeld();
        const int width = wl_shm_buffer_get_width(buffer);
        const int height = wl_shm_buffer_get_height(buffer);
        if (width != screen.width || height != screen.height) {
            // A new texture, with a colour no test draws: only what is damaged gets filled.
            screen.width = width;
            screen.height = height;
            screen.pixels.assign(static_cast<std::size_t>(width) * height, kUnfilled);
        }
        const RECT bounds{0, 0, width, height};
        IntersectRect(&damage, &damage, &bounds);
        wl_shm_buffer_begin_access(buffer);
        const auto* data = static_cast<const std::uint8_t*>(wl_shm_buffer_get_data(buffer));
        const int stride = wl_shm_buffer_get_stride(buffer);
        for (int y = damage.top; y < damage.bottom; ++y) {
            std::memcpy(&screen.pixels[static_cast<std::size_t>(y) * width + damage.left],
                        data + static_cast<std::ptrdiff_t>(y) * stride +
                            static_cast<std::ptrdiff_t>(damage.left) * 4,
                        static_cast<std::size_t>(damage.right - damage.left) * 4);
        }
        screen.lastBuffer.resize(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y) {
            std::memcpy(&screen.lastBuffer[static_cast<std::size_t>(y) * width],
                        data + static_cast<std::ptrdiff_t>(y) * stride,
                        static_cast<std::size_t>(width) * 4);
        }
        if (release == Release::AfterReading) {
            wl_buffer_send_release(resource);
        } else {
            Hold(resource, buffer);
        }
        wl_shm_buffer_end_access(buffer);
        screen.heldBuffers = static_cast<int>(held.size());
    }
};

namespace {

FakeCompositor::Server& ServerOf(wl_resource* resource) {
    return *static_cast<SurfaceState*>(wl_resource_get_user_data(resource))->server;
}

const struct wl_surface_interface kSurface = {
    [](wl_client*, wl_resource* resource) { wl_resource_destroy(resource); },
    [](wl_client*, wl_resource* surface, wl_resource* buffer, std::int32_t, std::int32_t) {
        static_cast<SurfaceState*>(wl_resource_get_user_data(surface))->attached = buffer;
    },
    [](wl_client*, wl_resource* surface, std::int32_t x, std::int32_t y, std::int32_t width,
       std::int32_t height) { AddDamage(surface, x, y, width, height); },
    [](wl_client* client, wl_resource*, std::uint32_t id) {
        wl_resource* callback = wl_resource_create(client, &wl_callback_interface, 1, id);
        wl_callback_send_done(callback, 0);
        wl_resource_destroy(callback);
    },
    [](wl_client*, wl_resource*, wl_resource*) {},
    [](wl_client*, wl_resource*, wl_resource*) {},
    [](wl_client*, wl_resource* surface) {
        ServerOf(surface).Commit(*static_cast<SurfaceState*>(wl_resource_get_user_data(surface)));
    },
    [](wl_client*, wl_resource*, std::int32_t) {},
    [](wl_client*, wl_resource*, std::int32_t) {},
    [](wl_client*, wl_resource* surface, std::int32_t x, std::int32_t y, std::int32_t width,
       std::int32_t height) { AddDamage(surface, x, y, width, height); },
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t) {},
};

const struct wl_region_interface kRegion = {
    [](wl_client*, wl_resource* resource) { wl_resource_destroy(resource); },
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {},
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {},
};

const struct wl_compositor_interface kCompositor = {
    [](wl_client* client, wl_resource* compositor, std::uint32_t id) {
        wl_resource* surface = wl_resource_create(client, &wl_surface_interface,
                                                  wl_resource_get_version(compositor), id);
        auto* server = static_cast<FakeCompositor::Server*>(wl_resource_get_user_data(compositor));
        SurfaceState& state = server->surfaces[surface];
        state.server = server;
        wl_resource_set_implementation(surface, &kSurface, &state, [](wl_resource* resource) {
            ServerOf(resource).surfaces.erase(resource);
        });
    },
    [](wl_client* client, wl_resource* compositor, std::uint32_t id) {
        wl_resource* region = wl_resource_create(client, &wl_region_interface,
                                                 wl_resource_get_version(compositor), id);
        wl_resource_set_implementation(region, &kRegion, nullptr, nullptr);
    },
};

void BindCompositor(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
    wl_resource* resource =
        wl_resource_create(client, &wl_compositor_interface, static_cast<int>(version), id);
    wl_resource_set_implementation(resource, &kCompositor, data, nullptr);
}

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t /*version*/) {
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        *static_cast<wl_compositor**>(data) = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, 4));
    }
}

const wl_registry_listener kRegistry = {OnGlobal, [](void*, wl_registry*, std::uint32_t) {}};

}  // namespace

FakeCompositor::FakeCompositor(bool offerShm) : server_(std::make_unique<Server>()) {
    server_->display = wl_display_create();
    if (offerShm) wl_display_init_shm(server_->display);
    wl_global_create(server_->display, &wl_compositor_interface, 4, server_.get(), BindCompositor);
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
        throw std::runtime_error("no socket pair");
    }
    wl_client_create(server_->display, sockets[0]);
    client_ = wl_display_connect_to_fd(sockets[1]);
    thread_ = std::thread([this] { Run(); });

    wl_registry* registry = wl_display_get_registry(client_);
    wl_registry_add_listener(registry, &kRegistry, &compositor_);
    wl_display_roundtrip(client_);
    wl_registry_destroy(registry);
    if (compositor_ == nullptr) throw std::runtime_error("no wl_compositor");
    surface_ = wl_compositor_create_surface(compositor_);
    Sync();
}

FakeCompositor::~FakeCompositor() {
    wl_surface_destroy(surface_);
    wl_compositor_destroy(compositor_);
    wl_display_roundtrip(client_);
    wl_display_disconnect(client_);
    stop_ = true;
    thread_.join();
    // The server may not have read the hang-up yet; its side of the client goes here.
    wl_display_destroy_clients(server_->display);
    wl_display_destroy(server_->display);
}

void FakeCompositor::Run() {
    wl_event_loop* loop = wl_display_get_event_loop(server_->display);
    while (!stop_) {
        wl_event_loop_dispatch(loop, 5);
        {
            const std::lock_guard lock(server_->mutex);
            if (server_->releaseHeldAt && Clock::now() >= *server_->releaseHeldAt) {
                server_->releaseHeldAt.reset();
                server_->ReleaseHeld();
                server_->screen.heldBuffers = 0;
            }
        }
        wl_display_flush_clients(server_->display);
    }
}

void FakeCompositor::SetRelease(Release release) {
    const std::lock_guard lock(server_->mutex);
    server_->release = release;
}

void FakeCompositor::ReleaseHeldAfter(int delayMs) {
    const std::lock_guard lock(server_->mutex);
    server_->releaseHeldAt = Clock::now() + std::chrono::milliseconds(delayMs);
}

void FakeCompositor::Sync() { wl_display_roundtrip(client_); }

FakeCompositor::Screen FakeCompositor::Shown() {
    const std::lock_guard lock(server_->mutex);
    return server_->screen;
}
