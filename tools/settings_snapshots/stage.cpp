#include "stage.h"

#include <cstdio>

#include "platform/backends/headless/headless_backend.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/message_pump.h"

namespace snapshots {

Stage::Stage(int height, bool withTree) : face_(GetSysColor(COLOR_BTNFACE)) {
    if (!host_.CreateEx(0, AfxRegisterWndClass(0, nullptr, face_), L"", WS_POPUP | WS_VISIBLE, 0, 0,
                        kScreenWidth, height, nullptr, nullptr)) {
        std::fprintf(stderr, "cannot create the window\n");
        return;
    }
    if (withTree && !tree_.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, kScreenWidth, height * 3 / 4),
                                  &host_, 1001)) {
        std::fprintf(stderr, "cannot create the tree\n");
        return;
    }
    ready_ = true;
}

Stage::~Stage() {
    if (tree_.m_hWnd != nullptr) tree_.DestroyWindow();
    if (host_.m_hWnd != nullptr) host_.DestroyWindow();
}

bool Stage::Save(const std::string& path) {
    platform::ProcessPendingMessages();
    if (platform::SaveWindowPng(host_.m_hWnd, path)) return true;
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
}

}  // namespace snapshots
