#pragma once

#include "ColorUtils.h"

#include <array>

namespace chromint {

// The integer conversions of the picker controls, the hint templates and the palette files.
// They keep their own HSL scale, separate from the engine's HSL range.

struct PickerHSLScale {
    int maxHue = 239;
    int maxSat = 240;
    int maxLum = 240;
    int unused = 0; // see HSLInt
    friend constexpr bool operator==(const PickerHSLScale&, const PickerHSLScale&) = default;
};
PickerHSLScale GetPickerHSLScale();
// Each picker control sets the scale it works in when it is created; the last one wins.
// Non-positive maxima are ignored, as they would divide by zero.
void SetPickerHSLScale(int maxHue, int maxSat, int maxLum);

struct CMYKInt {
    int c = 0, m = 0, y = 0, k = 0;
    friend constexpr bool operator==(const CMYKInt&, const CMYKInt&) = default;
};

// Each level rounded to the nearest multiple of 51 (the pickers' web-safe display).
const std::array<std::uint8_t, 256>& WebSafeTable();
TColor NearestWebSafe(TColor color);

HSVInt PickerRGBToHSV(std::uint8_t r, std::uint8_t g, std::uint8_t b);
int PickerGetHValue(TColor color);
int PickerGetSValue(TColor color);
int PickerGetVValue(TColor color);

TColor PickerHSVToRGB(int h, int s, int v);
// The same colour with red and blue exchanged, ready for 32-bit bitmap pixels.
std::uint32_t PickerHSVToBGR(int h, int s, int v);

TColor PickerHSLToRGB(int h, int s, int l);
HSLInt PickerRGBToHSL(TColor color);
int PickerGetHHValue(TColor color);
int PickerGetHSValue(TColor color);
int PickerGetHLValue(TColor color);

CMYKInt PickerRGBToCMYK(TColor color);
int PickerGetCValue(TColor color);
int PickerGetMValue(TColor color);
int PickerGetYValue(TColor color);
int PickerGetKValue(TColor color);
// 8-bit arithmetic: a channel sum above 255 wraps instead of saturating.
TColor PickerCMYKToRGB(int c, int m, int y, int k);

// The saturation-value square's own pair: its (hue, saturation, level) position to a colour,
// and a colour back to its integer hue and saturation.
TColor SquareHSVToColor(int h, int s, int v);
struct HueSat {
    int hue = 0, sat = 0;
    friend constexpr bool operator==(const HueSat&, const HueSat&) = default;
};
HueSat SquareColorToHueSat(TColor color);

} // namespace chromint
