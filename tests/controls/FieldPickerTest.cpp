#include "ColorPreviewLayout.h"
#include "FocusFrame.h"
#include "FormatHint.h"
#include "HSColorPicker.h"
#include "HSLColorPicker.h"
#include "HSVColorPicker.h"
#include "PickerConversions.h"
#include "PointerConfinement.h"
#include "SLColorPicker.h"
#include "TestRows.h"
#include "WidgetTestSupport.h"
#include "mbTrackBarPicker.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace chromint {
namespace {

using test::PixelAt;
using test::Settle;

std::string Hex(TColor c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%06X", c);
    return buf;
}

template <typename W>
std::unique_ptr<W> Shown(int w, int h) {
    auto widget = std::make_unique<W>();
    widget->setFixedSize(w, h);
    widget->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
    QApplication::processEvents();
    return widget;
}

// Restores the process-wide picker scale after a test that creates pickers.
class ScaleGuard {
public:
    ScaleGuard() : saved_(GetPickerHSLScale()) {}
    ~ScaleGuard() { SetPickerHSLScale(saved_.maxHue, saved_.maxSat, saved_.maxLum); }

private:
    PickerHSLScale saved_;
};

// ---- Shared marker rules ----

struct MarkerColorRow {
    const char* name;
    TColor field;
    TColor marker;
};

TEST(PickerMarker, BlackOnLightWhiteOnDark) {
    const std::vector<MarkerColorRow> rows = {
        {"white field", clWhite, clBlack},
        {"black field", clBlack, clWhite},
        {"yellow field", MakeRGB(255, 255, 0), clBlack},
        {"navy field", MakeRGB(0, 0, 128), clWhite},
        {"exact middle ties to black", MakeRGB(128, 127, 128), clBlack},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PickerMarkerColor(row.field), row.marker);
    }
}

TEST(PickerMarker, CrossLeavesItsCentreOpen) {
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    DrawPickerMarker(p, 20, 20, TMarkerStyle::msCross, clBlack);
    p.end();
    EXPECT_EQ(img.pixel(20, 20) & 0xFFFFFF, 0xFFFFFFu) << "centre";
    EXPECT_EQ(img.pixel(10, 18) & 0xFFFFFF, 0u) << "left bar";
    EXPECT_EQ(img.pixel(14, 18) & 0xFFFFFF, 0u) << "left bar's last column";
    EXPECT_EQ(img.pixel(15, 18) & 0xFFFFFF, 0xFFFFFFu) << "right edge exclusive";
    EXPECT_EQ(img.pixel(19, 28) & 0xFFFFFF, 0u) << "bottom bar";
}

TEST(PickerHex, SixUpperCaseDigits) {
    EXPECT_EQ(PickerHexText(clBlack).toStdString(), "000000");
    EXPECT_EQ(PickerHexText(MakeRGB(0xAB, 0x0C, 0xEF)).toStdString(), "AB0CEF");
}

// ---- Hue wheel ----

struct WheelRow {
    const char* name;
    int x, y;
    int hue, sat;
};

TEST(WheelArithmetic, PointsReadHueAndSaturation) {
    const std::vector<WheelRow> rows = {
        {"right edge", 255, 128, 360, 253}, {"top", 128, 0, 90, 255},
        {"left", 1, 128, 180, 253},         {"bottom", 128, 255, 270, 253},
        {"centre", 128, 128, 360, 0},       {"outside reads the rim", 10, 10, 135, 255},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(WheelPointToHueSat(row.x, row.y, 128), (HueSat{row.hue, row.sat}));
    }
}

TEST(WheelArithmetic, PictureHuesRunOneTo360) {
    EXPECT_EQ(WheelPictureHueSat(100, 0, 128), (HueSat{360, 199}));
    EXPECT_EQ(WheelPictureHueSat(0, -100, 128)->hue, 90);
    EXPECT_EQ(WheelPictureHueSat(-100, 0, 128)->hue, 180);
    EXPECT_EQ(WheelPictureHueSat(0, 100, 128)->hue, 270);
    EXPECT_FALSE(WheelPictureHueSat(100, 100, 128)) << "outside the disc";
    EXPECT_EQ(WheelPictureHueSat(0, 0, 0), (HueSat{270, 0})) << "no radius, no division";
    int lo = 999, hi = -1;
    for (int dy = -128; dy <= 128; ++dy)
        for (int dx = -128; dx <= 128; ++dx)
            if (const auto hs = WheelPictureHueSat(dx, dy, 128)) {
                lo = std::min(lo, hs->hue);
                hi = std::max(hi, hs->hue);
                ASSERT_LE(hs->sat, 255);
            }
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 360);
}

