#include "ImageLoaders.h"
#include "PictureFiles.h"
#include "TestRows.h"

#include <QByteArray>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace chromint {
namespace {

class ImageLoadersTest : public PictureFiles {
public:
    static QImage Solid(QRgb color) {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(color);
        return image;
    }

    // An RGB picture whose one transparent colour is blue, written with libpng itself.
    QString PngWithTransparentColour(const char* name) const {
        const QString path = Path(name);
        std::FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_init_io(png, f);
        png_set_IHDR(png, info, 2, 1, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_color_16 trans{};
        trans.blue = 255;
        png_set_tRNS(png, info, nullptr, 0, &trans);
        png_write_info(png, info);
        png_byte row[6] = {255, 0, 0, 0, 0, 255};
        png_write_row(png, row);
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return path;
    }

    // A PNG whose header claims the size; the header's check sum is made to match.
    QString PngClaiming(const char* name, quint32 width, quint32 height) const {
        QByteArray bytes = Read(Saved(TwoRows(), "claim.png", "PNG"));
        auto put = [&bytes](int at, quint32 v) {
            for (int i = 0; i < 4; ++i)
                bytes[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
        };
        put(16, width);
        put(20, height);
        put(29, static_cast<quint32>(
                    crc32(0, reinterpret_cast<const Bytef*>(bytes.constData() + 12), 17)));
        return Written(name, bytes);
    }

    // A JPEG whose frame header claims the size.
    QString JpegClaiming(const char* name, quint16 width, quint16 height) const {
        QByteArray bytes = Read(Saved(TwoRows(), "claim.jpg", "JPEG"));
        const int sof = static_cast<int>(bytes.indexOf(QByteArray("\xFF\xC0", 2)));
        EXPECT_GT(sof, 0);
        bytes[sof + 5] = static_cast<char>(height >> 8);
        bytes[sof + 6] = static_cast<char>(height & 0xFF);
        bytes[sof + 7] = static_cast<char>(width >> 8);
        bytes[sof + 8] = static_cast<char>(width & 0xFF);
        return Written(name, bytes);
    }

    // A bitmap whose header claims the size.
    QString BmpClaiming(const char* name, qint32 width, qint32 height) const {
        QByteArray bytes = Read(Saved(TwoRows(), "claim.bmp", "BMP"));
        auto put = [&bytes](int at, qint32 v) {
            for (int i = 0; i < 4; ++i)
                bytes[at + i] = static_cast<char>((static_cast<quint32>(v) >> (8 * i)) & 0xFF);
        };
        put(18, width);
        put(22, height);
        return Written(name, bytes);
    }
};

TEST(ImageLoaderNames, DecoderByEnding) {
    struct Row {
        const char* name;
        const char* file;
        PictureDecoder decoder;
    };
    const std::vector<Row> rows = {
        {"png", "a.png", PictureDecoder::Png},
        {"upper-case PNG", "a.PNG", PictureDecoder::Png},
        {"mixed-case PNG", "a.Png", PictureDecoder::Png},
        {"jpg", "a.jpg", PictureDecoder::Jpeg},
        {"jpeg", "a.jpeg", PictureDecoder::Jpeg},
        {"jpe", "a.jpe", PictureDecoder::Jpeg},
        {"jfif", "a.jfif", PictureDecoder::Jpeg},
        {"jif", "a.jif", PictureDecoder::Jpeg},
        {"upper-case JPG", "a.JPG", PictureDecoder::General},
        {"bmp", "a.bmp", PictureDecoder::General},
        {"png in the middle", "a.png.gif", PictureDecoder::General},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DecoderForFileName(QString::fromLatin1(row.file)), row.decoder);
    }
}

TEST(ImageLoaderNames, Message) {
    EXPECT_EQ(PictureLoadMessage("/tmp/x.gif", UnsupportedPictureText()),
              "There is a problem with opening /tmp/x.gif file. Unsupported image format or "
              "file is corrupt.");
    EXPECT_TRUE(PictureTooLargeText(100000, 100000).contains("400 million"));
}

struct GoodRow {
    const char* name;
    std::function<QString(ImageLoadersTest&)> make;
    bool transparent;
    QRgb topLeft;
    int topLeftAlpha;
};

TEST_F(ImageLoadersTest, Loads) {
    QImage alpha = TwoRows(QImage::Format_ARGB32);
    alpha.setPixel(0, 1, qRgba(0, 0, 255, 0));
    alpha.setPixel(0, 0, qRgba(255, 0, 0, 128));
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 0)});
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);
    const std::vector<GoodRow> rows = {
        {"opaque PNG", [](ImageLoadersTest& t) { return t.Saved(TwoRows(), "o.png", "PNG"); },
         false, kRed, 255},
        {"PNG with alpha channel",
         [&alpha](ImageLoadersTest& t) { return t.Saved(alpha, "a.png", "PNG"); }, true, kRed, 128},
        {"PNG with palette alpha",
         [&indexed](ImageLoadersTest& t) { return t.Saved(indexed, "p.png", "PNG"); }, true, kRed,
         255},
        {"PNG with a transparent colour",
         [](ImageLoadersTest& t) { return t.PngWithTransparentColour("t.png"); }, true, kRed, 255},
        {"upper-case PNG with alpha channel",
         [&alpha](ImageLoadersTest& t) { return t.Saved(alpha, "a.PNG", "PNG"); }, true, kRed, 128},
        // One colour throughout, so chroma subsampling cannot bleed into the probed pixel.
        {"JPEG", [](ImageLoadersTest& t) { return t.Saved(Solid(kRed), "j.jpg", "JPEG"); }, false,
         kRed, 255},
        {"BMP", [](ImageLoadersTest& t) { return t.Saved(TwoRows(), "b.bmp", "BMP"); }, false, kRed,
         255},
        {"DIB holding a whole bitmap file",
         [](ImageLoadersTest& t) { return t.Saved(TwoRows(), "d.dib", "BMP"); }, false, kRed, 255},
        {"PPM", [](ImageLoadersTest& t) { return t.Saved(TwoRows(), "m.ppm", "PPM"); }, false, kRed,
         255},
    };
    for (const GoodRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<LoadedPicture> loaded = LoadOrFail(row.make(*this));
        if (!loaded)
            continue;
        const LoadedPicture& picture = *loaded;
        EXPECT_EQ(picture.transparent, row.transparent);
        const QRgb pixel = picture.image.pixel(0, 0);
        // JPEG is lossy: near enough is right.
        EXPECT_NEAR(qRed(pixel), qRed(row.topLeft), 8);
        EXPECT_NEAR(qGreen(pixel), qGreen(row.topLeft), 8);
        EXPECT_NEAR(qBlue(pixel), qBlue(row.topLeft), 8);
        EXPECT_EQ(qAlpha(pixel), row.topLeftAlpha);
    }
}

