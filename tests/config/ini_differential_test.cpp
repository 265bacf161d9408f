// The reader against a plain transcription of its rules, on generated and mutated texts.
#include <gtest/gtest.h>

#include <random>

#include "config/ini_test_support.h"
#include "config/reference_ini_parser.h"

namespace {

std::vector<FlatSection> ParseBoth(const std::string& body, std::vector<FlatSection>* reference) {
    const std::string text = body + "\r\n";
    IniDocument fast;
    IniParse(fast, text);
    IniDocument plain;
    ReferenceIniParse(plain, text);
    *reference = Flatten(plain);
    return Flatten(fast);
}

// Texts made of the pieces that matter to the rules, in random order.
std::string RandomText(std::mt19937& random, int pieces) {
    static const std::vector<std::string> vocabulary = {
        "[",       "]",           "#",       "=",     "\r\n",
        "\n",      "\r",          " ",       "  ",    "\t",
        "a",       "key",         "Value",   "[s]",   "[sec tion]\r\n",
        "k=v\r\n", " x = y \r\n", "# c\r\n", "=\r\n", "[C# x]\r\n"};
    std::uniform_int_distribution<std::size_t> pick(0, vocabulary.size() - 1);
    std::string text;
    for (int index = 0; index < pieces; ++index) text += vocabulary[pick(random)];
    return text;
}

TEST(IniDifferentialTest, GeneratedTextsParseExactlyAsTheRulesSay) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 20000; ++round) {
        const std::string body = RandomText(random, 1 + round % 40);
        std::vector<FlatSection> expected;
        const std::vector<FlatSection> actual = ParseBoth(body, &expected);
        ASSERT_EQ(actual, expected) << "text: " << ::testing::PrintToString(body);
    }
}

TEST(IniDifferentialTest, MutatedRealFilesParseExactlyAsTheRulesSay) {
    const std::string seed =
        "; entries\r\n[Browser]\r\nExecPath=/usr/bin/firefox\r\nArgs=--new-window\r\n"
        "[ Terminal ]\r\n# comment\r\nExecPath = /usr/bin/xterm \r\nArgs=-e \"top\"\r\n"
        "[main_settings]\r\nuse_system_colors=true\r\nodd_item.r=300\r\n";
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(1, 127);
    for (int round = 0; round < 5000; ++round) {
        std::string body = seed;
        for (int edit = 0; edit < 1 + round % 8; ++edit) {
            std::uniform_int_distribution<std::size_t> at(0, body.size() - 1);
            switch (round % 3) {
                case 0:
                    body[at(random)] = static_cast<char>(byte(random));
                    break;
                case 1:
                    body.erase(at(random), 1);
                    break;
                default:
                    body.insert(at(random), 1, "[]#=\r\n "[round % 7]);
                    break;
            }
        }
        std::vector<FlatSection> expected;
        ASSERT_EQ(ParseBoth(body, &expected), expected) << ::testing::PrintToString(body);
    }
}

TEST(IniDifferentialTest, ALargeFileIsReadInOnePass) {
    // Two hundred thousand keys and no "#": a reader that searched to the end for every key
    // would take minutes here.
    std::string text = "[big]\r\n";
    for (int index = 0; index < 200000; ++index) {
        text += "key" + std::to_string(index) + "=" + std::to_string(index) + "\r\n";
    }
    IniDocument document;
    IniParse(document, text);
    ASSERT_EQ(document.sections.size(), 1u);
    EXPECT_EQ(document.sections[0]->keys.size(), 200000u);
    EXPECT_STREQ(IniGetValue(document, "big", "key199999"), "199999");
}

}  // namespace
