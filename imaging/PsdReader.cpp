#include "PsdReader.h"

#include "PictureReaderSupport.h"

#include <algorithm>
#include <vector>

// Photoshop documents are big-endian:
//   header: "8BPS", version (1 PSD, 2 PSB), 6 reserved, channels, height, width, depth, mode
//   colour mode data: length + data (the 768-byte palette of an indexed picture)
//   image resources: length + data
//   layer and mask information: length (8 bytes in PSB) + data, whose layer part opens with
//     its own length and a signed layer count
//   merged image: compression (0 raw, 1 PackBits) and the channels one after another; with
//     PackBits every row's packed length comes first (2 bytes each, 4 in PSB).
// The layers themselves are not read: the merged image is what Photoshop shows.

namespace chromint {

namespace {

using picture::ByteCursor;
using picture::Fail;

enum Mode : std::uint16_t {
    Bitmap = 0,
    Greyscale = 1,
    Indexed = 2,
    Rgb = 3,
    Cmyk = 4,
    Duotone = 8,
};

struct Header {
    bool large = false;
    int channels = 0;
    int width = 0;
    int height = 0;
    int depth = 0;
    int mode = 0;

    // Rows of every depth are whole bytes.
    std::size_t RowBytes() const { return (static_cast<std::size_t>(width) * depth + 7) / 8; }
};

Header ReadHeader(ByteCursor& in) {
    if (in.Bytes(4) != QByteArrayView("8BPS"))
        Fail(UnsupportedPictureText());
    Header h;
    const int version = in.U16();
    if (version != 1 && version != 2)
        Fail(UnsupportedPictureText());
    h.large = version == 2;
    in.Skip(6);
    h.channels = in.U16();
    const std::uint32_t height = in.U32();
    const std::uint32_t width = in.U32();
    h.depth = in.U16();
    h.mode = in.U16();
    if (h.channels < 1 || h.channels > 56)
        Fail(UnsupportedPictureText());
    picture::CheckSize(width, height);
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(height);
    const bool known = h.mode == Bitmap || h.mode == Greyscale || h.mode == Indexed ||
                       h.mode == Rgb || h.mode == Cmyk || h.mode == Duotone;
    const bool depthFits = h.mode == Bitmap ? h.depth == 1 : (h.depth == 8 || h.depth == 16);
    if (!known || !depthFits)
        Fail(UnsupportedPictureText());
    return h;
}

// A negative first layer count says the merged image's first extra channel is its
// transparency; anything else leaves the extra channel alone.
bool MergedAlphaFlag(ByteCursor layerSection, bool large) {
    if (layerSection.Remaining() < (large ? 10u : 6u))
        return false;
    const std::uint64_t layerInfoLength = large ? layerSection.U64() : layerSection.U32();
    if (layerInfoLength < 2)
        return false;
    return layerSection.S16() < 0;
}

// Apple's PackBits, one row at a time; a row that does not fill exactly is corrupt.
void UnpackBits(QByteArrayView packed, std::uint8_t* out, std::size_t size) {
    std::size_t at = 0;
    qsizetype in = 0;
    while (at < size) {
        if (in >= packed.size())
            Fail(UnsupportedPictureText());
        const int n = static_cast<std::int8_t>(packed[in++]);
        if (n >= 0) {
            const auto count = static_cast<std::size_t>(n) + 1;
            if (count > size - at || in + static_cast<qsizetype>(count) > packed.size())
                Fail(UnsupportedPictureText());
            std::copy_n(packed.data() + in, count, out + at);
            in += static_cast<qsizetype>(count);
            at += count;
        } else if (n != -128) {
            const auto count = static_cast<std::size_t>(1 - n);
            if (count > size - at || in >= packed.size())
                Fail(UnsupportedPictureText());
            std::fill_n(out + at, count, static_cast<std::uint8_t>(packed[in++]));
            at += count;
        }
    }
}

// The planes of the first `planes` channels, each rowBytes × height bytes.
std::vector<std::vector<std::uint8_t>> ReadPlanes(ByteCursor& in, const Header& h, int planes) {
    const std::size_t rowBytes = h.RowBytes();
    const std::size_t planeBytes = rowBytes * static_cast<std::size_t>(h.height);
    const int compression = in.U16();
    if (compression != 0 && compression != 1)
        Fail(UnsupportedPictureText());
    // Bounded by the file before any plane is allocated: at its best PackBits packs a run of
    // 128 bytes into two, so every row of a plane takes at least two bytes per 128 it holds.
    const std::size_t least = compression == 0
                                  ? planeBytes
                                  : (rowBytes + 127) / 128 * 2 * static_cast<std::size_t>(h.height);
    if (least > in.Remaining() / static_cast<std::size_t>(planes))
        Fail(StreamReadErrorText());
    std::vector<std::vector<std::uint8_t>> result(static_cast<std::size_t>(planes));
    if (compression == 0) {
        for (auto& plane : result) {
            const QByteArrayView bytes = in.Bytes(planeBytes);
            plane.assign(bytes.begin(), bytes.end());
        }
        return result;
    }
    const std::size_t rows = static_cast<std::size_t>(h.height) * h.channels;
    ByteCursor counts = in.Sub(rows * (h.large ? 4 : 2));
    for (auto& plane : result) {
        plane.resize(planeBytes);
        for (int y = 0; y < h.height; ++y) {
            const std::uint32_t length = h.large ? counts.U32() : counts.U16();
            UnpackBits(in.Bytes(length), plane.data() + rowBytes * y, rowBytes);
        }
    }
    return result;
}

struct Planes {
    const Header& h;
    std::vector<std::vector<std::uint8_t>> data;

