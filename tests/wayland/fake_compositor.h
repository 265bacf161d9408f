// A small Wayland compositor in a thread of the test, connected to the test by a socket pair. It
// shows surfaces as a compositor that keeps a texture does (of each committed buffer it takes only
// the damaged part), watches the client keep the rules of shared buffers, configures, frame
// callbacks and shells, and lets the test drive an output and a seat.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

    // When a frame callback is done.
    enum class Frames {
        AfterCommit,  // as soon as the commit that carried it has been read
        Held,         // only when the test calls ReleaseFrames
    };

    // What a surface shows, and what the compositor saw of its client.
    struct Screen {
        int width = 0;  // of the buffer committed last
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

    struct Size {
        int width = 0;
        int height = 0;
        bool operator==(const Size&) const = default;
    };

    // The output, in physical pixels; its logical size is this divided by the scale.
    struct Output {
        int width = 720;
        int height = 1440;
        int scale = 2;
    };

    // What the compositor offers besides wl_compositor; everything is off unless asked for.
    struct Options {
        bool shm = true;
        // Surface(): a surface of the test's own on Client(), made first (index 0).
        bool ownSurface = false;
        std::optional<Output> output;  // wl_output, version 4
        bool xdgShell = false;         // xdg_wm_base, version 5
        bool layerShell = false;       // zwlr_layer_shell_v1, version 4
        bool seat = false;             // wl_seat with pointer, keyboard and touch, version 7
        Release release = Release::AfterReading;
        Frames frames = Frames::AfterCommit;
        // The size of the configure that answers a shell surface's first commit. Without it a
        // toplevel gets 0x0 (its own choice) and a layer surface the size it asked for, where a
        // zero along an axis anchored at both ends becomes the output's logical size.
        std::optional<Size> firstConfigure;
    };

    // A layer surface's state, as committed (it is double-buffered); what get_layer_surface
    // names (layer, namespace, output) shows at once.
    struct Layer {
        std::uint32_t layer = 0;
        std::string nameSpace;
        bool outputGiven = false;  // get_layer_surface named an output rather than null
        Size size;                 // as asked for with set_size
        std::uint32_t anchor = 0;
        int marginTop = 0;
        int marginRight = 0;
        int marginBottom = 0;
        int marginLeft = 0;
        int exclusiveZone = 0;
        std::uint32_t keyboardInteractivity = 0;
    };

    struct Toplevel {
        std::string title;
        std::string appId;
        int parent = -1;  // the parent toplevel's surface index
        Size minSize;     // as committed
        Size maxSize;
    };

    // One wl_surface of the client. Surfaces stay listed once destroyed, so indices hold.
    struct SurfaceView {
        bool alive = true;
        std::string role;  // "layer", "toplevel", "cursor" or empty (popups are refused)
        Layer layer;
        Toplevel toplevel;
        int bufferScale = 1;  // as committed
        bool mapped = false;  // has a buffer on screen
        Screen screen;
        std::vector<std::uint32_t> configures;  // serials sent, in order
        std::vector<std::uint32_t> acks;        // serials acknowledged, in order
        int pendingFrames = 0;                  // frame callbacks committed and not yet done
        // A buffer was committed while a frame callback of an earlier commit was not yet done.
        bool committedWhileFramePending = false;
        // A shell surface committed a buffer before it acknowledged its first configure.
        bool bufferBeforeFirstAck = false;
        bool enteredOutput = false;
    };

    struct State {
        std::vector<SurfaceView> surfaces;  // in creation order
        // Each global the client bound, by interface name, with the version it asked for.
        std::map<std::string, std::uint32_t> bound;
        Output output;
        int pointers = 0;  // input objects the client holds
        int keyboards = 0;
        int touches = 0;

        // The index of the `nth` surface alive with `role`, or -1.
        int Find(std::string_view role, int nth = 0) const;
    };

    // wl_shm if `offerShm`, and a surface of the test's own.
    explicit FakeCompositor(bool offerShm = true);
    explicit FakeCompositor(const Options& options);
    // Whatever uses Client() must be gone before the compositor is.
    ~FakeCompositor();
    FakeCompositor(const FakeCompositor&) = delete;
    FakeCompositor& operator=(const FakeCompositor&) = delete;

    // The test's connection (every client object lives on it) and the test's own surface.
    // Everything below is called from the test's threads, never from the compositor's. Events
    // are on the socket when the function that sends them returns; the client reads them when
    // it next reads its connection (Sync, a roundtrip, or the pump of WaitUntil).
    wl_display* Client() const { return client_; }
    wl_surface* Surface() const { return surface_; }

    void SetRelease(Release release);
    // Releases every buffer held, `delayMs` from now.
    void ReleaseHeldAfter(int delayMs);
    // Returns once the compositor has handled every request sent so far. It dispatches the
    // connection's default queue; a test whose client reads that queue itself uses WaitUntil.
    void Sync();
    // The first surface's screen.
    Screen Shown();

    State Snapshot();
    // Returns once the compositor has handled all the client has flushed, without reading the
    // client's events; false when that takes longer than `timeoutMs`.
    bool Settle(int timeoutMs = 2000);
    // Flushes the client, lets the compositor catch up and calls `pump` (which lets the client
    // read and answer events, as the backend's wait for events does) until `predicate` holds
    // for the state, or `timeoutMs` have passed. The predicate runs under the compositor's lock:
    // it may read the state and must not call the compositor. The pump must return once it has
    // read what has come (a roundtrip does); without one, WaitUntil waits for the compositor's
    // own doings, as a release of held buffers on a timer.
    bool WaitUntil(const std::function<bool(const State&)>& predicate,
                   const std::function<void()>& pump, int timeoutMs = 2000);

    // The output: changes reach every bound wl_output, each change followed by done.
    void SetOutputScale(int scale);
    void SetOutputMode(int width, int height);

    // Sends a shell surface a configure of `size` (and, to a toplevel, `states`); its serial.
    std::uint32_t Configure(int surface, Size size, const std::vector<std::uint32_t>& states = {});
    // Asks a toplevel to close, or tells a layer surface it is closed.
    void Close(int surface);
    void SetFrames(Frames frames);
    // Sends done to every frame callback committed so far.
    void ReleaseFrames();

    // The seat. Coordinates are the surface's; each event comes with its frame. The functions
    // return the serial of their event, where it has one.
    std::uint32_t PointerEnter(int surface, double x, double y);
    void PointerMotion(double x, double y);
    std::uint32_t PointerButton(std::uint32_t button, bool pressed);  // BTN_LEFT is 0x110
    std::uint32_t PointerLeave();
    std::uint32_t TouchDown(int surface, int id, double x, double y);
    void TouchMotion(int id, double x, double y);
    std::uint32_t TouchUp(int id);
    // Sent to every keyboard and kept for those made later, as is the repeat.
    void SendKeymap(const std::string& keymapText);
    void SendRepeatInfo(int rate, int delayMs);
    std::uint32_t KeyboardEnter(int surface, const std::vector<std::uint32_t>& pressedKeys = {});
    std::uint32_t KeyboardLeave();
    std::uint32_t Key(std::uint32_t evdevKey, bool pressed);
    std::uint32_t Modifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                            std::uint32_t group);
    // A keymap text for SendKeymap, compiled by xkbcommon from rule names.
    static std::string KeymapFromNames(const char* layout = "us");

    struct Server;

  private:
    void Run();
    // Runs `work` on the compositor's thread, under its lock, and waits for it; what it throws
    // is thrown here.
    void Call(const std::function<void(Server&)>& work);

    std::unique_ptr<Server> server_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    wl_display* client_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_surface* surface_ = nullptr;
};
