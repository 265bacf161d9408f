// The font item and its picker: where the picker opens, what it shows of the item's font, the
// sample repainted as the controls change, Up and Down round the controls, the font taken back
// into the item when the edit ends, and input that makes no font.
#include <algorithm>
#include <cwctype>

#include "platform/graphics/gdi.h"
#include "settings/font_item.h"
#include "settings/tree_fixture.h"

namespace {

int CollectFamily(const LOGFONT* logFont, const TEXTMETRIC* /*metrics*/, DWORD /*type*/,
                  LPARAM data) {
    reinterpret_cast<std::vector<std::wstring>*>(data)->emplace_back(logFont->lfFaceName);
    return 1;
}

std::vector<std::wstring> Families() {
    std::vector<std::wstring> families;
    EnumFontFamilies(nullptr, nullptr, CollectFamily, reinterpret_cast<LPARAM>(&families));
    return families;
}

bool BeginsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

// Ink of dark text on the light workspace colour.
bool IsInk(COLORREF color) {
    return GetRValue(color) + GetGValue(color) + GetBValue(color) < 3 * 128;
}

struct Ink {
    int pixels = 0;
    int top = -1;
    int bottom = -1;  // exclusive
    int Height() const { return pixels == 0 ? 0 : bottom - top; }
};

class FontItemTest : public TreeTest {
  protected:
    void SetUp() override {
        TreeTest::SetUp();
        families = Families();
        ASSERT_FALSE(families.empty()) << "the tests need at least one installed font family";
    }

    // A tree `visibleRows` rows and `extra` pixels high with `rows` font items under a header.
    void CreateFontTree(int rows, int visibleRows = 12, int extra = 0) {
        CreateTree(CRect(0, 0, 480, visibleRows * Closed() + extra), CRect(0, 0, 480, 640));
        const int header = tree.AddItem(L"Fonts", L"", -1, -1);
        for (int index = 0; index < rows; ++index) {
            items.push_back(
                static_cast<CFontItem*>(Add(L"Font", L"", CSPMobTree::kFontItem, header)));
        }
        Repaint();
    }

    // Taps the value cell of `row`: selects the item and opens its picker.
    CFontItem* Open(int row) {
        const CRect cell = tree.ValueCell(row);
        Tap(cell.left + 5, cell.top + cell.Height() / 2);
        TakeEvents();
        auto* item = static_cast<CFontItem*>(tree.rowItems[static_cast<std::size_t>(row)]);
        return item;
    }

    POINT OnPicker(const CFontItem& item, int x, int y) const {
        POINT point{x, y};
        item.picker.ClientToScreen(&point);
        return point;
    }
    void TapChild(const CWnd& child) {
        CRect rect;
        child.GetWindowRect(&rect);
        const POINT centre{rect.left + rect.Width() / 2, rect.top + rect.Height() / 2};
        platform::input::StylusDown(centre);
        Pump();
        platform::input::StylusUp(centre);
        Pump();
    }
    void Type(const std::wstring& text) {
        for (const wchar_t character : text) platform::input::Character(character);
        Pump();
    }
    // Empties the focused size box with Backspace and types `text` into it.
    void TypeSize(CFontItem& item, const std::wstring& text) {
        item.picker.sizeBox.SetFocus();
        item.picker.sizeBox.SetSel(0, -1);
        Press(VK_BACK);
        Type(text);
    }

    // Ink in `area` of a window: the pixels `isInk` accepts, and the rows they span.
    template <typename IsInkPixel>
    static Ink InkIn(HWND window, const CRect& area, const IsInkPixel& isInk) {
        Ink ink;
        for (int y = area.top; y < area.bottom; ++y) {
            int inRow = 0;
            for (int x = area.left; x < area.right; ++x) {
                inRow += isInk(platform::ReadWindowPixel(window, x, y)) ? 1 : 0;
            }
            if (inRow == 0) continue;
            ink.pixels += inRow;
            if (ink.top < 0) ink.top = y;
            ink.bottom = y + 1;
        }
        return ink;
    }

    // The sample's ink inside the preview frame.
    static Ink SampleInk(const CFontItem& item) {
        const CRect& frame = item.picker.previewRect;
        return InkIn(item.picker.m_hWnd,
                     CRect(frame.left + 1, frame.top + 1, frame.right, frame.bottom), IsInk);
    }

