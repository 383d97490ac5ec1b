#include "CIE.h"

#include "Rounding.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace chromint {

namespace {
constexpr double kWhiteX = 96.422;
constexpr double kWhiteY = 100.0;
constexpr double kWhiteZ = 82.521;

double LinearChannel(int v) {
    double c = v / 255.0;
    if (c <= 0.04045)
        c = c / 12.92;
    else
        c = std::pow((c + 0.055) / 1.055, 2.4);
    return c * 100;
}

// The transfer curve depends on the channel byte alone, so it is computed once per level.
const std::array<double, 256>& LinearTable() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = LinearChannel(i);
        return t;
    }();
    return table;
}

// t^(1/3) for a positive normal double, within a few units in the last place of the library
// power function and without its cost: a table holds the cube root at the centre of each
// 1/256 of the mantissa range, for each exponent residue, and a short series in the offset
// from that centre finishes the job.
class CubeRootTable {
public:
    CubeRootTable() {
        for (int i = 0; i < kSlots; ++i) {
            const long double centre = 1 + (i + 0.5L) / kSlots;
            inverseCentre_[i] = static_cast<double>(1 / centre);
            for (int r = 0; r < 3; ++r)
                root_[r][i] = static_cast<double>(std::cbrt(centre * (1 << r)));
        }
    }

    double operator()(double x) const {
        const auto bits = std::bit_cast<std::uint64_t>(x);
        const int exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
        const int slot = static_cast<int>((bits >> (52 - 8)) & (kSlots - 1));
        const double mantissa =
            std::bit_cast<double>((bits & 0x000FFFFFFFFFFFFFull) | 0x3FF0000000000000ull);
        // exponent = 3 * third + residue, residue in 0..2, for negative exponents too.
        const int third = (exponent + 3 * 400) / 3 - 400;
        const int residue = exponent - 3 * third;
        const double d = mantissa * inverseCentre_[slot] - 1; // |d| <= 1/513
        const double series =
            1 +
            d * (1.0 / 3 + d * (-1.0 / 9 + d * (5.0 / 81 + d * (-10.0 / 243 + d * (22.0 / 729)))));
        const double scale = std::bit_cast<double>(static_cast<std::uint64_t>(third + 1023) << 52);
        return root_[residue][slot] * series * scale;
    }

private:
    static constexpr int kSlots = 256;
    double inverseCentre_[kSlots];
    double root_[3][kSlots];
};

double LabF(double t) {
    static const CubeRootTable cubeRoot;
    if (!(t > 0.008856))
        return 7.787 * t + 0.138;
    return t < 1e300 ? cubeRoot(t) : std::pow(t, 1.0 / 3);
}

double LabFInverse(double f) {
    return f > 0.2069 ? f * f * f : (f - 0.138) / 7.787;
}

double Compand(double v) {
    if (v <= 0.00313)
        return 12.92 * v;
    return 1.055 * std::pow(v, 1 / 2.4) - 0.055;
}

std::uint8_t ToChannel(double v) {
    if (!(v == v))
        return 0;
    return RoundChannel(Clamp(v, 0.0, 1.0));
}

// The byte a linear channel ends as, Round(255 x companded value), without calling the power
// function: above the linear segment the byte only grows with v, so it is found from the
// points where it steps up. Those are located once, on the power function itself, so the
// bytes are the ones the direct evaluation gives.
class CompandTable {
public:
    CompandTable() {
        bucketByte_[0] = kFirstByte;
        for (int b = 1; b <= kBuckets; ++b) {
            const double start = static_cast<double>(b) / kBuckets;
            bucketByte_[b] = start <= kLinearEnd ? kFirstByte : Direct(start);
        }
        for (int k = 0; k <= 256; ++k)
            stepAt_[k] = HUGE_VAL;
        for (int k = kFirstByte + 1; k <= 255; ++k)
            stepAt_[k] = FirstAtLeast(k);
    }

    std::uint8_t operator()(double v) const {
        if (!(v > kLinearEnd) || !(v < 1.0))
            return ToChannel(Compand(v));
        const int byte = bucketByte_[static_cast<int>(v * kBuckets)];
        return static_cast<std::uint8_t>(byte + int(v >= stepAt_[byte + 1]));
    }

private:
    static constexpr double kLinearEnd = 0.00313;
    // Round(255 x companded value) just above the linear segment.
    static constexpr int kFirstByte = 10;
    // Fine enough that no bucket holds more than one step (checked by the tests).
    static constexpr int kBuckets = 4096;

