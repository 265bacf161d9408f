// The fake compositor's shells, xdg-shell and wlr-layer-shell: roles, configures and their acks,
// and the shells' double-buffered state.
#include <algorithm>
#include <stdexcept>
#include <string>

#include "wayland/fake_compositor_server.h"
#include "wlr-layer-shell-unstable-v1-server-protocol.h"
#include "xdg-shell-server-protocol.h"

using Server = FakeCompositor::Server;
using fake_compositor::ServerOf;
using fake_compositor::SurfaceLive;

namespace {

SurfaceLive& LiveOf(wl_resource* object) {
    Server& server = ServerOf(object);
    return server.live[static_cast<std::size_t>(server.IndexOf(object))];
}

FakeCompositor::SurfaceView& ViewOf(wl_resource* object) {
    Server& server = ServerOf(object);
    return server.state.surfaces[static_cast<std::size_t>(server.IndexOf(object))];
}

template <wl_resource* SurfaceLive::*Slot>
void ForgetRoleObject(wl_resource* gone) {
    Server& server = ServerOf(gone);
    const int index = server.IndexOf(gone);
    server.surfaceOf.erase(gone);
    if (index >= 0) server.live[static_cast<std::size_t>(index)].*Slot = nullptr;
}

// A role object leads back to its surface (by index) until it is destroyed.
template <wl_resource* SurfaceLive::*Slot>
wl_resource* MakeRoleObject(wl_client* client, const wl_interface& interface, wl_resource* maker,
                            std::uint32_t id, const void* implementation, int index) {
    Server& server = ServerOf(maker);
    wl_resource* object =
        wl_resource_create(client, &interface, wl_resource_get_version(maker), id);
    if (object == nullptr) {
        wl_client_post_no_memory(client);
        return nullptr;
    }
    wl_resource_set_implementation(object, implementation, &server, ForgetRoleObject<Slot>);
    server.surfaceOf[object] = index;
    server.live[static_cast<std::size_t>(index)].*Slot = object;
    return object;
}

// A surface keeps its role for good; only a new object of the same role may take it again.
bool TakeRole(wl_resource* maker, int index, const std::string& role, bool taken,
              std::uint32_t error) {
    std::string& current = ServerOf(maker).state.surfaces[static_cast<std::size_t>(index)].role;
    if (taken || (!current.empty() && current != role)) {
        wl_resource_post_error(maker, error, "surface %d has a role already", index);
        return false;
    }
    current = role;
    return true;
}

std::uint32_t SendConfigure(Server& server, int index, FakeCompositor::Size size,
                            const std::vector<std::uint32_t>& states) {
    SurfaceLive& live = server.live[static_cast<std::size_t>(index)];
    const std::uint32_t serial = server.NextSerial();
    const auto width = static_cast<std::uint32_t>(size.width);
    const auto height = static_cast<std::uint32_t>(size.height);
    if (live.layer != nullptr) {
        zwlr_layer_surface_v1_send_configure(live.layer, serial, width, height);
    } else if (live.toplevel != nullptr && live.xdgSurface != nullptr) {
        wl_array array;
        wl_array_init(&array);
        for (const std::uint32_t state : states) {
            *static_cast<std::uint32_t*>(wl_array_add(&array, sizeof state)) = state;
        }
        xdg_toplevel_send_configure(live.toplevel, size.width, size.height, &array);
        wl_array_release(&array);
        xdg_surface_send_configure(live.xdgSurface, serial);
    } else {
        throw std::logic_error("surface " + std::to_string(index) + " has no shell role");
    }
    live.configured = true;
    server.state.surfaces[static_cast<std::size_t>(index)].configures.push_back(serial);
    return serial;
}

// The answer to a shell surface's first commit.
FakeCompositor::Size FirstSize(const Server& server, int index) {
    if (server.options.firstConfigure) return *server.options.firstConfigure;
    if (server.live[static_cast<std::size_t>(index)].layer == nullptr) return {};
    const FakeCompositor::Layer& layer =
        server.state.surfaces[static_cast<std::size_t>(index)].layer;
    const FakeCompositor::Output& output = server.state.output;
    const auto spans = [&layer](std::uint32_t one, std::uint32_t other) {
        return (layer.anchor & one) != 0 && (layer.anchor & other) != 0;
    };
    FakeCompositor::Size size = layer.size;
    if (size.width == 0 &&
        spans(ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT, ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT)) {
        size.width = output.width / output.scale;
    }
    if (size.height == 0 &&
        spans(ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP, ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM)) {
        size.height = output.height / output.scale;
    }
    return size;
}

void Ack(wl_resource* object, std::uint32_t serial, std::uint32_t invalidSerial) {
    FakeCompositor::SurfaceView& view = ViewOf(object);
    if (std::find(view.configures.begin(), view.configures.end(), serial) ==
        view.configures.end()) {
        wl_resource_post_error(object, invalidSerial, "serial %u was never sent", serial);
        return;
    }
    view.acks.push_back(serial);
    LiveOf(object).acked = true;
}

void RefusePopup(wl_resource* object) {
    wl_resource_post_error(object, XDG_WM_BASE_ERROR_INVALID_POPUP_PARENT,
                           "the fake compositor shows no popups");
}

const struct xdg_toplevel_interface kToplevel = {
    fake_compositor::DestroyResource,
    [](wl_client*, wl_resource* toplevel, wl_resource* parent) {
        ViewOf(toplevel).toplevel.parent =
            parent == nullptr ? -1 : ServerOf(toplevel).IndexOf(parent);
    },
    [](wl_client*, wl_resource* toplevel, const char* title) {
        ViewOf(toplevel).toplevel.title = title;
    },
    [](wl_client*, wl_resource* toplevel, const char* appId) {
        ViewOf(toplevel).toplevel.appId = appId;
    },
    [](wl_client*, wl_resource*, wl_resource*, std::uint32_t, std::int32_t, std::int32_t) {},
    [](wl_client*, wl_resource*, wl_resource*, std::uint32_t) {},
    [](wl_client*, wl_resource*, wl_resource*, std::uint32_t, std::uint32_t) {},
    [](wl_client*, wl_resource* toplevel, std::int32_t width, std::int32_t height) {
        LiveOf(toplevel).maxSizePending = {width, height};
    },
    [](wl_client*, wl_resource* toplevel, std::int32_t width, std::int32_t height) {
        LiveOf(toplevel).minSizePending = {width, height};
    },
    [](wl_client*, wl_resource*) {},
    [](wl_client*, wl_resource*) {},
    [](wl_client*, wl_resource*, wl_resource*) {},
    [](wl_client*, wl_resource*) {},
    [](wl_client*, wl_resource*) {},
};

const struct xdg_surface_interface kXdgSurface = {
    fake_compositor::DestroyResource,
    [](wl_client* client, wl_resource* xdgSurface, std::uint32_t id) {
        const int index = ServerOf(xdgSurface).IndexOf(xdgSurface);
        if (!TakeRole(xdgSurface, index, "toplevel", LiveOf(xdgSurface).toplevel != nullptr,
                      XDG_SURFACE_ERROR_ALREADY_CONSTRUCTED)) {
            return;
        }
        MakeRoleObject<&SurfaceLive::toplevel>(client, xdg_toplevel_interface, xdgSurface, id,
                                               &kToplevel, index);
    },
    [](wl_client*, wl_resource* xdgSurface, std::uint32_t, wl_resource*, wl_resource*) {
        RefusePopup(xdgSurface);
    },
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {},
    [](wl_client*, wl_resource* xdgSurface, std::uint32_t serial) {
        Ack(xdgSurface, serial, XDG_SURFACE_ERROR_INVALID_SERIAL);
    },
};

const struct xdg_wm_base_interface kWmBase = {
    fake_compositor::DestroyResource,
    [](wl_client*, wl_resource* base, std::uint32_t) { RefusePopup(base); },
    [](wl_client* client, wl_resource* base, std::uint32_t id, wl_resource* surface) {
        Server& server = ServerOf(base);
        const int index = server.IndexOf(surface);
        const std::string& role = server.state.surfaces[static_cast<std::size_t>(index)].role;
        SurfaceLive& live = server.live[static_cast<std::size_t>(index)];
        if (live.xdgSurface != nullptr || (!role.empty() && role != "toplevel")) {
            wl_resource_post_error(base, XDG_WM_BASE_ERROR_ROLE, "surface %d has a role", index);
            return;
        }
        live.configured = live.acked = false;
        live.minSizePending = live.maxSizePending = {};
        MakeRoleObject<&SurfaceLive::xdgSurface>(client, xdg_surface_interface, base, id,
                                                 &kXdgSurface, index);
    },
    [](wl_client*, wl_resource*, std::uint32_t) {},  // pong: the fake never pings
};

const struct zwlr_layer_surface_v1_interface kLayerSurface = {
    [](wl_client*, wl_resource* layer, std::uint32_t width, std::uint32_t height) {
        LiveOf(layer).layerPending.size = {static_cast<int>(width), static_cast<int>(height)};
    },
    [](wl_client*, wl_resource* layer, std::uint32_t anchor) {
        LiveOf(layer).layerPending.anchor = anchor;
    },
    [](wl_client*, wl_resource* layer, std::int32_t zone) {
        LiveOf(layer).layerPending.exclusiveZone = zone;
    },
    [](wl_client*, wl_resource* layer, std::int32_t top, std::int32_t right, std::int32_t bottom,
       std::int32_t left) {
        FakeCompositor::Layer& pending = LiveOf(layer).layerPending;
        pending.marginTop = top;
        pending.marginRight = right;
        pending.marginBottom = bottom;
        pending.marginLeft = left;
    },
    [](wl_client*, wl_resource* layer, std::uint32_t interactivity) {
        LiveOf(layer).layerPending.keyboardInteractivity = interactivity;
    },
    [](wl_client*, wl_resource* layer, wl_resource*) { RefusePopup(layer); },
    [](wl_client*, wl_resource* layer, std::uint32_t serial) {
        Ack(layer, serial, ZWLR_LAYER_SURFACE_V1_ERROR_INVALID_SURFACE_STATE);
    },
    fake_compositor::DestroyResource,
    [](wl_client*, wl_resource* layer, std::uint32_t which) {
        LiveOf(layer).layerPending.layer = which;
    },
};

const struct zwlr_layer_shell_v1_interface kLayerShell = {
    [](wl_client* client, wl_resource* shell, std::uint32_t id, wl_resource* surface,
       wl_resource* output, std::uint32_t layer, const char* nameSpace) {
        Server& server = ServerOf(shell);
        const int index = server.IndexOf(surface);
        SurfaceLive& live = server.live[static_cast<std::size_t>(index)];
        if (!TakeRole(shell, index, "layer", live.layer != nullptr,
                      ZWLR_LAYER_SHELL_V1_ERROR_ROLE)) {
            return;
        }
        live.configured = live.acked = false;
        live.layerPending = {};
        live.layerPending.layer = layer;
        live.layerPending.nameSpace = nameSpace;
        live.layerPending.outputGiven = output != nullptr;
        // What get_layer_surface names is the surface's at once; the rest waits for a commit.
        server.state.surfaces[static_cast<std::size_t>(index)].layer = live.layerPending;
        MakeRoleObject<&SurfaceLive::layer>(client, zwlr_layer_surface_v1_interface, shell, id,
                                            &kLayerSurface, index);
    },
    fake_compositor::DestroyResource,
};

template <const wl_interface& Interface, auto Implementation>
void BindShell(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
    auto& server = *static_cast<Server*>(data);
    server.Bound(Interface, version);
    wl_resource* resource = wl_resource_create(client, &Interface, static_cast<int>(version), id);
    if (resource == nullptr) {
        wl_client_post_no_memory(client);
        return;
    }
    wl_resource_set_implementation(resource, Implementation, &server, nullptr);
}

}  // namespace

