#include "ColorUtils.h"
#include "ColorTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace chromint {
namespace {

using test::Hex;

class ColorUtilsTest : public ::testing::Test {
protected:
    void SetUp() override { test::UseStartupScales(); }
    test::EngineStateGuard guard_;
};

TEST_F(ColorUtilsTest, RGBToHSLWithStartupRange) {
    struct Row {
        const char* name;
        RGBTriple rgb;
        HSLInt expected;
    };
    const Row rows[] = {
        {"black", {0, 0, 0}, {0, 0, 0}},
        {"white", {255, 255, 255}, {0, 0, 100}},
        {"grey has hue 0", {128, 128, 128}, {0, 0, 50}},
        {"pure red", {255, 0, 0}, {0, 100, 50}},
        {"red 255,0,1 rounds up to 360", {255, 0, 1}, {360, 100, 50}},
        {"green", {0, 255, 0}, {120, 100, 50}},
        {"blue", {0, 0, 255}, {240, 100, 50}},
        {"red and green tie: red wins", {255, 255, 0}, {60, 100, 50}},
        {"green and blue tie: green wins", {0, 255, 255}, {180, 100, 50}},
        {"#336699", {0x33, 0x66, 0x99}, {210, 50, 40}},
        {"light: s from the 2-max-min branch", {255, 200, 200}, {0, 100, 89}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(RGBToHSL(row.rgb.r, row.rgb.g, row.rgb.b), row.expected) << row.name;
    }
}

TEST_F(ColorUtilsTest, HSLToRGBClampsAndRoundsHalfToEven) {
    struct Row {
        const char* name;
        HSLInt hsl;
        RGBTriple expected;
    };
    const Row rows[] = {
        {"hue 400 clamps to 360, same as 0", {400, 100, 50}, {255, 0, 0}},
        {"hue 0", {0, 100, 50}, {255, 0, 0}},
        {"negative values clamp to 0", {-5, -5, -5}, {0, 0, 0}},
        {"grey 127.5 rounds to even 128", {0, 0, 50}, {128, 128, 128}},
        {"lightness above range is white", {10, 100, 300}, {255, 255, 255}},
        {"hue 120", {120, 100, 50}, {0, 255, 0}},
        {"hue 210 s50 l40", {210, 50, 40}, {51, 102, 153}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HSLToRGB(row.hsl.h, row.hsl.s, row.hsl.l), row.expected) << row.name;
    }
    EXPECT_EQ(HueToColor(120), MakeRGB(0, 255, 0));
    EXPECT_EQ(HSLToColor(240, 100, 50), MakeRGB(0, 0, 255));
}

TEST_F(ColorUtilsTest, SetHSLRangeIgnoresNonPositiveMaxima) {
    const int invalid[][3] = {{0, 100, 100}, {360, 0, 100}, {360, 100, -1}, {-1, -1, -1}};
    for (const auto& r : invalid) {
        SetHSLRange(r[0], r[1], r[2]);
        EXPECT_EQ(GetHSLRange(), (HSLRange{360, 100, 100})) << r[0] << "," << r[1] << "," << r[2];
    }
    SetHSLRange(239, 240, 240);
    EXPECT_EQ(GetHSLRange(), (HSLRange{239, 240, 240}));
}

TEST_F(ColorUtilsTest, HSLFloatRoundTripsEveryColour) {
    int mismatches = 0;
    for (TColor c = 0; c <= 0xFFFFFF; ++c) {
        const RGBTriple rgb = SplitRGB(c);
        const HSLFloat hsl = RGBToHSLFloat(rgb.r, rgb.g, rgb.b);
        ASSERT_GE(hsl.h, 0.0);
        ASSERT_LT(hsl.h, 1.0);
        if (HSLFloatToRGB(hsl.h, hsl.s, hsl.l) != rgb && ++mismatches < 5)
            ADD_FAILURE() << "no round trip for " << Hex(c);
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(ColorUtilsTest, HSLFloatToRGBWrapsHueAndSurvivesNaN) {
    EXPECT_EQ(HSLFloatToRGB(-0.5, 1, 0.5), HSLFloatToRGB(0.5, 1, 0.5));
    EXPECT_EQ(HSLFloatToRGB(1.5, 1, 0.5), HSLFloatToRGB(0.5, 1, 0.5));
    EXPECT_EQ(HSLFloatToRGB(0, 2, 0.5), HSLFloatToRGB(0, 1, 0.5)) << "saturation clamps to 1";
    const RGBTriple nan = HSLFloatToRGB(std::nan(""), std::nan(""), std::nan(""));
    EXPECT_EQ(nan, (RGBTriple{0, 0, 0}));
}

TEST_F(ColorUtilsTest, RGBToHSV) {
    struct Row {
        const char* name;
        RGBTriple rgb;
        HSVInt expected;
    };
    const Row rows[] = {
        {"black: s and v 0", {0, 0, 0}, {0, 0, 0}},
        {"grey: hue and s 0", {90, 90, 90}, {0, 0, 90}},
        {"red", {255, 0, 0}, {0, 255, 255}},
        {"just below 360 rounds to 360", {255, 0, 1}, {360, 255, 255}},
        {"green", {0, 255, 0}, {120, 255, 255}},
        {"blue", {0, 0, 255}, {240, 255, 255}},
        {"half saturation 127.5 to even", {2, 1, 1}, {0, 128, 2}},
        {"#336699", {0x33, 0x66, 0x99}, {210, 170, 153}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(RGBToHSV(row.rgb.r, row.rgb.g, row.rgb.b), row.expected) << row.name;
    }
}

TEST_F(ColorUtilsTest, CMYKEndsAndHalfway) {
    const CMYKFloat black = CMYToCMYK(1, 1, 1);
    EXPECT_EQ(black.c, 0);
    EXPECT_EQ(black.m, 0);
    EXPECT_EQ(black.y, 0);
    EXPECT_EQ(black.k, 1);
    const CMYKFloat white = RGBToCMYK(255, 255, 255);
    EXPECT_EQ(white.c + white.m + white.y + white.k, 0);
    const CMYKFloat red = RGBToCMYK(255, 0, 0);
    EXPECT_EQ(red.c, 0);
    EXPECT_EQ(red.m, 1);
    EXPECT_EQ(red.y, 1);
    EXPECT_EQ(red.k, 0);
    // k is held in single precision, so it is the float nearest to the smallest component.
    const CMYKFloat grey = RGBToCMYK(128, 128, 128);
    EXPECT_EQ(grey.k, double(static_cast<float>(1 - 128 / 255.0)));
    EXPECT_NEAR(grey.c, 0, 1e-6);
}

TEST_F(ColorUtilsTest, CMYKRoundTripsEveryColour) {
    int mismatches = 0;
    for (TColor c = 0; c <= 0xFFFFFF; ++c) {
        const RGBTriple rgb = SplitRGB(c);
        const CMYKFloat k = RGBToCMYK(rgb.r, rgb.g, rgb.b);
        if (CMYKToRGB(k.c, k.m, k.y, k.k) != rgb && ++mismatches < 5)
            ADD_FAILURE() << "no round trip for " << Hex(c);
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(ColorUtilsTest, CMYToRGBPinsOutOfRangeInput) {
    EXPECT_EQ(CMYToRGB(-1, 2, 0.5), (RGBTriple{255, 0, 128}));
}

TEST_F(ColorUtilsTest, RGBShares) {
    const RGBSharesF none = RGBShares(0);
    EXPECT_EQ(none.r + none.g + none.b, 0.0f);
    const RGBSharesF red = RGBShares(MakeRGB(255, 0, 0));
    EXPECT_EQ(red.r, 100.0f);
    EXPECT_EQ(red.g, 0.0f);
    const RGBSharesF third = RGBShares(MakeRGB(1, 1, 1));
    EXPECT_EQ(third.b, static_cast<float>(100.0 / 3));
    EXPECT_EQ(RGBShares(0xFF000001).r, 100.0f) << "top byte ignored";
}

TEST_F(ColorUtilsTest, SystemColoursResolveThroughTheInstalledResolver) {
    SetSystemColorResolver(nullptr);
    EXPECT_EQ(ResolveSystemColor(0xFF00000F), 0x00000Fu);
    SetSystemColorResolver(
        [](std::uint8_t index) -> TColor { return index == 15 ? 0xC0C0C0 : 0x010203; });
    EXPECT_EQ(ResolveSystemColor(0xFF00000F), 0xC0C0C0u);
    EXPECT_EQ(ResolveSystemColor(0x00123456), 0x123456u) << "RGB colours pass through";
    EXPECT_EQ(ResolveSystemColor(clNone), clNone) << "only a top byte of $FF is a system colour";
}

} // namespace
} // namespace chromint
