#include "ColorUtils.h"

#include "Rounding.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace chromint {

namespace {
HSLRange g_hslRange;
SystemColorResolver g_systemColorResolver = nullptr;

// v / 255.0 for every byte, the same doubles the division gives, without dividing.
constexpr std::array<double, 256> MakeFractionTable() {
    std::array<double, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = i / 255.0;
    return t;
}
constexpr std::array<double, 256> kByteFraction = MakeFractionTable();

// One channel of HSL-to-RGB evaluated in double. The exact evaluation carries t at extended
// precision; the two can only disagree where 255 x value sits next to a rounding tie, and
// there this returns -1 so that the caller takes the extended path. The branches need no
// such care: the value is continuous across every branch point and across the wrap of t, so
// taking the neighbouring branch moves it by rounding noise only. Every candidate is
// computed and then picked by index, since which branch a colour takes is as good as random
// and mispredicted jumps would cost more than the arithmetic.
int FastHueChannel(double p, double q, double t) {
    t = t + static_cast<double>(int(t < 0) - int(t > 1));
    const double t6 = 6 * t;
    // 6t < 1 implies 2t < 1 implies 3t < 2, so counting the failed tests picks the branch.
    const double candidates[4] = {p + (q - p) * t6, q, p + (q - p) * (2.0 / 3 - t) * 6, p};
    const double v = candidates[int(t6 >= 1) + int(2 * t >= 1) + int(3 * t >= 2)];
    const double x = 255.0 * v;
    const std::int64_t rounded = RoundHalfEven(x);
    constexpr double kMargin = 1e-9;
    const bool certain = std::fabs(std::fabs(x - static_cast<double>(rounded)) - 0.5) >= kMargin;
    return certain ? ClampByte(rounded) : -1;
}

// thirds is +1 for red, 0 for green and -1 for blue: the channel's hue offset in thirds.
std::uint8_t HueChannel(double p, double q, double h, int thirds) {
    const int fast = FastHueChannel(p, q, h + thirds * (1.0 / 3));
    if (fast >= 0)
        return static_cast<std::uint8_t>(fast);
    return RoundChannel(HueToRGBChannel(p, q, h + thirds * (1.0L / 3)));
}
} // namespace

void SetSystemColorResolver(SystemColorResolver resolver) {
    g_systemColorResolver = resolver;
}
SystemColorResolver GetSystemColorResolver() {
    return g_systemColorResolver;
}

TColor ResolveSystemColor(TColor color) {
    if (!IsSystemColor(color))
        return color;
    if (g_systemColorResolver == nullptr)
        return color & 0xFFFFFF;
    return g_systemColorResolver(static_cast<std::uint8_t>(color & 0xFF)) & 0xFFFFFF;
}

HSLRange GetHSLRange() {
    return g_hslRange;
}

void SetHSLRange(int maxHue, int maxSaturation, int maxLightness) {
    if (maxHue > 0 && maxSaturation > 0 && maxLightness > 0)
        g_hslRange = {maxHue, maxSaturation, maxLightness};
}

HSLFloat RGBToHSLFloat(std::uint8_t R, std::uint8_t G, std::uint8_t B) {
    const double rgb[3] = {kByteFraction[R], kByteFraction[G], kByteFraction[B]};
    const double max = std::max({rgb[0], rgb[1], rgb[2]});
    const double min = std::min({rgb[0], rgb[1], rgb[2]});
    HSLFloat out;
    out.l = (max + min) / 2;
    if (max == min)
        return out;
    const double d = max - min;
    const double denominators[2] = {max + min, 2 - max - min};
    out.s = d / denominators[int(!(out.l < 0.5))];
    // The channel holding the maximum, red before green before blue on a tie; its hue sector
    // starts at 0, 2 or 4 sixths, from the difference of the two channels that follow it.
    const int redMax = (R >= G) & (R >= B);
    const int top = (1 - redMax) * (2 - (G >= B));
    double h = (rgb[(top + 1) % 3] - rgb[(top + 2) % 3]) / d + 2 * top;
    h = h / 6;
    out.h = h + static_cast<double>(h < 0);
    return out;
}

double HueToRGBChannel(double p, double q, long double t) {
    if (t < 0)
        t = t + 1;
    else if (t > 1)
        t = t - 1;
    if (6 * t < 1)
        return static_cast<double>(p + (q - p) * 6 * t);
    if (2 * t < 1)
        return q;
    if (3 * t < 2)
        return static_cast<double>(p + (q - p) * (2.0L / 3 - t) * 6);
    return p;
}

RGBTriple HSLChromaToRGB(double h, double s, double l) {
    const double candidates[2] = {l * (1 + s), l + s - l * s};
    const double q = candidates[int(!(l <= 0.5))];
    const double p = 2 * l - q;
    return SplitRGB(
        MakeRGB(HueChannel(p, q, h, 1), HueChannel(p, q, h, 0), HueChannel(p, q, h, -1)));
}