    // The preview with its frame.
    static std::vector<COLORREF> PreviewPixels(const CFontItem& item) {
        const CRect& frame = item.picker.previewRect;
        std::vector<COLORREF> pixels;
        for (int y = frame.top; y <= frame.bottom; ++y) {
            for (int x = frame.left; x <= frame.right; ++x) {
                pixels.push_back(platform::ReadWindowPixel(item.picker.m_hWnd, x, y));
            }
        }
        return pixels;
    }

    // The ink of the name in the value cell of `row`: what differs from the row's background.
    Ink ValueInk(int row) const {
        const CRect rect = tree.ItemRect(row);
        const CRect cell = tree.ValueCell(row);
        const COLORREF background = Pixel(cell.right - 2, rect.top + 1);
        return InkIn(tree.m_hWnd, CRect(cell.left + 2, rect.top, cell.right - 1, rect.bottom),
                     [background](COLORREF pixel) { return pixel != background; });
    }

    // The first family that begins with `prefix`, or the first family when none does.
    std::wstring FirstFamilyFor(const std::wstring& prefix) const {
        for (const std::wstring& family : families) {
            if (BeginsWith(family, prefix)) return family;
        }
        return families.front();
    }

    std::vector<std::wstring> families;
    std::vector<CFontItem*> items;
};

TEST_F(FontItemTest, PickerOpensBelowNearTheTopAboveNearTheBottomAndAboveTheRowBeforeACutOffRow) {
    // Thirteen rows less five pixels: the picker of row 7 fits under it exactly (a cell is a
    // row less one pixel), and the last row laid out is cut off at the bottom.
    CreateFontTree(20, 13, -5);
    const int h = tree.ValueCell(0).Height();
    const int pickerWidth = 2 * (480 / 3);

    CFontItem* top = Open(1);
    ASSERT_TRUE(top->IsEditing());
    const CRect topCell = tree.ValueCell(1);
    EXPECT_EQ(RectOnTree(top->picker), CRect(topCell.right - pickerWidth, topCell.bottom,
                                             topCell.right, topCell.bottom + 5 * h));
    EXPECT_EQ(top->picker.GetDlgCtrlID(), 1000);
    EXPECT_EQ(top->picker.GetStyle() & (WS_CHILD | WS_VISIBLE | WS_BORDER),
              WS_CHILD | WS_VISIBLE | WS_BORDER);
    EXPECT_EQ(top->picker.GetParent(), &tree);

    // The last row that still leaves room for five rows under it opens below, the next above.
    const int client = Client().bottom;
    int lastBelow = 1;
    while (tree.ValueCell(lastBelow + 1).bottom + 5 * h <= client) ++lastBelow;
    ASSERT_EQ(lastBelow, 7);
    ASSERT_EQ(tree.ValueCell(lastBelow).bottom + 5 * h, client);
    Press(VK_RETURN);
    CFontItem* below = Open(lastBelow);
    EXPECT_EQ(RectOnTree(below->picker).top, tree.ValueCell(lastBelow).bottom);
    Press(VK_RETURN);
    CFontItem* above = Open(lastBelow + 1);
    const CRect aboveCell = tree.ValueCell(lastBelow + 1);
    EXPECT_EQ(RectOnTree(above->picker), CRect(aboveCell.right - pickerWidth, aboveCell.top - 5 * h,
                                               aboveCell.right, aboveCell.top));

    // The cut-off row: placed as if it were a cell height higher, by the row before it.
    const int cutRow = tree.rowCount - 1;
    ASSERT_GT(tree.ValueCell(cutRow).bottom, client);
    Press(VK_RETURN);
    auto* cut = static_cast<CFontItem*>(tree.rowItems[static_cast<std::size_t>(cutRow)]);
    cut->BeginEdit(tree.ValueCell(cutRow));
    const CRect cutCell = tree.ValueCell(cutRow);
    EXPECT_EQ(RectOnTree(cut->picker), CRect(cutCell.right - pickerWidth, cutCell.top - 6 * h,
                                             cutCell.right, cutCell.top - h));
    cut->EndEdit();
}

TEST_F(FontItemTest, NewItemIsTahomaBoldTwentyFiveAndAFaceNoFamilyHasLeavesTheFirstFamily) {
    CreateFontTree(2);
    std::wstring name;
    int size = 0;
    bool bold = false;
    bool italic = true;
    items[0]->GetFont(name, size, bold, italic);
    EXPECT_EQ(name, L"Tahoma");
    EXPECT_EQ(size, 25);
    EXPECT_TRUE(bold);
    EXPECT_FALSE(italic);

    items[1]->SetFont(L"No such family at all", 12, false, true);
    CFontItem* item = Open(2);
    CFontWnd& picker = item->picker;
    EXPECT_EQ(picker.fontList.GetCount(), static_cast<int>(families.size()));
    EXPECT_EQ(picker.fontList.GetCurSel(), 0);
    EXPECT_EQ(picker.sizeBox.GetWindowText(), L"12");
    EXPECT_EQ(picker.boldBox.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(picker.italicBox.GetCheck(), BST_CHECKED);
    EXPECT_EQ(picker.GetDlgItem(1000)->GetWindowText(), L"text size:");
    EXPECT_EQ(picker.boldBox.GetWindowText(), L"Bold");
    EXPECT_EQ(picker.italicBox.GetWindowText(), L"Italic");
    Press(VK_RETURN);
    EXPECT_FALSE(item->IsEditing());
    items[1]->GetFont(name, size, bold, italic);
    EXPECT_EQ(name, families.front()) << "ending untouched stores the first family";
    EXPECT_EQ(size, 12);
    EXPECT_FALSE(bold);
    EXPECT_TRUE(italic);

    // The new item's picker: its own font in the controls.
    item = Open(1);
    EXPECT_EQ(item->picker.fontList.GetWindowText(), FirstFamilyFor(L"Tahoma"));
    EXPECT_EQ(item->picker.sizeBox.GetWindowText(), L"25");
    EXPECT_EQ(item->picker.boldBox.GetCheck(), BST_CHECKED);
    EXPECT_EQ(item->picker.italicBox.GetCheck(), BST_UNCHECKED);
}

TEST_F(FontItemTest, ANamePrefixSelectsTheFirstFamilyThatBeginsWithIt) {
    CreateFontTree(1);
    // The last family less its last letter: a family far down the list.
    const std::wstring& last = families.back();
    const std::wstring prefix = last.substr(0, std::max<std::size_t>(1, last.size() - 1));
    for (const std::wstring& name : {std::wstring(L"Tah"), prefix}) {
        items[0]->SetFont(name.c_str(), 20, false, false);
        CFontItem* item = Open(1);
        EXPECT_EQ(item->picker.fontList.GetWindowText(), FirstFamilyFor(name));
        Press(VK_RETURN);
    }
}

TEST_F(FontItemTest, BoldTickedRepaintsTheSampleInBoldAndUntickedBackInRegular) {
    CreateFontTree(1);
    items[0]->SetFont(FirstFamilyFor(L"DejaVu Sans").c_str(), 30, false, false);
    CFontItem* item = Open(1);
    const Ink regular = SampleInk(*item);
    ASSERT_GT(regular.pixels, 0);
    TapChild(item->picker.boldBox);
    EXPECT_EQ(item->picker.boldBox.GetCheck(), BST_CHECKED);
    const Ink bold = SampleInk(*item);
    EXPECT_GT(bold.pixels, regular.pixels * 11 / 10) << "bold strokes carry more ink";
    TapChild(item->picker.boldBox);
    EXPECT_EQ(SampleInk(*item).pixels, regular.pixels);

    // Italic leans the same strokes: the sample is repainted, and back upright when unticked.
    const std::vector<COLORREF> upright = PreviewPixels(*item);
    TapChild(item->picker.italicBox);
    EXPECT_NE(PreviewPixels(*item), upright);
    TapChild(item->picker.italicBox);
    EXPECT_EQ(PreviewPixels(*item), upright);
}

TEST_F(FontItemTest, TypedSizeRepaintsTheSampleAtThatHeightWhileTheRowKeepsTheRowHeight) {
    CreateFontTree(1);
    items[0]->SetFont(FirstFamilyFor(L"DejaVu Sans").c_str(), 20, false, false);
    CFontItem* item = Open(1);
    Press(VK_RETURN);
    const Ink rowBefore = ValueInk(1);  // the row selected, as it is after the next edit
    ASSERT_GT(rowBefore.pixels, 0);
    Press(VK_RETURN);
    const Ink at20 = SampleInk(*item);
    TypeSize(*item, L"40");
    EXPECT_EQ(item->picker.sizeBox.GetWindowText(), L"40");
    const Ink at40 = SampleInk(*item);
    // "test frase" has no descenders: its ink is the ascender height, about 0.7 of the cell.
    EXPECT_GE(at40.Height(), 40 * 6 / 10);
    EXPECT_LE(at40.Height(), 40);
    EXPECT_NEAR(at40.Height(), 2 * at20.Height(), 2);
    EXPECT_GT(at40.pixels, 3 * at20.pixels);

    Press(VK_RETURN);
    EXPECT_EQ(item->size, 40);
    Pump();
    const Ink rowAfter = ValueInk(1);
    EXPECT_EQ(rowAfter.top, rowBefore.top);
    EXPECT_EQ(rowAfter.bottom, rowBefore.bottom);
    EXPECT_LT(rowAfter.Height(), H());
}

TEST_F(FontItemTest, UpAndDownCycleRoundTheControlsAndTheFocusIsKeptForTheNextEdit) {
    CreateFontTree(1);
    CFontItem* item = Open(1);
    CFontWnd& picker = item->picker;
    EXPECT_EQ(CWnd::GetFocus(), &picker.fontList);
    const int selection = picker.fontList.GetCurSel();
    Press(VK_DOWN);
    EXPECT_EQ(CWnd::GetFocus(), &picker.sizeBox);
    EXPECT_EQ(picker.fontList.GetCurSel(), selection) << "the closed list kept its selection";
    Press(VK_DOWN);
    EXPECT_EQ(CWnd::GetFocus(), &picker.boldBox);
    Press(VK_DOWN);
    EXPECT_EQ(CWnd::GetFocus(), &picker.italicBox);
    Press(VK_DOWN);
    EXPECT_EQ(CWnd::GetFocus(), &picker.fontList);
    Press(VK_UP);
    EXPECT_EQ(CWnd::GetFocus(), &picker.italicBox);
    Press(VK_UP);
    EXPECT_EQ(CWnd::GetFocus(), &picker.boldBox);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{}) << "the tree heard none of the keys";

    Press(VK_RETURN);
    EXPECT_EQ(CWnd::GetFocus(), &tree);
    Press(VK_RETURN);
    ASSERT_TRUE(item->IsEditing());
    EXPECT_EQ(CWnd::GetFocus(), &picker.boldBox) << "the picker opens where Up and Down left it";
    Press(VK_UP);
    EXPECT_EQ(CWnd::GetFocus(), &picker.sizeBox);
    Press(VK_UP);
    EXPECT_EQ(CWnd::GetFocus(), &picker.fontList);
}

TEST_F(FontItemTest, WithTheListDroppedUpAndDownMoveWithinTheList) {
    if (families.size() < 3) GTEST_SKIP() << "needs three font families";
    CreateFontTree(1);
    items[0]->SetFont(families[1].c_str(), 20, false, false);
    CFontItem* item = Open(1);
    CFontWnd& picker = item->picker;
    ASSERT_EQ(picker.fontList.GetCurSel(), 1);
    TapChild(picker.fontList);
    ASSERT_TRUE(picker.fontList.GetDroppedState());
    EXPECT_TRUE(picker.listOpen);
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_UP);
    EXPECT_EQ(CWnd::GetFocus(), &picker.fontList);
    const Ink before = SampleInk(*item);
    Press(VK_RETURN);  // chooses the highlighted entry; the edit goes on
    EXPECT_FALSE(picker.fontList.GetDroppedState());
    EXPECT_FALSE(picker.listOpen);
    ASSERT_TRUE(item->IsEditing());
    EXPECT_EQ(picker.fontList.GetCurSel(), 2);
    EXPECT_NE(SampleInk(*item).pixels, before.pixels) << "the sample shows the chosen family";
    Press(VK_DOWN);
    EXPECT_EQ(CWnd::GetFocus(), &picker.sizeBox) << "closed again, Down moves the focus";
    Press(VK_RETURN);
    EXPECT_EQ(item->name, families[2]);

