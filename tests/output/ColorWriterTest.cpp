#include "ColorWriter.h"

#include "ColorOperations.h"
#include "ModalDriver.h"
#include "ResourceLimits.h"
#include "TestRows.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace chromint {
namespace {

constexpr TColor kFrame = 0x404040;
constexpr TColor kWindow = 0xF0F0F0;

TColor PixelAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return MakeRGB(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                   static_cast<std::uint8_t>(qBlue(p)));
}

// A name so long that the temporary file beside it cannot be created, even for root: writing
// it fails, while a file of that name can still be made directly.
QString NameTooLongForATemporary(const QTemporaryDir& dir, char letter) {
    return dir.filePath(QString(245, QLatin1Char(letter)) + QStringLiteral(".png"));
}

TColorWriter Writer(TColor color) {
    TColorWriter writer(color);
    writer.SetFrameColor(kFrame);
    writer.SetWindowColor(kWindow);
    return writer;
}

// The largest channel difference between two colours.
int ChannelError(TColor a, TColor b) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return worst;
}

TEST(ColorWriter, StartsAtTheDocumentedValues) {
    const TColorWriter writer(0x0080FF);
    EXPECT_EQ(writer.Width(), 128);
    EXPECT_EQ(writer.Height(), 64);
    EXPECT_EQ(writer.Color(), 0x0080FFu);
    EXPECT_EQ(writer.Opacity(), 100);
    EXPECT_EQ(writer.TileSize(), 4);
    EXPECT_TRUE(writer.SwatchStyle());
}

TEST(ColorWriter, OpacityIsClampedAndAZeroTileSizeIgnored) {
    TColorWriter writer(clBlack);
    writer.SetOpacity(150);
    EXPECT_EQ(writer.Opacity(), 100);
    writer.SetOpacity(-3);
    EXPECT_EQ(writer.Opacity(), 0);
    writer.SetTileSize(0);
    EXPECT_EQ(writer.TileSize(), 4);
    writer.SetTileSize(7);
    EXPECT_EQ(writer.TileSize(), 7);
}

struct CaptionRow {
    const char* name;
    TColor color;
    int opacity;
    const char* text;
    TColor ink;
};
CHROMINT_PRINT_ROW(CaptionRow, name, "opacity " << row.opacity)

class CaptionTest : public ::testing::TestWithParam<CaptionRow> {};

TEST_P(CaptionTest, TextAndInk) {
    const CaptionRow& row = GetParam();
    EXPECT_EQ(ColorPictureCaption(row.color).toStdString(), row.text);
    EXPECT_EQ(ColorPictureCaptionColor(row.color, row.opacity), row.ink);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CaptionTest,
    ::testing::Values(
        CaptionRow{"white", clWhite, 100, "RGB: 255 255 255", clBlack},
        CaptionRow{"black", clBlack, 100, "RGB: 0 0 0", clWhite},
        CaptionRow{"orange_sum_383", MakeRGB(255, 128, 0), 100, "RGB: 255 128 0", clBlack},
        CaptionRow{"orange_sum_382", MakeRGB(255, 127, 0), 100, "RGB: 255 127 0", clWhite},
        CaptionRow{"no_colour_on_white", clNone, 100, "RGB: 255 255 255", clBlack},
        CaptionRow{"faint_black_reads_on_near_white", clBlack, 10, "RGB: 0 0 0", clBlack},
        CaptionRow{"half_black_on_white", clBlack, 60, "RGB: 0 0 0", clWhite}),
    [](const auto& info) { return std::string(info.param.name); });

struct DepthRow {
    const char* name;
    int x, y;
    TColor expected;
};
CHROMINT_PRINT_ROW(DepthRow, name, "pixel " << row.x << "," << row.y)

class SwatchStyleTest : public ::testing::TestWithParam<DepthRow> {};

