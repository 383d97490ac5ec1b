#include "Contrast.h"

#include "CssColor.h"
#include "TextUtils.h"

#include <algorithm>
#include <cmath>

namespace chromint {

namespace {

// Per-byte channel values of both luminances: the checker and the nearest-colour search read
// them thousands of times per update.
struct ChannelTables {
    std::array<double, 256> wcag{}; // linear light by the sRGB curve
    std::array<double, 256> apca{}; // (byte / 255) ^ 2.4
};

const ChannelTables& Tables() {
    static const ChannelTables tables = [] {
        ChannelTables t;
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t.wcag[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
            t.apca[i] = std::pow(c, 2.4);
        }
        return t;
    }();
    return tables;
}

constexpr WcagCriterion kWcagCriteria[] = {
    {WcagLevel::AANormal, 4.5, "AA normal text"},   {WcagLevel::AALarge, 3.0, "AA large text"},
    {WcagLevel::AAANormal, 7.0, "AAA normal text"}, {WcagLevel::AAALarge, 4.5, "AAA large text"},
    {WcagLevel::NonText, 3.0, "Non-text"},
};
static_assert(std::size(kWcagCriteria) == WcagLevelCount);

// APCA-W3 0.0.98G.
constexpr double kNormBG = 0.56;
constexpr double kNormTXT = 0.57;
constexpr double kRevTXT = 0.62;
constexpr double kRevBG = 0.65;
constexpr double kBlkThrs = 0.022;
constexpr double kBlkClmp = 1.414;
constexpr double kScaleBoW = 1.14;
constexpr double kScaleWoB = 1.14;
constexpr double kLoBoWoffset = 0.027;
constexpr double kLoWoBoffset = 0.027;
constexpr double kDeltaYmin = 0.0005;
constexpr double kLoClip = 0.1;

struct ApcaUseRow {
    ApcaUse use;
    double minimum;
    std::string_view text;
};
constexpr ApcaUseRow kApcaUses[] = {
    {ApcaUse::BodyTextPreferred, 90, "Preferred for body text"},
    {ApcaUse::BodyText, 75, "Minimum for body text"},
    {ApcaUse::ContentText, 60, "Other content text"},
    {ApcaUse::Headlines, 45, "Large or heavy headlines"},
    {ApcaUse::SpotText, 30, "Spot text and non-text"},
    {ApcaUse::NonTextMinimum, 15, "Minimum for non-text"},
    {ApcaUse::NotReadable, 0, "Not readable"},
};

constexpr ContrastTarget kTargets[] = {
    {ContrastMetric::Wcag, 4.5, "AA normal text (4.5:1)"},
    {ContrastMetric::Wcag, 3.0, "AA large text (3:1)"},
    {ContrastMetric::Wcag, 7.0, "AAA normal text (7:1)"},
    {ContrastMetric::Wcag, 4.5, "AAA large text (4.5:1)"},
    {ContrastMetric::Wcag, 3.0, "Non-text (3:1)"},
    {ContrastMetric::Apca, 90, "APCA Lc 90 (preferred body text)"},
    {ContrastMetric::Apca, 75, "APCA Lc 75 (body text)"},
    {ContrastMetric::Apca, 60, "APCA Lc 60 (content text)"},
    {ContrastMetric::Apca, 45, "APCA Lc 45 (headlines)"},
    {ContrastMetric::Apca, 30, "APCA Lc 30 (spot text, non-text)"},
    {ContrastMetric::Apca, 15, "APCA Lc 15 (minimum non-text)"},
};

double DeltaEOK(const OKLab& a, const OKLab& b) {
    return std::hypot(a.L - b.L, a.a - b.a, a.b - b.b);
}

// Whether a candidate for the changed side passes against the fixed side.
class PassJudge {
public:
    PassJudge(TColor other, ContrastRole role, const ContrastTarget& target)
        : other_(other), role_(role), target_(target) {}

