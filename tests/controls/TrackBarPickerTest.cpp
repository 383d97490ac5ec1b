#include "ColorPreviewLayout.h"
#include "PickerConversions.h"
#include "PointerConfinement.h"
#include "WidgetTestSupport.h"
#include "mbTrackBarPicker.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace chromint {
namespace {

using test::PixelAt;
using test::Settle;

using L = TTrackBarLayout;
using I = TSelIndicator;
using P = TSliderPlacement;

// ---- Pure arithmetic ----

struct PickRectRow {
    const char* name;
    L layout;
    I indicator;
    P placement;
    bool newStyle;
    int w, h;
    BarRect expected;
};

TEST(BarGeometry, PickRectanglesForEveryLayoutAndIndicator) {
    const std::vector<PickRectRow> rows = {
        {"main window bar, new arrows both sides",
         L::lyVertical,
         I::siArrows,
         P::spBoth,
         true,
         41,
         272,
         {11, 8, 30, 264}},
        {"vertical old arrows after",
         L::lyVertical,
         I::siArrows,
         P::spAfter,
         false,
         22,
         267,
         {0, 6, 12, 261}},
        {"vertical new arrows before",
         L::lyVertical,
         I::siArrows,
         P::spBefore,
         true,
         41,
         272,
         {11, 8, 41, 264}},
        {"vertical rectangle",
         L::lyVertical,
         I::siRect,
         P::spAfter,
         false,
         22,
         267,
         {5, 4, 17, 260}},
        {"horizontal old arrows after",
         L::lyHorizontal,
         I::siArrows,
         P::spAfter,
         false,
         267,
         22,
         {6, 0, 261, 12}},
        {"horizontal new arrows before",
         L::lyHorizontal,
         I::siArrows,
         P::spBefore,
         true,
         267,
         40,
         {8, 11, 259, 40}},
        {"horizontal new arrows both",
         L::lyHorizontal,
         I::siArrows,
         P::spBoth,
         true,
         267,
         40,
         {8, 11, 259, 29}},
        {"horizontal rectangle",
         L::lyHorizontal,
         I::siRect,
         P::spBoth,
         false,
         267,
         22,
         {4, 5, 260, 17}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const BarMetrics m = BarArrowMetrics(row.indicator, row.newStyle);
        EXPECT_EQ(BarPickRect(row.layout, row.indicator, row.placement, m, row.w, row.h),
                  row.expected);
    }
}

TEST(BarGeometry, ArrowMetrics) {
    EXPECT_EQ(BarArrowMetrics(I::siRect, true), (BarMetrics{4, 5, 0, 3}));
    EXPECT_EQ(BarArrowMetrics(I::siArrows, true), (BarMetrics{8, 9, 2, 7}));
    EXPECT_EQ(BarArrowMetrics(I::siArrows, false), (BarMetrics{6, 10, 0, 7}));
}

struct PosRow {
    const char* name;
    BarScale scale;
    L layout;
    int length;
    int number;
    int pos;
};

const BarScale kValue{255, true};
const BarScale kHue{360, false};

TEST(BarArithmetic, NumberToMarker) {
    const std::vector<PosRow> rows = {
        {"value 255 at the top", kValue, L::lyVertical, 272, 255, 0},
        {"value 0 at pos 260, limit 265 does not bite", kValue, L::lyVertical, 272, 0, 260},
        {"hue 360 at pos 260", kHue, L::lyVertical, 272, 360, 260},
        {"hue 0 at the top", kHue, L::lyVertical, 272, 0, 0},
        {"horizontal value grows right", kValue, L::lyHorizontal, 267, 255, 255},
        {"tiny bar stays at 0", kValue, L::lyVertical, 5, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BarNumberToPos(row.scale, row.layout, row.length, 7, row.number), row.pos);
    }
}

TEST(BarArithmetic, MarkerToNumber) {
    const std::vector<PosRow> rows = {
        {"pos 0 is value 255", kValue, L::lyVertical, 272, 255, 0},
        {"pos 100 is Round(255 - 100 x 255 / 260)", kValue, L::lyVertical, 272, 157, 100},
        {"pos 263 clamps to value 0", kValue, L::lyVertical, 272, 0, 263},
        {"hue pos 92 is 127", kHue, L::lyVertical, 272, 127, 92},
        {"hue pos 263 clamps to 360", kHue, L::lyVertical, 272, 360, 263},
        {"horizontal value pos 100", kValue, L::lyHorizontal, 267, 100, 100},
        {"bar no longer than its margins reads its resting end", kValue, L::lyVertical, 12, 255, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BarPosToNumber(row.scale, row.layout, row.length, row.pos), row.number);
    }
}

TEST(BarArithmetic, EveryValueSurvivesTheRoundTripOnTheMainWindowBar) {
    for (int v = 0; v <= 255; ++v) {
        const int pos = BarNumberToPos(kValue, L::lyVertical, 272, 7, v);
        EXPECT_EQ(BarPosToNumber(kValue, L::lyVertical, 272, pos), v) << "value " << v;
    }
}

TEST(BarArithmetic, MouseToPosition) {
    EXPECT_EQ(BarMouseToPos(L::lyVertical, 8, 272, 20, 8), 0);
    EXPECT_EQ(BarMouseToPos(L::lyVertical, 8, 272, 20, 0), 0);
    EXPECT_EQ(BarMouseToPos(L::lyVertical, 8, 272, 20, 500), 263);
    EXPECT_EQ(BarMouseToPos(L::lyHorizontal, 6, 267, 50, 500), 44);
}

struct KeyRow {
    const char* name;
    BarScale scale;
    L layout;
    int key;
    bool ctrl;
    std::optional<int> target;
};

TEST(BarArithmetic, ArrowKeys) {
    const std::vector<KeyRow> rows = {
        {"value Up adds", kValue, L::lyVertical, Qt::Key_Up, false, 101},
        {"value Ctrl+Up is the maximum", kValue, L::lyVertical, Qt::Key_Up, true, 255},
        {"value Down subtracts", kValue, L::lyVertical, Qt::Key_Down, false, 99},
        {"value Ctrl+Down is 0", kValue, L::lyVertical, Qt::Key_Down, true, 0},
        {"hue Up subtracts", kHue, L::lyVertical, Qt::Key_Up, false, 99},
        {"hue Ctrl+Up is 0", kHue, L::lyVertical, Qt::Key_Up, true, 0},
        {"hue Ctrl+Down is 360", kHue, L::lyVertical, Qt::Key_Down, true, 360},
        {"horizontal Left subtracts", kHue, L::lyHorizontal, Qt::Key_Left, false, 99},
        {"horizontal Ctrl+Right is the maximum", kValue, L::lyHorizontal, Qt::Key_Right, true, 255},
        {"vertical bar leaves Left alone", kValue, L::lyVertical, Qt::Key_Left, false, {}},
        {"horizontal bar leaves Up alone", kValue, L::lyHorizontal, Qt::Key_Up, false, {}},
        {"other keys left alone", kValue, L::lyVertical, Qt::Key_PageUp, false, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BarKeyTarget(row.scale, row.layout, row.key, row.ctrl, 100, 1), row.target);
    }
}

struct HintRow {
    const char* name;
    const char* format;
    const char* expected;
};

TEST(BarHint, FirstOccurrenceOfEachPlaceholderInOrder) {
    const std::vector<HintRow> rows = {
        {"plain value", "Hue: %value", "Hue: 127"},
        {"no placeholder", "Just text", "Just text"},
        {"twice: the second is hit by %v", "Hue: %value / %value", "Hue: 127 / 127alue"},
        {"lightness letter", "Luminance: %l", "Luminance: 127"},
        {"every letter once", "%r %g %b", "127 127 127"},
        {"a letter twice gets the first only", "%k%k", "127%k"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BarHintText(QString::fromUtf8(row.format), 127).toStdString(), row.expected);
    }
}

TEST(BarGradient, EntriesRunAlongTheBar) {
    const std::vector<std::uint32_t> entries = {0x112233, 0x445566, 0x778899};
    const QImage v = BarGradientImage(L::lyVertical, entries);
    ASSERT_EQ(v.size(), QSize(12, 3));
    EXPECT_EQ(v.pixel(0, 0) & 0xFFFFFF, 0x112233u);
    EXPECT_EQ(v.pixel(11, 2) & 0xFFFFFF, 0x778899u);
    const QImage h = BarGradientImage(L::lyHorizontal, entries);
    ASSERT_EQ(h.size(), QSize(3, 12));
    EXPECT_EQ(h.pixel(1, 11) & 0xFFFFFF, 0x445566u);
}

// ---- Widgets ----

class RecordingConfinement : public PointerConfinement {
public:
    void Confine(const QRect& r) override {
        ++confined;
        last = r;
    }
    void Release() override { ++released; }
    int confined = 0;
    int released = 0;
    QRect last;
};

// A bar as the main window sets it up: 41 x 272, vertical, arrows both sides, new style.
template <typename Bar>
std::unique_ptr<Bar> MainWindowBar() {
    auto bar = std::make_unique<Bar>();
    bar->SetLayout(L::lyVertical);
    bar->SetArrowPlacement(P::spBoth);
    bar->SetNewArrowStyle(true);
    bar->setFixedSize(41, 272);
    bar->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(bar.get()));
    QApplication::processEvents();
    return bar;
}

struct ClickRow {
    const char* name;
    int y;
    int expected;
};

TEST(ValueBar, ClicksOnTheMainWindowBar) {
    const std::vector<ClickRow> rows = {
        {"top of the gradient", 8, 255}, {"pos 100", 108, 157},          {"bottom end", 268, 0},
        {"far below", 271, 0},           {"above the gradient", 2, 255},
    };
    auto bar = MainWindowBar<TVColorPicker>();
    bar->SetValue(40);
    Settle(*bar);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        bar->SetValue(row.expected == 100 ? 0 : 100);
        Settle(*bar);
        QSignalSpy spy(bar.get(), &TmbTrackBarPicker::OnChange);
        QTest::mouseClick(bar.get(), Qt::LeftButton, {}, QPoint(20, row.y));
        EXPECT_EQ(bar->Value(), row.expected);
        EXPECT_TRUE(bar->Manual());
        Settle(*bar);
        // Press and release each set the number; each paint after them reports once.
        EXPECT_GE(spy.count(), 1);
        EXPECT_LE(spy.count(), 2);
    }
}

