#pragma once

#include "ColorTypes.h"

#include <cstdint>
#include <span>

namespace chromint {

// Colour arithmetic behind the "Process" and "Random" commands, the blender, the sepia
// window, the picture writer and the swatch controls.

enum DesaturateMethod : int {
    DesaturateStandard = 0,
    DesaturateNTSC = 1,
    DesaturateInfrared = 2,
    DesaturateRed = 3,
    DesaturateGreen = 4,
    DesaturateBlue = 5,
    DesaturateHybrid = 6,
};

// An unknown method leaves the colour's channels as they are.
TColor Desaturate(TColor color, int method);
TColor InvertColor(TColor color);
TColor SwapRG(TColor color);
TColor SwapRB(TColor color);
TColor SwapGB(TColor color);

// The random source: a 32-bit linear congruential generator. The main window seeds it once
// from the clock; tests seed it to get repeatable colours.
class RandomSource {
public:
    explicit RandomSource(std::uint32_t seed = 0) : seed_(seed) {}
    void Seed(std::uint32_t seed) { seed_ = seed; }
    std::uint32_t SeedValue() const { return seed_; }
    // A uniform integer in 0..n-1 (0 when n is 0).
    std::uint32_t Next(std::uint32_t n) {
        seed_ = seed_ * 134775813u + 1u;
        return static_cast<std::uint32_t>((std::uint64_t(seed_) * n) >> 32);
    }

private:
    std::uint32_t seed_;
};

RandomSource& GlobalRandom();
// Seeds the global source from a high-resolution clock.
void RandomizeGlobal();

TColor RandomRGB();
TColor RandomColorNear(TColor color);
TColorArray RandomColorsNear(TColor color, std::uint16_t count);

// Percent above 100 counts as 100.
TColor BlendPercent(TColor c1, TColor c2, int percent);
TColor BlendHSL(TColor c1, TColor c2, std::uint8_t position, std::uint8_t count);
TColor BlendLinear(TColor c1, TColor c2, double t);
TColorArray Gradient(TColor c1, TColor c2, std::uint16_t steps);
// The first entry of colors[0..lastIndex] nearest to color; clNone for an empty range.
TColor NearestColor(TColor color, std::span<const TColor> colors, int lastIndex);

// Grey level warmed by depth (red +2d, green +d) and cooled by intensity (blue -i).
TColor Sepia(TColor color, int depth, int intensity);

// Mixes c1 over c2: a below 100 is a percentage of c1, from 100 up a per-mille share.
TColor MixOpacity(TColor c1, TColor c2, int a);

} // namespace chromint
