// The fake compositor's server side, shared by the files that implement its protocols. All of it
// is used on the compositor's thread with the lock held, but for the test's reads of `state`.
#pragma once

#include <wayland-server.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "wayland/fake_compositor.h"

namespace fake_compositor {

// What a surface holds beside what the test sees: pending state and its objects.
struct SurfaceLive {
    wl_resource* surface = nullptr;  // null once destroyed
    wl_resource* xdgSurface = nullptr;
    wl_resource* toplevel = nullptr;
    wl_resource* layer = nullptr;
    std::optional<wl_resource*> attached;  // a null buffer detaches
    RECT damage{};                         // in buffer pixels
    RECT surfaceDamage{};                  // in surface units, scaled on commit
    std::optional<int> bufferScale;
    FakeCompositor::Layer layerPending;
    FakeCompositor::Size minSizePending;
    FakeCompositor::Size maxSizePending;
    bool configured = false;  // the first configure went out
    bool acked = false;       // and was acknowledged
};

struct FrameCallback {
    wl_resource* callback = nullptr;
    int surface = -1;
    bool committed = false;
};

struct HeldBuffer {
    wl_listener destroyed{};  // first member: the listener leads back to its record
    FakeCompositor::Server* server = nullptr;
    wl_resource* resource = nullptr;
    int surface = -1;
    std::vector<std::uint8_t> contentAtCommit;
};

// A listener of the server's own, for signals that carry no pointer back to it.
struct ServerListener {
    wl_listener listener{};  // first member: the listener leads back to its record
    FakeCompositor::Server* server = nullptr;
};

struct Task {
    const std::function<void(FakeCompositor::Server&)>* work = nullptr;
    bool done = false;
    std::exception_ptr error;
};

std::uint32_t NowMs();

}  // namespace fake_compositor

struct FakeCompositor::Server {
    wl_display* display = nullptr;
    Options options;
    std::mutex mutex;
    std::condition_variable changed;  // after each pass of the loop, and when a task is done
    State state;
    std::vector<fake_compositor::SurfaceLive> live;  // beside state.surfaces, by index
    std::map<wl_resource*, int> surfaceOf;           // wl_surface and role objects to index
    std::vector<fake_compositor::FrameCallback> frames;
    std::map<wl_resource*, std::unique_ptr<fake_compositor::HeldBuffer>> held;
    wl_event_source* releaseTimer = nullptr;
    fake_compositor::ServerListener resourceCreated;  // notes the binding of wl_shm

    int wakeFd = -1;
    wl_event_source* wakeSource = nullptr;
    std::deque<fake_compositor::Task*> tasks;
    std::uint64_t settleAsked = 0;
    std::uint64_t settled = 0;  // the latest ask a finished pass of the loop began after

    std::vector<wl_resource*> outputs;
    std::vector<wl_resource*> pointers;
    std::vector<wl_resource*> keyboards;
    std::vector<wl_resource*> touches;
    int pointerFocus = -1;
    int keyboardFocus = -1;
    std::string keymap;
    std::optional<std::pair<int, int>> repeat;  // rate, delay

    // The index of a surface or role object; -1 for null or one not known.
    int IndexOf(wl_resource* resource) const;
    // The surface's resource, alive; throws for a test that names one that is not.
    wl_resource* AliveSurface(int index) const;
    void Bound(const wl_interface& interface, std::uint32_t version);
    std::uint32_t NextSerial() { return wl_display_next_serial(display); }
    // Whether the client's socket holds what the compositor has not read yet.
    bool ClientReadable() const;
    void RunTasks();

    void Commit(int index);
    void Show(int index, wl_resource* buffer, RECT damage);
    void Hold(int index, wl_resource* resource, wl_shm_buffer* buffer);
    // Releases the buffers held for one surface, or for all (-1).
    void ReleaseHeld(int surface);
    // The state derived from the objects alive: input objects, held buffers, pending frames.
    void Refresh();
    // Sends done to the committed frame callbacks of one surface, or of all (-1).
    void ReleaseFrames(int surface);
    void EnterOutputs(int index);
    // Everything a wl_output tells on binding.
    void SendOutput(wl_resource* output);
};

namespace fake_compositor {

// What each protocol adds; the shell's and the seat's live in files of their own.
void OfferShell(FakeCompositor::Server& server);
// A commit's meaning for the surface's role; called after the buffer is taken.
void CommitRole(FakeCompositor::Server& server, int index, bool newBuffer);
void OfferSeat(FakeCompositor::Server& server);

template <class T>
FakeCompositor::Server& ServerOf(T* resource) {
    return *static_cast<FakeCompositor::Server*>(wl_resource_get_user_data(resource));
}

inline void DestroyResource(wl_client* /*client*/, wl_resource* resource) {
    wl_resource_destroy(resource);
}

// Makes a resource whose user data is the server, listed in `List` until it is destroyed.
template <std::vector<wl_resource*> FakeCompositor::Server::*List>
wl_resource* MakeListed(wl_client* client, const wl_interface* interface, std::uint32_t version,
                        std::uint32_t id, const void* implementation,
                        FakeCompositor::Server& server) {
    wl_resource* resource = wl_resource_create(client, interface, static_cast<int>(version), id);
    if (resource == nullptr) {
        wl_client_post_no_memory(client);
        return nullptr;
    }
    wl_resource_set_implementation(resource, implementation, &server, [](wl_resource* gone) {
        std::erase(ServerOf(gone).*List, gone);
    });
    (server.*List).push_back(resource);
    return resource;
}

}  // namespace fake_compositor
