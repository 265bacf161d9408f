// CTavrelCD: the menu window that scrolls by moving the picture already on screen and painting
// only the rows that came into view.
#pragma once

#include "launcher/tavrel.h"

class CTavrelCD : public CTavrel {
  public:
    CTavrelCD() = default;
    ~CTavrelCD() override = default;

    void ScrollView(int delta) override;

  protected:
    DECLARE_MESSAGE_MAP()
};