TEST(WheelArithmetic, PullOntoDiscAndMarker) {
    EXPECT_EQ(WheelPullOntoDisc(300, 128, 128), QPoint(256, 128));
    EXPECT_EQ(WheelPullOntoDisc(200, 100, 128), QPoint(200, 100)) << "inside stays";
    EXPECT_EQ(WheelMarkerPoint(0, 255, 128), QPoint(256, 128));
    EXPECT_EQ(WheelMarkerPoint(90, 255, 128), QPoint(128, 0));
    EXPECT_EQ(WheelMarkerPoint(45, 0, 128), QPoint(128, 128));
}

TEST(WheelArithmetic, PictureIsTheHSVColourOfEveryPixel) {
    const int s = 256, r = 128;
    const auto geometry = WheelGeometry(s);
    for (int value : {255, 100, 0}) {
        for (bool web : {false, true}) {
            const QImage img = WheelPicture(geometry, s, value, web, clSilver);
            int bad = 0;
            for (int y = 0; y < s; ++y)
                for (int x = 0; x < s; ++x) {
                    const auto hs = WheelPictureHueSat(x - r, y - r, r);
                    TColor want = clSilver;
                    if (hs) {
                        want = PickerHSVToRGB(hs->hue, hs->sat, value);
                        if (web)
                            want = NearestWebSafe(want);
                    }
                    bad += ToTColor(img.pixelColor(x, y)) != want;
                }
            EXPECT_EQ(bad, 0) << "value " << value << (web ? " web-safe" : "");
        }
    }
}

struct WheelClickRow {
    const char* name;
    QPoint at;
    int hue, sat;
    QPoint marker;
};

TEST(HueWheel, ClicksOnTheMainWindowWheel) {
    // The main window's wheel: the crossed circle and the focus frame keep 8 pixels free.
    const std::vector<WheelClickRow> rows = {
        {"right of the centre", {247, 128}, 360, 253, {247, 128}},
        {"top", {128, 8}, 90, 255, {128, 8}},
        {"far right is pulled onto the rim", {300, 128}, 360, 255, {248, 128}},
    };
    auto wheel = Shown<THSVColorPicker>(256, 256);
    ASSERT_EQ(wheel->Radius(), 120);
    ASSERT_EQ(wheel->Centre(), QPoint(128, 128));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        wheel->SetSelectedColor(MakeRGB(0, 0, 0));
        Settle(*wheel);
        QSignalSpy spy(wheel.get(), &THSVColorPicker::OnChange);
        QTest::mousePress(wheel.get(), Qt::LeftButton, {}, row.at);
        EXPECT_EQ(spy.count(), 0) << "reported by the paint";
        Settle(*wheel);
        EXPECT_EQ(spy.count(), 1);
        QTest::mouseRelease(wheel.get(), Qt::LeftButton, {}, row.at);
        EXPECT_EQ(wheel->Hue(), row.hue);
        EXPECT_EQ(wheel->Saturation(), row.sat);
        EXPECT_EQ(wheel->MarkerPoint(), row.marker);
        EXPECT_TRUE(wheel->Manual());
    }
}

TEST(HueWheel, RedSitsAtTheRimAndReadsBackTheSame) {
    auto wheel = Shown<THSVColorPicker>(256, 256);
    EXPECT_EQ(wheel->SelectedColor(), clNone) << "nothing written yet";
    QSignalSpy spy(wheel.get(), &THSVColorPicker::OnChange);
    wheel->SetSelectedColor(MakeRGB(255, 0, 0));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(wheel->Hue(), 0);
    EXPECT_EQ(wheel->Saturation(), 255);
    EXPECT_EQ(wheel->MarkerPoint(), QPoint(248, 128));
    wheel->SetSelectedColor(MakeRGB(255, 0, 0));
    EXPECT_EQ(spy.count(), 2) << "an unchanged colour still reports";
    QTest::mouseClick(wheel.get(), Qt::LeftButton, {}, QPoint(248, 128));
    EXPECT_EQ(wheel->Hue(), 360);
    EXPECT_EQ(wheel->SelectedColor(), MakeRGB(255, 0, 0));
}

struct WheelKeyRow {
    const char* name;
    int key;
    Qt::KeyboardModifiers mods;
    int hue, sat; // before
    int hueAfter, satAfter;
};