    bool operator()(TColor candidate) const {
        return role_ == ContrastRole::Text ? PassesTarget(candidate, other_, target_)
                                           : PassesTarget(other_, candidate, target_);
    }

private:
    TColor other_;
    ContrastRole role_;
    const ContrastTarget& target_;
};

// Coarse steps first, so a band that passes is not skipped by a blind bisection; then halving
// down to far below one byte's worth of lightness.
constexpr int kScanSteps = 32;
constexpr int kBisections = 12;

// The passing colour nearest to lightness `from` on the line of constant hue and chroma,
// walking towards lightness `end` (0 or 1).
std::optional<TColor> SearchLightness(double from, double end, double chroma, double hue,
                                      const PassJudge& passes) {
    const auto at = [&](double lightness) {
        return ColorOfSrgb(GamutMapToSrgb(OKLCh{lightness, chroma, hue}));
    };
    double failing = from;
    double passing = end;
    std::optional<TColor> found;
    // A colour already at the end has only itself to try.
    const int steps = from == end ? 0 : kScanSteps;
    for (int i = 0; i <= steps && !found; ++i) {
        const double lightness = from + (end - from) * i / std::max(steps, 1);
        const TColor candidate = at(lightness);
        if (passes(candidate)) {
            found = candidate;
            passing = lightness;
        } else {
            failing = lightness;
        }
    }
    if (!found || passing == from)
        return found;
    // Only lightnesses whose byte colour was seen to pass replace the result.
    for (int i = 0; i < kBisections; ++i) {
        const double middle = (failing + passing) / 2;
        const TColor candidate = at(middle);
        if (passes(candidate)) {
            found = candidate;
            passing = middle;
        } else {
            failing = middle;
        }
    }
    return found;
}

} // namespace

double RelativeLuminance(TColor color) {
    const ChannelTables& t = Tables();
    const RGBTriple c = SplitRGB(color);
    return 0.2126 * t.wcag[c.r] + 0.7152 * t.wcag[c.g] + 0.0722 * t.wcag[c.b];
}

double ContrastRatio(TColor a, TColor b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

std::span<const WcagCriterion> WcagCriteria() {
    return kWcagCriteria;
}

const WcagCriterion& WcagCriterionOf(WcagLevel level) {
    return kWcagCriteria[static_cast<int>(level)];
}

bool PassesWcag(double ratio, WcagLevel level) {
    return ratio >= WcagCriterionOf(level).minimum;
}

std::string FormatContrastRatio(double ratio) {
    return FixedToString(ratio, 2) + ":1";
}

double ApcaLuminance(TColor color) {
    const ChannelTables& t = Tables();
    const RGBTriple c = SplitRGB(color);
    return 0.2126729 * t.apca[c.r] + 0.7151522 * t.apca[c.g] + 0.0721750 * t.apca[c.b];
}

double ApcaContrastOfLuminance(double textY, double backgroundY) {
    if (!(textY >= 0 && backgroundY >= 0 && textY <= 1.1 && backgroundY <= 1.1))
        return 0;
    // Near black the screen's flare lifts the luminance the eye gets.
    const auto softClamp = [](double y) {
        return y > kBlkThrs ? y : y + std::pow(kBlkThrs - y, kBlkClmp);
    };
    textY = softClamp(textY);
    backgroundY = softClamp(backgroundY);
    if (std::abs(backgroundY - textY) < kDeltaYmin)
        return 0;
    if (backgroundY > textY) {
        const double sapc =
            (std::pow(backgroundY, kNormBG) - std::pow(textY, kNormTXT)) * kScaleBoW;
        return sapc < kLoClip ? 0 : (sapc - kLoBoWoffset) * 100;
    }
    const double sapc = (std::pow(backgroundY, kRevBG) - std::pow(textY, kRevTXT)) * kScaleWoB;
    return sapc > -kLoClip ? 0 : (sapc + kLoWoBoffset) * 100;
}

double ApcaContrast(TColor text, TColor background) {
    return ApcaContrastOfLuminance(ApcaLuminance(text), ApcaLuminance(background));
}

ApcaUse ApcaUseOf(double lc) {
    const double magnitude = std::abs(lc);
    for (const ApcaUseRow& row : kApcaUses) {
        if (magnitude >= row.minimum)
            return row.use;
    }
    return ApcaUse::NotReadable;
}

double ApcaUseMinimum(ApcaUse use) {
    return kApcaUses[static_cast<int>(use)].minimum;
}

std::string_view ApcaUseText(ApcaUse use) {
    return kApcaUses[static_cast<int>(use)].text;
}

std::string FormatLc(double lc) {
    return FixedToString(lc, 1);
}

ContrastReport CheckContrast(TColor text, TColor background) {
    ContrastReport report;
    report.ratio = ContrastRatio(text, background);
    for (const WcagCriterion& criterion : kWcagCriteria)
        report.wcag[static_cast<int>(criterion.level)] = report.ratio >= criterion.minimum;
    report.lc = ApcaContrast(text, background);
    report.use = ApcaUseOf(report.lc);
    return report;
}

std::span<const ContrastTarget> ContrastTargets() {
    return kTargets;
}

bool PassesTarget(TColor text, TColor background, const ContrastTarget& target) {
    if (target.metric == ContrastMetric::Wcag)
        return ContrastRatio(text, background) >= target.minimum;
    return std::abs(ApcaContrast(text, background)) >= target.minimum;
}

std::optional<TColor> NearestPassingColor(TColor color, TColor other, ContrastRole role,
                                          const ContrastTarget& target) {
    color &= 0xFFFFFF;
    other &= 0xFFFFFF;
    const PassJudge passes(other, role, target);
    if (passes(color))
        return color;
    // Both measures grow as the changed side's luminance moves away from the other's, so
    // black and white are the best there is.
    if (!passes(clBlack) && !passes(clWhite))
        return std::nullopt;

    const OKLab start = ColorToOKLab(color);
    const OKLCh lch = OKLabToOKLCh(start);
    // Gamut mapping ends every lightness line at black and white, or within a byte of them,
    // so full chroma nearly always gets there; lower chroma covers the rest.
    for (const double chroma : {lch.C, lch.C / 2, 0.0}) {
        const std::optional<TColor> lighter = SearchLightness(lch.L, 1.0, chroma, lch.h, passes);
        const std::optional<TColor> darker = SearchLightness(lch.L, 0.0, chroma, lch.h, passes);
        if (lighter && darker) {
            return DeltaEOK(start, ColorToOKLab(*lighter)) <= DeltaEOK(start, ColorToOKLab(*darker))
                       ? lighter
                       : darker;
        }
        if (lighter || darker)
            return lighter ? lighter : darker;
        if (chroma == 0)
            break;
    }
    return std::nullopt;
}

} // namespace chromint
