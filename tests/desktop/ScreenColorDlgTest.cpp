#include "ScreenColorDlg.h"

#include "FakeGlobalHotKeys.h"
#include "JvZoom.h"
#include "ScreenAccess.h"
#include "TestRows.h"
#include "X11TestSupport.h"
#include "mbColorPreview.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <stdexcept>

#include <sys/resource.h>

namespace chromint {
namespace {

struct PercentRow {
    const char* row;
    double value;
    int percentage;
};
CHROMINT_PRINT_ROW(PercentRow, row, "value " << row.value)

const PercentRow kPercentRows[] = {
    {"one", 1.0, 100},
    {"two and a half", 2.5, 250},
    {"eight", 8.0, 800},
    {"ten", 10.0, 1000},
    {"three point three", 3.3, 330},
    {"half to even down", 1.005, 100}, // 100.49999 in binary
};

class ZoomPercentageTest : public ::testing::TestWithParam<PercentRow> {};

TEST_P(ZoomPercentageTest, NearestPercent) {
    EXPECT_EQ(ZoomPercentageForValue(GetParam().value), GetParam().percentage);
}

INSTANTIATE_TEST_SUITE_P(Rows, ZoomPercentageTest, ::testing::ValuesIn(kPercentRows),
                         test::RowName<::testing::TestParamInfo<PercentRow>>);

TEST(ScreenColorDialog, ValuesTextHasThreeBlanksBetweenChannels) {
    EXPECT_EQ(ColorValuesText(MakeRGB(255, 0, 0)), QStringLiteral("R: 255   G: 0   B: 0"));
    EXPECT_EQ(ColorValuesText(MakeRGB(1, 22, 203)), QStringLiteral("R: 1   G: 22   B: 203"));
}

TEST(ScreenColorDialog, OpensAtEightTimesWithTheHotKeyInTheCaption) {
    TScreenColorDialog dialog(8.0);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Screen color - Ctrl+Shift+X"));
    EXPECT_EQ(dialog.findChild<QDoubleSpinBox*>(QStringLiteral("edtZoom"))->text(),
              QStringLiteral("8.0x"));
    EXPECT_EQ(dialog.Zoom()->ZoomLevel(), 12);
    EXPECT_TRUE(dialog.Zoom()->Crosshair());
    EXPECT_EQ(dialog.Zoom()->CrosshairSize(), 30);
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(ScreenColorDialog, SpinEditSetsTheZoom) {
    TScreenColorDialog dialog(8.0);
    auto* edit = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("edtZoom"));
    edit->setValue(2.5);
    EXPECT_EQ(dialog.Zoom()->ZoomLevel(), 40);
    edit->setValue(10.0);
    EXPECT_EQ(dialog.Zoom()->ZoomLevel(), 10);
}

TEST(ScreenColorDialog, IdleForASecondFreezesTheView) {
    TScreenColorDialog dialog(8.0);
    dialog.IdleChanged(999);
    EXPECT_TRUE(dialog.Zoom()->isEnabled());
    dialog.IdleChanged(1000);
    EXPECT_FALSE(dialog.Zoom()->isEnabled());
    dialog.IdleChanged(40);
    EXPECT_TRUE(dialog.Zoom()->isEnabled());
}

TEST(ScreenColorDialog, PlacedInTheLowerRightCornerOfTheWorkArea) {
    TScreenColorDialog dialog(8.0);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(dialog.pos(), QPoint(area.width() - dialog.frameGeometry().width() - 25,
                                   area.height() - dialog.frameGeometry().height() - 25));
}

struct FontRow {
    const char* row;
    int pointSize;         // 0: the application's own
    bool changedWhileOpen; // set on the open window rather than before it is made
};
CHROMINT_PRINT_ROW(FontRow, row, row.pointSize << " pt")

const FontRow kFontRows[] = {
    {"application font", 0, false},
    {"small", 7, false},
    {"large", 16, false},
    {"very large", 24, false},
    {"enlarged while open", 20, true},
};

class ReadOutTest : public ::testing::TestWithParam<FontRow> {
protected:
    void SetUp() override {
        saved_ = QApplication::font();
        font_ = saved_;
        if (GetParam().pointSize > 0)
            font_.setPointSize(GetParam().pointSize);
        if (!GetParam().changedWhileOpen)
            QApplication::setFont(font_);
    }
    void TearDown() override { QApplication::setFont(saved_); }

