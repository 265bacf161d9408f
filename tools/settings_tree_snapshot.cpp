// Draws the settings editor's property tree on the headless screen, filled as the editor fills it,
// with an edit box and a drop-down list open, and saves the picture as a PNG file:
//   settings_tree_snapshot docs/settings-tree.png
// The list is dropped through the combo box's own interface, so the picture shows it as soon as
// the combo box draws its list; run the program again to bring the picture up to date.
#include <cstdio>
#include <string>

#include "platform/backends/headless/headless_backend.h"
#include "platform/graphics/gdi_classes.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/message_pump.h"
#include "settings/combo_box_item.h"
#include "settings/edit_item.h"
#include "settings/sp_mob_tree.h"

namespace {

constexpr int kScreenWidth = 480;
constexpr int kScreenHeight = 800;
constexpr int kHostHeight = 760;  // room under the tree for a panel, as in the editor

struct Row {
    const wchar_t* label;
    int kind;
    int parent;  // the table row of the parent, 0 for none
    const wchar_t* value;
    bool disabled;
};

// The editor's options in the order it shows them; colour and font rows have no editor yet.
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

// The first laid-out row that shows `item`.
int RowOf(const CSPMobTree& tree, const CSPMobTreeItem* item) {
    for (int row = 0; row < tree.rowCount; ++row) {
        if (tree.rowItems[static_cast<std::size_t>(row)] == item) return row;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "settings-tree.png";
    platform::InstallHeadlessBackend(platform::DisplayInfo{kScreenWidth, kScreenHeight, 96});

    // The dialog's face colour around the tree, where the editor has its description panel.
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

    int ids[std::size(kRows) + 1] = {};
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
        }
    }
    tree.SetFocus();
    platform::ProcessPendingMessages();

    // The selected row with its text being edited, and the list of another row dropped down.
    CSPMobTreeItem* edited = tree.FindItem(ids[kEditedRow]);
    tree.SetSelection(edited);
    platform::ProcessPendingMessages();
    edited->BeginEdit(tree.ValueCell(RowOf(tree, edited)));
    auto* list = static_cast<CComboBoxItem*>(tree.FindItem(ids[kListRow]));
    list->BeginEdit(tree.ValueCell(RowOf(tree, list)));
    // The open list keeps the focus: losing it would close the list.
    list->editor->SetFocus();
    list->editor->ShowDropDown(TRUE);
    platform::ProcessPendingMessages();

    if (!platform::SaveWindowPng(host.m_hWnd, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    tree.DestroyWindow();
    host.DestroyWindow();
    return 0;
}
