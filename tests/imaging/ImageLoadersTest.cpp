#include "ImageLoaders.h"
#include "PictureFiles.h"

#include <QByteArray>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <functional>
#include <optional>
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
        {"upper-case PNG goes to the general loader", "a.PNG", PictureDecoder::General},
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
        {"upper-case PNG has no transparency",
         [&alpha](ImageLoadersTest& t) { return t.Saved(alpha, "a.PNG", "PNG"); }, false, kRed,
         128},
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
