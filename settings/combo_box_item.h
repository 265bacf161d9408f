// CComboBoxItem: a tree item whose value is one of a fixed list of texts, chosen in a drop-down
// list laid over its value cell. Ending the edit keeps the entry selected in the list.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/combo_box.h"
#include "settings/sp_mob_tree_item.h"

class CComboBoxItem : public CSPMobTreeItem {
  public:
    explicit CComboBoxItem(CSPMobTree* owner);
    ~CComboBoxItem() override;

    void EndEdit() override;
    void BeginEdit(const RECT& cell) override;

    // Appends an entry to the list.
    void AddChoice(const wchar_t* text);
    // The entry the list selects when it opens (null: none); the value shown is not touched.
    void SetCurrentChoice(const wchar_t* text = nullptr);

    // The in-place drop-down list while editing, null otherwise.
    std::unique_ptr<CComboBox> editor;
    std::vector<std::wstring> choices;
    std::wstring currentChoice;

  private:
    // Takes the selected entry into `value` and `currentChoice` and closes the list.
    void CloseEditor();
};
