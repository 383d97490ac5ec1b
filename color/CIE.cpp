#include "CIE.h"

#include "Rounding.h"

#include <array>
#include <cmath>
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

double LabF(double t) {
    return t > 0.008856 ? std::pow(t, 1.0 / 3) : 7.787 * t + 0.138;
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
    return MakeRGB(ToChannel(Compand(r)), ToChannel(Compand(g)), ToChannel(Compand(b)));
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
