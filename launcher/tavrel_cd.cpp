#include "launcher/tavrel_cd.h"

#include <algorithm>

#include "platform/windows/window_dc.h"

BEGIN_MESSAGE_MAP(CTavrelCD, CTavrel)
END_MESSAGE_MAP()

void CTavrelCD::ScrollView(int delta) {
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();
    const int height = client.Height();
    // Nothing of the old picture survives a step of a whole screen: paint it all.
    if (delta == 0 || delta >= height || delta <= -height) {
        CTavrel::ScrollView(delta);
        return;
    }

    CClientDC windowDC(this);
    CDC memoryDC;
    if (windowDC.GetSafeHdc() == nullptr || !memoryDC.CreateCompatibleDC(&windowDC)) return;
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(windowDC.GetSafeHdc(), width, height)) return;
    HBITMAP previousBitmap = memoryDC.SelectObject(&bitmap);

    memoryDC.BitBlt(0, 0, width, height, &windowDC, 0, delta, SRCCOPY);
    {
        const CRect uncovered =
            delta > 0 ? CRect(0, height - delta, width, height) : CRect(0, 0, width, -delta);
        CBrush background(evenColor);
        memoryDC.FillRect(&uncovered, &background);
    }
    // The rows that came into view. The range always reaches every row whose rectangle crosses
    // the uncovered strip: a step just short of a row height would otherwise leave one half
    // drawn.
    const int rowsMoved = delta / itemHeight;
    const int first =
        delta > 0 ? std::min(firstVisible - rowsMoved + visibleCount - 1, RowAt(height - delta + 1))
                  : firstVisible - 1;
    const int last = delta > 0 ? firstVisible + visibleCount
                               : std::max(firstVisible - rowsMoved + 1, RowAt(-delta - 2));
    for (int index = first; index <= last; ++index) DrawRow(&memoryDC, index);
    DrawSlider(&memoryDC);

    windowDC.BitBlt(0, 0, width, height, &memoryDC, 0, 0, SRCCOPY);
    memoryDC.SelectObject(previousBitmap);
}
