// The GraphicsMagick reader module, loaded by the program when a picture first needs it.

#include "MagickModule.h"

#include <Magick++.h>

#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

namespace {

void StartMagick(std::int64_t maxPixels) {
    // GraphicsMagick must be started once before any use; a function-local static makes that
    // safe from any thread.
    static const bool started = [maxPixels] {
        Magick::InitializeMagick(nullptr);
        // A hostile header must not make the pixel cache take gigabytes, nor spill it to disk.
        MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, maxPixels);
        // The limits are in bytes, whatever resource.h's comments say.
        constexpr MagickLib::magick_int64_t TwoGiB = MagickLib::magick_int64_t{2} << 30;
        MagickLib::SetMagickResourceLimit(MagickLib::MemoryResource, TwoGiB);
        MagickLib::SetMagickResourceLimit(MagickLib::MapResource, TwoGiB);
        MagickLib::SetMagickResourceLimit(MagickLib::DiskResource, 0);
        return true;
    }();
    (void)started;
}

std::uint32_t ToByte(Magick::Quantum q) {
    const std::uint64_t max = MaxRGB;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(q) * 255 + max / 2) / max);
}

int Convert(Magick::Image& image, ChromintMagickPicture* picture) {
    const auto width = static_cast<std::int64_t>(image.columns());
    const auto height = static_cast<std::int64_t>(image.rows());
    if (image.colorSpace() != MagickLib::RGBColorspace)
        image.colorSpace(MagickLib::RGBColorspace);
    const bool matte = image.matte();
    auto* pixels = static_cast<std::uint32_t*>(
        std::malloc(static_cast<std::size_t>(width * height) * sizeof(std::uint32_t)));
    if (pixels == nullptr)
        return ChromintMagickUnsupported;
    for (std::int64_t y = 0; y < height; ++y) {
        const Magick::PixelPacket* in =
            image.getConstPixels(0, static_cast<int>(y), static_cast<unsigned>(width), 1);
        if (in == nullptr) {
            std::free(pixels);
            return ChromintMagickUnsupported;
        }
        std::uint32_t* out = pixels + y * width;
        for (std::int64_t x = 0; x < width; ++x, ++in) {
            // GraphicsMagick keeps opacity, the inverse of alpha: 0 is opaque.
            const std::uint32_t alpha = matte ? 255 - ToByte(in->opacity) : 255;
            out[x] = (alpha << 24) | (ToByte(in->red) << 16) | (ToByte(in->green) << 8) |
                     ToByte(in->blue);
        }
    }
    picture->width = width;
    picture->height = height;
    picture->pixels = pixels;
    return ChromintMagickOk;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
chromint_magick_read(const char* fileName, const char* magick, std::int64_t maxPixels,
                     ChromintMagickPicture* picture) {
    *picture = {};
    try {
        StartMagick(maxPixels);
        const std::string source = std::string(magick) + ":" + fileName;
        Magick::Image image;
        // The header alone first, so an absurd size is refused before any decoding; the
        // picture read is the size pinged, so it is not checked again.
        image.ping(source);
        const auto width = static_cast<std::int64_t>(image.columns());
        const auto height = static_cast<std::int64_t>(image.rows());
        if (width <= 0 || height <= 0)
            return ChromintMagickUnsupported;
        if (width > maxPixels || height > maxPixels || width * height > maxPixels) {
            picture->width = width;
            picture->height = height;
            return ChromintMagickTooLarge;
        }
        if (std::string_view(magick) == "PCD") {
            // A Photo CD holds several sizes; left alone GraphicsMagick reads a thumbnail.
            // The third is the base size that ping reports.
            image.subImage(3);
            image.subRange(1);
        }
        image.read(source);
        return Convert(image, picture);
    } catch (const Magick::ErrorFileOpen&) {
        return ChromintMagickNotFound;
    } catch (const Magick::Exception&) {
        // Warnings count too: they mean a damaged or partly read picture.
        return ChromintMagickUnsupported;
    } catch (const std::bad_alloc&) {
        return ChromintMagickUnsupported;
    }
}

extern "C" __attribute__((visibility("default"))) void chromint_magick_free(std::uint32_t* pixels) {
    std::free(pixels);
}
