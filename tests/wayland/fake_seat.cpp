// The fake compositor's seat: wl_pointer, wl_keyboard and wl_touch, the events the test sends
// through them, and keymaps compiled by xkbcommon.
#include <sys/mman.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "wayland/fake_compositor_server.h"

using Server = FakeCompositor::Server;
using fake_compositor::MakeListed;
using fake_compositor::NowMs;
using fake_compositor::ServerOf;

namespace {

// Clients map the keymap and read it as a string, with its terminating NUL.
bool SendKeymapTo(wl_resource* keyboard, const std::string& text) {
    const int fd = ::memfd_create("fake-compositor-keymap", MFD_CLOEXEC);
    if (fd < 0) return false;
    const std::size_t size = text.size() + 1;
    const bool written = ::write(fd, text.c_str(), size) == static_cast<ssize_t>(size);
    if (written) {
        wl_keyboard_send_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                static_cast<std::uint32_t>(size));
    }
    ::close(fd);  // the message carries a duplicate
    return written;
}

void SendRepeatTo(wl_resource* keyboard, std::pair<int, int> repeat) {
    if (wl_resource_get_version(keyboard) < WL_KEYBOARD_REPEAT_INFO_SINCE_VERSION) return;
    wl_keyboard_send_repeat_info(keyboard, repeat.first, repeat.second);
}

void PointerFrame(wl_resource* pointer) {
    if (wl_resource_get_version(pointer) >= WL_POINTER_FRAME_SINCE_VERSION) {
        wl_pointer_send_frame(pointer);
    }
}

wl_resource* Focused(const Server& server, int focus, const char* device) {
    if (focus < 0) throw std::logic_error(std::string("the ") + device + " is on no surface");
    return server.AliveSurface(focus);
}

const struct wl_pointer_interface kPointer = {
    [](wl_client*, wl_resource* pointer, std::uint32_t, wl_resource* surface, std::int32_t,
       std::int32_t) {
        if (surface == nullptr) return;
        Server& server = ServerOf(pointer);
        const int index = server.IndexOf(surface);
        std::string& role = server.state.surfaces[static_cast<std::size_t>(index)].role;
        if (!role.empty() && role != "cursor") {
            wl_resource_post_error(pointer, WL_POINTER_ERROR_ROLE, "surface %d has a role", index);
            return;
        }
        role = "cursor";
    },
    fake_compositor::DestroyResource,
};

const struct wl_keyboard_interface kKeyboard = {fake_compositor::DestroyResource};
const struct wl_touch_interface kTouch = {fake_compositor::DestroyResource};

const struct wl_seat_interface kSeat = {
    [](wl_client* client, wl_resource* seat, std::uint32_t id) {
        MakeListed<&Server::pointers>(client, &wl_pointer_interface,
                                      static_cast<std::uint32_t>(wl_resource_get_version(seat)), id,
                                      &kPointer, ServerOf(seat));
    },
    [](wl_client* client, wl_resource* seat, std::uint32_t id) {
        Server& server = ServerOf(seat);
        wl_resource* keyboard = MakeListed<&Server::keyboards>(
            client, &wl_keyboard_interface,
            static_cast<std::uint32_t>(wl_resource_get_version(seat)), id, &kKeyboard, server);
        if (keyboard == nullptr) return;
        if (!server.keymap.empty() && !SendKeymapTo(keyboard, server.keymap)) {
            wl_client_post_no_memory(client);
            return;
        }
        if (server.repeat) SendRepeatTo(keyboard, *server.repeat);
    },
    [](wl_client* client, wl_resource* seat, std::uint32_t id) {
        MakeListed<&Server::touches>(client, &wl_touch_interface,
                                     static_cast<std::uint32_t>(wl_resource_get_version(seat)), id,
                                     &kTouch, ServerOf(seat));
    },
    fake_compositor::DestroyResource,
};

void BindSeat(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
    auto& server = *static_cast<Server*>(data);
    server.Bound(wl_seat_interface, version);
    wl_resource* seat =
        wl_resource_create(client, &wl_seat_interface, static_cast<int>(version), id);
    if (seat == nullptr) {
        wl_client_post_no_memory(client);
        return;
    }
    wl_resource_set_implementation(seat, &kSeat, &server, nullptr);
    wl_seat_send_capabilities(
        seat, WL_SEAT_CAPABILITY_POINTER | WL_SEAT_CAPABILITY_KEYBOARD | WL_SEAT_CAPABILITY_TOUCH);
    if (version >= WL_SEAT_NAME_SINCE_VERSION) wl_seat_send_name(seat, "seat0");
}

}  // namespace

void fake_compositor::OfferSeat(Server& server) {
    wl_global_create(server.display, &wl_seat_interface, 7, &server, BindSeat);
}

std::uint32_t FakeCompositor::PointerEnter(int surface, double x, double y) {
    std::uint32_t serial = 0;
    Call([&](Server& server) {
        wl_resource* target = server.AliveSurface(surface);
        serial = server.NextSerial();
        server.pointerFocus = surface;
        for (wl_resource* pointer : server.pointers) {
            wl_pointer_send_enter(pointer, serial, target, wl_fixed_from_double(x),
                                  wl_fixed_from_double(y));
            PointerFrame(pointer);
        }
    });
    return serial;
}

void FakeCompositor::PointerMotion(double x, double y) {
    Call([&](Server& server) {
        Focused(server, server.pointerFocus, "pointer");
        for (wl_resource* pointer : server.pointers) {
            wl_pointer_send_motion(pointer, NowMs(), wl_fixed_from_double(x),
                                   wl_fixed_from_double(y));
            PointerFrame(pointer);
        }
    });
}