    // A sample scaled to 8 bits.
    int At(int plane, int x, int y) const {
        const auto& p = data[static_cast<std::size_t>(plane)];
        if (h.depth == 16) {
            const std::size_t i = (static_cast<std::size_t>(y) * h.width + x) * 2;
            return ((p[i] << 8 | p[i + 1]) * 255 + 32767) / 65535;
        }
        return p[static_cast<std::size_t>(y) * h.width + x];
    }

    bool Bit(int x, int y) const { return (data[0][h.RowBytes() * y + x / 8] >> (7 - x % 8)) & 1; }
};

} // namespace

QImage ReadPsd(QIODevice& device) {
    const QByteArray bytes = picture::ReadAll(device);
    ByteCursor in(bytes, std::endian::big);
    const Header h = ReadHeader(in);

    ByteCursor colourData = in.Sub(in.U32());
    std::vector<QRgb> palette;
    if (h.mode == Indexed) {
        if (colourData.Remaining() < 768)
            Fail(UnsupportedPictureText());
        const QByteArrayView table = colourData.Bytes(768);
        for (int i = 0; i < 256; ++i)
            palette.push_back(qRgb(static_cast<std::uint8_t>(table[i]),
                                   static_cast<std::uint8_t>(table[256 + i]),
                                   static_cast<std::uint8_t>(table[512 + i])));
    }
    in.Skip(in.U32());
    const std::uint64_t layerLength = h.large ? in.U64() : in.U32();
    const bool alphaFlag = MergedAlphaFlag(in.Sub(layerLength), h.large);

    const int colourPlanes = h.mode == Rgb ? 3 : h.mode == Cmyk ? 4 : 1;
    if (h.channels < colourPlanes)
        Fail(UnsupportedPictureText());
    const bool alpha = h.mode == Rgb && h.channels > 3 && alphaFlag;
    const int planes = colourPlanes + (alpha ? 1 : 0);
    const Planes p{h, ReadPlanes(in, h, planes)};

    QImage image = picture::NewImage(h.width, h.height, QImage::Format_ARGB32);
    for (int y = 0; y < h.height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < h.width; ++x) {
            switch (h.mode) {
            case Bitmap: {
                // Set bits are ink.
                const int v = p.Bit(x, y) ? 0 : 255;
                out[x] = qRgb(v, v, v);
                break;
            }
            case Indexed:
                out[x] = palette[static_cast<std::size_t>(p.At(0, x, y))];
                break;
            case Rgb:
                out[x] =
                    qRgba(p.At(0, x, y), p.At(1, x, y), p.At(2, x, y), alpha ? p.At(3, x, y) : 255);
                break;
            case Cmyk: {
                // Stored as 255 minus the ink, so the products are the light left over.
                const int k = p.At(3, x, y);
                out[x] =
                    qRgb(p.At(0, x, y) * k / 255, p.At(1, x, y) * k / 255, p.At(2, x, y) * k / 255);
                break;
            }
            default: {
                // Greyscale and duotone: duotone's inks are not simulated.
                const int v = p.At(0, x, y);
                out[x] = qRgb(v, v, v);
                break;
            }
            }
        }
    }
    return image;
}

} // namespace chromint
