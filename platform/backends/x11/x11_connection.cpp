// Opening the X connection: the screen, every atom in one round trip, the extensions.
#include "platform/backends/x11/x11_connection.h"

#include <xcb/shm.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/backends/shared/density.h"

namespace platform {
namespace {

// A visual of the root's depth that our 0x00RRGGBB pixels fit as they are.
bool DrawableScreen(const xcb_setup_t* setup, const xcb_screen_t* screen) {
    if (screen->root_depth != 24 || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) {
        return false;
    }
    bool thirtyTwoBits = false;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem != 0;
         xcb_format_next(&formats)) {
        if (formats.data->depth == 24) thirtyTwoBits = formats.data->bits_per_pixel == 32;
    }
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem != 0;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem != 0;
             xcb_visualtype_next(&visuals)) {
            const xcb_visualtype_t* visual = visuals.data;
            if (visual->visual_id == screen->root_visual) {
                return thirtyTwoBits && visual->_class == XCB_VISUAL_CLASS_TRUE_COLOR &&
                       visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
                       visual->blue_mask == 0xFF;
            }
        }
    }
    return false;
}

}  // namespace

void XcbFree::operator()(void* reply) const { std::free(reply); }

std::unique_ptr<X11Connection> X11Connection::Open(const char* displayName, std::string* error) {
    const auto fail = [error](std::string reason) {
        if (error != nullptr) *error = std::move(reason);
        return nullptr;
    };
    std::unique_ptr<X11Connection> connection(new X11Connection());
    int screenNumber = 0;
    connection->connection_ = xcb_connect(displayName, &screenNumber);
    if (xcb_connection_has_error(connection->connection_) != 0) {
        return fail("cannot connect to the X server");
    }
    const char* name = displayName != nullptr ? displayName : std::getenv("DISPLAY");
    connection->displayName_ = name != nullptr ? name : "";
    const xcb_setup_t* setup = xcb_get_setup(connection->connection_);
    auto screens = xcb_setup_roots_iterator(setup);
    for (int index = 0; index < screenNumber && screens.rem != 0; ++index) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) return fail("the X server has no such screen");
    connection->screen_ = screens.data;
    if (!DrawableScreen(setup, connection->screen_)) {
        return fail("the X screen is not 24-bit true colour");
    }

    // Every request first, then every reply: one round trip for all.
    X11Atoms& atoms = connection->atoms_;
    const std::array<std::pair<std::string_view, xcb_atom_t*>, 20> names{{
        {"WM_PROTOCOLS", &atoms.wmProtocols},
        {"WM_DELETE_WINDOW", &atoms.wmDeleteWindow},
        {"WM_TAKE_FOCUS", &atoms.wmTakeFocus},
        {"_NET_WM_PING", &atoms.netWmPing},
        {"_NET_WM_NAME", &atoms.netWmName},
        {"_NET_WM_PID", &atoms.netWmPid},
        {"_NET_WM_WINDOW_TYPE", &atoms.netWmWindowType},
        {"_NET_WM_WINDOW_TYPE_DIALOG", &atoms.netWmWindowTypeDialog},
        {"_NET_WM_WINDOW_TYPE_NORMAL", &atoms.netWmWindowTypeNormal},
        {"_NET_WM_STATE", &atoms.netWmState},
        {"_NET_WM_STATE_ABOVE", &atoms.netWmStateAbove},
        {"_NET_ACTIVE_WINDOW", &atoms.netActiveWindow},
        {"_NET_SUPPORTING_WM_CHECK", &atoms.netSupportingWmCheck},
        {"_MOTIF_WM_HINTS", &atoms.motifWmHints},
        {"UTF8_STRING", &atoms.utf8String},
        {"CLIPBOARD", &atoms.clipboard},
        {"TARGETS", &atoms.targets},
        {"INCR", &atoms.incr},
        {"TEXT", &atoms.text},
        {"_TAVREL_SELECTION", &atoms.selectionProperty},
    }};
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (std::size_t index = 0; index < names.size(); ++index) {
        cookies[index] = xcb_intern_atom(connection->connection_, 0,
                                         static_cast<std::uint16_t>(names[index].first.size()),
                                         names[index].first.data());
    }
    xcb_prefetch_extension_data(connection->connection_, &xcb_shm_id);
    for (std::size_t index = 0; index < names.size(); ++index) {
        XcbReply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection->connection_, cookies[index], nullptr));
        if (!reply) return fail("the X server did not answer");
        *names[index].second = reply->atom;
    }
    const xcb_query_extension_reply_t* shm =
        xcb_get_extension_data(connection->connection_, &xcb_shm_id);
    connection->sharedMemory_ = shm != nullptr && shm->present != 0;
    return connection;
}

X11Connection::~X11Connection() {
    if (connection_ != nullptr) xcb_disconnect(connection_);
}

std::size_t X11Connection::MaximumRequestBytes() const {
    return static_cast<std::size_t>(xcb_get_maximum_request_length(connection_)) * 4;
}

bool X11Connection::WindowManagerRuns() const {
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection_, 0, Root(), atoms_.netSupportingWmCheck, XCB_ATOM_WINDOW, 0, 1);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, cookie, nullptr));
    return reply && reply->type == XCB_ATOM_WINDOW &&
           xcb_get_property_value_length(reply.get()) == 4;
}

int X11Connection::DotsPerInch() const {
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection_, 0, Root(), XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 1 << 16);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, cookie, nullptr));
    if (!reply) return kDefaultDotsPerInch;
    const std::string_view resources(
        static_cast<const char*>(xcb_get_property_value(reply.get())),
        static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    // One resource a line, "Xft.dpi:\t192".
    for (std::size_t start = 0; start < resources.size();) {
        const std::size_t end = std::min(resources.find('\n', start), resources.size());
        std::string_view line = resources.substr(start, end - start);
        start = end + 1;
        constexpr std::string_view kKey = "Xft.dpi:";
        if (!line.starts_with(kKey)) continue;
        line.remove_prefix(kKey.size());
        return SaneDotsPerInch(std::strtof(std::string(line).c_str(), nullptr));
    }
    return kDefaultDotsPerInch;
}

}  // namespace platform