TEST_F(ImageLoadersTest, TransparentPixelsKeepTheirColour) {
    const LoadedPicture t = LoadPicture(PngWithTransparentColour("t.png"));
    EXPECT_EQ(t.image.pixel(1, 0), qRgba(0, 0, 255, 0)) << "the transparent colour";
    EXPECT_EQ(t.image.pixel(0, 0), qRgba(255, 0, 0, 255));
    QImage alpha = TwoRows(QImage::Format_ARGB32);
    alpha.setPixel(0, 1, qRgba(0, 0, 255, 0));
    const LoadedPicture a = LoadPicture(Saved(alpha, "a.png", "PNG"));
    EXPECT_EQ(a.image.pixel(0, 1), qRgba(0, 0, 255, 0));
}

// Pictures whose stored numbers a careless reader changes: 16-bit samples, which must be
// rounded to 8 bits and nothing more, and a gAMA chunk, which must not change any value.
struct StoredColourRow {
    const char* row;
    int colourType;
    int bitDepth;
    double gamma; // 0: no gAMA chunk
    // One row of pixels, samples in file order.
    std::vector<quint16> samples;
    std::vector<QRgb> expected;
    bool transparent;
};
CHROMINT_PRINT_ROW(StoredColourRow, row, "bit depth " << row.bitDepth << ", gamma " << row.gamma)

