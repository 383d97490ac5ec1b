#include "JvZoom.h"

#include "FrozenFramePicker.h"
#include "ScreenAccess.h"
#include "TestRows.h"
#include "X11TestSupport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>

namespace chromint {
namespace {

constexpr QSize kView(100, 100);
constexpr QSize kScreen(1280, 1024);

struct GeometryRow {
    const char* row;
    QPoint pointer;
    int zoomLevel;
    QRect source;
    int dx;
    int dy;
    QPoint crossHair;
};
CHROMINT_PRINT_ROW(GeometryRow, row, "zoom level " << row.zoomLevel)

const GeometryRow kGeometryRows[] = {
    {"top-left corner", {0, 0}, 12, {0, 0, 12, 12}, -58, -58, {-8, -8}},
    {"bottom-right corner", {1279, 1023}, 12, {1268, 1012, 12, 12}, 50, 50, {100, 100}},
    {"near the left edge", {5, 100}, 12, {0, 94, 12, 12}, -16, 0, {34, 50}},
    {"middle of the screen", {640, 512}, 12, {634, 506, 12, 12}, 0, 0, {50, 50}},
    {"exactly half the area from the edge", {6, 6}, 12, {0, 0, 12, 12}, 0, 0, {50, 50}},
    {"monitor left of the primary", {-300, 200}, 12, {0, 194, 12, 12}, -2558, 0, {-2508, 50}},
    {"one to one", {10, 900}, 100, {0, 850, 100, 100}, -41, 0, {9, 50}},
    {"twice enlarged right edge", {1270, 500}, 50, {1230, 475, 50, 50}, 32, 0, {82, 50}},
};

class ZoomGeometryTest : public ::testing::TestWithParam<GeometryRow> {};

TEST_P(ZoomGeometryTest, SourceAndCrossHair) {
    const GeometryRow& row = GetParam();
    const ZoomGeometry g = ComputeZoomGeometry(row.pointer, kView, row.zoomLevel, kScreen);
    EXPECT_EQ(g.source, row.source);
    EXPECT_EQ(g.dx, row.dx);
    EXPECT_EQ(g.dy, row.dy);
    EXPECT_EQ(g.crossHair, row.crossHair);
}

INSTANTIATE_TEST_SUITE_P(Rows, ZoomGeometryTest, ::testing::ValuesIn(kGeometryRows),
                         test::RowName<::testing::TestParamInfo<GeometryRow>>);

struct ZoomTableRow {
    const char* row;
    int percentage;
    int zoomLevel;
    int readBack;
    int capturedSide;
};
CHROMINT_PRINT_ROW(ZoomTableRow, row, "percentage " << row.percentage)

const ZoomTableRow kZoomTable[] = {
    {"1.0x", 100, 100, 100, 100}, {"2.0x", 200, 50, 200, 50}, {"2.5x", 250, 40, 250, 40},
    {"3.0x", 300, 33, 303, 32},   {"4.0x", 400, 25, 400, 24}, {"5.0x", 500, 20, 500, 20},
    {"8.0x", 800, 12, 833, 12},   {"9.0x", 900, 11, 909, 10}, {"10.0x", 1000, 10, 1000, 10},
};

class ZoomTableTest : public ::testing::TestWithParam<ZoomTableRow> {};

TEST_P(ZoomTableTest, PercentageGivesLevelAndArea) {
    const ZoomTableRow& row = GetParam();
    TJvZoom zoom;
    zoom.SetZoomPercentage(row.percentage);
    EXPECT_EQ(zoom.ZoomLevel(), row.zoomLevel);
    EXPECT_EQ(zoom.ZoomPercentage(), row.readBack);
    const ZoomGeometry g = ComputeZoomGeometry({640, 512}, kView, row.zoomLevel, kScreen);
    EXPECT_EQ(g.source.size(), QSize(row.capturedSide, row.capturedSide));
}

INSTANTIATE_TEST_SUITE_P(Rows, ZoomTableTest, ::testing::ValuesIn(kZoomTable),
                         test::RowName<::testing::TestParamInfo<ZoomTableRow>>);

TEST(TJvZoom, IgnoredValues) {
    TJvZoom zoom;
    zoom.SetZoomLevel(12);
    zoom.SetZoomPercentage(0);
    EXPECT_EQ(zoom.ZoomLevel(), 12);
    zoom.SetZoomPercentage(20000); // level 0
    EXPECT_EQ(zoom.ZoomLevel(), 12);
    zoom.SetZoomPercentage(-5);
    EXPECT_EQ(zoom.ZoomLevel(), 12);
    zoom.SetZoomLevel(0);
    zoom.SetZoomLevel(-3);
    EXPECT_EQ(zoom.ZoomLevel(), 12);
}

TEST(TJvZoom, Defaults) {
    TJvZoom zoom;
    EXPECT_TRUE(zoom.Active());
    EXPECT_EQ(zoom.ZoomLevel(), 100);
    EXPECT_EQ(zoom.Delay(), 100);
    EXPECT_EQ(zoom.LastPoint(), QPoint(0, 0));
    EXPECT_FALSE(zoom.Crosshair());
    EXPECT_EQ(zoom.CrosshairSize(), 20);
    EXPECT_TRUE(zoom.CacheOnDeactivate());
    EXPECT_EQ(zoom.size(), QSize(100, 100));
}

TEST(TJvZoom, ChangingTheLevelForgetsTheLastPoint) {
    TJvZoom zoom;
    zoom.SetZoomLevel(12);
    EXPECT_EQ(zoom.LastPoint(), TJvZoom::NoPicturePoint);
}

TEST(TJvZoom, ZoomInAtWhileDisabledMovesTheLastPointAndReports) {
    TJvZoom zoom;
    zoom.setEnabled(false);
    QSignalSpy spy(&zoom, &TJvZoom::ContentsChanged);
    zoom.ZoomInAt(30, 40);
    zoom.ZoomInAt(30, 40);
    EXPECT_EQ(zoom.LastPoint(), QPoint(30, 40));
    EXPECT_EQ(spy.count(), 1);
}

TEST(TJvZoom, InactiveShowsTheSnapshotOrTheBackground) {
    TJvZoom zoom;
    zoom.SetCacheOnDeactivate(false);
    zoom.SetBackgroundColor(QColor(0x11, 0x22, 0x33));
    zoom.SetActive(false);
    EXPECT_EQ(zoom.grab().toImage().pixel(50, 50), 0xff112233u);
}

TEST(TJvZoom, SnapshotOnDeactivationIsTheViewNotTheBackground) {
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(QColor(0x40, 0xa0, 0x30));
    FrozenDesktop desktop(picture);
    ASSERT_TRUE(desktop.SetPointerPos({200, 150}));
    TJvZoom zoom;
    zoom.SetSource(&desktop);
    zoom.SetPolling(false);
    zoom.SetBackgroundColor(QColor(0x11, 0x22, 0x33));
    zoom.Tick();
    ASSERT_EQ(zoom.grab().toImage().pixel(50, 50), 0xff40a030u);
    zoom.SetActive(false);
    EXPECT_EQ(zoom.grab().toImage().pixel(50, 50), 0xff40a030u);
    EXPECT_EQ(zoom.grab().toImage().pixel(0, 99), 0xff40a030u);
}

// The real control over a root window painted with a known pattern.
class TJvZoomX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::OnX11())
            GTEST_SKIP() << "needs an X server";
        ASSERT_TRUE(test::RunTool("xsetroot", {"-solid", "#2060a0"}));
        // A red block over the screen's top-left 6 x 6 pixels.
        block_.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
        block_.setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, Qt::red);
        block_.setPalette(palette);
        block_.setGeometry(0, 0, 6, 6);
        block_.show();
        ASSERT_TRUE(test::WaitUntil([] { return Screen().PixelAt({0, 0}) == 0xff0000u; }));
        zoom_.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
        zoom_.setGeometry(600, 400, 100, 100);
        zoom_.SetCrosshair(true);
        zoom_.SetCrosshairSize(30);
        zoom_.SetZoomLevel(12);
        zoom_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&zoom_));
        zoom_.SetActive(false); // driven by hand from here
        zoom_.SetActive(true);
    }

    QImage ViewAt(QPoint pointer) {
        Screen().SetPointerPos(pointer);
        zoom_.Tick();
        return zoom_.grab().toImage();
    }

    QWidget block_;
    TJvZoom zoom_;
};