    QFont saved_;
    QFont font_;
};

// The user's report: "1101x701  71  G: 88  B: 106", the position hiding the red value.
TEST_P(ReadOutTest, PositionDoesNotHideTheRedValue) {
    TScreenColorDialog dialog(8.0);
    if (GetParam().changedWhileOpen)
        dialog.setFont(font_);
    auto* panel = dialog.findChild<QWidget*>(QStringLiteral("ScreenColorPanel"));
    auto* position = dialog.findChild<QLabel*>(QStringLiteral("lblPosition"));
    auto* values = dialog.findChild<QLabel*>(QStringLiteral("lblColor"));
    ASSERT_EQ(position->font(), font_);
    position->setText(QStringLiteral("9999x9999"));
    values->setText(ColorValuesText(MakeRGB(255, 255, 255)));
    for (const QLabel* label : {position, values}) {
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->objectName().toStdString();
        EXPECT_GE(label->height(), label->fontMetrics().height())
            << label->objectName().toStdString();
        EXPECT_TRUE(panel->rect().contains(label->geometry())) << label->objectName().toStdString();
    }
    EXPECT_LT(position->geometry().right(), values->geometry().left());
    // The controls above keep their size and stay clear of the read-out.
    for (const char* name : {"Panel1", "DesktopSwatch", "edtZoom"}) {
        const auto* control = panel->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_TRUE(panel->rect().contains(control->geometry())) << name;
        EXPECT_LT(control->geometry().bottom(), position->geometry().top()) << name;
    }
    EXPECT_EQ(panel->findChild<QWidget*>(QStringLiteral("DesktopSwatch"))->size(), QSize(69, 69));
    // The whole panel and the whole hint are in the window.
    EXPECT_TRUE(dialog.rect().contains(panel->geometry()));
    const auto* hint = dialog.findChild<QLabel*>(QStringLiteral("lblHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(dialog.rect().contains(hint->geometry()));
    EXPECT_GE(hint->height(), hint->heightForWidth(hint->width()));
    EXPECT_FALSE(hint->geometry().intersects(panel->geometry()));
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadOutTest, ::testing::ValuesIn(kFontRows),
                         test::RowName<::testing::TestParamInfo<FontRow>>);

// The command with the dialog's run replaced: what the main window sees.
struct CommandRig {
    QWidget mainWindow;
    test::FakeGlobalHotKeys* fake = nullptr;
    std::unique_ptr<THotKeyManager> hotKeys;
    std::vector<TColor> applied;
    int questions = 0;
    std::optional<TColor> answer;
    bool mainWasMinimized = false;
    bool altXFreeWhileRunning = false;

    CommandRig() {
        auto backend = std::make_unique<test::FakeGlobalHotKeys>();
        fake = backend.get();
        hotKeys = std::make_unique<THotKeyManager>(nullptr, std::move(backend));
        RegisterMainWindowHotKey(*hotKeys);
        mainWindow.show();
    }

    ScreenColorCommandHooks Hooks(std::function<bool(TScreenColorDialog&)> execute) {
        ScreenColorCommandHooks hooks;
        hooks.mainWindow = &mainWindow;
        hooks.hotKeys = hotKeys.get();
        hooks.confirmColor = [this](TColor color) {
            ++questions;
            return answer ? answer : std::optional<TColor>(color);
        };
        hooks.applyColor = [this](TColor color) { applied.push_back(color); };
        hooks.execute = [this, execute](TScreenColorDialog& dialog) {
            mainWasMinimized = mainWindow.isMinimized();
            altXFreeWhileRunning = hotKeys->Count() == 0;
            return execute(dialog);
        };
        return hooks;
    }
};

TEST(FromScreenCommand, CancelChangesNothingAndRestores) {
    CommandRig rig;
    EXPECT_FALSE(RunScreenColorCommand(rig.Hooks([](TScreenColorDialog&) { return false; })));
    EXPECT_TRUE(rig.applied.empty());
    EXPECT_TRUE(rig.mainWasMinimized);
    EXPECT_TRUE(rig.altXFreeWhileRunning);
    EXPECT_FALSE(rig.mainWindow.isMinimized());
    EXPECT_EQ(rig.hotKeys->Count(), 1);
}

TEST(FromScreenCommand, PickedColourGoesThroughTheQuestion) {
    CommandRig rig;
    rig.answer = MakeRGB(204, 0, 0); // "No": snapped
    auto pick = [](TScreenColorDialog& dialog) {
        dialog.findChild<TmbColorPreview*>(QStringLiteral("DesktopSwatch"))
            ->SetColor(MakeRGB(250, 0, 0));
        return true;
    };
    EXPECT_TRUE(RunScreenColorCommand(rig.Hooks(pick)));
    EXPECT_EQ(rig.questions, 1);
    ASSERT_EQ(rig.applied.size(), 1u);
    EXPECT_EQ(rig.applied[0], MakeRGB(204, 0, 0));
    EXPECT_EQ(rig.hotKeys->Count(), 1);
}

TEST(FromScreenCommand, ErrorStillRestoresTheWindowAndTheHotKey) {
    CommandRig rig;
    auto fail = [](TScreenColorDialog&) -> bool { throw std::runtime_error("broken"); };
    EXPECT_THROW(RunScreenColorCommand(rig.Hooks(fail)), std::runtime_error);
    EXPECT_FALSE(rig.mainWindow.isMinimized());
    EXPECT_EQ(rig.hotKeys->Count(), 1);
    EXPECT_TRUE(rig.fake->Holds(GlobalHotKeys::ModAlt, 88));
}

// A user on a real X server: the pointer over a known colour, Ctrl+Shift+X from xdotool.
TEST(FromScreenCommandX11, CtrlShiftXTakesThePixelUnderThePointer) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    ASSERT_TRUE(test::RunTool("xsetroot", {"-solid", "#3c78b4"}));
    QWidget mainWindow;
    mainWindow.setGeometry(900, 100, 200, 100); // away from the pixel read
    mainWindow.show();
    THotKeyManager hotKeys;
    ASSERT_NE(RegisterMainWindowHotKey(hotKeys), 0);
    std::vector<TColor> applied;
    QString position;
    QString values;
    ScreenColorCommandHooks hooks;
    hooks.mainWindow = &mainWindow;
    hooks.hotKeys = &hotKeys;
    hooks.applyColor = [&](TColor color) { applied.push_back(color); };
    hooks.execute = [&](TScreenColorDialog& dialog) {
        QTimer::singleShot(50, [] { test::RunTool("xdotool", {"mousemove", "20", "30"}); });
        QTimer::singleShot(600, [&] {
            position = dialog.findChild<QLabel*>(QStringLiteral("lblPosition"))->text();
            values = dialog.findChild<QLabel*>(QStringLiteral("lblColor"))->text();
            test::RunTool("xdotool", {"key", "ctrl+shift+x"});
        });
        QTimer::singleShot(5000, &dialog, &QDialog::reject); // never hang
        return dialog.Execute();
    };
    EXPECT_TRUE(RunScreenColorCommand(hooks));
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0], MakeRGB(0x3c, 0x78, 0xb4));
    EXPECT_EQ(position, QStringLiteral("20x30"));
    EXPECT_EQ(values, QStringLiteral("R: 60   G: 120   B: 180"));
    EXPECT_FALSE(mainWindow.isMinimized());
    // Alt+X works again afterwards.
    QSignalSpy spy(&hotKeys, &THotKeyManager::HotKeyPressed);
    ASSERT_TRUE(test::RunTool("xdotool", {"key", "alt+x"}));
    EXPECT_TRUE(test::WaitUntil([&] { return spy.count() == 1; }));
}

TEST(ScreenPixelColorX11, ReadsThePackedColour) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    ASSERT_TRUE(test::RunTool("xsetroot", {"-solid", "#ff0000"}));
    EXPECT_EQ(ScreenPixelColor({1, 1}), MakeRGB(255, 0, 0));
    EXPECT_EQ(ScreenPixelColor({-5, 1}), clNone);
}

} // namespace
} // namespace chromint

