// The description panel as the user sees it: grey area, frame, and text wrapped at words inside
// the panel less 4 pixels on each side, line breaks kept, cut at the bottom.
#include <algorithm>
#include <string>
#include <vector>

#include "controls/control_host.h"
#include "platform/graphics/gdi.h"
#include "platform/graphics/gdi_objects.h"
#include "platform/graphics/system_colors.h"
#include "settings/about_frame.h"
#include "support/headless_fixture.h"

namespace {

constexpr int W = 300;
constexpr int H = 140;
constexpr COLORREF kWhite = RGB(255, 255, 255);

// "системная высота элемента", as the editor describes it.
const std::wstring kSentence =
    L"высота элемента списка в пикселях; при значении «да» берётся системная высота";

class AboutFrameTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(host.CreateHost(RECT{0, 0, 400, 400}));
        ASSERT_TRUE(
            panel.Create(WS_CHILD | WS_VISIBLE, CRect(20, 30, 20 + W, 30 + H), &host, 1002));
        Pump();
        measuring = CreateCompatibleDC(nullptr);  // a fresh context: the panel's font
        TEXTMETRIC metrics{};
        GetTextMetrics(measuring, &metrics);
        lineHeight = metrics.tmHeight;
    }
    void TearDown() override {
        DeleteDC(measuring);
        HeadlessTest::TearDown();
    }

    void Show(const std::wstring& text) {
        panel.SetText(text.c_str());
        panel.Invalidate(TRUE);
        Pump();
        pixels = platform::ReadWindowPixels(panel.m_hWnd);
    }
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * W + x)]; }
    // Bounding box of what differs from the panel's grey inside `area`; empty when nothing does.
    RECT InkBox(RECT area) const {
        RECT box{W, H, 0, 0};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (At(x, y) == GetSysColor(COLOR_APPWORKSPACE)) continue;
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
            }
        }
        return box.left < box.right ? box : RECT{};
    }
    RECT Inside() const { return {1, 1, W - 1, H - 1}; }
    RECT Line(int index) const {
        return {1, 4 + index * lineHeight, W - 1, std::min(H - 1, 4 + (index + 1) * lineHeight)};
    }
    int Extent(const std::wstring& text) const {
        SIZE size{};
        GetTextExtentPoint32(measuring, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    bool FrameIsWhole() const {
        const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
        for (int x = 0; x < W; ++x) {
            if (At(x, 0) != shadow || At(x, H - 1) != shadow) return false;
        }
        for (int y = 0; y < H; ++y) {
            if (At(0, y) != shadow || At(W - 1, y) != shadow) return false;
        }
        return true;
    }

    ControlHost host;
    CAboutFrame panel;
    HDC measuring = nullptr;
    int lineHeight = 0;
    std::vector<COLORREF> pixels;
};

TEST_F(AboutFrameTest, EmptyTextShowsOnlyTheGreyAreaAndItsFrame) {
    Show(L"");
    EXPECT_TRUE(FrameIsWhole());
    EXPECT_EQ(InkBox(Inside()).right, 0);
    EXPECT_EQ(At(1, 1), GetSysColor(COLOR_APPWORKSPACE));
    // SetText alone does not repaint; the caller's invalidation does.
    panel.SetText(L"текст");
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(panel.m_hWnd, 6, 6 + lineHeight / 2),
              GetSysColor(COLOR_APPWORKSPACE));
}

TEST_F(AboutFrameTest, ALongDescriptionWrapsAtWordsWithinThePanelLessEightPixels) {
    const std::wstring text = kSentence + L" " + kSentence;
    Show(text);
    EXPECT_TRUE(FrameIsWhole());
    const RECT all = InkBox(Inside());
    EXPECT_EQ(all.left, 4) << "lines start at the inset, on a fresh context's white background";
    EXPECT_EQ(all.top, 4);
    EXPECT_LE(all.right, W - 4);
    EXPECT_EQ(At(10, 4), kWhite) << "a fresh context paints an opaque white background";

    // Each line is as many whole words as fit in W - 8: its white box ends where those words end.
    std::vector<std::wstring> words;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(L' ', start), text.size());
        words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    std::size_t next = 0;
    int line = 0;
    for (; next < words.size() && 4 + (line + 1) * lineHeight <= H - 4; ++line) {
        std::wstring shown = words[next++];
        while (next < words.size() && Extent(shown + L" " + words[next]) <= W - 8)
            shown += L" " + words[next++];
        const RECT box = InkBox(Line(line));
        EXPECT_EQ(box.left, 4) << "line " << line;
        EXPECT_EQ(box.right, 4 + Extent(shown)) << "line " << line;
    }
    EXPECT_GE(line, 4) << "the two sentences take several lines";
}

TEST_F(AboutFrameTest, LineBreaksStartNewLinesAndTextIsCutAtTheBottom) {
    Show(L"автор\r\nгод\nсайт");
    for (int line = 0; line < 3; ++line) {
        const std::wstring words[] = {L"автор", L"год", L"сайт"};
        EXPECT_EQ(InkBox(Line(line)).right, 4 + Extent(words[line])) << "line " << line;
    }
    EXPECT_EQ(InkBox({1, 4 + 3 * lineHeight, W - 1, H - 1}).right, 0) << "no fourth line";

    // Far more text than fits: nothing is drawn in the bottom inset or over the frame.
    std::wstring many;
    for (int copy = 0; copy < 12; ++copy) many += kSentence + L"\r\n";
    Show(many);
    EXPECT_TRUE(FrameIsWhole());
    EXPECT_EQ(InkBox({1, H - 4, W - 1, H - 1}).right, 0);
    EXPECT_EQ(InkBox(Inside()).bottom, H - 4) << "the last visible line is cut, not left out";
}

TEST_F(AboutFrameTest, APanelWithoutRoomForItsBitmapLeavesThePaintUndone) {
    const int objects = platform::LiveGdiObjectCount();
    CAboutFrame empty;
    ASSERT_TRUE(empty.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, 1003));
    empty.SetText(L"текст");
    empty.Invalidate(TRUE);
    Pump();
    empty.DestroyWindow();
    Pump();
    EXPECT_EQ(platform::LiveGdiObjectCount(), objects);
}

}  // namespace
