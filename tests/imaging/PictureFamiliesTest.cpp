// Every picture family the open dialog offers, written by the test itself (with Qt's or
// GraphicsMagick's writers where they write the format, byte by byte where nothing does), and
// read back through LoadPicture so that the choice of reader by name is covered too.

#include "ImageLoaders.h"
#include "PictureFiles.h"

#include <QByteArray>
#include <QFile>
#include <QImage>

#include <Magick++.h>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace chromint {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

// Little- and big-endian byte strings, built field by field.
class Bytes {
public:
    explicit Bytes(bool big = false) : big_(big) {}
    Bytes& U8(int v) {
        data_.append(static_cast<char>(v & 0xFF));
        return *this;
    }
    Bytes& Int(quint64 v, int size) {
        for (int i = 0; i < size; ++i)
            U8(static_cast<int>(v >> (8 * (big_ ? size - 1 - i : i))));
        return *this;
    }
    Bytes& U16(quint64 v) { return Int(v, 2); }
    Bytes& U32(quint64 v) { return Int(v, 4); }
    Bytes& Raw(const QByteArray& b) {
        data_.append(b);
        return *this;
    }
    Bytes& Zeros(int n) { return Raw(QByteArray(n, '\0')); }
    const QByteArray& Data() const { return data_; }
    operator QByteArray() const { return data_; }

private:
    bool big_;
    QByteArray data_;
};

// A picture that packs badly, so that cutting its file cuts its pixels.
QImage Noise() {
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb((x * 37) ^ y, (y * 91) ^ x, (x * y * 13) & 0xFF));
    }
    return image;
}

// The same two rows as planes of bytes: top-row value, then bottom-row value.
QByteArray Plane(int top, int bottom, int width = 4) {
    return QByteArray(width, static_cast<char>(top)) + QByteArray(width, static_cast<char>(bottom));
}

// --- Photoshop -----------------------------------------------------------------------------

struct PsdPlan {
    int mode;
    int depth;
    int compression;
    bool large = false;
    bool mergedAlpha = false;
    QByteArray colourData{};
};

// Apple's PackBits: runs of equal bytes packed, the rest as literals.
QByteArray PackBits(const QByteArray& row) {
    QByteArray out;
    for (qsizetype i = 0; i < row.size();) {
        qsizetype run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i])
            ++run;
        if (run > 1) {
            out.append(static_cast<char>(1 - run)).append(row[i]);
        } else {
            out.append('\0').append(row[i]);
        }
        i += run;
    }
    return out;
}

QByteArray Psd(const PsdPlan& plan, const std::vector<QByteArray>& planes, int width = 4,
               int height = 2) {
    Bytes b(true);
    b.Raw("8BPS").U16(plan.large ? 2 : 1).Zeros(6).U16(planes.size());
    b.U32(height).U32(width).U16(plan.depth).U16(plan.mode);
    b.U32(plan.colourData.size()).Raw(plan.colourData);
    b.U32(0);
    const int lengthSize = plan.large ? 8 : 4;
    if (plan.mergedAlpha)
        b.Int(lengthSize + 2, lengthSize).Int(2, lengthSize).U16(0xFFFF);
    else
        b.Int(0, lengthSize);
    b.U16(plan.compression);
    if (plan.compression == 0) {
        for (const QByteArray& p : planes)
            b.Raw(p);
        return b;
    }
    const qsizetype rowBytes = planes[0].size() / height;
    QByteArray packed;
    for (const QByteArray& p : planes) {
        for (int y = 0; y < height; ++y) {
            const QByteArray row = PackBits(p.mid(y * rowBytes, rowBytes));
            b.Int(row.size(), plan.large ? 4 : 2);
            packed += row;
        }
    }
    return b.Raw(packed);
}

// 16-bit samples, big-endian.
QByteArray Wide(const QByteArray& plane) {
    QByteArray out;
    for (char c : plane)
        out.append(c).append(c);
    return out;
}

QByteArray IndexedColours() {
    QByteArray table(768, '\0');
    table[1] = '\xFF';       // entry 1: red
    table[512 + 2] = '\xFF'; // entry 2: blue
    return table;
}

// --- Autodesk Animator -----------------------------------------------------------------------

QByteArray AnimatorPic(int width = 4, int height = 2) {
    Bytes b;
    b.U16(0x9119)
        .U16(width)
        .U16(height)
        .U16(0)
        .U16(0)
        .U8(8)
        .U8(0)
        .U32(quint64(width) * height)
        .Zeros(16);
    QByteArray palette(768, '\0');
    palette[3] = 63;     // entry 1: red in six bits
    palette[6 + 2] = 63; // entry 2: blue
    return b.Raw(palette).Raw(Plane(1, 2));
}