namespace chromint {
namespace {

// The labels freeze a second after the last input and follow again after the next one.
TEST(ScreenColorDialogX11, LabelsFreezeAfterASecondWithoutInput) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    ASSERT_TRUE(test::RunTool("xsetroot", {"-solid", "#808080"}));
    TScreenColorDialog dialog(8.0);
    dialog.show();
    auto* position = dialog.findChild<QLabel*>(QStringLiteral("lblPosition"));
    ASSERT_TRUE(test::RunTool("xdotool", {"mousemove", "40", "50"}));
    EXPECT_TRUE(test::WaitUntil([&] { return position->text() == QStringLiteral("40x50"); }));
    // No input for 1.3 s while the screen under the pointer changes, as a playing video does:
    // the view follows the screen, the swatch and labels keep their values.
    test::WaitUntil([] { return false; }, 1300);
    EXPECT_FALSE(dialog.Zoom()->isEnabled());
    auto* values = dialog.findChild<QLabel*>(QStringLiteral("lblColor"));
    EXPECT_EQ(values->text(), QStringLiteral("R: 128   G: 128   B: 128"));
    ASSERT_TRUE(test::RunTool("xsetroot", {"-solid", "#ff0000"}));
    test::WaitUntil([] { return false; }, 300);
    EXPECT_EQ(dialog.Zoom()->grab().toImage().pixel(10, 10), 0xffff0000u);
    EXPECT_EQ(values->text(), QStringLiteral("R: 128   G: 128   B: 128"));
    EXPECT_EQ(position->text(), QStringLiteral("40x50"));
    // Real input: following again within a tick or two.
    ASSERT_TRUE(test::RunTool("xdotool", {"mousemove", "90", "100"}));
    EXPECT_TRUE(test::WaitUntil([&] { return position->text() == QStringLiteral("90x100"); }, 500));
    EXPECT_EQ(values->text(), QStringLiteral("R: 255   G: 0   B: 0"));
}

// Not run by default: prints the CPU the open picker uses over 10 s.
TEST(ScreenColorDialogX11, DISABLED_CpuUseOverTenSeconds) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    const auto cpuMs = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    };
    TScreenColorDialog dialog(8.0);
    dialog.show();
    for (bool moving : {false, true}) {
        QTimer mover;
        int step = 0;
        QObject::connect(&mover, &QTimer::timeout, [&] {
            ++step;
            test::RunTool("xdotool", {"mousemove", QString::number(100 + step % 400), "300"});
        });
        if (moving)
            mover.start(50);
        const double before = cpuMs();
        QEventLoop loop; // a plain event loop: the test's own polling would be counted too
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        const double used = cpuMs() - before;
        std::printf("%s pointer: %.1f ms CPU in 10 s (%.2f %% of one core)\n",
                    moving ? "moving" : "still", used, used / 100.0);
    }
}

} // namespace
} // namespace chromint

