#include "ColorNotations.h"
#include "ColorTestSupport.h"
#include "TextUtils.h"

#include <gtest/gtest.h>

namespace chromint {
namespace {

using test::Hex;

TEST(ColorNotationsTest, ColorToTextEveryNotation) {
    const TColor red = ColorFromHex(0xFF0000);
    const TColor sample = ColorFromHex(0x123456);
    struct Row {
        int notation;
        const char* red;
        const char* sample;
    };
    const Row rows[] = {
        {0, "#FF0000", "#123456"},
        {1, "0x000000FF", "0x00563412"},
        {2, "0xFF0000", "0x123456"},
        {3, "$000000FF", "$00563412"},
        {4, "&H000000FF&", "&H00563412&"},
        {5, "#F00", "#033"},
        {6, "#F00", "#135"},
        {7, "255 0 0", "18 52 86"},
        {8, "RGB(255, 0, 0)", "RGB(18, 52, 86)"},
        {9, "RGB(100.00% 0.00% 0.00%)", "RGB(11.54% 33.33% 55.13%)"},
        {10, "0 255 255", "210 202 86"},
        {11, "HSV(0, 255, 255)", "HSV(210, 202, 86)"},
        {12, "0 255 255", "210 202 86"},
        {13, "HSB(0, 255, 255)", "HSB(210, 202, 86)"},
        {14, "0% 100% 100% 0%", "79% 40% 0% 66%"},
        {15, "CMYK(0%, 100%, 100%, 0%)", "CMYK(79%, 40%, 0%, 66%)"},
        {16, "R: 100% G: 0% B: 0%", "R: 12% G: 33% B: 55%"},
        {17, "R: 100.00% G: 0.00% B: 0.00%", "R: 11.54% G: 33.33% B: 55.13%"},
        {18, "#F00", "#135"},
        {-1, "#F00", "#135"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ColorToText(red, row.notation), row.red) << "notation " << row.notation;
        EXPECT_EQ(ColorToText(sample, row.notation), row.sample) << "notation " << row.notation;
    }
}

TEST(ColorNotationsTest, NoNegativeZeroInCMYK) {
    // k is kept in single precision, so the smallest component reduces to a tiny negative for
    // many colours; it must still print as 0%.
    for (TColor c = 0; c <= 0xFFFFFF; c += 101) {
        for (int notation : {14, 15}) {
            const std::string text = ColorToText(c, notation);
            ASSERT_EQ(text.find('-'), std::string::npos) << Hex(c) << " " << text;
        }
    }
    EXPECT_EQ(ColorToText(0x808080, 15), "CMYK(0%, 0%, 0%, 50%)");
}

TEST(ColorNotationsTest, TextToColor) {
    const TColor red = ColorFromHex(0xFF0000);
    struct Row {
        const char* text;
        int notation;
        TColor expected;
    };
    const Row rows[] = {
        {"#f00", 0, red},
        {"#F00", 0, red},
        {"#ff0000", 0, red},
        {"#123456", 0, ColorFromHex(0x123456)},
        {"#abc", 0, ColorFromHex(0xAABBCC)},
        {"#12345", 0, clNone},
        {"f00", 0, clNone},
        {"#ff000g", 0, clNone},
        {"", 0, clNone},
        {"#", 0, clNone},
        {"0x000000FF", 1, red},
        {"0X000000ff", 1, red},
        {"0xFF0000", 1, clNone},
        {"0x010000FF", 1, clNone},
        {"0xFF0000", 2, red},
        {"0x00FF0000", 2, clNone},
        {"$000000FF", 3, red},
        {"$0000FF", 3, red},
        {"$FF", 3, clNone},
        {"$FF0000FF", 3, clNone},
        {"$0000FF ", 3, clNone},
        {"&H000000FF&", 4, red},
        {"&h000000ff&", 4, red},
        {"&H000000FF", 4, red},
        {"&H0000FF", 4, red},
        {"&H000000FF#", 4, clNone},
        {"&H0000FF&", 4, clNone},
        {"#FF0000", 5, clNone},
        {"#FF0000", 99, clNone},
        {"#FF0000", -3, clNone},
        {"#\xC3\xA9\xC3\xA9\xC3", 0, clNone},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Hex(TextToColor(row.text, row.notation)), Hex(row.expected))
            << "\"" << row.text << "\" in notation " << row.notation;
        EXPECT_EQ(IsValidColorText(row.text, row.notation), row.expected != clNone) << row.text;
    }
}

TEST(ColorNotationsTest, CodeBoxText) {
    const TColor red = ColorFromHex(0xFF0000);
    struct Row {
        const char* text;
        TColor expected;
    };
    const Row rows[] = {
        {"f00", red},      {"F00", red},       {"#f00", red},
        {"red", red},      {"ff0000", red},    {"DarkGrey", ColorFromHex(0xA9A9A9)},
        {"ff000", clNone}, {"#12345", clNone}, {"#red", clNone},
        {" red", clNone},  {"", clNone},       {"bad", ColorFromHex(0xBBAADD)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hex(CodeBoxTextToColor(row.text)), Hex(row.expected)) << "\"" << row.text << "\"";
}

TEST(ColorNotationsTest, ParsersAreTotalOnArbitraryBytes) {
    // Short random byte strings, biased towards the characters the notations use, through
    // every parser: each gives a colour or clNone and never reads outside the text.
    static const char alphabet[] = "#$&0xXhH0123456789abcdefABCDEFgG \t\xC3\xA9\x00\xFF";
    std::uint32_t seed = 2463534242u;
    auto next = [&seed] {
        seed ^= seed << 13, seed ^= seed >> 17, seed ^= seed << 5;
        return seed;
    };
    for (int i = 0; i < 200000; ++i) {
        std::string text(next() % 13, '\0');
        for (char& ch : text)
            ch = alphabet[next() % (sizeof alphabet - 1)];
        for (int notation = -1; notation <= 18; ++notation) {
            const TColor c = TextToColor(text, notation);
            ASSERT_TRUE(c == clNone || c <= 0xFFFFFF) << Hex(c);
        }
        const TColor box = CodeBoxTextToColor(text);
        ASSERT_TRUE(box == clNone || box <= 0xFFFFFF);
    }
}

TEST(ColorNotationsTest, CodeNotationsRoundTrip) {
    for (TColor c = 0; c <= 0xFFFFFF; c += 37) {
        for (int notation = 0; notation <= 4; ++notation) {
            const std::string text = ColorToText(c, notation);
            ASSERT_EQ(TextToColor(text, notation), c) << text;
            ASSERT_EQ(TextToColor(AsciiLower(text), notation), c) << "lower case " << text;
        }
    }
}

} // namespace
} // namespace chromint
