#include "platform/windows/input.h"

#include "platform/windows/message_queue.h"

namespace platform::input {
namespace {

void Queue(InputKind kind, POINT point = {}, UINT key = 0) {
    InputEvent event;
    event.kind = kind;
    event.point = point;
    event.key = key;
    QueueInput(event);
}

}  // namespace

void StylusDown(POINT screenPoint) { Queue(InputKind::StylusDown, screenPoint); }
void StylusMove(POINT screenPoint) { Queue(InputKind::StylusMove, screenPoint); }
void StylusUp(POINT screenPoint) { Queue(InputKind::StylusUp, screenPoint); }
bool IsStylusDown() { return InputStylusDown(); }
void KeyDown(UINT virtualKey) { Queue(InputKind::KeyDown, {}, virtualKey); }
void KeyUp(UINT virtualKey) { Queue(InputKind::KeyUp, {}, virtualKey); }

void Character(wchar_t character) {
    InputEvent event;
    event.kind = InputKind::Character;
    event.character = character;
    QueueInput(event);
}

void ActivationChanged(HWND topLevel, bool active) {
    InputEvent event;
    event.kind = InputKind::Activation;
    event.window = topLevel;
    event.active = active;
    QueueInput(event);
}

void WindowResized(HWND topLevel, SIZE size) {
    InputEvent event;
    event.kind = InputKind::Resize;
    event.window = topLevel;
    event.size = size;
    QueueInput(event);
}

void DisplayChanged(const DisplayInfo& display) {
    InputEvent event;
    event.kind = InputKind::Display;
    event.display = display;
    QueueInput(event);
}

}  // namespace platform::input