// Rings from the edge inwards for orange: frame, window ring, 25 % and 13 % darker, colour.
TEST_P(SwatchStyleTest, RingPixel) {
    const DepthRow& row = GetParam();
    QImage image;
    Writer(MakeRGB(255, 128, 0)).Render(image);
    ASSERT_EQ(image.size(), QSize(128, 64));
    EXPECT_EQ(PixelAt(image, row.x, row.y), row.expected) << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SwatchStyleTest,
    ::testing::Values(
        DepthRow{"frame_top_left", 0, 0, kFrame}, DepthRow{"frame_bottom_right", 127, 63, kFrame},
        DepthRow{"window_ring", 1, 30, kWindow}, DepthRow{"window_ring_right", 126, 30, kWindow},
        DepthRow{"darker_by_25", 2, 30, BlendPercent(MakeRGB(255, 128, 0), clBlack, 25)},
        DepthRow{"darker_by_13", 3, 30, BlendPercent(MakeRGB(255, 128, 0), clBlack, 13)},
        DepthRow{"colour_from_4_in", 4, 4, MakeRGB(255, 128, 0)},
        DepthRow{"colour_in_the_middle_top", 64, 10, MakeRGB(255, 128, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ColorWriter, PlainStyleIsAFramedFill) {
    TColorWriter writer = Writer(MakeRGB(10, 20, 30));
    writer.SetSwatchStyle(false);
    QImage image;
    writer.Render(image);
    EXPECT_EQ(PixelAt(image, 0, 0), kFrame);
    EXPECT_EQ(PixelAt(image, 127, 10), kFrame);
    EXPECT_EQ(PixelAt(image, 1, 1), MakeRGB(10, 20, 30));
    EXPECT_EQ(PixelAt(image, 126, 10), MakeRGB(10, 20, 30));
}

TEST(ColorWriter, CaptionSitsAtTheBottomCentreInTheRightInk) {
    for (const TColor color : {clWhite, clBlack}) {
        QImage image;
        Writer(color).Render(image);
        const TColor ink = ColorPictureCaptionColor(color, 100);
        int inkPixels = 0;
        for (int y = 4; y < 60; ++y)
            for (int x = 4; x < 124; ++x)
                if (PixelAt(image, x, y) == ink) {
                    ++inkPixels;
                    EXPECT_GE(y, 36) << "ink above the caption line at " << x << "," << y;
                }
        EXPECT_GT(inkPixels, 8) << "colour " << color;
        EXPECT_EQ(PixelAt(image, 64, 10), color);
    }
}

struct CheckerRow {
    const char* name;
    int opacity;
    TColor color;
};
CHROMINT_PRINT_ROW(CheckerRow, name, "opacity " << row.opacity)

class CheckerTest : public ::testing::TestWithParam<CheckerRow> {};

// Tiles on squares whose row and column differ in parity, clipped 5 pixels inside the edge.
TEST_P(CheckerTest, TilesAndBackground) {
    const CheckerRow& row = GetParam();
    TColorWriter writer = Writer(row.color);
    writer.SetOpacity(row.opacity);
    QImage image;
    writer.Render(image);
    const bool nothing = row.color == clNone || row.opacity == 0;
    const TColor tile = nothing ? clWhite : BlendPercent(clSilver, row.color, row.opacity);
    const TColor back = nothing ? clWhite : BlendPercent(clWhite, row.color, row.opacity);
    EXPECT_EQ(PixelAt(image, 0, 0), kFrame);
    EXPECT_EQ(PixelAt(image, 1, 1), kWindow);
    EXPECT_EQ(PixelAt(image, 4, 10), back) << "ring at depth 4 is outside the clip";
    EXPECT_EQ(PixelAt(image, 5, 5), back) << "square 0,0";
    EXPECT_EQ(PixelAt(image, 6, 9), tile) << "square 4,0 at row 8";
    EXPECT_EQ(PixelAt(image, 9, 5), tile) << "square 8,4";
    EXPECT_EQ(PixelAt(image, 9, 9), back) << "square 8,8";
    EXPECT_EQ(PixelAt(image, 13, 9), tile) << "square 12,8";
}

INSTANTIATE_TEST_SUITE_P(Rows, CheckerTest,
                         ::testing::Values(CheckerRow{"half_red", 50, MakeRGB(255, 0, 0)},
                                           CheckerRow{"faint_blue", 1, MakeRGB(0, 0, 255)},
                                           CheckerRow{"opacity_zero_is_white", 0, clBlack},
                                           CheckerRow{"no_colour_is_white", 100, clNone}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ColorWriter, PlainStyleCheckerIsClippedOnePixelInside) {
    TColorWriter writer = Writer(MakeRGB(0, 0, 0));
    writer.SetSwatchStyle(false);
    writer.SetOpacity(50);
    QImage image;
    writer.Render(image);
    const TColor tile = BlendPercent(clSilver, clBlack, 50);
    const TColor back = BlendPercent(clWhite, clBlack, 50);
    EXPECT_EQ(PixelAt(image, 0, 2), kFrame);
    EXPECT_EQ(PixelAt(image, 1, 1), back);
    EXPECT_EQ(PixelAt(image, 4, 1), tile);
    EXPECT_EQ(PixelAt(image, 1, 4), tile);
}

// ---- Files, read back with Qt's own decoders ---------------------------------------------

struct FormatRow {
    const char* name;
    int format;
    const char* extension;
    const char* qtFormat;
    int tolerance; // channel levels a lossy format may move a flat area by
};
CHROMINT_PRINT_ROW(FormatRow, name, "extension " << row.extension)

class SaveTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(SaveTest, WrittenPictureReadsBackWithItsRings) {
    const FormatRow& row = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("swatch") + row.extension);
    const TColor orange = MakeRGB(255, 128, 0);
    SaveColorPicture(orange, name, row.format);

    QImageReader reader(name);
    reader.setDecideFormatFromContent(true);
    EXPECT_EQ(reader.format().toStdString(), row.qtFormat);
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    ASSERT_EQ(image.size(), QSize(128, 64));

    const TColorWriter writer(orange);
    int worst = 0;
    worst = std::max(worst, ChannelError(PixelAt(image, 64, 12), orange));
    worst = std::max(worst, ChannelError(PixelAt(image, 20, 20), orange));
    EXPECT_LE(worst, row.tolerance);
    if (row.tolerance == 0) {
        EXPECT_EQ(PixelAt(image, 0, 0), writer.FrameColor());
        EXPECT_EQ(PixelAt(image, 1, 30), writer.WindowColor());
        EXPECT_EQ(PixelAt(image, 2, 30), BlendPercent(orange, clBlack, 25));
        EXPECT_EQ(PixelAt(image, 3, 30), BlendPercent(orange, clBlack, 13));
    }
    // Some black caption ink near the bottom centre.
    bool ink = false;
    for (int y = 40; y < 60 && !ink; ++y)
        for (int x = 30; x < 98 && !ink; ++x)
            ink = ChannelError(PixelAt(image, x, y), clBlack) <= 8 + row.tolerance;
    EXPECT_TRUE(ink);
}

INSTANTIATE_TEST_SUITE_P(Rows, SaveTest,
                         ::testing::Values(FormatRow{"bmp", ExportBMP, ".bmp", "bmp", 0},
                                           FormatRow{"png", ExportPNG, ".png", "png", 0},
                                           FormatRow{"gif", ExportGIF, ".gif", "gif", 0},
                                           FormatRow{"jpeg", ExportJPEG, ".jpg", "jpeg", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ColorWriter, BitmapIs24BitsBottomUpWithPaddedRows) {
    QImage image(3, 2, QImage::Format_RGB888);
    image.setPixel(0, 0, qRgb(1, 2, 3));
    image.setPixel(2, 1, qRgb(7, 8, 9));
    const std::vector<std::uint8_t> bytes = EncodeBMP(image);
    ASSERT_EQ(bytes.size(), 14u + 40u + 2u * 12u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[28], 24); // bits per pixel
    // The bottom row comes first; pixel (2, 1) is its third, stored blue, green, red.
    EXPECT_EQ(bytes[54 + 6], 9);
    EXPECT_EQ(bytes[54 + 8], 7);
    // The top row follows after 3 bytes of padding.
    EXPECT_EQ(bytes[54 + 12], 3);
    EXPECT_EQ(bytes[54 + 14], 1);
}

TEST(ColorWriter, GifOfManyColoursUsesTheCodecsReduction) {
    QImage image(64, 64, QImage::Format_RGB888);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
    const std::vector<std::uint8_t> bytes = EncodeGIF(image);
    QImage back;
    ASSERT_TRUE(back.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "GIF"));
    int worst = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            worst = std::max(worst, ChannelError(PixelAt(back, x, y), PixelAt(image, x, y)));
    EXPECT_LE(worst, 48) << "largest channel error";
}

TEST(ColorWriter, JpegIsProgressive) {
    QImage image;
    Writer(MakeRGB(1, 2, 3)).Render(image);
    const std::vector<std::uint8_t> bytes = EncodeJPEG(image);
    // A progressive frame starts with the SOF2 marker.
    bool sof2 = false;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        sof2 = sof2 || (bytes[i] == 0xFF && bytes[i + 1] == 0xC2);
    EXPECT_TRUE(sof2);
}

TEST(ColorWriter, FailedWriteKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString name = NameTooLongForATemporary(dir, 'a');
    QFile old(name);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    EXPECT_THROW(TColorWriter(clBlack).SaveAsPNG(name), EColorWriteError);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(ColorWriter, FullDiskKeepsTheOldPicture) {
    QTemporaryDir dir;
    const QString name = dir.filePath("old.png");
    QFile old(name);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    {
        test::ScopedFileSizeLimit fullDisk(16);
        EXPECT_THROW(TColorWriter(clBlack).SaveAsPNG(name), EColorWriteError);
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old contents"));
}

TEST(ColorWriter, FolderThatIsAFileFails) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(TColorWriter(clBlack).SaveAsBitmap(dir.filePath("file/x.bmp")), EColorWriteError);
}

// ---- The command's file name -------------------------------------------------------------

struct NameRow {
    const char* name;
    const char* typed;
    int format;
    const char* written;
};
CHROMINT_PRINT_ROW(NameRow, name, "typed " << row.typed)

class ExportNameTest : public ::testing::TestWithParam<NameRow> {};

TEST_P(ExportNameTest, Extension) {
    const NameRow& row = GetParam();
    EXPECT_EQ(ExportFileName(QString::fromUtf8(row.typed), row.format).toStdString(), row.written);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ExportNameTest,
    ::testing::Values(NameRow{"upper_case_replaced", "/t/colour.PNG", ExportPNG, "/t/colour.png"},
                      NameRow{"wrong_type_replaced", "/t/colour.jpg", ExportBMP, "/t/colour.bmp"},
                      NameRow{"right_type_kept", "/t/colour.gif", ExportGIF, "/t/colour.gif"},
                      NameRow{"missing_appended", "/t/FF8000", ExportJPEG, "/t/FF8000.jpg"},
                      NameRow{"dot_in_folder_only", "/t/v1.2/colour", ExportPNG,
                              "/t/v1.2/colour.png"},
                      NameRow{"last_dot_counts", "/t/a.b.jpeg", ExportJPEG, "/t/a.b.jpg"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExportCommand, SuggestedNameIsTheHexCode) {
    EXPECT_EQ(ExportSuggestedName(MakeRGB(255, 128, 0)).toStdString(), "FF8000");
}

// Accepts the save dialog with a name and a filter.
testing::ModalDriver::Step Choose(const QString& file, int format, int* seenFormat = nullptr,
                                  QString* seenName = nullptr, QString* seenDir = nullptr) {
    return [=](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        if (seenFormat != nullptr)
            *seenFormat =
                static_cast<int>(dialog->nameFilters().indexOf(dialog->selectedNameFilter())) + 1;
        if (seenDir != nullptr)
            *seenDir = dialog->directory().absolutePath();
        if (seenName != nullptr && !dialog->selectedFiles().isEmpty())
            *seenName = QFileInfo(dialog->selectedFiles().constFirst()).fileName();
        dialog->selectNameFilter(dialog->nameFilters().at(format - 1));
        // The dialog is opened in the file's folder: type the bare name, as a user does.
        dialog->setDirectory(QFileInfo(file).absolutePath());
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(QFileInfo(file).fileName());
        static_cast<QDialog*>(dialog)->accept();
    };
}

TEST(ExportCommand, WritesTheChosenFormatAndRemembersFolderAndFilter) {
    QTemporaryDir dir;
    QString last = dir.path();
    int firstFormat = 0;
    QString suggested, initialDir;
    testing::ModalDriver driver;
    driver.Then(
        Choose(dir.filePath("colour.jpg"), ExportBMP, &firstFormat, &suggested, &initialDir));
    SetLastExportFormat(ExportPNG);
    EXPECT_TRUE(RunExportColorCommand(nullptr, last, MakeRGB(255, 128, 0)));
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(firstFormat, ExportPNG);
    EXPECT_EQ(suggested.toStdString(), "FF8000");
    EXPECT_EQ(initialDir, QDir(dir.path()).absolutePath());
    EXPECT_EQ(last, QDir(dir.path()).absolutePath());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("colour.jpg")));
    QImageReader reader(dir.filePath("colour.bmp"));
    reader.setDecideFormatFromContent(true);
    EXPECT_EQ(reader.format().toStdString(), "bmp");

    // The filter chosen last is offered again.
    int secondFormat = 0;
    driver.Then(Choose(dir.filePath("again"), ExportGIF, &secondFormat));
    EXPECT_TRUE(RunExportColorCommand(nullptr, last, MakeRGB(255, 128, 0)));
    EXPECT_EQ(secondFormat, ExportBMP);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("again.gif")));
}

TEST(ExportCommand, CancelWritesNothingAndKeepsTheFolder) {
    QString last = QStringLiteral("/nowhere/at/all");
    testing::ModalDriver driver;
    driver.Then([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_FALSE(RunExportColorCommand(nullptr, last, clBlack));
    EXPECT_EQ(last.toStdString(), "/nowhere/at/all");
}

TEST(ExportCommand, FailureShowsTheMessageOnceAndStillStoresTheFolder) {
    QTemporaryDir dir;
    const QString name = NameTooLongForATemporary(dir, 'b');
    {
        QFile old(name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    QString last = dir.path();
    QString message;
    testing::ModalDriver driver;
    driver.Then([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
        Choose(name, ExportPNG)(modal);
    });
    driver.Then([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        message = box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        box->accept();
    });
    EXPECT_FALSE(RunExportColorCommand(nullptr, last, clBlack));
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(message.toStdString(), "There was occurs a problem during saving to file.");
    EXPECT_EQ(last, QDir(dir.path()).absolutePath());
    QFile old(name);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
}

TEST(ExportCommand, ChangedExtensionAsksBeforeReplacingAnotherFile) {
    QTemporaryDir dir;
    {
        QFile other(dir.filePath("colour.png"));
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write("keep me");
    }
    QString last = dir.path();
    testing::ModalDriver driver;
    driver.Then(Choose(dir.filePath("colour.bmp"), ExportPNG));
    driver.Then([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(RunExportColorCommand(nullptr, last, clBlack));
    EXPECT_TRUE(driver.Done());
    QFile other(dir.filePath("colour.png"));
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    EXPECT_EQ(other.readAll(), QByteArray("keep me"));
}

} // namespace
} // namespace chromint
