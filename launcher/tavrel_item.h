// CTavrelItem: one entry of the menu (title, program, arguments and the program's icon) and the
// painting of its row.
#pragma once

#include <string>

#include "platform/graphics/gdi_classes.h"

class CTavrelItem final {
  public:
    CTavrelItem(int rowHeight, std::wstring entryTitle, std::wstring entryExecPath,
                std::wstring entryArgs, bool oddIndex);

    // Paints the row: background, outline, title and icon.
    virtual void Draw(CDC* dc, CRect rect, bool active, CFont* font, COLORREF activeBackground,
                      COLORREF oddBackground, COLORREF evenBackground, COLORREF textColor,
                      COLORREF activeTextColor, BYTE alignment);
    // Asks the shell for the icon of execPath at a size that suits `height`.
    void LoadEntryIcon();
    // Has LoadEntryIcon run when the row is next drawn: looking up every entry's icon before the
    // first paint would make a long list slow to open, for rows nobody may scroll to.
    void LoadEntryIconWhenDrawn() { iconPending = true; }
    // Starts the entry's program through the shell, without waiting for it.
    void Launch();

    int height;
    std::wstring title;
    std::wstring execPath;
    std::wstring args;
    UniqueIcon icon;
    int iconMargin = 0;
    int iconTop = 0;
    int iconWidth = 0;
    int iconHeight = 0;
    bool odd;
    bool iconPending = false;
};
