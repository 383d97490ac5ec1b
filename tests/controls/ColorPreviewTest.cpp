#include "ColorOperations.h"
#include "mbColorPreview.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace chromint {
namespace {

std::string Hex(TColor c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", c);
    return buf;
}

const TColor kBrick = MakeRGB(200, 100, 50);

class ColorPreviewTest : public ::testing::Test {
protected:
    ColorPreviewTest() : resolver_(GetSystemColorResolver()) {}
    ~ColorPreviewTest() override { SetSystemColorResolver(resolver_); }

    // A top-level swatch of a fixed size, shown and exposed.
    std::unique_ptr<TmbColorPreview> Shown(int w, int h) {
        auto swatch = std::make_unique<TmbColorPreview>();
        swatch->setFixedSize(w, h);
        swatch->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(swatch.get()));
        return swatch;
    }

    // The colour the control shows at a point, read from what it paints.
    static TColor PixelAt(QWidget& widget, QPoint p) {
        const QPixmap shot = widget.grab();
        const qreal ratio = shot.devicePixelRatio();
        const QPoint device(static_cast<int>(std::lround(p.x() * ratio)),
                            static_cast<int>(std::lround(p.y() * ratio)));
        return ToTColor(shot.toImage().pixelColor(device));
    }

    static TColor Frame(const QWidget& w) {
        return ToTColor(w.palette().color(QPalette::Active, QPalette::Dark));
    }
    static TColor LightRing(const QWidget& w) {
        return ToTColor(w.palette().color(QPalette::Active, QPalette::Base));
    }

private:
    SystemColorResolver resolver_;
};

TEST_F(ColorPreviewTest, Defaults) {
    TmbColorPreview swatch;
    EXPECT_EQ(Hex(swatch.Color()), Hex(clWhite));
    EXPECT_EQ(swatch.Opacity(), 100);
    EXPECT_EQ(swatch.BlockSize(), 6);
    EXPECT_FALSE(swatch.SwatchStyle());
    EXPECT_EQ(swatch.size(), QSize(68, 32));
    EXPECT_EQ(swatch.sizeHint(), QSize(68, 32));
    EXPECT_EQ(swatch.focusPolicy(), Qt::NoFocus) << "not a tab stop";
}

TEST_F(ColorPreviewTest, PropertiesByName) {
    TmbColorPreview swatch;
    EXPECT_TRUE(swatch.setProperty("Color", QVariant::fromValue<TColor>(kBrick)));
    EXPECT_TRUE(swatch.setProperty("Opacity", 50));
    EXPECT_TRUE(swatch.setProperty("BlockSize", 4));
    EXPECT_TRUE(swatch.setProperty("SwatchStyle", true));
    EXPECT_EQ(Hex(swatch.property("Color").value<TColor>()), Hex(kBrick));
    EXPECT_EQ(swatch.property("Opacity").toInt(), 50);
    EXPECT_EQ(swatch.property("BlockSize").toInt(), 4);
    EXPECT_TRUE(swatch.property("SwatchStyle").toBool());
}