TEST(HueWheel, ArrowKeys) {
    const std::vector<WheelKeyRow> rows = {
        {"Left adds to the hue", Qt::Key_Left, {}, 100, 100, 101, 100},
        {"Right subtracts", Qt::Key_Right, {}, 100, 100, 99, 100},
        {"Ctrl+Right below 0 wraps", Qt::Key_Right, Qt::ControlModifier, 5, 100, 355, 100},
        {"Ctrl+Left above 360 wraps", Qt::Key_Left, Qt::ControlModifier, 355, 100, 5, 100},
        {"Up adds to the saturation", Qt::Key_Up, {}, 100, 100, 100, 101},
        {"Ctrl+Up past 255 is refused", Qt::Key_Up, Qt::ControlModifier, 100, 250, 100, 250},
        {"Ctrl+Down below 0 is refused", Qt::Key_Down, Qt::ControlModifier, 100, 5, 100, 5},
    };
    auto wheel = Shown<THSVColorPicker>(256, 256);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        wheel->SetHue(row.hue);
        wheel->SetSaturation(row.sat);
        QSignalSpy spy(wheel.get(), &THSVColorPicker::OnChange);
        QTest::keyClick(wheel.get(), Qt::Key(row.key), row.mods);
        EXPECT_EQ(wheel->Hue(), row.hueAfter);
        EXPECT_EQ(wheel->Saturation(), row.satAfter);
        EXPECT_EQ(spy.count(), 1) << "one report per key, also when nothing moved";
        EXPECT_TRUE(wheel->Manual());
    }
}

TEST(HueWheel, ValueRebuildsThePictureAndPaintShowsIt) {
    auto wheel = Shown<THSVColorPicker>(256, 256);
    wheel->SetShowHueLine(false);
    wheel->SetShowSaturationCircle(false);
    wheel->SetShowSelectionCircle(false);
    wheel->SetSelectedColor(MakeRGB(255, 255, 255));
    Settle(*wheel);
    const int r = wheel->Radius();
    const int inset = wheel->Inset();
    const QPoint nearRim(wheel->Centre().x() + r - 2, wheel->Centre().y() - 1);
    const auto rim = WheelPictureHueSat(nearRim.x() - inset - r, nearRim.y() - inset - r, r);
    ASSERT_TRUE(rim);
    EXPECT_EQ(rim->sat, 251);
    EXPECT_EQ(PixelAt(*wheel, nearRim.x(), nearRim.y()), PickerHSVToRGB(rim->hue, rim->sat, 255))
        << "near the rim";
    EXPECT_EQ(PixelAt(*wheel, 1, 1), ToTColor(wheel->palette().color(wheel->backgroundRole())))
        << "corner keeps the background";
    wheel->SetValue(100);
    Settle(*wheel);
    EXPECT_EQ(PixelAt(*wheel, nearRim.x(), nearRim.y()), PickerHSVToRGB(rim->hue, rim->sat, 100));
    // Picking reads the point itself, not the picture's rounding of it.
    const HueSat read = WheelPointToHueSat(nearRim.x() - inset, nearRim.y() - inset, r);
    EXPECT_EQ(wheel->GetColorAtPoint(nearRim.x(), nearRim.y()),
              PickerHSVToRGB(read.hue, read.sat, 100));
}

TEST(HueWheel, MarkerIsBlackOnTheLightCentre) {
    auto wheel = Shown<THSVColorPicker>(256, 256);
    wheel->SetMarkerStyle(TMarkerStyle::msCircle);
    wheel->SetShowHueLine(false);
    wheel->SetSelectedColor(clWhite);
    Settle(*wheel);
    // The circle of the marker at the centre passes 6 pixels left of it.
    EXPECT_EQ(PixelAt(*wheel, 122, 128), clBlack);
}

// The pixels a marker style paints, as offsets from the marker's centre.
std::vector<QPoint> MarkerPixels(TMarkerStyle style) {
    QImage img(64, 64, QImage::Format_RGB32);
    img.fill(Qt::black);
    {
        QPainter painter(&img);
        DrawPickerMarker(painter, 32, 32, style, clWhite);
    }
    std::vector<QPoint> pixels;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == qRgb(255, 255, 255))
                pixels.emplace_back(x - 32, y - 32);
    return pixels;
}

struct RimMarkerRow {
    const char* row;
    TColor color;
    bool webSafe;
    TMarkerStyle style;
};
CHROMINT_PRINT_ROW(RimMarkerRow, row)