TEST_F(TJvZoomX11, TopLeftCornerClampsTheAreaAndHidesTheCrossHair) {
    QSignalSpy spy(&zoom_, &TJvZoom::ContentsChanged);
    const QImage view = ViewAt({0, 0});
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(zoom_.LastPoint(), QPoint(0, 0));
    EXPECT_EQ(view.pixel(0, 0), 0xffff0000u);   // the block
    EXPECT_EQ(view.pixel(48, 48), 0xffff0000u); // 6 pixels enlarged to 50
    EXPECT_EQ(view.pixel(52, 52), 0xff2060a0u); // the root beyond the block
    EXPECT_EQ(view.pixel(99, 99), 0xff2060a0u);
}

TEST_F(TJvZoomX11, NearTheLeftEdgeTheCrossHairMovesOffCentre) {
    const QImage view = ViewAt({5, 100});
    EXPECT_EQ(view.pixel(34, 40), 0xff000000u); // vertical stroke at x 34
    EXPECT_EQ(view.pixel(30, 50), 0xff000000u); // horizontal stroke at y 50
    EXPECT_EQ(view.pixel(50, 40), 0xff2060a0u);
}

TEST_F(TJvZoomX11, AStillPointerCostsNoCaptureAndNoReport) {
    ViewAt({300, 300});
    QSignalSpy spy(&zoom_, &TJvZoom::ContentsChanged);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 100; ++i)
        zoom_.Tick();
    EXPECT_EQ(spy.count(), 0);
    EXPECT_LT(timer.elapsed(), 100); // a pointer query each, well below a millisecond
}

TEST_F(TJvZoomX11, DisabledKeepsRedrawingAtTheLastPointWithoutReporting) {
    ViewAt({300, 300});
    zoom_.setEnabled(false);
    QSignalSpy spy(&zoom_, &TJvZoom::ContentsChanged);
    ASSERT_TRUE(test::RunTool("xsetroot", {"-solid", "#00ff00"}));
    const QImage view = ViewAt({700, 700});
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(zoom_.LastPoint(), QPoint(300, 300));
    EXPECT_EQ(view.pixel(10, 10), 0xff00ff00u);
}

TEST_F(TJvZoomX11, RedrawAtEightTimesTakesUnderAMillisecond) {
    QElapsedTimer timer;
    timer.start();
    constexpr int kRounds = 200;
    for (int i = 0; i < kRounds; ++i) {
        zoom_.ForceUpdate();
        zoom_.Tick();
    }
    const double perRedrawMs = double(timer.nsecsElapsed()) / 1e6 / kRounds;
    std::printf("redraw at 8x: %.3f ms\n", perRedrawMs);
    EXPECT_LT(perRedrawMs, 1.0);
}

} // namespace
} // namespace chromint