QByteArray AnimatorProPic(int width = 4, int height = 2) {
    QByteArray palette(768, '\0');
    palette[3] = '\xFF';
    palette[6 + 2] = '\xFF';
    Bytes blocks;
    blocks.U32(6 + 2 + 768).U16(0).U16(0).Raw(palette);
    blocks.U32(6 + 8).U16(1).Raw(Plane(1, 2));
    Bytes b;
    b.U32(64 + blocks.Data().size()).U16(0x9500).U16(width).U16(height).U16(0).U16(0).U32(0);
    return b.U8(8).Zeros(45).Raw(blocks);
}

// --- Paint Shop Pro --------------------------------------------------------------------------

QByteArray PspBlock(int id, const QByteArray& data) {
    return Bytes().Raw(QByteArray("~BK\0", 4)).U16(id).U32(data.size()).Raw(data);
}

QByteArray PspChunk(const QByteArray& fields) {
    return Bytes().U32(4 + fields.size()).Raw(fields);
}

QByteArray PspPack(const QByteArray& samples, int compression) {
    if (compression == 2) {
        uLongf size = compressBound(static_cast<uLong>(samples.size()));
        QByteArray out(static_cast<qsizetype>(size), '\0');
        compress(reinterpret_cast<Bytef*>(out.data()), &size,
                 reinterpret_cast<const Bytef*>(samples.constData()),
                 static_cast<uLong>(samples.size()));
        return out.left(static_cast<qsizetype>(size));
    }
    if (compression == 0)
        return samples;
    // Runs of equal bytes as 128 + count, then the byte.
    QByteArray out;
    for (qsizetype i = 0; i < samples.size();) {
        qsizetype run = 1;
        while (i + run < samples.size() && run < 127 && samples[i + run] == samples[i])
            ++run;
        out.append(static_cast<char>(128 + run)).append(samples[i]);
        i += run;
    }
    return out;
}

QByteArray PspChannel(const QByteArray& samples, int compression, int bitmapType, int channelType) {
    const QByteArray data = PspPack(samples, compression);
    const QByteArray info =
        Bytes().U32(data.size()).U32(samples.size()).U16(bitmapType).U16(channelType);
    return PspBlock(5, PspChunk(info) + data);
}

struct PspPlan {
    int depth;
    int compression;
    bool greyscale = false;
    bool composite = true; // else one layer
    int width = 4;
    int height = 2;
    QByteArray palette{};
};

QByteArray Psp(const PspPlan& plan, const QByteArray& channels) {
    Bytes head;
    head.Raw(QByteArray("Paint Shop Pro Image File\n\x1a")).Zeros(5).U16(6).U16(0);
    Bytes attributes;
    attributes.U32(plan.width).U32(plan.height).Zeros(8).U8(0).U16(plan.compression);
    attributes.U16(plan.depth).U16(1).U32(plan.depth == 24 ? 1 << 24 : 256);
    attributes.U8(plan.greyscale ? 1 : 0).U32(0).U32(0).U16(1).U32(1);
    QByteArray file = head.Data() + PspBlock(0, PspChunk(attributes));
    if (!plan.palette.isEmpty())
        file += PspBlock(2, PspChunk(Bytes().U32(plan.palette.size() / 4)) + plan.palette);
    if (plan.composite) {
        Bytes composite;
        composite.U32(plan.width).U32(plan.height).U16(plan.depth).U16(plan.compression);
        composite.U16(1).U32(0).U16(0);
        const QByteArray bank =
            PspChunk(Bytes().U32(1)) + PspBlock(17, PspChunk(composite) + channels);
        return file + PspBlock(16, bank);
    }
    Bytes layer;
    layer.U16(5).Raw("Layer").U8(1);
    for (int rect = 0; rect < 2; ++rect)
        layer.U32(0).U32(0).U32(plan.width).U32(plan.height);
    layer.U8(255).U8(0).U8(1).U8(0).U8(0).Zeros(32).U8(0).U8(0).U8(0).U16(0);
    const int count = plan.depth == 24 ? 4 : 2;
    const QByteArray bitmap = PspChunk(Bytes().U16(count - 1).U16(count));
    return file + PspBlock(3, PspBlock(4, PspChunk(layer) + bitmap + channels));
}