TEST(HueBar, ClickAndExtremes) {
    auto bar = MainWindowBar<THColorPicker>();
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, QPoint(20, 100));
    EXPECT_EQ(bar->Hue(), 127);
    bar->SetHue(360);
    EXPECT_EQ(bar->ArrowPos(), 260);
}

TEST(HueBar, UpAtZeroKeepsZeroAndStillReports) {
    auto bar = MainWindowBar<THColorPicker>();
    bar->SetHue(0);
    QSignalSpy spy(bar.get(), &TmbTrackBarPicker::OnChange);
    QTest::keyClick(bar.get(), Qt::Key_Up);
    EXPECT_EQ(bar->Hue(), 0);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(bar->Manual());
    QTest::keyClick(bar.get(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(bar->Hue(), 360);
    EXPECT_EQ(spy.count(), 2);
}

TEST(ValueBar, CrossDirectionArrowsAreNotConsumed) {
    auto bar = MainWindowBar<TVColorPicker>();
    for (int key : {Qt::Key_Left, Qt::Key_Right}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(bar.get(), &press);
        EXPECT_FALSE(press.isAccepted()) << key;
    }
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    bar->SetValue(10);
    QApplication::sendEvent(bar.get(), &up);
    EXPECT_TRUE(up.isAccepted());
    EXPECT_EQ(bar->Value(), 11);
}

TEST(ValueBar, SameSelectedColorStillReportsOnce) {
    auto bar = MainWindowBar<TVColorPicker>();
    QSignalSpy spy(bar.get(), &TmbTrackBarPicker::OnChange);
    bar->SetSelectedColor(MakeRGB(10, 200, 30));
    EXPECT_EQ(spy.count(), 1);
    bar->SetSelectedColor(MakeRGB(10, 200, 30));
    EXPECT_EQ(spy.count(), 2);
    EXPECT_FALSE(bar->Manual());
    EXPECT_EQ(bar->SelectedColor(), PickerHSVToRGB(bar->Hue(), bar->Saturation(), bar->Value()));
}

TEST(ValueBar, SettersClampAndReportOnlyChanges) {
    auto bar = MainWindowBar<TVColorPicker>();
    QSignalSpy spy(bar.get(), &TmbTrackBarPicker::OnChange);
    bar->SetValue(300);
    EXPECT_EQ(bar->Value(), 255);
    EXPECT_EQ(spy.count(), 0) << "already 255";
    bar->SetValue(-5);
    EXPECT_EQ(bar->Value(), 0);
    EXPECT_EQ(spy.count(), 1);
    bar->SetHue(400);
    EXPECT_EQ(bar->Hue(), 360);
    EXPECT_EQ(spy.count(), 2);
    bar->setFixedSize(41, 200);
    QApplication::processEvents();
    Settle(*bar);
    EXPECT_EQ(spy.count(), 2) << "a resize raises no change";
}

TEST(ValueBar, WheelReportsEveryNotchAlsoAtTheEnd) {
    auto bar = MainWindowBar<TVColorPicker>();
    bar->SetValue(254);
    QSignalSpy spy(bar.get(), &TmbTrackBarPicker::OnChange);
    QWheelEvent wheel(QPointF(20, 20), bar->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, 360),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar.get(), &wheel);
    EXPECT_TRUE(wheel.isAccepted());
    EXPECT_EQ(bar->Value(), 255);
    EXPECT_EQ(spy.count(), 3);
}

TEST(ValueBar, DragIsConfinedAndAnyReleaseFreesThePointer) {
    RecordingConfinement rec;
    SetPointerConfinement(&rec);
    auto bar = MainWindowBar<TVColorPicker>();
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, QPoint(20, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 60), bar->mapToGlobal(QPointF(20, 60)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar.get(), &move);
    EXPECT_EQ(rec.confined, 1);
    EXPECT_EQ(rec.last, QRect(bar->mapToGlobal(QPoint(0, 0)), QSize(41, 272)));
    EXPECT_EQ(bar->Value(), BarPosToNumber(kValue, L::lyVertical, 272, 52));
    QTest::mouseRelease(bar.get(), Qt::RightButton, {}, QPoint(20, 60));
    EXPECT_EQ(rec.released, 1);
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, QPoint(20, 60));
    EXPECT_EQ(rec.released, 2);
    SetPointerConfinement(nullptr);
}

