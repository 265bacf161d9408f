// The compositor's outputs (wl_output): their mode, transform and scale, and the display the
// window system sees, which is the first output's picture in physical pixels at 96 dpi × scale.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/backends/wayland/wayland_proxy.h"
#include "platform/base/system_metrics.h"

namespace platform {

class WaylandOutputs {
  public:
    // Called once an output has sent all of a change (its done event).
    explicit WaylandOutputs(std::function<void()> changed) : changed_(std::move(changed)) {}

    void Add(wl_registry* registry, std::uint32_t name, std::uint32_t version);
    // The global went away (an unplugged screen); false when it was no output of ours.
    bool Remove(std::uint32_t name);

    // The display of the first output that has told its mode; nullopt before any has.
    std::optional<DisplayInfo> Display() const;
    // The first output, on which the launcher's layer surface is placed; nullptr when none.
    wl_output* Primary() const;
    // The scale of an output; 1 for one we do not know.
    int ScaleOf(wl_output* output) const;
    int PrimaryScale() const { return ScaleOf(Primary()); }
    // An output finished describing a change, or went away.
    void OutputChanged();

    struct Output {
        WaylandOutputs* owner = nullptr;
        std::uint32_t name = 0;
        OwnedProxy<wl_output> proxy;
        int width = 0;  // the current mode, as the panel is built (before its transform)
        int height = 0;
        int transform = WL_OUTPUT_TRANSFORM_NORMAL;
        int scale = 1;
        bool described = false;  // sent done at least once
    };

  private:
    std::function<void()> changed_;
    std::vector<std::unique_ptr<Output>> outputs_;
};

}  // namespace platform
