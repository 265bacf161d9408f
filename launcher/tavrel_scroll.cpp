#include "launcher/tavrel_scroll.h"

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

void CTavrelScroll::Draw(CDC* dc, COLORREF trackColor, COLORREF thumbColor) {
    if (track.Width() == 0) return;
    CBrush trackBrush(trackColor);
    dc->FillRect(&track, &trackBrush);
    // Without height or content there is no proportion to show (and 1 / scale would not be a
    // number).
    if (track.Height() <= 0 || total <= 0 || scale <= 0.0) return;
    const double pixelsPerContent = 1.0 / scale;
    const CRect thumb(track.left + inset, ClampToInt(static_cast<double>(pos) * pixelsPerContent),
                      track.right - inset,
                      ClampToInt((static_cast<double>(pos) + page) * pixelsPerContent));
    CBrush thumbBrush(thumbColor);
    dc->FillRect(&thumb, &thumbBrush);
}

void CTavrelScroll::SetPos(std::int64_t position) { pos = position; }