TEST(ValueBar, RightButtonChangesNothing) {
    auto bar = MainWindowBar<TVColorPicker>();
    QSignalSpy spy(bar.get(), &TmbTrackBarPicker::OnChange);
    QTest::mouseClick(bar.get(), Qt::RightButton, {}, QPoint(20, 150));
    Settle(*bar);
    EXPECT_EQ(bar->Value(), 255);
    EXPECT_EQ(spy.count(), 0);
}

TEST(ValueBar, PaintsTheGradientAndTheArrow) {
    auto bar = MainWindowBar<TVColorPicker>();
    bar->SetSelectedColor(MakeRGB(255, 0, 0));
    Settle(*bar);
    EXPECT_EQ(PixelAt(*bar, 20, 8), MakeRGB(255, 0, 0)) << "value 255 at the top";
    const TColor bottom = PixelAt(*bar, 20, 263);
    EXPECT_LE(GetRValue(bottom), 3) << "value near 0 at the bottom";
    // The right arrow of the new style, centred on row 7, filled with the window colour.
    EXPECT_EQ(PixelAt(*bar, 37, 7), ToTColor(bar->palette().color(QPalette::Base)));
    EXPECT_EQ(PixelAt(*bar, 3, 7), ToTColor(bar->palette().color(QPalette::Base)));
}

