// The X11 services against a real X server: key grabs reached by xdotool, pixels painted by
// xsetroot, the pointer and the idle time. Skipped where the session is not X11.

#include "DesktopBackground.h"
#include "GlobalHotKeys.h"
#include "IdleTime.h"
#include "PlatformBackends.h"
#include "ScreenAccess.h"
#include "TestRows.h"
#include "X11TestSupport.h"

#include <QMouseEvent>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

namespace chromint {
namespace {

using test::OnX11;
using test::RunTool;
using test::WaitUntil;

#define SKIP_WITHOUT_X11()                                                                         \
    if (!OnX11())                                                                                  \
    GTEST_SKIP() << "needs an X server"

constexpr int kKeyX = 88;
constexpr int kKeyF7 = 118;

TEST(GlobalHotKeysX11, KeyPressFromAnotherClientReachesTheHandler) {
    SKIP_WITHOUT_X11();
    auto hotKeys = CreateGlobalHotKeys();
    ASSERT_TRUE(hotKeys->Available());
    int presses = 0;
    unsigned seenModifiers = 0;
    int seenKey = 0;
    hotKeys->OnPressed = [&](unsigned modifiers, int key) {
        ++presses;
        seenModifiers = modifiers;
        seenKey = key;
    };
    ASSERT_EQ(hotKeys->Grab(GlobalHotKeys::ModAlt, kKeyX), GlobalHotKeys::GrabResult::Grabbed);
    ASSERT_TRUE(RunTool("xdotool", {"key", "alt+x"}));
    EXPECT_TRUE(WaitUntil([&] { return presses == 1; }));
    EXPECT_EQ(seenModifiers, GlobalHotKeys::ModAlt);
    EXPECT_EQ(seenKey, kKeyX);
}

TEST(GlobalHotKeysX11, NumLockOnStillReachesTheHandler) {
    SKIP_WITHOUT_X11();
    auto hotKeys = CreateGlobalHotKeys();
    int presses = 0;
    hotKeys->OnPressed = [&](unsigned, int) { ++presses; };
    ASSERT_EQ(hotKeys->Grab(GlobalHotKeys::ModCtrl | GlobalHotKeys::ModShift, kKeyX),
              GlobalHotKeys::GrabResult::Grabbed);
    ASSERT_TRUE(RunTool("xdotool", {"key", "Num_Lock"}));
    ASSERT_TRUE(RunTool("xdotool", {"key", "ctrl+shift+x"}));
    ASSERT_TRUE(RunTool("xdotool", {"key", "Num_Lock"}));
    EXPECT_TRUE(WaitUntil([&] { return presses == 1; }));
}

TEST(GlobalHotKeysX11, UngrabbedKeyNoLongerReachesTheHandler) {
    SKIP_WITHOUT_X11();
    auto hotKeys = CreateGlobalHotKeys();
    int presses = 0;
    hotKeys->OnPressed = [&](unsigned, int) { ++presses; };
    ASSERT_EQ(hotKeys->Grab(GlobalHotKeys::ModAlt, kKeyF7), GlobalHotKeys::GrabResult::Grabbed);
    EXPECT_TRUE(hotKeys->Ungrab(GlobalHotKeys::ModAlt, kKeyF7));
    EXPECT_FALSE(hotKeys->Ungrab(GlobalHotKeys::ModAlt, kKeyF7));
    ASSERT_TRUE(RunTool("xdotool", {"key", "alt+F7"}));
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(presses, 0);
}

TEST(GlobalHotKeysX11, SecondGrabOfTheSameCombinationFails) {
    SKIP_WITHOUT_X11();
    auto hotKeys = CreateGlobalHotKeys();
    EXPECT_EQ(hotKeys->Grab(GlobalHotKeys::ModAlt, kKeyX), GlobalHotKeys::GrabResult::Grabbed);
    EXPECT_EQ(hotKeys->Grab(GlobalHotKeys::ModAlt, kKeyX), GlobalHotKeys::GrabResult::Taken);
    EXPECT_TRUE(hotKeys->Holds(GlobalHotKeys::ModAlt, kKeyX));
}

TEST(GlobalHotKeysX11, CombinationHeldByAnotherClientIsReportedTaken) {
    SKIP_WITHOUT_X11();
    test::OtherClientGrab other(0x78 /* x */, 4 /* ControlMask */);
    ASSERT_TRUE(other.Holds());
    auto hotKeys = CreateGlobalHotKeys();
    EXPECT_EQ(hotKeys->Grab(GlobalHotKeys::ModCtrl, kKeyX), GlobalHotKeys::GrabResult::Taken);
    EXPECT_FALSE(hotKeys->Holds(GlobalHotKeys::ModCtrl, kKeyX));
    // Nothing of the failed attempt stays behind: a free combination still works.
    EXPECT_EQ(hotKeys->Grab(GlobalHotKeys::ModShift, kKeyX), GlobalHotKeys::GrabResult::Grabbed);
}

TEST(GlobalHotKeysX11, GrabsEndWithTheObject) {
    SKIP_WITHOUT_X11();
    {
        auto first = CreateGlobalHotKeys();
        ASSERT_EQ(first->Grab(GlobalHotKeys::ModAlt, kKeyF7), GlobalHotKeys::GrabResult::Grabbed);
    }
    test::OtherClientGrab other(0xffc4 /* F7 */, 8 /* Mod1Mask */);
    EXPECT_TRUE(other.Holds());
}

struct PixelRow {
    const char* row;
    const char* xsetrootColor;
    std::uint32_t rgb;
};
CHROMINT_PRINT_ROW(PixelRow, row, "xsetroot " << row.xsetrootColor)

const PixelRow kPixelRows[] = {
    {"pure red", "#ff0000", 0xff0000},
    {"dark blue-green", "#123456", 0x123456},
    {"white", "#ffffff", 0xffffff},
    {"black", "#000000", 0x000000},
};

class ScreenPixelX11 : public ::testing::TestWithParam<PixelRow> {};

TEST_P(ScreenPixelX11, RootColourSetByXsetrootIsReadBack) {
    SKIP_WITHOUT_X11();
    ASSERT_TRUE(RunTool("xsetroot", {"-solid", GetParam().xsetrootColor}));
    ScreenAccess& screen = Screen();
    for (QPoint point : {QPoint(0, 0), QPoint(7, 3), screen.DesktopRect().bottomRight()}) {
        const auto pixel = screen.PixelAt(point);
        ASSERT_TRUE(pixel.has_value());
        EXPECT_EQ(*pixel, GetParam().rgb) << point.x() << "," << point.y();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ScreenPixelX11, ::testing::ValuesIn(kPixelRows),
                         test::RowName<::testing::TestParamInfo<PixelRow>>);

TEST(ScreenAccessX11, PointOutsideTheDesktopHasNoPixel) {
    SKIP_WITHOUT_X11();
    const QRect desktop = Screen().DesktopRect();
    EXPECT_FALSE(Screen().PixelAt(QPoint(-1, 0)).has_value());
    EXPECT_FALSE(Screen().PixelAt(QPoint(desktop.right() + 1, 0)).has_value());
}

TEST(ScreenAccessX11, GrabOverTheEdgeIsBlackOutside) {
    SKIP_WITHOUT_X11();
    ASSERT_TRUE(RunTool("xsetroot", {"-solid", "#406080"}));
    const QImage image = Screen().Grab(QRect(-2, -2, 6, 6));
    ASSERT_EQ(image.size(), QSize(6, 6));
    EXPECT_EQ(image.pixel(0, 0), 0xff000000u);
    EXPECT_EQ(image.pixel(2, 2), 0xff406080u);
    EXPECT_EQ(image.pixel(5, 5), 0xff406080u);
}

TEST(ScreenAccessX11, PointerMovesWhereSet) {
    SKIP_WITHOUT_X11();
    ScreenAccess& screen = Screen();
    ASSERT_TRUE(screen.SetPointerPos(QPoint(200, 150)));
    EXPECT_EQ(screen.PointerPos(), QPoint(200, 150));
    ASSERT_TRUE(screen.SetPointerPos(QPoint(400, 400)));
    EXPECT_EQ(screen.PointerPos(), QPoint(400, 400));
}

// A widget that counts the pointer moves it sees while a button is held.
class DragProbe : public QWidget {
public:
    int moves = 0;
    QPoint last;

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        ++moves;
        last = event->globalPosition().toPoint();
    }
};

// Confinement is set up while a button is held, as the pickers do, and takes nothing away from
// the drag. The moves here are warps, which pass the barriers; relative motion, as a mouse
// makes it, stops at them (the pickers' drags in tests/desktop/PointerConfinementTest.cpp).
TEST(ScreenAccessX11, ConfiningDuringADragKeepsTheDragAlive) {
    SKIP_WITHOUT_X11();
    DragProbe probe;
    probe.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    probe.setGeometry(100, 100, 200, 200);
    probe.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&probe));
    ASSERT_TRUE(RunTool("xdotool", {"mousemove", "150", "150", "mousedown", "1"}));
    WaitUntil([] { return false; }, 100);
    ASSERT_TRUE(Screen().Confine(QRect(100, 100, 200, 200)));
    ASSERT_TRUE(RunTool("xdotool", {"mousemove", "200", "180"}));
    EXPECT_TRUE(WaitUntil([&] { return probe.last == QPoint(200, 180); }));
    Screen().Release();
    Screen().Release(); // a second release is harmless
    ASSERT_TRUE(RunTool("xdotool", {"mousemove", "250", "190"}));
    EXPECT_TRUE(WaitUntil([&] { return probe.last == QPoint(250, 190); }));
    ASSERT_TRUE(RunTool("xdotool", {"mouseup", "1"}));
}