    // An edit ended from code while the list is dropped: the next picker starts closed.
    Press(VK_RETURN);
    ASSERT_TRUE(item->IsEditing());
    Press(VK_UP);
    TapChild(picker.fontList);
    ASSERT_TRUE(picker.listOpen);
    item->EndEdit();
    item->BeginEdit(tree.ValueCell(1));
    EXPECT_FALSE(picker.fontList.GetDroppedState());
    Press(VK_DOWN);
    EXPECT_EQ(CWnd::GetFocus(), &picker.sizeBox);
}

TEST_F(FontItemTest, EndingTheEditTakesTheControlsIntoTheItemAndTellsTheTreeParent) {
    CreateFontTree(2);
    items[1]->SetFont(L"", 18, true, false);
    Repaint();
    EXPECT_EQ(ValueInk(2).pixels, 0) << "an empty name draws nothing in the row";
    CFontItem* item = Open(2);
    CFontWnd& picker = item->picker;
    picker.fontList.SetCurSel(static_cast<int>(families.size()) - 1);
    TapChild(picker.boldBox);
    TapChild(picker.italicBox);
    TypeSize(*item, L"33");
    TakeEvents();
    EXPECT_EQ(item->size, 18) << "the item's font changes only when the edit ends";
    Press(VK_RETURN);
    EXPECT_FALSE(item->IsEditing());
    EXPECT_EQ(::GetWindow(tree.m_hWnd, GW_CHILD), nullptr);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 3"});
    EXPECT_EQ(CWnd::GetFocus(), &tree);
    std::wstring name;
    int size = 0;
    bool bold = true;
    bool italic = false;
    item->GetFont(name, size, bold, italic);
    EXPECT_EQ(name, families.back());
    EXPECT_EQ(size, 33);
    EXPECT_FALSE(bold);
    EXPECT_TRUE(italic);
    Pump();
    EXPECT_GT(ValueInk(2).pixels, 0) << "the row shows the new name";

    // An item told to end an edit it never began still tells the parent and keeps its font.
    items[0]->EndEdit();
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"changed 2"});
    EXPECT_EQ(items[0]->name, L"Tahoma");
}

