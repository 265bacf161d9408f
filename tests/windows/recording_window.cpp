#include "windows/recording_window.h"

#include "platform/windows/window_dc.h"

BEGIN_MESSAGE_MAP(RecordingWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_KEYDOWN()
ON_WM_ACTIVATE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_MESSAGE(WM_TEST_CUSTOM, OnCustom)
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
END_MESSAGE_MAP()

namespace {
std::string Point(CPoint point) { return std::to_string(point.x) + "," + std::to_string(point.y); }
}  // namespace

BOOL RecordingWnd::CreateChild(CWnd* parent, const RECT& rect, UINT id, DWORD extraStyle) {
    const wchar_t* className = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW);
    return Create(className, L"", WS_CHILD | extraStyle, rect, parent, id);
}

BOOL RecordingWnd::CreateTopLevel(const RECT& rect, DWORD style) {
    const wchar_t* className = AfxRegisterWndClass(0);
    return CreateEx(0, className, L"top", style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, nullptr, nullptr);
}

BOOL RecordingWnd::PreTranslateMessage(MSG* message) {
    if (message->message == WM_KEYDOWN) {
        Record("pretranslate " + std::to_string(message->wParam));
        return consumeKeys ? TRUE : FALSE;
    }
    return FALSE;
}

int RecordingWnd::OnCreate(LPCREATESTRUCT createStruct) {
    Record("create " + std::to_string(createStruct->cx) + "x" + std::to_string(createStruct->cy));
    if (CWnd::OnCreate(createStruct) == -1) return -1;
    return createResult;
}

void RecordingWnd::OnDestroy() {
    Record("destroy");
    CWnd::OnDestroy();
}

void RecordingWnd::OnPaint() {
    CPaintDC dc(this);
    Record("paint");
    if (paintWithColor) {
        RECT client{};
        GetClientRect(&client);
        dc.FillSolidRect(&client, color);
    }
}

void RecordingWnd::OnSize(UINT, int width, int height) {
    Record("size " + std::to_string(width) + "x" + std::to_string(height));
}

void RecordingWnd::OnLButtonDown(UINT, CPoint point) { Record("down " + Point(point)); }
void RecordingWnd::OnLButtonUp(UINT, CPoint point) { Record("up " + Point(point)); }
void RecordingWnd::OnMouseMove(UINT, CPoint point) { Record("move " + Point(point)); }
void RecordingWnd::OnTimer(UINT_PTR id) { Record("timer " + std::to_string(id)); }

void RecordingWnd::OnKeyDown(UINT key, UINT, UINT) { Record("key " + std::to_string(key)); }

void RecordingWnd::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    Record(state == WA_INACTIVE ? "inactive" : "active");
    CWnd::OnActivate(state, other, minimized);
}

void RecordingWnd::OnSetFocus(CWnd*) { Record("setfocus"); }
void RecordingWnd::OnKillFocus(CWnd*) { Record("killfocus"); }

LRESULT RecordingWnd::OnCaptureChanged(WPARAM, LPARAM lParam) {
    Record(lParam == 0 ? "capture lost" : "capture lost to another window");
    return 0;
}

LRESULT RecordingWnd::OnCustom(WPARAM wParam, LPARAM lParam) {
    Record("custom " + std::to_string(wParam) + " " + std::to_string(lParam));
    return static_cast<LRESULT>(wParam + lParam);
}