// 0x00FF and 0x01FF round up where dropping the low byte would not.
const StoredColourRow kStoredColourRows[] = {
    {"16-bit RGB",
     PNG_COLOR_TYPE_RGB,
     16,
     0,
     {200 * 257, 50 * 257, 30 * 257, 0x00FF, 0x01FF, 0x8080},
     {qRgb(200, 50, 30), qRgb(1, 2, 128)},
     false},
    {"16-bit grey and alpha",
     PNG_COLOR_TYPE_GRAY_ALPHA,
     16,
     0,
     {100 * 257, 0x8000, 0x01FF, 0xFFFF},
     {qRgba(100, 100, 100, 128), qRgba(2, 2, 2, 255)},
     true},
    {"8-bit RGB with gamma 1 over 1.8",
     PNG_COLOR_TYPE_RGB,
     8,
     1 / 1.8,
     {200, 50, 30, 10, 128, 250},
     {qRgb(200, 50, 30), qRgb(10, 128, 250)},
     false},
    {"8-bit RGB with gamma 1.0",
     PNG_COLOR_TYPE_RGB,
     8,
     1.0,
     {200, 50, 30, 10, 128, 250},
     {qRgb(200, 50, 30), qRgb(10, 128, 250)},
     false},
};

// One row of pixels written by libpng's own writer, byte for byte as given.
void WriteClassicPng(const QString& path, int colourType, int bitDepth, double gamma,
                     const std::vector<quint16>& samples) {
    const int channels = colourType == PNG_COLOR_TYPE_GRAY         ? 1
                         : colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                         : colourType == PNG_COLOR_TYPE_RGB        ? 3
                                                                   : 4;
    std::vector<png_byte> row;
    for (const quint16 sample : samples) {
        // 16-bit samples are stored high byte first.
        if (bitDepth == 16)
            row.push_back(static_cast<png_byte>(sample >> 8));
        row.push_back(static_cast<png_byte>(sample & 0xFF));
    }
    std::FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
    ASSERT_NE(f, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(samples.size()) / channels, 1, bitDepth,
                 colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (gamma > 0)
        png_set_gAMA(png, info, gamma);
    png_write_info(png, info);
    png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

std::vector<QRgb> FirstRow(const QImage& image) {
    std::vector<QRgb> out;
    for (int x = 0; x < image.width(); ++x)
        out.push_back(image.pixel(x, 0));
    return out;
}

// Pixels as #AARRGGBB, for readable failures.
std::vector<std::string> Hex(const std::vector<QRgb>& pixels) {
    std::vector<std::string> out;
    for (const QRgb pixel : pixels)
        out.push_back(QStringLiteral("#%1").arg(pixel, 8, 16, QLatin1Char('0')).toStdString());
    return out;
}

class StoredColourTest : public PictureFiles,
                         public ::testing::WithParamInterface<StoredColourRow> {};

TEST_P(StoredColourTest, ReadsTheStoredValuesWhateverTheCaseOfTheName) {
    const StoredColourRow& row = GetParam();
    for (const char* name : {"stored.png", "stored.PNG"}) {
        SCOPED_TRACE(name);
        const QString path = Path(QString::fromLatin1(name));
        WriteClassicPng(path, row.colourType, row.bitDepth, row.gamma, row.samples);
        const std::optional<LoadedPicture> picture = LoadOrFail(path);
        if (!picture)
            continue;
        EXPECT_EQ(picture->transparent, row.transparent);
        EXPECT_EQ(Hex(FirstRow(picture->image)), Hex(row.expected));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, StoredColourTest, ::testing::ValuesIn(kStoredColourRows),
                         test::RowName<::testing::TestParamInfo<StoredColourRow>>);

// Every 16-bit grey, rounded to the nearest of the 8-bit steps (v * 255 / 65535).
TEST_F(ImageLoadersTest, SixteenBitGreyRoundsToTheNearestEightBitValue) {
    std::vector<quint16> samples(65536);
    for (int v = 0; v < 65536; ++v)
        samples[v] = static_cast<quint16>(v);
    const QString path = Path("ramp.png");
    WriteClassicPng(path, PNG_COLOR_TYPE_GRAY, 16, 0, samples);
    const std::optional<LoadedPicture> picture = LoadOrFail(path);
    ASSERT_TRUE(picture);
    int wrong = 0;
    int firstWrong = -1;
    for (int v = 0; v < 65536; ++v) {
        const int expected = (v * 255 + 32767) / 65535;
        if (picture->image.pixel(v, 0) != qRgb(expected, expected, expected)) {
            ++wrong;
            if (firstWrong < 0)
                firstWrong = v;
        }
    }
    EXPECT_EQ(wrong, 0) << "first at " << firstWrong << ", read as "
                        << qRed(picture->image.pixel(std::max(firstWrong, 0), 0));
}

struct BadRow {
    const char* name;
    std::function<QString(ImageLoadersTest&)> make;
    QString reason;
};

TEST_F(ImageLoadersTest, HostileFilesGiveMessages) {
    const QString corrupt = UnsupportedPictureText();
    const std::vector<BadRow> rows = {
        {"missing file", [](ImageLoadersTest& t) { return t.Path("none.png"); },
         FileNotFoundText()},
        {"missing general file", [](ImageLoadersTest& t) { return t.Path("none.bmp"); },
         FileNotFoundText()},
        {"missing JPEG", [](ImageLoadersTest& t) { return t.Path("none.jpg"); },
         FileNotFoundText()},
        {"PNG claiming 100000 x 100000",
         [](ImageLoadersTest& t) { return t.PngClaiming("huge.png", 100000, 100000); },
         PictureTooLargeText(100000, 100000)},
        {"JPEG claiming 60000 x 60000",
         [](ImageLoadersTest& t) { return t.JpegClaiming("huge.jpg", 60000, 60000); },
         PictureTooLargeText(60000, 60000)},
        {"BMP claiming 100000 x 100000",
         [](ImageLoadersTest& t) { return t.BmpClaiming("huge.bmp", 100000, 100000); },
         PictureTooLargeText(100000, 100000)},
        {"truncated PNG",
         [](ImageLoadersTest& t) {
             return t.Truncated("cut.png", t.Saved(TwoRows(), "full.png", "PNG"));
         },
         corrupt},
        {"truncated JPEG",
         [](ImageLoadersTest& t) {
             return t.Truncated("cut.jpg", t.Saved(TwoRows(), "full.jpg", "JPEG"));
         },
         corrupt},
        {"junk named PNG", [](ImageLoadersTest& t) { return t.Written("junk.png", "junk!junk"); },
         corrupt},
        {"junk named JPEG", [](ImageLoadersTest& t) { return t.Written("junk.jpg", "junk!junk"); },
         corrupt},
        {"junk named BMP", [](ImageLoadersTest& t) { return t.Written("junk.bmp", "junk!junk"); },
         corrupt},
        {"empty GIF", [](ImageLoadersTest& t) { return t.Written("empty.gif", ""); }, corrupt},
        {"EMF has no reader",
         [](ImageLoadersTest& t) { return t.Written("x.emf", QByteArray(64, '\x01')); }, corrupt},
    };
    for (const BadRow& row : rows) {
        SCOPED_TRACE(row.name);
        if (const std::optional<QString> reason = RefusalOf(row.make(*this))) {
            EXPECT_EQ(reason->toStdString(), row.reason.toStdString());
        }
    }
}

} // namespace
} // namespace chromint
