// The colour item and its picker: where the picker opens, sliders and number boxes following each
// other, the preview and the swatch as drawn on screen, the focus cycling of Up and Down, and
// number boxes holding what no colour component can be.
#include <string>

#include "platform/graphics/surface.h"
#include "settings/color_item.h"
#include "settings/tree_fixture.h"

namespace {

class ColorItemTest : public TreeTest {
  protected:
    void SetUp() override {
        TreeTest::SetUp();
        // Eight and a half rows: the ninth row is cut off by the bottom edge.
        CreateTree(CRect(0, 0, 480, 8 * Closed() + Closed() / 2));
        header = tree.AddItem(L"Colours", L"", -1, -1);
        for (int index = 1; index <= 12; ++index) {
            const std::wstring label = L"Colour " + std::to_wstring(index);
            tree.AddItem(label.c_str(), L"", CSPMobTree::kColorItem, header);
        }
        Repaint();
    }

    CColorItem& ItemInRow(int row) {
        return *static_cast<CColorItem*>(tree.rowItems[static_cast<std::size_t>(row)]);
    }
    // Taps the value cell of `row`: the item is selected and its picker opens.
    CColorItem& Open(int row) {
        CColorItem& item = ItemInRow(row);
        const CRect cell = tree.ValueCell(row);
        Tap(cell.left + 5, cell.top + 2);
        TakeEvents();
        return item;
    }
    // What the user does on the slider: the slider moves, then tells the picker.
    static void Slide(CColorWnd& picker, CSliderCtrl& slider, int position) {
        slider.SetPos(position);
        picker.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                           reinterpret_cast<LPARAM>(slider.m_hWnd));
        Pump();
    }
    static COLORREF PickerPixel(const CColorWnd& picker, int x, int y) {
        return platform::ReadWindowPixel(picker.m_hWnd, x, y);
    }
    // The rows of the preview strip, in the picker's client coordinates.
    static CRect Preview(const CColorWnd& picker) {
        CRect client;
        picker.GetClientRect(&client);
        const int q = client.Height() / 4;
        return {0, 3 * q + 1, client.right, 4 * q + 1};
    }
    // The swatch of `row` as the user sees it: a tenth of the value cell in from each side.
    CRect Swatch(int row) const {
        const CRect rect = tree.ItemRect(row);
        const CRect cell(rect.left + tree.splitX + 1, rect.top, rect.right, rect.bottom);
        return {cell.left + cell.Width() / 10, cell.top + cell.Height() / 10,
                cell.right - cell.Width() / 10, cell.bottom - cell.Height() / 10};
    }

    int header = 0;
};

TEST_F(ColorItemTest, PickerOpensBelowNearTheTopAboveNearTheBottomAndAboveTheRowBeforeACutRow) {
    const int pickerWidth = 2 * (480 / 3);
    const CRect topCell = tree.ValueCell(1);
    const int h = topCell.Height();
    CColorItem& top = Open(1);
    ASSERT_TRUE(top.IsEditing());
    EXPECT_EQ(top.picker.GetParent(), &tree);
    EXPECT_EQ(top.picker.GetDlgCtrlID(), 1000);
    EXPECT_EQ(top.picker.GetStyle() & (WS_CHILD | WS_VISIBLE | WS_BORDER),
              WS_CHILD | WS_VISIBLE | WS_BORDER);
    EXPECT_EQ(RectOnTree(top.picker), CRect(topCell.right - pickerWidth, topCell.bottom,
                                            topCell.right, topCell.bottom + 4 * h));
    EXPECT_EQ(CWnd::GetFocus(), &top.picker.redSlider) << "creation focuses the red slider";

    // Row 7 ends inside the tree, but four cells do not fit under it.
    const CRect lowCell = tree.ValueCell(7);
    ASSERT_LE(lowCell.bottom, Client().bottom);
    CColorItem& low = Open(7);
    EXPECT_FALSE(top.IsEditing()) << "a tap elsewhere ends the first edit";
    ASSERT_TRUE(low.IsEditing());
    EXPECT_EQ(RectOnTree(low.picker),
              CRect(lowCell.right - pickerWidth, lowCell.top - 4 * h, lowCell.right, lowCell.top));

    // Row 8 is cut off: the picker sits above row 7 instead, whatever the tree scrolls after.
    const CRect cutCell = tree.ValueCell(8);
    ASSERT_GT(cutCell.bottom, Client().bottom);
    CColorItem& cut = ItemInRow(8);
    cut.BeginEdit(cutCell);
    EXPECT_EQ(RectOnTree(cut.picker), CRect(cutCell.right - pickerWidth, cutCell.top - 5 * h,
                                            cutCell.right, cutCell.top - h));
    cut.EndEdit();
    low.EndEdit();
}

