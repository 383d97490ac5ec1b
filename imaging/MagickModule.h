#pragma once

// The interface of the GraphicsMagick reader module. The module pulls in GraphicsMagick and
// the thirty libraries behind it, which only a few rare picture families need, so the program
// loads it on first use instead of at every start. Plain C types, so nothing but these
// values crosses the boundary.

#include <cstdint>

extern "C" {

enum ChromintMagickStatus : int {
    ChromintMagickOk = 0,
    ChromintMagickNotFound = 1,
    ChromintMagickUnsupported = 2,
    ChromintMagickTooLarge = 3, // width and height say how large
};

struct ChromintMagickPicture {
    std::int64_t width;
    std::int64_t height;
    // width x height pixels, 0xAARRGGBB, row after row; freed with chromint_magick_free.
    std::uint32_t* pixels;
};

// Reads the file with the coder named ("PCX", "SGI", ...); refuses pictures of more than
// maxPixels pixels before decoding them.
int chromint_magick_read(const char* fileName, const char* magick, std::int64_t maxPixels,
                         ChromintMagickPicture* picture);
void chromint_magick_free(std::uint32_t* pixels);
}

// The names looked up in the module.
inline constexpr const char* ChromintMagickReadSymbol = "chromint_magick_read";
inline constexpr const char* ChromintMagickFreeSymbol = "chromint_magick_free";
