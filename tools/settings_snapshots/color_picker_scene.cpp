#include <cstdint>
#include <cstdio>
#include <iterator>
#include <utility>

#include "platform/controls/slider.h"
#include "platform/windows/message_pump.h"
#include "scenes.h"
#include "settings/color_item.h"
#include "stage.h"

namespace snapshots {
namespace {

constexpr std::size_t kEditedColor = 2;  // index in kColors
// What the user has moved the sliders to so far.
constexpr std::uint8_t kEditedRed = 200, kEditedGreen = 90, kEditedBlue = 30;

}  // namespace

bool DrawColorPicker(const std::string& path) {
    Stage stage(kHostHeight, true);
    if (!stage.Ready()) return false;
    CSPMobTree& tree = stage.Tree();
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
        return false;
    }
    tree.SetFocus();
    platform::ProcessPendingMessages();

    tree.SetSelection(edited);
    platform::ProcessPendingMessages();
    edited->BeginEdit(tree.ValueCell(tree.LaidOutRow(edited)));
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

    return stage.Save(path);
}

}  // namespace snapshots
