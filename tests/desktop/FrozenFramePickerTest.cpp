#include "FrozenFramePicker.h"

#include "TestRows.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace chromint {
namespace {

struct PixelRow {
    const char* row;
    QRect logical;
    QRect picture;
    QPointF point;
    QPoint pixel;
};
CHROMINT_PRINT_ROW(PixelRow, row)

const PixelRow kPixelRows[] = {
    {"unscaled", {0, 0, 1024, 768}, {0, 0, 1024, 768}, {150.7, 20.2}, {150, 20}},
    {"scale 2, second half of a logical pixel",
     {0, 0, 960, 540},
     {0, 0, 1920, 1080},
     {100.5, 10.0},
     {201, 20}},
    {"scale 1.5", {0, 0, 1280, 720}, {0, 0, 1920, 1080}, {100.4, 100.0}, {150, 150}},
    {"second screen to the right",
     {1920, 0, 1280, 720},
     {1920, 0, 2560, 1440},
     {1921.0, 0.0},
     {1922, 0}},
    {"past the right edge stays on the screen",
     {0, 0, 100, 100},
     {0, 0, 200, 200},
     {100.0, 50.0},
     {199, 100}},
};

class PicturePixelTest : public testing::TestWithParam<PixelRow> {};

TEST_P(PicturePixelTest, GivesThePhysicalPixel) {
    const PixelRow& row = GetParam();
    EXPECT_EQ(PicturePixelAt(row.logical, row.picture, row.point), row.pixel);
}

INSTANTIATE_TEST_SUITE_P(Rows, PicturePixelTest, testing::ValuesIn(kPixelRows),
                         test::RowName<::testing::TestParamInfo<PixelRow>>);

TEST(PictureRectsForScreens, PlacesEachScreenInThePicture) {
    // X11 with a scale of 2: native positions, sizes times the ratio.
    EXPECT_EQ(PictureRectsForScreens({{{0, 0, 640, 512}, 2.0}}, {1280, 1024},
                                     ScreenCapture::Layout::Native),
              std::vector<QRect>{QRect(0, 0, 1280, 1024)});
    // A portal picture of two screens side by side, made at the larger scale of 2.
    EXPECT_EQ(PictureRectsForScreens({{{0, 0, 1280, 720}, 2.0}, {{1280, 0, 1280, 720}, 1.0}},
                                     {5120, 1440}, ScreenCapture::Layout::ScaledBounds),
              (std::vector<QRect>{QRect(0, 0, 2560, 1440), QRect(2560, 0, 2560, 1440)}));
}

TEST(ArrowKeyMove, StepsAndStopsAtTheEdges) {
    const QRect bounds(0, 0, 100, 50);
    EXPECT_EQ(ArrowKeyMove({10, 10}, Qt::Key_Right, false, bounds), QPoint(11, 10));
    EXPECT_EQ(ArrowKeyMove({10, 10}, Qt::Key_Left, true, bounds), QPoint(0, 10));
    EXPECT_EQ(ArrowKeyMove({5, 45}, Qt::Key_Down, true, bounds), QPoint(5, 49));
    EXPECT_EQ(ArrowKeyMove({5, 5}, Qt::Key_Up, false, bounds), QPoint(5, 4));
    EXPECT_EQ(ArrowKeyMove({5, 5}, Qt::Key_A, false, bounds), std::nullopt);
}

TEST(FrozenDesktop, ReadsThePictureAndBlackOutsideIt) {
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(QColor(0x12, 0x34, 0x56));
    picture.setPixel(3, 2, qRgb(1, 2, 3));
    FrozenDesktop desktop(picture);
    EXPECT_EQ(desktop.PixelAt({3, 2}), 0x010203u);
    EXPECT_EQ(desktop.PixelAt({4, 0}), std::nullopt);
    const QImage grabbed = desktop.Grab({2, 1, 4, 4});
    EXPECT_EQ(grabbed.pixel(1, 1), qRgb(1, 2, 3));
    EXPECT_EQ(grabbed.pixel(3, 3), qRgb(0, 0, 0));
}

// The picker as the user drives it: keys move from the start point, Enter takes the pixel,
// Esc takes nothing.
TEST(RunFrozenFramePicker, ArrowKeysAndEnterTakeThePixel) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const double ratio = screen->devicePixelRatio();
    const QSize size(int(screen->geometry().width() * ratio),
                     int(screen->geometry().height() * ratio));
    ScreenCapture::Picture picture;
    picture.status = ScreenCapture::Status::Done;
    picture.layout = ScreenCapture::Layout::ScaledBounds;
    picture.image = QImage(size, QImage::Format_RGB32);
    picture.image.fill(Qt::black);
    // Where the pointer is, since the picker follows it as soon as it enters a window.
    const QPoint start = screen->geometry().topLeft() + QPoint(40, 40);
    QCursor::setPos(start);
    const QPoint startPixel = PicturePixelAt(screen->geometry(), QRect(QPoint(0, 0), size), start);
    picture.image.setPixel(startPixel + QPoint(11, 1), qRgb(0xC8, 0x3C, 0x1E));

    const auto press = [](std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys) {
        QTimer::singleShot(300, [keys] {
            QWidget* window = QApplication::activeWindow();
            for (QWidget* top : QApplication::topLevelWidgets())
                if (window == nullptr && top->isVisible() &&
                    top->objectName() == QLatin1String("FrozenScreenWindow"))
                    window = top;
            ASSERT_NE(window, nullptr);
            for (const auto& [key, modifiers] : keys)
                QTest::keyClick(window, key, modifiers);
        });
    };
    press({{Qt::Key_Right, Qt::ShiftModifier},
           {Qt::Key_Right, Qt::NoModifier},
           {Qt::Key_Down, Qt::NoModifier},
           {Qt::Key_Return, Qt::NoModifier}});
    EXPECT_EQ(RunFrozenFramePicker(picture, 8.0, start), MakeRGB(0xC8, 0x3C, 0x1E));

    press({{Qt::Key_Escape, Qt::NoModifier}});
    EXPECT_EQ(RunFrozenFramePicker(picture, 8.0, start), std::nullopt);
}

} // namespace
} // namespace chromint
