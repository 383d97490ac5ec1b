// The pickers' drags on a real X server: the pointer barriers in physical pixels around the
// control, built once for the whole drag. The program is also run with QT_SCALE_FACTOR=2.

#include "DesktopPointerConfinement.h"

#include "HSColorPicker.h"
#include "HSVColorPicker.h"
#include "SLColorPicker.h"
#include "ScreenAccess.h"
#include "TestRows.h"
#include "X11TestSupport.h"
#include "mbTrackBarPicker.h"

#include <QEvent>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace chromint {
namespace {

using test::RunTool;
using test::WaitUntil;

struct NativeRow {
    const char* row;
    QRect logical;
    QRect screen;
    double ratio;
    QRect native;
};
CHROMINT_PRINT_ROW(NativeRow, row, "ratio " << row.ratio)

const NativeRow kNativeRows[] = {
    {"unscaled", {100, 90, 120, 80}, {0, 0, 1280, 1024}, 1.0, {100, 90, 120, 80}},
    {"doubled", {100, 90, 120, 80}, {0, 0, 640, 512}, 2.0, {200, 180, 240, 160}},
    {"doubled second screen", {1300, 10, 100, 50}, {1280, 0, 960, 540}, 2.0, {1320, 20, 200, 100}},
    {"screen above the origin", {5, -90, 10, 10}, {0, -100, 640, 100}, 2.0, {10, -80, 20, 20}},
    {"one and a half", {3, 3, 5, 5}, {0, 0, 800, 600}, 1.5, {5, 5, 7, 7}},
    {"one and a half meets its neighbour", {8, 3, 5, 5}, {0, 0, 800, 600}, 1.5, {12, 5, 8, 7}},
};

class NativeScreenRectTest : public ::testing::TestWithParam<NativeRow> {};

TEST_P(NativeScreenRectTest, LogicalToPhysical) {
    const NativeRow& row = GetParam();
    EXPECT_EQ(NativeScreenRect(row.logical, row.screen, row.ratio), row.native);
}

INSTANTIATE_TEST_SUITE_P(Rows, NativeScreenRectTest, ::testing::ValuesIn(kNativeRows),
                         test::RowName<::testing::TestParamInfo<NativeRow>>);

// Counts the presses and moves a control receives.
class MouseCounter : public QObject {
public:
    explicit MouseCounter(QWidget* widget) { widget->installEventFilter(this); }
    int presses = 0;
    int moves = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress)
            ++presses;
        else if (event->type() == QEvent::MouseMove)
            ++moves;
        return false;
    }
};

struct PickerRow {
    const char* row;
    std::function<std::unique_ptr<QWidget>()> make;
    int slack; // logical pixels the confinement reaches beyond the control
};
CHROMINT_PRINT_ROW(PickerRow, row)

template <typename Picker>
std::unique_ptr<QWidget> Make() {
    return std::make_unique<Picker>();
}

const PickerRow kPickerRows[] = {
    {"hue saturation field", Make<THSColorPicker>, 0},
    {"saturation luminance square", Make<TSLColorPicker>, 0},
    {"hue wheel", Make<THSVColorPicker>, 1},
    {"value bar", Make<TVColorPicker>, 0},
};

// A picker on screen with the desktop's confinement installed, the button let go at the end
// whatever happens.
class ConfinedDrag : public ::testing::TestWithParam<PickerRow> {
protected:
    void SetUp() override {
        if (!test::OnX11())
            GTEST_SKIP() << "needs an X server";
        SetPointerConfinement(&DesktopPointerConfinement::Instance());
        picker_ = GetParam().make();
        picker_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
        picker_->setGeometry(100, 90, 120, 80);
        picker_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(picker_.get()));
        counter_ = std::make_unique<MouseCounter>(picker_.get());
    }

    void TearDown() override {
        if (!test::OnX11())
            return;
        RunTool("xdotool", {"mouseup", "1"});
        WaitUntil([] { return false; }, 50);
        SetPointerConfinement(nullptr);
        Screen().Release();
    }

    // Qt's global rectangle in physical pixels on the picker's screen.
    QRect Native(const QRect& logical) const {
        const QScreen* screen = picker_->screen();
        return NativeScreenRect(logical, screen->geometry(), screen->devicePixelRatio());
    }

    // The rectangle the pointer should be kept in while the picker is dragged.
    QRect ExpectedNativeBox() const {
        const int s = GetParam().slack;
        return Native(
            QRect(picker_->mapToGlobal(QPoint(0, 0)), picker_->size()).adjusted(-s, -s, s, s));
    }

    void PressAt(QPoint local) {
        const QPoint at = Native(QRect(picker_->mapToGlobal(local), QSize(1, 1))).topLeft();
        ASSERT_TRUE(RunTool("xdotool", {"mousemove", QString::number(at.x()),
                                        QString::number(at.y()), "mousedown", "1"}));
        ASSERT_TRUE(WaitUntil([&] { return counter_->presses == 1; }));
    }

    // Relative motion, as a mouse makes it: the barriers stop it (a warp would pass them).
    QPoint Push(int dx, int dy) {
        RunTool("xdotool", {"mousemove_relative", "--", QString::number(dx), QString::number(dy)});
        return Screen().PointerPos().value_or(QPoint(-1, -1));
    }

    void MoveInside() {
        const int before = counter_->moves;
        RunTool("xdotool", {"mousemove_relative", "--", "1", "1"});
        ASSERT_TRUE(WaitUntil([&] { return counter_->moves > before; }));
    }

    std::unique_ptr<QWidget> picker_;
    std::unique_ptr<MouseCounter> counter_;
};

TEST_P(ConfinedDrag, PointerStopsAtTheControlsEdgesInPhysicalPixels) {
    const QRect box = ExpectedNativeBox();
    PressAt(QPoint(60, 40));
    const QPoint start = *Screen().PointerPos();
    EXPECT_EQ(Push(3000, 0), QPoint(box.right(), start.y())) << "right";
    EXPECT_EQ(Push(0, 3000), QPoint(box.right(), box.bottom())) << "bottom";
    EXPECT_EQ(Push(-3000, 0), QPoint(box.left(), box.bottom())) << "left";
    EXPECT_EQ(Push(0, -3000), QPoint(box.left(), box.top())) << "top";
    ASSERT_TRUE(RunTool("xdotool", {"mouseup", "1"}));
    // Let go: the pointer is free again.
    EXPECT_TRUE(WaitUntil([&] { return Push(-20, -20).x() < box.left(); }));
}

// Moves during the drag keep the barriers made at the press: were they rebuilt on a move, the
// pointer would be free in between and, with the control moved meanwhile, held elsewhere.
TEST_P(ConfinedDrag, BarriersAreBuiltOnceForTheWholeDrag) {
    const QRect box = ExpectedNativeBox();
    PressAt(QPoint(60, 40));
    for (int i = 0; i < 5; ++i)
        MoveInside();
    const QPoint moved = picker_->pos() + QPoint(20, 15);
    picker_->move(moved);
    ASSERT_TRUE(WaitUntil([&] { return picker_->mapToGlobal(QPoint(0, 0)) == moved; }));
    ASSERT_NE(ExpectedNativeBox(), box);
    MoveInside();
    EXPECT_EQ(Push(3000, 0).x(), box.right());
    EXPECT_EQ(Push(0, 3000).y(), box.bottom());
}

INSTANTIATE_TEST_SUITE_P(Rows, ConfinedDrag, ::testing::ValuesIn(kPickerRows),
                         test::RowName<::testing::TestParamInfo<PickerRow>>);

} // namespace
} // namespace chromint