// Image attributes and a layer bank holding the given layers, and no composite.
QByteArray PspCanvas(int width, int height, int compression, const QByteArray& layers) {
    Bytes head;
    head.Raw(QByteArray("Paint Shop Pro Image File\n\x1a")).Zeros(5).U16(6).U16(0);
    Bytes attributes;
    attributes.U32(width).U32(height).Zeros(8).U8(0).U16(compression);
    attributes.U16(8).U16(1).U32(256).U8(1).U32(0).U32(0).U16(1).U32(1);
    return head.Data() + PspBlock(0, PspChunk(attributes)) + PspBlock(3, layers);
}

// A visible greyscale layer at the top left of the canvas.
QByteArray PspLayer(int width, int height, const QByteArray& channels) {
    Bytes layer;
    layer.U16(5).Raw("Layer").U8(1);
    for (int rect = 0; rect < 2; ++rect)
        layer.U32(0).U32(0).U32(width).U32(height);
    layer.U8(255).U8(0).U8(1).U8(0).U8(0).Zeros(32).U8(0).U8(0).U8(0).U16(0);
    return PspBlock(4, PspChunk(layer) + PspChunk(Bytes().U16(1).U16(2)) + channels);
}

QByteArray PspRgb(int compression) {
    return PspChannel(Plane(255, 0), compression, 0, 1) +
           PspChannel(Plane(0, 0), compression, 0, 2) +
           PspChannel(Plane(0, 255), compression, 0, 3);
}

// --- Other hand-made files -------------------------------------------------------------------

// True-colour Targa with alpha, top row first: half-transparent red over blue, plain or
// run-length packed.
QByteArray Targa(bool packed) {
    Bytes b;
    b.U8(0).U8(0).U8(packed ? 10 : 2).Zeros(5).U16(0).U16(0).U16(4).U16(2).U8(32).U8(0x28);
    for (QRgb c : {qRgba(255, 0, 0, 128), qRgba(0, 0, 255, 255)}) {
        if (packed)
            b.U8(0x83);
        for (int i = 0; i < (packed ? 1 : 4); ++i)
            b.U8(qBlue(c)).U8(qGreen(c)).U8(qRed(c)).U8(qAlpha(c));
    }
    return b;
}

// Wavefront RLA, big-endian: a 740-byte header (window, active window, frame, storage type,
// colour, matte and auxiliary channel counts, revision, texts, "rgb" at 580 and the bits
// per channel at 658), then each row's offset, bottom row first, and in each row every
// channel's packed length and bytes (a count byte n >= 0 repeats the next byte n + 1 times).
QByteArray Rla() {
    Bytes head(true);
    for (int window = 0; window < 2; ++window)
        head.U16(0).U16(3).U16(0).U16(1);
    head.U16(1).U16(0).U16(3).U16(1).U16(0).U16(0xFFFE);
    QByteArray bytes = head.Data() + QByteArray(740 - head.Data().size(), '\0');
    bytes.replace(580, 3, "rgb");
    bytes.replace(658, 6, Bytes(true).U16(8).U16(0).U16(8).Data());
    Bytes rows(true);
    for (QRgb c : {qRgba(0, 0, 255, 255), qRgba(255, 0, 0, 128)}) {
        for (int v : {qRed(c), qGreen(c), qBlue(c), qAlpha(c)})
            rows.U16(2).U8(3).U8(v);
    }
    const int rowBytes = rows.Data().size() / 2;
    return bytes + Bytes(true).U32(748).U32(748 + rowBytes).Data() + rows.Data();
}

// Dr. Halo: width, height, a reserved word, then each row's byte count and packed bytes.
QByteArray HaloCut() {
    Bytes b;
    b.U16(4).U16(2).U16(0);
    for (int value : {255, 0})
        b.U16(3).U8(0x84).U8(value).U8(0);
    return b;
}