// Each row starts from a fresh swatch, optionally prepared, then writes one property.
TEST_F(ColorPreviewTest, SetterRules) {
    using Step = std::function<void(TmbColorPreview&)>;
    struct Row {
        const char* name;
        Step prepare;
        Step write;
        TColor color;
        int opacity;
        int blockSize;
        bool style;
        int colorSignals;
        int opacitySignals;
    };
    const Step nothing = [](TmbColorPreview&) {};
    const Row rows[] = {
        {"same colour: no signal", nothing, [](auto& s) { s.SetColor(clWhite); }, clWhite, 100, 6,
         false, 0, 0},
        {"new colour", nothing, [](auto& s) { s.SetColor(kBrick); }, kBrick, 100, 6, false, 1, 0},
        {"no colour is a colour", nothing, [](auto& s) { s.SetColor(clNone); }, clNone, 100, 6,
         false, 1, 0},
        {"system colour kept as written", nothing, [](auto& s) { s.SetColor(0xFF000005); },
         0xFF000005, 100, 6, false, 1, 0},
        {"same opacity: no signal", nothing, [](auto& s) { s.SetOpacity(100); }, clWhite, 100, 6,
         false, 0, 0},
        {"half opacity", nothing, [](auto& s) { s.SetOpacity(50); }, clWhite, 50, 6, false, 0, 1},
        {"above 100 clamps to the unchanged 100", nothing, [](auto& s) { s.SetOpacity(150); },
         clWhite, 100, 6, false, 0, 0},
        {"per-mille value clamps to 100", [](auto& s) { s.SetOpacity(50); },
         [](auto& s) { s.SetOpacity(500); }, clWhite, 100, 6, false, 0, 1},
        {"negative clamps to 0", nothing, [](auto& s) { s.SetOpacity(-5); }, clWhite, 0, 6, false,
         0, 1},
        {"negative at 0: no signal", [](auto& s) { s.SetOpacity(0); },
         [](auto& s) { s.SetOpacity(-20); }, clWhite, 0, 6, false, 0, 0},
        {"block size 0 ignored", nothing, [](auto& s) { s.SetBlockSize(0); }, clWhite, 100, 6,
         false, 0, 0},
        {"negative block size ignored", nothing, [](auto& s) { s.SetBlockSize(-3); }, clWhite, 100,
         6, false, 0, 0},
        {"block size 4", nothing, [](auto& s) { s.SetBlockSize(4); }, clWhite, 100, 4, false, 0, 0},
        {"ringed frame on", nothing, [](auto& s) { s.SetSwatchStyle(true); }, clWhite, 100, 6, true,
         0, 0},
    };
    for (const Row& row : rows) {
        TmbColorPreview swatch;
        row.prepare(swatch);
        QSignalSpy colorSpy(&swatch, &TmbColorPreview::colorChanged);
        QSignalSpy opacitySpy(&swatch, &TmbColorPreview::opacityChanged);
        row.write(swatch);
        EXPECT_EQ(Hex(swatch.Color()), Hex(row.color)) << row.name;
        EXPECT_EQ(swatch.Opacity(), row.opacity) << row.name;
        EXPECT_EQ(swatch.BlockSize(), row.blockSize) << row.name;
        EXPECT_EQ(swatch.SwatchStyle(), row.style) << row.name;
        ASSERT_EQ(colorSpy.count(), row.colorSignals) << row.name;
        ASSERT_EQ(opacitySpy.count(), row.opacitySignals) << row.name;
        if (row.colorSignals == 1) {
            EXPECT_EQ(Hex(colorSpy.at(0).at(0).value<TColor>()), Hex(row.color)) << row.name;
        }
        if (row.opacitySignals == 1) {
            EXPECT_EQ(opacitySpy.at(0).at(0).toInt(), row.opacity) << row.name;
        }
    }
}

TEST_F(ColorPreviewTest, SignalArrivesAfterTheValueIsStored) {
    TmbColorPreview swatch;
    TColor seenColor = 0;
    int seenOpacity = -1;
    QObject::connect(&swatch, &TmbColorPreview::colorChanged, [&] { seenColor = swatch.Color(); });
    QObject::connect(&swatch, &TmbColorPreview::opacityChanged,
                     [&] { seenOpacity = swatch.Opacity(); });
    swatch.SetColor(kBrick);
    swatch.SetOpacity(150);
    swatch.SetOpacity(30);
    EXPECT_EQ(Hex(seenColor), Hex(kBrick));
    EXPECT_EQ(seenOpacity, 30);
}

struct Probe {
    QPoint at;
    TColor expected; // clNone: the palette's frame colour; clNone - 1: its light ring colour
};
constexpr TColor kFrame = clNone;
constexpr TColor kRing = clNone - 1;

