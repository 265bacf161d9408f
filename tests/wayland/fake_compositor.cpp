// The fake compositor's core: its thread, wl_compositor and wl_surface, shared buffers, frame
// callbacks, the output, and the ways the test waits for it or runs work on it.
#include "wayland/fake_compositor.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <wayland-client.h>
#include <wayland-server.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/base/rect.h"
#include "wayland/fake_compositor_server.h"

using Server = FakeCompositor::Server;
using fake_compositor::ServerOf;

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kUnfilled = 0x7F007F;

std::vector<std::uint8_t> ContentOf(wl_shm_buffer* buffer) {
    const auto* data = static_cast<const std::uint8_t*>(wl_shm_buffer_get_data(buffer));
    const auto size = static_cast<std::size_t>(wl_shm_buffer_get_stride(buffer)) *
                      static_cast<std::size_t>(wl_shm_buffer_get_height(buffer));
    return {data, data + size};
}

// Clients damage "everything" with INT32_MAX extents: the sums and scales must not overflow.
int Clamped(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

void AddDamage(RECT& damage, std::int32_t x, std::int32_t y, std::int32_t width,
               std::int32_t height) {
    const RECT added{x, y, Clamped(std::int64_t{x} + width), Clamped(std::int64_t{y} + height)};
    UnionRect(&damage, &damage, &added);
}

RECT Scaled(const RECT& rect, int scale) {
    return RECT{Clamped(std::int64_t{rect.left} * scale), Clamped(std::int64_t{rect.top} * scale),
                Clamped(std::int64_t{rect.right} * scale),
                Clamped(std::int64_t{rect.bottom} * scale)};
}

fake_compositor::SurfaceLive& LiveOf(wl_resource* surface) {
    Server& server = ServerOf(surface);
    return server.live[static_cast<std::size_t>(server.IndexOf(surface))];
}

void Wake(const Server& server) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(server.wakeFd, &one, sizeof one);
}

int DrainWake(int fd, std::uint32_t /*mask*/, void* /*data*/) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(fd, &count, sizeof count);
    return 0;
}

void MakeFrameCallback(wl_client* client, wl_resource* surface, std::uint32_t id) {
    Server& server = ServerOf(surface);
    wl_resource* callback = wl_resource_create(client, &wl_callback_interface, 1, id);
    if (callback == nullptr) {
        wl_client_post_no_memory(client);
        return;
    }
    wl_resource_set_implementation(callback, nullptr, &server, [](wl_resource* gone) {
        std::erase_if(ServerOf(gone).frames, [gone](const fake_compositor::FrameCallback& frame) {
            return frame.callback == gone;
        });
    });
    server.frames.push_back({callback, server.IndexOf(surface), false});
}

const struct wl_surface_interface kSurface = {
    fake_compositor::DestroyResource,
    [](wl_client*, wl_resource* surface, wl_resource* buffer, std::int32_t, std::int32_t) {
        LiveOf(surface).attached = buffer;
    },
    [](wl_client*, wl_resource* surface, std::int32_t x, std::int32_t y, std::int32_t width,
       std::int32_t height) { AddDamage(LiveOf(surface).surfaceDamage, x, y, width, height); },
    MakeFrameCallback,
    [](wl_client*, wl_resource*, wl_resource*) {},
    [](wl_client*, wl_resource*, wl_resource*) {},
    [](wl_client*, wl_resource* surface) {
        ServerOf(surface).Commit(ServerOf(surface).IndexOf(surface));
    },
    [](wl_client*, wl_resource*, std::int32_t) {},
    [](wl_client*, wl_resource* surface, std::int32_t scale) {
        if (scale < 1) {
            wl_resource_post_error(surface, WL_SURFACE_ERROR_INVALID_SCALE, "buffer scale %d",
                                   scale);
            return;
        }
        LiveOf(surface).bufferScale = scale;
    },
    [](wl_client*, wl_resource* surface, std::int32_t x, std::int32_t y, std::int32_t width,
       std::int32_t height) { AddDamage(LiveOf(surface).damage, x, y, width, height); },
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t) {},
};

