#include "CssColor.h"

#include "ColorUtilsWeb.h"
#include "Rounding.h"
#include "TextUtils.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace chromint {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

constexpr Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix out{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return out;
}

constexpr Matrix Inverse(const Matrix& m) {
    const double c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const double c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const double c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const double det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    return {{{c00 / det, (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det,
              (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det},
             {c01 / det, (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det,
              (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det},
             {c02 / det, (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det,
              (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det}}};
}

// Each row scaled, so a division by a white point can be folded into a matrix.
constexpr Matrix ScaleRows(const Matrix& m, double r0, double r1, double r2) {
    return {{{m[0][0] * r0, m[0][1] * r0, m[0][2] * r0},
             {m[1][0] * r1, m[1][1] * r1, m[1][2] * r1},
             {m[2][0] * r2, m[2][1] * r2, m[2][2] * r2}}};
}

constexpr Matrix ScaleColumns(const Matrix& m, double c0, double c1, double c2) {
    return {{{m[0][0] * c0, m[0][1] * c1, m[0][2] * c2},
             {m[1][0] * c0, m[1][1] * c1, m[1][2] * c2},
             {m[2][0] * c0, m[2][1] * c1, m[2][2] * c2}}};
}

inline RGBf Apply(const Matrix& m, RGBf v) {
    return {m[0][0] * v.r + m[0][1] * v.g + m[0][2] * v.b,
            m[1][0] * v.r + m[1][1] * v.g + m[1][2] * v.b,
            m[2][0] * v.r + m[2][1] * v.g + m[2][2] * v.b};
}

// The published matrices, as rationals where they were published that way, so both
// directions stay exact inverses of each other to the last bit the rationals allow.
constexpr Matrix kLinearSrgbToXyz{{
    {506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
    {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
    {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270},
}};
constexpr Matrix kXyzToLinearSrgb{{
    {12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
    {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
    {705.0 / 12673, -2585.0 / 12673, 705.0 / 667},
}};
constexpr Matrix kLinearP3ToXyz{{
    {608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
    {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
    {0.0, 32229.0 / 714400, 5220557.0 / 5000800},
}};
constexpr Matrix kXyzToLinearP3{{
    {446124.0 / 178915, -333277.0 / 357830, -72051.0 / 178915},
    {-14852.0 / 17905, 63121.0 / 35810, 423.0 / 17905},
    {11844.0 / 330415, -50337.0 / 660830, 316169.0 / 330415},
}};
// Bradford adaptation between the D65 white of sRGB and the D50 white of lab().
constexpr Matrix kD65ToD50{{
    {1.0479297925449969, 0.022946870601609652, -0.05019226628920524},
    {0.02962780877005599, 0.9904344267538799, -0.017073799063418826},
    {-0.009243040646204504, 0.015055191490298152, 0.7518742814281371},
}};
constexpr Matrix kD50ToD65{{
    {0.955473421488075, -0.02309845494876471, 0.06325924320057072},
    {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
    {0.012314014864481998, -0.020507649298898964, 1.330365926242124},
}};
constexpr double kD50X = 0.3457 / 0.3585;
constexpr double kD50Z = (1 - 0.3457 - 0.3585) / 0.3585;

// OKLab straight from linear sRGB: cone response, then the opponent axes.
constexpr Matrix kLinearSrgbToLms{{
    {0.4122214708, 0.5363325363, 0.0514459929},
    {0.2119034982, 0.6806995451, 0.1073969566},
    {0.0883024619, 0.2817188376, 0.6299787005},
}};
constexpr Matrix kLmsToOKLab{{
    {0.2104542553, 0.7936177850, -0.0040720468},
    {1.9779984951, -2.4285922050, 0.4505937099},
    {0.0259040371, 0.7827717662, -0.8086757660},
}};
// The published inverses are rounded to ten places, which leaves sRGB black and white a
// millionth outside sRGB after a round trip; the exact inverses of the forward matrices do not.
constexpr Matrix kOKLabToLms = Inverse(kLmsToOKLab);
constexpr Matrix kLmsToLinearSrgb = Inverse(kLinearSrgbToLms);

constexpr Matrix kLinearSrgbToLabXyz =
    ScaleRows(Multiply(kD65ToD50, kLinearSrgbToXyz), 1 / kD50X, 1, 1 / kD50Z);
constexpr Matrix kLabXyzToLinearSrgb =
    ScaleColumns(Multiply(kXyzToLinearSrgb, kD50ToD65), kD50X, 1, kD50Z);
constexpr Matrix kLinearSrgbToLinearP3 = Multiply(kXyzToLinearP3, kLinearSrgbToXyz);
constexpr Matrix kLinearP3ToLinearSrgb = Multiply(kXyzToLinearSrgb, kLinearP3ToXyz);

constexpr double kLabEpsilon = 216.0 / 24389;
constexpr double kLabKappa = 24389.0 / 27;

// Below these chromas the hue is noise from the matrices' last digits, and reads as 0.
constexpr double kLabAchromatic = 0.0015;
constexpr double kOKLabAchromatic = 0.000004;

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;

// x^(N/D) for a positive normal x, in about a third of the time of pow or cbrt and within
// two units in the last place: the exponent's share as 2^k * 2^(j/D), the mantissa's from
// the nearest of 256 points and a short binomial series around it.
template <int N, int D>
class FractionalPower {
public:
    FractionalPower() {
        for (int i = 0; i < kPoints; ++i) {
            const double point = Point(i);
            atPoint_[i] = std::pow(point, kP);
            inversePoint_[i] = 1 / point;
        }
        for (int j = 0; j < D; ++j)
            fractionOfTwo_[j] = std::exp2(static_cast<double>(j) / D);
    }

    [[gnu::always_inline]] double operator()(double x) const {
        const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
        const int exponent = static_cast<int>(bits >> 52) - 1023;
        const int i = static_cast<int>(bits >> (52 - kIndexBits)) & (kPoints - 1);
        const double mantissa = std::bit_cast<double>((bits & kMantissaMask) | kOne);
        const double u = (mantissa - Point(i)) * inversePoint_[i]; // |u| < 1/512
        // The series in pairs of terms, so its chain of dependent multiplications is short.
        const double u2 = u * u;
        const double series =
            (kSeries[0] + kSeries[1] * u) +
            u2 * ((kSeries[2] + kSeries[3] * u) + u2 * (kSeries[4] + kSeries[5] * u));
        // N * exponent = D * k + j, with j in 0..D-1; the bias keeps the division positive.
        const int scaled = N * exponent + D * kBias;
        const int k = scaled / D - kBias;
        const double twoToK = std::bit_cast<double>(static_cast<std::uint64_t>(k + 1023) << 52);
        return atPoint_[i] * series * fractionOfTwo_[scaled % D] * twoToK;
    }

private:
    static constexpr double kP = static_cast<double>(N) / D;
    static constexpr int kIndexBits = 8;
    static constexpr int kPoints = 1 << kIndexBits;
    static constexpr int kBias = 1024;
    static constexpr int kTerms = 6; // the seventh term is below 1e-17
    static constexpr std::uint64_t kMantissaMask = (std::uint64_t(1) << 52) - 1;
    static constexpr std::uint64_t kOne = std::uint64_t(1023) << 52;
    static constexpr std::array<double, kTerms> kSeries = [] {
        std::array<double, kTerms> c{1};
        for (int k = 1; k < kTerms; ++k)
            c[k] = c[k - 1] * (kP - (k - 1)) / k;
        return c;
    }();

    static constexpr double Point(int i) { return 1 + (i + 0.5) / kPoints; }

    std::array<double, kPoints> atPoint_{}, inversePoint_{};
    std::array<double, D> fractionOfTwo_{};
};

// Inlined into its callers, so the three channels of a colour overlap their multiplications.
template <int N, int D>
[[gnu::always_inline]] inline double Power(double x) {
    static const FractionalPower<N, D> power;
    return power(x);
}

[[gnu::always_inline]] inline double Cbrt(double x) {
    const double a = std::fabs(x);
    if (!(a >= DBL_MIN && a <= DBL_MAX))
        return std::cbrt(x);
    return std::copysign(Power<1, 3>(a), x);
}

inline double Cube(double v) {
    return v * v * v;
}

// sin and cos of each whole degree, 0..360, with the right angles exact.
struct DegreeTable {
    std::array<double, 361> sin{}, cos{};
    DegreeTable() {
        for (int i = 0; i <= 90; ++i) {
            const double s = i == 90 ? 1 : std::sin(i * (std::numbers::pi / 180));
            const double c = i == 0 ? 1 : (i == 90 ? 0 : std::cos(i * (std::numbers::pi / 180)));
            const int at[] = {i, 180 - i, 180 + i, 360 - i};
            const double sinOf[] = {s, s, -s, -s};
            const double cosOf[] = {c, -c, -c, c};
            for (int k = 0; k < 4; ++k) {
                sin[at[k]] = sinOf[k];
                cos[at[k]] = cosOf[k];
            }
        }
    }
};

// sin and cos of an angle in degrees, without the library's radian reduction: the nearest
// whole degree from a table, and the rest, under half a degree, from the first terms of the
// series, which leave an error far below the last bit.
[[gnu::always_inline]] inline void SinCosDegrees(double degrees, double& s, double& c) {
    static const DegreeTable table;
    if (!(degrees >= 0 && degrees < 360)) {
        degrees = std::fmod(degrees, 360.0);
        if (degrees < 0)
            degrees += 360;
        if (!(degrees >= 0 && degrees <= 360)) {
            s = c = degrees; // NaN, also from an infinite angle
            return;
        }
    }
    const int whole = static_cast<int>(degrees + 0.5);
    const double x = (degrees - whole) * (std::numbers::pi / 180);
    const double z = x * x;
    const double sinX = x * (1 - z * (1.0 / 6 - z * (1.0 / 120)));
    const double cosX = (1 - z * (1.0 / 2)) + (z * z) * (1.0 / 24 - z * (1.0 / 720));
    s = table.sin[whole] * cosX + table.cos[whole] * sinX;
    c = table.cos[whole] * cosX - table.sin[whole] * sinX;
}

// The hue of (a, b) in degrees, 0..360, or 0 when the chroma says there is none.
inline double HueOf(double a, double b, double chroma, double achromatic) {
    if (chroma <= achromatic)
        return 0;
    double h = std::atan2(b, a) * kDegreesPerRadian;
    if (h < 0)
        h += 360;
    return h >= 360 ? 0 : h;
}

// Between the rectangular (a, b) of a Lab space and its polar chroma and hue.
struct Rectangular {
    double a, b;
};
struct Polar {
    double chroma, hue;
};
[[gnu::always_inline]] inline Rectangular FromPolar(double chroma, double hue) {
    double s, c;
    SinCosDegrees(hue, s, c);
    return {chroma * c, chroma * s};
}
inline Polar ToPolar(double a, double b, double achromatic) {
    const double chroma = std::sqrt(a * a + b * b);
    return {chroma, HueOf(a, b, chroma, achromatic)};
}

// byte / 255, looked up: a division each costs more than the rest of an HWB conversion.
constexpr std::array<double, 256> kByteToSrgb = [] {
    std::array<double, 256> out{};
    for (int i = 0; i < 256; ++i)
        out[i] = i / 255.0;
    return out;
}();

const std::array<double, 256>& ByteToLinear() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> out{};
        for (int i = 0; i < 256; ++i)
            out[i] = SrgbToLinear(i / 255.0);
        return out;
    }();
    return table;
}

// LinearToSrgb, inlined into the conversions that encode three channels at once.
[[gnu::always_inline]] inline double EncodeChannel(double v) {
    const double a = std::fabs(v);
    if (a <= 0.0031308)
        return 12.92 * v;
    if (!(a <= DBL_MAX))
        return std::copysign(1.055 * std::pow(a, 1 / 2.4) - 0.055, v);
    return std::copysign(1.055 * Power<5, 12>(a) - 0.055, v);
}

[[gnu::always_inline]] inline RGBf Encoded(RGBf linear) {
    return {EncodeChannel(linear.r), EncodeChannel(linear.g), EncodeChannel(linear.b)};
}

RGBf Decoded(RGBf encoded) {
    return {SrgbToLinear(encoded.r), SrgbToLinear(encoded.g), SrgbToLinear(encoded.b)};
}

RGBf Clip(RGBf v) {
    return {Clamp(v.r, 0.0, 1.0), Clamp(v.g, 0.0, 1.0), Clamp(v.b, 0.0, 1.0)};
}

// The hue of HSL and HWB, 0 for greys.
double RgbHue(RGBf c, double max, double min) {
    const double d = max - min;
    if (d == 0)
        return 0;
    double h;
    if (max == c.r)
        h = (c.g - c.b) / d + (c.g < c.b ? 6 : 0);
    else if (max == c.g)
        h = (c.b - c.r) / d + 2;
    else
        h = (c.r - c.g) / d + 4;
    return h * 60;
}

// Saturation and lightness as fractions.
RGBf HslToSrgb(double hue, double s, double l) {
    if (!(hue >= 0 && hue < 360)) {
        hue = std::fmod(hue, 360.0);
        if (hue < 0)
            hue += 360;
    }
    const double a = s * std::min(l, 1 - l);
    auto f = [&](double n) {
        double k = n + hue / 30;
        if (k >= 12)
            k -= 12;
        return l - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}

struct Hsl {
    double h = 0, s = 0, l = 0; // s and l in percent
};

Hsl SrgbToHsl(RGBf c) {
    const double max = std::max({c.r, c.g, c.b});
    const double min = std::min({c.r, c.g, c.b});
    const double l = (max + min) / 2;
    const double d = max - min;
    const double s = (d == 0 || l == 0 || l == 1) ? 0 : (max - l) / std::min(l, 1 - l);
    return {RgbHue(c, max, min), s * 100, l * 100};
}

double DeltaEOK(OKLab x, OKLab y) {
    const double dL = x.L - y.L, da = x.a - y.a, db = x.b - y.b;
    return std::sqrt(dL * dL + da * da + db * db);
}

// The conversions on the way between sRGB and OKLCh, inlined into every chain of them: a
// call each would pass the three channels through memory and keep them from overlapping.
[[gnu::always_inline]] inline OKLab OKLabOfLinear(RGBf linear) {
    const RGBf lms = Apply(kLinearSrgbToLms, linear);
    const RGBf lab = Apply(kLmsToOKLab, {Cbrt(lms.r), Cbrt(lms.g), Cbrt(lms.b)});
    return {lab.r, lab.g, lab.b};
}

[[gnu::always_inline]] inline RGBf LinearOfOKLab(OKLab lab) {
    const RGBf lms = Apply(kOKLabToLms, {lab.L, lab.a, lab.b});
    return Apply(kLmsToLinearSrgb, {Cube(lms.r), Cube(lms.g), Cube(lms.b)});
}

[[gnu::always_inline]] inline OKLab OKLabOfOKLCh(OKLCh lch) {
    const Rectangular ab = FromPolar(lch.C, lch.h);
    return {lch.L, ab.a, ab.b};
}

OKLab SrgbToOKLab(RGBf srgb) {
    return OKLabOfLinear(Decoded(srgb));
}

RGBf OKLChToSrgb(OKLCh lch) {
    return Encoded(LinearOfOKLab(OKLabOfOKLCh(lch)));
}

} // namespace

double SrgbToLinear(double v) {
    const double a = std::fabs(v);
    const double linear = a <= 0.04045 ? a / 12.92 : std::pow((a + 0.055) / 1.055, 2.4);
    return std::copysign(linear, v);
}

double LinearToSrgb(double v) {
    return EncodeChannel(v);
}

RGBf SrgbOf(TColor color) {
    const RGBTriple c = SplitRGB(color);
    return {kByteToSrgb[c.r], kByteToSrgb[c.g], kByteToSrgb[c.b]};
}

RGBf LinearSrgbOf(TColor color) {
    const RGBTriple c = SplitRGB(color);
    const auto& table = ByteToLinear();
    return {table[c.r], table[c.g], table[c.b]};
}

TColor ColorOfSrgb(RGBf srgb) {
    return MakeRGB(RoundChannel(srgb.r), RoundChannel(srgb.g), RoundChannel(srgb.b));
}

OKLab LinearSrgbToOKLab(RGBf linear) {
    return OKLabOfLinear(linear);
}

RGBf OKLabToLinearSrgb(OKLab lab) {
    return LinearOfOKLab(lab);
}

OKLab ColorToOKLab(TColor color) {
    return OKLabOfLinear(LinearSrgbOf(color));
}

OKLCh OKLabToOKLCh(OKLab lab) {
    const Polar ch = ToPolar(lab.a, lab.b, kOKLabAchromatic);
    return {lab.L, ch.chroma, ch.hue};
}

OKLab OKLChToOKLab(OKLCh lch) {
    return OKLabOfOKLCh(lch);
}

CssLab LinearSrgbToCssLab(RGBf linear) {
    const RGBf xyz = Apply(kLinearSrgbToLabXyz, linear);
    auto f = [](double t) { return t > kLabEpsilon ? Cbrt(t) : (kLabKappa * t + 16) / 116; };
    const double fx = f(xyz.r), fy = f(xyz.g), fz = f(xyz.b);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

RGBf CssLabToLinearSrgb(CssLab lab) {
    const double fy = (lab.L + 16) / 116;
    const double fx = lab.a / 500 + fy;
    const double fz = fy - lab.b / 200;
    auto inverse = [](double f) {
        const double cube = Cube(f);
        return cube > kLabEpsilon ? cube : (116 * f - 16) / kLabKappa;
    };
    const double y = lab.L > kLabKappa * kLabEpsilon ? Cube(fy) : lab.L / kLabKappa;
    return Apply(kLabXyzToLinearSrgb, {inverse(fx), y, inverse(fz)});
}

CssLCh CssLabToCssLCh(CssLab lab) {
    const Polar ch = ToPolar(lab.a, lab.b, kLabAchromatic);
    return {lab.L, ch.chroma, ch.hue};
}

CssLab CssLChToCssLab(CssLCh lch) {
    const Rectangular ab = FromPolar(lch.C, lch.h);
    return {lch.L, ab.a, ab.b};
}

CssLab ColorToCssLab(TColor color) {
    return LinearSrgbToCssLab(LinearSrgbOf(color));
}

HWB SrgbToHWB(RGBf srgb) {
    const double max = std::max({srgb.r, srgb.g, srgb.b});
    const double min = std::min({srgb.r, srgb.g, srgb.b});
    return {RgbHue(srgb, max, min), min * 100, (1 - max) * 100};
}

RGBf HWBToSrgb(HWB hwb) {
    const double w = hwb.w / 100, b = hwb.b / 100;
    if (w + b >= 1) {
        const double grey = w / (w + b);
        return {grey, grey, grey};
    }
    const RGBf pure = HslToSrgb(hwb.h, 1, 0.5);
    const double scale = 1 - w - b;
    return {pure.r * scale + w, pure.g * scale + w, pure.b * scale + w};
}

RGBf LinearSrgbToLinearP3(RGBf linear) {
    return Apply(kLinearSrgbToLinearP3, linear);
}

RGBf LinearP3ToLinearSrgb(RGBf linear) {
    return Apply(kLinearP3ToLinearSrgb, linear);
}

RGBf ColorToDisplayP3(TColor color) {
    return Encoded(LinearSrgbToLinearP3(LinearSrgbOf(color)));
}

bool InSrgbGamut(RGBf srgb) {
    // A millionth is far below the 1/510 that moves a rounded byte, and above the error a
    // colour collects on its way through OKLab or Lab and back.
    constexpr double kSlack = 1e-6;
    auto in = [](double v) { return v >= -kSlack && v <= 1 + kSlack; };
    return in(srgb.r) && in(srgb.g) && in(srgb.b);
}

RGBf GamutMapToSrgb(OKLCh lch) {
    constexpr double kJnd = 0.02;
    constexpr double kEpsilon = 0.0001;
    if (!std::isfinite(lch.L) || !std::isfinite(lch.C) || !std::isfinite(lch.h))
        return {};
    if (lch.L >= 1)
        return {1, 1, 1};
    if (lch.L <= 0)
        return {0, 0, 0};
    const RGBf origin = OKLChToSrgb(lch);
    if (InSrgbGamut(origin))
        return Clip(origin);
    RGBf clipped = Clip(origin);
    if (DeltaEOK(SrgbToOKLab(clipped), OKLabOfOKLCh(lch)) < kJnd)
        return clipped;
    double min = 0, max = lch.C;
    bool minInGamut = true;
    OKLCh current = lch;
    while (max - min > kEpsilon) {
        current.C = (min + max) / 2;
        const RGBf srgb = OKLChToSrgb(current);
        if (minInGamut && InSrgbGamut(srgb)) {
            min = current.C;
            continue;
        }
        clipped = Clip(srgb);
        const double e = DeltaEOK(SrgbToOKLab(clipped), OKLabOfOKLCh(current));
        if (e < kJnd) {
            if (kJnd - e < kEpsilon)
                return clipped;
            minInGamut = false;
            min = current.C;
        } else {
            max = current.C;
        }
    }
    return clipped;
}

namespace {

// The byte of each linear value, without the transfer curve: thresholds[b] is the linear
// value halfway (in sRGB) between bytes b and b + 1, and a table of 2048 equal steps of the
// linear range gives the lowest byte in each, which is at most two below the answer.
class LinearToByte {
public:
    LinearToByte() {
        for (int b = 0; b < 255; ++b)
            thresholds_[b] = SrgbToLinear((b + 0.5) / 255);
        thresholds_[255] = thresholds_[256] = 2; // above every value in 0..1
        int b = 0;
        for (int i = 0; i <= kSteps; ++i) {
            while (thresholds_[b] <= static_cast<double>(i) / kSteps)
                ++b;
            lowest_[i] = static_cast<std::uint8_t>(b);
        }
    }

    // v in 0..1.
    [[gnu::always_inline]] std::uint8_t operator()(double v) const {
        const int b = lowest_[static_cast<int>(v * kSteps)];
        return static_cast<std::uint8_t>(b + (v >= thresholds_[b]) + (v >= thresholds_[b + 1]));
    }

private:
    static constexpr int kSteps = 2048;
    std::array<double, 257> thresholds_{};
    std::array<std::uint8_t, kSteps + 1> lowest_{};
};

} // namespace

TColor ColorOfOKLCh(OKLCh lch) {
    static const LinearToByte toByte;
    // The gamma-side slack of InSrgbGamut, taken on the linear side where it is smallest.
    constexpr double kSlack = 1e-6 / 12.92;
    if (!(lch.L > 0 && lch.L < 1))
        return ColorOfSrgb(GamutMapToSrgb(lch)); // white, black, or no colour at all
    const RGBf linear = LinearOfOKLab(OKLabOfOKLCh(lch));
    auto in = [](double v) { return v >= -kSlack && v <= 1 + kSlack; };
    if (!in(linear.r) || !in(linear.g) || !in(linear.b))
        return ColorOfSrgb(GamutMapToSrgb(lch));
    const RGBf clipped = Clip(linear);
    return MakeRGB(toByte(clipped.r), toByte(clipped.g), toByte(clipped.b));
}

TColor ColorOfCss(const CssColor& color) {
    if (InSrgbGamut(color.srgb))
        return ColorOfSrgb(color.srgb);
    return ColorOfSrgb(GamutMapToSrgb(OKLabToOKLCh(SrgbToOKLab(color.srgb))));
}

// ---------------------------------------------------------------------------------------------
// Reading

namespace {

// Far beyond any colour, and small enough that the cubes of the Lab and OKLab conversions and
// the products of HSL stay finite.
constexpr double kComponentLimit = 1e6;

constexpr bool IsCssSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f';
}

constexpr bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

constexpr bool IsLetter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

constexpr bool IsNameChar(char ch) {
    return IsLetter(ch) || IsDigit(ch) || ch == '-' || ch == '_';
}

constexpr char LowerAscii(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// Case-insensitive; `lower` is given in lower case.
bool NameIs(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (LowerAscii(text[i]) != lower[i])
            return false;
    return true;
}

enum class Kind { Number, Percent, Angle, None };

struct Component {
    Kind kind = Kind::None;
    double value = 0; // angles in degrees, 0..360
};

// Reduces an angle in its own unit before converting it, so huge angles stay finite.
double Degrees(double value, double turn, double degreesPerUnit) {
    double reduced = std::fmod(value, turn) * degreesPerUnit;
    if (reduced < 0)
        reduced += 360;
    return reduced >= 360 ? 0 : reduced;
}

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    bool Take(char ch) {
        if (AtEnd() || text_[pos_] != ch)
            return false;
        ++pos_;
        return true;
    }
    void SkipSpace() {
        while (!AtEnd() && IsCssSpace(text_[pos_]))
            ++pos_;
    }
    std::string_view Name() {
        const std::size_t start = pos_;
        if (!AtEnd() && (IsLetter(text_[pos_]) || text_[pos_] == '-'))
            while (!AtEnd() && IsNameChar(text_[pos_]))
                ++pos_;
        return text_.substr(start, pos_ - start);
    }
    // A unit right after a number: letters only, so "2-3" stays two numbers.
    std::string_view Unit() {
        const std::size_t start = pos_;
        while (!AtEnd() && IsLetter(text_[pos_]))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // A number with its unit, or "none".
    std::optional<Component> ReadComponent() {
        SkipSpace();
        if (IsLetter(Peek())) {
            if (NameIs(Name(), "none"))
                return Component{};
            return std::nullopt;
        }
        const std::optional<double> number = ReadNumber();
        if (!number)
            return std::nullopt;
        if (Take('%'))
            return Component{Kind::Percent, *number};
        const std::string_view unit = Unit();
        if (unit.empty())
            return Component{Kind::Number, *number};
        if (NameIs(unit, "deg"))
            return Component{Kind::Angle, Degrees(*number, 360, 1)};
        if (NameIs(unit, "grad"))
            return Component{Kind::Angle, Degrees(*number, 400, 0.9)};
        if (NameIs(unit, "turn"))
            return Component{Kind::Angle, Degrees(*number, 1, 360)};
        if (NameIs(unit, "rad"))
            return Component{Kind::Angle,
                             Degrees(*number, 2 * std::numbers::pi, kDegreesPerRadian)};
        return std::nullopt;
    }

private:
    // The CSS number: a sign, digits with an optional fraction (or a fraction alone), and an
    // optional exponent. "1." and "e5" are not numbers; an "e" without digits starts a unit.
    std::optional<double> ReadNumber() {
        const std::size_t start = pos_;
        const bool negative = Peek() == '-';
        if (Peek() == '+' || Peek() == '-')
            ++pos_;
        // The digits are gathered as an integer on the way, for the fast path below.
        std::uint64_t mantissa = 0;
        int digitCount = 0, exponent = 0;
        auto digit = [&] {
            mantissa = mantissa * 10 + static_cast<unsigned>(text_[pos_++] - '0');
            ++digitCount;
        };
        while (IsDigit(Peek()) && digitCount < 19)
            digit();
        bool digits = digitCount > 0;
        while (IsDigit(Peek())) {
            ++pos_;
            ++digitCount;
        }
        if (Peek() == '.' && pos_ + 1 < text_.size() && IsDigit(text_[pos_ + 1])) {
            ++pos_;
            while (IsDigit(Peek()) && digitCount < 19) {
                digit();
                --exponent;
            }
            while (IsDigit(Peek())) {
                ++pos_;
                ++digitCount;
            }
            digits = true;
        }
        if (!digits)
            return std::nullopt;
        if (Peek() == 'e' || Peek() == 'E') {
            std::size_t p = pos_ + 1;
            const bool negativeExponent = p < text_.size() && text_[p] == '-';
            if (p < text_.size() && (text_[p] == '+' || text_[p] == '-'))
                ++p;
            if (p < text_.size() && IsDigit(text_[p])) {
                pos_ = p;
                int written = 0;
                while (IsDigit(Peek())) {
                    written = std::min(written * 10 + (text_[pos_++] - '0'), 100000);
                }
                exponent += negativeExponent ? -written : written;
            }
        }
        // Up to 15 digits and a power of ten up to 22 are both exact doubles, so one
        // multiplication or division rounds correctly; anything longer goes to the library.
        static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        if (digitCount <= 15 && exponent >= -22 && exponent <= 22) {
            double value = static_cast<double>(mantissa);
            value = exponent < 0 ? value / kPowers[-exponent] : value * kPowers[exponent];
            return negative ? -value : value;
        }
        // from_chars reads no leading '+'.
        const char* first = text_.data() + start + (text_[start] == '+' ? 1 : 0);
        double value = 0;
        const auto result = std::from_chars(first, text_.data() + pos_, value);
        if (result.ec != std::errc() || result.ptr != text_.data() + pos_ || !std::isfinite(value))
            return std::nullopt;
        return value;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

struct Arguments {
    std::array<Component, 3> c;
    Component alpha{Kind::Number, 1};
    bool legacy = false;
};

// Three components and an optional alpha, to the closing parenthesis and the end of the text:
// "a, b, c[, alpha]" in the legacy form, "a b c[ / alpha]" in the modern one.
std::optional<Arguments> ReadArguments(Reader& reader, bool legacyAllowed) {
    Arguments args;
    std::optional<Component> first = reader.ReadComponent();
    if (!first)
        return std::nullopt;
    args.c[0] = *first;
    reader.SkipSpace();
    args.legacy = legacyAllowed && reader.Peek() == ',';
    for (int i = 1; i < 3; ++i) {
        if (args.legacy) {
            reader.SkipSpace();
            if (!reader.Take(','))
                return std::nullopt;
        }
        std::optional<Component> next = reader.ReadComponent();
        if (!next)
            return std::nullopt;
        args.c[i] = *next;
    }
    reader.SkipSpace();
    if (reader.Take(args.legacy ? ',' : '/')) {
        std::optional<Component> alpha = reader.ReadComponent();
        if (!alpha || alpha->kind == Kind::Angle)
            return std::nullopt;
        args.alpha = *alpha;
        reader.SkipSpace();
    }
    if (!reader.Take(')') || !reader.AtEnd())
        return std::nullopt;
    if (args.legacy) {
        for (const Component& c : args.c)
            if (c.kind == Kind::None)
                return std::nullopt;
        if (args.alpha.kind == Kind::None)
            return std::nullopt;
    }
    return args;
}

double Bounded(double v) {
    return Clamp(v, -kComponentLimit, kComponentLimit);
}

// A number, or a percentage of `percentScale`; "none" is 0. Angles are refused by the caller.
double Scaled(const Component& c, double percentScale) {
    if (c.kind == Kind::None)
        return 0;
    return Bounded(c.kind == Kind::Percent ? c.value * percentScale : c.value);
}

bool IsHue(const Component& c) {
    return c.kind != Kind::Percent;
}

bool NumberOrPercent(const Component& c) {
    return c.kind != Kind::Angle;
}

double HueValue(const Component& c) {
    if (c.kind == Kind::Number)
        return Degrees(c.value, 360, 1);
    return c.value; // angles are already reduced; "none" is 0
}

std::optional<RGBf> ReadRgb(const Arguments& args) {
    RGBf out;
    double* channels[] = {&out.r, &out.g, &out.b};
    for (int i = 0; i < 3; ++i) {
        const Component& c = args.c[i];
        if (!NumberOrPercent(c) || (args.legacy && c.kind != args.c[0].kind))
            return std::nullopt;
        *channels[i] = c.kind == Kind::Percent ? Clamp(c.value / 100, 0.0, 1.0)
                                               : Clamp(Scaled(c, 0), 0.0, 255.0) / 255;
    }
    return out;
}

std::optional<RGBf> ReadHsl(const Arguments& args) {
    if (!IsHue(args.c[0]) || !NumberOrPercent(args.c[1]) || !NumberOrPercent(args.c[2]))
        return std::nullopt;
    if (args.legacy && (args.c[1].kind != Kind::Percent || args.c[2].kind != Kind::Percent))
        return std::nullopt;
    const double s = std::max(0.0, Scaled(args.c[1], 1)) / 100;
    const double l = Scaled(args.c[2], 1) / 100;
    return HslToSrgb(HueValue(args.c[0]), s, l);
}

std::optional<RGBf> ReadHwb(const Arguments& args) {
    if (!IsHue(args.c[0]) || !NumberOrPercent(args.c[1]) || !NumberOrPercent(args.c[2]))
        return std::nullopt;
    return HWBToSrgb({HueValue(args.c[0]), Scaled(args.c[1], 1), Scaled(args.c[2], 1)});
}

// lab() and lch() when `cssLab`, oklab() and oklch() otherwise.
std::optional<RGBf> ReadLab(const Arguments& args, bool cssLab, bool polar) {
    for (int i = 0; i < 3; ++i)
        if ((i == 2 && polar) ? !IsHue(args.c[i]) : !NumberOrPercent(args.c[i]))
            return std::nullopt;
    const double lightnessMax = cssLab ? 100 : 1;
    const double L = Clamp(Scaled(args.c[0], lightnessMax / 100), 0.0, lightnessMax);
    double a, b;
    if (polar) {
        const double chroma = std::max(0.0, Scaled(args.c[1], cssLab ? 1.5 : 0.004));
        const Rectangular ab = FromPolar(chroma, HueValue(args.c[2]));
        a = ab.a;
        b = ab.b;
    } else {
        a = Scaled(args.c[1], cssLab ? 1.25 : 0.004);
        b = Scaled(args.c[2], cssLab ? 1.25 : 0.004);
    }
    const RGBf linear = cssLab ? CssLabToLinearSrgb({L, a, b}) : OKLabToLinearSrgb({L, a, b});
    return Encoded(linear);
}

std::optional<RGBf> ReadColorFunction(Reader& reader, Arguments& args) {
    reader.SkipSpace();
    const std::string_view space = reader.Name();
    const bool srgb = NameIs(space, "srgb");
    if (!srgb && !NameIs(space, "display-p3"))
        return std::nullopt;
    if (!IsCssSpace(reader.Peek()))
        return std::nullopt;
    std::optional<Arguments> read = ReadArguments(reader, false);
    if (!read)
        return std::nullopt;
    args = *read;
    RGBf v;
    double* channels[] = {&v.r, &v.g, &v.b};
    for (int i = 0; i < 3; ++i) {
        if (!NumberOrPercent(args.c[i]))
            return std::nullopt;
        *channels[i] = Scaled(args.c[i], 0.01);
    }
    if (srgb)
        return v;
    return Encoded(LinearP3ToLinearSrgb(Decoded(v)));
}

std::optional<CssColor> ReadHex(std::string_view digits) {
    const std::size_t n = digits.size();
    if (n != 3 && n != 4 && n != 6 && n != 8)
        return std::nullopt;
    std::array<int, 4> bytes{0, 0, 0, 255};
    const bool shortForm = n <= 4;
    const std::size_t count = shortForm ? n : n / 2;
    for (std::size_t i = 0; i < count; ++i) {
        if (shortForm) {
            const int v = HexDigitValue(digits[i]);
            if (v < 0)
                return std::nullopt;
            bytes[i] = v * 17;
        } else {
            const int hi = HexDigitValue(digits[2 * i]);
            const int lo = HexDigitValue(digits[2 * i + 1]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            bytes[i] = hi * 16 + lo;
        }
    }
    return CssColor{{bytes[0] / 255.0, bytes[1] / 255.0, bytes[2] / 255.0}, bytes[3] / 255.0};
}

std::optional<CssColor> ReadNamed(std::string_view name) {
    if (NameIs(name, "transparent"))
        return CssColor{{0, 0, 0}, 0};
    // Added to CSS after the HTML table was drawn up.
    if (NameIs(name, "rebeccapurple"))
        return CssColor{SrgbOf(ColorFromHex(0x663399)), 1};
    for (const NamedColor& entry : HTMLColorNames())
        if (NameIs(name, entry.name))
            return CssColor{SrgbOf(entry.color), 1};
    return std::nullopt;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsCssSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsCssSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<CssColor> ParseCssColor(std::string_view text) {
    text = Trimmed(text);
    if (text.empty())
        return std::nullopt;
    if (text.front() == '#')
        return ReadHex(text.substr(1));
    Reader reader(text);
    const std::string_view name = reader.Name();
    if (name.empty())
        return std::nullopt;
    if (reader.AtEnd())
        return ReadNamed(name);
    if (!reader.Take('('))
        return std::nullopt;

    Arguments args;
    std::optional<RGBf> srgb;
    if (NameIs(name, "color")) {
        srgb = ReadColorFunction(reader, args);
    } else {
        const bool rgb = NameIs(name, "rgb") || NameIs(name, "rgba");
        const bool hsl = NameIs(name, "hsl") || NameIs(name, "hsla");
        std::optional<Arguments> read = ReadArguments(reader, rgb || hsl);
        if (!read)
            return std::nullopt;
        args = *read;
        if (rgb)
            srgb = ReadRgb(args);
        else if (hsl)
            srgb = ReadHsl(args);
        else if (NameIs(name, "hwb"))
            srgb = ReadHwb(args);
        else if (NameIs(name, "lab"))
            srgb = ReadLab(args, true, false);
        else if (NameIs(name, "lch"))
            srgb = ReadLab(args, true, true);
        else if (NameIs(name, "oklab"))
            srgb = ReadLab(args, false, false);
        else if (NameIs(name, "oklch"))
            srgb = ReadLab(args, false, true);
    }
    if (!srgb || !NumberOrPercent(args.alpha))
        return std::nullopt;
    return CssColor{*srgb, Clamp(Scaled(args.alpha, 0.01), 0.0, 1.0)};
}

// ---------------------------------------------------------------------------------------------
// Writing

namespace {

// Decimals per component: the fewest with which every RGB colour reads back as itself.
struct Decimals {
    int c0, c1, c2;
};
constexpr Decimals kHslDecimals{1, 1, 1};
constexpr Decimals kHwbDecimals{1, 1, 1};
constexpr Decimals kLabDecimals{2, 2, 2};
constexpr Decimals kLchDecimals{2, 2, 2};
constexpr Decimals kOklabDecimals{2, 5, 5}; // L in percent
constexpr Decimals kOklchDecimals{2, 5, 2}; // L in percent
constexpr Decimals kP3Decimals{4, 4, 4};
constexpr int kAlphaDecimals = 3;

// Fixed notation without trailing zeros, a trailing point or a minus sign on zero.
void AppendNumber(std::string& out, double value, int decimals) {
    static constexpr double kScales[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
    const double scaled = value * kScales[decimals];
    if (!(std::fabs(scaled) < 1e15)) {
        // Out of the range of the integer path: only colours far outside any gamut get here.
        AppendFixedTrimmed(out, value, decimals);
        return;
    }
    // The value in units of the last decimal, written from the right with the point put in. A
    // negative value that rounds to zero gets no sign.
    std::int64_t units = RoundHalfEven(scaled);
    if (units < 0) {
        out += '-';
        units = -units;
    }
    char buf[24];
    char* end = buf + sizeof buf;
    char* p = end;
    bool significant = false; // a digit other than a trailing zero was written
    for (int place = 0; place < decimals; ++place) {
        const char d = static_cast<char>('0' + units % 10);
        units /= 10;
        if (d != '0' || significant) {
            *--p = d;
            significant = true;
        }
    }
    if (significant)
        *--p = '.';
    do {
        *--p = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units > 0);
    out.append(p, end);
}

// A hue with its digits; "360" wraps to "0", and a colour whose chroma was written as zero
// gets hue 0, since its hue means nothing.
void AppendHue(std::string& out, double hue, int decimals, bool achromatic) {
    const std::size_t start = out.size();
    if (!achromatic)
        AppendNumber(out, hue, decimals);
    if (achromatic || std::string_view(out).substr(start) == "360") {
        out.resize(start);
        out += '0';
    }
}

// Appends the number and tells whether it was written as zero.
bool AppendNumberIsZero(std::string& out, double value, int decimals) {
    const std::size_t start = out.size();
    AppendNumber(out, value, decimals);
    return std::string_view(out).substr(start) == "0";
}

void AppendClose(std::string& out, double alpha) {
    if (alpha < 1) {
        const std::size_t start = out.size();
        out += " / ";
        AppendNumber(out, Clamp(alpha, 0.0, 1.0), kAlphaDecimals);
        if (std::string_view(out).substr(start) == " / 1")
            out.resize(start);
    }
    out += ')';
}

void AppendHexLower(std::string& out, unsigned value) {
    static constexpr char digits[] = "0123456789abcdef";
    out += digits[(value >> 4) & 0xF];
    out += digits[value & 0xF];
}

bool IsRgbNotation(CssNotation notation) {
    return notation == CssNotation::Hex || notation == CssNotation::Rgb ||
           notation == CssNotation::Hsl || notation == CssNotation::Hwb;
}

std::string FormatRgbNotation(TColor color, double alpha, CssNotation notation) {
    const RGBTriple c = SplitRGB(color);
    std::string out;
    out.reserve(40);
    switch (notation) {
    case CssNotation::Hex: {
        out += '#';
        AppendHexLower(out, c.r);
        AppendHexLower(out, c.g);
        AppendHexLower(out, c.b);
        const std::uint8_t a = RoundChannel(alpha);
        if (a < 255)
            AppendHexLower(out, a);
        return out;
    }
    case CssNotation::Rgb:
        out += "rgb(";
        AppendNumber(out, c.r, 0);
        out += ' ';
        AppendNumber(out, c.g, 0);
        out += ' ';
        AppendNumber(out, c.b, 0);
        break;
    case CssNotation::Hsl: {
        const Hsl hsl = SrgbToHsl(SrgbOf(color));
        out += "hsl(";
        std::string rest;
        const bool grey = AppendNumberIsZero(rest, hsl.s, kHslDecimals.c1);
        rest += "% ";
        AppendNumber(rest, hsl.l, kHslDecimals.c2);
        rest += '%';
        AppendHue(out, hsl.h, kHslDecimals.c0, grey);
        out += ' ';
        out += rest;
        break;
    }
    default: {
        const HWB hwb = SrgbToHWB(SrgbOf(color));
        out += "hwb(";
        AppendHue(out, hwb.h, kHwbDecimals.c0, false);
        out += ' ';
        AppendNumber(out, hwb.w, kHwbDecimals.c1);
        out += "% ";
        AppendNumber(out, hwb.b, kHwbDecimals.c2);
        out += '%';
        break;
    }
    }
    AppendClose(out, alpha);
    return out;
}

// The notations that can hold colours outside sRGB, from linear sRGB.
std::string FormatWideNotation(RGBf linear, double alpha, CssNotation notation) {
    std::string out;
    out.reserve(48);
    switch (notation) {
    case CssNotation::Lab: {
        const CssLab lab = LinearSrgbToCssLab(linear);
        out += "lab(";
        AppendNumber(out, lab.L, kLabDecimals.c0);
        out += ' ';
        AppendNumber(out, lab.a, kLabDecimals.c1);
        out += ' ';
        AppendNumber(out, lab.b, kLabDecimals.c2);
        break;
    }
    case CssNotation::Lch: {
        const CssLCh lch = CssLabToCssLCh(LinearSrgbToCssLab(linear));
        out += "lch(";
        AppendNumber(out, lch.L, kLchDecimals.c0);
        out += ' ';
        const bool grey = AppendNumberIsZero(out, lch.C, kLchDecimals.c1);
        out += ' ';
        AppendHue(out, lch.h, kLchDecimals.c2, grey);
        break;
    }
    case CssNotation::Oklab: {
        const OKLab lab = LinearSrgbToOKLab(linear);
        out += "oklab(";
        AppendNumber(out, lab.L * 100, kOklabDecimals.c0);
        out += "% ";
        AppendNumber(out, lab.a, kOklabDecimals.c1);
        out += ' ';
        AppendNumber(out, lab.b, kOklabDecimals.c2);
        break;
    }
    case CssNotation::Oklch: {
        const OKLCh lch = OKLabToOKLCh(LinearSrgbToOKLab(linear));
        out += "oklch(";
        AppendNumber(out, lch.L * 100, kOklchDecimals.c0);
        out += "% ";
        const bool grey = AppendNumberIsZero(out, lch.C, kOklchDecimals.c1);
        out += ' ';
        AppendHue(out, lch.h, kOklchDecimals.c2, grey);
        break;
    }
    default: {
        const RGBf p3 = Encoded(LinearSrgbToLinearP3(linear));
        out += "color(display-p3 ";
        AppendNumber(out, p3.r, kP3Decimals.c0);
        out += ' ';
        AppendNumber(out, p3.g, kP3Decimals.c1);
        out += ' ';
        AppendNumber(out, p3.b, kP3Decimals.c2);
        break;
    }
    }
    AppendClose(out, alpha);
    return out;
}

} // namespace

std::string FormatCssColor(const CssColor& color, CssNotation notation) {
    // The sRGB notations write the nearest RGB colour; the others keep what sRGB cannot show.
    if (IsRgbNotation(notation))
        return FormatRgbNotation(ColorOfCss(color), color.alpha, notation);
    return FormatWideNotation(Decoded(color.srgb), color.alpha, notation);
}

std::string FormatCssColor(TColor color, CssNotation notation) {
    if (IsRgbNotation(notation))
        return FormatRgbNotation(color & 0xFFFFFF, 1, notation);
    return FormatWideNotation(LinearSrgbOf(color), 1, notation);
}

} // namespace chromint
