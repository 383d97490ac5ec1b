#include "Contrast.h"

#include "ColorTestSupport.h"
#include "CssColor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace chromint {
namespace {

using test::Hex;

// The published APCA values have sixteen digits; pow may differ from theirs in the last one.
constexpr double kLcTolerance = 1e-9;
// A result's hue, as the chroma-weighted hue difference of OKLab: the gamut mapper's
// just-noticeable difference (0.02) plus the rounding to bytes.
constexpr double kHueTolerance = 0.03;

const ContrastTarget& Target(std::string_view name) {
    for (const ContrastTarget& target : ContrastTargets()) {
        if (target.name.starts_with(name))
            return target;
    }
    ADD_FAILURE() << "no target " << name;
    return ContrastTargets().front();
}

// How far the result lies from its own hue line: the OKLab distance to the colour of the same
// lightness and chroma at the original hue. Near white and black a byte colour's hue is
// coarse, but its chroma, and so this error, is small there.
double HueError(TColor from, TColor to) {
    const OKLCh a = OKLabToOKLCh(ColorToOKLab(from));
    const OKLCh b = OKLabToOKLCh(ColorToOKLab(to));
    const double dh = (b.h - a.h) * std::acos(-1.0) / 180;
    return std::abs(2 * b.C * std::sin(dh / 2));
}

bool Passes(TColor candidate, TColor other, ContrastRole role, const ContrastTarget& target) {
    return role == ContrastRole::Text ? PassesTarget(candidate, other, target)
                                      : PassesTarget(other, candidate, target);
}

TEST(Contrast, WcagRatioAndCriteria) {
    struct Row {
        const char* name;
        std::uint32_t a, b; // #RRGGBB
        const char* shown;
        bool aaNormal, aaLarge, aaaNormal, aaaLarge, nonText;
    };
    const Row rows[] = {
        {"black on white", 0x000000, 0xFFFFFF, "21.00:1", true, true, true, true, true},
        {"order does not matter", 0xFFFFFF, 0x000000, "21.00:1", true, true, true, true, true},
        {"same colour", 0x336699, 0x336699, "1.00:1", false, false, false, false, false},
        {"#777 on white", 0x777777, 0xFFFFFF, "4.48:1", false, true, false, false, true},
        {"#767676 on white", 0x767676, 0xFFFFFF, "4.54:1", true, true, false, true, true},
        {"reads 4.50 but fails", 0x0078D7, 0xFFFFFF, "4.50:1", false, true, false, false, true},
        {"red on white", 0xFF0000, 0xFFFFFF, "4.00:1", false, true, false, false, true},
        {"#595959 just reaches 7", 0x595959, 0xFFFFFF, "7.00:1", true, true, true, true, true},
        {"blue on white", 0x0000FF, 0xFFFFFF, "8.59:1", true, true, true, true, true},
        {"below the knee", 0x0A0A0A, 0x000000, "1.06:1", false, false, false, false, false},
    };
    for (const Row& row : rows) {
        const ContrastReport report = CheckContrast(ColorFromHex(row.a), ColorFromHex(row.b));
        EXPECT_EQ(FormatContrastRatio(report.ratio), row.shown) << row.name;
        const bool expected[] = {row.aaNormal, row.aaLarge, row.aaaNormal, row.aaaLarge,
                                 row.nonText};
        for (const WcagCriterion& criterion : WcagCriteria()) {
            const int i = static_cast<int>(criterion.level);
            EXPECT_EQ(report.wcag[i], expected[i]) << row.name << ": " << criterion.name;
            EXPECT_EQ(PassesWcag(report.ratio, criterion.level), expected[i]) << row.name;
        }
    }
    EXPECT_DOUBLE_EQ(RelativeLuminance(clWhite), 1.0);
    EXPECT_EQ(RelativeLuminance(clBlack), 0.0);
}

TEST(Contrast, ApcaLightnessContrast) {
    struct Row {
        const char* name;
        std::uint32_t text, background;
        double lc;
        ApcaUse use;
    };
    const Row rows[] = {
        {"#888 on #fff", 0x888888, 0xFFFFFF, 63.056469930209424, ApcaUse::ContentText},
        {"#fff on #888", 0xFFFFFF, 0x888888, -68.54146436644962, ApcaUse::ContentText},
        {"#000 on #aaa", 0x000000, 0xAAAAAA, 58.146262578561334, ApcaUse::Headlines},
        {"#aaa on #000", 0xAAAAAA, 0x000000, -56.24113336839742, ApcaUse::Headlines},
        {"#123 on #def", 0x112233, 0xDDEEFF, 91.66830811481631, ApcaUse::BodyTextPreferred},
        {"#def on #123", 0xDDEEFF, 0x112233, -93.06770049484275, ApcaUse::BodyTextPreferred},
        {"same colour", 0x808080, 0x808080, 0, ApcaUse::NotReadable},
        {"too close: clipped to 0", 0x808080, 0x8A8A8A, 0, ApcaUse::NotReadable},
    };
    for (const Row& row : rows) {
        const ContrastReport report =
            CheckContrast(ColorFromHex(row.text), ColorFromHex(row.background));
        EXPECT_NEAR(report.lc, row.lc, kLcTolerance) << row.name;
        EXPECT_EQ(report.use, row.use) << row.name;
    }
    EXPECT_EQ(ApcaContrastOfLuminance(-0.1, 1), 0) << "luminance out of range";
    EXPECT_EQ(ApcaContrastOfLuminance(0, std::nan("")), 0) << "not a number";
    EXPECT_EQ(FormatLc(-68.54146436644962), "-68.5");
    EXPECT_EQ(FormatLc(0), "0.0");
}

TEST(Contrast, ApcaUses) {
    struct Row {
        double lc;
        ApcaUse use;
        const char* text;
    };
    const Row rows[] = {
        {90, ApcaUse::BodyTextPreferred, "Preferred for body text"},
        {89.99, ApcaUse::BodyText, "Minimum for body text"},
        {-45, ApcaUse::Headlines, "Large or heavy headlines"},
        {15, ApcaUse::NonTextMinimum, "Minimum for non-text"},
        {14.99, ApcaUse::NotReadable, "Not readable"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ApcaUseOf(row.lc), row.use) << row.lc;
        EXPECT_EQ(ApcaUseText(ApcaUseOf(row.lc)), row.text) << row.lc;
        EXPECT_LE(ApcaUseMinimum(row.use), std::abs(row.lc)) << row.lc;
    }
}

TEST(Contrast, NearestPassingColour) {
    constexpr ContrastRole kText = ContrastRole::Text;
    constexpr ContrastRole kBack = ContrastRole::Background;
    struct Row {
        const char* name;
        std::uint32_t color, other;
        ContrastRole role;
        const char* target;
        const char* expected; // the exact answer where it is known, "none", or ""
    };
    const Row rows[] = {
        {"#777 darkens one step to AA", 0x777777, 0xFFFFFF, kText, "AA normal", "$00767676"},
        {"already passes: itself", 0x333333, 0xFFFFFF, kText, "AA normal", "$00333333"},
        {"red text darkens for AAA", 0xFF0000, 0xFFFFFF, kText, "AAA normal", ""},
        {"blue on black lightens", 0x0000FF, 0x000000, kText, "AA normal", ""},
        {"background under black text", 0x3366CC, 0x000000, kBack, "AAA normal", ""},
        {"orange text for APCA 75", 0xFF8800, 0xFFFFFF, kText, "APCA Lc 75", ""},
        {"light text on navy for APCA 60", 0x6688AA, 0x001133, kText, "APCA Lc 60", ""},
        {"teal background for non-text", 0x008080, 0x00A0A0, kBack, "Non-text", ""},
        {"AAA against mid grey: none", 0xFF0000, 0x777777, kText, "AAA normal", "none"},
        {"APCA 90 against mid grey: none", 0x3366CC, 0x777777, kBack, "APCA Lc 90", "none"},
    };
    for (const Row& row : rows) {
        const TColor color = ColorFromHex(row.color);
        const TColor other = ColorFromHex(row.other);
        const ContrastTarget& target = Target(row.target);
        const std::optional<TColor> result = NearestPassingColor(color, other, row.role, target);
        ASSERT_EQ(result.has_value(), std::string(row.expected) != "none") << row.name;
        if (!result)
            continue;
        EXPECT_TRUE(Passes(*result, other, row.role, target)) << row.name << ": " << Hex(*result);
        EXPECT_LE(HueError(color, *result), kHueTolerance) << row.name << ": " << Hex(*result);
        if (row.expected[0] == '$') {
            EXPECT_EQ(Hex(*result), row.expected) << row.name;
        }
    }
}

// Every target, against light, dark and mid backgrounds, from a grid of colours: a result
// exists exactly when black or white passes, and it passes as the byte colour it is.
TEST(Contrast, NearestPassingColourOverAGrid) {
    const TColor others[] = {clWhite, clBlack, ColorFromHex(0x777777), ColorFromHex(0x2E8B57)};
    double worstError = 0;
    TColor worstColor = 0;
    for (int r = 0; r < 256; r += 51) {
        for (int g = 0; g < 256; g += 51) {
            for (int b = 0; b < 256; b += 51) {
                const TColor color = MakeRGB(r, g, b);
                for (const TColor other : others) {
                    for (const ContrastRole role : {ContrastRole::Text, ContrastRole::Background}) {
                        for (const ContrastTarget& target : ContrastTargets()) {
                            const std::optional<TColor> result =
                                NearestPassingColor(color, other, role, target);
                            const bool possible = Passes(clBlack, other, role, target) ||
                                                  Passes(clWhite, other, role, target);
                            ASSERT_EQ(result.has_value(), possible)
                                << Hex(color) << " against " << Hex(other) << ", " << target.name;
                            if (!result)
                                continue;
                            ASSERT_TRUE(Passes(*result, other, role, target))
                                << Hex(color) << " gave " << Hex(*result) << ", " << target.name;
                            const double error = HueError(color, *result);
                            if (error > worstError) {
                                worstError = error;
                                worstColor = color;
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_LE(worstError, kHueTolerance) << "largest hue error at " << Hex(worstColor);
}

// The first five levels offered are the WCAG criteria, in their order.
TEST(Contrast, TargetsOffered) {
    for (const WcagCriterion& criterion : WcagCriteria()) {
        const ContrastTarget& target = ContrastTargets()[static_cast<int>(criterion.level)];
        EXPECT_EQ(target.metric, ContrastMetric::Wcag) << criterion.name;
        EXPECT_EQ(target.minimum, criterion.minimum) << criterion.name;
        EXPECT_TRUE(target.name.starts_with(criterion.name)) << criterion.name;
    }
}

} // namespace
} // namespace chromint