void fake_compositor::OfferShell(Server& server) {
    if (server.options.xdgShell) {
        wl_global_create(server.display, &xdg_wm_base_interface, 5, &server,
                         BindShell<xdg_wm_base_interface, &kWmBase>);
    }
    if (server.options.layerShell) {
        wl_global_create(server.display, &zwlr_layer_shell_v1_interface, 4, &server,
                         BindShell<zwlr_layer_shell_v1_interface, &kLayerShell>);
    }
}

void fake_compositor::CommitRole(Server& server, int index, bool newBuffer) {
    SurfaceLive& live = server.live[static_cast<std::size_t>(index)];
    FakeCompositor::SurfaceView& view = server.state.surfaces[static_cast<std::size_t>(index)];
    if (live.layer != nullptr) {
        view.layer = live.layerPending;
    } else if (live.toplevel != nullptr && live.xdgSurface != nullptr) {
        view.toplevel.minSize = live.minSizePending;
        view.toplevel.maxSize = live.maxSizePending;
    } else {
        return;
    }
    if (newBuffer && !live.acked) view.bufferBeforeFirstAck = true;
    if (!live.configured) SendConfigure(server, index, FirstSize(server, index), {});
}

std::uint32_t FakeCompositor::Configure(int surface, Size size,
                                        const std::vector<std::uint32_t>& states) {
    std::uint32_t serial = 0;
    Call([&](Server& server) {
        server.AliveSurface(surface);
        serial = SendConfigure(server, surface, size, states);
    });
    return serial;
}

void FakeCompositor::Close(int surface) {
    Call([surface](Server& server) {
        server.AliveSurface(surface);
        const SurfaceLive& live = server.live[static_cast<std::size_t>(surface)];
        if (live.layer != nullptr) {
            zwlr_layer_surface_v1_send_closed(live.layer);
        } else if (live.toplevel != nullptr) {
            xdg_toplevel_send_close(live.toplevel);
        } else {
            throw std::logic_error("surface " + std::to_string(surface) + " has no shell role");
        }
    });
}