// A placeable metafile that fills its whole 1-inch frame with red, with no outline.
QByteArray RedMetafile() {
    Bytes placeable;
    placeable.U32(0x9AC6CDD7).U16(0).U16(0).U16(0).U16(96).U16(96).U16(96).U32(0);
    quint16 sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= static_cast<quint16>(static_cast<quint8>(placeable.Data()[i]) |
                                    static_cast<quint8>(placeable.Data()[i + 1]) << 8);
    placeable.U16(sum);
    Bytes records;
    records.U32(5).U16(0x020B).U16(0).U16(0);                 // window origin
    records.U32(5).U16(0x020C).U16(96).U16(96);               // window extent
    records.U32(7).U16(0x02FC).U16(0).U32(0x000000FF).U16(0); // red brush
    records.U32(8).U16(0x02FA).U16(5).U16(0).U16(0).U32(0);   // no pen
    records.U32(4).U16(0x012D).U16(0);                        // select brush
    records.U32(4).U16(0x012D).U16(1);                        // select pen
    records.U32(7).U16(0x041B).U16(96).U16(96).U16(0).U16(0); // rectangle
    records.U32(3).U16(0);                                    // end
    Bytes header;
    const int words = (18 + records.Data().size()) / 2;
    header.U16(1).U16(9).U16(0x0300).U32(words).U16(2).U32(8).U16(0);
    return placeable.Data() + header.Data() + records.Data();
}

class PictureFamiliesTest : public PictureFiles {
public:
    static void SetUpTestSuite() { Magick::InitializeMagick(nullptr); }

    // Written by GraphicsMagick's coder `magick`.
    QString MagickSaved(const QImage& picture, const QString& name, const char* magick) const {
        const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
        Magick::Image image(static_cast<unsigned>(rgba.width()),
                            static_cast<unsigned>(rgba.height()), "RGBA", Magick::CharPixel,
                            rgba.constBits());
        image.matte(picture.hasAlphaChannel());
        image.write(std::string(magick) + ":" + QFile::encodeName(Path(name)).toStdString());
        return Path(name);
    }

    QString Gif(const QString& name) const {
        int error = 0;
        GifFileType* gif =
            EGifOpenFileName(QFile::encodeName(Path(name)).constData(), false, &error);
        EXPECT_NE(gif, nullptr);
        const GifColorType colours[2] = {{255, 0, 0}, {0, 0, 255}};
        ColorMapObject* map = GifMakeMapObject(2, colours);
        EGifPutScreenDesc(gif, 4, 2, 1, 0, map);
        EGifPutImageDesc(gif, 0, 0, 4, 2, false, nullptr);
        for (GifPixelType index : {0, 1}) {
            GifPixelType row[4] = {index, index, index, index};
            EGifPutLine(gif, row, 4);
        }
        EGifCloseFile(gif, &error);
        GifFreeMapObject(map);
        return Path(name);
    }
};

struct Sample {
    int x;
    int y;
    QRgb argb;
};

struct FamilyRow {
    const char* name;
    std::function<QString(PictureFamiliesTest&)> make;
    QSize size;
    std::vector<Sample> samples;
    int tolerance = 0; // for the lossy formats
};

// The red-over-blue picture's corners, opaque.
const std::vector<Sample> kTwoRows = {{0, 0, kRed}, {3, 1, kBlue}};

using T = PictureFamiliesTest;

