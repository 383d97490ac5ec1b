#include "ColorOperations.h"

#include "ColorUtils.h"
#include "Rounding.h"

#include <algorithm>
#include <chrono>

namespace chromint {

namespace {
TColor Grey(int g) {
    const std::uint8_t v = ClampByte(g);
    return MakeRGB(v, v, v);
}

// floor(a / 256) for the blends, which floor their quotient towards minus infinity.
constexpr std::int64_t FloorDiv256(std::int64_t a) {
    return a >> 8;
}

// Round(2.55 * percent) on the exact value: (255 * percent) / 100, halves to even.
int BlendWeight(int percent) {
    percent = std::clamp(percent, 0, 100);
    const int num = 255 * percent;
    int q = num / 100;
    const int r = num % 100;
    if (r > 50 || (r == 50 && (q & 1)))
        ++q;
    return q;
}
} // namespace

TColor Desaturate(TColor color, int method) {
    const RGBTriple c = SplitRGB(color);
    switch (method) {
    case DesaturateStandard:
        return Grey((c.r + c.g + c.b) / 3);
    case DesaturateNTSC:
        return Grey(static_cast<int>(
            Clamp<std::int64_t>(RoundHalfEven(0.299 * c.r + 0.587 * c.g + 0.114 * c.b), 0, 255)));
    case DesaturateInfrared: {
        const int g2 = std::min(2 * c.g, 255);
        return Grey(
            static_cast<int>(Clamp<std::int64_t>(RoundHalfEven(0.3 * c.r + 0.59 * g2), 0, 255)));
    }
    case DesaturateRed:
        return Grey(c.r);
    case DesaturateGreen:
        return Grey(c.g);
    case DesaturateBlue:
        return Grey(c.b);
    case DesaturateHybrid:
        return Grey((21 * c.r + 71 * c.g + 8 * c.b) / 100);
    default:
        return MakeRGB(c);
    }
}

TColor InvertColor(TColor color) {
    return ResolveSystemColor(color) ^ 0xFFFFFF;
}

TColor SwapRG(TColor color) {
    const RGBTriple c = SplitRGB(color);
    return MakeRGB(c.g, c.r, c.b);
}
TColor SwapRB(TColor color) {
    const RGBTriple c = SplitRGB(color);
    return MakeRGB(c.b, c.g, c.r);
}
TColor SwapGB(TColor color) {
    const RGBTriple c = SplitRGB(color);
    return MakeRGB(c.r, c.b, c.g);
}

RandomSource& GlobalRandom() {
    static RandomSource source;
    return source;
}

void RandomizeGlobal() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    GlobalRandom().Seed(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

TColor RandomRGB() {
    return GlobalRandom().Next(0x1000000);
}

TColorArray RandomColorsNear(TColor color, std::uint16_t count) {
    TColorArray out;
    out.reserve(count);
    const RGBTriple c = SplitRGB(color);
    RandomSource& random = GlobalRandom();
    for (int i = 0; i < count; ++i) {
        const auto r = static_cast<std::uint8_t>((random.Next(255) + c.r) / 2);
        const auto g = static_cast<std::uint8_t>((random.Next(255) + c.g) / 2);
        const auto b = static_cast<std::uint8_t>((random.Next(255) + c.b) / 2);
        out.push_back(MakeRGB(r, g, b));
    }
    return out;
}

TColor RandomColorNear(TColor color) {
    return RandomColorsNear(color, 1).front();
}

TColor BlendPercent(TColor c1, TColor c2, int percent) {
    const RGBTriple a = SplitRGB(ResolveSystemColor(c1));
    const RGBTriple b = SplitRGB(ResolveSystemColor(c2));
    const int w = BlendWeight(percent);
    auto mix = [w](int x, int y) {
        return static_cast<std::uint8_t>(x + FloorDiv256(std::int64_t(y - x) * w));
    };
    return MakeRGB(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

TColor BlendHSL(TColor c1, TColor c2, std::uint8_t position, std::uint8_t count) {
    // The blend works on a 0..256 HSL scale whatever the engine range is set to.
    constexpr HSLRange range{256, 256, 256};
    const RGBTriple a = SplitRGB(c1);
    const RGBTriple b = SplitRGB(c2);
    const HSLInt h1 = RGBToHSL(a.r, a.g, a.b, range);
    const HSLInt h2 = RGBToHSL(b.r, b.g, b.b, range);
    // A count of 0 would divide by zero; it blends nothing.
    const std::int64_t k = count == 0 ? 0 : RoundHalfEven(256.0 / count * position);
    auto mix = [k](int x, int y) {
        return static_cast<int>(x + FloorDiv256(std::int64_t(y - x) * k));
    };
    return MakeRGB(HSLToRGB(mix(h1.h, h2.h), mix(h1.s, h2.s), mix(h1.l, h2.l), range));
}

TColor BlendLinear(TColor c1, TColor c2, double t) {
    const RGBTriple a = SplitRGB(c1);
    const RGBTriple b = SplitRGB(c2);
    auto mix = [t](int x, int y) { return ClampByte(RoundHalfEven(t * (y - x) + x)); };
    return MakeRGB(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

TColorArray Gradient(TColor c1, TColor c2, std::uint16_t steps) {
    TColorArray out;
    if (steps == 0)
        return out;
    out.reserve(steps + 2u);
    const double increment = 1.0 / (steps + 1);
    double t = 0;
    for (int i = 0; i < steps + 2; ++i) {
        out.push_back(BlendLinear(c1, c2, t));
        t += increment;
    }
    return out;
}

TColor NearestColor(TColor color, std::span<const TColor> colors, int lastIndex) {
    const int last = std::min<std::int64_t>(lastIndex, std::int64_t(colors.size()) - 1);
    if (last < 0)
        return clNone;
    const RGBTriple c = SplitRGB(color);
    int best = 0;
    int bestDistance = INT32_MAX;
    for (int i = 0; i <= last; ++i) {
        const RGBTriple e = SplitRGB(colors[i]);
        const int dr = e.r - c.r, dg = e.g - c.g, db = e.b - c.b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return colors[best];
}

TColor Sepia(TColor color, int depth, int intensity) {
    const RGBTriple c = SplitRGB(color);
    const long double exact = 0.3L * c.r + 0.59L * c.g + 0.11L * c.b;
    const int grey = static_cast<int>(Clamp<std::int64_t>(RoundHalfEven(exact), 0, 255));
    const int d = depth & 0x7F;
    const int i = intensity & 0xFF;
    return MakeRGB(ClampByte(grey + 2 * d), ClampByte(grey + d), ClampByte(grey - i));
}

TColor MixOpacity(TColor c1, TColor c2, int a) {
    const RGBTriple x = SplitRGB(ResolveSystemColor(c1));
    const RGBTriple y = SplitRGB(ResolveSystemColor(c2));
    const std::int64_t base = a < 100 ? 100 : 1000;
    auto mix = [a, base](int v1, int v2) {
        return static_cast<std::uint8_t>((v2 * (base - a) + std::int64_t(v1) * a + base / 2) /
                                         base);
    };
    return MakeRGB(mix(x.r, y.r), mix(x.g, y.g), mix(x.b, y.b));
}

} // namespace chromint
