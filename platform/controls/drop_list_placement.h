// Where a combo box's dropped list goes: under the closed box as far as the caller allows, above
// it when there is no room below, and always inside the area it may cover (the client area of the
// box's top-level window). The list shows whole rows inside a one-pixel frame.
#pragma once

#include "platform/base/win_types.h"

namespace platform {

struct DropListRequest {
    RECT box{};         // the closed box, in the area's coordinates
    int reach = 0;      // how far down from the box's top the list may reach
    int rowHeight = 1;  // one entry
    int rowCount = 0;   // entries in the list
    RECT area{};        // where the list may lie
};

struct DropListPlacement {
    RECT rect{};          // the list with its frame, in the area's coordinates
    int visibleRows = 1;  // whole rows inside the frame
    bool above = false;   // opened upward
};

// The frame around the rows, in pixels.
constexpr int kDropListFrame = 1;

DropListPlacement PlaceDropList(const DropListRequest& request);

}  // namespace platform
