// The fake compositor driven by a bare wayland-client, as a backend's tests drive it: shells and
// their configures, double-buffered layer state, held frames, and seat events.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "wayland/fake_compositor.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

using State = FakeCompositor::State;
using std::to_string;

// The test's client: what the compositor offers, and every object the test makes, destroyed
// before the compositor is.
struct Client {
    explicit Client(wl_display* connection) : display(connection) {
        static constexpr wl_registry_listener kListener{
            [](void* data, auto*, auto name, const char* interface, auto version) {
                static_cast<Client*>(data)->offered[interface] = {name, version};
            },
            nullptr};
        registry = Own(wl_display_get_registry(display));
        wl_registry_add_listener(registry, &kListener, this);
        wl_display_roundtrip(display);
        compositor = Bind<wl_compositor>(wl_compositor_interface);
    }
    ~Client() {
        for (auto proxy = owned.rbegin(); proxy != owned.rend(); ++proxy) wl_proxy_destroy(*proxy);
    }
    template <class T>
    T* Own(T* proxy) {
        owned.push_back(reinterpret_cast<wl_proxy*>(proxy));
        return proxy;
    }
    template <class T>
    T* Bind(const wl_interface& type) {
        const auto [name, version] = offered.at(type.name);
        return Own(static_cast<T*>(wl_registry_bind(
            registry, name, &type, std::min(version, static_cast<std::uint32_t>(type.version)))));
    }
    // Commits a buffer of 64x64 pixels, of shared memory never drawn in.
    void Show(wl_surface* surface) {
        constexpr int kSide = 64;
        constexpr int kBytes = kSide * kSide * 4;
        if (shm == nullptr) shm = Bind<wl_shm>(wl_shm_interface);
        const int fd = memfd_create("fake-compositor-test", MFD_CLOEXEC);
        EXPECT_EQ(ftruncate(fd, kBytes), 0);
        wl_shm_pool* pool = wl_shm_create_pool(shm, fd, kBytes);
        wl_surface_attach(surface,
                          Own(wl_shm_pool_create_buffer(pool, 0, kSide, kSide, kSide * 4,
                                                        WL_SHM_FORMAT_XRGB8888)),
                          0, 0);
        wl_surface_damage_buffer(surface, 0, 0, kSide, kSide);
        wl_surface_commit(surface);
        wl_shm_pool_destroy(pool);
        close(fd);
    }

    wl_display* display;
    std::vector<wl_proxy*> owned;
    std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> offered;  // name, version
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
};

// What a listener of the client heard, in order: each event as its name and values.
struct Heard {
    std::vector<std::string> events;
    std::string keymap;
};

template <class... Values>
void Note(void* data, std::string event, Values... values) {
    // Appended in two steps: GCC 12 at -O3 warns falsely of an overlap in " " + to_string(...).
    ((event += ' ', event += to_string(values)), ...);
    static_cast<Heard*>(data)->events.push_back(event);
}

