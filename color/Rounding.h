#pragma once

#include <cmath>
#include <cstdint>

namespace chromint {

// Round half to even on the value held, as every conversion of the engine rounds. Adding and
// removing 1.5 * 2^52 leaves the nearest integer, ties to even, in double arithmetic without a
// library call; it holds for |v| < 2^51. Out-of-range and NaN inputs are pinned instead of
// being undefined.
inline std::int64_t RoundHalfEven(long double v) {
    if (!(v == v))
        return 0;
    if (v >= 9.0e18L)
        return INT64_MAX;
    if (v <= -9.0e18L)
        return INT64_MIN;
    return static_cast<std::int64_t>(std::nearbyintl(v));
}

inline std::int64_t RoundHalfEven(double v) {
    constexpr double kLimit = 2251799813685248.0; // 2^51
    if (!(v < kLimit && v > -kLimit))
        return RoundHalfEven(static_cast<long double>(v));
    constexpr double kShifter = 6755399441055744.0; // 1.5 * 2^52
    return static_cast<std::int64_t>((v + kShifter) - kShifter);
}

template <typename T>
constexpr T Clamp(T v, T lo, T hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

inline std::uint8_t ClampByte(std::int64_t v) {
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Round(255 * v) for a channel fraction, clamped to a byte.
inline std::uint8_t RoundChannel(double v) {
    return ClampByte(RoundHalfEven(255.0 * v));
}

// a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0.
// The picker controls position markers and read values with it.
constexpr int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    std::int64_t num = std::int64_t(a) * b;
    std::int64_t den = c;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    std::int64_t q = (num >= 0 ? num + den / 2 : num - den / 2) / den;
    if (q > INT32_MAX || q < INT32_MIN)
        return -1;
    return static_cast<int>(q);
}

} // namespace chromint