namespace chromint {
namespace {

// A user on a real X server: pointer over a painted desktop, Alt+X from another client.
TEST(MainWindowHotKeyX11, AltXHandsOverThePixelUnderThePointer) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    ASSERT_TRUE(test::RunTool("xsetroot", {"-solid", "#a05010"}));
    QWidget other; // another window has the focus
    other.setGeometry(700, 100, 100, 100);
    other.show();
    other.activateWindow();
    THotKeyManager manager;
    std::vector<TColor> applied;
    ASSERT_NE(InstallMainWindowHotKey(manager, [&](TColor c) { applied.push_back(c); }), 0);
    ASSERT_TRUE(test::RunTool("xdotool", {"mousemove", "300", "200"}));
    ASSERT_TRUE(test::RunTool("xdotool", {"key", "alt+x"}));
    ASSERT_TRUE(test::WaitUntil([&] { return applied.size() == 1; }));
    EXPECT_EQ(applied[0], MakeRGB(0xa0, 0x50, 0x10));
    // Another colour under the pointer, another press.
    ASSERT_TRUE(test::RunTool("xdotool", {"mousemove", "750", "150"}));
    ASSERT_TRUE(test::RunTool("xdotool", {"key", "alt+x"}));
    ASSERT_TRUE(test::WaitUntil([&] { return applied.size() == 2; }));
    const QColor window = other.palette().color(QPalette::Window);
    EXPECT_EQ(applied[1], MakeRGB(std::uint8_t(window.red()), std::uint8_t(window.green()),
                                  std::uint8_t(window.blue())));
}

TEST(MainWindowHotKey, OtherHotKeysOfTheManagerAreNotTaken) {
    auto backend = std::make_unique<test::FakeGlobalHotKeys>();
    test::FakeGlobalHotKeys* fake = backend.get();
    THotKeyManager manager(nullptr, std::move(backend));
    int applied = 0;
    InstallMainWindowHotKey(manager, [&](TColor) { ++applied; });
    manager.AddHotKey(0x6074);
    fake->Press(GlobalHotKeys::ModCtrl | GlobalHotKeys::ModShift, 116);
    EXPECT_EQ(applied, 0);
}

} // namespace
} // namespace chromint

