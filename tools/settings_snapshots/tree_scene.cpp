#include <iterator>

#include "platform/windows/message_pump.h"
#include "scenes.h"
#include "settings/color_item.h"
#include "settings/combo_box_item.h"
#include "stage.h"

namespace snapshots {
namespace {

struct Row {
    const wchar_t* label;
    int kind;
    int parent;  // the table row of the parent, 0 for none
    const wchar_t* value;
    bool disabled;
};

// The editor's options in the order it shows them.
constexpr Row kRows[] = {
    {L"свойства", -1, 0, L"", false},
    {L"системные цвета", 2, 1, L"да", false},
    {L"нечетная позиция", 3, 2, L"", true},
    {L"четная позиция", 3, 2, L"", true},
    {L"активный элемент", 3, 2, L"", true},
    {L"цвет надписи", 3, 2, L"", true},
    {L"активный цвет надписи", 3, 2, L"", true},
    {L"цвет ползунка", 3, 2, L"", true},
    {L"системный шрифт", 2, 1, L"нет", false},
    {L"пользовательский шрифт", 4, 9, L"", false},
    {L"системная высота элемента", 2, 1, L"нет", false},
    {L"пользовательская высота элемента", 1, 11, L"96", false},
    {L"системное позиционирование", 2, 1, L"да", false},
    {L"x верхний левый", 1, 13, L"0", true},
    {L"y верхний левый", 1, 13, L"0", true},
    {L"x нижний правый", 1, 13, L"480", true},
    {L"y нижний правый", 1, 13, L"640", true},
    {L"позиция текста", 2, 1, L"влево", false},
    {L"использовать инерцию", 2, 1, L"да", false},
    {L"о программе", -1, 0, L"", false},
    {L"благодарности", -1, 0, L"", false},
};
constexpr int kEditedRow = 12;  // table rows, counting from 1
constexpr int kListRow = 18;

const wchar_t* const kYesNo[] = {L"да", L"нет"};
const wchar_t* const kPositions[] = {L"по центру", L"влево", L"вправо"};

}  // namespace

bool DrawTree(const std::string& path) {
    Stage stage(kHostHeight, true);
    if (!stage.Ready()) return false;
    CSPMobTree& tree = stage.Tree();
    int ids[std::size(kRows) + 1] = {};
    std::size_t colors = 0;
    for (std::size_t index = 0; index < std::size(kRows); ++index) {
        const Row& row = kRows[index];
        const int parent = row.parent == 0 ? -1 : ids[row.parent];
        ids[index + 1] = tree.AddItem(row.label, row.value, row.kind, parent);
        CSPMobTreeItem* item = tree.FindItem(ids[index + 1]);
        item->disabled = row.disabled;
        if (auto* list = dynamic_cast<CComboBoxItem*>(item)) {
            if (index + 1 == kListRow) {
                for (const wchar_t* choice : kPositions) list->AddChoice(choice);
            } else {
                for (const wchar_t* choice : kYesNo) list->AddChoice(choice);
            }
            list->SetCurrentChoice(row.value);
        } else if (auto* color = dynamic_cast<CColorItem*>(item);
                   color && colors < std::size(kColors)) {
            const ColorRow& value = kColors[colors++];
            color->SetColor(value.red, value.green, value.blue);
        }
    }
    tree.SetFocus();
    platform::ProcessPendingMessages();

    // The selected row with its text being edited, and the list of another row dropped down.
    CSPMobTreeItem* edited = tree.FindItem(ids[kEditedRow]);
    tree.SetSelection(edited);
    platform::ProcessPendingMessages();
    edited->BeginEdit(tree.ValueCell(tree.LaidOutRow(edited)));
    auto* list = static_cast<CComboBoxItem*>(tree.FindItem(ids[kListRow]));
    list->BeginEdit(tree.ValueCell(tree.LaidOutRow(list)));
    // The open list keeps the focus: losing it would close the list.
    list->editor->SetFocus();
    list->editor->ShowDropDown(TRUE);
    return stage.Save(path);
}

}  // namespace snapshots
