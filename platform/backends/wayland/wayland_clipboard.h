// The clipboard through wl_data_device: our copies are offered as UTF-8 text and handed out on
// request; another client's text is read from its offer with a bounded wait.
#pragma once

#include <wayland-client.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/backends/wayland/wayland_proxy.h"

namespace platform {

class WaylandClipboard {
  public:
    WaylandClipboard(wl_display* display, wl_data_device_manager* manager, wl_seat* seat);
    ~WaylandClipboard();
    WaylandClipboard(const WaylandClipboard&) = delete;
    WaylandClipboard& operator=(const WaylandClipboard&) = delete;

    // Offers `text` as the selection; `serial` is the user's input that asked for it.
    void SetText(std::string text, std::uint32_t serial);
    // The selection's text: ours, or another client's, read for at most `wait` and `maxBytes`.
    // nullopt when there is no text on the clipboard or it could not be read.
    std::optional<std::string> Text(std::chrono::milliseconds wait, std::size_t maxBytes);

    // Listener events (public for the listener tables).
    void OfferMade(wl_data_offer* offer);
    void OfferHasType(wl_data_offer* offer, const char* mimeType);
    void SelectionChanged(wl_data_offer* offer);
    void DragEntered(wl_data_offer* offer);
    void SendRequested(const char* mimeType, int fd);
    void SourceCancelled(wl_data_source* source);

  private:
    void DropOffer(wl_data_offer* offer);

    wl_display* display_;
    wl_data_device_manager* manager_;
    OwnedProxy<wl_data_device> device_;
    // Offers announced and not yet dropped, with the types each offers.
    std::map<wl_data_offer*, std::set<std::string>> offers_;
    wl_data_offer* selection_ = nullptr;
    OwnedProxy<wl_data_source> source_;
    std::string ownText_;
};

}  // namespace platform
