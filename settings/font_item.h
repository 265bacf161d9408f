// CFontItem: a tree item whose value is a font (face name, height, bold, italic). Its value cell
// shows the name written in that font at the row's height; editing opens a font picker
// (CFontWnd) under or above the row, whose choices become the item's font when the edit ends.
#pragma once

#include <string>

#include "settings/font_wnd.h"
#include "settings/sp_mob_tree_item.h"

class CFontItem : public CSPMobTreeItem {
  public:
    explicit CFontItem(CSPMobTree* owner);
    ~CFontItem() override;

    void DrawValue(CDC* dc, const RECT& rect, int splitX) override;
    // True while the picker window exists.
    bool IsEditing() override;
    void EndEdit() override;
    void BeginEdit(const RECT& cell) override;

    // Stores the font; the row is not redrawn.
    void SetFont(const wchar_t* faceName, int height, bool isBold, bool isItalic);
    void GetFont(std::wstring& faceName, int& height, bool& isBold, bool& isItalic) const;

    CFontWnd picker;
    bool bold = true;
    bool italic = false;
    int size = 25;
    std::wstring name = L"Tahoma";

  private:
    // Destroys the picker, which reads its controls back, and takes its font.
    void ClosePicker();
};
