// EnumFontFamilies as a font picker uses it: every family once in a stable order, the callback's
// stop, a single family by name; and on machines with other fonts than this one's, set up through
// a private fontconfig configuration.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/graphics/font_families.h"
#include "platform/graphics/gdi.h"

namespace {

struct Calls {
    std::vector<std::wstring> names;
    int stopAt = 0;  // answer 0 on this call (counting from 1); 0: never
};

int Record(const LOGFONT* logFont, const TEXTMETRIC* /*metrics*/, DWORD /*type*/, LPARAM data) {
    auto* calls = reinterpret_cast<Calls*>(data);
    calls->names.emplace_back(logFont->lfFaceName);
    return static_cast<int>(calls->names.size()) == calls->stopAt ? 0 : 1;
}

std::wstring Folded(std::wstring name) {
    for (wchar_t& character : name)
        character = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(character)));
    return name;
}

class FontEnumerationTest : public ::testing::Test {
  protected:
    void SetUp() override { dc = CreateCompatibleDC(nullptr); }
    void TearDown() override { DeleteDC(dc); }

    Calls Enumerate(const wchar_t* family, int stopAt = 0, int* answer = nullptr) const {
        Calls calls;
        calls.stopAt = stopAt;
        const int result = EnumFontFamilies(dc, family, Record, reinterpret_cast<LPARAM>(&calls));
        if (answer != nullptr) *answer = result;
        return calls;
    }

    HDC dc = nullptr;
};

TEST_F(FontEnumerationTest, WithoutANameEachFamilyComesOnceSortedWithoutRegardToCase) {
    int answer = -1;
    const Calls all = Enumerate(nullptr, 0, &answer);
    EXPECT_EQ(answer, 1);
    ASSERT_GE(all.names.size(), 3u) << "fonts-dejavu-core has Sans, Sans Mono and Serif";
    EXPECT_EQ(std::count(all.names.begin(), all.names.end(), L"DejaVu Sans"), 1);
    EXPECT_EQ(std::count(all.names.begin(), all.names.end(), L"DejaVu Serif"), 1);
    for (std::size_t index = 1; index < all.names.size(); ++index) {
        EXPECT_LT(Folded(all.names[index - 1]), Folded(all.names[index])) << index;
    }
    EXPECT_EQ(Enumerate(nullptr).names, all.names) << "the same order every time";
    EXPECT_EQ(Enumerate(L"").names, all.names) << "an empty name is no name";
    EXPECT_EQ(EnumFontFamilies(dc, nullptr, nullptr, 0), 0);
}

TEST_F(FontEnumerationTest, TheCallbacksZeroStopsTheEnumeration) {
    const std::size_t count = Enumerate(nullptr).names.size();
    int answer = -1;
    EXPECT_EQ(Enumerate(nullptr, 1, &answer).names.size(), 1u);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(Enumerate(nullptr, 2, &answer).names.size(), 2u);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(Enumerate(nullptr, static_cast<int>(count), &answer).names.size(), count);
    EXPECT_EQ(answer, 0) << "the last answer is returned";
}

TEST_F(FontEnumerationTest, ANameGivesThatFamilyOnlyAndANameNoFamilyHasGivesNoCall) {
    EXPECT_EQ(Enumerate(L"DejaVu Sans").names, std::vector<std::wstring>{L"DejaVu Sans"});
    EXPECT_EQ(Enumerate(L"dejavu SANS").names, std::vector<std::wstring>{L"DejaVu Sans"})
        << "names compare without regard to case; the callback gets the family's own spelling";
    EXPECT_EQ(Enumerate(L"DejaVu Sans Mono").names, std::vector<std::wstring>{L"DejaVu Sans Mono"});
    int answer = -1;
    EXPECT_TRUE(Enumerate(L"DejaVu", 0, &answer).names.empty()) << "no prefix matches";
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(Enumerate(L"No Such Family Anywhere").names.empty());
    EXPECT_TRUE(Enumerate(L"DejaVu Sans ").names.empty());
}

