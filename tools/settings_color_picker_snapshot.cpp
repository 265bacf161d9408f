// Draws the settings editor's property tree on the headless screen with a few colour rows, one of
// them being edited in its colour picker, and saves the picture as a PNG file:
//   settings_color_picker_snapshot docs/settings-color-picker.png
// The picker's sliders draw themselves, so run the program again when they change to bring the
// picture up to date.
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/backends/headless/headless_backend.h"
#include "platform/graphics/gdi_classes.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/message_pump.h"
#include "settings/color_item.h"
#include "settings/sp_mob_tree.h"

namespace {

constexpr int kScreenWidth = 480;
constexpr int kScreenHeight = 800;
constexpr int kHostHeight = 760;  // room under the tree for a panel, as in the editor

struct ColorRow {
    const wchar_t* label;
    std::uint8_t red, green, blue;
};

constexpr ColorRow kColors[] = {
    {L"нечетная позиция", 255, 255, 255},      {L"четная позиция", 230, 236, 245},
    {L"активный элемент", 10, 36, 106},        {L"цвет надписи", 0, 0, 0},
    {L"активный цвет надписи", 255, 255, 255}, {L"цвет ползунка", 128, 128, 128},
};
constexpr std::size_t kEditedColor = 2;  // index in kColors
// What the user has moved the sliders to so far.
constexpr std::uint8_t kEditedRed = 200, kEditedGreen = 90, kEditedBlue = 30;

int RowOf(const CSPMobTree& tree, const CSPMobTreeItem* item) {
    for (int row = 0; row < tree.rowCount; ++row) {
        if (tree.rowItems[static_cast<std::size_t>(row)] == item) return row;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "settings-color-picker.png";
    platform::InstallHeadlessBackend(platform::DisplayInfo{kScreenWidth, kScreenHeight, 96});

    const CBrush face(GetSysColor(COLOR_BTNFACE));
    CWnd host;
    if (!host.CreateEx(0, AfxRegisterWndClass(0, nullptr, face), L"", WS_POPUP | WS_VISIBLE, 0, 0,
                       kScreenWidth, kHostHeight, nullptr, nullptr)) {
        std::fprintf(stderr, "cannot create the window\n");
        return 1;
    }
    CSPMobTree tree;
    if (!tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, kScreenWidth, kHostHeight * 3 / 4), &host,
                     1001)) {
        std::fprintf(stderr, "cannot create the tree\n");
        return 1;
    }

    const int header = tree.AddItem(L"свойства", L"", -1, -1);
    const int system = tree.AddItem(L"системные цвета", L"нет", 2, header);
    CColorItem* edited = nullptr;
    for (std::size_t index = 0; index < std::size(kColors); ++index) {
        const ColorRow& row = kColors[index];
        auto* item = static_cast<CColorItem*>(
            tree.FindItem(tree.AddItem(row.label, L"", CSPMobTree::kColorItem, system)));
        item->SetColor(row.red, row.green, row.blue);
        if (index == kEditedColor) edited = item;
    }
    tree.AddItem(L"системный шрифт", L"нет", 2, header);
    if (edited == nullptr) {
        std::fprintf(stderr, "cannot add the colour rows\n");
        return 1;
    }
    tree.SetFocus();
    platform::ProcessPendingMessages();

    tree.SetSelection(edited);
    platform::ProcessPendingMessages();
    edited->BeginEdit(tree.ValueCell(RowOf(tree, edited)));
    CColorWnd& picker = edited->picker;
    // Moved as the user moves them: the slider first, then its message to the picker.
    const std::pair<CSliderCtrl*, std::uint8_t> moves[] = {{&picker.redSlider, kEditedRed},
                                                           {&picker.greenSlider, kEditedGreen},
                                                           {&picker.blueSlider, kEditedBlue}};
    for (const auto& [slider, position] : moves) {
        slider->SetPos(position);
        picker.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                           reinterpret_cast<LPARAM>(slider->m_hWnd));
    }
    platform::ProcessPendingMessages();

    if (!platform::SaveWindowPng(host.m_hWnd, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    tree.DestroyWindow();
    host.DestroyWindow();
    return 0;
}