TEST(ValueBar, WebSafeRoundsPaintAndReport) {
    auto bar = MainWindowBar<TVColorPicker>();
    bar->SetWebSafe(true);
    bar->SetSelectedColor(MakeRGB(100, 30, 200));
    EXPECT_EQ(bar->SelectedColor(), NearestWebSafe(bar->SelectedColor()));
    Settle(*bar);
    const TColor top = PixelAt(*bar, 20, 9);
    EXPECT_EQ(top, NearestWebSafe(top));
}

TEST(LightnessBar, FollowsThePickerScale) {
    SetPickerHSLScale(360, 255, 255);
    TLColorPicker bar;
    EXPECT_EQ(bar.Saturation(), 255);
    EXPECT_EQ(bar.Luminance(), 127);
    EXPECT_EQ(bar.Gradient().height(), 255);
    bar.SetSelectedColor(MakeRGB(255, 255, 255));
    EXPECT_EQ(bar.Luminance(), 255);
    EXPECT_EQ(bar.SelectedColor(), MakeRGB(255, 255, 255));
    SetPickerHSLScale(239, 240, 240);
}

TEST(HueBar, HintBesideTheBarWithTheHue) {
    auto bar = MainWindowBar<THColorPicker>();
    bar->SetHintFormat(QStringLiteral("Hue: %value / %value"));
    bar->SetHue(127);
    QHelpEvent help(QEvent::ToolTip, QPoint(20, 100), bar->mapToGlobal(QPoint(20, 100)));
    QApplication::sendEvent(bar.get(), &help);
    EXPECT_EQ(QToolTip::text().toStdString(), "Hue: 127 / 127alue");
    QToolTip::hideText();
}

