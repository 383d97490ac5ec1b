#include "PictureView.h"
#include "PaintStage.h"
#include "PictureMosaic.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <vector>

namespace chromint {
namespace {

QImage NoisePicture(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_ARGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = random.generate();
    }
    return image;
}

QRgb Pixel(const QImage& image, int x, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}

TEST(PictureMosaic, BlockSizeFollowsTheShorterSideOfSmallPictures) {
    struct Row {
        int width, height, block;
    };
    const std::vector<Row> rows = {
        {600, 100, 25},  {600, 400, 50}, {3, 3, 0}, {100, 600, 25},
        {149, 1000, 37}, {150, 150, 50}, {1, 1, 0}, {6000, 4000, 50},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MosaicBlockSize(row.width, row.height), row.block)
            << row.width << "x" << row.height;
}

// Each pixel takes its block's top-left pixel; the small block picture must agree with the
// filter run on a full copy.
TEST(PictureMosaic, BlocksTakeTheirTopLeftPixel) {
    struct Row {
        int width, height, block;
        bool opaque;
    };
    const std::vector<Row> rows = {
        {13, 9, 0, false}, {13, 9, 1, true},  {13, 9, 2, false}, {13, 9, 3, true},
        {13, 9, 7, false}, {13, 9, 50, true}, {1, 1, 4, false},  {64, 3, 5, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << "x" << row.height << " block " << row.block
                                        << (row.opaque ? " opaque" : ""));
        const QImage source = NoisePicture(row.width, row.height, 7);
        QImage filtered = source;
        if (row.opaque)
            for (int y = 0; y < filtered.height(); ++y)
                for (int x = 0; x < filtered.width(); ++x)
                    filtered.setPixel(x, y, Pixel(filtered, x, y) | 0xFF000000u);
        Mosaic(filtered, row.block);
        const QImage blocks = MosaicBlocks(source, row.block, row.opaque);
        const int step = MosaicStep(row.block);
        ASSERT_EQ(blocks.size(),
                  QSize((row.width + step - 1) / step, (row.height + step - 1) / step));
        for (int y = 0; y < row.height; ++y) {
            for (int x = 0; x < row.width; ++x) {
                const QRgb expected = Pixel(source, x / step * step, y / step * step) |
                                      (row.opaque ? 0xFF000000u : 0u);
                ASSERT_EQ(Pixel(filtered, x, y), expected) << x << "," << y;
                ASSERT_EQ(Pixel(blocks, x / step, y / step), expected) << x << "," << y;
            }
        }
    }
}

TEST(PaintStage, ScaleReadOut) {
    struct Row {
        QSize picture, shown;
        int percent;
        QString text;
    };
    const std::vector<Row> rows = {
        {{}, {}, 0, "No image loaded"},
        {{800, 600}, {800, 600}, 100, "800×600px"},
        {{1000, 500}, {500, 250}, 50, "1000×500px (50%, 500×250px)"},
        // Each share is truncated before the mean: (66 + 66) div 2.
        {{3, 3}, {2, 2}, 66, "3×3px (66%, 2×2px)"},
        {{1000, 300}, {999, 299}, 99, "1000×300px (99%, 999×299px)"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(GetImageScale(row.picture, row.shown).percent, row.percent)
            << row.text.toStdString();
        EXPECT_EQ(ImageScaleText(row.picture, row.shown), row.text);
    }
}

TEST(PaintStage, FitShrinksOnlyPicturesLargerThanTheView) {
    struct Row {
        QSize picture, view;
        bool fit;
        QSize shown;
    };
    const std::vector<Row> rows = {
        {{200, 100}, {400, 300}, true, {200, 100}},  {{800, 400}, {400, 300}, true, {400, 200}},
        {{300, 900}, {400, 300}, true, {100, 300}},  {{401, 10}, {400, 300}, true, {400, 10}},
        {{800, 400}, {400, 300}, false, {800, 400}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DisplayedPictureSize(row.picture, row.view, row.fit), row.shown);
}

TEST(PaintStage, CheckerStartsLightAtTheTopLeftAndCoversPartSquares) {
    QImage stage(21, 19, QImage::Format_RGB32);
    stage.fill(Qt::red);
    {
        QPainter painter(&stage);
        PaintChecker(painter, stage.rect(), CheckerSquare, CheckerLight, CheckerDark);
    }
    for (int y = 0; y < stage.height(); ++y) {
        for (int x = 0; x < stage.width(); ++x) {
            const QColor expected = ((x / 8) % 2 == (y / 8) % 2) ? CheckerLight : CheckerDark;
            ASSERT_EQ(stage.pixelColor(x, y), expected) << x << "," << y;
        }
    }
}

TEST(PictureView, PointerMapsOntoPictureCoordinates) {
    TPictureView view;
    view.resize(220, 170);
    view.show();
    QImage picture = NoisePicture(800, 400, 3);
    view.SetPicture(picture);

    // Fitted: shown whole, centred, and the view's corners map onto the picture's.
    const QRect shown = view.PictureRect();
    EXPECT_LE(shown.width(), view.viewport()->width());
    EXPECT_EQ(view.ViewportToPicture(shown.topLeft()), QPoint(0, 0));
    const QPoint last = view.ViewportToPicture(shown.bottomRight());
    EXPECT_TRUE(view.ContainsPixel(last));
    // The last shown pixel stands for the last few columns of the picture.
    EXPECT_GE(last.x(), 799 - 800 / shown.width());
    EXPECT_FALSE(view.ContainsPixel(view.ViewportToPicture(shown.bottomRight() + QPoint(1, 1))));

    // At its own size the picture scrolls, and the scroll position moves the mapping.
    view.SetFit(false);
    EXPECT_EQ(view.DisplayedSize(), picture.size());
    view.horizontalScrollBar()->setValue(100);
    EXPECT_EQ(view.ViewportToPicture(QPoint(0, 0)), QPoint(100, 0));

    // The layer is read instead of the picture only while it is shown.
    QImage layer(80, 40, QImage::Format_ARGB32);
    layer.fill(qRgb(1, 2, 3));
    layer.setPixel(79, 39, qRgb(7, 8, 9));
    view.SetLayer(layer, 10);
    EXPECT_EQ(view.PixelAt({5, 5}), Pixel(picture, 5, 5));
    view.SetLayerVisible(true);
    EXPECT_EQ(view.PixelAt({5, 5}), qRgb(1, 2, 3));
    EXPECT_EQ(view.PixelAt({799, 399}), qRgb(7, 8, 9));
    EXPECT_EQ(view.PixelAt({790, 390}), qRgb(7, 8, 9));

    // Shown, the blocks cover the picture with hard edges.
    view.horizontalScrollBar()->setValue(0);
    const QImage screen = view.viewport()->grab().toImage();
    EXPECT_EQ(screen.pixel(view.PictureRect().topLeft() + QPoint(3, 3)), qRgb(1, 2, 3));
}

} // namespace
} // namespace chromint
