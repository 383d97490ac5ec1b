#include "ImageImportDlg.h"

#include "ColorOperations.h"
#include "DialogTestSupport.h"
#include "ImageLoaders.h"
#include "PaintStage.h"
#include "PictureView.h"
#include "mbColorList.h"
#include "mbColorPreview.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace chromint {
namespace {

using testing::ModalDriver;

QImage Filled(int width, int height, QRgb color) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

class ImageImportTest : public ::testing::Test {
protected:
    ImageImportTest() { GlobalRandom().Seed(12345); }

    QString Write(const QString& name, const QImage& image, const char* format = "PNG") {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(image.save(path, format)) << path.toStdString();
        return path;
    }
    QString Folder() const { return dir_.path(); }

    // The viewport point over a picture pixel, as the view shows it now.
    static QPoint PointOver(const TImageImportDialog& dialog, QPoint pixel) {
        const QRect shown = dialog.Image->PictureRect();
        const QSize size = dialog.Image->Picture().size();
        return {shown.left() + (2 * pixel.x() + 1) * shown.width() / (2 * size.width()),
                shown.top() + (2 * pixel.y() + 1) * shown.height() / (2 * size.height())};
    }

private:
    QTemporaryDir dir_;
};

TEST_F(ImageImportTest, CountLimitFollowsThePictureSize) {
    struct Row {
        int width, height, maximum, shown;
        QString caption;
    };
    const std::vector<Row> rows = {
        {1, 1, 1, 1, "Choose 1 color"},
        {2, 2, 4, 4, "Choose 4 colors"},
        {20, 20, 256, 10, "Choose 10 colors"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption.toStdString());
        TImageImportDialog dialog;
        ASSERT_TRUE(dialog.LoadImage(
            Write(QStringLiteral("limit.png"), Filled(row.width, row.height, qRgb(9, 8, 7)))));
        EXPECT_EQ(dialog.edtNum->maximum(), row.maximum);
        EXPECT_EQ(dialog.edtNum->value(), row.shown);
        EXPECT_EQ(ChooseCaption(dialog.edtNum->value()), row.caption);
    }

    // A later, larger picture raises the limit but not the value that dropped.
    TImageImportDialog dialog;
    dialog.LoadImage(Write(QStringLiteral("small.png"), Filled(2, 2, qRgb(1, 1, 1))));
    dialog.LoadImage(Write(QStringLiteral("large.png"), Filled(20, 20, qRgb(1, 1, 1))));
    EXPECT_EQ(dialog.edtNum->maximum(), 256);
    EXPECT_EQ(dialog.edtNum->value(), 4);
}

TEST_F(ImageImportTest, ChoosingSamplesThePicture) {
    TImageImportDialog dialog;
    EXPECT_FALSE(dialog.btnChoose->isEnabled());
    EXPECT_FALSE(dialog.btnOk->isEnabled());
    ASSERT_TRUE(
        dialog.LoadImage(Write(QStringLiteral("one.png"), Filled(1, 1, qRgb(0x12, 0xAB, 0x34)))));
    EXPECT_TRUE(dialog.btnChoose->isEnabled());
    EXPECT_TRUE(dialog.edtNum->isEnabled());
    EXPECT_FALSE(dialog.btnOk->isEnabled()) << "Done waits for the first colour";
    dialog.btnChoose->click();
    ASSERT_EQ(dialog.ColorList->ColorCount(), 1);
    EXPECT_EQ(dialog.ColorList->Colors[0], (TmbColor{"#12AB34", MakeRGB(0x12, 0xAB, 0x34)}));
    EXPECT_EQ(dialog.ColorList->currentRow(), 0);
    EXPECT_TRUE(dialog.btnOk->isEnabled());

    // Equal colours stay separate entries.
    dialog.LoadImage(Write(QStringLiteral("flat.png"), Filled(30, 30, qRgb(200, 100, 50))));
    dialog.ChooseColors(10);
    ASSERT_EQ(dialog.ColorList->ColorCount(), 10);
    for (const TmbColor& entry : dialog.ColorList->Colors)
        EXPECT_EQ(entry, (TmbColor{"#C86432", MakeRGB(200, 100, 50)}));
}

TEST_F(ImageImportTest, ShortcutsWorkWhereTextBoxesWouldTakeThem) {
    TImageImportDialog dialog;
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.LoadImage(Write(QStringLiteral("keys.png"), Filled(9, 9, qRgb(3, 4, 5))));
    dialog.edtNum->setFocus();
    dialog.edtNum->setValue(5);
    QTest::keyClick(dialog.edtNum, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(dialog.ColorList->ColorCount(), 5) << "Ctrl+C in the number box chooses";
    dialog.ColorList->setFocus();
    dialog.edtNum->setValue(3);
    QTest::keyClick(dialog.ColorList, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(dialog.ColorList->ColorCount(), 3) << "Ctrl+C in the list chooses";
    QTest::keyClick(dialog.edtNum, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << "Ctrl+Enter is Done";
}

TEST_F(ImageImportTest, LoadingAnotherPictureResamplesTheList) {
    TImageImportDialog dialog;
    dialog.LoadImage(Write(QStringLiteral("first.png"), Filled(40, 30, qRgb(10, 20, 30))));
    dialog.ChooseColors(7);
    dialog.ColorList->setCurrentRow(3);
    ASSERT_TRUE(
        dialog.LoadImage(Write(QStringLiteral("second.png"), Filled(50, 20, qRgb(1, 2, 3)))));
    ASSERT_EQ(dialog.ColorList->ColorCount(), 7);
    EXPECT_EQ(dialog.ColorList->currentRow(), 3);
    for (const TmbColor& entry : dialog.ColorList->Colors)
        EXPECT_EQ(entry.Value, MakeRGB(1, 2, 3));
}

TEST_F(ImageImportTest, MosaicIsAnOpaqueCopyMadeOncePerPicture) {
    // Left half opaque red, right half fully transparent green.
    QImage picture = Filled(600, 100, qRgba(255, 0, 0, 255));
    for (int y = 0; y < 100; ++y)
        for (int x = 300; x < 600; ++x)
            picture.setPixel(x, y, qRgba(0, 255, 0, 0));
    picture.setPixel(25, 25, qRgba(0, 0, 255, 255));
    TImageImportDialog dialog;
    dialog.resize(900, 400);
    dialog.show();
    ASSERT_TRUE(dialog.LoadImage(Write(QStringLiteral("alpha.png"), picture)));
    EXPECT_TRUE(dialog.Transparent());

    // The checkerboard shows through the transparent half.
    const QImage screen = dialog.Image->viewport()->grab().toImage();
    const QPoint over = PointOver(dialog, {450, 50});
    const QColor seen = screen.pixelColor(over);
    EXPECT_TRUE(seen == CheckerLight || seen == CheckerDark) << seen.name().toStdString();

    // A fully transparent pixel still reads as its colour.
    dialog.TrackPointer(PointOver(dialog, {450, 50}));
    EXPECT_EQ(dialog.lblImagePixel->text(), "#00FF00");
    EXPECT_EQ(dialog.ColorPreview->Opacity(), 100);

    dialog.btnMosaic->trigger();
    const QImage layer = dialog.Image->Layer();
    // Blocks of 25 (100 div 4), each its top-left pixel, every pixel opaque.
    EXPECT_EQ(dialog.Image->LayerStep(), 25);
    EXPECT_EQ(dialog.Image->PixelAt({49, 49}), qRgba(0, 0, 255, 255));
    EXPECT_EQ(dialog.Image->PixelAt({50, 49}), qRgba(255, 0, 0, 255));
    EXPECT_EQ(dialog.Image->PixelAt({599, 99}), qRgba(0, 255, 0, 255));
    dialog.TrackPointer(PointOver(dialog, {26, 26}));
    EXPECT_EQ(dialog.lblImagePixel->text(), "#0000FF") << "readings come from the blocks";

    dialog.btnMosaic->trigger();
    dialog.btnMosaic->trigger();
    EXPECT_EQ(dialog.Image->Layer().constBits(), layer.constBits()) << "the same copy";
}

TEST_F(ImageImportTest, UpperCasePngLoadsLikeLowerCase) {
    QImage picture = Filled(4, 4, qRgba(10, 20, 30, 0));
    const QString path = Write(QStringLiteral("shout.PNG"), picture);
    EXPECT_EQ(DecoderForFileName(path), PictureDecoder::Png);
    TImageImportDialog dialog;
    ASSERT_TRUE(dialog.LoadImage(path));
    EXPECT_TRUE(dialog.Transparent());
}

TEST_F(ImageImportTest, PointerReadOutIsOneBased) {
    TImageImportDialog dialog;
    dialog.resize(700, 500);
    dialog.show();
    QImage picture = Filled(40, 30, qRgb(5, 5, 5));
    picture.setPixel(39, 0, qRgb(0xAA, 0xBB, 0xCC));
    dialog.LoadImage(Write(QStringLiteral("track.png"), picture));
    dialog.TrackPointer(PointOver(dialog, {39, 0}));
    EXPECT_EQ(dialog.lblCursorLocation->text(), "40, 1 px");
    EXPECT_EQ(dialog.lblImagePixel->text(), "#AABBCC");

    // Beside the picture the read-out clears, and the swatch keeps its colour out of sight.
    dialog.TrackPointer(dialog.Image->PictureRect().bottomRight() + QPoint(5, 5));
    EXPECT_EQ(dialog.lblCursorLocation->text(), "");
    EXPECT_EQ(dialog.lblImagePixel->text(), "");
    EXPECT_EQ(dialog.ColorPreview->Opacity(), 0);
    EXPECT_EQ(dialog.ColorPreview->Color(), MakeRGB(0xAA, 0xBB, 0xCC));
}

TEST_F(ImageImportTest, DoubleClickAddsEachColourOnce) {
    TImageImportDialog dialog;
    dialog.resize(700, 500);
    dialog.show();
    dialog.LoadImage(Write(QStringLiteral("dbl.png"), Filled(40, 30, qRgb(7, 77, 177))));
    dialog.AddPreviewColor();
    EXPECT_EQ(dialog.ColorList->ColorCount(), 0) << "nothing read under the pointer yet";

    const QPoint over = PointOver(dialog, {3, 3});
    QTest::mouseDClick(dialog.Image->viewport(), Qt::LeftButton, {}, over);
    QTest::mouseDClick(dialog.Image->viewport(), Qt::LeftButton, {}, over);
    ASSERT_EQ(dialog.ColorList->ColorCount(), 1);
    EXPECT_EQ(dialog.ColorList->Colors[0].Name, "#074DB1");
    EXPECT_EQ(dialog.ColorList->currentRow(), 0);
    EXPECT_TRUE(dialog.btnOk->isEnabled());
}

TEST_F(ImageImportTest, RemoveAndClear) {
    struct Row {
        const char* name;
        int count, selected;
        int countAfter, selectedAfter;
    };
    const std::vector<Row> rows = {
        {"last of three", 3, 2, 2, 1},
        {"middle of three", 3, 1, 2, 1},
        {"the only entry", 1, 0, 0, -1},
        {"nothing selected", 3, -1, 3, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TImageImportDialog dialog;
        for (int i = 0; i < row.count; ++i)
            dialog.ColorList->AddColor(QString::number(i), MakeRGB(i, i, i));
        dialog.ColorList->setCurrentRow(row.selected);
        dialog.aRemove->trigger();
        EXPECT_EQ(dialog.ColorList->ColorCount(), row.countAfter);
        EXPECT_EQ(dialog.ColorList->currentRow(), row.selectedAfter);
        EXPECT_EQ(dialog.btnOk->isEnabled(), row.countAfter > 0);
        dialog.aClear->trigger();
        EXPECT_EQ(dialog.ColorList->ColorCount(), 0);
        EXPECT_FALSE(dialog.btnOk->isEnabled());
    }
}

TEST_F(ImageImportTest, FailedLoadKeepsThePictureAndReportsWhy) {
    struct Row {
        QString name;
        QByteArray bytes;
        QString reason;
    };
    const std::vector<Row> rows = {
        {"junk.png", "not a picture at all", "Unsupported image format or file is corrupt."},
        {"junk.bmp", "BM not really", "Unsupported image format or file is corrupt."},
        {"missing.jpg", {}, "Access denied or file not found."},
    };
    TImageImportDialog dialog;
    const QString good = Write(QStringLiteral("good.png"), Filled(8, 6, qRgb(1, 2, 3)));
    ASSERT_TRUE(dialog.LoadImage(good));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        const QString path = Folder() + QLatin1Char('/') + row.name;
        if (!row.bytes.isEmpty()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(row.bytes);
        }
        QString shown;
        ModalDriver driver;
        driver.Then([&shown](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            shown = box->text();
            box->accept();
        });
        EXPECT_FALSE(dialog.LoadImage(path));
        EXPECT_EQ(shown, "There is a problem with opening " + path + " file. " + row.reason);
        EXPECT_EQ(dialog.Image->Picture().size(), QSize(8, 6)) << "the previous picture stays";
        EXPECT_EQ(dialog.MRUList, QStringList{good});
    }
}

TEST(RecentPictures, MovesToTheTopAndKeepsFifteen) {
    QStringList files = {"/a/one.png", "/a/two.png", "/a/three.png"};
    AddRecentFile(files, "/A/TWO.png");
    EXPECT_EQ(files, (QStringList{"/A/TWO.png", "/a/one.png", "/a/three.png"}));
    for (int i = 0; i < 20; ++i)
        AddRecentFile(files, QStringLiteral("/b/%1.png").arg(i));
    ASSERT_EQ(files.size(), MaxRecentPictures);
    EXPECT_EQ(files.front(), "/b/19.png");
    EXPECT_EQ(files.back(), "/b/5.png");
}

TEST(PictureFilters, ChooserStartsInTheLastFolderWhileItExists) {
    QTemporaryDir dir;
    EXPECT_EQ(PictureStartFolder(dir.path()), dir.path());
    const QString fallback = PictureStartFolder(QString());
    EXPECT_TRUE(QFileInfo(fallback).isDir());
    EXPECT_EQ(PictureStartFolder(dir.path() + "/gone"), fallback);
}

TEST(PictureFilters, RowsInOrderAndTheAllRowNamesEveryPattern) {
    const QStringList filters = PictureFileFilters();
    ASSERT_EQ(filters.size(), 16);
    const QString all = filters.front();
    EXPECT_TRUE(all.startsWith("All supported formats ("));
    QStringList lower;
    for (const QString& pattern : all.mid(all.indexOf('(') + 1).chopped(1).split(' '))
        if (pattern == pattern.toLower())
            lower << pattern;
    EXPECT_EQ(lower.join(';'),
              "*.bmp;*.dib;*.jpg;*.jpeg;*.jpe;*.jfif;*.jif;*.png;*.gif;*.tif;*.tiff;*.tga;*.vst;"
              "*.icb;*.vda;*.win;*.pcx;*.pcc;*.wmf;*.emf;*.psd;*.pdd;*.psp;*.ppm;*.pgm;*.pbm;"
              "*.sgi;*.rgb;*.bw;*.rgba;*.cut");
    EXPECT_TRUE(filters[1].startsWith("BMP - Windows and OS/2 Bitmap (*.bmp *.BMP *.dib"));
    EXPECT_TRUE(filters[15].startsWith("CUT - Dr. Halo Image (*.cut"));
}

// The command with the window driven from a timer: load, choose, then close some way.
class ImageCommandTest : public ImageImportTest {
protected:
    struct Outcome {
        bool applied = false;
        std::optional<TColor> madeCurrent;
        TImageImportValues values;
    };

    Outcome Run(const QString& picture, bool done, std::optional<bool> answer,
                TImageImportValues values) {
        Outcome outcome;
        ModalDriver driver;
        driver.Then([&](QWidget* modal) {
            auto* dialog = qobject_cast<TImageImportDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Color from image");
            recentOnOpen_ = dialog->MRUList;
            ASSERT_TRUE(dialog->LoadImage(picture));
            dialog->ChooseColors(3);
            if (done)
                dialog->btnOk->trigger();
            else
                dialog->reject();
        });
        // answer: nothing = cancel the web-only question, true = keep the colour.
        const ConfirmWebColorFn confirm = [answer](TColor color) -> std::optional<TColor> {
            if (!answer)
                return std::nullopt;
            return color;
        };
        outcome.applied = RunImageColorCommand(nullptr, values, confirm,
                                               [&](TColor color) { outcome.madeCurrent = color; });
        outcome.values = values;
        return outcome;
    }

    QStringList recentOnOpen_;
};

TEST_F(ImageCommandTest, SettingsAreWrittenBackUnlessTheQuestionWasCancelled) {
    const QString picture = Write(QStringLiteral("pick.png"), Filled(5, 5, qRgb(0x12, 0x34, 0x56)));
    const TImageImportValues before{"/nowhere", {"/x/first.png", "/x/second.png"}, {}};

    Outcome done = Run(picture, true, true, before);
    EXPECT_EQ(recentOnOpen_, before.recentFiles) << "the first stored file ends on top";
    EXPECT_TRUE(done.applied);
    EXPECT_EQ(done.madeCurrent, MakeRGB(0x12, 0x34, 0x56));
    EXPECT_EQ(done.values.lastOpenImageDir, Folder());
    EXPECT_EQ(done.values.recentFiles, (QStringList{picture, "/x/first.png", "/x/second.png"}));

    Outcome closed = Run(picture, false, true, before);
    EXPECT_FALSE(closed.applied);
    EXPECT_FALSE(closed.madeCurrent);
    EXPECT_EQ(closed.values.lastOpenImageDir, Folder());
    EXPECT_EQ(closed.values.recentFiles.front(), picture);

    Outcome cancelled = Run(picture, true, std::nullopt, before);
    EXPECT_FALSE(cancelled.applied);
    EXPECT_FALSE(cancelled.madeCurrent);
    EXPECT_EQ(cancelled.values.lastOpenImageDir, before.lastOpenImageDir);
    EXPECT_EQ(cancelled.values.recentFiles, before.recentFiles);
}

TEST_F(ImageCommandTest, RecentEntriesForMissingFilesAreDisabled) {
    TImageImportDialog dialog;
    const QString there = Write(QStringLiteral("there.png"), Filled(2, 2, qRgb(0, 0, 0)));
    dialog.MRUList = {there, Folder() + "/gone.png"};
    dialog.RefreshRecentMenu();
    dialog.RefreshRecentMenu();
    std::vector<std::pair<QString, bool>> entries;
    for (QAction* action : dialog.OpenMenu->actions())
        if (action->property("recentFile").isValid())
            entries.emplace_back(action->text(), action->isEnabled());
    EXPECT_EQ(entries, (std::vector<std::pair<QString, bool>>{{there, true},
                                                              {Folder() + "/gone.png", false}}));
}

} // namespace
} // namespace chromint
