#pragma once

#include "ColorTypes.h"

#include <optional>
#include <string>
#include <string_view>

namespace chromint {

// The colour spaces and notations of CSS Color 4, apart from the legacy L*a*b* of the
// editors (CIE.h), which keeps its own constants. Components are doubles; nothing here
// rounds until a colour becomes a TColor or a text.

// Three channels of an RGB space, gamma-encoded or linear as the function says; 0..1 in
// gamut, and outside that range for colours the space cannot show.
struct RGBf {
    double r = 0, g = 0, b = 0;
};
struct OKLab {
    double L = 0, a = 0, b = 0; // L 0..1
};
struct OKLCh {
    double L = 0, C = 0, h = 0; // h in degrees 0..360; 0 for colours without hue
};
// CIE Lab and LCh relative to D50, as CSS lab() and lch() define them.
struct CssLab {
    double L = 0, a = 0, b = 0; // L 0..100
};
struct CssLCh {
    double L = 0, C = 0, h = 0;
};
struct HWB {
    double h = 0, w = 0, b = 0; // h in degrees, whiteness and blackness 0..100
};

// The sRGB transfer curve, extended to negative values by symmetry as CSS does. Display P3
// uses the same curve.
double SrgbToLinear(double v);
double LinearToSrgb(double v);

// The gamma-encoded channels of an RGB colour, each byte / 255.
RGBf SrgbOf(TColor color);
// The linear channels of an RGB colour, read from a table rather than computed.
RGBf LinearSrgbOf(TColor color);
// In-gamut channels, clamped to 0..1 and rounded to the nearest byte.
TColor ColorOfSrgb(RGBf srgb);

// Between linear sRGB and OKLab, with Ottosson's published matrices one way and their exact
// inverses the other. A hue is 0 where the chroma is too small to carry one.
OKLab LinearSrgbToOKLab(RGBf linear);
RGBf OKLabToLinearSrgb(OKLab lab);
OKLab ColorToOKLab(TColor color);
OKLCh OKLabToOKLCh(OKLab lab);
OKLab OKLChToOKLab(OKLCh lch);

// Between linear sRGB (D65) and CIE Lab/LCh (D50), through XYZ with Bradford adaptation.
CssLab LinearSrgbToCssLab(RGBf linear);
RGBf CssLabToLinearSrgb(CssLab lab);
CssLCh CssLabToCssLCh(CssLab lab);
CssLab CssLChToCssLab(CssLCh lch);
CssLab ColorToCssLab(TColor color);

// Between gamma-encoded sRGB and HWB.
HWB SrgbToHWB(RGBf srgb);
RGBf HWBToSrgb(HWB hwb);

// Between linear sRGB and linear Display P3 (both D65).
RGBf LinearSrgbToLinearP3(RGBf linear);
RGBf LinearP3ToLinearSrgb(RGBf linear);
// The gamma-encoded Display P3 channels of an RGB colour.
RGBf ColorToDisplayP3(TColor color);

// Whether gamma-encoded sRGB channels lie in 0..1, allowing a rounding error far below one
// byte step.
bool InSrgbGamut(RGBf srgb);
// CSS Color 4's gamut mapping to sRGB: keeps OKLCh lightness and hue and lowers chroma until
// the colour is within a just-noticeable difference of its clipped self. Returns
// gamma-encoded sRGB in 0..1.
RGBf GamutMapToSrgb(OKLCh lch);
// The same rounded to the nearest RGB colour, for pickers that work in OKLCh: equal to
// ColorOfSrgb(GamutMapToSrgb(lch)), with a fast path for colours inside sRGB.
TColor ColorOfOKLCh(OKLCh lch);

// A colour read from CSS text: gamma-encoded sRGB that may lie outside 0..1, and its alpha.
struct CssColor {
    RGBf srgb;
    double alpha = 1; // 0..1
};

// Every CSS Color 4 form: hex with 3, 4, 6 or 8 digits; rgb()/rgba() and hsl()/hsla() in
// legacy (commas) and modern (spaces, "/ alpha") syntax, numbers and percentages; hwb(),
// lab(), lch(), oklab(), oklch(); color(srgb ...) and color(display-p3 ...); the 148 named
// colours and "transparent"; the angle units deg, rad, grad and turn; "none" components.
// Letter case and surrounding white space are ignored. Nothing for anything else.
std::optional<CssColor> ParseCssColor(std::string_view text);

// The nearest RGB colour: gamut-mapped when outside sRGB, then rounded. Alpha is dropped.
TColor ColorOfCss(const CssColor& color);

// Red in each notation; the decimals are those every component gets.
enum class CssNotation {
    Hex,       // #ff0000 (lower case), or #rrggbbaa with alpha
    Rgb,       // rgb(255 0 0)
    Hsl,       // hsl(0 100% 50%), one decimal each
    Hwb,       // hwb(0 0% 0%), one decimal each
    Lab,       // lab(54.29 80.8 69.89), two decimals each
    Lch,       // lch(54.29 106.84 40.86), two decimals each
    Oklab,     // oklab(62.8% 0.22486 0.12585): L two decimals in percent, a and b five
    Oklch,     // oklch(62.8% 0.25768 29.23): L two in percent, C five, h two
    DisplayP3, // color(display-p3 0.9175 0.2003 0.1386), four decimals each
};

// The text of a colour in a notation, with as many decimals as each component needs for every
// RGB colour to read back as itself, trailing zeros dropped; a hue that means nothing (a grey,
// or a chroma written as 0) is written as 0. Hex, rgb(), hsl() and hwb() write the nearest RGB
// colour (ColorOfCss); the other notations keep what sRGB cannot show. Alpha below 1 is
// written as " / 0.5" with up to three decimals (hex: a fourth byte).
std::string FormatCssColor(const CssColor& color, CssNotation notation);
std::string FormatCssColor(TColor color, CssNotation notation);

} // namespace chromint
