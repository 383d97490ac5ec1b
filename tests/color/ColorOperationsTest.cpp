#include "ColorOperations.h"
#include "ColorTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace chromint {
namespace {

using test::Hex;

class ColorOperationsTest : public ::testing::Test {
protected:
    test::EngineStateGuard guard_;
};

TColor Grey(int g) {
    return MakeRGB(g, g, g);
}

TEST_F(ColorOperationsTest, Desaturate) {
    struct Row {
        const char* name;
        TColor in;
        int method;
        TColor expected;
    };
    const Row rows[] = {
        {"standard truncates", MakeRGB(255, 0, 1), DesaturateStandard, Grey(85)},
        {"standard white", 0xFFFFFF, DesaturateStandard, Grey(255)},
        {"NTSC blue", MakeRGB(0, 0, 255), DesaturateNTSC, Grey(29)},
        {"NTSC white", 0xFFFFFF, DesaturateNTSC, Grey(255)},
        {"infrared white", 0xFFFFFF, DesaturateInfrared, Grey(227)},
        {"infrared ignores blue, doubles green", MakeRGB(0, 100, 255), DesaturateInfrared,
         Grey(118)},
        {"red channel", MakeRGB(10, 20, 30), DesaturateRed, Grey(10)},
        {"green channel", MakeRGB(10, 20, 30), DesaturateGreen, Grey(20)},
        {"blue channel", MakeRGB(10, 20, 30), DesaturateBlue, Grey(30)},
        {"hybrid white", 0xFFFFFF, DesaturateHybrid, Grey(255)},
        {"hybrid truncates", MakeRGB(1, 1, 1), DesaturateHybrid, Grey(1)},
        {"hybrid mix", MakeRGB(100, 50, 200), DesaturateHybrid, Grey(72)},
        {"unknown method keeps the colour", 0xFF123456, 7, 0x123456},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hex(Desaturate(row.in, row.method)), Hex(row.expected)) << row.name;
}

TEST_F(ColorOperationsTest, InvertAndSwap) {
    EXPECT_EQ(InvertColor(0x000000), 0xFFFFFFu);
    EXPECT_EQ(InvertColor(ColorFromHex(0x336699)), ColorFromHex(0xCC9966));
    SetSystemColorResolver([](std::uint8_t index) -> TColor { return index == 15 ? 0xF0F0F0 : 0; });
    EXPECT_EQ(Hex(InvertColor(0xFF00000F)), Hex(0x0F0F0F)) << "button face resolved first";

    const TColor orange = MakeRGB(255, 128, 0);
    EXPECT_EQ(SwapRB(orange), MakeRGB(0, 128, 255));
    EXPECT_EQ(SwapRG(orange), MakeRGB(128, 255, 0));
    EXPECT_EQ(SwapGB(orange), MakeRGB(255, 0, 128));
    EXPECT_EQ(SwapRG(0xFF000001) >> 24, 0u) << "top byte cleared";
}

TEST_F(ColorOperationsTest, BlendPercent) {
    struct Row {
        const char* name;
        TColor c1, c2;
        int percent;
        TColor expected;
    };
    const Row rows[] = {
        {"0 gives colour 1", ColorFromHex(0x123456), 0xFFFFFF, 0, ColorFromHex(0x123456)},
        {"50: w 128 from 127.5 to even", 0x000000, 0xFFFFFF, 50, Grey(127)},
        {"90: w 230 from 229.5 to even", 0x000000, 0xFFFFFF, 90, Grey(229)},
        {"100 upward ends at 254", 0x000000, 0xFFFFFF, 100, Grey(254)},
        {"100 downward ends at 0", 0xFFFFFF, 0x000000, 100, Grey(0)},
        {"quotient floors towards minus infinity", Grey(10), Grey(9), 1, Grey(9)},
        {"above 100 counts as 100", 0x000000, 0xFFFFFF, 250, Grey(254)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hex(BlendPercent(row.c1, row.c2, row.percent)), Hex(row.expected)) << row.name;
}

TEST_F(ColorOperationsTest, BlendHSLLeavesTheEngineRangeAlone) {
    SetHSLRange(360, 100, 100);
    const TColor red = MakeRGB(255, 0, 0);
    const TColor blue = MakeRGB(0, 0, 255);
    EXPECT_EQ(Hex(BlendHSL(red, blue, 0, 4)), Hex(red));
    EXPECT_EQ(Hex(BlendHSL(red, blue, 4, 4)), Hex(MakeRGB(2, 0, 255))) << "hue 171 of 256";
    // Half way runs straight between hue numbers 0 and 171 of 256 and lands on green; the
    // short way round the circle would give magenta.
    EXPECT_EQ(Hex(BlendHSL(red, blue, 2, 4)), Hex(MakeRGB(2, 255, 0)));
    EXPECT_EQ(Hex(BlendHSL(red, blue, 1, 0)), Hex(red)) << "count 0 does not divide by zero";
    EXPECT_EQ(GetHSLRange(), (HSLRange{360, 100, 100}));
}

TEST_F(ColorOperationsTest, LinearAndGradient) {
    EXPECT_EQ(BlendLinear(0x000000, 0xFFFFFF, 0.5), Grey(128)) << "127.5 to even";
    EXPECT_EQ(BlendLinear(0x000000, 0xFFFFFF, 2), Grey(255)) << "pinned";
    EXPECT_TRUE(Gradient(0, 0xFFFFFF, 0).empty());
    EXPECT_EQ(Gradient(0, 0xFFFFFF, 1), (TColorArray{0, Grey(128), Grey(255)}));
    for (std::uint16_t n : {2, 9, 10, 254, 1000}) {
        const TColorArray g = Gradient(ColorFromHex(0x102030), ColorFromHex(0xF0E0D0), n);
        ASSERT_EQ(g.size(), n + 2u);
        EXPECT_EQ(g.front(), ColorFromHex(0x102030)) << n;
        EXPECT_EQ(g.back(), ColorFromHex(0xF0E0D0)) << n;
    }
}

TEST_F(ColorOperationsTest, NearestColor) {
    const TColor palette[] = {Grey(0), Grey(100), Grey(120), Grey(255)};
    EXPECT_EQ(NearestColor(Grey(110), palette, 3), Grey(100)) << "tie goes to the lower index";
    EXPECT_EQ(NearestColor(Grey(111), palette, 3), Grey(120));
    EXPECT_EQ(NearestColor(Grey(250), palette, 2), Grey(120)) << "only up to the last index";
    EXPECT_EQ(NearestColor(Grey(250), palette, 99), Grey(255)) << "last index past the end";
    EXPECT_EQ(NearestColor(Grey(250), palette, -1), clNone);
    EXPECT_EQ(NearestColor(Grey(250), std::span<const TColor>(), 0), clNone);
}

TEST_F(ColorOperationsTest, RandomColours) {
    GlobalRandom().Seed(42);
    const TColor first = RandomRGB();
    GlobalRandom().Seed(42);
    EXPECT_EQ(RandomRGB(), first) << "a seeded source repeats";

    std::set<TColor> distinct;
    for (int i = 0; i < 1000; ++i) {
        const TColor c = RandomRGB();
        ASSERT_LE(c, 0xFFFFFFu);
        distinct.insert(c);
    }
    EXPECT_GT(distinct.size(), 990u);

    EXPECT_TRUE(RandomColorsNear(0, 0).empty());
    const TColor base = MakeRGB(200, 0, 255);
    for (TColor c : RandomColorsNear(base, 500)) {
        EXPECT_GE(GetRValue(c), 100);
        EXPECT_LE(GetRValue(c), 227);
        EXPECT_LE(GetGValue(c), 127);
        EXPECT_GE(GetBValue(c), 127);
        EXPECT_LE(GetBValue(c), 254);
    }
    RandomSource source(7);
    for (int i = 0; i < 1000; ++i)
        ASSERT_LT(source.Next(3), 3u);
    EXPECT_EQ(source.Next(0), 0u);
}

TEST_F(ColorOperationsTest, Sepia) {
    struct Row {
        const char* name;
        TColor in;
        int depth, intensity;
        TColor expected;
    };
    const Row rows[] = {
        {"red 30/20", MakeRGB(255, 0, 0), 30, 20, MakeRGB(136, 106, 56)},
        {"white keeps red and green", 0xFFFFFF, 77, 20, MakeRGB(255, 255, 235)},
        {"black clamps blue at 0", 0x000000, 0, 100, 0x000000},
        {"depth 100 saturates red from grey 55", Grey(55), 100, 0, MakeRGB(255, 155, 55)},
        {"no depth and no intensity is the plain grey", MakeRGB(255, 0, 0), 0, 0, Grey(76)},
        {"depth keeps its low 7 bits", Grey(50), 128 + 10, 0, MakeRGB(70, 60, 50)},
        {"intensity is one byte", Grey(50), 0, 256 + 10, MakeRGB(50, 50, 40)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hex(Sepia(row.in, row.depth, row.intensity)), Hex(row.expected)) << row.name;
}

TEST_F(ColorOperationsTest, MixOpacity) {
    struct Row {
        const char* name;
        TColor c1, c2;
        int a;
        TColor expected;
    };
    const Row rows[] = {
        {"percent", 0xFFFFFF, 0x000000, 50, Grey(128)},
        {"per mille from 100 up", 0xFFFFFF, 0x000000, 100, Grey(26)},
        {"0 is colour 2", 0xFFFFFF, ColorFromHex(0x123456), 0, ColorFromHex(0x123456)},
        {"1000 is colour 1", ColorFromHex(0x123456), 0xFFFFFF, 1000, ColorFromHex(0x123456)},
        {"75 over black", ColorFromHex(0xC0C0C0), 0x000000, 75, Grey(144)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hex(MixOpacity(row.c1, row.c2, row.a)), Hex(row.expected)) << row.name;
}

} // namespace
} // namespace chromint