// Two thirds of the editor's window: on a handheld that is the screen; on a desktop monitor,
// where the editor is a phone-shaped window, the picker stays inside it.
TEST_F(ColorItemTest, PickerIsTwoThirdsOfTheEditorsWindowRoundedDownFlushWithTheCellsRightEnd) {
    tree.DestroyWindow();
    host.DestroyWindow();
    struct Case {
        platform::DisplayInfo display;
        int windowWidth;
        int pickerWidth;
    };
    // 500 and 710 are no multiples of 3: a third is taken whole before doubling.
    for (const Case& screen : {Case{{500, 640, 96}, 500, 332}, Case{{1920, 1080, 96}, 710, 472}}) {
        SCOPED_TRACE(screen.display.width);
        display = screen.display;
        platform::InstallHeadlessBackend(display);
        CSPMobTree::SetMetrics(1);
        CSPMobTree wide;
        CWnd parent;
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 605, 67,
                                    screen.windowWidth, 640, nullptr, nullptr));
        ASSERT_TRUE(wide.Create(WS_CHILD | WS_VISIBLE, CRect(2, 2, screen.windowWidth - 2, 600),
                                &parent, 1001));
        const int id = wide.AddItem(L"Header", L"", -1, -1);
        auto* item = static_cast<CColorItem*>(
            wide.FindItem(wide.AddItem(L"Colour", L"", CSPMobTree::kColorItem, id)));
        Pump();
        const CRect cell = wide.ValueCell(1);
        item->BeginEdit(cell);
        CRect onScreen;
        item->picker.GetWindowRect(&onScreen);
        POINT origin{0, 0};
        wide.ClientToScreen(&origin);
        EXPECT_EQ(onScreen.left - origin.x, cell.right - screen.pickerWidth);
        EXPECT_EQ(onScreen.right - origin.x, cell.right);
        EXPECT_GE(onScreen.left - origin.x, 0) << "the whole picker within the tree";
        item->EndEdit();
        wide.DestroyWindow();
        parent.DestroyWindow();
    }
}

