// wl_output listener: the events of one output gather into its record; its done event says the
// change is whole, and the display follows.
#include "platform/backends/wayland/wayland_outputs.h"

#include <algorithm>

namespace platform {
namespace {

using Output = WaylandOutputs::Output;

Output& OutputOf(void* data) { return *static_cast<Output*>(data); }

void OnGeometry(void* data, wl_output* /*output*/, std::int32_t /*x*/, std::int32_t /*y*/,
                std::int32_t /*physicalWidth*/, std::int32_t /*physicalHeight*/,
                std::int32_t /*subpixel*/, const char* /*make*/, const char* /*model*/,
                std::int32_t transform) {
    OutputOf(data).transform = transform;
}

void OnMode(void* data, wl_output* /*output*/, std::uint32_t flags, std::int32_t width,
            std::int32_t height, std::int32_t /*refresh*/) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
    OutputOf(data).width = width;
    OutputOf(data).height = height;
}

void OnDone(void* data, wl_output* /*output*/) {
    Output& output = OutputOf(data);
    output.described = true;
    output.owner->OutputChanged();
}

void OnScale(void* data, wl_output* /*output*/, std::int32_t factor) {
    OutputOf(data).scale = std::max(factor, 1);
}

// Names and descriptions (version 4) are never asked for: outputs are bound at version 2.
constexpr wl_output_listener kOutputListener{OnGeometry, OnMode, OnDone, OnScale, nullptr, nullptr};

// Turned by a quarter (90 or 270 degrees, mirrored or not), an output shows its mode's height
// across.
bool IsQuarterTurn(int transform) { return (transform & 1) != 0; }

}  // namespace

void WaylandOutputs::Add(wl_registry* registry, std::uint32_t name, std::uint32_t version) {
    // Version 2 brings scale and done; later versions add nothing we use.
    if (version < 2) return;
    auto output = std::make_unique<Output>();
    output->owner = this;
    output->name = name;
    output->proxy.reset(
        static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 2)));
    wl_output_add_listener(output->proxy.get(), &kOutputListener, output.get());
    outputs_.push_back(std::move(output));
}

bool WaylandOutputs::Remove(std::uint32_t name) {
    const auto removed = std::erase_if(
        outputs_, [name](const std::unique_ptr<Output>& output) { return output->name == name; });
    if (removed == 0) return false;
    OutputChanged();
    return true;
}

std::optional<DisplayInfo> WaylandOutputs::Display() const {
    for (const auto& output : outputs_) {
        if (!output->described || output->width <= 0 || output->height <= 0) continue;
        const bool turned = IsQuarterTurn(output->transform);
        return DisplayInfo{turned ? output->height : output->width,
                           turned ? output->width : output->height, 96 * output->scale};
    }
    return std::nullopt;
}

void WaylandOutputs::OutputChanged() {
    if (changed_) changed_();
}

wl_output* WaylandOutputs::Primary() const {
    for (const auto& output : outputs_) {
        if (output->described) return output->proxy.get();
    }
    return nullptr;
}

int WaylandOutputs::ScaleOf(wl_output* output) const {
    for (const auto& known : outputs_) {
        if (known->proxy.get() == output) return known->scale;
    }
    return 1;
}

}  // namespace platform
