// Start-up to a visible window on X11, as a user sees it: starts a program and prints the
// milliseconds from the start to the first drawing (a damage report) into the first window it
// maps, then ends the program. Works for any X client, ours or a peer's.
// Usage: first_picture_watch <program> [arguments...]
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Usage: %s <program> [arguments...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (damage == nullptr || damage->present == 0) return 1;
    free(xcb_damage_query_version_reply(connection, xcb_damage_query_version(connection, 1, 1),
                                        nullptr));
    const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &events);
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[1], nullptr, nullptr, argv + 1, environ) != 0) return 1;
    double milliseconds = -1;
    bool watching = false;
    while (milliseconds < 0) {
        xcb_generic_event_t* event = xcb_wait_for_event(connection);
        if (event == nullptr) break;
        const std::uint8_t type = event->response_type & 0x7F;
        if (type == XCB_MAP_NOTIFY && !watching) {
            // The first window mapped: from now on, its first drawing counts.
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            xcb_damage_create(connection, xcb_generate_id(connection), map->window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(connection);
            watching = true;
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            milliseconds =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        }
        free(event);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    std::printf("%.2f\n", milliseconds);
    return milliseconds < 0 ? 1 : 0;
}
