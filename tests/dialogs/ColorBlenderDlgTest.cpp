#include "ColorBlenderDlg.h"

#include "ColorOperations.h"
#include "DialogTestSupport.h"
#include "TestRows.h"
#include "mbColorPreview.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace chromint {
namespace {

using testing::ModalDriver;
using testing::Press;

class BlenderTest : public testing::ProgramHSLRange {};

struct LabelRow {
    const char* name;
    int position;
    const char* min;
    const char* max;
};
CHROMINT_PRINT_ROW(LabelRow, name, "position " << row.position)

class BlendLabelTest : public ::testing::TestWithParam<LabelRow> {};

TEST_P(BlendLabelTest, Shares) {
    const LabelRow& row = GetParam();
    EXPECT_EQ(BlendMinLabel(row.position).toStdString(), row.min);
    EXPECT_EQ(BlendMaxLabel(row.position).toStdString(), row.max);
}

INSTANTIATE_TEST_SUITE_P(Rows, BlendLabelTest,
                         ::testing::Values(LabelRow{"start", 0, "  100%", "0%  "},
                                           LabelRow{"half", 50, "  50%", "50%  "},
                                           LabelRow{"thirty", 30, "  70%", "30%  "},
                                           LabelRow{"end", 100, "  0%", "100%  "}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ResultRow {
    const char* name;
    int position, path;
};
CHROMINT_PRINT_ROW(ResultRow, name, "position " << row.position << ", path " << row.path)

class BlendResultTest : public ::testing::TestWithParam<ResultRow> {};

TEST_P(BlendResultTest, ThroughTheEngine) {
    const ResultRow& row = GetParam();
    const TColor a = MakeRGB(200, 30, 10), b = MakeRGB(10, 90, 250);
    const TColor expected = row.path == BlendPathLinear
                                ? BlendPercent(a, b, row.position)
                                : BlendHSL(a, b, static_cast<std::uint8_t>(row.position), 100);
    EXPECT_EQ(BlendResult(a, b, row.position, row.path), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BlendResultTest,
    ::testing::Values(ResultRow{"linear_0", 0, 0}, ResultRow{"linear_37", 37, 0},
                      ResultRow{"linear_100", 100, 0}, ResultRow{"radial_0", 0, 1},
                      ResultRow{"radial_50", 50, 1}, ResultRow{"radial_100", 100, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BlenderTest, OpensWithTheGivenValues) {
    TColorBlenderDialog dialog(MakeRGB(10, 20, 30), MakeRGB(200, 100, 0), 50, 0);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Color blender");
    EXPECT_EQ(dialog.edtRFirst->value(), 10);
    EXPECT_EQ(dialog.edtGFirst->value(), 20);
    EXPECT_EQ(dialog.edtBFirst->value(), 30);
    EXPECT_EQ(dialog.edtRSecond->value(), 200);
    EXPECT_EQ(dialog.edtBSecond->value(), 0);
    EXPECT_EQ(dialog.lblMin->text().toStdString(), "  50%");
    EXPECT_EQ(dialog.lblMax->text().toStdString(), "50%  ");
    EXPECT_EQ(dialog.BlendColor(), BlendPercent(MakeRGB(10, 20, 30), MakeRGB(200, 100, 0), 50));
    EXPECT_TRUE(dialog.btnOk->isEnabled());
    EXPECT_EQ(dialog.cbPath->count(), 2);
    EXPECT_EQ(dialog.cbPath->itemText(1).toStdString(), "Radial");
    EXPECT_EQ(dialog.FirstSwatch->toolTip().toStdString(), "Randomize");
}

TEST_F(BlenderTest, SliderAtZeroGivesTheFirstColourAndDisablesOk) {
    TColorBlenderDialog dialog(MakeRGB(10, 20, 30), clWhite, 0, 0);
    EXPECT_EQ(dialog.BlendColor(), MakeRGB(10, 20, 30));
    EXPECT_FALSE(dialog.btnOk->isEnabled());
    dialog.tbProportion->setValue(10);
    EXPECT_TRUE(dialog.btnOk->isEnabled());
    EXPECT_EQ(dialog.lblMin->text().toStdString(), "  90%");
}

TEST_F(BlenderTest, SwitchingThePathRecomputesAtOnce) {
    const TColor a = MakeRGB(255, 0, 0), b = MakeRGB(0, 0, 255);
    TColorBlenderDialog dialog(a, b, 40, 0);
    EXPECT_EQ(dialog.BlendColor(), BlendPercent(a, b, 40));
    dialog.cbPath->setCurrentIndex(1);
    EXPECT_EQ(dialog.BlendColor(), BlendHSL(a, b, 40, 100));
    dialog.cbPath->setCurrentIndex(0);
    EXPECT_EQ(dialog.BlendColor(), BlendPercent(a, b, 40));
}

TEST_F(BlenderTest, EditingABoxChangesItsSwatch) {
    TColorBlenderDialog dialog(MakeRGB(10, 20, 30), clWhite, 50, 0);
    dialog.edtGSecond->setValue(7);
    EXPECT_EQ(dialog.SecondColor(), MakeRGB(255, 7, 255));
    EXPECT_EQ(dialog.BlendColor(), BlendPercent(MakeRGB(10, 20, 30), MakeRGB(255, 7, 255), 50));
}

TEST_F(BlenderTest, TypingTheSameValueRecomputesNothing) {
    TColorBlenderDialog dialog(MakeRGB(255, 20, 30), clWhite, 50, 0);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy spy(dialog.BlendSwatch, &TmbColorPreview::colorChanged);
    QSignalSpy boxChanges(dialog.edtRFirst, &QSpinBox::valueChanged);
    dialog.edtRFirst->setValue(255);
    // The up arrow on a box at its top leaves it at 255 too.
    dialog.edtRFirst->setFocus();
    QTest::keyClick(dialog.edtRFirst, Qt::Key_Up);
    EXPECT_EQ(dialog.edtRFirst->value(), 255);
    EXPECT_EQ(boxChanges.count(), 0);
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(BlenderTest, RandomColourIsNeverTheOldOne) {
    GlobalRandom().Seed(12345);
    const TColor first = RandomRGB();
    const TColor second = RandomRGB();
    GlobalRandom().Seed(12345);
    EXPECT_EQ(RandomColorOtherThan(first, first), second);
    GlobalRandom().Seed(12345);
    const TColor third = RandomColorOtherThan(first, second);
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);
}

TEST_F(BlenderTest, ClickingTheSecondSwatchGivesItANewColour) {
    TColorBlenderDialog dialog(MakeRGB(10, 20, 30), MakeRGB(1, 2, 3), 50, 0);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (int i = 0; i < 20; ++i) {
        const TColor before = dialog.SecondColor();
        QTest::mouseClick(dialog.SecondSwatch, Qt::LeftButton);
        QTest::qWait(QApplication::doubleClickInterval() / 4);
        EXPECT_NE(dialog.SecondColor(), before);
        const RGBTriple c = SplitRGB(dialog.SecondColor());
        EXPECT_EQ(dialog.edtRSecond->value(), c.r);
        EXPECT_EQ(dialog.edtGSecond->value(), c.g);
        EXPECT_EQ(dialog.edtBSecond->value(), c.b);
        EXPECT_EQ(dialog.FirstColor(), MakeRGB(10, 20, 30));
        EXPECT_EQ(dialog.BlendColor(), BlendPercent(MakeRGB(10, 20, 30), dialog.SecondColor(), 50));
    }
}

TEST_F(BlenderTest, DoubleClickOnTheFirstSwatchRestoresTheOpeningColour) {
    const TColor opening = MakeRGB(10, 20, 30);
    TColorBlenderDialog dialog(opening, clWhite, 50, 0);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.edtRFirst->setValue(99);
    ASSERT_EQ(dialog.FirstColor(), MakeRGB(99, 20, 30));
    QTest::mouseDClick(dialog.FirstSwatch, Qt::LeftButton);
    EXPECT_EQ(dialog.FirstColor(), opening);
    EXPECT_EQ(dialog.edtRFirst->value(), 10);
    EXPECT_EQ(dialog.edtGFirst->value(), 20);
    EXPECT_EQ(dialog.edtBFirst->value(), 30);
    EXPECT_EQ(dialog.BlendColor(), BlendPercent(opening, clWhite, 50));
}

TEST_F(BlenderTest, CommandStoresSecondColourProportionAndPath) {
    TBlendValues values{clWhite, 50, 0};
    TColor firstShown = clNone;
    TColor result = clNone;
    TColor made = clNone;
    ModalDriver driver;
    driver.Then(Press<TColorBlenderDialog>("btnOk", [&](TColorBlenderDialog* dialog) {
        firstShown = dialog->FirstColor();
        dialog->edtBSecond->setValue(0);
        dialog->tbProportion->setValue(25);
        dialog->cbPath->setCurrentIndex(1);
        result = dialog->BlendColor();
    }));
    EXPECT_TRUE(RunBlendCommand(
        nullptr, values, MakeRGB(0, 0, 128), [](TColor c) { return std::optional<TColor>(c); },
        [&](TColor c) { made = c; }));
    EXPECT_EQ(firstShown, MakeRGB(0, 0, 128));
    EXPECT_EQ(made, result);
    EXPECT_EQ(values.color, MakeRGB(255, 255, 0));
    EXPECT_EQ(values.value, 25);
    EXPECT_EQ(values.path, 1);
}

TEST_F(BlenderTest, CurrentColourEqualToTheStoredOneOpensWithARandomFirst) {
    TBlendValues values{MakeRGB(9, 9, 9), 50, 0};
    TColor firstShown = MakeRGB(9, 9, 9);
    ModalDriver driver;
    driver.Then(Press<TColorBlenderDialog>(
        "btnCancel", [&](TColorBlenderDialog* dialog) { firstShown = dialog->FirstColor(); }));
    EXPECT_FALSE(RunBlendCommand(
        nullptr, values, MakeRGB(9, 9, 9), [](TColor c) { return std::optional<TColor>(c); },
        [](TColor) {}));
    EXPECT_NE(firstShown, MakeRGB(9, 9, 9));
    EXPECT_EQ(values.color, MakeRGB(9, 9, 9));
}

TEST_F(BlenderTest, CancelledWebQuestionStoresNothing) {
    testing::FakeSettings settings;
    settings.SetBlendColor(clWhite);
    settings.SetBlendValue(50);
    settings.SetBlendPath(0);
    int made = 0;
    ModalDriver driver;
    driver.Then(Press<TColorBlenderDialog>(
        "btnOk", [](TColorBlenderDialog* dialog) { dialog->tbProportion->setValue(80); }));
    EXPECT_FALSE(RunBlendCommand(
        nullptr, settings, MakeRGB(1, 2, 3), [](TColor) { return std::optional<TColor>(); },
        [&](TColor) { ++made; }));
    EXPECT_EQ(made, 0);
    EXPECT_EQ(settings.BlendValue(), 50);

    driver.Then(Press<TColorBlenderDialog>(
        "btnOk", [](TColorBlenderDialog* dialog) { dialog->tbProportion->setValue(80); }));
    EXPECT_TRUE(RunBlendCommand(
        nullptr, settings, MakeRGB(1, 2, 3), [](TColor c) { return std::optional<TColor>(c); },
        [&](TColor) { ++made; }));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(settings.BlendValue(), 80);
    EXPECT_EQ(settings.BlendColor(), clWhite);
}

} // namespace
} // namespace chromint
