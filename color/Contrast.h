#pragma once

#include "ColorTypes.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace chromint {

// How readable one colour is on another: the WCAG 2.2 contrast ratio with its success
// criteria, the APCA lightness contrast (APCA-W3 0.0.98G) with its usage levels, and the
// nearest colour that reaches a chosen level. Both colours count as opaque.

// ---- WCAG 2.2 -------------------------------------------------------------------------------

// Relative luminance, 0 (black) to 1 (white), from the sRGB curve with its 0.04045 knee.
double RelativeLuminance(TColor color);
// (lighter + 0.05) / (darker + 0.05): 1 to 21, the same whichever colour is the text.
double ContrastRatio(TColor a, TColor b);

enum class WcagLevel {
    AANormal,  // 4.5:1
    AALarge,   // 3:1
    AAANormal, // 7:1
    AAALarge,  // 4.5:1
    NonText,   // 3:1 (user interface components and graphics)
};
inline constexpr int WcagLevelCount = 5;

struct WcagCriterion {
    WcagLevel level;
    double minimum; // the ratio that passes
    std::string_view name;
};
// In the order the enum lists them.
std::span<const WcagCriterion> WcagCriteria();
const WcagCriterion& WcagCriterionOf(WcagLevel level);

// The unrounded ratio decides: 4.4999:1 fails AA even though it reads "4.50:1".
bool PassesWcag(double ratio, WcagLevel level);

// "12.63:1": rounded to two decimals, whatever the locale.
std::string FormatContrastRatio(double ratio);

// ---- APCA -----------------------------------------------------------------------------------

// Screen luminance Ys: each channel byte / 255 to the power 2.4, weighted.
double ApcaLuminance(TColor color);
// Lightness contrast Lc of text on a background, about -108 to 106: positive for dark text
// on a light background, negative for light text on dark, 0 when too close to matter.
double ApcaContrast(TColor text, TColor background);
// From luminances, for callers that keep one side fixed.
double ApcaContrastOfLuminance(double textY, double backgroundY);

// What a lightness contrast is good for, from |Lc|.
enum class ApcaUse {
    BodyTextPreferred, // 90
    BodyText,          // 75
    ContentText,       // 60
    Headlines,         // 45
    SpotText,          // 30
    NonTextMinimum,    // 15
    NotReadable,
};
ApcaUse ApcaUseOf(double lc);
// The lowest |Lc| of a use (0 for NotReadable).
double ApcaUseMinimum(ApcaUse use);
// A short sentence for the use, e.g. "Minimum for body text".
std::string_view ApcaUseText(ApcaUse use);

// "63.1" and "-68.5": one decimal, whatever the locale.
std::string FormatLc(double lc);

// ---- Both at once ---------------------------------------------------------------------------

// Everything the checker shows for one pair.
struct ContrastReport {
    double ratio = 1;
    std::array<bool, WcagLevelCount> wcag{}; // indexed by WcagLevel
    double lc = 0;
    ApcaUse use = ApcaUse::NotReadable;
};
ContrastReport CheckContrast(TColor text, TColor background);

// ---- Nearest passing colour -----------------------------------------------------------------

enum class ContrastMetric { Wcag, Apca };

// A level to reach: a WCAG ratio, or an APCA |Lc|.
struct ContrastTarget {
    ContrastMetric metric = ContrastMetric::Wcag;
    double minimum = 4.5;
    std::string_view name;
};
// The levels offered for the nearest passing colour: the five WCAG criteria, then the APCA
// uses from Lc 90 down to Lc 15.
std::span<const ContrastTarget> ContrastTargets();

bool PassesTarget(TColor text, TColor background, const ContrastTarget& target);

// Which side of the pair the colour being changed is.
enum class ContrastRole { Text, Background };

// The colour nearest to `color` in OKLCh that reaches the target against `other`: the same
// hue, the closest lightness in either direction at the same chroma (gamut-mapped into sRGB),
// and lower chroma only when no lightness gets there. The result passes as the byte colour
// it is. `color` itself when it passes already; nothing when no colour can (AAA against
// mid grey: neither black nor white reaches 7:1).
std::optional<TColor> NearestPassingColor(TColor color, TColor other, ContrastRole role,
                                          const ContrastTarget& target);

} // namespace chromint