    static int Direct(double v) { return ToChannel(Compand(v)); }

    // The smallest double above the linear segment whose byte is at least k. Positive
    // doubles order like their bit patterns, so this bisects on those.
    static double FirstAtLeast(int k) {
        auto lo = std::bit_cast<std::uint64_t>(kLinearEnd); // byte below k
        auto hi = std::bit_cast<std::uint64_t>(1.0);        // byte 255 >= k
        while (hi - lo > 1) {
            const std::uint64_t mid = lo + (hi - lo) / 2;
            if (Direct(std::bit_cast<double>(mid)) >= k)
                hi = mid;
            else
                lo = mid;
        }
        return std::bit_cast<double>(hi);
    }

    std::uint8_t bucketByte_[kBuckets + 1];
    double stepAt_[257];
};

std::uint8_t LinearToChannel(double v) {
    static const CompandTable table;
    return table(v);
}
} // namespace

XYZ RGBToXYZ(TColor color) {
    const auto& lin = LinearTable();
    const RGBTriple c = SplitRGB(color);
    const double r = lin[c.r], g = lin[c.g], b = lin[c.b];
    return {0.4124 * r + 0.3576 * g + 0.1805 * b, 0.2126 * r + 0.7152 * g + 0.0722 * b,
            0.0193 * r + 0.1192 * g + 0.9505 * b};
}

Lab XYZToLab(double x, double y, double z) {
    const double fx = LabF(x / kWhiteX);
    const double fy = LabF(y / kWhiteY);
    const double fz = LabF(z / kWhiteZ);
    return {Clamp(116 * fy - 16, 0.0, 100.0), Clamp(500 * (fx - fy), -128.0, 127.0),
            Clamp(200 * (fy - fz), -128.0, 127.0)};
}

Lab RGBToLab(TColor color) {
    const XYZ xyz = RGBToXYZ(color);
    return XYZToLab(xyz.x, xyz.y, xyz.z);
}

XYZ LabToXYZ(double l, double a, double b) {
    const double fy = (l + 16) / 116;
    const double fx = fy + a / 500;
    const double fz = fy - b / 200;
    return {kWhiteX * LabFInverse(fx), kWhiteY * LabFInverse(fy), kWhiteZ * LabFInverse(fz)};
}

TColor XYZToRGB(double X, double Y, double Z) {
    const double x = X / 100, y = Y / 100, z = Z / 100;
    const double r = 3.2406 * x - 1.5372 * y - 0.49 * z;
    const double g = -0.969 * x + 1.8758 * y + 0.0415 * z;
    const double b = 0.0557 * x - 0.204 * y + 1.057 * z;
    return MakeRGB(LinearToChannel(r), LinearToChannel(g), LinearToChannel(b));
}

TColor LabToRGB(double l, double a, double b) {
    const XYZ xyz = LabToXYZ(l, a, b);
    return XYZToRGB(xyz.x, xyz.y, xyz.z);
}

LCh LabToLCh(double l, double a, double b) {
    const double theta = std::atan2(b, a);
    const double h = theta > 0 ? theta * 180 / std::numbers::pi
                               : 360 - std::fabs(theta) * 180 / std::numbers::pi;
    return {l, std::sqrt(a * a + b * b), h};
}

double GetCIEXValue(TColor color) {
    return RGBToXYZ(color).x;
}
double GetCIEYValue(TColor color) {
    return RGBToXYZ(color).y;
}
double GetCIEZValue(TColor color) {
    return RGBToXYZ(color).z;
}
double GetCIELValue(TColor color) {
    return RGBToLab(color).l;
}
double GetCIEAValue(TColor color) {
    return RGBToLab(color).a;
}
double GetCIEBValue(TColor color) {
    return RGBToLab(color).b;
}
double GetCIECValue(TColor color) {
    const Lab lab = RGBToLab(color);
    return LabToLCh(lab.l, lab.a, lab.b).c;
}
double GetCIEHValue(TColor color) {
    const Lab lab = RGBToLab(color);
    return LabToLCh(lab.l, lab.a, lab.b).h;
}

} // namespace chromint
