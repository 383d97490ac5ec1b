#include "SimpleSchemeDlg.h"

#include "ColorNotations.h"
#include "DialogTestSupport.h"
#include "TestRows.h"
#include "mbColorPalette.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace chromint {
namespace {

using testing::ModalDriver;
using testing::Press;

class SchemeTest : public testing::ProgramHSLRange {};

TColor HSL(int h, int s, int l) {
    return MakeRGB(HSLToRGB(h, s, l));
}

HSLInt ToHSL(TColor c) {
    const RGBTriple rgb = SplitRGB(c);
    return RGBToHSL(rgb.r, rgb.g, rgb.b);
}

struct WrapRow {
    const char* name;
    int value, top, expected;
};
CHROMINT_PRINT_ROW(WrapRow, name, "value " << row.value << ", top " << row.top)

class SchemeWrapTest : public ::testing::TestWithParam<WrapRow> {};

TEST_P(SchemeWrapTest, Value) {
    const WrapRow& row = GetParam();
    EXPECT_EQ(SchemeWrap(row.value, row.top), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, SchemeWrapTest,
                         ::testing::Values(WrapRow{"inside", 120, 359, 120},
                                           WrapRow{"top_itself", 359, 359, 359},
                                           WrapRow{"hue_360_becomes_1", 360, 359, 1},
                                           WrapRow{"hue_390_becomes_31", 390, 359, 31},
                                           WrapRow{"lightness_minus_6_becomes_94", -6, 100, 94},
                                           WrapRow{"lightness_minus_22_becomes_78", -22, 100, 78},
                                           WrapRow{"zero_stays", 0, 100, 0},
                                           WrapRow{"minus_top_becomes_top", -100, 100, 100}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SchemeTest, RedBase) {
    const auto cells = SchemeColors(MakeRGB(255, 0, 0));
    EXPECT_EQ(cells[0], MakeRGB(255, 0, 0));
    EXPECT_EQ(ToHSL(cells[1]).h, 30);
    EXPECT_EQ(cells[15], MakeRGB(0, 255, 255)) << "hue 180 is cyan";
    EXPECT_EQ(ToHSL(cells[5]), (HSLInt{0, 100, 34}));
    EXPECT_EQ(ToHSL(cells[6]), (HSLInt{0, 100, 18}));
    EXPECT_EQ(cells[9], HSL(180, 100, 18));
    EXPECT_EQ(cells[10], HSL(180, 100, 34));
}

TEST_F(SchemeTest, BorderCellsTurnClockwiseBy30Degrees) {
    const int cellOfTurn[] = {0, 1, 2, 3, 7, 11, 15, 14, 13, 12, 8, 4};
    const auto cells = SchemeColors(HSL(10, 80, 50));
    const HSLInt base = ToHSL(cells[0]);
    for (int i = 1; i <= 11; ++i)
        EXPECT_EQ(cells[static_cast<std::size_t>(cellOfTurn[i])],
                  HSL(SchemeWrap(base.h + 30 * i, 359), base.s, base.l))
            << "turn " << i;
}

TEST_F(SchemeTest, DarkBaseWrapsToLightInnerCells) {
    const TColor base = HSL(200, 60, 10);
    const HSLInt hsl = ToHSL(base);
    ASSERT_EQ(hsl.l, 10);
    const auto cells = SchemeColors(base);
    EXPECT_EQ(cells[5], HSL(hsl.h, hsl.s, 94));
    EXPECT_EQ(cells[6], HSL(hsl.h, hsl.s, 78));
}

TEST_F(SchemeTest, LightnessSixteenGivesBlack) {
    const TColor base = HSL(120, 50, 16);
    ASSERT_EQ(ToHSL(base).l, 16);
    EXPECT_EQ(SchemeColors(base)[5], clBlack);
}

TEST_F(SchemeTest, GreyBaseGivesOneGreyRoundTheBorder) {
    const TColor grey = MakeRGB(128, 128, 128);
    const auto cells = SchemeColors(grey);
    const TColor expected = HSL(0, 0, ToHSL(grey).l);
    for (const int cell : {1, 2, 3, 4, 7, 8, 11, 12, 13, 14, 15})
        EXPECT_EQ(cells[static_cast<std::size_t>(cell)], expected) << "cell " << cell;
    for (const int cell : {5, 6, 9, 10}) {
        const RGBTriple c = SplitRGB(cells[static_cast<std::size_t>(cell)]);
        EXPECT_TRUE(c.r == c.g && c.g == c.b) << "cell " << cell;
    }
}

class SchemeDialogTest : public testing::ProgramHSLRange {
protected:
    void Click(TSimpleSchemeDialog& dialog, int cell) {
        QTest::mouseClick(dialog.Scheme, Qt::LeftButton, {},
                          dialog.Scheme->CellRect(cell).center());
    }
};

TEST_F(SchemeDialogTest, OpensWithTheGridAndOkDisabled) {
    TSimpleSchemeDialog dialog(MakeRGB(255, 0, 0));
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Color scheme");
    EXPECT_EQ(dialog.Scheme->Colors().size(), 16);
    EXPECT_EQ(dialog.Scheme->Colors().at(0).toStdString(), "$000000FF");
    EXPECT_EQ(dialog.Scheme->ColCount(), 4);
    EXPECT_EQ(dialog.Scheme->RowCount(), 4);
    EXPECT_EQ(dialog.Scheme->HintFormat().toStdString(), "RGB(%r, %g, %b)\rHex: %hex");
    EXPECT_FALSE(dialog.btnOk->isEnabled());
    EXPECT_EQ(dialog.Scheme->SelectedCell(), -1);
}

TEST_F(SchemeDialogTest, ClickingACellMakesItTheBase) {
    TSimpleSchemeDialog dialog(MakeRGB(255, 0, 0));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const auto before = SchemeColors(MakeRGB(255, 0, 0));

    Click(dialog, 0);
    EXPECT_FALSE(dialog.btnOk->isEnabled()) << "clicking the base rebuilds the same grid";
    EXPECT_EQ(dialog.SchemeColor(), MakeRGB(255, 0, 0));

    Click(dialog, 15);
    EXPECT_EQ(dialog.SchemeColor(), before[15]);
    EXPECT_TRUE(dialog.btnOk->isEnabled());
    EXPECT_EQ(dialog.Scheme->SelectedCell(), -1);
    const auto after = SchemeColors(before[15]);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(TextToColor(dialog.Scheme->Colors().at(i).toStdString(), NotationDelphi),
                  after[static_cast<std::size_t>(i)])
            << "cell " << i;
}

TEST_F(SchemeDialogTest, CommandAppliesTheNewBase) {
    const TColor red = MakeRGB(255, 0, 0);
    TColor made = clNone;
    ModalDriver driver;
    driver.Then(Press<TSimpleSchemeDialog>(
        "btnOk", [this](TSimpleSchemeDialog* dialog) { Click(*dialog, 1); }));
    EXPECT_TRUE(RunSchemeCommand(nullptr, red, [&](TColor c) { made = c; }));
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(made, SchemeColors(red)[1]);
}

TEST_F(SchemeDialogTest, CommandCancelledChangesNothing) {
    int calls = 0;
    ModalDriver driver;
    driver.Then(Press<TSimpleSchemeDialog>(
        "btnCancel", [this](TSimpleSchemeDialog* dialog) { Click(*dialog, 2); }));
    EXPECT_FALSE(RunSchemeCommand(nullptr, clBlack, [&](TColor) { ++calls; }));
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace chromint
