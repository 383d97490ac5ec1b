#include "AboutDlg.h"
#include "ColorOperations.h"
#include "IdleTimer.h"
#include "ScreenAccess.h"
#include "SplashFrm.h"
#include "TestRows.h"
#include "TransparentForms.h"
#include "X11TestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace chromint {
namespace {

QImage MagentaFramedSquare() {
    // 4 x 3: a magenta frame around two blue pixels, one transparent pixel at the right.
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(QColor(255, 0, 255));
    image.setPixel(1, 1, qRgb(0, 0, 255));
    image.setPixel(2, 1, qRgb(0, 0, 255));
    image.setPixel(3, 2, qRgba(0, 0, 0, 0));
    return image;
}

struct RegionRow {
    const char* row;
    TTransparentFormMode mode;
    QRegion expected;
};
CHROMINT_PRINT_ROW(RegionRow, row)

const RegionRow kRegionRows[] = {
    {"key colour cuts every magenta pixel", TTransparentFormMode::tfmWindowRegion,
     QRegion(1, 1, 2, 1) + QRegion(3, 2, 1, 1)},
    {"alpha cuts only the transparent pixel", TTransparentFormMode::tfmWindowRegionAlphaChannel,
     QRegion(0, 0, 4, 2) + QRegion(0, 2, 3, 1)},
};

class RegionFromMaskTest : public ::testing::TestWithParam<RegionRow> {};

TEST_P(RegionFromMaskTest, VisiblePixels) {
    EXPECT_EQ(RegionFromMask(MagentaFramedSquare(), GetParam().mode), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, RegionFromMaskTest, ::testing::ValuesIn(kRegionRows),
                         test::RowName<::testing::TestParamInfo<RegionRow>>);

TEST(RegionFromMask, EmptyPictureGivesNoRegion) {
    EXPECT_TRUE(RegionFromMask(QImage(), TTransparentFormMode::tfmWindowRegion).isEmpty());
}

TEST(TTransparentForm, AlphaValueIsClamped) {
    QWidget form;
    TTransparentForm shape(&form);
    EXPECT_EQ(shape.LayeredAlphaValue(), 255);
    shape.SetLayeredAlphaValue(300);
    EXPECT_EQ(shape.LayeredAlphaValue(), 255);
    shape.SetLayeredAlphaValue(-4);
    EXPECT_EQ(shape.LayeredAlphaValue(), 0);
    EXPECT_EQ(shape.LayeredTransparentControlColor(), 0xFEFEFEu);
}

TEST(TTransparentForm, RegionModeShapesAndSwitchingOffGivesTheFrameBack) {
    QWidget form;
    auto* child = new QPushButton(QStringLiteral("x"), &form);
    TTransparentForm shape(&form);
    shape.SetMask(MagentaFramedSquare());
    shape.SetAutoSize(true);
    shape.SetActive(true);
    EXPECT_EQ(form.size(), QSize(4, 3));
    EXPECT_EQ(form.mask(), QRegion(1, 1, 2, 1) + QRegion(3, 2, 1, 1));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    shape.SetActive(false);
    EXPECT_TRUE(form.mask().isEmpty());
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(child->parentWidget(), &form);
}

TEST(TTransparentForm, LayeredModeOffKeepsEveryChildOnTheForm) {
    QWidget form;
    auto* label = new QLabel(QStringLiteral("label"), &form);
    auto* button = new QPushButton(QStringLiteral("button"), &form);
    TTransparentForm shape(&form);
    shape.SetMode(TTransparentFormMode::tfmLayeredWindow);
    shape.SetMask(MagentaFramedSquare());
    shape.SetActive(true);
    EXPECT_TRUE(form.testAttribute(Qt::WA_TranslucentBackground));
    shape.SetActive(false);
    EXPECT_FALSE(form.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(label->parentWidget(), &form);
    EXPECT_EQ(button->parentWidget(), &form);
}

TEST(TSplashForm, PictureHasItsOwnShape) {
    TSplashForm splash;
    EXPECT_EQ(splash.size(), QSize(359, 210));
    EXPECT_EQ(splash.TransparentForm()->Mode(), TTransparentFormMode::tfmLayeredWindow);
    const QImage picture = TSplashForm::ProductPicture(QSize(359, 210)).toImage();
    ASSERT_TRUE(picture.hasAlphaChannel());
    EXPECT_EQ(qAlpha(picture.pixel(358, 0)), 0);     // outside the card and the ring
    EXPECT_EQ(qAlpha(picture.pixel(250, 150)), 255); // on the card
    EXPECT_FALSE(splash.mask().isEmpty());
    EXPECT_FALSE(splash.mask().contains(QPoint(358, 0)));
    EXPECT_TRUE(splash.mask().contains(QPoint(250, 150)));
}

TEST(TSplashFormX11, DesktopShowsThroughOutsideThePicture) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    ASSERT_TRUE(test::RunTool("xsetroot", {"-solid", "#10e020"}));
    TSplashForm splash;
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    QTest::qWait(100);
    const QPoint origin = splash.geometry().topLeft();
    EXPECT_EQ(Screen().PixelAt(origin + QPoint(358, 0)), std::optional<std::uint32_t>(0x10e020));
    const auto onCard = Screen().PixelAt(origin + QPoint(250, 170));
    ASSERT_TRUE(onCard.has_value());
    EXPECT_NE(*onCard, 0x10e020u);
}

TEST(TAboutDialog, VersionAndPanel) {
    TAboutDialog about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about.height(), 198);
    EXPECT_GE(about.width(), 270);
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("lblAppVersion"))->text(),
              QStringLiteral("Chromint\nVersion 1.3.0.2610"));
    const QColor form = about.palette().color(QPalette::Window);
    const TColor blended = BlendPercent(
        MakeRGB(std::uint8_t(form.red()), std::uint8_t(form.green()), std::uint8_t(form.blue())),
        clWhite, 75);
    EXPECT_EQ(about.Panel()->palette().color(QPalette::Window),
              QColor(GetRValue(blended), GetGValue(blended), GetBValue(blended)));
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("btnOk"));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    auto* link = about.findChild<QLabel*>(QStringLiteral("lblLink"));
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 102, 204));
    // The whole address shows, beside the button and inside the window.
    EXPECT_GE(link->width(), link->fontMetrics().horizontalAdvance(link->text()));
    EXPECT_LT(link->geometry().right(), ok->geometry().left());
    EXPECT_LE(ok->geometry().right(), about.width());
}

