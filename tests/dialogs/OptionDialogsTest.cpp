// The two option dialogs no command opens, and the hidden dialogs made at start-up.

#include "PaletteImportDlg.h"
#include "RandomPaletteDlg.h"
#include "SepiaDlg.h"
#include "SimpleSchemeDlg.h"
#include "StartupDialogs.h"

#include "DialogTestSupport.h"
#include "TestRows.h"
#include "mbColorPreview.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace chromint {
namespace {

using testing::ModalDriver;
using testing::Press;

struct RandomRow {
    const char* name;
    int method;
    int count;
    int shownMethod;
    int shownCount;
};
CHROMINT_PRINT_ROW(RandomRow, name, "method " << row.method << ", count " << row.count)

class RandomPaletteTest : public ::testing::TestWithParam<RandomRow> {};

TEST_P(RandomPaletteTest, ShowsTheGivenChoices) {
    const RandomRow& row = GetParam();
    TRandomPaletteDialog dialog(MakeRGB(1, 2, 3), static_cast<std::uint8_t>(row.method),
                                static_cast<std::uint16_t>(row.count));
    EXPECT_EQ(dialog.Method(), row.shownMethod);
    EXPECT_EQ(dialog.Count(), row.shownCount);
    EXPECT_EQ(dialog.ColorSwatch->Color(), MakeRGB(1, 2, 3));
}

INSTANTIATE_TEST_SUITE_P(Rows, RandomPaletteTest,
                         ::testing::Values(RandomRow{"randomize", 0, 16, 0, 16},
                                           RandomRow{"base_colour", 1, 100, 1, 100},
                                           RandomRow{"random_colour", 2, 256, 2, 256},
                                           RandomRow{"count_1_shows_2", 0, 1, 0, 2},
                                           RandomRow{"count_300_shows_256", 0, 300, 0, 256},
                                           RandomRow{"unknown_method_selects_none", 7, 8, -1, 8}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RandomPaletteDialog, Texts) {
    TRandomPaletteDialog dialog;
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Randomize palette");
    EXPECT_EQ(dialog.rgMethod->title().toStdString(), "Method");
    ASSERT_EQ(dialog.rgMethodButtons->buttons().size(), 3);
    EXPECT_EQ(dialog.rgMethodButtons->button(1)->text().toStdString(), "Use base color");
    EXPECT_EQ(dialog.edtCount->minimum(), 2);
    EXPECT_EQ(dialog.edtCount->maximum(), 256);
}

TEST(RandomPaletteDialog, CancelAndEscapeAnswerFalse) {
    TRandomPaletteDialog dialog;
    ModalDriver driver;
    driver.Then(Press<TRandomPaletteDialog>("btnCancel"));
    EXPECT_FALSE(dialog.Execute());
    driver.Then([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_FALSE(dialog.Execute());
    driver.Then(Press<TRandomPaletteDialog>("btnOk", [](TRandomPaletteDialog* d) {
        d->rgMethodButtons->button(2)->click();
        d->edtCount->setValue(12);
    }));
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Method(), 2);
    EXPECT_EQ(dialog.Count(), 12);
}

TEST(PaletteImportDialog, OpensWithTheGivenChoice) {
    TPaletteImportDialog asNew(true);
    EXPECT_TRUE(asNew.AsNew());
    EXPECT_TRUE(asNew.rgMethodButtons->button(0)->isChecked());
    TPaletteImportDialog merge(false);
    EXPECT_FALSE(merge.AsNew());
    EXPECT_TRUE(merge.rgMethodButtons->button(1)->isChecked());
    EXPECT_EQ(merge.windowTitle().toStdString(), "Import palette");
    EXPECT_EQ(merge.rgMethodButtons->button(1)->text().toStdString(),
              "Import swatches to current palette");
    merge.SetAsNew(true);
    EXPECT_TRUE(merge.AsNew());
}

TEST(PaletteImportDialog, SecondItemAndOkMakesAsNewFalse) {
    TPaletteImportDialog dialog(true);
    ModalDriver driver;
    driver.Then(Press<TPaletteImportDialog>(
        "btnOk", [](TPaletteImportDialog* d) { d->rgMethodButtons->button(1)->click(); }));
    EXPECT_TRUE(dialog.Execute());
    EXPECT_FALSE(dialog.AsNew());
}

TEST(StartupDialogs, FourHiddenDialogsOwnedByTheMainWindow) {
    auto* window = new QWidget;
    const TStartupDialogs dialogs = CreateStartupDialogs(window);
    const QList<QDialog*> children = window->findChildren<QDialog*>();
    ASSERT_EQ(children.size(), 4);
    EXPECT_EQ(children.at(0), dialogs.SepiaDialog);
    EXPECT_EQ(children.at(1), dialogs.RandomPaletteDialog);
    EXPECT_EQ(children.at(2), dialogs.PaletteImportDialog);
    EXPECT_EQ(children.at(3), dialogs.SimpleSchemeDialog);
    window->show();
    for (QDialog* dialog : children)
        EXPECT_FALSE(dialog->isVisible()) << dialog->windowTitle().toStdString();
    delete window;
}

} // namespace
} // namespace chromint
