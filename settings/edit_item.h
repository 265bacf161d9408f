// CEditItem: a tree item whose value is free text, edited in an edit box laid over its value
// cell. There is no cancel: ending the edit always keeps what was typed.
#pragma once

#include <memory>

#include "platform/controls/edit.h"
#include "settings/sp_mob_tree_item.h"

class CEditItem : public CSPMobTreeItem {
  public:
    explicit CEditItem(CSPMobTree* owner);
    ~CEditItem() override;

    void EndEdit() override;
    void BeginEdit(const RECT& cell) override;

    // The in-place edit box while editing, null otherwise.
    std::unique_ptr<CEdit> editor;

  private:
    // Takes the editor's text into `value` and closes the editor.
    void CloseEditor();
};