TEST(TStayOnTopFixer, StartsFromTheWindowsStyleAndRestoresIt) {
    QWidget plain;
    TStayOnTopFixer plainFixer(&plain);
    EXPECT_FALSE(plainFixer.StayOnTop());
    plainFixer.SetStayOnTop(true);
    EXPECT_TRUE(plain.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QWidget onTop(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    TStayOnTopFixer onTopFixer(&onTop);
    EXPECT_TRUE(onTopFixer.StayOnTop());
}

TEST(TIdleTimerX11, IdleTimeFollowsInput) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    TIdleTimer timer(100);
    QSignalSpy spy(&timer, &TIdleTimer::OnIdle);
    ASSERT_TRUE(test::RunTool("xdotool", {"key", "shift"}));
    EXPECT_LT(timer.GetIdleTime(), 100u);
    QThread::msleep(300);
    EXPECT_GE(timer.GetIdleTime(), 250u);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_TRUE(test::WaitUntil([&] { return spy.count() >= 3; }, 500)); // its own ticks
}

TEST(TIdleTimer, WithoutASessionReportsZero) {
    if (test::OnX11())
        GTEST_SKIP() << "for sessions without idle time";
    TIdleTimer timer(100);
    EXPECT_EQ(timer.GetIdleTime(), 0u);
}

} // namespace
} // namespace chromint