void ForgetSurface(wl_resource* gone) {
    Server& server = ServerOf(gone);
    const int index = server.IndexOf(gone);
    server.surfaceOf.erase(gone);
    server.live[static_cast<std::size_t>(index)].surface = nullptr;
    server.state.surfaces[static_cast<std::size_t>(index)].alive = false;
    if (server.pointerFocus == index) server.pointerFocus = -1;
    if (server.keyboardFocus == index) server.keyboardFocus = -1;
}

const struct wl_region_interface kRegion = {
    fake_compositor::DestroyResource,
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {},
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {},
};

const struct wl_compositor_interface kCompositor = {
    [](wl_client* client, wl_resource* compositor, std::uint32_t id) {
        Server& server = ServerOf(compositor);
        wl_resource* surface = wl_resource_create(client, &wl_surface_interface,
                                                  wl_resource_get_version(compositor), id);
        if (surface == nullptr) {
            wl_client_post_no_memory(client);
            return;
        }
        server.surfaceOf[surface] = static_cast<int>(server.state.surfaces.size());
        server.state.surfaces.emplace_back();
        server.live.emplace_back().surface = surface;
        wl_resource_set_implementation(surface, &kSurface, &server, ForgetSurface);
    },
    [](wl_client* client, wl_resource* compositor, std::uint32_t id) {
        wl_resource* region = wl_resource_create(client, &wl_region_interface,
                                                 wl_resource_get_version(compositor), id);
        if (region == nullptr) {
            wl_client_post_no_memory(client);
            return;
        }
        wl_resource_set_implementation(region, &kRegion, nullptr, nullptr);
    },
};

void BindCompositor(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
    auto& server = *static_cast<Server*>(data);
    server.Bound(wl_compositor_interface, version);
    wl_resource* resource =
        wl_resource_create(client, &wl_compositor_interface, static_cast<int>(version), id);
    if (resource == nullptr) {
        wl_client_post_no_memory(client);
        return;
    }
    wl_resource_set_implementation(resource, &kCompositor, &server, nullptr);
}

const struct wl_output_interface kOutput = {fake_compositor::DestroyResource};

void BindOutput(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
    auto& server = *static_cast<Server*>(data);
    server.Bound(wl_output_interface, version);
    wl_resource* output = fake_compositor::MakeListed<&Server::outputs>(
        client, &wl_output_interface, version, id, &kOutput, server);
    if (output != nullptr) server.SendOutput(output);
}

