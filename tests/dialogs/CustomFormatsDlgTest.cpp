#include "CustomFormatsDlg.h"

#include "DialogTestSupport.h"
#include "TestRows.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace chromint {
namespace {

using testing::ModalDriver;
using testing::Press;
using Formats = std::vector<CustomFormat>;

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}

struct ErrorRow {
    const char* row;
    CustomFormat format;
    const char* error;
};
CHROMINT_PRINT_ROW(ErrorRow, row)

class CustomFormatErrorTest : public ::testing::TestWithParam<ErrorRow> {};

// The same text below the editors, and OK held back exactly while there is one.
TEST_P(CustomFormatErrorTest, ShownInlineAndHoldsOkBack) {
    const ErrorRow& row = GetParam();
    EXPECT_EQ(CustomFormatError(row.format), row.error);
    TCustomFormatsDialog dialog({{"Hex", "%hex"}}, clWhite);
    dialog.edtName->setText(QString::fromStdString(row.format.name));
    dialog.edtTemplate->setPlainText(QString::fromStdString(row.format.pattern));
    EXPECT_EQ(dialog.Formats(), Formats{row.format});
    EXPECT_EQ(Text(dialog.lblError), row.error);
    EXPECT_EQ(dialog.btnOk->isEnabled(), std::string(row.error).empty());
    EXPECT_EQ(dialog.lbFormats->item(0)->toolTip().toStdString(), row.error);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CustomFormatErrorTest,
    ::testing::Values(
        ErrorRow{"fine", {"CSS", "color: %hex;"}, ""},
        ErrorRow{"literal percent signs", {"Percent", "%r% 50 %"}, ""},
        ErrorRow{"unknown placeholder", {"CSS", "%foo"}, "Unknown placeholder: %foo"},
        ErrorRow{"two unknown", {"CSS", "%foo %okX"}, "Unknown placeholders: %foo, %okX"},
        ErrorRow{"empty name", {"", "%hex"}, "The name is empty."},
        ErrorRow{"blank name", {"   ", "%hex"}, "The name is empty."},
        ErrorRow{"tab in the name", {"a\tb", "%hex"}, "The name contains a tab or a line break."},
        ErrorRow{"empty template", {"Hex", ""}, "The template is empty."},
        ErrorRow{"template too long",
                 {"Hex", std::string(kMaxCustomFormatPatternLength + 1, 'x')},
                 "The template is longer than 2000 characters."}),
    test::RowName<::testing::TestParamInfo<ErrorRow>>);

TEST(CustomFormatsDialog, ShowsTheFirstFormat) {
    TCustomFormatsDialog dialog({{"Hex", "%hex"}, {"RGB", "rgb(%r %g %b)\n%okL"}},
                                ColorFromHex(0xFF0000));
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Custom formats");
    ASSERT_EQ(dialog.lbFormats->count(), 2);
    EXPECT_EQ(dialog.lbFormats->item(1)->text().toStdString(), "RGB");
    EXPECT_EQ(dialog.SelectedRow(), 0);
    EXPECT_EQ(dialog.edtName->text().toStdString(), "Hex");
    EXPECT_EQ(dialog.memPreview->toPlainText().toStdString(), "#FF0000");
    dialog.lbFormats->setCurrentRow(1);
    EXPECT_EQ(dialog.edtTemplate->toPlainText().toStdString(), "rgb(%r %g %b)\n%okL");
    EXPECT_EQ(dialog.memPreview->toPlainText().toStdString(), "rgb(255 0 0)\n62.8");
    EXPECT_TRUE(dialog.btnOk->isEnabled());
    EXPECT_FALSE(dialog.btnDown->isEnabled());
    EXPECT_TRUE(dialog.btnUp->isEnabled());
    EXPECT_TRUE(dialog.memPlaceholders->toPlainText().contains(QStringLiteral("%oklchH\t")));
}

TEST(CustomFormatsDialog, AnotherFormatsErrorIsNamed) {
    TCustomFormatsDialog dialog({{"A", "%hex"}, {"B", "%r"}}, clWhite);
    dialog.edtTemplate->setPlainText(QStringLiteral("%foo"));
    dialog.lbFormats->setCurrentRow(1);
    EXPECT_EQ(Text(dialog.lblError), "A: Unknown placeholder: %foo");
    EXPECT_FALSE(dialog.btnOk->isEnabled());
}

TEST(CustomFormatsDialog, EmptyListIsFine) {
    TCustomFormatsDialog dialog({}, clWhite);
    EXPECT_EQ(dialog.SelectedRow(), -1);
    EXPECT_TRUE(dialog.btnOk->isEnabled());
    EXPECT_FALSE(dialog.btnRemove->isEnabled());
    EXPECT_FALSE(dialog.edtName->isEnabled());
}