namespace chromint {
namespace {

constexpr unsigned long kKeysymX = 0x78;
constexpr unsigned long kKeysymEscape = 0xff1b;
constexpr unsigned kControlShiftMask = 4 | 1;

struct HintRow {
    const char* row;
    bool confirmHeldElsewhere;
    const char* text;
};
CHROMINT_PRINT_ROW(HintRow, row)

const HintRow kHintRows[] = {
    {"confirm key free", false, "Ctrl+Shift+X takes the colour · Esc cancels"},
    {"confirm key held elsewhere", true, "Ctrl+Shift+X is held by another program · Esc cancels"},
};

class ScreenColorHintX11 : public ::testing::TestWithParam<HintRow> {};

// The window title is cut short by the window manager; the keys are named in the window.
TEST_P(ScreenColorHintX11, WindowSaysHowToTakeTheColour) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    std::optional<test::OtherClientGrab> other;
    if (GetParam().confirmHeldElsewhere) {
        other.emplace(kKeysymX, kControlShiftMask);
        ASSERT_TRUE(other->Holds());
    }
    TScreenColorDialog dialog(8.0);
    const auto* hint = dialog.findChild<QLabel*>(QStringLiteral("lblHint"));
    ASSERT_NE(hint, nullptr);
    // Spaces that must not break the line are no-break spaces.
    EXPECT_EQ(hint->text().replace(QChar::Nbsp, u' '), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Rows, ScreenColorHintX11, ::testing::ValuesIn(kHintRows),
                         test::RowName<::testing::TestParamInfo<HintRow>>);

// Esc cancels while another program's window has the focus, and is given back when the picker
// closes.
TEST(ScreenColorDialogX11, EscFromAnotherProgramCancelsAndIsGivenBackAfter) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    if (QStandardPaths::findExecutable(QStringLiteral("xmessage")).isEmpty())
        GTEST_SKIP() << "needs xmessage for another program's window";
    QProcess other;
    other.start(QStringLiteral("xmessage"),
                {QStringLiteral("-geometry"), QStringLiteral("+700+100"),
                 QStringLiteral("another program")});
    TScreenColorDialog dialog(8.0);
    bool escHeldWhileOpen = false;
    bool otherHadTheFocus = false;
    bool timedOut = false;
    QTimer::singleShot(200, [&] {
        escHeldWhileOpen = !test::OtherClientGrab(kKeysymEscape, 0).Holds();
        otherHadTheFocus = test::RunTool(
            "xdotool", {"search", "--sync", "--class", "Xmessage", "windowfocus", "--sync"});
        test::RunTool("xdotool", {"key", "Escape"});
    });
    QTimer::singleShot(5000, &dialog, [&] { // never hang
        timedOut = true;
        dialog.reject();
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(otherHadTheFocus);
    EXPECT_TRUE(escHeldWhileOpen);
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(test::OtherClientGrab(kKeysymEscape, 0).Holds());
    other.kill();
    other.waitForFinished(3000);
}

// A window manager for one test: the one running, or openbox started for the test.
class WindowManager {
public:
    WindowManager() {
        if (Running()) {
            ready_ = true;
            return;
        }
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (openbox.isEmpty())
            return;
        process_.start(openbox, {QStringLiteral("--sm-disable")});
        ready_ = test::WaitUntil([] { return Running(); }, 5000) && FramesWindows();
    }
    ~WindowManager() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished(3000);
        }
    }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    bool Ready() const { return ready_; }

private:
    // The manager names its window before it takes over the desktop: a window mapped in
    // between stays unframed, so map a probe until one is framed.
    static bool FramesWindows() {
        QWidget probe;
        probe.setGeometry(10, 10, 40, 30);
        for (int attempt = 0; attempt < 10; ++attempt) {
            probe.show();
            if (test::WaitUntil([&] { return probe.frameGeometry() != probe.geometry(); }, 500))
                return true;
            probe.hide();
        }
        return false;
    }

