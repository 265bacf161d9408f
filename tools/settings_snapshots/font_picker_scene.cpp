#include "platform/windows/message_pump.h"
#include "scenes.h"
#include "settings/font_item.h"
#include "stage.h"

namespace snapshots {
namespace {

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

bool DrawFontPicker(const std::string& path) {
    Stage stage(kHostHeight, true);
    if (!stage.Ready()) return false;
    CSPMobTree& tree = stage.Tree();
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

    return stage.Save(path);
}

}  // namespace snapshots