TEST(FakeCompositor, ShellSurfacesAreConfiguredAndTakeTheirStateAndFramesAsTheProtocolSays) {
    FakeCompositor::Options options;
    options.output = FakeCompositor::Output{};  // 720 pixels wide at scale 2
    options.xdgShell = options.layerShell = true;
    options.frames = FakeCompositor::Frames::Held;
    FakeCompositor compositor(options);
    Client client(compositor.Client());
    client.Bind<wl_output>(wl_output_interface);
    // The layer surface acknowledges each configure at once; the toplevel never does.
    static constexpr zwlr_layer_surface_v1_listener kLayerListener{
        [](void* data, auto* layer, auto serial, auto width, auto height) {
            Note(data, "configure", width, height);
            zwlr_layer_surface_v1_ack_configure(layer, serial);
        },
        nullptr};
    Heard configures, frames;
    wl_surface* panel = client.Own(wl_compositor_create_surface(client.compositor));
    auto* layer = client.Own(zwlr_layer_shell_v1_get_layer_surface(
        client.Bind<zwlr_layer_shell_v1>(zwlr_layer_shell_v1_interface), panel, nullptr,
        ZWLR_LAYER_SHELL_V1_LAYER_TOP, "launcher"));
    zwlr_layer_surface_v1_add_listener(layer, &kLayerListener, &configures);
    zwlr_layer_surface_v1_set_size(layer, 0, 100);
    zwlr_layer_surface_v1_set_anchor(layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP |
                                                ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    wl_surface* window = client.Own(wl_compositor_create_surface(client.compositor));
    xdg_surface* xdgSurface = client.Own(
        xdg_wm_base_get_xdg_surface(client.Bind<xdg_wm_base>(xdg_wm_base_interface), window));
    client.Own(xdg_surface_get_toplevel(xdgSurface));
    wl_display_flush(client.display);
    ASSERT_TRUE(compositor.Settle());
    State state = compositor.Snapshot();
    ASSERT_EQ((std::vector{state.Find("layer"), state.Find("toplevel")}), (std::vector{0, 1}));
    EXPECT_EQ(state.surfaces[0].layer.nameSpace, "launcher") << "named at once";
    EXPECT_EQ(state.surfaces[0].layer.anchor, 0U) << "the rest waits for the commit";

    // The first commits bring configures; the panel spans the screen's 360 units.
    wl_surface_commit(panel);
    wl_surface_commit(window);
    ASSERT_TRUE(compositor.WaitUntil(
        [](const State& now) {
            return now.surfaces[0].acks.size() == 1 && now.surfaces[1].configures.size() == 1;
        },
        [&client] { wl_display_roundtrip(client.display); }));
    EXPECT_EQ(configures.events, std::vector<std::string>{"configure 360 100"});
    static constexpr wl_callback_listener kFrameListener{
        [](void* data, auto*, auto) { Note(data, "done"); }};
    for (int frame = 0; frame < 2; ++frame) {
        wl_callback_add_listener(client.Own(wl_surface_frame(panel)), &kFrameListener, &frames);
        client.Show(panel);
    }
    client.Show(window);
    zwlr_layer_surface_v1_set_size(layer, 0, 50);  // not committed
    compositor.Sync();
    state = compositor.Snapshot();
    const FakeCompositor::SurfaceView& shown = state.surfaces[0];
    EXPECT_EQ(shown.configures, shown.acks);
    EXPECT_EQ(shown.layer.size, (FakeCompositor::Size{0, 100}));
    for (const auto& [index, early] : {std::pair{0, false}, std::pair{1, true}}) {
        EXPECT_TRUE(state.surfaces[index].mapped && state.surfaces[index].enteredOutput);
        EXPECT_EQ(state.surfaces[index].bufferBeforeFirstAck, early) << "surface " << index;
    }
    EXPECT_EQ(shown.pendingFrames, 2);
    EXPECT_TRUE(shown.committedWhileFramePending);
    EXPECT_TRUE(frames.events.empty()) << "frames held";
    compositor.ReleaseFrames();
    compositor.Sync();
    EXPECT_EQ(frames.events, (std::vector<std::string>{"done", "done"}));
    EXPECT_EQ(compositor.Snapshot().surfaces[0].pendingFrames, 0);
}

TEST(FakeCompositor, TouchAndKeysReachTheClientWithTheirCoordinatesSerialsAndKeymap) {
    FakeCompositor::Options options;
    options.seat = options.ownSurface = true;
    FakeCompositor compositor(options);
    Client client(compositor.Client());
    auto* seat = client.Bind<wl_seat>(wl_seat_interface);
    static constexpr wl_touch_listener kTouchListener{
        [](void* data, auto*, auto serial, auto, auto*, auto id, auto x, auto y) {
            Note(data, "down", serial, id, wl_fixed_to_double(x), wl_fixed_to_double(y));
        },
        [](void* data, auto*, auto serial, auto, auto id) { Note(data, "up", serial, id); },
        [](void* data, auto*, auto, auto id, auto x, auto y) {
            Note(data, "motion", id, wl_fixed_to_double(x), wl_fixed_to_double(y));
        },
        [](void* data, auto*) { Note(data, "frame"); },
        nullptr,
        nullptr,
        nullptr};
    static constexpr wl_keyboard_listener kKeyboardListener{
        [](void* data, auto*, auto format, auto fd, auto size) {
            void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && map != MAP_FAILED) {
                static_cast<Heard*>(data)->keymap.assign(static_cast<const char*>(map), size);
                munmap(map, size);
            }
            close(fd);
        },
        [](void* data, auto*, auto serial, auto*, auto*) { Note(data, "enter", serial); },
        nullptr,
        [](void* data, auto*, auto serial, auto, auto key, auto state) {
            Note(data, "key", serial, key, state);
        },
        nullptr,
        [](void* data, auto*, auto rate, auto delay) { Note(data, "repeat", rate, delay); }};
    // One keyboard is there when the keymap and the repeat go out, the other comes later.
    Heard touch, early, late;
    wl_touch_add_listener(client.Own(wl_seat_get_touch(seat)), &kTouchListener, &touch);
    wl_keyboard_add_listener(client.Own(wl_seat_get_keyboard(seat)), &kKeyboardListener, &early);
    compositor.Sync();
    const std::string keymap = FakeCompositor::KeymapFromNames("us");
    compositor.SendKeymap(keymap);
    compositor.SendRepeatInfo(25, 600);
    wl_keyboard_add_listener(client.Own(wl_seat_get_keyboard(seat)), &kKeyboardListener, &late);
    const std::uint32_t down = compositor.TouchDown(0, 7, 12.5, 30.25);
    compositor.TouchMotion(7, 40.75, 8);
    const std::uint32_t up = compositor.TouchUp(7);
    compositor.Sync();
    const std::uint32_t enter = compositor.KeyboardEnter(0);
    const std::uint32_t key = compositor.Key(30, true);  // KEY_A
    compositor.Sync();

    EXPECT_EQ(touch.events,
              (std::vector<std::string>{"down " + to_string(down) + " 7 12.500000 30.250000",
                                        "frame", "motion 7 40.750000 8.000000", "frame",
                                        "up " + to_string(up) + " 7", "frame"}));
    for (const Heard* keyboard : {&early, &late}) {
        EXPECT_TRUE(keyboard->keymap == keymap + '\0') << "a keymap of " << keymap.size();
        EXPECT_EQ(keyboard->events,
                  (std::vector<std::string>{"repeat 25 600", "enter " + to_string(enter),
                                            "key " + to_string(key) + " 30 1"}));
    }
}

}  // namespace
