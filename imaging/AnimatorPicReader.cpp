#include "AnimatorPicReader.h"

#include "PictureReaderSupport.h"

#include <algorithm>
#include <array>

// Both layouts are little-endian.
//
// Animator (PIC and CEL alike), a fixed layout:
//   32-byte header: 0x9119, width, height, x, y, bits per pixel (8), compression (0),
//     image byte count, 16 reserved
//   768-byte palette, RGB with 6-bit components (0..63)
//   width × height pixels, one byte each, rows top to bottom
//
// Animator Pro PIC (and its CEL when saved as a picture), a header and blocks:
//   64-byte header: file size, 0x9500, width, height, x, y, user id, bits per pixel, reserved
//   blocks of: size (including its 6-byte head), type, data
//     0: palette: a version word, then 256 RGB triples with 8-bit components
//     1: pixels, one byte each, rows top to bottom
//     2: a 1-bit mask (MSK files), bits from the high end, rows padded to 16 bits
// A picture without a palette block (a mask) is shown in the identity greys.

namespace chromint {

namespace {

using picture::ByteCursor;
using picture::Fail;

using Palette = std::array<QRgb, 256>;

Palette Greys() {
    Palette palette{};
    for (int i = 0; i < 256; ++i)
        palette[static_cast<std::size_t>(i)] = qRgb(i, i, i);
    return palette;
}

// 6-bit components stretched so that 63 is full brightness.
Palette ReadPalette(ByteCursor& in, bool sixBit) {
    Palette palette{};
    for (QRgb& colour : palette) {
        int c[3];
        for (int& v : c) {
            v = in.U8();
            if (sixBit)
                v = std::min(v, 63) * 255 / 63;
        }
        colour = qRgb(c[0], c[1], c[2]);
    }
    return palette;
}

QImage Paint(int width, int height, QByteArrayView pixels, const Palette& palette) {
    QImage image = picture::NewImage(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = palette[static_cast<std::uint8_t>(pixels[qsizetype(y) * width + x])];
    }
    return image;
}

QImage ReadAnimator(ByteCursor& in) {
    const int width = in.U16();
    const int height = in.U16();
    in.Skip(4);
    const int bits = in.U8();
    const int compression = in.U8();
    in.Skip(4 + 16);
    if (bits != 8 || compression != 0)
        Fail(UnsupportedPictureText());
    picture::CheckSize(width, height);
    const Palette palette = ReadPalette(in, true);
    return Paint(width, height, in.Bytes(std::uint64_t(width) * height), palette);
}

QImage ReadAnimatorPro(ByteCursor& in) {
    const int width = in.U16();
    const int height = in.U16();
    in.Skip(4 + 4);
    const int bits = in.U8();
    in.Skip(45);
    if (bits != 8 && bits != 1)
        Fail(UnsupportedPictureText());
    picture::CheckSize(width, height);
    Palette palette = Greys();
    while (!in.AtEnd()) {
        const std::uint32_t size = in.U32();
        const int type = in.U16();
        if (size < 6)
            Fail(UnsupportedPictureText());
        ByteCursor block = in.Sub(size - 6);
        if (type == 0) {
            block.Skip(2);
            palette = ReadPalette(block, false);
        } else if (type == 1 && bits == 8) {
            return Paint(width, height, block.Bytes(std::uint64_t(width) * height), palette);
        } else if (type == 2 && bits == 1) {
            const std::uint64_t rowBytes = (std::uint64_t(width) + 15) / 16 * 2;
            const QByteArrayView mask = block.Bytes(rowBytes * height);
            QImage image = picture::NewImage(width, height, QImage::Format_ARGB32);
            for (int y = 0; y < height; ++y) {
                auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < width; ++x) {
                    const auto byte =
                        static_cast<std::uint8_t>(mask[qsizetype(rowBytes * y) + x / 8]);
                    out[x] = (byte >> (7 - x % 8)) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                }
            }
            return image;
        }
    }
    // No pixels at all: the file ended early.
    Fail(StreamReadErrorText());
}

} // namespace

QImage ReadAnimatorPic(QIODevice& device) {
    const QByteArray bytes = picture::ReadAll(device);
    ByteCursor in(bytes, std::endian::little);
    if (in.Remaining() >= 6) {
        ByteCursor probe = in;
        probe.Skip(4);
        if (probe.U16() == 0x9500) {
            in.Skip(6);
            return ReadAnimatorPro(in);
        }
    }
    if (in.U16() == 0x9119)
        return ReadAnimator(in);
    Fail(UnsupportedPictureText());
}

} // namespace chromint