TEST_F(ColorItemTest, SliderMovesSetTheirBoxAndRepaintThePreviewAndBoxesMoveTheirSlider) {
    ItemInRow(1).SetColor(10, 20, 200);
    CColorItem& item = Open(1);
    CColorWnd& picker = item.picker;
    EXPECT_EQ(picker.redBox.GetWindowText(), L"10");
    EXPECT_EQ(picker.greenSlider.GetPos(), 20);
    EXPECT_EQ(picker.blueSlider.GetRangeMax(), 255);
    const CRect preview = Preview(picker);
    const int midX = preview.Width() / 2;
    EXPECT_EQ(PickerPixel(picker, midX, preview.top), RGB(10, 20, 200));
    EXPECT_EQ(PickerPixel(picker, 0, preview.bottom - 1), RGB(10, 20, 200));
    EXPECT_EQ(PickerPixel(picker, preview.right - 1, preview.top), RGB(10, 20, 200));
    EXPECT_EQ(PickerPixel(picker, midX, preview.top - 1), Sys(COLOR_APPWORKSPACE))
        << "the strip starts one row below the third quarter";

    Slide(picker, picker.greenSlider, 128);
    EXPECT_EQ(picker.greenBox.GetWindowText(), L"128");
    EXPECT_EQ(picker.green, 128);
    EXPECT_EQ(picker.greenSlider.GetPos(), 128);
    EXPECT_EQ(PickerPixel(picker, midX, preview.top), RGB(10, 128, 200));
    EXPECT_EQ(PickerPixel(picker, midX, preview.bottom - 1), RGB(10, 128, 200));
    EXPECT_EQ(item.colour, RGB(10, 20, 200)) << "the item keeps its colour until the edit ends";

    // Typing 0 into the blue box after emptying it moves the blue slider to its left end.
    picker.blueBox.SetWindowText(L"");
    picker.blueBox.SetFocus();
    platform::input::Character(L'0');
    Pump();
    EXPECT_EQ(picker.blueBox.GetWindowText(), L"0");
    EXPECT_EQ(picker.blueSlider.GetPos(), 0);
    EXPECT_EQ(PickerPixel(picker, midX, preview.top), RGB(10, 128, 0));

    // A slider from elsewhere is not the picker's.
    CSliderCtrl stranger;
    ASSERT_TRUE(stranger.Create(WS_CHILD, CRect(0, 0, 10, 10), &picker, 1000));
    Slide(picker, stranger, 99);
    EXPECT_EQ(picker.red, 10);
    EXPECT_EQ(picker.redBox.GetWindowText(), L"10");
    stranger.DestroyWindow();
    item.EndEdit();
}

TEST_F(ColorItemTest, NumberBoxesGiveTheLowEightBitsOfNineDigitsAndKeepWhatWasTyped) {
    CColorItem& item = Open(2);
    CColorWnd& picker = item.picker;
    picker.redBox.SetWindowText(L"");
    picker.redBox.SetFocus();
    for (const wchar_t digit : std::wstring(L"300")) platform::input::Character(digit);
    Pump();
    EXPECT_EQ(picker.redBox.GetWindowText(), L"300");
    EXPECT_EQ(picker.red, 44);
    EXPECT_EQ(picker.redSlider.GetPos(), 44);
    EXPECT_EQ(PickerPixel(picker, 5, Preview(picker).top), RGB(44, 0, 0));

    // Only the first nine characters count: 256000000 is a multiple of 256.
    picker.greenBox.SetWindowText(L"2560000001");
    EXPECT_EQ(picker.green, 0);
    picker.greenBox.SetWindowText(L"999999999");
    EXPECT_EQ(picker.green, 999999999 & 0xFF);
    EXPECT_EQ(picker.greenSlider.GetPos(), 999999999 & 0xFF);
    // No number at all is 0.
    picker.blueBox.SetWindowText(L"77");
    picker.blueBox.SetWindowText(L"");
    EXPECT_EQ(picker.blue, 0);
    EXPECT_EQ(picker.blueSlider.GetPos(), 0);

    Press(VK_RETURN);  // the focus goes back to the tree...
    EXPECT_EQ(CWnd::GetFocus(), &tree);
    EXPECT_TRUE(item.IsEditing());
    Press(VK_RETURN);  // ...whose Enter ends the edit
    EXPECT_FALSE(item.IsEditing());
    EXPECT_EQ(item.colour, static_cast<COLORREF>(44 | ((999999999 & 0xFF) << 8)));
}

