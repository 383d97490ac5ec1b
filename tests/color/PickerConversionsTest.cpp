#include "PickerConversions.h"
#include "ColorTestSupport.h"
#include "Rounding.h"

#include <gtest/gtest.h>

namespace chromint {
namespace {

using test::Hex;

class PickerConversionsTest : public ::testing::Test {
protected:
    void SetUp() override { test::UseStartupScales(); }
    test::EngineStateGuard guard_;
};

TEST_F(PickerConversionsTest, WebSafeTableRoundsToNearestLevel) {
    const struct {
        int in, out;
    } rows[] = {{0, 0},     {25, 0},    {26, 51},   {76, 51},   {77, 102},
                {127, 102}, {128, 153}, {229, 204}, {230, 255}, {255, 255}};
    for (const auto& row : rows)
        EXPECT_EQ(WebSafeTable()[row.in], row.out) << row.in;
    EXPECT_EQ(NearestWebSafe(0xFFFEFEFE), 0xFFFFFFu) << "nearest, not truncated; top byte dropped";
}

TEST_F(PickerConversionsTest, HSVToRGB) {
    struct Row {
        const char* name;
        int h, s, v;
        TColor expected;
    };
    const Row rows[] = {
        {"red", 0, 255, 255, 0x0000FF},
        {"hue 360 is red", 360, 255, 255, 0x0000FF},
        {"hue 400 wraps once to 40", 400, 255, 255, PickerHSVToRGB(40, 255, 255)},
        {"hue -60 wraps to 300", -60, 255, 255, PickerHSVToRGB(300, 255, 255)},
        {"green", 120, 255, 255, 0x00FF00},
        {"blue", 240, 255, 255, 0xFF0000},
        {"saturation 0 is grey V", 200, 0, 77, 0x4D4D4D},
        {"sector 0 truncating divisions", 30, 128, 200, MakeRGB(200, 150, 100)},
        {"sector 5, q truncated from 127.5", 330, 255, 255, MakeRGB(255, 0, 128)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Hex(PickerHSVToRGB(row.h, row.s, row.v)), Hex(row.expected)) << row.name;
        const TColor rgb = PickerHSVToRGB(row.h, row.s, row.v);
        EXPECT_EQ(PickerHSVToBGR(row.h, row.s, row.v),
                  MakeRGB(GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)))
            << row.name;
    }
}

TEST_F(PickerConversionsTest, HSVRoundTripStaysWithinOneLevel) {
    int worst = 0;
    for (TColor c = 0; c <= 0xFFFFFF; c += 7) {
        const RGBTriple rgb = SplitRGB(c);
        const HSVInt hsv = PickerRGBToHSV(rgb.r, rgb.g, rgb.b);
        const RGBTriple back = SplitRGB(PickerHSVToRGB(hsv.h, hsv.s, hsv.v));
        worst = std::max(
            {worst, std::abs(back.r - rgb.r), std::abs(back.g - rgb.g), std::abs(back.b - rgb.b)});
    }
    // Integer hue and saturation lose a little; a wrong sector would lose far more.
    EXPECT_LE(worst, 6) << "largest channel error " << worst;
}

TEST_F(PickerConversionsTest, HSLUsesThePickerScale) {
    EXPECT_EQ(Hex(PickerHSLToRGB(0, 255, 128)), Hex(MakeRGB(255, 1, 1)))
        << "the main window's standard picker colour";
    EXPECT_EQ(PickerHSLToRGB(0, 0, 255), 0xFFFFFFu);
    EXPECT_EQ(PickerHSLToRGB(120, 300, 128), PickerHSLToRGB(120, 255, 128)) << "S clamps";
    EXPECT_EQ(PickerRGBToHSL(MakeRGB(255, 0, 0)), (HSLInt{0, 255, 128}));
    SetPickerHSLScale(360, 240, 255);
    EXPECT_EQ(PickerRGBToHSL(MakeRGB(255, 0, 0)), (HSLInt{0, 240, 128}));
    EXPECT_EQ(PickerGetHSValue(MakeRGB(255, 0, 0)), 240);
    SetPickerHSLScale(0, 240, 255);
    EXPECT_EQ(GetPickerHSLScale(), (PickerHSLScale{360, 240, 255})) << "zero maximum ignored";
}

TEST_F(PickerConversionsTest, CMYK) {
    EXPECT_EQ(PickerRGBToCMYK(ColorFromHex(0x336699)), (CMYKInt{102, 51, 0, 102}));
    EXPECT_EQ(PickerRGBToCMYK(0), (CMYKInt{0, 0, 0, 255}));
    EXPECT_EQ(PickerGetKValue(0xFFFFFF), 0);
    EXPECT_EQ(PickerCMYKToRGB(102, 51, 0, 102), ColorFromHex(0x336699));
    // Channel sums above 255 wrap in 8 bits: 255 - (300 mod 256) = 211.
    EXPECT_EQ(GetRValue(PickerCMYKToRGB(200, 0, 0, 100)), 211);
    EXPECT_EQ(GetRValue(PickerCMYKToRGB(155, 0, 0, 100)), 0);
}

TEST_F(PickerConversionsTest, SaturationValueSquare) {
    struct Row {
        const char* name;
        int h, s, v;
        TColor expected;
    };
    const Row rows[] = {
        {"black at level 0", 0, 255, 0, 0x000000},
        {"white at saturation 0", 0, 0, 255, 0xFFFFFF},
        {"red", 0, 255, 255, 0x0000FF},
        {"hue 360 is red", 360, 255, 255, 0x0000FF},
        {"hue clamps at the scale", 500, 255, 255, 0x0000FF},
        {"green", 120, 255, 255, 0x00FF00},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hex(SquareHSVToColor(row.h, row.s, row.v)), Hex(row.expected)) << row.name;

    EXPECT_EQ(SquareColorToHueSat(0x808080), (HueSat{0, 0}));
    EXPECT_EQ(SquareColorToHueSat(MakeRGB(255, 0, 0)), (HueSat{0, 255}));
    EXPECT_EQ(SquareColorToHueSat(MakeRGB(255, 0, 1)), (HueSat{0, 255})) << "-0.24 rounds to 0";
    EXPECT_EQ(SquareColorToHueSat(MakeRGB(255, 0, 3)), (HueSat{359, 255}));
    EXPECT_EQ(SquareColorToHueSat(MakeRGB(0, 0, 255)), (HueSat{240, 255}));
    EXPECT_EQ(MulDiv(127, 255, 128), 253);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2) << "halves away from zero";
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

} // namespace
} // namespace chromint
