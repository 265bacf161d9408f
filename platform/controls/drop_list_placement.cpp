#include "platform/controls/drop_list_placement.h"

#include <algorithm>

namespace platform {
namespace {

// Whole rows that fit in `room` pixels with the frame.
int RowsFitting(int room, int rowHeight) {
    return std::max(0, (room - 2 * kDropListFrame) / rowHeight);
}

}  // namespace

DropListPlacement PlaceDropList(const DropListRequest& request) {
    const RECT& box = request.box;
    const RECT& area = request.area;
    const int rowHeight = std::max(1, request.rowHeight);
    // An empty list still shows one (empty) row, and the caller's reach at least one row.
    const int rowsReached =
        std::max(1, RowsFitting(request.reach - (box.bottom - box.top), rowHeight));
    const int wanted = std::clamp(request.rowCount, 1, rowsReached);

    const int roomBelow = RowsFitting(area.bottom - box.bottom, rowHeight);
    const int roomAbove = RowsFitting(box.top - area.top, rowHeight);
    DropListPlacement placement;
    if (roomBelow >= wanted) {
        placement.visibleRows = wanted;
    } else if (roomAbove >= wanted) {
        placement.visibleRows = wanted;
        placement.above = true;
    } else {
        // Room for fewer rows either way: the side with more of it.
        placement.above = roomAbove > roomBelow;
        placement.visibleRows = std::max(1, placement.above ? roomAbove : roomBelow);
    }

    const int height = placement.visibleRows * rowHeight + 2 * kDropListFrame;
    RECT& rect = placement.rect;
    rect.top = placement.above ? box.top - height : box.bottom;
    // Not even one row fits on either side (a tiny window): as much of it as the area shows.
    rect.top = std::max(area.top, std::min(rect.top, area.bottom - height));
    rect.bottom = std::min(area.bottom, rect.top + height);

    const int width = std::min(box.right - box.left, area.right - area.left);
    rect.left = std::max(area.left, std::min(box.left, area.right - width));
    rect.right = rect.left + std::max(0, width);
    return placement;
}

}  // namespace platform
