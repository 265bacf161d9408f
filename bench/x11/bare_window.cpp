// The floor of start-up on X11: a bare xcb program that maps a window of the launcher's size
// and puts one picture into it, then waits to be ended.
// Usage: bare_window [width height]
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    const int width = argc > 2 ? std::atoi(argv[1]) : 440;
    const int height = argc > 2 ? std::atoi(argv[2]) : 552;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t events = XCB_EVENT_MASK_EXPOSURE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 20, 44,
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK,
                      &events);
    const xcb_gcontext_t context = xcb_generate_id(connection);
    xcb_create_gc(connection, context, window, 0, nullptr);
    xcb_map_window(connection, window);
    xcb_flush(connection);
    // Strips of two greys: a picture, which a window of one colour would not be to the watch.
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(width) * 16, 0xE4E4E4);
    std::vector<std::uint32_t> darker(rows.size(), 0xC8C8C8);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        if ((event->response_type & 0x7F) == XCB_EXPOSE) {
            for (int top = 0; top < height; top += 16) {
                const int strip = std::min(16, height - top);
                xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, context,
                              static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(strip),
                              0, static_cast<std::int16_t>(top), 0, screen->root_depth,
                              static_cast<std::uint32_t>(width * strip * 4),
                              reinterpret_cast<const std::uint8_t*>(
                                  (top / 16) % 2 == 0 ? rows.data() : darker.data()));
            }
            xcb_flush(connection);
        }
        free(event);
    }
    return 0;
}
