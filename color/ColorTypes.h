#pragma once

#include <bit>
#include <cstdint>
#include <vector>

namespace chromint {

// A colour as the rest of the program passes it around: red in bits 0-7, green in 8-15,
// blue in 16-23. A top byte of 0xFF names a system colour by the index in its low byte.
using TColor = std::uint32_t;
using TColorArray = std::vector<TColor>;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor SystemColorFlag = 0xFF000000;

// The three channel bytes of a colour. It has the layout of a TColor with a zero top byte,
// so packing and unpacking are register moves rather than three byte stores: assembling it
// byte by byte in memory and reading it back as a whole stalls the store buffer.
struct RGBTriple {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t unused = 0;
    friend constexpr bool operator==(const RGBTriple&, const RGBTriple&) = default;
};
static_assert(sizeof(RGBTriple) == sizeof(std::uint32_t));

constexpr TColor MakeRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

constexpr RGBTriple SplitRGB(TColor color) {
    if constexpr (std::endian::native == std::endian::little) {
        return std::bit_cast<RGBTriple>(color & 0xFFFFFF);
    } else {
        return {static_cast<std::uint8_t>(color & 0xFF),
                static_cast<std::uint8_t>((color >> 8) & 0xFF),
                static_cast<std::uint8_t>((color >> 16) & 0xFF)};
    }
}

constexpr TColor MakeRGB(RGBTriple c) {
    return MakeRGB(c.r, c.g, c.b);
}

constexpr std::uint8_t GetRValue(TColor c) {
    return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t GetGValue(TColor c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t GetBValue(TColor c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}

// Builds a colour from the "#RRGGBB" reading order used in web pages and name tables.
constexpr TColor ColorFromHex(std::uint32_t rrggbb) {
    return MakeRGB(static_cast<std::uint8_t>(rrggbb >> 16), static_cast<std::uint8_t>(rrggbb >> 8),
                   static_cast<std::uint8_t>(rrggbb));
}

constexpr bool IsSystemColor(TColor c) {
    return (c & 0xFF000000) == SystemColorFlag;
}

// The engine knows no desktop: the application installs a resolver for system colours
// (top byte 0xFF). Without one, a system colour resolves to its low three bytes.
using SystemColorResolver = TColor (*)(std::uint8_t index);
void SetSystemColorResolver(SystemColorResolver resolver);
SystemColorResolver GetSystemColorResolver();

// Returns an RGB colour (top byte 0) for a system colour, and any other value unchanged.
TColor ResolveSystemColor(TColor color);

} // namespace chromint