TEST_F(FontItemTest, SizesThatMakeNoFontAndAnEmptyFaceDrawNoSampleAndBreakNothing) {
    CreateFontTree(1);
    items[0]->SetFont(FirstFamilyFor(L"DejaVu Sans").c_str(), 20, false, false);
    CFontItem* item = Open(1);
    CFontWnd& picker = item->picker;

    TypeSize(*item, L"");
    EXPECT_EQ(picker.sizeBox.GetWindowText(), L"");
    EXPECT_GT(SampleInk(*item).pixels, 0) << "no number: the platform's default height";

    TypeSize(*item, L"999999999");
    EXPECT_EQ(SampleInk(*item).pixels, 0);
    const CRect& frame = picker.previewRect;
    EXPECT_EQ(platform::ReadWindowPixel(picker.m_hWnd, frame.left, frame.top), RGB(0, 0, 0));
    EXPECT_EQ(platform::ReadWindowPixel(picker.m_hWnd, frame.right, frame.bottom), RGB(0, 0, 0));

    // No family selected: the frame stays empty.
    TypeSize(*item, L"20");
    EXPECT_GT(SampleInk(*item).pixels, 0);
    picker.fontList.SetCurSel(-1);
    picker.Invalidate();
    Pump();
    EXPECT_EQ(SampleInk(*item).pixels, 0);
    picker.fontList.SetCurSel(0);

    TypeSize(*item, L"999999999");
    Press(VK_RETURN);
    EXPECT_EQ(item->size, 999999999);
    Repaint();
    EXPECT_GT(ValueInk(1).pixels, 0) << "the row draws the name at the row height still";

    // An empty size box gives size 0, which the platform reads as its default height.
    Press(VK_RETURN);
    ASSERT_TRUE(item->IsEditing());
    EXPECT_EQ(picker.sizeBox.GetWindowText(), L"999999999");
    TypeSize(*item, L"");
    Press(VK_RETURN);
    EXPECT_EQ(item->size, 0);

    // A picker with no width gets no bitmap: its paint is left undone, and nothing breaks.
    ASSERT_TRUE(item->picker.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 10, 200), &tree, 1000));
    item->picker.Invalidate();
    Pump();
    EXPECT_TRUE(item->IsEditing());
    item->EndEdit();
    EXPECT_FALSE(item->IsEditing());
}

}  // namespace