TEST(IdleTimeX11, InputResetsTheIdleTime) {
    SKIP_WITHOUT_X11();
    ASSERT_TRUE(RunTool("xdotool", {"mousemove", "10", "20"}));
    const auto justMoved = DesktopIdleMilliseconds();
    ASSERT_TRUE(justMoved.has_value());
    EXPECT_LT(*justMoved, 500u);
    QThread::msleep(400);
    const auto later = DesktopIdleMilliseconds();
    ASSERT_TRUE(later.has_value());
    EXPECT_GE(*later, 300u);
    ASSERT_TRUE(RunTool("xdotool", {"key", "shift"}));
    EXPECT_LT(*DesktopIdleMilliseconds(), *later);
}

TEST(DesktopBackgroundX11, SetColourIsWhatTheScreenShows) {
    SKIP_WITHOUT_X11();
    ASSERT_TRUE(SetDesktopBackgroundColor(0x2a7fd4));
    EXPECT_EQ(Screen().PixelAt(QPoint(3, 3)), std::optional<std::uint32_t>(0x2a7fd4));
    EXPECT_EQ(GetDesktopBackgroundColor(), std::optional<std::uint32_t>(0x2a7fd4));
}

TEST(UnavailableBackends, DoNothingAndSaySo) {
    auto hotKeys = backend::CreateGlobalHotKeysNone();
    EXPECT_FALSE(hotKeys->Available());
    EXPECT_EQ(hotKeys->Grab(GlobalHotKeys::ModAlt, kKeyX), GlobalHotKeys::GrabResult::Unavailable);
    EXPECT_FALSE(hotKeys->Ungrab(GlobalHotKeys::ModAlt, kKeyX));
    auto screen = backend::CreateScreenAccessNone();
    EXPECT_FALSE(screen->Available());
    EXPECT_FALSE(screen->PixelAt(QPoint(0, 0)).has_value());
    EXPECT_TRUE(screen->Grab(QRect(0, 0, 4, 4)).isNull());
    EXPECT_FALSE(screen->PointerPos().has_value());
    EXPECT_FALSE(screen->Confine(QRect(0, 0, 4, 4)));
    auto frame = backend::CreateFrameColorNone();
    EXPECT_FALSE(frame->IsCompositionEnabled());
    EXPECT_FALSE(frame->CanWriteParameters());
}

TEST(FrameColorSession, CompositionIsReportedDisabled) {
    EXPECT_FALSE(CreateFrameColorBackend()->IsCompositionEnabled());
}

} // namespace
} // namespace chromint