// wl_shm is libwayland's own global: its binding shows only as a resource made for the client.
void NoteShmBound(wl_listener* listener, void* data) {
    auto* resource = static_cast<wl_resource*>(data);
    if (std::strcmp(wl_resource_get_class(resource), wl_shm_interface.name) != 0) return;
    reinterpret_cast<fake_compositor::ServerListener*>(listener)->server->Bound(
        wl_shm_interface, static_cast<std::uint32_t>(wl_resource_get_version(resource)));
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

std::uint32_t fake_compositor::NowMs() {
    const auto now =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(now.count());
}

int FakeCompositor::State::Find(std::string_view role, int nth) const {
    for (std::size_t index = 0; index < surfaces.size(); ++index) {
        if (surfaces[index].alive && surfaces[index].role == role && nth-- == 0) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

int Server::IndexOf(wl_resource* resource) const {
    const auto found = surfaceOf.find(resource);
    return found == surfaceOf.end() ? -1 : found->second;
}

wl_resource* Server::AliveSurface(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= live.size() ||
        live[static_cast<std::size_t>(index)].surface == nullptr) {
        throw std::logic_error("no surface " + std::to_string(index) + " is alive");
    }
    return live[static_cast<std::size_t>(index)].surface;
}

void Server::Bound(const wl_interface& interface, std::uint32_t version) {
    state.bound[interface.name] = version;
}

bool Server::ClientReadable() const {
    wl_list* clients = wl_display_get_client_list(display);
    if (wl_list_empty(clients) != 0) return false;  // its socket went with it
    pollfd socket{wl_client_get_fd(wl_client_from_link(clients->next)), POLLIN, 0};
    return ::poll(&socket, 1, 0) > 0;
}

void Server::RunTasks() {
    while (!tasks.empty()) {
        fake_compositor::Task* task = tasks.front();
        tasks.pop_front();
        try {
            (*task->work)(*this);
        } catch (...) {
            task->error = std::current_exception();
        }
        task->done = true;
    }
}

void Server::Commit(int index) {
    fake_compositor::SurfaceLive& pending = live[static_cast<std::size_t>(index)];
    SurfaceView& view = state.surfaces[static_cast<std::size_t>(index)];
    if (pending.bufferScale) view.bufferScale = *std::exchange(pending.bufferScale, std::nullopt);
    RECT damage = Scaled(std::exchange(pending.surfaceDamage, RECT{}), view.bufferScale);
    const RECT bufferDamage = std::exchange(pending.damage, RECT{});
    UnionRect(&damage, &damage, &bufferDamage);
    ++view.screen.commits;
    view.screen.lastDamage = damage;

    const std::optional<wl_resource*> attached = std::exchange(pending.attached, std::nullopt);
    const bool newBuffer = attached && *attached != nullptr;
    if (newBuffer) {
        Show(index, *attached, damage);
        if (!view.mapped) {
            view.mapped = true;
            if (!view.enteredOutput) EnterOutputs(index);
        }
    } else if (attached) {
        view.mapped = false;
    }
    for (fake_compositor::FrameCallback& frame : frames) {
        if (frame.surface != index) continue;
        if (frame.committed && newBuffer) view.committedWhileFramePending = true;
        frame.committed = true;
    }
    fake_compositor::CommitRole(*this, index, newBuffer);
    if (options.frames == Frames::AfterCommit) ReleaseFrames(index);
}

void Server::Show(int index, wl_resource* resource, RECT damage) {
    wl_shm_buffer* buffer = wl_shm_buffer_get(resource);
    if (buffer == nullptr) {
        wl_client_post_implementation_error(wl_resource_get_client(resource),
                                            "the fake compositor shows wl_shm buffers only");
        return;
    }
    Screen& screen = state.surfaces[static_cast<std::size_t>(index)].screen;
    if (held.contains(resource)) screen.bufferTouchedWhileHeld = true;
    if (options.release == Release::OnReplace) ReleaseHeld(index);
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
    if (options.release == Release::AfterReading) {
        wl_buffer_send_release(resource);
    } else {
        Hold(index, resource, buffer);
    }
    wl_shm_buffer_end_access(buffer);
}

void Server::Hold(int index, wl_resource* resource, wl_shm_buffer* buffer) {
    if (const auto old = held.find(resource); old != held.end()) {
        wl_list_remove(&old->second->destroyed.link);  // committed again while held
        held.erase(old);
    }
    auto record = std::make_unique<fake_compositor::HeldBuffer>();
    record->server = this;
    record->resource = resource;
    record->surface = index;
    record->contentAtCommit = ContentOf(buffer);
    record->destroyed.notify = [](wl_listener* listener, void*) {
        // The client's teardown: the buffer goes, held or not.
        auto* gone = reinterpret_cast<fake_compositor::HeldBuffer*>(listener);
        gone->server->held.erase(gone->resource);
    };
    wl_resource_add_destroy_listener(resource, &record->destroyed);
    held[resource] = std::move(record);
}

void Server::ReleaseHeld(int surface) {
    std::erase_if(held, [&](const auto& entry) {
        const auto& [resource, record] = entry;
        if (surface >= 0 && record->surface != surface) return false;
        wl_shm_buffer* buffer = wl_shm_buffer_get(resource);
        wl_shm_buffer_begin_access(buffer);
        if (ContentOf(buffer) != record->contentAtCommit) {
            state.surfaces[static_cast<std::size_t>(record->surface)]
                .screen.bufferTouchedWhileHeld = true;
        }
        wl_shm_buffer_end_access(buffer);
        wl_list_remove(&record->destroyed.link);
        wl_buffer_send_release(resource);
        return true;
    });
}

void Server::Refresh() {
    state.pointers = static_cast<int>(pointers.size());
    state.keyboards = static_cast<int>(keyboards.size());
    state.touches = static_cast<int>(touches.size());
    for (SurfaceView& view : state.surfaces) {
        view.screen.heldBuffers = 0;
        view.pendingFrames = 0;
    }
    for (const auto& [resource, record] : held) {
        ++state.surfaces[static_cast<std::size_t>(record->surface)].screen.heldBuffers;
    }
    for (const fake_compositor::FrameCallback& frame : frames) {
        if (frame.committed)
            ++state.surfaces[static_cast<std::size_t>(frame.surface)].pendingFrames;
    }
}

void Server::ReleaseFrames(int surface) {
    // Taken off the list first: destroying a callback takes it off the list too.
    std::vector<wl_resource*> done;
    std::erase_if(frames, [&](const fake_compositor::FrameCallback& frame) {
        if (!frame.committed || (surface >= 0 && frame.surface != surface)) return false;
        done.push_back(frame.callback);
        return true;
    });
    for (wl_resource* callback : done) {
        wl_callback_send_done(callback, fake_compositor::NowMs());
        wl_resource_destroy(callback);
    }
}

void Server::EnterOutputs(int index) {
    wl_resource* surface = live[static_cast<std::size_t>(index)].surface;
    for (wl_resource* output : outputs) wl_surface_send_enter(surface, output);
    state.surfaces[static_cast<std::size_t>(index)].enteredOutput = !outputs.empty();
}

void Server::SendOutput(wl_resource* output) {
    const Output& shown = state.output;
    // About 250 dots an inch, as on a phone.
    wl_output_send_geometry(output, 0, 0, shown.width / 10, shown.height / 10,
                            WL_OUTPUT_SUBPIXEL_UNKNOWN, "Fake", "Screen",
                            WL_OUTPUT_TRANSFORM_NORMAL);
    wl_output_send_mode(output, WL_OUTPUT_MODE_CURRENT | WL_OUTPUT_MODE_PREFERRED, shown.width,
                        shown.height, 60000);
    const int version = wl_resource_get_version(output);
    if (version >= WL_OUTPUT_SCALE_SINCE_VERSION) wl_output_send_scale(output, shown.scale);
    if (version >= WL_OUTPUT_NAME_SINCE_VERSION) {
        wl_output_send_name(output, "FAKE-1");
        wl_output_send_description(output, "The fake compositor's screen");
    }
    if (version >= WL_OUTPUT_DONE_SINCE_VERSION) wl_output_send_done(output);
}

FakeCompositor::FakeCompositor(bool offerShm)
    : FakeCompositor([offerShm] {
          Options options;
          options.shm = offerShm;
          options.ownSurface = true;
          return options;
      }()) {}

FakeCompositor::FakeCompositor(const Options& options) : server_(std::make_unique<Server>()) {
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
        throw std::runtime_error("no socket pair");
    }
    Server& server = *server_;
    server.options = options;
    if (options.output) server.state.output = *options.output;
    server.display = wl_display_create();
    wl_event_loop* loop = wl_display_get_event_loop(server.display);
    server.wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    server.wakeSource =
        wl_event_loop_add_fd(loop, server.wakeFd, WL_EVENT_READABLE, DrainWake, nullptr);
    server.releaseTimer = wl_event_loop_add_timer(
        loop,
        [](void* data) {
            static_cast<Server*>(data)->ReleaseHeld(-1);
            return 0;
        },
        &server);
    if (options.shm) wl_display_init_shm(server.display);
    wl_global_create(server.display, &wl_compositor_interface, 4, &server, BindCompositor);
    if (options.output) {
        wl_global_create(server.display, &wl_output_interface, 4, &server, BindOutput);
    }
    fake_compositor::OfferShell(server);
    if (options.seat) fake_compositor::OfferSeat(server);

    wl_client* client = wl_client_create(server.display, sockets[0]);
    server.resourceCreated.server = &server;
    server.resourceCreated.listener.notify = NoteShmBound;
    wl_client_add_resource_created_listener(client, &server.resourceCreated.listener);
    client_ = wl_display_connect_to_fd(sockets[1]);
    thread_ = std::thread([this] { Run(); });

    if (!options.ownSurface) return;
    wl_registry* registry = wl_display_get_registry(client_);
    wl_registry_add_listener(registry, &kRegistry, &compositor_);
    wl_display_roundtrip(client_);
    wl_registry_destroy(registry);
    if (compositor_ != nullptr) surface_ = wl_compositor_create_surface(compositor_);
    Sync();
}

FakeCompositor::~FakeCompositor() {
    if (surface_ != nullptr) wl_surface_destroy(surface_);
    if (compositor_ != nullptr) wl_compositor_destroy(compositor_);
    stop_ = true;
    Wake(*server_);
    thread_.join();
    // Nothing runs the server now: the connection and the server's side of it can go.
    wl_display_disconnect(client_);
    Server& server = *server_;
    const std::lock_guard lock(server.mutex);
    wl_display_destroy_clients(server.display);
    wl_event_source_remove(server.releaseTimer);
    wl_event_source_remove(server.wakeSource);
    ::close(server.wakeFd);
    wl_display_destroy(server.display);
}

void FakeCompositor::Run() {
    Server& server = *server_;
    wl_event_loop* loop = wl_display_get_event_loop(server.display);
    pollfd events{wl_event_loop_get_fd(loop), POLLIN, 0};
    while (!stop_) {
        // Waits without the lock, so that the test may read the state meanwhile.
        ::poll(&events, 1, -1);
        {
            const std::lock_guard lock(server.mutex);
            const std::uint64_t asked = server.settleAsked;
            do {
                wl_event_loop_dispatch(loop, 0);
            } while (server.ClientReadable());
            server.RunTasks();
            server.Refresh();
            wl_display_flush_clients(server.display);
            server.settled = asked;
        }
        server.changed.notify_all();
    }
}

void FakeCompositor::Call(const std::function<void(Server&)>& work) {
    fake_compositor::Task task;
    task.work = &work;
    std::unique_lock lock(server_->mutex);
    server_->tasks.push_back(&task);
    Wake(*server_);
    server_->changed.wait(lock, [&task] { return task.done; });
    if (task.error) std::rethrow_exception(task.error);
}

void FakeCompositor::SetRelease(Release release) {
    Call([release](Server& server) { server.options.release = release; });
}

void FakeCompositor::ReleaseHeldAfter(int delayMs) {
    Call([delayMs](Server& server) {
        // A timer of no delay is one disarmed.
        if (delayMs <= 0) {
            server.ReleaseHeld(-1);
        } else {
            wl_event_source_timer_update(server.releaseTimer, delayMs);
        }
    });
}

void FakeCompositor::Sync() { wl_display_roundtrip(client_); }

FakeCompositor::Screen FakeCompositor::Shown() {
    const std::lock_guard lock(server_->mutex);
    return server_->state.surfaces.empty() ? Screen{} : server_->state.surfaces.front().screen;
}

FakeCompositor::State FakeCompositor::Snapshot() {
    const std::lock_guard lock(server_->mutex);
    return server_->state;
}

bool FakeCompositor::Settle(int timeoutMs) {
    std::unique_lock lock(server_->mutex);
    const std::uint64_t ask = ++server_->settleAsked;
    Wake(*server_);
    return server_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [&] { return server_->settled >= ask; });
}

