// A menu window inside a plain top-level window on the headless screen, with colours chosen so
// that every part of a row can be told apart by its pixels.
#pragma once

#include <string>
#include <vector>

#include "launcher/tavrel_cd.h"
#include "support/headless_fixture.h"

inline void PrintTo(const RECT& rect, std::ostream* out) {
    *out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom
         << ")";
}

constexpr COLORREF kOdd = RGB(250, 230, 200);
constexpr COLORREF kEven = RGB(210, 235, 255);
constexpr COLORREF kActive = RGB(0, 90, 200);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kActiveText = RGB(255, 255, 0);
constexpr COLORREF kSlider = RGB(20, 120, 20);
constexpr COLORREF kOutline = RGB(200, 200, 200);
constexpr COLORREF kActiveOutline = RGB(0, 0, 0);

// The menu's parent: counts the requests to close the launcher.
class MenuHost : public CWnd {
  public:
    int menuDone = 0;

  protected:
    LRESULT OnMenuDone(WPARAM, LPARAM) {
        ++menuDone;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

class MenuTest : public HeadlessTest {
  protected:
    void TearDown() override {
        menu.DestroyWindow();
        parent.DestroyWindow();
        HeadlessTest::TearDown();
    }

    // Creates the parent and the menu (client width x height) with `count` entries.
    void CreateMenu(int width, int height, int count, int itemHeight = 50, int sliderWidth = 10) {
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                    width, height, nullptr, nullptr));
        menu.itemHeight = itemHeight;
        menu.sliderWidth = sliderWidth;
        for (int index = 0; index < count; ++index) {
            menu.AddItem(L"Entry " + std::to_wstring(index), L"", L"");
        }
        ASSERT_TRUE(menu.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &parent, 1001));
        SetTestColors();
        menu.Invalidate();
        Pump();
    }

    void SetTestColors() {
        const auto triple = [](COLORREF color) {
            return ColorTriple{GetRValue(color), GetGValue(color), GetBValue(color)};
        };
        const ColorTriple odd = triple(kOdd), even = triple(kEven), active = triple(kActive),
                          text = triple(kText), activeText = triple(kActiveText),
                          slider = triple(kSlider);
        menu.SetColors(&odd, &even, &active, &text, &activeText, &slider);
    }

    COLORREF Pixel(int x, int y) const { return platform::ReadWindowPixel(menu.m_hWnd, x, y); }

    void Repaint() {
        menu.Invalidate();
        Pump();
    }

    MenuHost parent;
    CTavrelCD menu;
};