TEST_F(PictureFamiliesTest, EveryFamilyLoads) {
    const std::vector<Sample> kTargaRows = {{0, 0, qRgba(255, 0, 0, 128)}, {3, 1, kBlue}};
    QImage halfRed = TwoRows(QImage::Format_ARGB32);
    halfRed.setPixel(1, 0, qRgba(255, 0, 0, 0));
    const std::vector<FamilyRow> rows = {
        // Through Qt.
        {"BMP", [](T& t) { return t.Saved(TwoRows(), "a.bmp", "BMP"); }, {4, 2}, kTwoRows},
        {"DIB holding a bitmap file",
         [](T& t) { return t.Saved(TwoRows(), "a.dib", "BMP"); },
         {4, 2},
         kTwoRows},
        {"RLE name on a bitmap file",
         [](T& t) { return t.Saved(TwoRows(), "a.rle", "BMP"); },
         {4, 2},
         kTwoRows},
        {"ICO", [](T& t) { return t.Saved(TwoRows(), "a.ico", "ICO"); }, {4, 2}, kTwoRows},
        {"JPEG named in capitals",
         [](T& t) {
             QImage solid(16, 8, QImage::Format_RGB32);
             solid.fill(kRed);
             return t.Saved(solid, "a.JPG", "JPEG");
         },
         {16, 8},
         {{0, 0, kRed}},
         8},
        {"PNG named in capitals, alpha kept",
         [&halfRed](T& t) { return t.Saved(halfRed, "a.PNG", "PNG"); },
         {4, 2},
         {{0, 0, kRed}, {1, 0, qRgba(255, 0, 0, 0)}}},
        {"GIF", [](T& t) { return t.Gif("a.gif"); }, {4, 2}, kTwoRows},
        {"TIFF", [](T& t) { return t.Saved(TwoRows(), "a.tif", "TIFF"); }, {4, 2}, kTwoRows},
        {"TIFF, long ending",
         [](T& t) { return t.Saved(TwoRows(), "a.tiff", "TIFF"); },
         {4, 2},
         kTwoRows},
        {"Targa", [](T& t) { return t.Written("a.tga", Targa(false)); }, {4, 2}, kTargaRows},
        {"Targa 2.0, read by Qt",
         [](T& t) {
             const QByteArray footer = Bytes().U32(0).U32(0).Raw("TRUEVISION-XFILE.").U8(0);
             return t.Written("b.tga", Targa(false) + footer);
         },
         {4, 2},
         kTargaRows},
        {"Targa as ICB", [](T& t) { return t.Written("a.icb", Targa(false)); }, {4, 2}, kTargaRows},
        {"Targa as VDA", [](T& t) { return t.Written("a.vda", Targa(false)); }, {4, 2}, kTargaRows},
        {"Targa as WIN", [](T& t) { return t.Written("a.win", Targa(false)); }, {4, 2}, kTargaRows},
        {"run-length Targa as VST",
         [](T& t) { return t.Written("a.vst", Targa(true)); },
         {4, 2},
         kTargaRows},
        {"PPM", [](T& t) { return t.Saved(TwoRows(), "a.ppm", "PPM"); }, {4, 2}, kTwoRows},
        {"PGM",
         [](T& t) {
             QImage grey(4, 2, QImage::Format_Grayscale8);
             grey.fill(200);
             std::fill_n(grey.scanLine(1), 4, 50);
             return t.Saved(grey, "a.pgm", "PGM");
         },
         {4, 2},
         {{0, 0, qRgb(200, 200, 200)}, {3, 1, qRgb(50, 50, 50)}}},
        {"PBM",
         [](T& t) {
             QImage mono(4, 2, QImage::Format_Mono);
             mono.setColorTable({kWhite, kBlack});
             mono.fill(0);
             mono.setPixel(0, 0, 1);
             return t.Saved(mono, "a.pbm", "PBM");
         },
         {4, 2},
         {{0, 0, kBlack}, {1, 0, kWhite}}},
        // Through GraphicsMagick.
        {"PCX", [](T& t) { return t.MagickSaved(TwoRows(), "a.pcx", "PCX"); }, {4, 2}, kTwoRows},
        {"PCX as PCC",
         [](T& t) { return t.MagickSaved(TwoRows(), "a.pcc", "PCX"); },
         {4, 2},
         kTwoRows},
        {"SGI with alpha",
         [&halfRed](T& t) { return t.MagickSaved(halfRed, "a.sgi", "SGI"); },
         {4, 2},
         {{0, 0, kRed}, {1, 0, qRgba(255, 0, 0, 0)}, {3, 1, kBlue}}},
        {"SGI as RGB",
         [](T& t) { return t.MagickSaved(TwoRows(), "a.rgb", "SGI"); },
         {4, 2},
         kTwoRows},
        {"Alias/Wavefront RLA", [](T& t) { return t.Written("a.rla", Rla()); }, {4, 2}, kTargaRows},
        {"Alias/Wavefront as RPF",
         [](T& t) { return t.Written("a.rpf", Rla()); },
         {4, 2},
         kTargaRows},
        {"Photo CD",
         [](T& t) {
             QImage red(64, 32, QImage::Format_RGB32);
             red.fill(kRed);
             return t.MagickSaved(red, "a.pcd", "PCD");
         },
         {768, 512},
         {{384, 256, kRed}},
         16},
        {"PCX as SCR",
         [](T& t) { return t.MagickSaved(TwoRows(), "a.scr", "PCX"); },
         {4, 2},
         kTwoRows},
        {"SGI as BW",
         [](T& t) {
             QImage grey(4, 2, QImage::Format_Grayscale8);
             grey.fill(200);
             return t.MagickSaved(grey, "a.bw", "SGI");
         },
         {4, 2},
         {{0, 0, qRgb(200, 200, 200)}}},
        {"Dr. Halo CUT",
         [](T& t) { return t.Written("a.cut", HaloCut()); },
         {4, 2},
         {{0, 0, kWhite}, {3, 1, kBlack}}},
        {"Windows metafile",
         [](T& t) { return t.Written("a.wmf", RedMetafile()); },
         {72, 72},
         {{36, 36, kRed}}},
        // Photoshop.
        {"PSD RGB raw",
         [](T& t) {
             return t.Written("a.psd", Psd({3, 8, 0}, {Plane(255, 0), Plane(0, 0), Plane(0, 255)}));
         },
         {4, 2},
         kTwoRows},
        {"PSD RGB PackBits",
         [](T& t) {
             return t.Written("b.psd", Psd({3, 8, 1}, {Plane(255, 0), Plane(0, 0), Plane(0, 255)}));
         },
         {4, 2},
         kTwoRows},
        {"PSD RGB with merged transparency",
         [](T& t) {
             PsdPlan plan{3, 8, 1};
             plan.mergedAlpha = true;
             return t.Written(
                 "c.psd", Psd(plan, {Plane(255, 0), Plane(0, 0), Plane(0, 255), Plane(128, 255)}));
         },
         {4, 2},
         {{0, 0, qRgba(255, 0, 0, 128)}, {3, 1, kBlue}}},
        {"PSD extra channel without the flag stays opaque",
         [](T& t) {
             return t.Written(
                 "d.psd", Psd({3, 8, 0}, {Plane(255, 0), Plane(0, 0), Plane(0, 255), Plane(0, 0)}));
         },
         {4, 2},
         kTwoRows},
        {"PSD 16-bit RGB",
         [](T& t) {
             return t.Written("e.psd", Psd({3, 16, 1}, {Wide(Plane(255, 0)), Wide(Plane(0, 0)),
                                                        Wide(Plane(0, 255))}));
         },
         {4, 2},
         kTwoRows},
        {"PSB RGB PackBits",
         [](T& t) {
             PsdPlan plan{3, 8, 1};
             plan.large = true;
             return t.Written("f.psd", Psd(plan, {Plane(255, 0), Plane(0, 0), Plane(0, 255)}));
         },
         {4, 2},
         kTwoRows},
        {"PSD greyscale",
         [](T& t) {
             return t.Written("g.psd", Psd({1, 8, 1}, {Plane(200, 50)}));
         },
         {4, 2},
         {{0, 0, qRgb(200, 200, 200)}, {3, 1, qRgb(50, 50, 50)}}},
        {"PSD indexed as PDD",
         [](T& t) {
             PsdPlan plan{2, 8, 0};
             plan.colourData = IndexedColours();
             return t.Written("h.pdd", Psd(plan, {Plane(1, 2)}));
         },
         {4, 2},
         kTwoRows},
        {"PSD CMYK",
         [](T& t) {
             return t.Written("i.psd", Psd({4, 8, 1}, {Plane(255, 0), Plane(0, 0), Plane(0, 255),
                                                       Plane(255, 255)}));
         },
         {4, 2},
         kTwoRows},
        {"PSD bitmap",
         [](T& t) {
             // One byte per row: the leftmost pixel of the top row inked.
             return t.Written("j.psd", Psd({0, 1, 0}, {QByteArray("\x80\x00", 2)}));
         },
         {4, 2},
         {{0, 0, kBlack}, {1, 0, kWhite}, {0, 1, kWhite}}},
        // Autodesk Animator.
        {"Animator PIC", [](T& t) { return t.Written("a.pic", AnimatorPic()); }, {4, 2}, kTwoRows},
        {"Animator CEL", [](T& t) { return t.Written("a.cel", AnimatorPic()); }, {4, 2}, kTwoRows},
        {"Animator Pro PIC",
         [](T& t) { return t.Written("b.pic", AnimatorProPic()); },
         {4, 2},
         kTwoRows},
        // Paint Shop Pro.
        {"PSP composite, run-length",
         [](T& t) {
             return t.Written("a.psp", Psp({24, 1}, PspRgb(1)));
         },
         {4, 2},
         kTwoRows},
        {"PSP composite, LZ77",
         [](T& t) {
             return t.Written("b.psp", Psp({24, 2}, PspRgb(2)));
         },
         {4, 2},
         kTwoRows},
        {"PSP paletted composite, rows padded",
         [](T& t) {
             PspPlan plan{8, 0};
             plan.width = 3;
             plan.palette = Bytes().U32(0x00FF0000).U32(0x000000FF);
             // Three pixels a row, padded to four bytes.
             return t.Written(
                 "c.psp",
                 Psp(plan, PspChannel(QByteArray("\x00\x00\x00\x07\x01\x01\x01\x07", 8), 0, 0, 0)));
         },
         {3, 2},
         {{0, 0, kRed}, {2, 1, kBlue}}},
        {"PSP greyscale layer over transparency",
         [](T& t) {
             PspPlan plan{8, 2};
             plan.greyscale = true;
             plan.composite = false;
             return t.Written("d.psp", Psp(plan, PspChannel(Plane(200, 50), 2, 0, 0) +
                                                     PspChannel(Plane(255, 0), 2, 1, 0)));
         },
         {4, 2},
         {{0, 0, qRgb(200, 200, 200)}, {3, 1, qRgba(0, 0, 0, 0)}}},
    };
    for (const FamilyRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<LoadedPicture> picture = LoadOrFail(row.make(*this));
        if (!picture)
            continue;
        EXPECT_EQ(picture->image.format(), QImage::Format_ARGB32);
        EXPECT_EQ(picture->image.size(), row.size);
        for (const Sample& s : row.samples) {
            const QRgb got = picture->image.pixel(s.x, s.y);
            SCOPED_TRACE(testing::Message() << "at " << s.x << "," << s.y << " got " << std::hex
                                            << got << " want " << s.argb);
            EXPECT_NEAR(qAlpha(got), qAlpha(s.argb), row.tolerance);
            // A fully transparent pixel's colour is nobody's business.
            if (qAlpha(s.argb) == 0)
                continue;
            EXPECT_NEAR(qRed(got), qRed(s.argb), row.tolerance);
            EXPECT_NEAR(qGreen(got), qGreen(s.argb), row.tolerance);
            EXPECT_NEAR(qBlue(got), qBlue(s.argb), row.tolerance);
        }
    }
}

