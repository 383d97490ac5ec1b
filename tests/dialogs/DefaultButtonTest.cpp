// Enter and keypad Enter press the default button of every dialog that has one, whichever of
// its controls has the focus, as long as that control has no use of its own for Enter.

#include "ColorBlenderDlg.h"
#include "PaletteImportDlg.h"
#include "RandomPaletteDlg.h"
#include "SepiaDlg.h"
#include "SimpleSchemeDlg.h"
#include "SystemColors.h"
#include "SystemColorsDlg.h"

#include "DialogTestSupport.h"
#include "TestRows.h"
#include "mbColorList.h"
#include "mbColorPalette.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace chromint {
namespace {

struct DefaultButtonRow {
    const char* row;
    std::function<std::unique_ptr<QDialog>()> make;
    // Gives the focus to one control as a user does (a click where a click is the way) and
    // answers that control.
    std::function<QWidget*(QDialog&)> focus;
};
CHROMINT_PRINT_ROW(DefaultButtonRow, row)

template <class W>
W* Child(QDialog& dialog, const char* name) {
    auto* w = dialog.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QWidget* ClickSchemeCell(QDialog& dialog) {
    auto* grid = Child<TmbColorPalette>(dialog, "Scheme");
    // A cell other than the base colour, so the scheme changes and "OK" is enabled.
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->CellRect(5).center());
    return grid;
}

QWidget* ClickSystemColour(QDialog& dialog) {
    auto* list = Child<TmbColorList>(dialog, "ColorList");
    const QRect row = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    return list;
}

template <class W>
std::function<QWidget*(QDialog&)> ClickOn(const char* name) {
    return [name](QDialog& dialog) -> QWidget* {
        auto* w = Child<W>(dialog, name);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2));
        return w;
    };
}

template <class W>
std::function<QWidget*(QDialog&)> TabTo(const char* name) {
    return [name](QDialog& dialog) -> QWidget* {
        auto* w = Child<W>(dialog, name);
        w->setFocus(Qt::TabFocusReason);
        return w;
    };
}

class DefaultButtonTest : public ::testing::TestWithParam<DefaultButtonRow> {
protected:
    // The desktop entry of the system colours list reads the desktop; keep the resolver as
    // the other tests find it.
    DefaultButtonTest() : previous_(GetSystemColorResolver()) { InstallSystemColorResolver(); }
    ~DefaultButtonTest() override { SetSystemColorResolver(previous_); }

private:
    SystemColorResolver previous_;
};

TEST_P(DefaultButtonTest, ReturnAndKeypadEnterAccept) {
    const DefaultButtonRow& row = GetParam();
    struct Key {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Key& key : {Key{"Return", Qt::Key_Return, Qt::NoModifier},
                           Key{"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier}}) {
        SCOPED_TRACE(key.name);
        const std::unique_ptr<QDialog> dialog = row.make();
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        QWidget* control = row.focus(*dialog);
        ASSERT_NE(control, nullptr);
        QApplication::processEvents();
        ASSERT_EQ(dialog->focusWidget(), control) << "the control took the focus";
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("btnOk"));
        ASSERT_NE(ok, nullptr);
        ASSERT_TRUE(ok->isDefault());
        ASSERT_TRUE(ok->isEnabled());
        QTest::keyClick(control, key.key, key.modifiers);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_FALSE(dialog->isVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DefaultButtonTest,
    ::testing::Values(
        DefaultButtonRow{"scheme, a cell clicked",
                         [] { return std::make_unique<TSimpleSchemeDialog>(clWhite); },
                         ClickSchemeCell},
        DefaultButtonRow{
            "system colours, an entry clicked",
            [] { return std::make_unique<TSystemColorsDialog>(clBlack, SystemFrameColors{}); },
            ClickSystemColour},
        DefaultButtonRow{"sepia, depth box",
                         [] { return std::make_unique<TSepiaDialog>(MakeRGB(200, 100, 50)); },
                         TabTo<QSpinBox>("edtDepth")},
        DefaultButtonRow{"blender, proportion slider",
                         [] { return std::make_unique<TColorBlenderDialog>(clBlack, clWhite); },
                         ClickOn<QSlider>("tbProportion")},
        DefaultButtonRow{"blender, blend path list",
                         [] { return std::make_unique<TColorBlenderDialog>(clBlack, clWhite); },
                         TabTo<QComboBox>("cbPath")},
        DefaultButtonRow{"blender, red of the first colour",
                         [] { return std::make_unique<TColorBlenderDialog>(clBlack, clWhite); },
                         TabTo<QSpinBox>("edtRFirst")},
        DefaultButtonRow{"palette import, a method clicked",
                         [] { return std::make_unique<TPaletteImportDialog>(true); },
                         ClickOn<QRadioButton>("rgMethod1")},
        DefaultButtonRow{"random palette, a method clicked",
                         [] { return std::make_unique<TRandomPaletteDialog>(); },
                         ClickOn<QRadioButton>("rgMethod1")},
        DefaultButtonRow{"random palette, number of colours",
                         [] { return std::make_unique<TRandomPaletteDialog>(); },
                         TabTo<QSpinBox>("edtCount")}),
    test::RowName<::testing::TestParamInfo<DefaultButtonRow>>);

} // namespace
} // namespace chromint