bool FakeCompositor::WaitUntil(const std::function<bool(const State&)>& predicate,
                               const std::function<void()>& pump, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        wl_display_flush(client_);
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (!Settle(static_cast<int>(std::max<std::int64_t>(left.count(), 0)))) return false;
        {
            std::unique_lock lock(server_->mutex);
            if (predicate(server_->state)) return true;
            if (Clock::now() >= deadline) return false;
            if (!pump) {
                return server_->changed.wait_until(lock, deadline,
                                                   [&] { return predicate(server_->state); });
            }
        }
        pump();
    }
}

void FakeCompositor::SetOutputScale(int scale) {
    Call([scale](Server& server) {
        server.state.output.scale = scale;
        for (wl_resource* output : server.outputs) {
            if (wl_resource_get_version(output) < WL_OUTPUT_SCALE_SINCE_VERSION) continue;
            wl_output_send_scale(output, scale);
            wl_output_send_done(output);
        }
    });
}

void FakeCompositor::SetOutputMode(int width, int height) {
    Call([width, height](Server& server) {
        server.state.output.width = width;
        server.state.output.height = height;
        for (wl_resource* output : server.outputs) {
            wl_output_send_mode(output, WL_OUTPUT_MODE_CURRENT | WL_OUTPUT_MODE_PREFERRED, width,
                                height, 60000);
            if (wl_resource_get_version(output) >= WL_OUTPUT_DONE_SINCE_VERSION) {
                wl_output_send_done(output);
            }
        }
    });
}

void FakeCompositor::SetFrames(Frames frames) {
    Call([frames](Server& server) { server.options.frames = frames; });
}

void FakeCompositor::ReleaseFrames() {
    Call([](Server& server) { server.ReleaseFrames(-1); });
}
