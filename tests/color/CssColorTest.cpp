#include "CssColor.h"
#include "ColorTestSupport.h"
#include "TestRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace chromint {
namespace {

using test::Hex;

// Walks over the RGB cube take every level in optimised builds; unoptimised builds with
// sanitizers take every fifteenth, 0 and 255 included.
#ifdef NDEBUG
constexpr int kCubeStep = 1;
#else
constexpr int kCubeStep = 15;
#endif

// The published figures are printed to this many places.
constexpr double kOttossonFigures = 1e-4;
constexpr double kFourPlaces = 1e-4;
constexpr double kTwoPlaces = 0.01;

TEST(CssColorTest, OKLabMatchesOttossonsFigures) {
    struct Row {
        const char* name;
        TColor color;
        OKLab expected;
    };
    const Row rows[] = {
        {"white", ColorFromHex(0xFFFFFF), {1, 0, 0}},
        {"red", ColorFromHex(0xFF0000), {0.627955, 0.224863, 0.125846}},
        {"green", ColorFromHex(0x00FF00), {0.86644, -0.233888, 0.179498}},
        {"blue", ColorFromHex(0x0000FF), {0.452014, -0.032457, -0.311528}},
    };
    for (const Row& row : rows) {
        const OKLab lab = ColorToOKLab(row.color);
        EXPECT_NEAR(lab.L, row.expected.L, kOttossonFigures) << row.name;
        EXPECT_NEAR(lab.a, row.expected.a, kOttossonFigures) << row.name;
        EXPECT_NEAR(lab.b, row.expected.b, kOttossonFigures) << row.name;
    }
}

// Figures from the CSS Color 4 examples and the W3C's tests for them. Those were worked out
// with an older D50 white, which moves them by up to 0.01 from ours.
TEST(CssColorTest, MatchesPublishedExamples) {
    struct Row {
        const char* name;
        const char* text;
        RGBf srgb; // gamma-encoded, 0..1
        double tolerance;
    };
    const Row rows[] = {
        {"lab a axis", "lab(50 50 0)", {0.756208, 0.304487, 0.475634}, kFourPlaces},
        {"lch hue 0 is the lab a axis",
         "lch(50% 50 0)",
         {0.756208, 0.304487, 0.475634},
         kFourPlaces},
        {"lab b axis", "lab(70 0 70)", {0.7662, 0.6636, 0.0558}, kFourPlaces},
        {"lch hue 270", "lch(55% 60 270)", {0.128128, 0.53105, 0.927645}, kFourPlaces},
        {"hwb pure hue", "hwb(120 0% 0%)", {0, 1, 0}, 0},
        {"hwb with blackness", "hwb(240 0% 50%)", {0, 0, 0.5}, 0},
        {"hwb with whiteness", "hwb(0 40% 0%)", {1, 0.4, 0.4}, 1e-15},
        {"hwb whiteness and blackness over 100% give grey", "hwb(0 60% 60%)", {0.5, 0.5, 0.5}, 0},
    };
    for (const Row& row : rows) {
        const auto color = ParseCssColor(row.text);
        ASSERT_TRUE(color) << row.name;
        EXPECT_NEAR(color->srgb.r, row.srgb.r, row.tolerance) << row.name;
        EXPECT_NEAR(color->srgb.g, row.srgb.g, row.tolerance) << row.name;
        EXPECT_NEAR(color->srgb.b, row.srgb.b, row.tolerance) << row.name;
    }

    const CssLab green = ColorToCssLab(ColorFromHex(0x008000));
    const CssLCh greenLch = CssLabToCssLCh(green);
    EXPECT_NEAR(green.L, 46.2775, kTwoPlaces);
    EXPECT_NEAR(green.a, -47.5621, kTwoPlaces);
    EXPECT_NEAR(green.b, 48.5837, kTwoPlaces);
    EXPECT_NEAR(greenLch.C, 67.9892, kTwoPlaces);
    EXPECT_NEAR(greenLch.h, 134.3912, kTwoPlaces);
    const CssLab white = ColorToCssLab(ColorFromHex(0xFFFFFF));
    EXPECT_NEAR(white.L, 100, 1e-9) << "sRGB white adapts exactly to the D50 white";
    EXPECT_NEAR(white.a, 0, 1e-9);
    EXPECT_NEAR(white.b, 0, 1e-9);
    const RGBf p3 = ColorToDisplayP3(ColorFromHex(0xFF0000));
    EXPECT_NEAR(p3.r, 0.9175, kFourPlaces);
    EXPECT_NEAR(p3.g, 0.2003, kFourPlaces);
    EXPECT_NEAR(p3.b, 0.1386, kFourPlaces);
}

TEST(CssColorTest, FastPathsMatchTheLibrary) {
    // The transfer curve takes its root without pow, and hues their sine without sin.
    double worstCurve = 0, worstTrig = 0;
    for (double v = -2; v <= 2; v += 1.0 / 4099) {
        const double a = std::fabs(v);
        const double expected =
            a <= 0.0031308 ? 12.92 * v : std::copysign(1.055 * std::pow(a, 1 / 2.4) - 0.055, v);
        worstCurve = std::max(worstCurve, std::fabs(LinearToSrgb(v) - expected));
    }
    for (double h = -720; h <= 1080; h += 0.37) {
        const OKLab lab = OKLChToOKLab({0.5, 1, h});
        const double radians = h * std::acos(-1.0) / 180;
        worstTrig = std::max({worstTrig, std::fabs(lab.a - std::cos(radians)),
                              std::fabs(lab.b - std::sin(radians))});
    }
    EXPECT_LT(worstCurve, 1e-14) << "largest error of LinearToSrgb";
    EXPECT_LT(worstTrig, 1e-14) << "largest error of the hue's sine and cosine";
    const OKLab rightAngle = OKLChToOKLab({0.5, 0.1, 90});
    EXPECT_EQ(rightAngle.a, 0) << "a right angle has no rounding error";
    EXPECT_EQ(rightAngle.b, 0.1);
    EXPECT_EQ(ColorToOKLab(0).L, 0) << "black";
    EXPECT_TRUE(std::isnan(OKLChToOKLab({0.5, 0.1, NAN}).a)) << "a hue of NaN stays NaN";
}

// ColorOfOKLCh rounds in linear light from a table, without the curve.
TEST(CssColorTest, ColorOfOKLChAgreesWithTheGamutMapping) {
    for (double L = -0.05; L <= 1.05; L += 0.031)
        for (double C = 0; C <= 0.4; C += 0.037)
            for (double h = 0; h < 360; h += 11.3)
                ASSERT_EQ(Hex(ColorOfOKLCh({L, C, h})), Hex(ColorOfSrgb(GamutMapToSrgb({L, C, h}))))
                    << L << " " << C << " " << h;
    long differences = 0;
    for (int r = 0; r < 256; r += kCubeStep)
        for (int g = 0; g < 256; g += kCubeStep)
            for (int b = 0; b < 256; b += kCubeStep) {
                const TColor color = MakeRGB(r, g, b);
                differences += ColorOfOKLCh(OKLabToOKLCh(ColorToOKLab(color))) != color;
            }
    EXPECT_EQ(differences, 0) << "RGB colours through OKLCh and back";
}

// How far an OKLab point lies from the half-line of lightness L and hue h: the colours the
// mapping may choose between.
double DistanceFromHueLine(OKLab p, double L, double h) {
    const double radians = h * std::acos(-1.0) / 180;
    const double along = p.a * std::cos(radians) + p.b * std::sin(radians);
    const double across = -p.a * std::sin(radians) + p.b * std::cos(radians);
    return std::hypot(p.L - L, across, std::min(along, 0.0));
}

OKLab OKLabOfSrgb(RGBf srgb) {
    return LinearSrgbToOKLab({SrgbToLinear(srgb.r), SrgbToLinear(srgb.g), SrgbToLinear(srgb.b)});
}

TEST(CssColorTest, GamutMappingStaysNearLightnessAndHue) {
    constexpr double kJnd = 0.02; // the mapping's just-noticeable difference in OKLab
    struct Row {
        const char* name;
        OKLCh lch;
    };
    const Row rows[] = {
        {"green beyond sRGB", {0.7, 0.4, 150}},
        {"dark saturated blue", {0.3, 0.3, 265}},
        {"light yellow", {0.95, 0.3, 100}},
        {"magenta far out", {0.6, 2, 330}},
        {"red-orange at mid lightness", {0.5, 0.5, 40}},
    };
    for (const Row& row : rows) {
        const RGBf mapped = GamutMapToSrgb(row.lch);
        EXPECT_TRUE(InSrgbGamut(mapped)) << row.name;
        const double mappedDistance =
            DistanceFromHueLine(OKLabOfSrgb(mapped), row.lch.L, row.lch.h);
        EXPECT_LT(mappedDistance, kJnd) << row.name;
        EXPECT_LT(OKLabToOKLCh(OKLabOfSrgb(mapped)).C, row.lch.C) << row.name;
        // Plain clipping lands further away: otherwise the search did nothing.
        RGBf clipped = OKLabToLinearSrgb(OKLChToOKLab(row.lch));
        clipped = {std::clamp(LinearToSrgb(clipped.r), 0.0, 1.0),
                   std::clamp(LinearToSrgb(clipped.g), 0.0, 1.0),
                   std::clamp(LinearToSrgb(clipped.b), 0.0, 1.0)};
        EXPECT_LT(mappedDistance, DistanceFromHueLine(OKLabOfSrgb(clipped), row.lch.L, row.lch.h))
            << row.name;
    }
    EXPECT_EQ(Hex(ColorOfSrgb(GamutMapToSrgb({1, 0.3, 30}))), Hex(clWhite)) << "L 100%";
    EXPECT_EQ(Hex(ColorOfSrgb(GamutMapToSrgb({0, 0.3, 30}))), Hex(clBlack)) << "L 0";
    EXPECT_EQ(Hex(ColorOfSrgb(GamutMapToSrgb({NAN, 0.3, 30}))), Hex(clBlack)) << "NaN";
    EXPECT_EQ(Hex(ColorOfSrgb(GamutMapToSrgb({0.5, INFINITY, 30}))), Hex(clBlack)) << "inf";
    // In gamut nothing moves; a hair outside, clipping wins over chroma reduction.
    const TColor sample = MakeRGB(18, 52, 86);
    EXPECT_EQ(Hex(ColorOfSrgb(GamutMapToSrgb(OKLabToOKLCh(ColorToOKLab(sample))))), Hex(sample));
    EXPECT_EQ(Hex(ColorOfCss({{1.0004, -0.0003, 0.4}, 1})), Hex(MakeRGB(255, 0, 102)));
}

struct ParseRow {
    const char* row;
    const char* text;
    TColor color;
    double alpha;
};
CHROMINT_PRINT_ROW(ParseRow, row, row.text)

const TColor kRed = ColorFromHex(0xFF0000);
const TColor kOrange = ColorFromHex(0xFF8000);
const TColor kCyan = ColorFromHex(0x00FFFF);

const ParseRow kParseRows[] = {
    {"hex 3", "#f00", kRed, 1},
    {"hex 4", "#F008", kRed, 0x88 / 255.0},
    {"hex 6", "#FF8000", kOrange, 1},
    {"hex 8", "#ff800080", kOrange, 128 / 255.0},
    {"legacy rgb", "rgb(255,128,0)", kOrange, 1},
    {"legacy rgba", "rgba(255, 128, 0, 0.5)", kOrange, 0.5},
    {"legacy percentages", "rgb(100%, 50.2%, 0%)", kOrange, 1},
    {"legacy alpha percentage", "rgb(255, 128, 0, 25%)", kOrange, 0.25},
    {"spaces everywhere", " \tRGB( 255 , 128 , 0 ) \n", kOrange, 1},
    {"modern rgb", "rgb(255 128 0)", kOrange, 1},
    {"modern rgba", "rgba(255 128 0 / .5)", kOrange, 0.5},
    {"modern mixed", "rgb(100% 128 0%)", kOrange, 1},
    {"modern alpha percentage", "rgb(255 128 0/50%)", kOrange, 0.5},
    {"percentages need no space", "rgb(100%50.2%0%)", kOrange, 1},
    {"exponents and sign", "rgb(2.55e2 +1.28E+2 0e0)", kOrange, 1},
    {"channels clamp", "rgb(300 128 -20)", kOrange, 1},
    {"half a byte rounds to even", "rgb(127.5 0 0)", MakeRGB(128, 0, 0), 1},
    {"none channel", "rgb(255 128 none)", kOrange, 1},
    {"none alpha", "rgb(255 128 0 / none)", kOrange, 0},
    {"alpha clamps above", "rgb(255 128 0 / 7)", kOrange, 1},
    {"alpha clamps below", "rgb(255 128 0 / -1)", kOrange, 0},
    {"legacy hsl", "hsl(180, 100%, 50%)", kCyan, 1},
    {"legacy hsla", "hsla(180,100%,50%,0.5)", kCyan, 0.5},
    {"modern hsl numbers", "hsl(180 100 50)", kCyan, 1},
    {"hsl deg", "hsl(180deg 100% 50%)", kCyan, 1},
    {"hsl rad", "hsl(3.14159265rad 100% 50%)", kCyan, 1},
    {"hsl grad", "hsl(200GRAD 100% 50%)", kCyan, 1},
    {"hsl turn", "hsl(0.5turn 100% 50% / 1)", kCyan, 1},
    {"hsl hue wraps", "hsl(-540 100% 50%)", kCyan, 1},
    {"hsl huge turn", "hsl(1e300turn 100% 50%)", kRed, 1},
    {"hsl none hue", "hsl(none 100% 50%)", kRed, 1},
    {"hsl negative saturation", "hsl(0 -50% 40%)", MakeRGB(102, 102, 102), 1},
    {"hwb", "hwb(30 0% 0%)", kOrange, 1},
    {"lab", "lab(54.29 80.8 69.89)", kRed, 1},
    {"lab percentages", "lab(54.29% 64.64% 55.912%)", kRed, 1},
    {"lab lightness clamps", "lab(150 0 0)", clWhite, 1},
    {"lch", "lch(54.29 106.84 40.86)", kRed, 1},
    {"lch percentages", "lch(54.29% 71.2267% 40.86deg / 20%)", kRed, 0.2},
    {"oklab percent lightness", "oklab(62.8% 0.2249 0.1258)", kRed, 1},
    {"oklab number lightness", "oklab(0.628 56.225% 31.45%)", kRed, 1},
    {"oklch", "oklch(62.8% 0.2577 29.23)", kRed, 1},
    {"oklch number lightness", "OKLCH(0.628 64.425% 0.0812turn)", kRed, 1},
    {"oklch out of gamut is mapped", "oklch(70% 0.4 150)", MakeRGB(0, 194, 72), 1},
    {"color srgb", "color(srgb 1 0.502 0)", kOrange, 1},
    {"color srgb percentages", "color( SRGB 100% 50.2% none / 0.5 )", kOrange, 0.5},
    {"color display-p3", "color(display-p3 0.9175 0.2003 0.1386)", kRed, 1},
    {"named", "orange", ColorFromHex(0xFFA500), 1},
    {"named any case", "DarkGrey", ColorFromHex(0xA9A9A9), 1},
    {"rebeccapurple", "RebeccaPurple", ColorFromHex(0x663399), 1},
    {"transparent", "transparent", clBlack, 0},
};

class ParseCssColorTest : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseCssColorTest, ReadsTheColour) {
    const ParseRow& row = GetParam();
    const auto color = ParseCssColor(row.text);
    ASSERT_TRUE(color);
    EXPECT_EQ(Hex(ColorOfCss(*color)), Hex(row.color));
    EXPECT_NEAR(color->alpha, row.alpha, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Rows, ParseCssColorTest, ::testing::ValuesIn(kParseRows),
                         test::RowName<::testing::TestParamInfo<ParseRow>>);

TEST(CssColorTest, RefusesMalformedText) {
    using namespace std::string_view_literals;
    const std::string_view rows[] = {
        ""sv,
        "  "sv,
        "#"sv,
        "#ff"sv,
        "#fffff"sv,
        "#fffffffff"sv,
        "#ggg"sv,
        "# fff"sv,
        "rgb("sv,
        "rgb(1 2 3"sv,
        "rgb(1 2 3))"sv,
        "rgb((1 2 3)"sv,
        "rgb(1 2)"sv,
        "rgb(1 2 3 4)"sv,
        "rgb(1, 2 3)"sv,
        "rgb(1, 2, 3 / 0.5)"sv,
        "rgb(1 2 3,)"sv,
        "rgb(1, 2, 3,)"sv,
        "rgb(1 2 3 /)"sv,
        "rgb(10%, 2, 3)"sv,
        "rgb(none, 0, 0)"sv,
        "rgb(0, 0, 0, none)"sv,
        "rgb (1 2 3)"sv,
        "rgb(1 2 3) x"sv,
        "rgb(nan 0 0)"sv,
        "rgb(inf 0 0)"sv,
        "rgb(1e400 0 0)"sv,
        "rgb(1e 0 0)"sv,
        "rgb(1. 2 3)"sv,
        "rgb(+-1 2 3)"sv,
        "rgb(1deg 2 3)"sv,
        "rgb(1 2 3 / 5deg)"sv,
        "rgb(1 2\0 3)"sv,
        "rgb(1 2 3)\0"sv,
        "hsl(120%, 50%, 50%)"sv,
        "hsl(120, 50, 50)"sv,
        "hsl(120px 50% 50%)"sv,
        "hsl(120 50deg 50%)"sv,
        "hwb(0, 0%, 0%)"sv,
        "lab(50, 0, 0)"sv,
        "lab(50 0deg 0)"sv,
        "lch(50 10 10%)"sv,
        "oklch(50% 0.1 10%)"sv,
        "oklab(50% 0.1)"sv,
        "color(srgb, 1, 0, 0)"sv,
        "color(rec2020 1 0 0)"sv,
        "color(srgb 1 0)"sv,
        "color(srgb1 0 0)"sv,
        "color(1 0 0)"sv,
        "colour(srgb 1 0 0)"sv,
        "notacolor"sv,
        "red blue"sv,
        "red;"sv,
        "-red"sv,
        "123"sv,
    };
    for (std::string_view text : rows)
        EXPECT_FALSE(ParseCssColor(text)) << "\"" << std::string(text) << "\"";
}

TEST(CssColorTest, FormatsEveryNotation) {
    struct Row {
        CssNotation notation;
        const char* red;
        const char* grey;
        const char* halfTransparentTeal;
    };
    const Row rows[] = {
        {CssNotation::Hex, "#ff0000", "#808080", "#00808080"},
        {CssNotation::Rgb, "rgb(255 0 0)", "rgb(128 128 128)", "rgb(0 128 128 / 0.5)"},
        {CssNotation::Hsl, "hsl(0 100% 50%)", "hsl(0 0% 50.2%)", "hsl(180 100% 25.1% / 0.5)"},
        {CssNotation::Hwb, "hwb(0 0% 0%)", "hwb(0 50.2% 49.8%)", "hwb(180 0% 49.8% / 0.5)"},
        {CssNotation::Lab, "lab(54.29 80.8 69.89)", "lab(53.59 0 0)",
         "lab(47.99 -30.39 -8.98 / 0.5)"},
        {CssNotation::Lch, "lch(54.29 106.84 40.86)", "lch(53.59 0 0)",
         "lch(47.99 31.69 196.45 / 0.5)"},
        {CssNotation::Oklab, "oklab(62.8% 0.22486 0.12585)", "oklab(59.99% 0 0)",
         "oklab(54.31% -0.08965 -0.02363 / 0.5)"},
        {CssNotation::Oklch, "oklch(62.8% 0.25768 29.23)", "oklch(59.99% 0 0)",
         "oklch(54.31% 0.09271 194.77 / 0.5)"},
        {CssNotation::DisplayP3, "color(display-p3 0.9175 0.2003 0.1386)",
         "color(display-p3 0.502 0.502 0.502)", "color(display-p3 0.216 0.4942 0.498 / 0.5)"},
    };
    const TColor teal = ColorFromHex(0x008080);
    for (const Row& row : rows) {
        const int n = static_cast<int>(row.notation);
        EXPECT_EQ(FormatCssColor(kRed, row.notation), row.red) << "notation " << n;
        EXPECT_EQ(FormatCssColor(ColorFromHex(0x808080), row.notation), row.grey)
            << "notation " << n;
        EXPECT_EQ(FormatCssColor(CssColor{SrgbOf(teal), 0.5}, row.notation),
                  row.halfTransparentTeal)
            << "notation " << n;
    }
    EXPECT_EQ(FormatCssColor(CssColor{SrgbOf(kRed), 0.99996}, CssNotation::Rgb), "rgb(255 0 0)")
        << "alpha that rounds to 1 is left out";
    EXPECT_EQ(FormatCssColor(CssColor{SrgbOf(kRed), 0}, CssNotation::Hex), "#ff000000");
    const CssColor wide{{1.2, -0.1, 0}, 1};
    EXPECT_EQ(FormatCssColor(wide, CssNotation::Rgb),
              FormatCssColor(ColorOfCss(wide), CssNotation::Rgb))
        << "the sRGB notations write the gamut-mapped colour";
    const auto wideBack = ParseCssColor(FormatCssColor(wide, CssNotation::Lab));
    ASSERT_TRUE(wideBack);
    EXPECT_NEAR(wideBack->srgb.r, 1.2, 1e-3) << "lab() keeps what sRGB cannot show";
}

struct RoundTripRow {
    const char* row;
    CssNotation notation;
};
CHROMINT_PRINT_ROW(RoundTripRow, row)

const RoundTripRow kRoundTripRows[] = {
    {"hex", CssNotation::Hex},
    {"rgb", CssNotation::Rgb},
    {"hsl", CssNotation::Hsl},
    {"hwb", CssNotation::Hwb},
    {"lab", CssNotation::Lab},
    {"lch", CssNotation::Lch},
    {"oklab", CssNotation::Oklab},
    {"oklch", CssNotation::Oklch},
    {"display_p3", CssNotation::DisplayP3},
};

class CssRoundTripTest : public ::testing::TestWithParam<RoundTripRow> {};

// Every RGB colour, written and read back, is itself: this is what sets the decimals of each
// notation.
TEST_P(CssRoundTripTest, EveryColourReadsBackAsItself) {
    const CssNotation notation = GetParam().notation;
    long failures = 0;
    std::string firstFailure;
    for (int r = 0; r < 256; r += kCubeStep)
        for (int g = 0; g < 256; g += kCubeStep)
            for (int b = 0; b < 256; b += kCubeStep) {
                const TColor color = MakeRGB(r, g, b);
                const std::string text = FormatCssColor(color, notation);
                const auto parsed = ParseCssColor(text);
                if (parsed && ColorOfCss(*parsed) == color)
                    continue;
                if (failures++ == 0)
                    firstFailure = Hex(color) + " as " + text;
            }
    EXPECT_EQ(failures, 0) << "first: " << firstFailure;
}

INSTANTIATE_TEST_SUITE_P(Rows, CssRoundTripTest, ::testing::ValuesIn(kRoundTripRows),
                         test::RowName<::testing::TestParamInfo<RoundTripRow>>);

} // namespace
} // namespace chromint
