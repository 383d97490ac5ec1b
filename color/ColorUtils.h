#pragma once

#include "ColorTypes.h"

namespace chromint {

// Conversions between RGB and the HSL, HSV, CMY and CMYK models, as the main window, the
// notations, the colour operations and the dialogs use them.

struct HSLFloat {
    double h = 0, s = 0, l = 0;
};
// The integer triples carry a fourth, unused int: at 16 bytes they come back in two whole
// registers, while a 12-byte struct is assembled on the stack and read back across two
// stores, which stalls the store buffer on every call.
struct HSLInt {
    int h = 0, s = 0, l = 0;
    int unused = 0;
    friend constexpr bool operator==(const HSLInt&, const HSLInt&) = default;
};
struct HSVInt {
    int h = 0; // degrees 0..360
    int s = 0; // 0..255
    int v = 0; // 0..255
    int unused = 0;
    friend constexpr bool operator==(const HSVInt&, const HSVInt&) = default;
};
struct CMYFloat {
    double c = 0, m = 0, y = 0;
};
struct CMYKFloat {
    double c = 0, m = 0, y = 0, k = 0;
};
struct RGBSharesF {
    float r = 0, g = 0, b = 0;
};

// The process-wide scale of integer HSL. Starts at 239/240/240; start-up sets 360/100/100.
struct HSLRange {
    int hue = 239;
    int saturation = 240;
    int lightness = 240;
    int unused = 0;
    friend constexpr bool operator==(const HSLRange&, const HSLRange&) = default;
};
HSLRange GetHSLRange();
// Replaces the range only when all three maxima are above zero.
void SetHSLRange(int maxHue, int maxSaturation, int maxLightness);

HSLFloat RGBToHSLFloat(std::uint8_t r, std::uint8_t g, std::uint8_t b);
RGBTriple HSLFloatToRGB(double h, double s, double l);

HSLInt RGBToHSL(std::uint8_t r, std::uint8_t g, std::uint8_t b);
HSLInt RGBToHSL(std::uint8_t r, std::uint8_t g, std::uint8_t b, HSLRange range);
RGBTriple HSLToRGB(int h, int s, int l);
RGBTriple HSLToRGB(int h, int s, int l, HSLRange range);
TColor HSLToColor(int h, int s, int l);
TColor HueToColor(int h);

HSVInt RGBToHSV(std::uint8_t r, std::uint8_t g, std::uint8_t b);

CMYFloat RGBToCMY(std::uint8_t r, std::uint8_t g, std::uint8_t b);
CMYKFloat CMYToCMYK(double c, double m, double y);
CMYKFloat RGBToCMYK(std::uint8_t r, std::uint8_t g, std::uint8_t b);
CMYFloat CMYKToCMY(double c, double m, double y, double k);
RGBTriple CMYToRGB(double c, double m, double y);
RGBTriple CMYKToRGB(double c, double m, double y, double k);

RGBSharesF RGBShares(TColor color);

// The channel step of HSL-to-RGB shared with the picker-side conversion; t is carried at
// extended precision because h ± 1/3 is.
double HueToRGBChannel(double p, double q, long double t);

// p, q and the three channel fractions of an HSL colour with saturation above zero.
RGBTriple HSLChromaToRGB(double h, double s, double l);

} // namespace chromint
