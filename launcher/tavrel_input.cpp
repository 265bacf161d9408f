// The menu's input: a press highlights, a long enough tap starts the entry, a drag scrolls pixel
// by pixel within the list's ends, a quick drag glides on a 40-ms timer while slowing down, and
// the keys move the highlight, start it, or stop a glide.
#include <algorithm>

#include "launcher/tavrel.h"

namespace {

// Ticks between two changes of the glide's speed, by its magnitude.
int TicksPerStepFor(int speed, int current) {
    const int magnitude = speed < 0 ? -speed : speed;
    if (magnitude >= 9) return 1;
    if (magnitude >= 5) return 2;
    if (magnitude >= 1) return 1;
    return current;
}

}  // namespace

BOOL CTavrel::PreTranslateMessage(MSG* message) {
    if (message->message == WM_KEYDOWN) {
        if (HandleKey(static_cast<UINT>(message->wParam))) return TRUE;
    } else if (message->message == WM_KEYUP &&
               (message->wParam == VK_F1 || message->wParam == VK_F2)) {
        SendMenuDone();  // a soft key released closes the launcher; the key goes on as usual
    }
    return CWnd::PreTranslateMessage(message);
}

int CTavrel::HitTest(int y) const {
    const std::int64_t index =
        firstVisible + (static_cast<std::int64_t>(y) - firstOffset) / itemHeight;
    return index < 0 || index >= ItemCount() ? -1 : static_cast<int>(index);
}

void CTavrel::PullHighlightIntoView() {
    if (activeIndex > firstVisible && activeIndex < firstVisible + visibleCount - 1) return;
    activeIndex = firstVisible + (firstOffset != 0 ? 1 : 0);
    // Rows nearly as tall as the window may leave none wholly in view: then the highlight goes
    // to whichever of the top row and the next shows more of itself.
    CRect client;
    GetClientRect(&client);
    const std::int64_t nextTop = static_cast<std::int64_t>(firstOffset) + itemHeight;
    if (firstOffset != 0 && nextTop + itemHeight > client.Height() &&
        std::min<std::int64_t>(nextTop, client.Height()) >= client.Height() - nextTop) {
        activeIndex = firstVisible;
    }
    if (ItemCount() > 0) activeIndex = std::min(activeIndex, ItemCount() - 1);
}

bool CTavrel::MoveScrollPosition(std::int64_t step) {
    const std::int64_t from = ScrollPosition();
    // The keys can leave the list past its end (the last row above the bottom edge): from there
    // it may come back, but is never pulled back against the finger or the glide.
    const std::int64_t last = std::max(EndPosition(), from);
    const std::int64_t to = std::clamp(from + step, std::int64_t{0}, last);
    SetScrollPosition(to);
    return to != from + step;
}

void CTavrel::SendMenuDone() { ::SendMessage(::GetParent(m_hWnd), WM_MENU_DONE, 0, 0); }

void CTavrel::StartEntry(int index) {
    if (index >= 0 && index < ItemCount() && items[index]) items[index]->Launch();
    SendMenuDone();
}

void CTavrel::StopInertia() {
    KillTimer(kInertiaTimer);
    inertiaRunning = 0;
    PullHighlightIntoView();
    ScrollView(0);
}

void CTavrel::OnLButtonDown(UINT flags, CPoint point) {
    tickCount = 0;
    ticksPerStep = 1;
    if (inertiaRunning) {
        // The glide stops where it is; a new press neither moves the highlight nor repaints.
        KillTimer(kInertiaTimer);
        inertiaRunning = 0;
    }
    const int index = HitTest(point.y);
    if (index != -1) {
        activeIndex = index;
        ScrollView(0);
    }
    lastY = point.y;
    pendingDy = 0;
    SetCapture();
    pressTick = ::GetTickCount();
    pressSeen = true;
    if (inertiaEnabled) {
        trackStartTick = pressTick;
        trackDistance = 0;
    }
    CWnd::OnLButtonDown(flags, point);
}