TEST_F(ColorItemTest, EndingAtPureRedStoresRedOnlyAndPaintsARedSwatchWithACyanFrame) {
    CColorItem& item = Open(3);
    CColorWnd& picker = item.picker;
    Slide(picker, picker.redSlider, 255);
    picker.greenBox.SetWindowText(L"0");
    picker.blueBox.SetWindowText(L"0");
    Press(VK_RETURN);
    Press(VK_RETURN);
    EXPECT_EQ(::GetWindow(tree.m_hWnd, GW_CHILD), nullptr) << "the picker window is gone";
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed " + std::to_string(item.id)});
    EXPECT_EQ(CWnd::GetFocus(), &tree);
    std::uint8_t red = 1, green = 1, blue = 1;
    EXPECT_EQ(item.GetColor(red, green, blue), 255U);
    EXPECT_EQ(red, 255);
    EXPECT_EQ(green, 0);
    EXPECT_EQ(blue, 0);

    Pump();
    const CRect swatch = Swatch(3);
    const COLORREF cyan = RGB(0, 255, 255);
    EXPECT_EQ(Pixel(swatch.left, swatch.top), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(swatch.right - 1, swatch.bottom - 1), RGB(255, 0, 0));
    EXPECT_NE(Pixel(swatch.left - 1, swatch.top + 3), RGB(255, 0, 0));
    EXPECT_NE(Pixel(swatch.right, swatch.top + 3), RGB(255, 0, 0));
    EXPECT_NE(Pixel(swatch.left + 3, swatch.bottom), RGB(255, 0, 0));
    // The frame's corners, two pixels inside the swatch and three from its far edges.
    EXPECT_EQ(Pixel(swatch.left + 2, swatch.top + 2), cyan);
    EXPECT_EQ(Pixel(swatch.right - 3, swatch.top + 2), cyan);
    EXPECT_EQ(Pixel(swatch.right - 3, swatch.bottom - 3), cyan);
    EXPECT_EQ(Pixel(swatch.left + 2, swatch.bottom - 3), cyan);
    // Both sides have frame pixels and none right of the frame.
    EXPECT_GT(CountColor(CRect(swatch.left + 2, swatch.top + 3, swatch.left + 3, swatch.bottom - 3),
                         cyan),
              0);
    EXPECT_GT(
        CountColor(CRect(swatch.right - 3, swatch.top + 3, swatch.right - 2, swatch.bottom - 3),
                   cyan),
        0);
    EXPECT_EQ(CountColor(CRect(swatch.right - 2, swatch.top, swatch.right, swatch.bottom), cyan),
              0);
    // The frame is dashed: its top side shows the swatch's red between its dashes.
    const CRect topSide(swatch.left + 2, swatch.top + 2, swatch.right - 3, swatch.top + 3);
    EXPECT_GT(CountColor(topSide, RGB(255, 0, 0)), 0);
    EXPECT_GT(CountColor(topSide, cyan), topSide.Width() / 2);
    EXPECT_EQ(Pixel(swatch.left + 1, swatch.top + 2), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(swatch.right - 2, swatch.bottom - 3), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(swatch.left + 3, swatch.top + 3), RGB(255, 0, 0));

    // Ending again without a picker still tells the parent and leaves the colour.
    item.EndEdit();
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed " + std::to_string(item.id)});
    EXPECT_EQ(item.colour, 255U);
}

TEST_F(ColorItemTest, SetColorRepaintsTheSwatchAndATopLevelColourItemShowsNone) {
    ItemInRow(4).SetColor(0, 0, 255);
    Pump();
    const CRect swatch = Swatch(4);
    EXPECT_EQ(Pixel(swatch.left + 5, swatch.top + 1), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(swatch.left + 5, swatch.top + 2), RGB(255, 255, 0));

    // A colour item added at the top level is a header: no swatch, whatever its colour.
    auto* top = static_cast<CColorItem*>(Add(L"Top", L"", CSPMobTree::kColorItem, -1));
    tree.scrollPos = tree.CountVisibleRows() - 1;
    top->SetColor(255, 0, 0);
    Repaint();
    ASSERT_EQ(RowIds(), std::vector<int>{top->id});
    const CRect row = tree.ItemRect(0);
    EXPECT_EQ(CountColor(row, RGB(255, 0, 0)), 0);
    EXPECT_EQ(CountColor(row, RGB(0, 255, 255)), 0);
}