struct HostileRow {
    const char* name;
    std::function<QString(PictureFamiliesTest&)> make;
    // Empty when either the damaged-picture or the stream text will do.
    QString reason;
};

TEST_F(PictureFamiliesTest, HostileFilesGiveMessages) {
    const QString corrupt = UnsupportedPictureText();
    const QString huge = PictureTooLargeText(100000, 100000);
    const QString huge16 = PictureTooLargeText(65535, 65535);
    const QByteArray junk(300, '\x5A');
    const std::vector<HostileRow> rows = {
        {"truncated bitmap",
         [](T& t) {
             QImage big(64, 64, QImage::Format_RGB32);
             big.fill(kRed);
             return t.Truncated("cut.bmp", t.Saved(big, "whole.bmp", "BMP"));
         },
         {}},
        {"Targa claiming 65535 × 65535",
         [](T& t) {
             QByteArray bytes = Targa(false);
             return t.Written("huge.tga",
                              bytes.replace(12, 4, Bytes().U16(65535).U16(65535).Data()));
         },
         huge16},
        {"PCX claiming 65535 × 65535",
         [](T& t) {
             QByteArray bytes = t.Read(t.MagickSaved(TwoRows(), "full.pcx", "PCX"));
             return t.Written("huge.pcx",
                              bytes.replace(8, 4, Bytes().U16(65534).U16(65534).Data()));
         },
         huge16},
        {"truncated PCX",
         [](T& t) { return t.Truncated("cut.pcx", t.MagickSaved(Noise(), "whole.pcx", "PCX")); },
         {}},
        {"truncated SGI",
         [](T& t) { return t.Truncated("cut.sgi", t.MagickSaved(Noise(), "whole.sgi", "SGI")); },
         {}},
        {"SGI claiming 65535 × 65535",
         [](T& t) {
             QByteArray bytes = t.Read(t.MagickSaved(TwoRows(), "full.sgi", "SGI"));
             return t.Written("huge.sgi",
                              bytes.replace(6, 4, Bytes(true).U16(65535).U16(65535).Data()));
         },
         huge16},
        {"junk named PCX", [&junk](T& t) { return t.Written("junk.pcx", junk); }, corrupt},
        {"junk named SGI", [&junk](T& t) { return t.Written("junk.sgi", junk); }, corrupt},
        {"PSD claiming 100000 × 100000",
         [](T& t) {
             QByteArray bytes = Psd({3, 8, 0}, {Plane(255, 0), Plane(0, 0), Plane(0, 255)});
             return t.Written("huge.psd",
                              bytes.replace(14, 8, Bytes(true).U32(100000).U32(100000).Data()));
         },
         huge},
        {"truncated PSD",
         [](T& t) {
             return t.Written(
                 "cut.psd", Psd({3, 8, 1}, {Plane(255, 0), Plane(0, 0), Plane(0, 255)}).chopped(5));
         },
         {}},
        {"junk named PSD", [&junk](T& t) { return t.Written("junk.psd", junk); }, corrupt},
        {"Animator PIC claiming 65535 × 65535",
         [](T& t) { return t.Written("huge.pic", AnimatorPic(65535, 65535)); }, huge16},
        {"Animator Pro PIC claiming 65535 × 65535",
         [](T& t) { return t.Written("huge.cel", AnimatorProPic(65535, 65535)); }, huge16},
        {"truncated Animator PIC",
         [](T& t) { return t.Written("cut.pic", AnimatorPic().chopped(3)); },
         {}},
        {"truncated Animator Pro PIC",
         [](T& t) { return t.Written("cut.cel", AnimatorProPic().chopped(3)); },
         {}},
        {"junk named PIC", [&junk](T& t) { return t.Written("junk.pic", junk); }, corrupt},
        {"PSP claiming 100000 × 100000",
         [](T& t) {
             QByteArray bytes = Psp({24, 1}, PspRgb(1));
             // After the signature, version, block head and chunk length.
             return t.Written(
                 "huge.psp", bytes.replace(36 + 10 + 4, 8, Bytes().U32(100000).U32(100000).Data()));
         },
         huge},
        {"truncated PSP",
         [](T& t) {
             return t.Written("cut.psp", Psp({24, 2}, PspRgb(2)).chopped(7));
         },
         {}},
        {"junk named PSP", [&junk](T& t) { return t.Written("junk.psp", junk); }, corrupt},
        {"enhanced metafile",
         [](T& t) { return t.Written("a.emf", Bytes().U32(1).U32(108).Zeros(100)); }, corrupt},
    };
    for (const HostileRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<QString> reason = RefusalOf(row.make(*this));
        if (!reason)
            continue;
        if (row.reason.isEmpty()) {
            EXPECT_TRUE(*reason == corrupt || *reason == StreamReadErrorText())
                << reason->toStdString();
        } else {
            EXPECT_EQ(reason->toStdString(), row.reason.toStdString());
        }
    }
}

