#include "PickerConversions.h"

#include "Rounding.h"

#include <algorithm>

namespace chromint {

namespace {
PickerHSLScale g_pickerScale;

constexpr std::array<std::uint8_t, 256> MakeWebSafeTable() {
    std::array<std::uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<std::uint8_t>(((i + 25) / 51) * 51);
    return t;
}
constexpr std::array<std::uint8_t, 256> kWebSafeTable = MakeWebSafeTable();

// Six-sector HSV scheme shared by the picker conversion and the square; any other sector is
// black. The sector is picked by table, as it changes from one colour to the next at random.
TColor SectorColor(int sector, int v, int p, int q, int t) {
    static constexpr std::uint8_t kOrder[7][3] = {{0, 3, 1}, {2, 0, 1}, {1, 0, 3}, {1, 2, 0},
                                                  {3, 1, 0}, {0, 1, 2}, {4, 4, 4}};
    const int levels[5] = {v, p, q, t, 0};
    const auto& order = kOrder[static_cast<unsigned>(sector) < 6 ? sector : 6];
    return MakeRGB(ClampByte(levels[order[0]]), ClampByte(levels[order[1]]),
                   ClampByte(levels[order[2]]));
}
} // namespace

PickerHSLScale GetPickerHSLScale() {
    return g_pickerScale;
}

void SetPickerHSLScale(int maxHue, int maxSat, int maxLum) {
    if (maxHue > 0 && maxSat > 0 && maxLum > 0)
        g_pickerScale = {maxHue, maxSat, maxLum};
}

const std::array<std::uint8_t, 256>& WebSafeTable() {
    return kWebSafeTable;
}

TColor NearestWebSafe(TColor color) {
    const RGBTriple c = SplitRGB(color);
    return MakeRGB(kWebSafeTable[c.r], kWebSafeTable[c.g], kWebSafeTable[c.b]);
}

HSVInt PickerRGBToHSV(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return RGBToHSV(r, g, b);
}

static HSVInt PickerHSVOf(TColor c) {
    const RGBTriple t = SplitRGB(c);
    return PickerRGBToHSV(t.r, t.g, t.b);
}
int PickerGetHValue(TColor color) {
    return PickerHSVOf(color).h;
}
int PickerGetSValue(TColor color) {
    return PickerHSVOf(color).s;
}
int PickerGetVValue(TColor color) {
    return PickerHSVOf(color).v;
}

TColor PickerHSVToRGB(int h, int s, int v) {
    if (h > 360)
        h -= 360;
    else if (h < 0)
        h += 360;
    if (s == 0)
        return MakeRGB(ClampByte(v), ClampByte(v), ClampByte(v));
    if (h == 360)
        h = 0;
    const int f = h % 60;
    const int i = h / 60;
    const std::int64_t V = v, S = s;
    const int p = static_cast<int>(V - (V * S) / 255);
    const int q = static_cast<int>(V - (V * S * f) / 15300);
    const int t = static_cast<int>(V - (V * S * (60 - f)) / 15300);
    return SectorColor(i, v, p, q, t);
}

std::uint32_t PickerHSVToBGR(int h, int s, int v) {
    const TColor c = PickerHSVToRGB(h, s, v);
    return (c & 0x00FF00) | ((c & 0xFF) << 16) | ((c >> 16) & 0xFF);
}

TColor PickerHSLToRGB(int H, int S, int L) {
    const PickerHSLScale sc = g_pickerScale;
    S = Clamp(S, 0, sc.maxSat);
    L = Clamp(L, 0, sc.maxLum);
    const double h = double(H) / sc.maxHue;
    const double s = double(S) / sc.maxSat;
    const double l = double(L) / sc.maxLum;
    if (S == 0) {
        const std::uint8_t grey = ClampByte(RoundHalfEven(l * sc.maxLum));
        return MakeRGB(grey, grey, grey);
    }
    return MakeRGB(HSLChromaToRGB(h, s, l));
}

HSLInt PickerRGBToHSL(TColor color) {
    const RGBTriple c = SplitRGB(color);
    const HSLFloat f = RGBToHSLFloat(c.r, c.g, c.b);
    const PickerHSLScale sc = g_pickerScale;
    return {static_cast<int>(RoundHalfEven(sc.maxHue * f.h)),
            static_cast<int>(RoundHalfEven(sc.maxSat * f.s)),
            static_cast<int>(RoundHalfEven(sc.maxLum * f.l))};
}
int PickerGetHHValue(TColor color) {
    return PickerRGBToHSL(color).h;
}
int PickerGetHSValue(TColor color) {
    return PickerRGBToHSL(color).s;
}
int PickerGetHLValue(TColor color) {
    return PickerRGBToHSL(color).l;
}

CMYKInt PickerRGBToCMYK(TColor color) {
    const RGBTriple t = SplitRGB(color);
    const int c = 255 - t.r, m = 255 - t.g, y = 255 - t.b;
    const int k = std::min({c, m, y});
    return {c - k, m - k, y - k, k};
}
int PickerGetCValue(TColor color) {
    return PickerRGBToCMYK(color).c;
}
int PickerGetMValue(TColor color) {
    return PickerRGBToCMYK(color).m;
}
int PickerGetYValue(TColor color) {
    return PickerRGBToCMYK(color).y;
}
int PickerGetKValue(TColor color) {
    return PickerRGBToCMYK(color).k;
}

TColor PickerCMYKToRGB(int c, int m, int y, int k) {
    auto channel = [k](int v) { return static_cast<std::uint8_t>(255 - std::uint8_t(v + k)); };
    return MakeRGB(channel(c), channel(m), channel(y));
}

TColor SquareHSVToColor(int H, int S, int V) {
    const PickerHSLScale sc = g_pickerScale;
    H = Clamp(H, 0, sc.maxHue);
    S = Clamp(S, 0, sc.maxSat);
    V = Clamp(V, 0, sc.maxLum);
    if (S == 0)
        return MakeRGB(ClampByte(V), ClampByte(V), ClampByte(V));
    const int h = H % sc.maxHue;
    const int f = h % 60;
    const std::int64_t v = V, s = S;
    const int p = static_cast<int>(v - (v * s) / sc.maxLum);
    const int q = static_cast<int>(v - (f * v * s) / 15300);
    const int t = static_cast<int>(v - (v * s * (60 - f)) / 15300);
    return SectorColor(h / 60, V, p, q, t);
}

HueSat SquareColorToHueSat(TColor color) {
    const RGBTriple c = SplitRGB(color);
    const int v = std::max({c.r, c.g, c.b});
    const int m = std::min({c.r, c.g, c.b});
    if (v == m)
        return {};
    const int delta = v - m;
    HueSat out;
    out.sat = MulDiv(delta, 255, v);
    if (c.r == v)
        out.hue = MulDiv(60, c.g - c.b, delta);
    else if (c.g == v)
        out.hue = MulDiv(60, c.b - c.r, delta) + 120;
    else
        out.hue = MulDiv(60, c.r - c.g, delta) + 240;
    if (out.hue < 0)
        out.hue += 360;
    return out;
}

} // namespace chromint
