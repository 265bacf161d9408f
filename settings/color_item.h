// CColorItem: a tree item whose value is a colour, shown as a swatch in its value cell and edited
// in a colour picker that opens below (or above) the row. Ending the edit keeps the picker's
// colour.
#pragma once

#include <cstdint>

#include "settings/color_wnd.h"
#include "settings/sp_mob_tree_item.h"

class CColorItem : public CSPMobTreeItem {
  public:
    explicit CColorItem(CSPMobTree* owner);
    ~CColorItem() override;

    void DrawValue(CDC* dc, const RECT& rect, int splitX) override;
    bool IsEditing() override;
    void EndEdit() override;
    void BeginEdit(const RECT& cell) override;

    // Sets the colour and redraws the row.
    void SetColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    // The colour as red | green << 8 | blue << 16, also handed out by component.
    COLORREF GetColor(std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue) const;

    // The picker; it has a window only while the item is being edited.
    CColorWnd picker;
    COLORREF colour = 0;
};