TEST(CustomFormatsDialog, ListEdits) {
    struct Row {
        const char* row;
        int (*edit)(Formats&);
        Formats expected;
        int selected;
    };
    const Row rows[] = {
        {"add appends", [](Formats& f) { return AddCustomFormat(f); },
         Formats{{"A", "1"}, {"B", "2"}, {"C", "3"}, {"New format", "%hex"}}, 3},
        {"remove the middle", [](Formats& f) { return RemoveCustomFormat(f, 1); },
         Formats{{"A", "1"}, {"C", "3"}}, 1},
        {"remove the last", [](Formats& f) { return RemoveCustomFormat(f, 2); },
         Formats{{"A", "1"}, {"B", "2"}}, 1},
        {"up", [](Formats& f) { return MoveCustomFormat(f, 2, -1); },
         Formats{{"A", "1"}, {"C", "3"}, {"B", "2"}}, 1},
        {"down", [](Formats& f) { return MoveCustomFormat(f, 0, 1); },
         Formats{{"B", "2"}, {"A", "1"}, {"C", "3"}}, 1},
        {"up at the top stays", [](Formats& f) { return MoveCustomFormat(f, 0, -1); },
         Formats{{"A", "1"}, {"B", "2"}, {"C", "3"}}, 0},
        {"nothing selected", [](Formats& f) { return MoveCustomFormat(f, -1, 1); },
         Formats{{"A", "1"}, {"B", "2"}, {"C", "3"}}, -1},
    };
    for (const Row& row : rows) {
        Formats formats{{"A", "1"}, {"B", "2"}, {"C", "3"}};
        EXPECT_EQ(row.edit(formats), row.selected) << row.row;
        EXPECT_EQ(formats, row.expected) << row.row;
    }
    Formats full(kMaxCustomFormats, CustomFormat{"n", "p"});
    EXPECT_EQ(AddCustomFormat(full), -1);
    Formats one{{"A", "1"}};
    EXPECT_EQ(RemoveCustomFormat(one, 0), -1);
}

TEST(CustomFormatsDialog, AddEditReorderRemoveThenOk) {
    ModalDriver driver;
    driver.Then(Press<TCustomFormatsDialog>("btnOk", [](TCustomFormatsDialog* dialog) {
        QTest::mouseClick(dialog->btnAdd, Qt::LeftButton);
        EXPECT_EQ(dialog->SelectedRow(), 3);
        dialog->edtName->setText(QStringLiteral("D"));
        dialog->edtTemplate->setPlainText(QStringLiteral("%r"));
        dialog->lbFormats->setCurrentRow(0);
        QTest::mouseClick(dialog->btnDown, Qt::LeftButton);
        EXPECT_EQ(dialog->SelectedRow(), 1) << "the moved format stays selected";
        EXPECT_EQ(dialog->lbFormats->item(0)->text().toStdString(), "B");
        dialog->lbFormats->setCurrentRow(2);
        QTest::mouseClick(dialog->btnRemove, Qt::LeftButton);
        EXPECT_EQ(dialog->edtName->text().toStdString(), "D");
    }));
    const std::optional<Formats> result =
        EditCustomFormats(nullptr, {{"A", "1"}, {"B", "2"}, {"C", "3"}}, clWhite);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(result, (Formats{{"B", "2"}, {"A", "1"}, {"D", "%r"}}));
}

TEST(CustomFormatsDialog, CancelGivesNothing) {
    ModalDriver driver;
    driver.Then(Press<TCustomFormatsDialog>("btnCancel", [](TCustomFormatsDialog* dialog) {
        QTest::mouseClick(dialog->btnRemove, Qt::LeftButton);
    }));
    EXPECT_EQ(EditCustomFormats(nullptr, {{"A", "1"}}, clWhite), std::nullopt);
    EXPECT_TRUE(driver.Done());
}

// A mnemonic clicks its button after a short animation; the focus tells when it has.
bool FocusReaches(QWidget* widget) {
    return QTest::qWaitFor([widget] { return QApplication::focusWidget() == widget; });
}

// Mnemonics reach every control, typing replaces the new format's name, and Return takes OK.
TEST(CustomFormatsDialog, KeyboardOnly) {
    TCustomFormatsDialog dialog({{"A", "%hex"}, {"B", "%r"}}, clWhite);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_A, Qt::AltModifier);
    ASSERT_TRUE(FocusReaches(dialog.edtName));
    QTest::keyClicks(dialog.edtName, QStringLiteral("Short"));
    QTest::keyClick(&dialog, Qt::Key_T, Qt::AltModifier);
    ASSERT_TRUE(FocusReaches(dialog.edtTemplate));
    QTest::keyClick(dialog.edtTemplate, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dialog.edtTemplate, QStringLiteral("%r,%g"));
    QTest::keyClick(&dialog, Qt::Key_U, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.SelectedRow() == 1; }));
    QTest::keyClick(&dialog, Qt::Key_U, Qt::AltModifier);
    // Move up went dim at the top and handed the focus to the list.
    ASSERT_TRUE(FocusReaches(dialog.lbFormats));
    EXPECT_EQ(dialog.SelectedRow(), 0);
    QTest::keyClick(dialog.lbFormats, Qt::Key_Down);
    QTest::keyClick(&dialog, Qt::Key_R, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.Formats().size() == 2; }));
    QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
    ASSERT_TRUE(FocusReaches(dialog.edtName));
    QTest::keyClick(dialog.edtName, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Formats(), (Formats{{"Short", "%r,%g"}, {"B", "%r"}}));
}

} // namespace
} // namespace chromint