// Makes fontconfig see only the given fonts, each renamed while scanned to the family given with
// it, until the object goes; the machine's own configuration comes back afterwards.
class PrivateFonts {
  public:
    explicit PrivateFonts(const std::vector<std::string>& families) {
        folder_ = std::filesystem::path(::testing::TempDir()) /
                  ("tavrel-fonts-" + std::to_string(::getpid()) + "-" + std::to_string(++count_));
        std::error_code error;
        std::filesystem::create_directories(folder_ / "fonts", error);
        std::string rules = "<?xml version=\"1.0\"?><fontconfig><cachedir>" +
                            (folder_ / "cache").string() + "</cachedir>";
        for (std::size_t index = 0; index < families.size(); ++index) {
            const std::filesystem::path file =
                folder_ / "fonts" / ("font" + std::to_string(index) + ".ttf");
            std::filesystem::create_symlink("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", file,
                                            error);
            rules += "<match target=\"scan\"><test name=\"file\"><string>" + file.string() +
                     "</string></test><edit name=\"family\" mode=\"assign\" binding=\"same\">"
                     "<string>" +
                     families[index] + "</string></edit></match>";
        }
        rules += "</fontconfig>";
        previous_ = FcConfigReference(nullptr);
        FcConfig* config = FcConfigCreate();
        const auto* text = reinterpret_cast<const FcChar8*>(rules.c_str());
        const std::string fonts = (folder_ / "fonts").string();
        ready_ = config != nullptr && FcConfigParseAndLoadFromMemory(config, text, FcTrue) &&
                 FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(fonts.c_str())) &&
                 FcConfigSetCurrent(config);
        if (config != nullptr) FcConfigDestroy(config);
    }
    ~PrivateFonts() {
        FcConfigSetCurrent(previous_);
        FcConfigDestroy(previous_);
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    PrivateFonts(const PrivateFonts&) = delete;
    PrivateFonts& operator=(const PrivateFonts&) = delete;

    bool ready_ = false;

  private:
    static inline int count_ = 0;
    std::filesystem::path folder_;
    FcConfig* previous_ = nullptr;
};

TEST_F(FontEnumerationTest, AMachineWithASingleFamilyGivesExactlyOneCall) {
    {
        PrivateFonts fonts({"DejaVu Sans"});
        ASSERT_TRUE(fonts.ready_);
        EXPECT_EQ(platform::InstalledFontFamilies(), std::vector<std::wstring>{L"DejaVu Sans"});
        EXPECT_EQ(Enumerate(nullptr).names, std::vector<std::wstring>{L"DejaVu Sans"});
        EXPECT_TRUE(Enumerate(L"DejaVu Serif").names.empty());
    }
    EXPECT_GE(Enumerate(nullptr).names.size(), 3u) << "the machine's fonts are back";
}

TEST_F(FontEnumerationTest, ManyFamiliesComeInOrderAndLongNamesAsTheirFaceNames) {
    // Two names that agree in their first 31 characters make one face name.
    const std::string longName = "A Family Name Longer Than Thirty-One Characters";
    PrivateFonts fonts({"beta", "Alpha", "gamma", "Beta", longName, longName + " Bold Too"});
    ASSERT_TRUE(fonts.ready_);
    const std::wstring face = L"A Family Name Longer Than Thirt";
    ASSERT_EQ(face.size(), static_cast<std::size_t>(LF_FACESIZE - 1));
    // Fontconfig takes names that differ only in case for one family: it comes once.
    const std::vector<std::wstring> names = Enumerate(nullptr).names;
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], face);
    EXPECT_EQ(names[1], L"Alpha");
    EXPECT_EQ(Folded(names[2]), L"beta");
    EXPECT_EQ(names[3], L"gamma");
    EXPECT_EQ(Enumerate(face.c_str()).names, std::vector<std::wstring>{face})
        << "the face name an enumeration gave finds its family again";
    EXPECT_EQ(Enumerate(L"a family name longer than thirty-one characters").names,
              std::vector<std::wstring>{face});
    EXPECT_EQ(Enumerate(L"BETA").names, std::vector<std::wstring>{names[2]});
}

}  // namespace