TEST_F(ColorItemTest, UpAndDownCycleTheFocusAndTheCounterOutlivesTheEdit) {
    CColorItem& item = Open(1);
    CColorWnd& picker = item.picker;
    Press(VK_UP);
    EXPECT_EQ(CWnd::GetFocus(), &picker.blueBox) << "Up from the red slider wraps to the blue box";
    EXPECT_EQ(picker.focusedControl, 1005);
    const CWnd* const order[] = {&picker.redSlider, &picker.greenSlider, &picker.blueSlider,
                                 &picker.redBox,    &picker.greenBox,    &picker.blueBox};
    for (int step = 0; step < 6; ++step) {
        Press(VK_DOWN);
        EXPECT_EQ(CWnd::GetFocus(), order[step]) << "step " << step;
    }
    for (int step = 4; step >= 0; --step) {
        Press(VK_UP);
        EXPECT_EQ(CWnd::GetFocus(), order[step]) << "back to step " << step;
    }
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_DOWN);
    EXPECT_EQ(CWnd::GetFocus(), &picker.redBox);
    EXPECT_TRUE(TakeEvents().empty()) << "the keys stay with the picker";
    EXPECT_TRUE(item.selected);

    // A window inside one of the controls is no direct child: its keys are not the picker's.
    CWnd inner;
    ASSERT_TRUE(inner.Create(AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 4, 4),
                             &picker.redBox, 1));
    inner.SetFocus();
    Press(VK_DOWN);
    EXPECT_EQ(picker.focusedControl, 1003);
    EXPECT_EQ(CWnd::GetFocus(), &inner);
    inner.DestroyWindow();

    // Focus moved otherwise (as by a tap) leaves the counter where it was.
    picker.greenSlider.SetFocus();
    Press(VK_DOWN);
    EXPECT_EQ(CWnd::GetFocus(), &picker.greenBox) << "counted on from the red box";

    Press(VK_RETURN);
    Press(VK_RETURN);
    ASSERT_FALSE(item.IsEditing());
    Press(VK_RETURN);  // Enter on the tree opens the picker again
    ASSERT_TRUE(item.IsEditing());
    EXPECT_EQ(CWnd::GetFocus(), &picker.redSlider);
    Press(VK_DOWN);
    EXPECT_EQ(CWnd::GetFocus(), &picker.blueBox) << "the counter was at the green box";

    // With the focus outside the picker, its keys are the tree's.
    tree.SetFocus();
    Press(VK_DOWN);
    EXPECT_FALSE(item.IsEditing()) << "the tree moved on and ended the edit";
    EXPECT_EQ(picker.focusedControl, 1005);
}

TEST_F(ColorItemTest, ASecondBeginReopensOnTheEditedColourWithoutTellingTheParent) {
    CColorItem& item = Open(2);
    Slide(item.picker, item.picker.redSlider, 77);
    item.BeginEdit(tree.ValueCell(2));
    EXPECT_EQ(item.picker.redBox.GetWindowText(), L"77");
    EXPECT_EQ(item.colour, 0U);
    EXPECT_TRUE(TakeEvents().empty());
    int pickers = 0;
    for (HWND child = ::GetWindow(tree.m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ++pickers;
    }
    EXPECT_EQ(pickers, 1);
    item.EndEdit();
    EXPECT_EQ(item.colour, 77U);
}

TEST_F(ColorItemTest, PickersWithNoRoomOrTooMuchForABitmapPaintNothingAndStillWork) {
    CColorItem& item = ItemInRow(1);
    item.SetColor(1, 2, 3);
    // A cell without height gives a picker without height; one far higher than any bitmap may
    // be gives a picker whose off-screen bitmap cannot be made.
    const CRect cell = tree.ValueCell(1);
    for (const int height : {0, platform::Surface::kMaxSide / 4 + 1}) {
        item.BeginEdit(CRect(cell.left, cell.top, cell.right, cell.top + height));
        ASSERT_TRUE(item.IsEditing());
        item.picker.Invalidate();
        Pump();
        Slide(item.picker, item.picker.blueSlider, 30);
        EXPECT_EQ(item.picker.blueBox.GetWindowText(), L"30");
        item.EndEdit();
        EXPECT_EQ(item.colour, RGB(1, 2, 30));
        item.SetColor(1, 2, 3);
    }
    Repaint();
    EXPECT_EQ(Pixel(Swatch(1).left + 5, Swatch(1).top + 5), RGB(1, 2, 3));
}

}  // namespace
