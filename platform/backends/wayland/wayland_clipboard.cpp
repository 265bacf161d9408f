// wl_data_device, wl_data_offer and wl_data_source listeners. Text travels through a pipe: a
// reader waits for it a bounded time, a writer never leaves a slow reader holding the window.
#include "platform/backends/wayland/wayland_clipboard.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

// What we offer, and what we take, best first: the types text is known by on Wayland and (for
// clients bridged from X11) by its X name.
constexpr const char* kTextTypes[] = {"text/plain;charset=utf-8", "UTF8_STRING", "text/plain",
                                      "STRING", "TEXT"};
// How long a client reading our text may take for each part of it.
constexpr int kWriteWaitMs = 2000;

WaylandClipboard& ClipboardOf(void* data) { return *static_cast<WaylandClipboard*>(data); }

void OnOffer(void* data, wl_data_offer* offer, const char* mimeType) {
    ClipboardOf(data).OfferHasType(offer, mimeType);
}
void OnSourceActions(void* /*data*/, wl_data_offer* /*offer*/, std::uint32_t /*actions*/) {}
void OnAction(void* /*data*/, wl_data_offer* /*offer*/, std::uint32_t /*action*/) {}

constexpr wl_data_offer_listener kOfferListener{OnOffer, OnSourceActions, OnAction};

void OnDataOffer(void* data, wl_data_device* /*device*/, wl_data_offer* offer) {
    ClipboardOf(data).OfferMade(offer);
}
void OnEnter(void* data, wl_data_device* /*device*/, std::uint32_t /*serial*/,
             wl_surface* /*surface*/, wl_fixed_t /*x*/, wl_fixed_t /*y*/, wl_data_offer* offer) {
    ClipboardOf(data).DragEntered(offer);
}
void OnLeave(void* /*data*/, wl_data_device* /*device*/) {}
void OnMotion(void* /*data*/, wl_data_device* /*device*/, std::uint32_t /*time*/, wl_fixed_t /*x*/,
              wl_fixed_t /*y*/) {}
void OnDrop(void* /*data*/, wl_data_device* /*device*/) {}
void OnSelection(void* data, wl_data_device* /*device*/, wl_data_offer* offer) {
    ClipboardOf(data).SelectionChanged(offer);
}

constexpr wl_data_device_listener kDeviceListener{OnDataOffer, OnEnter, OnLeave,
                                                  OnMotion,    OnDrop,  OnSelection};

void OnTarget(void* /*data*/, wl_data_source* /*source*/, const char* /*mimeType*/) {}
void OnSend(void* data, wl_data_source* /*source*/, const char* mimeType, std::int32_t fd) {
    ClipboardOf(data).SendRequested(mimeType, fd);
}
void OnCancelled(void* data, wl_data_source* source) { ClipboardOf(data).SourceCancelled(source); }
void OnDndDropPerformed(void* /*data*/, wl_data_source* /*source*/) {}
void OnDndFinished(void* /*data*/, wl_data_source* /*source*/) {}
void OnSourceAction(void* /*data*/, wl_data_source* /*source*/, std::uint32_t /*action*/) {}

constexpr wl_data_source_listener kSourceListener{
    OnTarget, OnSend, OnCancelled, OnDndDropPerformed, OnDndFinished, OnSourceAction};

// Writes all of `text`, waiting at most kWriteWaitMs for the reader whenever the pipe is full.
void WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(fd, text.data() + written, text.size() - written);
        if (count > 0) {
            written += static_cast<std::size_t>(count);
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && errno != EAGAIN) return;
        pollfd writable{fd, POLLOUT, 0};
        if (::poll(&writable, 1, kWriteWaitMs) <= 0) return;
    }
}

}  // namespace

WaylandClipboard::WaylandClipboard(wl_display* display, wl_data_device_manager* manager,
                                   wl_seat* seat)
    : display_(display),
      manager_(manager),
      device_(wl_data_device_manager_get_data_device(manager, seat)) {
    wl_data_device_add_listener(device_.get(), &kDeviceListener, this);
}

WaylandClipboard::~WaylandClipboard() {
    for (auto& [offer, types] : offers_) wl_data_offer_destroy(offer);
}

void WaylandClipboard::OfferMade(wl_data_offer* offer) {
    offers_[offer];
    wl_data_offer_add_listener(offer, &kOfferListener, this);
}

void WaylandClipboard::OfferHasType(wl_data_offer* offer, const char* mimeType) {
    if (const auto found = offers_.find(offer); found != offers_.end()) {
        found->second.insert(mimeType);
    }
}

void WaylandClipboard::DropOffer(wl_data_offer* offer) {
    if (offer == nullptr || offers_.erase(offer) == 0) return;
    wl_data_offer_destroy(offer);
}

void WaylandClipboard::DragEntered(wl_data_offer* offer) {
    // Nothing is dropped on our windows.
    DropOffer(offer);
}

void WaylandClipboard::SelectionChanged(wl_data_offer* offer) {
    if (selection_ != offer) DropOffer(selection_);
    selection_ = offer;
}

void WaylandClipboard::SetText(std::string text, std::uint32_t serial) {
    source_.reset(wl_data_device_manager_create_data_source(manager_));
    wl_data_source_add_listener(source_.get(), &kSourceListener, this);
    for (const char* type : kTextTypes) wl_data_source_offer(source_.get(), type);
    ownText_ = std::move(text);
    wl_data_device_set_selection(device_.get(), source_.get(), serial);
    wl_display_flush(display_);
}

void WaylandClipboard::SendRequested(const char* /*mimeType*/, int fd) {
    // Every type we offer is the same UTF-8 text. A full pipe must not hold the window long.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    WriteAll(fd, ownText_);
    ::close(fd);
}

void WaylandClipboard::SourceCancelled(wl_data_source* source) {
    // Another client took the selection.
    if (source_.get() == source) {
        source_.reset();
        ownText_.clear();
    }
}

std::optional<std::string> WaylandClipboard::Text(std::chrono::milliseconds wait,
                                                  std::size_t maxBytes) {
    // Our own selection is answered from memory: reading it through the compositor would need
    // us to write while we wait.
    if (source_) return ownText_;
    if (selection_ == nullptr) return std::nullopt;
    const auto types = offers_.find(selection_);
    if (types == offers_.end()) return std::nullopt;
    const char* chosen = nullptr;
    for (const char* type : kTextTypes) {
        if (types->second.count(type) != 0) {
            chosen = type;
            break;
        }
    }
    if (chosen == nullptr) return std::nullopt;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return std::nullopt;
    wl_data_offer_receive(selection_, chosen, pipeEnds[1]);
    ::close(pipeEnds[1]);
    wl_display_flush(display_);

    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    char chunk[65536];
    for (;;) {
        const ssize_t count = ::read(pipeEnds[0], chunk, sizeof chunk);
        if (count > 0) {
            text.append(chunk, static_cast<std::size_t>(count));
            if (text.size() > maxBytes) break;
            continue;
        }
        if (count == 0) {
            ::close(pipeEnds[0]);
            return text;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{pipeEnds[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) <= 0) break;
    }
    ::close(pipeEnds[0]);
    return std::nullopt;
}

}  // namespace platform