// Sizes from 32-bit unsigned header fields once overflowed the size check, so that a picture
// over the limit was refused later with the wrong text; and a Paint Shop Pro canvas took its
// memory from the header alone, before any layer had shown that the file could fill it.
TEST_F(PictureFamiliesTest, HeaderSizesNeitherOverflowNorTakeMemoryUnfilled) {
    const QString corrupt = UnsupportedPictureText();
    const std::vector<HostileRow> rows = {
        {"PSD whose sizes overflow the size check",
         [](T& t) {
             // The 26-byte header alone: height 4294967288, width 4294967295.
             return t.Written("overflow.psd", Bytes(true)
                                                  .Raw("8BPS")
                                                  .U16(1)
                                                  .Zeros(6)
                                                  .U16(3)
                                                  .U32(0xFFFFFFF8)
                                                  .U32(0xFFFFFFFF)
                                                  .U16(8)
                                                  .U16(3));
         },
         PictureTooLargeText(4294967295, 4294967288)},
        {"PSD a single side over the limit",
         [](T& t) {
             QByteArray bytes = Psd({3, 8, 0}, {Plane(255, 0), Plane(0, 0), Plane(0, 255)});
             return t.Written("wide.psd",
                              bytes.replace(14, 8, Bytes(true).U32(1).U32(0x80000000).Data()));
         },
         PictureTooLargeText(0x80000000, 1)},
        {"PSD PackBits rows the file cannot hold",
         [](T& t) {
             QByteArray bytes = Psd({3, 8, 1}, {Plane(255, 0), Plane(0, 0), Plane(0, 255)});
             return t.Written("packed.psd",
                              bytes.replace(14, 8, Bytes(true).U32(2).U32(20000).Data()));
         },
         StreamReadErrorText()},
        {"PSP canvas of 20000 × 20000 without layers",
         [](T& t) { return t.Written("empty.psp", PspCanvas(20000, 20000, 0, {})); }, corrupt},
        {"PSP canvas of 20000 × 20000 with one 4 × 2 layer",
         [](T& t) {
             return t.Written(
                 "sparse.psp",
                 PspCanvas(20000, 20000, 2, PspLayer(4, 2, PspChannel(Plane(200, 50), 2, 0, 0))));
         },
         corrupt},
    };
    for (const HostileRow& row : rows) {
        SCOPED_TRACE(row.name);
        if (const std::optional<QString> reason = RefusalOf(row.make(*this))) {
            EXPECT_EQ(reason->toStdString(), row.reason.toStdString());
        }
    }
}

} // namespace
} // namespace chromint