RGBTriple HSLFloatToRGB(double h, double s, double l) {
    if (h < 0)
        h = h + 1;
    else if (h > 1)
        h = h - 1;
    s = Clamp(s, 0.0, 1.0);
    l = Clamp(l, 0.0, 1.0);
    if (!(s == s) || !(l == l))
        return {};
    if (s == 0) {
        const std::uint8_t grey = RoundChannel(l);
        return SplitRGB(MakeRGB(grey, grey, grey));
    }
    return HSLChromaToRGB(h, s, l);
}

HSLInt RGBToHSL(std::uint8_t r, std::uint8_t g, std::uint8_t b, HSLRange range) {
    const HSLFloat f = RGBToHSLFloat(r, g, b);
    return {static_cast<int>(RoundHalfEven(range.hue * f.h)),
            static_cast<int>(RoundHalfEven(range.saturation * f.s)),
            static_cast<int>(RoundHalfEven(range.lightness * f.l))};
}

HSLInt RGBToHSL(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return RGBToHSL(r, g, b, g_hslRange);
}

RGBTriple HSLToRGB(int h, int s, int l, HSLRange range) {
    h = Clamp(h, 0, range.hue);
    s = Clamp(s, 0, range.saturation);
    l = Clamp(l, 0, range.lightness);
    return HSLFloatToRGB(double(h) / range.hue, double(s) / range.saturation,
                         double(l) / range.lightness);
}

RGBTriple HSLToRGB(int h, int s, int l) {
    return HSLToRGB(h, s, l, g_hslRange);
}

TColor HSLToColor(int h, int s, int l) {
    return MakeRGB(HSLToRGB(h, s, l));
}

TColor HueToColor(int h) {
    return HSLToColor(h, g_hslRange.saturation, g_hslRange.lightness / 2);
}

HSVInt RGBToHSV(std::uint8_t R, std::uint8_t G, std::uint8_t B) {
    const int rgb[3] = {R, G, B};
    const int v = std::max({R, G, B});
    const int d = v - std::min({R, G, B});
    const double s = v == 0 ? 0.0 : double(d) / v;
    double hue = 0;
    if (s != 0) {
        // Same tie order as HSL: red, then green, then blue holds the maximum.
        const int redMax = (R >= G) & (R >= B);
        const int top = (1 - redMax) * (2 - (G >= B));
        hue = 60.0 * (rgb[(top + 1) % 3] - rgb[(top + 2) % 3]) / d + 120 * top;
        hue = hue + 360 * static_cast<double>(hue < 0);
    }
    return {static_cast<int>(RoundHalfEven(hue)), static_cast<int>(RoundHalfEven(255 * s)), v};
}

CMYFloat RGBToCMY(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {1 - kByteFraction[r], 1 - kByteFraction[g], 1 - kByteFraction[b]};
}

CMYKFloat CMYToCMYK(double c, double m, double y) {
    // The running minimum lives in single precision, so k can differ from the smallest of
    // c, m, y in its last bits and the reduced components need not be exactly zero.
    float k = 1;
    if (c < k)
        k = static_cast<float>(c);
    if (m < k)
        k = static_cast<float>(m);
    if (y < k)
        k = static_cast<float>(y);
    if (k == 1)
        return {0, 0, 0, 1};
    const double kd = k;
    return {(c - kd) / (1 - kd), (m - kd) / (1 - kd), (y - kd) / (1 - kd), kd};
}

CMYKFloat RGBToCMYK(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const CMYFloat cmy = RGBToCMY(r, g, b);
    return CMYToCMYK(cmy.c, cmy.m, cmy.y);
}

CMYFloat CMYKToCMY(double c, double m, double y, double k) {
    return {c * (1 - k) + k, m * (1 - k) + k, y * (1 - k) + k};
}

RGBTriple CMYToRGB(double c, double m, double y) {
    return SplitRGB(MakeRGB(ClampByte(RoundHalfEven((1 - c) * 255)),
                            ClampByte(RoundHalfEven((1 - m) * 255)),
                            ClampByte(RoundHalfEven((1 - y) * 255))));
}

RGBTriple CMYKToRGB(double c, double m, double y, double k) {
    const CMYFloat cmy = CMYKToCMY(c, m, y, k);
    return CMYToRGB(cmy.c, cmy.m, cmy.y);
}

RGBSharesF RGBShares(TColor color) {
    const RGBTriple rgb = SplitRGB(color);
    const int sum = rgb.r + rgb.g + rgb.b;
    if (sum == 0)
        return {};
    return {static_cast<float>(100.0 * rgb.r / sum), static_cast<float>(100.0 * rgb.g / sum),
            static_cast<float>(100.0 * rgb.b / sum)};
}

} // namespace chromint
