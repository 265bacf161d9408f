// Text that carries bytes which were not UTF-8 (a Latin-1 title) draws those bytes as the
// replacement character, exactly as undecodable text always looked.
#include <string>

#include "platform/base/text_encoding.h"
#include "text/text_canvas.h"

namespace text_tests {
namespace {

using EscapedBytesTest = TextCanvasTest;

TEST_F(EscapedBytesTest, DrawAndMeasureLikeTheReplacementCharacter) {
    const std::wstring escaped = platform::WideFromUtf8("caf\xE9 \xFF\xFEx");
    const std::wstring replaced = L"caf\uFFFD \uFFFD\uFFFDx";
    ASSERT_NE(escaped, replaced);
    EXPECT_EQ(Extent(escaped).cx, Extent(replaced).cx);
    const RECT area{10, 10, 400, 60};
    Draw(replaced, area, DT_SINGLELINE | DT_LEFT);
    const std::vector<platform::Pixel> expected = Snapshot();
    Clear(kWhite);
    Draw(escaped, area, DT_SINGLELINE | DT_LEFT);
    EXPECT_EQ(Snapshot(), expected);
}

}  // namespace
}  // namespace text_tests