    // The root names the manager's window, and that window exists.
    static bool Running() {
        QProcess root;
        root.start(QStringLiteral("xprop"),
                   {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        root.waitForFinished(3000);
        const QString answer = QString::fromLatin1(root.readAllStandardOutput());
        const qsizetype hash = answer.indexOf(u'#');
        if (hash < 0)
            return false;
        QProcess window;
        window.start(QStringLiteral("xprop"),
                     {QStringLiteral("-id"), answer.mid(hash + 1).trimmed(),
                      QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        window.waitForFinished(3000);
        return window.exitStatus() == QProcess::NormalExit && window.exitCode() == 0;
    }

    QProcess process_;
    bool ready_ = false;
};

// Placed before the window manager framed it, the window came out a title bar too low.
TEST(ScreenColorDialogX11, FramedWindowSitsInTheCornerOfTheWorkArea) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    WindowManager manager;
    if (!manager.Ready())
        GTEST_SKIP() << "needs a window manager (openbox)";
    TScreenColorDialog dialog(8.0);
    dialog.show();
    ASSERT_TRUE(test::WaitUntil([&] { return dialog.frameGeometry() != dialog.geometry(); }));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint corner = area.bottomRight() - QPoint(TScreenColorDialog::CornerDistance,
                                                      TScreenColorDialog::CornerDistance);
    EXPECT_TRUE(test::WaitUntil([&] { return dialog.frameGeometry().bottomRight() == corner; }))
        << "frame " << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y() << " "
        << dialog.frameGeometry().width() << "x" << dialog.frameGeometry().height();
    EXPECT_TRUE(area.contains(dialog.frameGeometry()));
}

} // namespace
} // namespace chromint
