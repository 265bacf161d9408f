// Start-up to a visible window on X11, as a user sees it: starts a program and prints the
// milliseconds from the start to the first picture in the first window it maps, then ends the
// program. Works for any X client, ours or a peer's.
// A damage report alone is not a picture: the server reports one as a window without background
// is mapped, long before its program draws. The picture counts from the first report after which
// the middle row or column of the window holds more than one colour.
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
#include <cstring>
#include <vector>

extern char** environ;

namespace {

// Whether the pixels of that strip of the window are not all the same.
bool ShowsMoreThanOneColour(xcb_connection_t* connection, xcb_window_t window, int x, int y,
                            int width, int height) {
    xcb_get_image_reply_t* image = xcb_get_image_reply(
        connection,
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(height), ~0U),
        nullptr);
    if (image == nullptr) return false;
    const std::uint8_t* data = xcb_get_image_data(image);
    const int length = xcb_get_image_data_length(image);
    bool varied = false;
    for (int offset = 4; offset + 4 <= length && !varied; offset += 4) {
        varied = std::memcmp(data, data + offset, 3) != 0;  // the fourth byte is padding
    }
    free(image);
    return varied;
}

bool ShowsPicture(xcb_connection_t* connection, xcb_window_t window) {
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (geometry == nullptr) return false;
    const int width = geometry->width;
    const int height = geometry->height;
    free(geometry);
    return ShowsMoreThanOneColour(connection, window, width / 2, 0, 1, height) ||
           ShowsMoreThanOneColour(connection, window, 0, height / 2, width, 1);
}

}  // namespace

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
    xcb_window_t watched = XCB_NONE;
    xcb_damage_damage_t report = XCB_NONE;
    while (milliseconds < 0) {
        xcb_generic_event_t* event = xcb_wait_for_event(connection);
        if (event == nullptr) break;
        // Taken as the event is read, before the round trips that look at the window.
        const double now =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        const std::uint8_t type = event->response_type & 0x7F;
        if (type == XCB_MAP_NOTIFY && watched == XCB_NONE) {
            // The first window mapped: from now on, its drawing counts.
            watched = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
            report = xcb_generate_id(connection);
            xcb_damage_create(connection, report, watched, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(connection);
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            // Emptied, so that the next drawing is reported again.
            xcb_damage_subtract(connection, report, XCB_NONE, XCB_NONE);
            if (ShowsPicture(connection, watched)) milliseconds = now;
        }
        free(event);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    std::printf("%.2f\n", milliseconds);
    return milliseconds < 0 ? 1 : 0;
}
