#include "PspReader.h"

#include "PictureReaderSupport.h"

#include <QPainter>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

// Paint Shop Pro images are little-endian:
//   "Paint Shop Pro Image File\n\x1a" padded with zeros to 32 bytes, major and minor version
//   blocks of: "~BK\0", id, total length, data (major 3, PSP 5, adds an initial length
//     before the total; its layouts differ and it is refused)
// Within a block, an information chunk opens with its own length, so fields added by later
// versions are skipped; sub-blocks follow the chunk.
//   image attributes (0): width, height, resolution (double), metric, compression,
//     bit depth, planes, colours, greyscale flag, total size, active layer, layer count
//   palette (2): entry count, then B, G, R, reserved per entry
//   layer bank (3) of layers (4): layer chunk (name, type, image rectangle, saved rectangle,
//     opacity, blend mode, visibility, ...), bitmap chunk, then channel blocks
//   channel (5): compressed length, uncompressed length, bitmap type, channel type, data
//   composite bank (16) of composite attributes (17): width, height, depth, compression,
//     planes, colours, kind (0 the full picture, 1 a thumbnail), followed by its palette
//     and channel blocks
// When a full composite is present it is the picture; otherwise the raster layers are
// painted in order over transparency.

namespace chromint {

namespace {

using picture::ByteCursor;
using picture::Fail;

constexpr std::uint16_t ImageBlock = 0;
constexpr std::uint16_t PaletteBlock = 2;
constexpr std::uint16_t LayerBankBlock = 3;
constexpr std::uint16_t LayerBlock = 4;
constexpr std::uint16_t ChannelBlock = 5;
constexpr std::uint16_t CompositeBankBlock = 16;
constexpr std::uint16_t CompositeBlock = 17;

enum Compression : std::uint16_t { None = 0, Rle = 1, Lz77 = 2 };

// The most samples one byte of packed data can stand for: a run byte and its byte make at
// most 127 samples, and deflate cannot expand data more than about a thousand times.
constexpr std::uint64_t RleBestRatio = 64;
constexpr std::uint64_t Lz77BestRatio = 1032;

struct Block {
    std::uint16_t id;
    ByteCursor data;
};

std::vector<Block> ReadBlocks(ByteCursor in) {
    std::vector<Block> blocks;
    while (!in.AtEnd()) {
        if (in.Bytes(4) != QByteArrayView("~BK\0", 4))
            Fail(UnsupportedPictureText());
        const std::uint16_t id = in.U16();
        const std::uint32_t length = in.U32();
        blocks.push_back({id, in.Sub(length)});
    }
    return blocks;
}

// The chunk opening a block; its length covers the length field itself.
ByteCursor Chunk(ByteCursor& block) {
    const std::uint32_t length = block.U32();
    if (length < 4)
        Fail(UnsupportedPictureText());
    return block.Sub(length - 4);
}

struct Channel {
    std::uint16_t bitmapType;
    std::uint16_t channelType;
    std::uint32_t uncompressedLength;
    QByteArrayView data;
};

Channel ReadChannel(ByteCursor block) {
    ByteCursor chunk = Chunk(block);
    Channel c{};
    const std::uint32_t compressed = chunk.U32();
    c.uncompressedLength = chunk.U32();
    c.bitmapType = chunk.U16();
    c.channelType = chunk.U16();
    c.data = block.Bytes(compressed);
    return c;
}

// A run byte over 128 repeats the next byte (run - 128) times; otherwise that many bytes
// follow as they are.
std::vector<std::uint8_t> DecodeRle(QByteArrayView in, std::size_t size) {
    std::vector<std::uint8_t> out;
    out.reserve(size);
    qsizetype at = 0;
    while (out.size() < size) {
        if (at >= in.size())
            Fail(UnsupportedPictureText());
        const int run = static_cast<std::uint8_t>(in[at++]);
        const std::size_t count = static_cast<std::size_t>(run > 128 ? run - 128 : run);
        if (count > size - out.size())
            Fail(UnsupportedPictureText());
        if (run > 128) {
            if (at >= in.size())
                Fail(UnsupportedPictureText());
            out.insert(out.end(), count, static_cast<std::uint8_t>(in[at++]));
        } else {
            if (static_cast<qsizetype>(count) > in.size() - at)
                Fail(UnsupportedPictureText());
            out.insert(out.end(), in.begin() + at, in.begin() + at + static_cast<qsizetype>(count));
            at += static_cast<qsizetype>(count);
        }
    }
    return out;
}

std::vector<std::uint8_t> DecodeLz77(QByteArrayView in, std::size_t size) {
    std::vector<std::uint8_t> out(size);
    uLongf outLength = static_cast<uLongf>(size);
    if (uncompress(out.data(), &outLength, reinterpret_cast<const Bytef*>(in.data()),
                   static_cast<uLong>(in.size())) != Z_OK ||
        outLength != size)
        Fail(UnsupportedPictureText());
    return out;
}

struct Bitmap {
    int width = 0;
    int height = 0;
    int depth = 0;
    std::uint16_t compression = 0;
    std::vector<Channel> channels;
};

// One channel's samples, width × height, whatever the padding of its rows.
std::vector<std::uint8_t> Samples(const Bitmap& b, const Channel& c) {
    const std::size_t width = static_cast<std::size_t>(b.width);
    const std::size_t height = static_cast<std::size_t>(b.height);
    const std::size_t padded = (width + 3) / 4 * 4;
    std::size_t stride = 0;
    if (c.uncompressedLength == width * height)
        stride = width;
    else if (c.uncompressedLength == padded * height)
        stride = padded;
    else
        Fail(UnsupportedPictureText());
    std::vector<std::uint8_t> raw;
    switch (b.compression) {
    case None:
        if (static_cast<std::size_t>(c.data.size()) < c.uncompressedLength)
            Fail(StreamReadErrorText());
        raw.assign(c.data.begin(), c.data.begin() + c.uncompressedLength);
        break;
    case Rle:
        if (c.uncompressedLength / RleBestRatio > static_cast<std::size_t>(c.data.size()))
            Fail(UnsupportedPictureText());
        raw = DecodeRle(c.data, c.uncompressedLength);
        break;
    case Lz77:
        if (c.uncompressedLength / Lz77BestRatio > static_cast<std::size_t>(c.data.size()))
            Fail(UnsupportedPictureText());
        raw = DecodeLz77(c.data, c.uncompressedLength);
        break;
    default:
        Fail(UnsupportedPictureText());
    }
    if (stride == width)
        return raw;
    std::vector<std::uint8_t> packed(width * height);
    for (std::size_t y = 0; y < height; ++y)
        std::copy_n(raw.begin() + static_cast<std::ptrdiff_t>(y * stride), width,
                    packed.begin() + static_cast<std::ptrdiff_t>(y * width));
    return packed;
}

struct Picture {
    int width = 0;
    int height = 0;
    int depth = 0;
    bool greyscale = false;
    std::uint16_t compression = 0;
    std::vector<QRgb> palette;
};

QImage Paint(const Picture& pic, const Bitmap& b, int opacity) {
    std::array<std::vector<std::uint8_t>, 4> colour; // grey/index, red, green, blue
    std::vector<std::uint8_t> mask;
    for (const Channel& c : b.channels) {
        if (c.bitmapType == 1 && c.channelType == 0)
            mask = Samples(b, c);
        else if (c.bitmapType == 0 && c.channelType < 4)
            colour[c.channelType] = Samples(b, c);
    }
    const bool rgb = b.depth == 24;
    if (rgb ? (colour[1].empty() || colour[2].empty() || colour[3].empty()) : colour[0].empty())
        Fail(UnsupportedPictureText());
    QImage image = picture::NewImage(b.width, b.height, QImage::Format_ARGB32);
    for (int y = 0; y < b.height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < b.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * b.width + x;
            QRgb c;
            if (rgb)
                c = qRgb(colour[1][i], colour[2][i], colour[3][i]);
            else if (pic.greyscale || pic.palette.empty())
                c = qRgb(colour[0][i], colour[0][i], colour[0][i]);
            else
                c = colour[0][i] < pic.palette.size() ? pic.palette[colour[0][i]] : qRgb(0, 0, 0);
            const int alpha = (mask.empty() ? 255 : mask[i]) * opacity / 255;
            out[x] = (c & RGB_MASK) | static_cast<QRgb>(alpha) << 24;
        }
    }
    return image;
}

void CheckDepth(int depth) {
    if (depth != 24 && depth != 8)
        Fail(UnsupportedPictureText());
}

Picture ReadAttributes(ByteCursor block) {
    ByteCursor chunk = Chunk(block);
    Picture pic;
    const std::int32_t width = chunk.S32();
    const std::int32_t height = chunk.S32();
    picture::CheckSize(width, height);
    pic.width = width;
    pic.height = height;
    chunk.Skip(8 + 1);
    pic.compression = chunk.U16();
    pic.depth = chunk.U16();
    chunk.Skip(2 + 4);
    pic.greyscale = chunk.U8() != 0;
    CheckDepth(pic.depth);
    return pic;
}

std::vector<QRgb> ReadPalette(ByteCursor block) {
    ByteCursor chunk = Chunk(block);
    const std::uint32_t count = chunk.U32();
    if (count > 256)
        Fail(UnsupportedPictureText());
    std::vector<QRgb> palette;
    for (std::uint32_t i = 0; i < count; ++i) {
        const QByteArrayView e = block.Bytes(4);
        palette.push_back(qRgb(static_cast<std::uint8_t>(e[2]), static_cast<std::uint8_t>(e[1]),
                               static_cast<std::uint8_t>(e[0])));
    }
    return palette;
}

// The full composite, when the bank holds one.
std::optional<QImage> ReadComposite(ByteCursor bank, Picture pic) {
    Chunk(bank);
    std::optional<Bitmap> full;
    bool inFull = false;
    auto take = [&](const Block& sub) {
        if (sub.id == PaletteBlock && inFull)
            pic.palette = ReadPalette(sub.data);
        else if (sub.id == ChannelBlock && inFull)
            full->channels.push_back(ReadChannel(sub.data));
    };
    for (const Block& block : ReadBlocks(bank)) {
        if (block.id != CompositeBlock) {
            take(block);
            continue;
        }
        ByteCursor data = block.data;
        ByteCursor chunk = Chunk(data);
        Bitmap b;
        b.width = chunk.S32();
        b.height = chunk.S32();
        b.depth = chunk.U16();
        b.compression = chunk.U16();
        chunk.Skip(2 + 4);
        const int kind = chunk.U16();
        inFull = kind == 0 && !full;
        if (!inFull)
            continue;
        if (b.width != pic.width || b.height != pic.height)
            Fail(UnsupportedPictureText());
        CheckDepth(b.depth);
        full = b;
        for (const Block& sub : ReadBlocks(data))
            take(sub);
    }
    if (!full)
        return std::nullopt;
    return Paint(pic, *full, 255);
}

// At most how many samples the channel's data can unpack to.
std::uint64_t MostSamples(const Channel& c, std::uint16_t compression) {
    const auto size = static_cast<std::uint64_t>(c.data.size());
    switch (compression) {
    case Rle:
        return (size + 1) * RleBestRatio;
    case Lz77:
        return (size + 1) * Lz77BestRatio;
    default:
        return size;
    }
}

// A raster layer that shows on the canvas, its rectangle in canvas pixels.
struct Layer {
    std::int64_t left;
    std::int64_t top;
    std::int64_t width;
    std::int64_t height;
    int opacity;
    std::vector<Channel> channels;
};

QImage ReadLayers(ByteCursor bank, const Picture& pic) {
    // Every layer is read before the canvas is taken, and the canvas only when the layers'
    // data could fill it at the best its compression does: the size in the image attributes
    // alone takes no memory.
    std::vector<Layer> shown;
    std::uint64_t fillable = 0;
    for (const Block& layer : ReadBlocks(bank)) {
        if (layer.id != LayerBlock)
            continue;
        ByteCursor data = layer.data;
        ByteCursor info = Chunk(data);
        info.Skip(info.U16());
        info.Skip(1);
        // Wide enough that no rectangle from the file can overflow.
        std::int64_t image[4];
        std::int64_t saved[4];
        for (std::int64_t& v : image)
            v = info.S32();
        for (std::int64_t& v : saved)
            v = info.S32();
        const int opacity = info.U8();
        info.Skip(1);
        const bool visible = info.U8() != 0;
        Chunk(data);
        const std::int64_t width = saved[2] - saved[0];
        const std::int64_t height = saved[3] - saved[1];
        const std::int64_t left = image[0] + saved[0];
        const std::int64_t top = image[1] + saved[1];
        std::vector<Channel> channels;
        for (const Block& sub : ReadBlocks(data)) {
            if (sub.id == ChannelBlock)
                channels.push_back(ReadChannel(sub.data));
        }
        if (!visible || channels.empty() || width <= 0 || height <= 0)
            continue;
        // A layer is never larger than its picture, and one wholly outside it shows nothing.
        if (width > pic.width || height > pic.height)
            Fail(UnsupportedPictureText());
        if (left >= pic.width || top >= pic.height || left + width <= 0 || top + height <= 0)
            continue;
        for (const Channel& c : channels)
            fillable += MostSamples(c, pic.compression);
        shown.push_back({left, top, width, height, opacity, std::move(channels)});
    }
    if (shown.empty() || fillable < static_cast<std::uint64_t>(pic.width) * pic.height)
        Fail(UnsupportedPictureText());
    QImage canvas = picture::NewImage(pic.width, pic.height, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    for (Layer& layer : shown) {
        Bitmap b;
        b.width = static_cast<int>(layer.width);
        b.height = static_cast<int>(layer.height);
        b.depth = pic.depth;
        b.compression = pic.compression;
        b.channels = std::move(layer.channels);
        painter.drawImage(static_cast<int>(layer.left), static_cast<int>(layer.top),
                          Paint(pic, b, layer.opacity));
    }
    painter.end();
    return canvas;
}

} // namespace

QImage ReadPsp(QIODevice& device) {
    const QByteArray bytes = picture::ReadAll(device);
    ByteCursor in(bytes, std::endian::little);
    if (in.Remaining() < 36 || in.Bytes(27) != QByteArrayView("Paint Shop Pro Image File\n\x1a"))
        Fail(UnsupportedPictureText());
    in.Seek(32);
    if (in.U16() < 4)
        Fail(UnsupportedPictureText());
    in.Skip(2);

    std::optional<Picture> pic;
    std::optional<ByteCursor> layers;
    std::optional<ByteCursor> composite;
    for (const Block& block : ReadBlocks(in)) {
        if (block.id == ImageBlock)
            pic = ReadAttributes(block.data);
        else if (block.id == PaletteBlock && pic)
            pic->palette = ReadPalette(block.data);
        else if (block.id == LayerBankBlock)
            layers = block.data;
        else if (block.id == CompositeBankBlock)
            composite = block.data;
    }
    if (!pic)
        Fail(UnsupportedPictureText());
    if (composite) {
        if (std::optional<QImage> image = ReadComposite(*composite, *pic))
            return *image;
    }
    if (!layers)
        Fail(UnsupportedPictureText());
    return ReadLayers(*layers, *pic);
}

} // namespace chromint
