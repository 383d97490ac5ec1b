#include "CIE.h"
#include "ColorTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace chromint {
namespace {

using test::Hex;

// Two decimals is how precisely the reference figures below are known.
constexpr double kFigureTolerance = 0.01;

TEST(CIETest, ReferenceColours) {
    struct Row {
        const char* name;
        TColor color;
        XYZ xyz;
        Lab lab;
    };
    const Row rows[] = {
        {"white is not 100/0/0", 0xFFFFFF, {95.05, 100, 108.9}, {100, -2.38, -19.37}},
        {"black gets L* 0.008 from the 0.138 constant", 0x000000, {0, 0, 0}, {0.008, 0, 0}},
        {"red", 0x0000FF, {41.24, 21.26, 1.93}, {53.23, 78.30, 62.17}},
    };
    for (const Row& row : rows) {
        const XYZ xyz = RGBToXYZ(row.color);
        EXPECT_NEAR(xyz.x, row.xyz.x, kFigureTolerance) << row.name;
        EXPECT_NEAR(xyz.y, row.xyz.y, kFigureTolerance) << row.name;
        EXPECT_NEAR(xyz.z, row.xyz.z, kFigureTolerance) << row.name;
        const Lab lab = RGBToLab(row.color);
        EXPECT_NEAR(lab.l, row.lab.l, kFigureTolerance) << row.name;
        EXPECT_NEAR(lab.a, row.lab.a, kFigureTolerance) << row.name;
        EXPECT_NEAR(lab.b, row.lab.b, kFigureTolerance) << row.name;
    }
}

TEST(CIETest, LabToRGB) {
    struct Row {
        const char* name;
        Lab lab;
        TColor expected;
    };
    const Row rows[] = {
        {"L* 100 is not white", {100, 0, 0}, MakeRGB(255, 252, 221)},
        {"zero is black", {0, 0, 0}, 0x000000},
        {"whole-number red does not come back exact", {53, 78, 62}, MakeRGB(254, 0, 0)},
        {"out of gamut clamps, never wraps", {50, 127, -128}, MakeRGB(224, 0, 255)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hex(LabToRGB(row.lab.l, row.lab.a, row.lab.b)), Hex(row.expected)) << row.name;
}

TEST(CIETest, XYZToLabClampsItsOutput) {
    const Lab high = XYZToLab(500, 500, 0);
    EXPECT_EQ(high.l, 100);
    EXPECT_EQ(high.b, 127);
    const Lab low = XYZToLab(0, 0, 500);
    EXPECT_EQ(low.b, -128);
}

TEST(CIETest, RoundTripErrorStaysWhereTheShortenedMatrixPutsIt) {
    // The backward matrix is not the exact inverse of the forward one (its -0.49 stands for
    // -0.4986), so a dark channel beside a bright blue comes back lighter: the round trip is
    // not exact by design. Greys stay within one level, and no colour drifts further than the
    // matrix error allows; a wrong constant in either direction breaks one or the other.
    for (int v = 0; v < 256; ++v) {
        const Lab lab = RGBToLab(MakeRGB(v, v, v));
        const RGBTriple back = SplitRGB(LabToRGB(lab.l, lab.a, lab.b));
        EXPECT_LE(std::abs(back.r - v), 1) << "grey " << v;
        EXPECT_LE(std::abs(back.g - v), 1) << "grey " << v;
        EXPECT_LE(std::abs(back.b - v), 1) << "grey " << v;
    }
    int worst = 0;
    TColor worstColor = 0;
    for (TColor c = 0; c <= 0xFFFFFF; c += 3) {
        const Lab lab = RGBToLab(c);
        ASSERT_GE(lab.l, 0);
        ASSERT_LE(lab.l, 100);
        if (lab.a <= -128 || lab.a >= 127 || lab.b <= -128 || lab.b >= 127)
            continue; // clamped
        const RGBTriple a = SplitRGB(c);
        const RGBTriple b = SplitRGB(LabToRGB(lab.l, lab.a, lab.b));
        const int error = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
        if (error > worst) {
            worst = error;
            worstColor = c;
        }
    }
    EXPECT_LE(worst, 24) << "largest channel error " << worst << " at " << Hex(worstColor);
}

// The chains written out with the library power function, as the formulas read.
Lab LabByFormula(TColor color) {
    auto linear = [](int v) {
        double c = v / 255.0;
        c = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        return c * 100;
    };
    const RGBTriple c = SplitRGB(color);
    const double r = linear(c.r), g = linear(c.g), b = linear(c.b);
    const double x = 0.4124 * r + 0.3576 * g + 0.1805 * b;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = 0.0193 * r + 0.1192 * g + 0.9505 * b;
    auto f = [](double t) { return t > 0.008856 ? std::pow(t, 1.0 / 3) : 7.787 * t + 0.138; };
    const double fx = f(x / 96.422), fy = f(y / 100), fz = f(z / 82.521);
    return {std::clamp(116 * fy - 16, 0.0, 100.0), std::clamp(500 * (fx - fy), -128.0, 127.0),
            std::clamp(200 * (fy - fz), -128.0, 127.0)};
}

int ChannelByFormula(double v) {
    v = v <= 0.00313 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return static_cast<int>(std::nearbyint(255 * std::clamp(v, 0.0, 1.0)));
}

TEST(CIETest, FastPathsAgreeWithTheFormulas) {
    // Lab to the last few bits, which is far below any rounding to whole numbers.
    constexpr double kLabTolerance = 1e-12;
    double worst = 0;
    for (TColor c = 0; c <= 0xFFFFFF; c += 5) {
        const Lab fast = RGBToLab(c);
        const Lab formula = LabByFormula(c);
        worst = std::max({worst, std::fabs(fast.l - formula.l), std::fabs(fast.a - formula.a),
                          std::fabs(fast.b - formula.b)});
    }
    EXPECT_LE(worst, kLabTolerance) << "largest L*a*b* difference " << worst;

    // XYZ to RGB byte for byte, over linear values on both sides of every step.
    int mismatches = 0;
    std::uint64_t seed = 88172645463325252ull;
    for (int i = 0; i < 2'000'000; ++i) {
        seed ^= seed << 13, seed ^= seed >> 7, seed ^= seed << 17;
        const double v = static_cast<double>(seed >> 11) / 9007199254740992.0 * 1.1 - 0.05;
        const TColor rgb = XYZToRGB(41.24 * v, 21.26 * v, 1.93 * v); // along pure red
        const double r =
            3.2406 * (41.24 * v / 100) - 1.5372 * (21.26 * v / 100) - 0.49 * (1.93 * v / 100);
        if (GetRValue(rgb) != ChannelByFormula(r) && ++mismatches < 5)
            ADD_FAILURE() << "linear red " << r << " gives " << int(GetRValue(rgb));
    }
    for (int k = 0; k < 4096; ++k) {
        for (double v : {std::nextafter(k / 4096.0, 0.0), k / 4096.0, (k + 0.5) / 4096}) {
            const TColor grey = XYZToRGB(95.05 * v, 100 * v, 108.9 * v);
            const double g =
                -0.969 * (95.05 * v / 100) + 1.8758 * (100 * v / 100) + 0.0415 * (108.9 * v / 100);
            if (GetGValue(grey) != ChannelByFormula(g) && ++mismatches < 10)
                ADD_FAILURE() << "linear green " << g << " gives " << int(GetGValue(grey));
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(CIETest, LChHue) {
    struct Row {
        const char* name;
        Lab lab;
        double c, h;
    };
    const Row rows[] = {
        {"neutral is 360, never 0", {50, 0, 0}, 0, 360},
        {"positive a* axis is 360", {50, 10, 0}, 10, 360},
        {"positive b* axis", {50, 0, 10}, 10, 90},
        {"negative a* axis", {50, -10, 0}, 10, 180},
        {"negative b* axis", {50, 0, -10}, 10, 270},
        {"white's bluish cast", {100, -2.3829, -19.3737}, 19.52, 262.99},
    };
    for (const Row& row : rows) {
        const LCh lch = LabToLCh(row.lab.l, row.lab.a, row.lab.b);
        EXPECT_EQ(lch.l, row.lab.l) << row.name;
        EXPECT_NEAR(lch.c, row.c, kFigureTolerance) << row.name;
        EXPECT_NEAR(lch.h, row.h, kFigureTolerance) << row.name;
    }
    EXPECT_EQ(GetCIEHValue(0x000000), 360) << "black is neutral";
}

TEST(CIETest, SingleComponentHelpersMatchTheChain) {
    const TColor c = ColorFromHex(0x4682B4);
    const XYZ xyz = RGBToXYZ(c);
    const Lab lab = RGBToLab(c);
    const LCh lch = LabToLCh(lab.l, lab.a, lab.b);
    EXPECT_EQ(GetCIEXValue(c), xyz.x);
    EXPECT_EQ(GetCIEYValue(c), xyz.y);
    EXPECT_EQ(GetCIEZValue(c), xyz.z);
    EXPECT_EQ(GetCIELValue(c), lab.l);
    EXPECT_EQ(GetCIEAValue(c), lab.a);
    EXPECT_EQ(GetCIEBValue(c), lab.b);
    EXPECT_EQ(GetCIECValue(c), lch.c);
    EXPECT_EQ(GetCIEHValue(c), lch.h);
}

} // namespace
} // namespace chromint
