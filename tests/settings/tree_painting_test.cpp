// What the tree shows: gutter, background and frame, header and property rows with their colours,
// labels, values and indents, expand boxes, and the scroll bar that comes and goes with the rows.
#include "settings/tree_fixture.h"

namespace {

class TreePaintingTest : public TreeTest {};

TEST_F(TreePaintingTest, AnEmptyTreeShowsGutterBackgroundGutterLineAndFrame) {
    CreateTree(CRect(10, 10, 310, 410));
    // Rows as high as a closed combo box, the rest of the metrics from that height.
    const int h = Closed();
    EXPECT_EQ(CSPMobTree::rowHeight, h);
    EXPECT_EQ(CSPMobTree::gutterWidth, h);
    EXPECT_EQ(CSPMobTree::minColumnWidth, h);
    EXPECT_EQ(CSPMobTree::splitterTolerance, h / 6);
    EXPECT_EQ(CSPMobTree::boxSize, h / 2 + 1);
    EXPECT_EQ(tree.splitX, (300 - h) / 2);
    EXPECT_EQ(tree.rowCapacity, 400 / h + 1);
    EXPECT_EQ(::GetWindow(tree.m_hWnd, GW_CHILD), nullptr) << "the probe is gone";
    const CRect client = Client();
    const int gutter = CSPMobTree::gutterWidth;
    EXPECT_EQ(Pixel(0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(client.right - 1, client.bottom - 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(client.right - 1, 200), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(150, client.bottom - 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(1, 200), Sys(COLOR_BTNFACE));
    EXPECT_EQ(Pixel(gutter - 1, 200), Sys(COLOR_BTNFACE));
    EXPECT_EQ(Pixel(gutter, 200), Sys(COLOR_BTNSHADOW)) << "the gutter's edge";
    EXPECT_EQ(Pixel(gutter + 1, 200), Sys(COLOR_APPWORKSPACE));
    EXPECT_EQ(Pixel(client.right - 2, client.bottom - 2), Sys(COLOR_APPWORKSPACE));
    EXPECT_EQ(tree.rowCount, 0);
    EXPECT_FALSE(HasScrollBarStyle());
    EXPECT_EQ(tree.nextId, 1);
}

TEST_F(TreePaintingTest, HeaderAndPropertyRowsShowTheirBackgroundsLinesLabelAndValue) {
    CreateTree(CRect(10, 10, 310, 410));
    Add(L"Header");
    Add(L"Name", L"Value", CSPMobTree::kTextItem, 1);
    Add(L"Name", L"", -1, 1);
    Repaint();
    const CRect header = tree.ItemRect(0);
    const CRect property = tree.ItemRect(1);
    const int line = property.left + tree.splitX;

    // Header: the face colour over the whole row, no column line, no value.
    EXPECT_EQ(Pixel(header.left, header.top), Sys(COLOR_BTNFACE));
    EXPECT_EQ(Pixel(line, header.top + 2), Sys(COLOR_BTNFACE));
    EXPECT_EQ(Pixel(header.right - 1, header.bottom - 1), Sys(COLOR_BTNFACE));
    EXPECT_EQ(FirstInk(line - 1, header.right, header.top, header.bottom, Sys(COLOR_BTNFACE)), -1);
    // The separator lies on the line between two rows and stops two pixels short of the right.
    EXPECT_EQ(Pixel(header.left, header.bottom), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(header.right - 2, header.bottom), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(header.right - 1, header.bottom), Sys(COLOR_APPWORKSPACE));

    // Property row: the workspace colour, the column line from the second line of the row to the
    // one before its last, the label left of it and the value 11 pixels right of it.
    const COLORREF workspace = Sys(COLOR_APPWORKSPACE);
    EXPECT_EQ(Pixel(property.left, property.top), workspace);
    EXPECT_EQ(Pixel(line, property.top), workspace);
    EXPECT_EQ(Pixel(line, property.top + 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(line, property.bottom - 2), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(line, property.bottom - 1), workspace);
    EXPECT_EQ(Pixel(property.right - 2, property.bottom), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(FirstInk(property.left, line, property.top, property.bottom, workspace),
              property.left + 10 + LeftBearing(L"Name"));
    EXPECT_EQ(FirstInk(line + 1, property.right, property.top, property.bottom, workspace),
              line + 11 + LeftBearing(L"Value"));
    // The label's text is vertically centred in the row.
    const int inkTop = [&] {
        for (int y = property.top; y < property.bottom; ++y) {
            if (FirstInk(property.left, line, y, y + 1, workspace) != -1) return y;
        }
        return -1;
    }();
    const int inkBottom = [&] {
        for (int y = property.bottom - 1; y >= property.top; --y) {
            if (FirstInk(property.left, line, y, y + 1, workspace) != -1) return y;
        }
        return -1;
    }();
    EXPECT_LE(std::abs((inkTop - property.top) - (property.bottom - 1 - inkBottom)), 4);

    // A plain property node draws its (empty) value like any other.
    const CRect plain = tree.ItemRect(2);
    EXPECT_EQ(Pixel(line, plain.top + 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(FirstInk(line + 1, plain.right, plain.top, plain.bottom, workspace), -1);
}

TEST_F(TreePaintingTest, HeadersAreBoldAndSpanTheRowWhilePropertyLabelsStopAtTheColumnLine) {
    CreateTree(CRect(10, 10, 310, 410));
    const std::wstring longText = L"A label far too long to fit in the label column at all";
    Add(longText.c_str());
    Add(longText.c_str(), L"", CSPMobTree::kTextItem, 1);
    Add(L"Header");
    Add(L"Header", L"", -1, 3);
    Repaint();
    const int line = tree.ItemRect(0).left + tree.splitX;

    const CRect header = tree.ItemRect(0);
    EXPECT_GT(LastInk(line, header.right, header.top, header.bottom, Sys(COLOR_BTNFACE)), line + 20)
        << "a header's label runs across the column line";
    const CRect property = tree.ItemRect(1);
    const COLORREF workspace = Sys(COLOR_APPWORKSPACE);
    EXPECT_LT(LastInk(property.left, property.right, property.top, property.bottom, workspace,
                      Sys(COLOR_BTNSHADOW)),
              line - 1)
        << "a property's label is cut where its rectangle ends, one pixel before the line";
    EXPECT_GT(LastInk(property.left, line, property.top, property.bottom, workspace), line - 10);

    // The same word in bold is wider.
    const CRect bold = tree.ItemRect(2);
    const CRect normal = tree.ItemRect(3);
    const int boldWidth = LastInk(bold.left, line, bold.top, bold.bottom, Sys(COLOR_BTNFACE)) -
                          FirstInk(bold.left, line, bold.top, bold.bottom, Sys(COLOR_BTNFACE));
    const int normalWidth = LastInk(normal.left, line, normal.top, normal.bottom, workspace) -
                            FirstInk(normal.left, line, normal.top, normal.bottom, workspace);
    EXPECT_GT(boldWidth, normalWidth);
    EXPECT_EQ(FirstInk(bold.left, line, bold.top, bold.bottom, Sys(COLOR_BTNFACE)),
              bold.left + 10 + LeftBearing(L"Header", true));
}

TEST_F(TreePaintingTest, ALabelColumnNarrowerThanTheIndentDrawsNoLabelAndTheValueFollowsTheLine) {
    CreateTree(CRect(10, 10, 310, 410));
    Add(L"Header");
    Add(L"Name", L"Value", CSPMobTree::kTextItem, 1);
    const CRect row = tree.ItemRect(1);
    const COLORREF workspace = Sys(COLOR_APPWORKSPACE);
    for (const int split : {11, 20, 40}) {
        tree.splitX = split;
        Repaint();
        const int labelInk = FirstInk(row.left, row.left + split, row.top, row.bottom, workspace);
        // The text rectangle runs from the indent (10) to split - 1: empty up to a split of 11.
        if (split <= 11) {
            EXPECT_EQ(labelInk, -1) << split;
        } else {
            EXPECT_NE(labelInk, -1) << split;
        }
        EXPECT_EQ(FirstInk(row.left + split + 1, row.right, row.top, row.bottom, workspace),
                  row.left + split + 11 + LeftBearing(L"Value"))
            << split;
    }
}

TEST_F(TreePaintingTest, LabelsAreIndentedTenPixelsPerLevelBelowTheHeadersOwn) {
    CreateTree(CRect(10, 10, 410, 410));
    tree.splitX = 300;
    const int header = tree.AddItem(L"Level", L"", -1, -1);
    const int child = tree.AddItem(L"Level", L"", -1, header);
    const int grandchild = tree.AddItem(L"Level", L"", -1, child);
    tree.AddItem(L"Level", L"", -1, grandchild);
    Repaint();
    const int bearing = LeftBearing(L"Level");
    const int left = tree.ItemRect(0).left;
    const int expected[] = {10 + LeftBearing(L"Level", true), 10 + bearing, 20 + bearing,
                            30 + bearing};
    for (int row = 0; row < 4; ++row) {
        const CRect rect = tree.ItemRect(row);
        const COLORREF background = row == 0 ? Sys(COLOR_BTNFACE) : Sys(COLOR_APPWORKSPACE);
        EXPECT_EQ(FirstInk(rect.left, rect.left + 200, rect.top, rect.bottom, background),
                  left + expected[row])
            << "row " << row;
        EXPECT_EQ(tree.GetItemDepth(tree.rowItems[row]), row + 1);
    }
}

TEST_F(TreePaintingTest, SelectedRowsAreHighlightedAndDisabledOnesGreyUnlessSelected) {
    CreateTree(CRect(10, 10, 310, 410));
    CSPMobTreeItem* header = Add(L"Header");
    CSPMobTreeItem* plain = Add(L"Plain", L"text", CSPMobTree::kTextItem, 1);
    CSPMobTreeItem* disabled = Add(L"Disabled", L"text", CSPMobTree::kTextItem, 1);
    disabled->disabled = true;
    Repaint();
    const auto rowHas = [this](int row, int colorIndex) {
        return CountColor(tree.ItemRect(row), Sys(colorIndex)) > 0;
    };
    EXPECT_TRUE(rowHas(1, COLOR_WINDOWTEXT));
    EXPECT_TRUE(rowHas(2, COLOR_GRAYTEXT));
    EXPECT_FALSE(rowHas(2, COLOR_WINDOWTEXT));
    EXPECT_FALSE(rowHas(2, COLOR_BTNHIGHLIGHT));

    header->selected = plain->selected = disabled->selected = true;
    Repaint();
    for (int row = 0; row < 3; ++row) {
        const CRect rect = tree.ItemRect(row);
        EXPECT_EQ(Pixel(rect.left, rect.top), Sys(COLOR_HIGHLIGHT)) << row;
        EXPECT_EQ(Pixel(rect.right - 1, rect.bottom - 1), Sys(COLOR_HIGHLIGHT)) << row;
        EXPECT_TRUE(rowHas(row, COLOR_BTNHIGHLIGHT)) << row;
        EXPECT_FALSE(rowHas(row, COLOR_GRAYTEXT)) << row;
    }
}

TEST_F(TreePaintingTest, ExpandBoxesShowOnlyForItemsWithChildrenWhoseRowIsOnScreen) {
    CreateTree(CRect(10, 10, 310, 410));
    const int first = tree.AddItem(L"Open", L"", -1, -1);
    const int child = tree.AddItem(L"Child", L"", -1, first);
    tree.AddItem(L"Grandchild", L"", -1, child);
    const int closed = tree.AddItem(L"Closed", L"", -1, -1);
    tree.AddItem(L"Hidden", L"", -1, closed);
    tree.AddItem(L"Leaf", L"", -1, -1);
    tree.FindItem(closed)->expanded = false;
    Repaint();
    EXPECT_EQ(RowIds(), (std::vector<int>{1, 2, 3, 4, 6})) << "a collapsed branch takes no rows";

    const int size = CSPMobTree::boxSize;
    const auto boxAt = [this](int row) { return tree.ExpandBox(row); };
    const auto hasBox = [&](int row) {
        return Pixel(boxAt(row).left, boxAt(row).top) == Sys(COLOR_BTNSHADOW);
    };
    EXPECT_TRUE(hasBox(0));
    EXPECT_TRUE(hasBox(1)) << "a child with children has its box in the same gutter";
    EXPECT_FALSE(hasBox(2));
    EXPECT_TRUE(hasBox(3));
    EXPECT_FALSE(hasBox(4));
    EXPECT_EQ(boxAt(0).Width(), size);

    // Expanded: the minus only; collapsed: the plus.
    const CRect open = boxAt(0);
    const int middleY = open.top + open.Height() / 2;
    const int middleX = open.left + open.Width() / 2;
    EXPECT_EQ(Pixel(open.left + 1, open.top + 1), Sys(COLOR_APPWORKSPACE));
    EXPECT_EQ(Pixel(open.right - 1, open.bottom - 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(open.left + 2, middleY), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(Pixel(open.right - 3, middleY), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(Pixel(open.right - 2, middleY), Sys(COLOR_APPWORKSPACE));
    EXPECT_EQ(Pixel(middleX, open.top + 2), Sys(COLOR_APPWORKSPACE));
    const CRect shut = boxAt(3);
    EXPECT_EQ(Pixel(shut.left + shut.Width() / 2, shut.top + 2), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(Pixel(shut.left + shut.Width() / 2, shut.bottom - 3), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(Pixel(shut.left + shut.Width() / 2, shut.bottom - 2), Sys(COLOR_APPWORKSPACE));

    // Scrolled by one row the first item's row is gone, and its box with it.
    tree.scrollPos = 1;
    Repaint();
    EXPECT_EQ(RowIds(), (std::vector<int>{2, 3, 4, 6}));
    EXPECT_TRUE(hasBox(0)) << "the child's own box";
    EXPECT_FALSE(hasBox(1));
    EXPECT_TRUE(hasBox(2));
}

TEST_F(TreePaintingTest, ARowThatStartsBelowTheBottomIsNotLaidOutAndOnePartlyInSetsTheScrollBar) {
    // Exactly three rows high: a fourth row starts one line below the client area.
    CreateTree(CRect(10, 10, 310, 10 + 3 * Closed()));
    Add(L"One");
    Add(L"Two");
    Add(L"Three");
    Repaint();
    EXPECT_EQ(tree.rowCount, 3);
    EXPECT_FALSE(tree.overflow);
    EXPECT_FALSE(HasScrollBarStyle());

    Add(L"Four");
    Repaint();
    EXPECT_EQ(tree.rowCount, 3) << "its top lies below the client area";
    EXPECT_TRUE(tree.overflow);
    EXPECT_TRUE(HasScrollBarStyle());

    // Five pixels more and the fourth row shows its first lines, drawn and clipped.
    tree.MoveWindow(10, 10, 300, 3 * H() + 5);
    Repaint();
    EXPECT_EQ(tree.rowCount, 4);
    EXPECT_EQ(tree.rowItems[3]->label, L"Four");
    EXPECT_TRUE(tree.overflow);
    EXPECT_EQ(Pixel(tree.ItemRect(3).left, 3 * H() + 1), Sys(COLOR_BTNFACE));
    EXPECT_EQ(Pixel(0, 3 * H() + 4), Sys(COLOR_BTNSHADOW)) << "the frame's bottom line";
    EXPECT_EQ(tree.rowItems.size(), static_cast<std::size_t>(tree.rowCapacity));
}

TEST_F(TreePaintingTest, TheScrollBarComesWithRowsBelowTheViewAndGoesWhenTheyFitAgain) {
    CreateTree(CRect(10, 10, 310, 10 + 5 * Closed() + 3));
    const int widthWithoutBar = Client().Width();
    AddRows(10);
    Repaint();
    EXPECT_TRUE(HasScrollBarStyle());
    EXPECT_TRUE(tree.scrollBarShown);
    EXPECT_LT(Client().Width(), widthWithoutBar);
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    tree.GetScrollInfo(SB_VERT, &info);
    EXPECT_EQ(info.nMax, 10);
    EXPECT_EQ(info.nPage, 5u);

    // Collapsed, the header alone fits: the next paint takes the bar away.
    tree.rootItems[0]->expanded = false;
    tree.UpdateScroll(false);
    Pump();
    EXPECT_FALSE(HasScrollBarStyle());
    EXPECT_EQ(Client().Width(), widthWithoutBar);

    // Scrolled down, the rows fitting again bring the scroll position back to the top.
    tree.rootItems[0]->expanded = true;
    tree.scrollPos = 3;
    tree.UpdateScroll(false);
    Pump();
    EXPECT_EQ(tree.scrollPos, 3);
    EXPECT_EQ(RowIds().front(), 4);
    tree.rootItems[0]->expanded = false;
    tree.UpdateScroll(false);
    Pump();
    EXPECT_EQ(tree.scrollPos, 0);
    EXPECT_EQ(RowIds(), std::vector<int>{1});
    EXPECT_FALSE(HasScrollBarStyle());
}

TEST_F(TreePaintingTest, AWindowTooNarrowForTheLabelColumnPutsTheColumnLineBackInTheMiddle) {
    CreateTree(CRect(0, 0, 300, 200));
    const int gutter = CSPMobTree::gutterWidth;
    EXPECT_EQ(tree.splitX, (300 - gutter) / 2);
    tree.splitX = 300 - gutter - 10;  // just fits
    tree.MoveWindow(0, 0, 300, 150);
    EXPECT_EQ(tree.splitX, 300 - gutter - 10);
    tree.MoveWindow(0, 0, 299, 150);
    EXPECT_EQ(tree.splitX, (299 - gutter) / 2);
    EXPECT_EQ(tree.rowCapacity, 150 / H() + 1);
    EXPECT_EQ(tree.rowCount, 0) << "a resize empties the row table until the next paint";
}

}  // namespace