TEST_F(ColorPreviewTest, PaintedPixels) {
    SetSystemColorResolver(
        [](std::uint8_t index) -> TColor { return index == 5 ? MakeRGB(0, 0, 255) : 0; });
    struct Row {
        const char* name;
        QSize size;
        TColor color;
        int opacity;
        int blockSize;
        bool style;
        std::vector<Probe> probes;
    };
    const Row rows[] = {
        {"plain opaque",
         {68, 32},
         kBrick,
         100,
         6,
         false,
         {{{0, 0}, kFrame}, {{67, 31}, kFrame}, {{1, 1}, kBrick}, {{34, 16}, kBrick}}},
        {"main window swatch",
         {72, 72},
         kBrick,
         100,
         4,
         true,
         {{{0, 36}, kFrame},
          {{1, 36}, kRing},
          {{2, 36}, MakeRGB(150, 75, 38)},
          {{36, 3}, MakeRGB(174, 87, 44)},
          {{4, 4}, kBrick},
          {{36, 36}, kBrick}}},
        {"alpha swatch",
         {36, 72},
         kBrick,
         50,
         4,
         true,
         {{{1, 36}, kRing},
          {{2, 36}, MakeRGB(171, 134, 115)},
          {{3, 36}, MakeRGB(198, 155, 133)},
          {{4, 36}, MakeRGB(228, 178, 153)},
          {{5, 5}, MakeRGB(228, 178, 153)},
          {{9, 5}, MakeRGB(196, 146, 121)},
          {{9, 9}, MakeRGB(228, 178, 153)},
          {{13, 9}, MakeRGB(196, 146, 121)}}},
        {"no colour",
         {68, 32},
         clNone,
         100,
         6,
         false,
         {{{0, 0}, kFrame}, {{1, 1}, clWhite}, {{7, 1}, clSilver}, {{7, 7}, clWhite}}},
        {"opacity 0 whatever the colour",
         {68, 32},
         MakeRGB(255, 0, 0),
         0,
         6,
         false,
         {{{1, 1}, clWhite}, {{7, 1}, clSilver}, {{13, 1}, clWhite}, {{1, 7}, clSilver}}},
        {"web-safe swatch",
         {23, 23},
         MakeRGB(51, 102, 153),
         100,
         4,
         true,
         {{{22, 11}, kFrame}, {{21, 11}, kRing}, {{11, 11}, MakeRGB(51, 102, 153)}}},
        {"system colour looked up",
         {40, 40},
         0xFF000005,
         100,
         6,
         false,
         {{{20, 20}, MakeRGB(0, 0, 255)}}},
    };
    for (const Row& row : rows) {
        auto swatch = Shown(row.size.width(), row.size.height());
        swatch->SetColor(row.color);
        swatch->SetOpacity(row.opacity);
        swatch->SetBlockSize(row.blockSize);
        swatch->SetSwatchStyle(row.style);
        for (const Probe& probe : row.probes) {
            TColor expected = probe.expected;
            if (expected == kFrame)
                expected = Frame(*swatch);
            else if (expected == kRing)
                expected = LightRing(*swatch);
            EXPECT_EQ(Hex(PixelAt(*swatch, probe.at)), Hex(expected))
                << row.name << " at " << probe.at.x() << "," << probe.at.y();
        }
    }
}

TEST_F(ColorPreviewTest, RepaintsAfterEachChange) {
    auto swatch = Shown(72, 72);
    swatch->SetBlockSize(4);
    swatch->SetSwatchStyle(true);
    EXPECT_EQ(Hex(PixelAt(*swatch, {36, 36})), Hex(clWhite));
    swatch->SetColor(kBrick);
    EXPECT_EQ(Hex(PixelAt(*swatch, {36, 36})), Hex(kBrick)) << "new colour";
    swatch->SetOpacity(50);
    EXPECT_EQ(Hex(PixelAt(*swatch, {13, 9})), Hex(MakeRGB(196, 146, 121))) << "checker appears";
    swatch->SetBlockSize(8);
    EXPECT_EQ(Hex(PixelAt(*swatch, {13, 9})), Hex(MakeRGB(228, 178, 153))) << "larger cells";
    EXPECT_EQ(Hex(PixelAt(*swatch, {1, 9})), Hex(LightRing(*swatch)));
    swatch->SetSwatchStyle(false);
    EXPECT_EQ(Hex(PixelAt(*swatch, {1, 9})), Hex(MakeRGB(196, 146, 121)))
        << "checker reaches the frame";
    swatch->SetOpacity(100);
    EXPECT_EQ(Hex(PixelAt(*swatch, {13, 9})), Hex(kBrick)) << "opaque again";
}

TEST_F(ColorPreviewTest, IgnoredBlockSizeKeepsTheCells) {
    auto swatch = Shown(68, 32);
    swatch->SetColor(clNone);
    for (int ignored : {0, -1, -6}) {
        swatch->SetBlockSize(ignored);
        EXPECT_EQ(Hex(PixelAt(*swatch, {5, 1})), Hex(clWhite)) << ignored;
        EXPECT_EQ(Hex(PixelAt(*swatch, {6, 1})), Hex(clSilver)) << ignored;
    }
}

