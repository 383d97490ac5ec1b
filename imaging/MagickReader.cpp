#include "MagickReader.h"

#include "PictureReaderSupport.h"

#include <QFile>

#include <Magick++.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace chromint {

namespace {

using picture::Fail;

void StartMagick() {
    // GraphicsMagick must be started once before any use; a function-local static makes that
    // safe from any thread.
    static const bool started = [] {
        Magick::InitializeMagick(nullptr);
        // A hostile header must not make the pixel cache take gigabytes, nor spill it to disk.
        MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, MaxPicturePixels);
        // The limits are in bytes, whatever resource.h's comments say.
        constexpr MagickLib::magick_int64_t TwoGiB = MagickLib::magick_int64_t{2} << 30;
        MagickLib::SetMagickResourceLimit(MagickLib::MemoryResource, TwoGiB);
        MagickLib::SetMagickResourceLimit(MagickLib::MapResource, TwoGiB);
        MagickLib::SetMagickResourceLimit(MagickLib::DiskResource, 0);
        return true;
    }();
    (void)started;
}

int ToByte(Magick::Quantum q) {
    const std::uint64_t max = MaxRGB;
    return static_cast<int>((static_cast<std::uint64_t>(q) * 255 + max / 2) / max);
}

QImage Convert(Magick::Image& image) {
    const int width = static_cast<int>(image.columns());
    const int height = static_cast<int>(image.rows());
    if (image.colorSpace() != MagickLib::RGBColorspace)
        image.colorSpace(MagickLib::RGBColorspace);
    const bool matte = image.matte();
    QImage result = picture::NewImage(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const Magick::PixelPacket* in = image.getConstPixels(0, y, static_cast<unsigned>(width), 1);
        if (!in)
            Fail(UnsupportedPictureText());
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x, ++in) {
            // GraphicsMagick keeps opacity, the inverse of alpha: 0 is opaque.
            const int alpha = matte ? 255 - ToByte(in->opacity) : 255;
            out[x] = qRgba(ToByte(in->red), ToByte(in->green), ToByte(in->blue), alpha);
        }
    }
    return result;
}

} // namespace

QImage ReadWithMagick(const QString& fileName, const char* magick) {
    StartMagick();
    const std::string source =
        std::string(magick) + ":" + QFile::encodeName(fileName).toStdString();
    try {
        Magick::Image image;
        // The header alone first, so an absurd size is refused before any decoding; the
        // picture read is the size pinged, so it is not checked again.
        image.ping(source);
        picture::CheckSize(image.columns(), image.rows());
        if (std::string_view(magick) == "PCD") {
            // A Photo CD holds several sizes; left alone GraphicsMagick reads a thumbnail.
            // The third is the base size that ping reports.
            image.subImage(3);
            image.subRange(1);
        }
        image.read(source);
        return Convert(image);
    } catch (const Magick::ErrorFileOpen&) {
        Fail(FileNotFoundText());
    } catch (const Magick::Exception&) {
        // Warnings count too: they mean a damaged or partly read picture.
        Fail(UnsupportedPictureText());
    }
}

} // namespace chromint
