#include "SepiaDlg.h"

#include "ColorOperations.h"
#include "DialogTestSupport.h"
#include "TestRows.h"
#include "mbColorPreview.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace chromint {
namespace {

using testing::ModalDriver;
using testing::Press;

struct PreviewRow {
    const char* name;
    TColor color;
    int depth, intensity;
    TColor expected;
    bool okEnabled;
};
CHROMINT_PRINT_ROW(PreviewRow, name, "depth " << row.depth << ", intensity " << row.intensity)

class SepiaPreviewTest : public ::testing::TestWithParam<PreviewRow> {};

TEST_P(SepiaPreviewTest, ShownAtOnce) {
    const PreviewRow& row = GetParam();
    TSepiaDialog dialog(row.color, row.depth, row.intensity);
    EXPECT_EQ(dialog.SepiaColor(), row.expected);
    EXPECT_EQ(dialog.edtDepth->value(), row.depth);
    EXPECT_EQ(dialog.edtIntensity->value(), row.intensity);
    EXPECT_EQ(dialog.btnOk->isEnabled(), row.okEnabled);
    EXPECT_EQ(dialog.SepiaSwatch->toolTip(), SepiaHint(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SepiaPreviewTest,
    ::testing::Values(
        PreviewRow{"red_30_20", MakeRGB(255, 0, 0), 30, 20, MakeRGB(136, 106, 56), true},
        PreviewRow{"white_keeps_red_and_green", clWhite, 70, 40, MakeRGB(255, 255, 215), true},
        PreviewRow{"black_blue_clamped", clBlack, 0, 100, clBlack, true},
        PreviewRow{"depth_100_saturates_red", MakeRGB(55, 55, 55), 100, 0, MakeRGB(255, 155, 55),
                   true},
        PreviewRow{"nothing_to_do_is_grey", MakeRGB(255, 0, 0), 0, 0, MakeRGB(76, 76, 76), false},
        PreviewRow{"stored_100_100", MakeRGB(255, 0, 0), 100, 100, MakeRGB(255, 176, 0), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SepiaDialog, HintHasTwoLines) {
    EXPECT_EQ(SepiaHint(MakeRGB(136, 106, 56)).toStdString(), "RGB(136, 106, 56)\r\nHex: #886A38");
}

TEST(SepiaDialog, ControlsAndTexts) {
    TSepiaDialog dialog(MakeRGB(1, 2, 3), 30, 20);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Sepia");
    EXPECT_EQ(dialog.lblDepth->text().toStdString(), "Depth:");
    EXPECT_EQ(dialog.lblIntensity->text().toStdString(), "Intensity:");
    EXPECT_EQ(dialog.edtDepth->maximum(), 100);
    EXPECT_EQ(dialog.edtIntensity->minimum(), 0);
    EXPECT_EQ(dialog.ColorSwatch->Color(), MakeRGB(1, 2, 3));
    EXPECT_EQ(dialog.ColorSwatch->size(), QSize(30, 60));
    EXPECT_EQ(dialog.SepiaSwatch->size(), QSize(60, 60));
}

TEST(SepiaDialog, EditingRecomputesAndEnablesOk) {
    TSepiaDialog dialog(MakeRGB(255, 0, 0), 0, 0);
    EXPECT_FALSE(dialog.btnOk->isEnabled());
    dialog.edtDepth->setValue(30);
    EXPECT_TRUE(dialog.btnOk->isEnabled());
    EXPECT_EQ(dialog.SepiaColor(), Sepia(MakeRGB(255, 0, 0), 30, 0));
    dialog.edtIntensity->setValue(20);
    EXPECT_EQ(dialog.SepiaColor(), MakeRGB(136, 106, 56));
}

struct CommandRow {
    const char* name;
    const char* button;
    std::optional<TColor> confirmed; // what the web-only question gives back
    bool applied;
};
CHROMINT_PRINT_ROW(CommandRow, name, "button " << row.button)

class SepiaCommandTest : public ::testing::TestWithParam<CommandRow> {};

TEST_P(SepiaCommandTest, Outcome) {
    const CommandRow& row = GetParam();
    TSepiaValues values{10, 10};
    TColor asked = clNone;
    TColor made = clNone;
    ModalDriver driver;
    driver.Then(Press<TSepiaDialog>(row.button, [](TSepiaDialog* dialog) {
        dialog->edtDepth->setValue(30);
        dialog->edtIntensity->setValue(20);
    }));
    const bool result = RunSepiaCommand(
        nullptr, values, MakeRGB(255, 0, 0),
        [&](TColor c) {
            asked = c;
            return row.confirmed ? std::optional<TColor>(*row.confirmed) : std::nullopt;
        },
        [&](TColor c) { made = c; });
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(result, row.applied);
    if (row.applied) {
        EXPECT_EQ(asked, MakeRGB(136, 106, 56));
        EXPECT_EQ(made, *row.confirmed);
        EXPECT_EQ(values.depth, 30);
        EXPECT_EQ(values.intensity, 20);
    } else {
        EXPECT_EQ(made, clNone);
        EXPECT_EQ(values.depth, 10);
        EXPECT_EQ(values.intensity, 10);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SepiaCommandTest,
    ::testing::Values(CommandRow{"ok_kept", "btnOk", MakeRGB(136, 106, 56), true},
                      CommandRow{"ok_snapped_to_web", "btnOk", MakeRGB(102, 102, 51), true},
                      CommandRow{"web_question_cancelled", "btnOk", std::nullopt, false},
                      CommandRow{"dialog_cancelled", "btnCancel", MakeRGB(1, 1, 1), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SepiaCommand, StoresIntoTheSettings) {
    testing::FakeSettings settings;
    settings.SetSepiaDepth(100);
    settings.SetSepiaIntensity(100);
    ModalDriver driver;
    TColor shown = clNone;
    driver.Then(Press<TSepiaDialog>("btnOk", [&](TSepiaDialog* dialog) {
        shown = dialog->SepiaColor();
        dialog->edtDepth->setValue(40);
    }));
    EXPECT_TRUE(RunSepiaCommand(
        nullptr, settings, MakeRGB(255, 0, 0), [](TColor c) { return std::optional<TColor>(c); },
        [](TColor) {}));
    EXPECT_EQ(shown, MakeRGB(255, 176, 0));
    EXPECT_EQ(settings.SepiaDepth(), 40);
    EXPECT_EQ(settings.SepiaIntensity(), 100);
}

} // namespace
} // namespace chromint