std::uint32_t FakeCompositor::PointerButton(std::uint32_t button, bool pressed) {
    std::uint32_t serial = 0;
    Call([&](Server& server) {
        Focused(server, server.pointerFocus, "pointer");
        serial = server.NextSerial();
        for (wl_resource* pointer : server.pointers) {
            wl_pointer_send_button(
                pointer, serial, NowMs(), button,
                pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
            PointerFrame(pointer);
        }
    });
    return serial;
}

std::uint32_t FakeCompositor::PointerLeave() {
    std::uint32_t serial = 0;
    Call([&](Server& server) {
        wl_resource* target = Focused(server, server.pointerFocus, "pointer");
        serial = server.NextSerial();
        server.pointerFocus = -1;
        for (wl_resource* pointer : server.pointers) {
            wl_pointer_send_leave(pointer, serial, target);
            PointerFrame(pointer);
        }
    });
    return serial;
}

std::uint32_t FakeCompositor::TouchDown(int surface, int id, double x, double y) {
    std::uint32_t serial = 0;
    Call([&](Server& server) {
        wl_resource* target = server.AliveSurface(surface);
        serial = server.NextSerial();
        for (wl_resource* touch : server.touches) {
            wl_touch_send_down(touch, serial, NowMs(), target, id, wl_fixed_from_double(x),
                               wl_fixed_from_double(y));
            wl_touch_send_frame(touch);
        }
    });
    return serial;
}

void FakeCompositor::TouchMotion(int id, double x, double y) {
    Call([&](Server& server) {
        for (wl_resource* touch : server.touches) {
            wl_touch_send_motion(touch, NowMs(), id, wl_fixed_from_double(x),
                                 wl_fixed_from_double(y));
            wl_touch_send_frame(touch);
        }
    });
}

std::uint32_t FakeCompositor::TouchUp(int id) {
    std::uint32_t serial = 0;
    Call([&](Server& server) {
        serial = server.NextSerial();
        for (wl_resource* touch : server.touches) {
            wl_touch_send_up(touch, serial, NowMs(), id);
            wl_touch_send_frame(touch);
        }
    });
    return serial;
}

void FakeCompositor::SendKeymap(const std::string& keymapText) {
    Call([&](Server& server) {
        server.keymap = keymapText;
        for (wl_resource* keyboard : server.keyboards) {
            if (!SendKeymapTo(keyboard, keymapText)) {
                throw std::runtime_error("the keymap could not be written");
            }
        }
    });
}

void FakeCompositor::SendRepeatInfo(int rate, int delayMs) {
    Call([&](Server& server) {
        server.repeat = {rate, delayMs};
        for (wl_resource* keyboard : server.keyboards) SendRepeatTo(keyboard, *server.repeat);
    });
}

std::uint32_t FakeCompositor::KeyboardEnter(int surface,
                                            const std::vector<std::uint32_t>& pressedKeys) {
    std::uint32_t serial = 0;
    Call([&](Server& server) {
        wl_resource* target = server.AliveSurface(surface);
        serial = server.NextSerial();
        server.keyboardFocus = surface;
        wl_array keys;
        wl_array_init(&keys);
        for (const std::uint32_t key : pressedKeys) {
            *static_cast<std::uint32_t*>(wl_array_add(&keys, sizeof key)) = key;
        }
        for (wl_resource* keyboard : server.keyboards) {
            wl_keyboard_send_enter(keyboard, serial, target, &keys);
        }
        wl_array_release(&keys);
    });
    return serial;
}

std::uint32_t FakeCompositor::KeyboardLeave() {
    std::uint32_t serial = 0;
    Call([&](Server& server) {
        wl_resource* target = Focused(server, server.keyboardFocus, "keyboard");
        serial = server.NextSerial();
        server.keyboardFocus = -1;
        for (wl_resource* keyboard : server.keyboards) {
            wl_keyboard_send_leave(keyboard, serial, target);
        }
    });
    return serial;
}

std::uint32_t FakeCompositor::Key(std::uint32_t evdevKey, bool pressed) {
    std::uint32_t serial = 0;
    Call([&](Server& server) {
        Focused(server, server.keyboardFocus, "keyboard");
        serial = server.NextSerial();
        for (wl_resource* keyboard : server.keyboards) {
            wl_keyboard_send_key(
                keyboard, serial, NowMs(), evdevKey,
                pressed ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
        }
    });
    return serial;
}

std::uint32_t FakeCompositor::Modifiers(std::uint32_t depressed, std::uint32_t latched,
                                        std::uint32_t locked, std::uint32_t group) {
    std::uint32_t serial = 0;
    Call([&](Server& server) {
        serial = server.NextSerial();
        for (wl_resource* keyboard : server.keyboards) {
            wl_keyboard_send_modifiers(keyboard, serial, depressed, latched, locked, group);
        }
    });
    return serial;
}

std::string FakeCompositor::KeymapFromNames(const char* layout) {
    struct Free {
        void operator()(char* text) const { std::free(text); }
    };
    // Not from the environment's XKB_DEFAULT_* names: the tests see the same keymap everywhere.
    const std::unique_ptr<xkb_context, decltype(&xkb_context_unref)> context(
        xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES), xkb_context_unref);
    if (!context) throw std::runtime_error("no xkb context");
    const xkb_rule_names names{
        .rules = "evdev", .model = "pc105", .layout = layout, .variant = "", .options = ""};
    const std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)> keymap(
        xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS),
        xkb_keymap_unref);
    if (!keymap) throw std::runtime_error(std::string("no keymap for layout ") + layout);
    const std::unique_ptr<char, Free> text(
        xkb_keymap_get_as_string(keymap.get(), XKB_KEYMAP_FORMAT_TEXT_V1));
    if (!text) throw std::runtime_error("the keymap has no text");
    return text.get();
}