TEST(HueWheel, MarkerOnTheRimIsDrawnWhole) {
    const std::vector<RimMarkerRow> rows = {
        {"left, #003333 web-only", ColorFromHex(0x003333), true, TMarkerStyle::msCrossCirc},
        {"left, main window circle", ColorFromHex(0x00FFFF), false, TMarkerStyle::msCircle},
        {"top", PickerHSVToRGB(90, 255, 255), false, TMarkerStyle::msCrossCirc},
        {"right", MakeRGB(255, 0, 0), false, TMarkerStyle::msCircle},
        {"bottom", PickerHSVToRGB(270, 255, 255), false, TMarkerStyle::msCrossCirc},
        {"right, cross", MakeRGB(255, 0, 0), false, TMarkerStyle::msCross},
        {"bottom, square", PickerHSVToRGB(270, 255, 255), false, TMarkerStyle::msSquare},
    };
    auto wheel = Shown<THSVColorPicker>(256, 256);
    wheel->SetShowHueLine(false);
    wheel->SetShowSaturationCircle(false);
    wheel->clearFocus();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        wheel->SetMarkerStyle(row.style);
        wheel->SetWebSafe(row.webSafe);
        wheel->SetSelectedColor(row.color);
        ASSERT_EQ(wheel->Saturation(), 255) << "the marker sits on the rim";
        Settle(*wheel);
        const QPoint at = wheel->MarkerPoint();
        const TColor ring = PickerMarkerColor(wheel->GetColorAtPoint(at.x(), at.y()));
        const QImage shot = wheel->grab().toImage();
        const std::vector<QPoint> pixels = MarkerPixels(row.style);
        ASSERT_FALSE(pixels.empty());
        // The marker's outermost pixels on each side of its centre.
        QPoint left = pixels.front(), right = left, top = left, bottom = left;
        for (const QPoint& p : pixels) {
            EXPECT_TRUE(wheel->rect().contains(at + p)) << "pixel " << p.x() << "," << p.y();
            if (p.x() < left.x())
                left = p;
            if (p.x() > right.x())
                right = p;
            if (p.y() < top.y())
                top = p;
            if (p.y() > bottom.y())
                bottom = p;
        }
        for (const QPoint& p : {left, right, top, bottom}) {
            const QPoint q = at + p;
            ASSERT_TRUE(shot.rect().contains(q)) << q.x() << "," << q.y();
            EXPECT_EQ(Hex(ToTColor(shot.pixelColor(q))), Hex(ring)) << q.x() << "," << q.y();
        }
    }
}