void CTavrel::OnMouseMove(UINT flags, CPoint point) {
    pendingDy += point.y - lastY;
    lastY = point.y;
    if (pendingDy > dragThreshold || pendingDy < -dragThreshold) dragging = true;
    if (!dragging || !scrollable) {
        CWnd::OnMouseMove(flags, point);
        return;
    }
    if (inertiaEnabled) {
        if (pendingDy != 0 && trackUp != (pendingDy < 0)) {
            trackDistance = 0;
            trackUp = pendingDy < 0;
        }
        trackDistance += pendingDy;
    }
    const std::int64_t before = ScrollPosition();
    MoveScrollPosition(-pendingDy);
    pendingDy = 0;
    ScrollView(static_cast<int>(ScrollPosition() - before));
    CWnd::OnMouseMove(flags, point);
}

void CTavrel::OnLButtonUp(UINT flags, CPoint point) {
    // A release without a press seen here (it went to another window, or came first) is no tap.
    const bool pressedHere = pressSeen;
    pressSeen = false;
    if (!dragging) {
        // Let go outside the window, the press is cancelled: the row under the release point
        // is one the user cannot see.
        CRect client;
        GetClientRect(&client);
        if (pressedHere && client.PtInRect(point) &&
            ::GetTickCount() - pressTick > static_cast<DWORD>(launchHoldTime)) {
            const int index = HitTest(point.y);
            if (index != -1) {
                activeIndex = index;
                ScrollView(0);
                StartEntry(index);
            }
        }
    } else {
        if (inertiaEnabled) {
            pendingDy += point.y - lastY;
            if (trackUp == (pendingDy < 0) || pendingDy == 0) {
                trackDistance += pendingDy;
                const DWORD elapsed = ::GetTickCount() - trackStartTick;
                if (elapsed > 50) {
                    speed = static_cast<int>(static_cast<double>(trackDistance) /
                                             static_cast<double>(elapsed) * 40.0);
                    if (speed > 3 || speed < -3) {
                        inertiaRunning = 1;
                        ticksPerStep = 1;
                        SetTimer(kInertiaTimer, kInertiaInterval, nullptr);
                    } else {
                        speed = 0;
                    }
                }
            }
        }
        if (!inertiaRunning) {
            PullHighlightIntoView();
            ScrollView(0);  // show the highlight where it landed at once
        }
    }
    ReleaseCapture();
    dragging = false;
    pendingDy = 0;
    CWnd::OnLButtonUp(flags, point);
}

void CTavrel::OnTimer(UINT_PTR id) {
    if (id == kInertiaTimer) {
        ScrollBy(speed);
        tickCount += 1;
        if (tickCount == ticksPerStep) {
            speed += trackUp ? 1 : -1;
            ticksPerStep = TicksPerStepFor(speed, ticksPerStep);
            tickCount = 0;
        }
        if (speed == 0) StopInertia();
    }
    CWnd::OnTimer(id);
}

void CTavrel::ScrollBy(int d) {
    const std::int64_t before = ScrollPosition();
    // However far one tick goes, the glide stops exactly at the end it reaches.
    if (MoveScrollPosition(-static_cast<std::int64_t>(d))) {
        StopInertia();
        return;
    }
    ScrollView(static_cast<int>(ScrollPosition() - before));
}

bool CTavrel::HandleKey(UINT virtualKey) {
    if (inertiaRunning) {
        StopInertia();  // during a glide any key only stops it
        return true;
    }
    switch (virtualKey) {
        case VK_RETURN:
            if (activeIndex >= 0 && activeIndex < ItemCount()) StartEntry(activeIndex);
            return true;
        case VK_LEFT:
        case VK_RIGHT:
            return true;
        case VK_UP:
            if (::GetFocus() != m_hWnd) return false;
            if (activeIndex > 0) activeIndex -= 1;
            if (firstVisible > activeIndex) firstVisible -= 1;
            if (firstVisible == activeIndex && firstOffset < 0) firstOffset = 0;
            ScrollView(0);
            return true;
        case VK_DOWN: {
            if (::GetFocus() != m_hWnd) return false;
            if (activeIndex + 1 < ItemCount()) activeIndex += 1;
            CRect client;
            GetClientRect(&client);
            // The space from the top of the last counted row to the bottom edge.
            const std::int64_t room = client.Height() -
                                      static_cast<std::int64_t>(visibleCount - 1) * itemHeight -
                                      firstOffset;
            const int fits = room > itemHeight ? 1 : 0;
            if (firstVisible + visibleCount - 1 <= activeIndex - fits) firstVisible += 1;
            ScrollView(0);
            return true;
        }
        default:
            return false;
    }
}
