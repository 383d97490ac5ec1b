#include "ColorUtilsWeb.h"
#include "ColorTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace chromint {
namespace {

using test::Hex;

TEST(ColorUtilsWebTest, SnapColorTruncates) {
    struct Row {
        const char* name;
        TColor in;
        int step;
        TColor expected;
    };
    const Row rows[] = {
        {"#FEFEFE web-safe is #CCCCCC", ColorFromHex(0xFEFEFE), 51, ColorFromHex(0xCCCCCC)},
        {"#FEFEFE web-smart is #EEEEEE", ColorFromHex(0xFEFEFE), 17, ColorFromHex(0xEEEEEE)},
        {"50, 101, 254 go down", MakeRGB(50, 101, 254), 51, MakeRGB(0, 51, 204)},
        {"255 stays", MakeRGB(255, 255, 255), 51, MakeRGB(255, 255, 255)},
        {"16 goes to 0", MakeRGB(16, 17, 254), 17, MakeRGB(0, 17, 238)},
        {"top byte cleared", 0xFF336699, 51, 0x336699},
        {"#123456 web-safe", ColorFromHex(0x123456), 51, ColorFromHex(0x003333)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hex(SnapColor(row.in, row.step)), Hex(row.expected)) << row.name;
}

TEST(ColorUtilsWebTest, WebSafeAndWebSmart) {
    struct Row {
        std::uint32_t hex;
        bool safe, smart;
    };
    const Row rows[] = {{0x336699, true, true},  {0x112233, false, true},  {0x000000, true, true},
                        {0xFFFFFF, true, true},  {0xFEFEFE, false, false}, {0x330000, true, true},
                        {0x320000, false, false}};
    for (const Row& row : rows) {
        EXPECT_EQ(IsWebSafe(ColorFromHex(row.hex)), row.safe) << Hex(row.hex);
        EXPECT_EQ(IsWebSmart(ColorFromHex(row.hex)), row.smart) << Hex(row.hex);
    }
    int safe = 0, smart = 0;
    for (TColor c = 0; c <= 0xFFFFFF; ++c) {
        const bool isSafe = IsWebSafe(c);
        safe += isSafe;
        smart += IsWebSmart(c);
        if (isSafe) {
            ASSERT_TRUE(IsWebSmart(c)) << "a web-safe colour is web-smart: " << Hex(c);
        }
    }
    EXPECT_EQ(safe, 216);
    EXPECT_EQ(smart, 4096);
}

TEST(ColorUtilsWebTest, NameTableOrder) {
    const auto names = HTMLColorNames();
    ASSERT_EQ(names.size(), 147u);
    std::set<std::string_view> seen;
    std::string_view previous;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string_view name = names[i].name;
        EXPECT_TRUE(seen.insert(name).second) << "duplicate " << name;
        EXPECT_EQ(names[i].color >> 24, 0u) << name;
        for (char ch : name)
            EXPECT_TRUE(ch >= 'a' && ch <= 'z') << name;
        const auto grey = name.find("grey");
        if (grey != std::string_view::npos) {
            // Each grey spelling directly follows its gray spelling, with the same value.
            std::string gray(name);
            gray[grey + 2] = 'a';
            ASSERT_GT(i, 0u);
            EXPECT_EQ(names[i - 1].name, gray);
            EXPECT_EQ(names[i - 1].color, names[i].color) << name;
            continue;
        }
        EXPECT_LT(previous, name) << "alphabetical order";
        previous = name;
    }
}

TEST(ColorUtilsWebTest, NameValues) {
    const struct {
        const char* name;
        std::uint32_t hex;
    } rows[] = {{"aliceblue", 0xF0F8FF},  {"cornflowerblue", 0x6495ED}, {"darkgrey", 0xA9A9A9},
                {"goldenrod", 0xDAA520},  {"lightslategrey", 0x778899}, {"mediumpurple", 0x9370DB},
                {"olivedrab", 0x6B8E23},  {"rosybrown", 0xBC8F8F},      {"teal", 0x008080},
                {"yellowgreen", 0x9ACD32}};
    for (const auto& row : rows)
        EXPECT_EQ(Hex(HTMLNameToColor(row.name)), Hex(ColorFromHex(row.hex)));
}

TEST(ColorUtilsWebTest, ColorToHTMLName) {
    struct Row {
        std::uint32_t hex;
        bool fallback;
        const char* expected;
    };
    const Row rows[] = {
        {0x00FFFF, false, "aqua"}, {0xFF00FF, false, "fuchsia"},
        {0x808080, false, "gray"}, {0x2F4F4F, false, "darkslategray"},
        {0x123456, false, ""},     {0x123456, true, "#123456"},
        {0xFF0000, true, "red"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ColorToHTMLName(ColorFromHex(row.hex), row.fallback), row.expected)
            << Hex(row.hex);
    EXPECT_EQ(ColorToHTMLName(0xFF000000, false), "") << "all 32 bits are compared";
}

TEST(ColorUtilsWebTest, HTMLNameToColor) {
    struct Row {
        const char* text;
        TColor expected;
    };
    const Row rows[] = {
        {"DarkGrey", ColorFromHex(0xA9A9A9)},
        {"RED", ColorFromHex(0xFF0000)},
        {" red", clNone},
        {"red ", clNone},
        {"", clNone},
        {"cyan", ColorFromHex(0x00FFFF)},
        {"r\xC3\xA9"
         "d",
         clNone},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hex(HTMLNameToColor(row.text)), Hex(row.expected)) << row.text;
}

TEST(ColorUtilsWebTest, IsHexColorBody) {
    const struct {
        const char* text;
        bool expected;
    } rows[] = {{"f00", true},   {"FF0000", true}, {"aBc123", true}, {"ff000", false},
                {"#f00", false}, {"", false},      {"fg0", false},   {"1234567", false}};
    for (const auto& row : rows)
        EXPECT_EQ(IsHexColorBody(row.text), row.expected) << row.text;
}

} // namespace
} // namespace chromint
