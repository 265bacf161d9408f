#include "launcher/tavrel_scroll.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Double to int without undefined behaviour: NaN gives 0, values beyond the range are clamped,
// the rest truncated toward zero.
int ClampToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

}  // namespace

void CTavrelScroll::Configure(std::int64_t position, std::int64_t contentHeight, int pageHeight,
                              CRect trackRect) {
    track = trackRect;
    if (track.Width() == 0) return;
    pos = position;
    total = contentHeight;
    page = pageHeight;
    const int trackHeight = track.Height();
    scale = trackHeight > 0 ? static_cast<double>(total) / trackHeight : 0.0;
    inset = track.Width() / 5;
}

int CTavrelScroll::MinimumThumbHeight() const {
    return std::min(track.Height(), std::max(track.Width(), track.Height() / 20));
}

CRect CTavrelScroll::ThumbRect() const {
    // Without height or content there is no proportion to show (and 1 / scale would not be a
    // number).
    if (track.Width() == 0 || track.Height() <= 0 || total <= 0 || scale <= 0.0) return CRect();
    const double pixelsPerContent = 1.0 / scale;
    CRect thumb(track.left + inset, ClampToInt(static_cast<double>(pos) * pixelsPerContent),
                track.right - inset,
                ClampToInt((static_cast<double>(pos) + page) * pixelsPerContent));
    const int minimum = MinimumThumbHeight();
    if (thumb.Height() < minimum && total > page) {
        // The thumb keeps its least height and travels the rest of the track from the list's
        // top to its end (measured from the client top, as the proportional thumb is).
        const std::int64_t scrollRange = total - page;
        const double share = static_cast<double>(std::clamp<std::int64_t>(pos, 0, scrollRange)) /
                             static_cast<double>(scrollRange);
        thumb.top = ClampToInt(share * (track.Height() - minimum));
        thumb.bottom = thumb.top + minimum;
    }
    return thumb;
}

void CTavrelScroll::Draw(CDC* dc, COLORREF trackColor, COLORREF thumbColor) {
    if (track.Width() == 0) return;
    CBrush trackBrush(trackColor);
    dc->FillRect(&track, &trackBrush);
    const CRect thumb = ThumbRect();
    if (thumb.IsRectEmpty()) return;
    CBrush thumbBrush(thumbColor);
    dc->FillRect(&thumb, &thumbBrush);
}

void CTavrelScroll::SetPos(std::int64_t position) { pos = position; }