TEST(HueWheel, DragIsConfinedWithOnePixelToSpare) {
    struct Rec : PointerConfinement {
        void Confine(const QRect& r) override { last = r; }
        void Release() override { ++released; }
        QRect last;
        int released = 0;
    } rec;
    SetPointerConfinement(&rec);
    auto wheel = Shown<THSVColorPicker>(256, 256);
    QTest::mousePress(wheel.get(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(rec.last, QRect(wheel->mapToGlobal(QPoint(-1, -1)), QSize(258, 258)));
    QTest::mouseRelease(wheel.get(), Qt::MiddleButton, {}, QPoint(100, 100));
    EXPECT_EQ(rec.released, 1);
    SetPointerConfinement(nullptr);
}

TEST(HueWheel, ColourUnderTheCursorFollowsTheMouse) {
    auto wheel = Shown<THSVColorPicker>(256, 256);
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 60), wheel->mapToGlobal(QPointF(200, 60)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(wheel.get(), &move);
    EXPECT_EQ(wheel->LastMousePos(), QPoint(200, 60));
    EXPECT_EQ(wheel->ColorUnderCursor(), wheel->GetColorAtPoint(200, 60));
    EXPECT_EQ(wheel->GetHexColorUnderCursor(), PickerHexText(wheel->GetColorAtPoint(200, 60)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(wheel.get(), &leave);
    EXPECT_EQ(wheel->LastMousePos(), QPoint(0, 0));
}

TEST(HueWheel, HintShowsTheColourUnderTheCursor) {
    auto wheel = Shown<THSVColorPicker>(256, 256);
    wheel->SetHintFormat(QStringLiteral("R %r\rG %g"));
    const QPoint at(200, 60);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), wheel->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(wheel.get(), &move);
    QHelpEvent help(QEvent::ToolTip, at, wheel->mapToGlobal(at));
    QApplication::sendEvent(wheel.get(), &help);
    const TColor c = wheel->GetColorAtPoint(at.x(), at.y());
    EXPECT_EQ(QToolTip::text().toStdString(),
              "R " + std::to_string(GetRValue(c)) + "\nG " + std::to_string(GetGValue(c)));
    QToolTip::hideText();
}

// The default template ends its lines with "\n\r"; each must show as one line end.
struct DefaultHintRow {
    const char* row;
    std::function<std::unique_ptr<TmbCustomPicker>()> make;
};
CHROMINT_PRINT_ROW(DefaultHintRow, row)

TEST(PickerHint, DefaultTemplateShowsSevenLinesWithoutGaps) {
    const std::vector<DefaultHintRow> rows = {
        {"hue wheel", [] { return Shown<THSVColorPicker>(256, 256); }},
        {"saturation-value square", [] { return Shown<TSLColorPicker>(256, 256); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        const auto picker = row.make();
        ASSERT_EQ(picker->HintFormat().toStdString(), std::string(DefaultPickerHintFormat));
        const QPoint at(100, 120);
        QMouseEvent move(QEvent::MouseMove, QPointF(at), picker->mapToGlobal(QPointF(at)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(picker.get(), &move);
        QHelpEvent help(QEvent::ToolTip, at, picker->mapToGlobal(at));
        QApplication::sendEvent(picker.get(), &help);
        const QStringList lines = QToolTip::text().split(QLatin1Char('\n'));
        EXPECT_EQ(lines.size(), 7) << QToolTip::text().toStdString();
        for (const QString& line : lines)
            EXPECT_FALSE(line.trimmed().isEmpty()) << QToolTip::text().toStdString();
        EXPECT_FALSE(QToolTip::text().contains(QLatin1Char('\r')));
        QToolTip::hideText();
    }
}

// ---- Focus ----

struct FocusRow {
    const char* row;
    std::function<std::unique_ptr<QWidget>()> make;
};
CHROMINT_PRINT_ROW(FocusRow, row)

TEST(PickerFocus, FrameShowsRoundTheControlAndNowhereElse) {
    const std::vector<FocusRow> rows = {
        {"hue wheel", [] { return Shown<THSVColorPicker>(256, 256); }},
        {"saturation-value square", [] { return Shown<TSLColorPicker>(256, 256); }},
        {"hue-saturation field", [] { return Shown<THSColorPicker>(239, 166); }},
        {"hue bar with arrows that keep their colour",
         [] {
             auto bar = std::make_unique<THColorPicker>();
             bar->SetNewArrowStyle(true);
             bar->setFixedSize(267, 22);
             bar->show();
             EXPECT_TRUE(QTest::qWaitForWindowExposed(bar.get()));
             return std::unique_ptr<QWidget>(std::move(bar));
         }},
    };
    ScaleGuard guard;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        const auto control = row.make();
        control->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(control.get()));
        const test::FocusChange change =
            test::ChangeOnFocus(*control, control->rect(), FocusFrameWidth);
        EXPECT_GT(change.inFrame, 0) << "the frame shows";
        EXPECT_EQ(change.elsewhere, 0) << "the picture inside keeps its colours";
    }
}

// ---- Saturation-value square ----

TEST(SquareArithmetic, PointsAndMarker) {
    ScaleGuard guard;
    SetPickerHSLScale(360, 255, 255);
    EXPECT_EQ(SquarePointToSatLevel(0, 255, 256, 256), (SatLevel{0, 0}));
    EXPECT_EQ(SquarePointToSatLevel(255, 0, 256, 256), (SatLevel{255, 255}));
    EXPECT_EQ(SquareMarkerPoint(255, 255, 256, 256), QPoint(256, 0));
    EXPECT_EQ(SquareMarkerPoint(0, 0, 256, 256), QPoint(0, 256));
    EXPECT_EQ(SquareColorAtPoint(0, 256, 0, 256, 256), MakeRGB(255, 0, 0));
}

struct ScaleRow {
    const char* name;
    int maxHue, maxSat, maxLum;
};
const std::vector<ScaleRow> kScales = {
    {"main window scale", 360, 255, 255},
    {"hue-saturation field scale", 360, 240, 255},
    {"start-up scale", 239, 240, 240},
};

TEST(SquareArithmetic, PictureIsTheSquareColourOfEveryPixel) {
    ScaleGuard guard;
    for (const auto& row : kScales) {
        SCOPED_TRACE(row.name);
        SetPickerHSLScale(row.maxHue, row.maxSat, row.maxLum);
        for (int hue : {0, 1, 59, 60, 61, 119, 180, 239, 240, 300, 359, 360}) {
            for (bool web : {false, true}) {
                const QImage img = SquarePicture(hue, web);
                int bad = 0;
                for (int i = 0; i < 256; ++i)
                    for (int j = 0; j < 256; ++j) {
                        TColor want = SquareHSVToColor(hue, j, 255 - i);
                        if (web)
                            want = NearestWebSafe(want);
                        bad += ToTColor(img.pixelColor(j, i)) != want;
                    }
                EXPECT_EQ(bad, 0) << "hue " << hue << (web ? " web-safe" : "");
            }
        }
    }
}

struct SquareColorRow {
    const char* name;
    TColor color;
    int hue, sat, level;
};

TEST(SVSquare, SelectedColorSetsNumbersWithoutReporting) {
    const std::vector<SquareColorRow> rows = {
        {"hue just above red", MakeRGB(120, 1, 0), 1, 255, 120},
        {"hue just below 360", MakeRGB(120, 0, 1), 359, 255, 120},
        {"a half rounds away from zero", MakeRGB(6, 5, 5), 0, 43, 6},
        {"grey has hue 0", MakeRGB(90, 90, 90), 0, 0, 90},
    };
    ScaleGuard guard;
    auto square = Shown<TSLColorPicker>(256, 256);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QSignalSpy spy(square.get(), &TSLColorPicker::OnChange);
        square->SetSelectedColor(row.color);
        EXPECT_EQ(square->Hue(), row.hue);
        EXPECT_EQ(square->Saturation(), row.sat);
        EXPECT_EQ(square->Luminance(), row.level);
        EXPECT_EQ(spy.count(), 0);
        EXPECT_FALSE(square->Manual());
    }
    QSignalSpy spy(square.get(), &TSLColorPicker::OnChange);
    square->SetHue(200);
    EXPECT_EQ(spy.count(), 1) << "writing the hue reports";
}

struct SquareClickRow {
    const char* name;
    QPoint at;
    int sat, level;
    TColor color;
};

TEST(SVSquare, CornerClicks) {
    const std::vector<SquareClickRow> rows = {
        {"bottom left is black", {0, 255}, 0, 0, clBlack},
        {"top right is pure hue", {255, 0}, 255, 255, MakeRGB(255, 0, 0)},
        // (0, 0) would be the control's centre to QTest.
        {"top left is nearly white", {0, 1}, 0, 254, MakeRGB(254, 254, 254)},
    };
    ScaleGuard guard;
    auto square = Shown<TSLColorPicker>(256, 256);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        square->SetSelectedColor(MakeRGB(10, 100, 10));
        square->SetHue(0);
        QSignalSpy spy(square.get(), &TSLColorPicker::OnChange);
        QTest::mousePress(square.get(), Qt::LeftButton, {}, row.at);
        EXPECT_EQ(spy.count(), 1) << "reported at once";
        QTest::mouseRelease(square.get(), Qt::LeftButton, {}, row.at);
        EXPECT_EQ(square->Saturation(), row.sat);
        EXPECT_EQ(square->Luminance(), row.level);
        EXPECT_EQ(square->SelectedColor(), row.color) << Hex(square->SelectedColor());
        EXPECT_TRUE(square->Manual());
    }
}

TEST(SVSquare, RightAtTheRightEdgeDoesNothing) {
    ScaleGuard guard;
    auto square = Shown<TSLColorPicker>(256, 256);
    square->SetSelectedColor(MakeRGB(255, 0, 0));
    ASSERT_EQ(square->MarkerPoint().x(), 256);
    QSignalSpy spy(square.get(), &TSLColorPicker::OnChange);
    QTest::keyClick(square.get(), Qt::Key_Right);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(square->MarkerPoint().x(), 256);
    QTest::keyClick(square.get(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(square->Saturation(), 246) << "255 x 246 / 255";
}

TEST(SVSquare, OutsideTheSquareTheMouseDoesNothing) {
    ScaleGuard guard;
    auto square = Shown<TSLColorPicker>(256, 256);
    QSignalSpy spy(square.get(), &TSLColorPicker::OnChange);
    QTest::mouseClick(square.get(), Qt::LeftButton, {}, QPoint(300, 10));
    EXPECT_EQ(spy.count(), 0);
    EXPECT_FALSE(square->Manual());
}

TEST(SVSquare, PaintsThePictureOfItsHue) {
    ScaleGuard guard;
    auto square = Shown<TSLColorPicker>(256, 256);
    square->SetHue(120);
    square->SetSelectedColor(clBlack); // marker out of the way, bottom left
    square->SetHue(120);
    Settle(*square);
    EXPECT_EQ(PixelAt(*square, 255, 0), MakeRGB(0, 255, 0));
    EXPECT_EQ(PixelAt(*square, 0, 0), clWhite);
    square->SetWebSafe(true);
    Settle(*square);
    const TColor mid = PixelAt(*square, 100, 100);
    EXPECT_EQ(mid, NearestWebSafe(mid));
}

// ---- Hue-saturation field and the composite ----

TEST(HSFieldArithmetic, CellsAndMarker) {
    EXPECT_EQ(HSFieldCell(0, 0, 256, 256), QPoint(0, 0));
    EXPECT_EQ(HSFieldCell(255, 255, 256, 256), QPoint(359, 240));
    EXPECT_EQ(HSFieldCell(128, 128, 256, 256), QPoint(180, 120));
    EXPECT_EQ(HSFieldCell(500, -3, 256, 256), QPoint(360, 0)) << "kept inside";
    EXPECT_EQ(HSFieldMarkerRequest(0, 255, 256, 256), QPoint(0, -16));
    EXPECT_EQ(HSFieldMarkerRequest(180, 120, 256, 256), QPoint(128, 128));
}

TEST(HSFieldArithmetic, PictureIsTheHSLColourOfEveryCellAndFollowsTheScale) {
    ScaleGuard guard;
    for (const auto& row : kScales) {
        SCOPED_TRACE(row.name);
        SetPickerHSLScale(row.maxHue, row.maxSat, row.maxLum);
        const QImage img = SharedHSFieldPicture(false);
        ASSERT_EQ(img.size(), QSize(361, 241));
        int bad = 0;
        for (int j = 0; j <= 240; ++j)
            for (int i = 0; i <= 360; ++i)
                bad += ToTColor(img.pixelColor(i, 240 - j)) != PickerHSLToRGB(i, j, 128);
        EXPECT_EQ(bad, 0);
        const QImage web = SharedHSFieldPicture(true);
        EXPECT_EQ(ToTColor(web.pixelColor(100, 100)),
                  NearestWebSafe(PickerHSLToRGB(100, 140, 128)));
    }
}

// The main window builds the composite first and the square after it.
struct MainWindowPickers {
    MainWindowPickers() {
        hsl = std::make_unique<THSLColorPicker>();
        sl = std::make_unique<TSLColorPicker>();
        hsl->setFixedSize(309, 268);
        hsl->SetSelectedColor(66047);
        hsl->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(hsl.get()));
        Settle(*hsl);
    }
    ScaleGuard guard;
    std::unique_ptr<THSLColorPicker> hsl;
    std::unique_ptr<TSLColorPicker> sl;
};

TEST(HSLComposite, PictureAndScaleInForceInTheMainWindow) {
    MainWindowPickers w;
    EXPECT_EQ(GetPickerHSLScale(), (PickerHSLScale{360, 255, 255, 0}));
    THSColorPicker* field = w.hsl->HSPicker();
    EXPECT_EQ(field->Picture().pixel(0, 0) & 0xFFFFFF, 0xF80808u) << "saturation 240 of 255";
    EXPECT_EQ(field->GetColorAtPoint(0, 0), MakeRGB(248, 8, 8));
    EXPECT_EQ(field->MarkerRequest().y(), 0) << "-16 kept inside by the paint";
    EXPECT_EQ(field->MarkerPoint(), QPoint(0, 0));
    EXPECT_EQ(PixelAt(*field, 100, 200), field->GetColorAtPoint(100, 200))
        << "paint and pick agree";
    EXPECT_EQ(w.hsl->SelectedColor(), w.hsl->LPicker()->SelectedColor());
}

TEST(HSLComposite, DefaultLightnessIsReplacedAtTheFirstWrite) {
    ScaleGuard guard;
    THSLColorPicker hsl;
    EXPECT_EQ(hsl.LValue(), 120);
    hsl.SetSelectedColor(MakeRGB(0, 0, 255));
    EXPECT_EQ(hsl.LValue(), hsl.LPicker()->Luminance());
    EXPECT_EQ(hsl.BValue(), 255);
}

TEST(HSLComposite, FieldPressReportsOncePerChangedBarNumber) {
    MainWindowPickers w;
    THSColorPicker* field = w.hsl->HSPicker();
    QSignalSpy fieldSpy(field, &THSColorPicker::OnChange);
    QSignalSpy spy(w.hsl.get(), &THSLColorPicker::OnChange);
    QTest::mousePress(field, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(fieldSpy.count(), 0) << "not before the paint";
    Settle(*field);
    EXPECT_EQ(fieldSpy.count(), 1);
    EXPECT_EQ(spy.count(), 2) << "hue and saturation both changed";
    EXPECT_TRUE(w.hsl->Manual());
    const TColor picked = field->GetColorAtPoint(100, 100);
    const HSLInt hsl = PickerRGBToHSL(picked);
    EXPECT_EQ(w.hsl->SelectedColor(), PickerHSLToRGB(hsl.h, hsl.s, w.hsl->LPicker()->Luminance()));

    QTest::mouseRelease(field, Qt::LeftButton, {}, QPoint(100, 100));
    Settle(*field);
    EXPECT_EQ(fieldSpy.count(), 2);
    EXPECT_EQ(spy.count(), 2) << "the same cell changes neither";

    Settle(*field);
    EXPECT_EQ(fieldSpy.count(), 2) << "a repaint without a change reports nothing";
}

TEST(HSLComposite, ChannelWriteKeepsTheOtherTwo) {
    MainWindowPickers w;
    // The stored channels are those of the colour the bar shows, after its round trip.
    w.hsl->SetSelectedColor(MakeRGB(200, 10, 20));
    const int g = w.hsl->GValue(), b = w.hsl->BValue();
    EXPECT_EQ(MakeRGB(200, g, b), w.hsl->SelectedColor());
    w.hsl->SetRValue(0);
    EXPECT_EQ(w.hsl->HSPicker()->SelectedColor(),
              MakeRGB(0, static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)));
}

TEST(HSLComposite, SameColourIsIgnored) {
    MainWindowPickers w;
    QSignalSpy spy(w.hsl.get(), &THSLColorPicker::OnChange);
    w.hsl->SetSelectedColor(w.hsl->SelectedColor());
    EXPECT_EQ(spy.count(), 0);
    w.hsl->SetSelectedColor(MakeRGB(1, 2, 3));
    EXPECT_EQ(spy.count(), 1) << "the bar reports the write once";
}

TEST(HSLComposite, FieldKeysMoveTheMarkerInside) {
    MainWindowPickers w;
    THSColorPicker* field = w.hsl->HSPicker();
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(1, 50));
    Settle(*field);
    QTest::keyClick(field, Qt::Key_Left, Qt::ControlModifier);
    Settle(*field);
    EXPECT_EQ(field->MarkerPoint(), QPoint(0, 50)) << "kept inside";
    EXPECT_EQ(field->SelectedColor(), field->GetColorAtPoint(0, 50));
    QTest::keyClick(field, Qt::Key_Down);
    Settle(*field);
    EXPECT_EQ(field->MarkerPoint(), QPoint(0, 51));
}

TEST(HSLComposite, WebSafeReachesBothChildren) {
    MainWindowPickers w;
    w.hsl->SetWebSafe(true);
    EXPECT_TRUE(w.hsl->WebSafe());
    Settle(*w.hsl);
    const TColor c = w.hsl->HSPicker()->GetColorAtPoint(77, 33);
    EXPECT_EQ(c, NearestWebSafe(c));
    w.hsl->SetSelectedColor(MakeRGB(100, 150, 200));
    EXPECT_EQ(w.hsl->LPicker()->SelectedColor(), NearestWebSafe(w.hsl->LPicker()->SelectedColor()));
}

TEST(HSLComposite, FocusGoesToTheField) {
    MainWindowPickers w;
    w.hsl->activateWindow();
    w.hsl->setFocus();
    EXPECT_EQ(w.hsl->focusProxy(), w.hsl->HSPicker());
}

TEST(HSLComposite, ChildMouseMovesArePassedOn) {
    MainWindowPickers w;
    std::vector<QPoint> seen;
    Qt::KeyboardModifiers mods;
    QObject::connect(w.hsl.get(), &THSLColorPicker::OnMouseMove,
                     [&](Qt::KeyboardModifiers m, int x, int y) {
                         mods = m;
                         seen.emplace_back(x, y);
                     });
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 30),
                     w.hsl->LPicker()->mapToGlobal(QPointF(20, 30)), Qt::NoButton, Qt::NoButton,
                     Qt::ShiftModifier);
    QApplication::sendEvent(w.hsl->LPicker(), &move);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], QPoint(20, 30));
    EXPECT_EQ(mods, Qt::ShiftModifier);
}

TEST(HSLComposite, ResizeKeepsTheBarAtTheRight) {
    ScaleGuard guard;
    THSLColorPicker hsl;
    hsl.resize(400, 300);
    hsl.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&hsl));
    EXPECT_EQ(hsl.LPicker()->geometry(), QRect(356, -2, 41, 304));
    EXPECT_EQ(hsl.HSPicker()->geometry(), QRect(3, 6, 347, 288));
}

} // namespace
} // namespace chromint