TEST(HueBar, OldArrowsAreBlackOnlyWithTheFocus) {
    THColorPicker bar;
    bar.resize(267, 22);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    bar.SetHue(180);
    // Old arrows after a horizontal bar: the tip at (A, H - Aw - 1) with A = pos + Aw.
    const int a = bar.ArrowPos() + 6;
    bar.clearFocus();
    Settle(bar);
    EXPECT_EQ(PixelAt(bar, a, 19), MakeRGB(0x80, 0x80, 0x80));
    bar.activateWindow();
    bar.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar.hasFocus(); }));
    Settle(bar);
    EXPECT_EQ(PixelAt(bar, a, 19), clBlack);
}

TEST(ValueBar, RectangleIndicatorInvertsTheGradient) {
    TVColorPicker bar;
    bar.SetSelectionIndicator(I::siRect);
    bar.setFixedSize(22, 267);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    bar.SetSelectedColor(MakeRGB(0, 0, 255));
    Settle(bar);
    // Value 255 sits at pos 0: the rectangle's top edge is row Aw - 2 = 2, over the gradient.
    EXPECT_EQ(PixelAt(bar, 10, 2),
              MakeRGB(0xFF, 0xFF, 0xFF) ^ ToTColor(bar.palette().color(bar.backgroundRole())));
    // Its bottom edge, row 6, inverts what the gradient shows there.
    const TColor under = PixelAt(bar, 10, 6);
    bar.SetValue(0);
    Settle(bar);
    EXPECT_EQ(under, ~PixelAt(bar, 10, 6) & 0xFFFFFF);
}

TEST(HueBar, HorizontalGradientStartsRed) {
    THColorPicker bar;
    bar.resize(267, 22);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    EXPECT_EQ(PixelAt(bar, 6, 5), MakeRGB(255, 0, 0));
    EXPECT_EQ(bar.Gradient().width(), 360);
}

} // namespace
} // namespace chromint
