// Draws the settings editor's property tree on the headless screen with the font picker open on
// its font row, and saves the picture as a PNG file:
//   settings_font_picker_snapshot docs/settings-font-picker.png
// The picker shows the families installed where it runs; run it again to bring the picture up to
// date.
#include <cstdio>
#include <string>

#include "platform/backends/headless/headless_backend.h"
#include "platform/graphics/gdi_classes.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/message_pump.h"
#include "settings/combo_box_item.h"
#include "settings/font_item.h"
#include "settings/sp_mob_tree.h"

namespace {

constexpr int kScreenWidth = 480;
constexpr int kScreenHeight = 800;
constexpr int kHostHeight = 760;  // room under the tree for a panel, as in the editor

struct Row {
    const wchar_t* label;
    int kind;
    const wchar_t* value;
};

// The editor's rows around its font option, all under one header.
constexpr Row kRows[] = {
    {L"системные цвета", CSPMobTree::kListItem, L"да"},
    {L"системный шрифт", CSPMobTree::kListItem, L"нет"},
    {L"пользовательский шрифт", CSPMobTree::kFontItem, L""},
    {L"системная высота элемента", CSPMobTree::kListItem, L"нет"},
    {L"пользовательская высота элемента", CSPMobTree::kTextItem, L"96"},
    {L"системное позиционирование", CSPMobTree::kListItem, L"да"},
    {L"позиция текста", CSPMobTree::kListItem, L"влево"},
    {L"использовать инерцию", CSPMobTree::kListItem, L"да"},
};

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "settings-font-picker.png";
    platform::InstallHeadlessBackend(platform::DisplayInfo{kScreenWidth, kScreenHeight, 96});

    const CBrush face(GetSysColor(COLOR_BTNFACE));
    CWnd host;
    if (!host.CreateEx(0, AfxRegisterWndClass(0, nullptr, face), L"", WS_POPUP | WS_VISIBLE, 0, 0,
                       kScreenWidth, kHostHeight, nullptr, nullptr)) {
        std::fprintf(stderr, "cannot create the window\n");
        return 1;
    }
    CSPMobTree tree;
    // The editor gives the tree the upper three quarters of its client area.
    if (!tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, kScreenWidth, kHostHeight * 3 / 4), &host,
                     1001)) {
        std::fprintf(stderr, "cannot create the tree\n");
        return 1;
    }
    const int header = tree.AddItem(L"свойства", L"", -1, -1);
    CFontItem* fontItem = nullptr;
    for (const Row& row : kRows) {
        CSPMobTreeItem* item = tree.FindItem(tree.AddItem(row.label, row.value, row.kind, header));
        if (auto* font = dynamic_cast<CFontItem*>(item)) {
            font->SetFont(L"DejaVu Sans", 28, true, false);
            fontItem = font;
        }
    }
    tree.SetFocus();
    platform::ProcessPendingMessages();

    // The font row selected with its picker open, as a tap on its value cell leaves it.
    tree.SetSelection(fontItem);
    platform::ProcessPendingMessages();
    fontItem->BeginEdit(tree.ValueCell(tree.LaidOutRow(fontItem)));
    platform::ProcessPendingMessages();

    if (!platform::SaveWindowPng(host.m_hWnd, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    tree.DestroyWindow();
    host.DestroyWindow();
    return 0;
}