TEST_F(ColorPreviewTest, ResizeRebuildsThePicture) {
    auto swatch = Shown(30, 30);
    swatch->SetColor(kBrick);
    EXPECT_EQ(Hex(PixelAt(*swatch, {29, 29})), Hex(Frame(*swatch)));
    swatch->setFixedSize(50, 40);
    QApplication::processEvents();
    EXPECT_EQ(Hex(PixelAt(*swatch, {29, 29})), Hex(kBrick)) << "old frame gone";
    EXPECT_EQ(Hex(PixelAt(*swatch, {49, 39})), Hex(Frame(*swatch))) << "frame at the new edge";
}

TEST_F(ColorPreviewTest, PaletteChangeRepaintsTheFrameAndRing) {
    auto swatch = Shown(40, 40);
    swatch->SetSwatchStyle(true);
    EXPECT_EQ(Hex(PixelAt(*swatch, {1, 20})), Hex(LightRing(*swatch)));
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Base, QColor(10, 20, 30));
    pal.setColor(QPalette::Dark, QColor(90, 80, 70));
    swatch->setPalette(pal);
    EXPECT_EQ(Hex(PixelAt(*swatch, {1, 20})), Hex(MakeRGB(10, 20, 30)));
    EXPECT_EQ(Hex(PixelAt(*swatch, {0, 20})), Hex(MakeRGB(90, 80, 70)));
}

TEST_F(ColorPreviewTest, ToolTipShowsTheHint) {
    struct Row {
        const char* name;
        QString hint;
        QString shown;
    };
    const Row rows[] = {
        {"main window swatch", "Base color", "Base color"},
        {"alpha swatch", "Alpha blend", "Alpha blend"},
        {"two lines", "RGB(136, 106, 56)\r\nHex: #886A38", "RGB(136, 106, 56)\nHex: #886A38"},
        {"placeholders stay as written", "Hex: %hex", "Hex: %hex"},
    };
    for (const Row& row : rows) {
        auto swatch = Shown(72, 72);
        swatch->setToolTip(row.hint);
        const QPoint local(10, 10);
        QHelpEvent help(QEvent::ToolTip, local, swatch->mapToGlobal(local));
        QApplication::sendEvent(swatch.get(), &help);
        EXPECT_TRUE(QToolTip::isVisible()) << row.name;
        EXPECT_EQ(QToolTip::text(), row.shown) << row.name;
        QToolTip::hideText();
    }
}

TEST_F(ColorPreviewTest, NoHintNoToolTip) {
    auto swatch = Shown(72, 72);
    QToolTip::hideText();
    const QPoint local(10, 10);
    QHelpEvent help(QEvent::ToolTip, local, swatch->mapToGlobal(local));
    QApplication::sendEvent(swatch.get(), &help);
    EXPECT_FALSE(QToolTip::isVisible());
}

TEST_F(ColorPreviewTest, ClicksAndDoubleClicks) {
    auto swatch = Shown(46, 93);
    QSignalSpy clicks(swatch.get(), &TmbColorPreview::clicked);
    QSignalSpy doubles(swatch.get(), &TmbColorPreview::doubleClicked);

    QTest::mouseClick(swatch.get(), Qt::LeftButton, {}, {20, 40});
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(doubles.count(), 0);

    QTest::mouseClick(swatch.get(), Qt::RightButton, {}, {20, 40});
    EXPECT_EQ(clicks.count(), 1) << "right button is no click";

    // What a double-click delivers: a click, then a double-click press and its release.
    clicks.clear();
    QTest::mouseClick(swatch.get(), Qt::LeftButton, {}, {20, 40});
    QTest::mouseDClick(swatch.get(), Qt::LeftButton, {}, {20, 40});
    QTest::mouseRelease(swatch.get(), Qt::LeftButton, {}, {20, 40});
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(clicks.count(), 1) << "the second click of a double-click is no click";

    clicks.clear();
    QTest::mousePress(swatch.get(), Qt::LeftButton, {}, {20, 40});
    QTest::mouseRelease(swatch.get(), Qt::LeftButton, {}, {80, 40});
    EXPECT_EQ(clicks.count(), 0) << "released outside";
}

} // namespace
} // namespace chromint
