#include "MainFrm.h"
#include "../support/ModalDriver.h"
#include "../support/SettingsFiles.h"
#include "AppConfig.h"
#include "ColorNotations.h"
#include "ColorUtilsWeb.h"
#include "CustomFormats.h"
#include "Favourites.h"
#include "HSVColorPicker.h"
#include "ImageImportDlg.h"
#include "PaletteModel.h"
#include "SLColorPicker.h"
#include "SystemColors.h"
#include "WebSafeQuestion.h"
#include "mbColorPalette.h"
#include "mbColorPreview.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace chromint {
namespace {

class MainFormTest : public ::testing::Test {
protected:
    // Every form loads and saves the settings file: keep it in a private folder.
    testing::TempConfigHome configHome_;

    void SetUp() override {
        form_ = std::make_unique<TMainForm>();
        form_->show();
        form_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    }
    void TearDown() override { form_.reset(); }

    template <typename T>
    T* Child(const char* name) {
        T* child = form_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QSpinBox* Editor(const char* name) { return Child<QSpinBox>(name); }
    QAction* Action(const char* name) { return Child<QAction>(name); }

    // Replaces an editor's text as a user would: select all, type.
    void Type(QWidget* editor, const QString& text) {
        QLineEdit* line = editor->findChild<QLineEdit*>();
        if (line == nullptr)
            line = qobject_cast<QLineEdit*>(editor);
        ASSERT_NE(line, nullptr);
        line->setFocus();
        line->selectAll();
        QTest::keyClicks(line, text);
    }

    void SetWebOnly(bool on) {
        if (form_->WebOnly() != on)
            Action("aWebSafe")->trigger();
        ASSERT_EQ(form_->WebOnly(), on);
    }

    std::unique_ptr<TMainForm> form_;
};

TEST_F(MainFormTest, TypingOutOfRangeClampsTheEditorAndTheColour) {
    Type(Editor("edtR"), QStringLiteral("300"));
    EXPECT_EQ(Editor("edtR")->text(), QStringLiteral("255"));
    EXPECT_EQ(GetRValue(form_->CurrentColor()), 255);
}

TEST_F(MainFormTest, HueOf360ShowsAs359) {
    form_->GetAll(MakeRGB(255, 0, 1), false);
    EXPECT_EQ(Editor("edtH")->value(), 359);
    EXPECT_EQ(Editor("edtS")->value(), 100);
    EXPECT_EQ(Editor("edtL")->value(), 50);
}

TEST_F(MainFormTest, EveryViewFollowsAnEdit) {
    struct Row {
        const char* editor;
        const char* text;
        TColor expected;
    };
    form_->GetAll(0, false);
    const Row rows[] = {
        {"edtR", "255", MakeRGB(255, 0, 0)},
        {"edtS", "50", MakeRGB(191, 64, 64)},
        {"edtK", "100", MakeRGB(0, 0, 0)},
        {"edtCIEL", "100", MakeRGB(255, 252, 221)},
    };
    for (const Row& row : rows) {
        Type(Editor(row.editor), QString::fromLatin1(row.text));
        EXPECT_EQ(form_->CurrentColor(), row.expected) << row.editor;
        const EditorValues shown = form_->EditorsShown();
        EXPECT_EQ(Child<QLineEdit>("edtDeveloper")->text().toStdString(),
                  ColorToText(row.expected, NotationHTML))
            << row.editor;
        if (std::string_view(row.editor) != "edtR") {
            EXPECT_EQ(shown.r, GetRValue(row.expected)) << row.editor;
            EXPECT_EQ(shown.b, GetBValue(row.expected)) << row.editor;
        }
    }
}

TEST_F(MainFormTest, GetAllDoesNotReenterTheEditorHandlers) {
    QSignalSpy changes(form_.get(), &TMainForm::currentColorChanged);
    form_->GetAll(ColorFromHex(0x4682B4), false);
    // Had a programmatic editor update run a change handler, the colour would have been
    // pushed again from rounded editor values.
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).value<TColor>(), ColorFromHex(0x4682B4));
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0x4682B4));
}

TEST_F(MainFormTest, WebOnlyKeepsTypedRGBButSnapsTheColour) {
    form_->GetAll(0, false);
    SetWebOnly(true);
    Type(Editor("edtR"), QStringLiteral("100"));
    EXPECT_EQ(Editor("edtR")->text(), QStringLiteral("100"));
    EXPECT_EQ(form_->CurrentColor(), MakeRGB(51, 0, 0));
    EXPECT_EQ(Editor("edtL")->value(), 10) << "HSL shows the snapped colour";

    // HSL, CMYK and L*a*b* edits are not snapped, so the web-safe button comes back.
    Type(Editor("edtH"), QStringLiteral("10"));
    Type(Editor("edtL"), QStringLiteral("47"));
    EXPECT_FALSE(IsWebSafe(form_->CurrentColor()));
    EXPECT_TRUE(Child<QToolButton>("btnWebSafe")->isEnabled());
}

TEST_F(MainFormTest, TogglingWebOnlyEitherWayTakesTheWebSafeForm) {
    form_->GetAll(ColorFromHex(0xFEFEFE), false);
    SetWebOnly(true);
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0xCCCCCC));
    form_->GetAll(ColorFromHex(0x123456), false);
    SetWebOnly(false);
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0x003333));
}

TEST_F(MainFormTest, CodeBox) {
    auto* box = Child<QLineEdit>("edtDeveloper");
    struct Row {
        const char* text;
        TColor expected; // clNone: the colour stays as it was
    };
    const Row rows[] = {{"f00", ColorFromHex(0xFF0000)},
                        {"F00", ColorFromHex(0xFF0000)},
                        {"#f00", ColorFromHex(0xFF0000)},
                        {"red", ColorFromHex(0xFF0000)},
                        {"ff000", clNone},
                        {"#12345", clNone},
                        {"DarkGrey", ColorFromHex(0xA9A9A9)}};
    for (const Row& row : rows) {
        form_->GetAll(ColorFromHex(0x010203), false);
        // Set at once, as a paste does: typed one key at a time, "ff000" passes "ff0".
        box->setText(QString::fromLatin1(row.text));
        const TColor expected = row.expected == clNone ? ColorFromHex(0x010203) : row.expected;
        EXPECT_EQ(form_->CurrentColor(), expected) << row.text;
        EXPECT_EQ(box->text(), QString::fromLatin1(row.text)) << "the box keeps what is typed";
    }
}

TEST_F(MainFormTest, WebOnlyCodeBoxShowsTheSnappedColourWhenFocusLeaves) {
    SetWebOnly(true);
    auto* box = Child<QLineEdit>("edtDeveloper");
    box->setFocus();
    box->setText(QStringLiteral("#123456"));
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0x003333));
    EXPECT_EQ(box->text(), QStringLiteral("#123456"));
    Editor("edtR")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(box->text(), QStringLiteral("#003333"));
}

TEST_F(MainFormTest, WebButtonsAndMenuItems) {
    form_->GetAll(ColorFromHex(0x336699), false);
    EXPECT_FALSE(Child<QToolButton>("btnWebSafe")->isEnabled());
    EXPECT_FALSE(Child<QToolButton>("btnWebSmart")->isEnabled());
    form_->GetAll(ColorFromHex(0x112233), false);
    EXPECT_TRUE(Child<QToolButton>("btnWebSafe")->isEnabled());
    EXPECT_FALSE(Child<QToolButton>("btnWebSmart")->isEnabled());
    auto* menu = Child<QMenu>("ColorMenu");
    emit menu->aboutToShow();
    EXPECT_TRUE(Action("miWebSafe")->isVisible());
    EXPECT_FALSE(Action("miWebSmart")->isVisible());
    Action("miWebSafe")->trigger();
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0x000033));
}

TEST_F(MainFormTest, CopySubmenuPutsTheNotationOnTheClipboard) {
    form_->GetAll(ColorFromHex(0xFF0000), false);
    auto* copy = Child<QMenu>("miCopy");
    emit copy->aboutToShow();
    QAction* basic = Action("miBasic");
    EXPECT_EQ(basic->text(), QStringLiteral("Basic\t&&H000000FF&&"));
    basic->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("&H000000FF&"));
    EXPECT_TRUE(Action("miHTMLName")->isVisible());
    EXPECT_EQ(Action("miHTMLCode")->text(), QStringLiteral("HTML code\t#FF0000"));

    form_->GetAll(MakeRGB(255, 0, 1), false);
    emit copy->aboutToShow();
    EXPECT_FALSE(Action("miHTMLName")->isVisible());
    EXPECT_EQ(Action("miHSB")->text(), QString::fromUtf8("HSB\tHSB(360°, 100%, 100%)"));
}

// The CSS items and a format of the user's own copy what they show; the code box's notation
// and the format are there again after a restart.
TEST_F(MainFormTest, CssItemsOwnFormatsAndCodeNotationSurviveARestart) {
    form_->GetAll(ColorFromHex(0xFF0000), false);
    form_->Settings().CopyFormats() = {
        QString::fromStdString(EncodeCustomFormat({"Sass & co", "$brand: %hex;\n// %oklchL"}))};
    auto* copy = Child<QMenu>("miCopy");
    emit copy->aboutToShow();
    Action("miCssOklch")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("oklch(62.8% 0.25768 29.23)"));
    QAction* own = Action("miCustomFormat1");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->text(), QStringLiteral("Sass && co\t$brand: #FF0000; // 62.8"));
    own->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("$brand: #FF0000;\n// 62.8"));
    emit copy->aboutToShow();
    EXPECT_EQ(copy->findChildren<QAction*>(QStringLiteral("miCustomFormat1")).size(), 1);

    Child<QComboBox>("cbDeveloper")->setCurrentIndex(7);
    EXPECT_EQ(Child<QLineEdit>("edtDeveloper")->text(),
              QStringLiteral("oklch(62.8% 0.25768 29.23)"));
    form_->close();
    form_.reset();
    TMainForm again;
    EXPECT_EQ(again.findChild<QComboBox*>(QStringLiteral("cbDeveloper"))->currentIndex(), 7);
    EXPECT_EQ(again.Settings().CopyFormats().size(), 1);
}

// Favourites go out as a palette file and come back in; a file of more than 36 colours fills
// the strip with its first ones and says so; a file that is no palette changes nothing.
TEST_F(MainFormTest, FavouritesThroughPaletteFiles) {
    QTemporaryDir dir;
    const QString exported = dir.filePath(QStringLiteral("mine"));
    const auto choose = [](const QString& file) {
        return [file](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->setDirectory(QFileInfo(file).absolutePath());
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QFileInfo(file).fileName());
            static_cast<QDialog*>(dialog)->accept();
        };
    };
    const auto close = [](const char* name, QString* text) {
        return [name, text](QWidget* modal) {
            EXPECT_EQ(modal->objectName(), QString::fromLatin1(name));
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                *text = box->text();
            qobject_cast<QDialog*>(modal)->accept();
        };
    };
    auto* strip = Child<TmbColorPalette>("Favourites");
    const QStringList before = strip->Colors();
    testing::ModalDriver driver;
    driver.Then(choose(exported));
    Action("miExportFavourites")->trigger();
    QFile gpl(exported + QStringLiteral(".gpl"));
    ASSERT_TRUE(gpl.open(QIODevice::ReadOnly)) << "the chosen type's ending is added";
    EXPECT_TRUE(gpl.readAll().startsWith("GIMP Palette\n"));

    QFile many(dir.filePath(QStringLiteral("many.hex")));
    ASSERT_TRUE(many.open(QIODevice::WriteOnly));
    for (int i = 0; i < 40; ++i)
        many.write(QStringLiteral("%1ff00\n").arg(i, 2, 16, QLatin1Char('0')).toLatin1());
    many.close();
    QString message;
    driver.Then(choose(many.fileName()));
    driver.Then(close("ImportFavouritesTruncated", &message));
    Action("miImportFavourites")->trigger();
    EXPECT_TRUE(message.contains(QStringLiteral("40 colours"))) << message.toStdString();
    EXPECT_EQ(strip->Colors().first(), ColorToCode(ColorFromHex(0x00FF00)));
    EXPECT_EQ(strip->Colors().last(), ColorToCode(ColorFromHex(0x23FF00)));

    const QStringList full = strip->Colors();
    QFile bad(dir.filePath(QStringLiteral("bad.gpl")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("GIMP Palette\nthis is no colour\n");
    bad.close();
    driver.Then(choose(bad.fileName()));
    driver.Then(close("ImportFavouritesFailed", &message));
    Action("miImportFavourites")->trigger();
    EXPECT_EQ(strip->Colors(), full);

    driver.Then(choose(exported + QStringLiteral(".gpl")));
    Action("miImportFavourites")->trigger();
    EXPECT_EQ(strip->Colors(), before);
    EXPECT_TRUE(driver.Done());
}

TEST_F(MainFormTest, PageShortcuts) {
    auto* pages = Child<QTabWidget>("PageControl");
    for (int tag : {2, 1, 0}) {
        QTest::keyClick(form_.get(), Qt::Key(Qt::Key_1 + tag), Qt::ControlModifier);
        EXPECT_EQ(pages->currentIndex(), tag);
    }
    QTest::keyClick(form_.get(), Qt::Key_4, Qt::ControlModifier);
    EXPECT_EQ(pages->currentIndex(), 0) << "the palette page is hidden";
}

TEST_F(MainFormTest, ColourOperations) {
    struct Row {
        const char* action;
        TColor before, after;
    };
    const Row rows[] = {
        {"miInvert", ColorFromHex(0x000000), ColorFromHex(0xFFFFFF)},
        {"miSwapRB", ColorFromHex(0xFF8000), ColorFromHex(0x0080FF)},
        {"miSwapRG", ColorFromHex(0xFF8000), ColorFromHex(0x80FF00)},
        {"miSwapGB", ColorFromHex(0xFF8000), ColorFromHex(0xFF0080)},
        {"miStandard", MakeRGB(255, 0, 1), MakeRGB(85, 85, 85)},
        {"miNTSC", MakeRGB(0, 0, 255), MakeRGB(29, 29, 29)},
        {"miInfrared", 0xFFFFFF, MakeRGB(227, 227, 227)},
        {"miRed", MakeRGB(10, 20, 30), MakeRGB(10, 10, 10)},
        {"miHybrid", 0xFFFFFF, 0xFFFFFF},
    };
    for (const Row& row : rows) {
        form_->GetAll(row.before, false);
        Action(row.action)->trigger();
        EXPECT_EQ(form_->CurrentColor(), row.after) << row.action;
        EXPECT_EQ(form_->EditorsShown(), EditorValuesOf(row.after)) << row.action;
    }
    SetWebOnly(true);
    form_->GetAll(ColorFromHex(0x336699), false);
    Action("miInvert")->trigger();
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0xCC9966)) << "web-safe stays web-safe";
    for (int i = 0; i < 20; ++i) {
        Action("miRandomize")->trigger();
        ASSERT_TRUE(IsWebSafe(form_->CurrentColor())) << "random colours are snapped";
    }
}

// Answers the web-only question with the given button once it shows.
void AnswerWebSafeQuestion(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Web-safe"));
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        box->button(button)->click();
    });
}

TEST_F(MainFormTest, WebSafeQuestion) {
    const TColor picked = ColorFromHex(0xFEFEFE);
    EXPECT_EQ(form_->ConfirmWebColor(picked), picked) << "not asked outside web-only mode";

    SetWebOnly(true);
    EXPECT_EQ(form_->ConfirmWebColor(ColorFromHex(0x336699)), ColorFromHex(0x336699))
        << "not asked for a web-safe colour";
    AnswerWebSafeQuestion(QMessageBox::No);
    EXPECT_EQ(form_->ConfirmWebColor(picked), ColorFromHex(0xCCCCCC));
    EXPECT_TRUE(form_->WebOnly());
    AnswerWebSafeQuestion(QMessageBox::Cancel);
    EXPECT_EQ(form_->ConfirmWebColor(picked), std::nullopt);
    EXPECT_TRUE(form_->WebOnly());
    AnswerWebSafeQuestion(QMessageBox::Yes);
    EXPECT_EQ(form_->ConfirmWebColor(picked), picked);
    EXPECT_FALSE(form_->WebOnly());
    EXPECT_FALSE(Child<QAbstractButton>("cbWebSafe")->isChecked());
}

TEST_F(MainFormTest, HiddenAtStart) {
    EXPECT_FALSE(Action("miAddToPalette")->isVisible());
    EXPECT_FALSE(Child<QMenu>("miColorBlindness")->menuAction()->isVisible());
    EXPECT_FALSE(Action("miFromCurrentPalette")->isVisible());
    EXPECT_FALSE(Action("miFromRandomPalette")->isVisible());
    EXPECT_FALSE(Child<QToolButton>("btnAddToPalette")->isVisible());
    EXPECT_FALSE(Child<QToolButton>("btnAddToFavourites")->isVisible());
    auto* pages = Child<QTabWidget>("PageControl");
    EXPECT_FALSE(pages->isTabVisible(3));
    auto* notation = Child<QComboBox>("cbDeveloper");
    ASSERT_EQ(notation->count(), 8) << "HTML, then the CSS functions";
    EXPECT_EQ(notation->currentText(), QStringLiteral("HTML"));
    EXPECT_EQ(form_->size(), QSize(526, 415));
}

TEST_F(MainFormTest, FavouritesAddPickAndSurviveARestart) {
    auto* menu = Child<QMenu>("ColorMenu");
    const TColor added[] = {ColorFromHex(0x4682B4), ColorFromHex(0xFF8000), ColorFromHex(0x336699)};
    for (TColor color : added) {
        form_->GetAll(color, false);
        emit menu->aboutToShow();
        ASSERT_TRUE(Action("miAddToFavourites")->isVisible());
        Action("miAddToFavourites")->trigger();
        emit menu->aboutToShow();
        EXPECT_FALSE(Action("miAddToFavourites")->isVisible()) << "already a favourite";
    }
    auto* strip = Child<TmbColorPalette>("Favourites");
    ASSERT_EQ(strip->Colors().size(), 36);
    EXPECT_EQ(strip->Colors()[0], QStringLiteral("$00996633")) << "most recent first";
    EXPECT_EQ(strip->Colors()[1], QStringLiteral("$000080FF"));
    EXPECT_EQ(strip->Colors()[2], QStringLiteral("$00B48246"));

    // A click on a cell makes its colour current; in web-only mode a web-safe form of it.
    const QRect second = strip->CellRect(1);
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, second.center());
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0xFF8000));
    SetWebOnly(true);
    const QRect third = strip->CellRect(2);
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, third.center());
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0x336699));
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, strip->CellRect(0).center());
    EXPECT_TRUE(IsWebSafe(form_->CurrentColor()));

    form_->close();
    form_.reset();
    TMainForm again;
    auto* restored = again.findChild<TmbColorPalette*>(QStringLiteral("Favourites"));
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->Colors().mid(0, 3),
              (QStringList{QStringLiteral("$00996633"), QStringLiteral("$000080FF"),
                           QStringLiteral("$00B48246")}));
}

TEST_F(MainFormTest, DraggingOnAPickerPageDrivesEveryOtherView) {
    auto* pages = Child<QTabWidget>("PageControl");
    // The wheel: straight right of the centre is hue 360 (red); its own numbers stay as
    // picked, since the page that is the source of a change is not written back.
    form_->GetAll(clWhite, false);
    pages->setCurrentIndex(2);
    QApplication::processEvents();
    auto* wheel = Child<THSVColorPicker>("HSVPicker");
    QTest::mousePress(wheel, Qt::LeftButton, Qt::NoModifier, QPoint(255, 128));
    QTest::mouseRelease(wheel, Qt::LeftButton, Qt::NoModifier, QPoint(255, 128));
    QApplication::processEvents();
    EXPECT_EQ(GetRValue(form_->CurrentColor()), 255);
    EXPECT_EQ(Editor("edtR")->value(), 255);
    EXPECT_EQ(Child<QLineEdit>("edtDeveloper")->text().toStdString(),
              ColorToText(form_->CurrentColor(), NotationHTML));
    EXPECT_EQ(wheel->Hue(), 360) << "not rewritten as hue 0 from the colour it produced";
    EXPECT_EQ(Child<TSLColorPicker>("SLPicker")->SelectedColor(), form_->CurrentColor())
        << "the other pages follow";

    // The square: the bottom-left corner is black.
    pages->setCurrentIndex(1);
    QApplication::processEvents();
    auto* square = Child<QWidget>("SLPicker");
    QTest::mousePress(square, Qt::LeftButton, Qt::NoModifier, QPoint(0, 255));
    QTest::mouseRelease(square, Qt::LeftButton, Qt::NoModifier, QPoint(0, 255));
    QApplication::processEvents();
    EXPECT_EQ(form_->CurrentColor(), 0u);
    EXPECT_EQ(Editor("edtL")->value(), 0);

    // The hue-saturation field of the standard page, dragged from left to right.
    pages->setCurrentIndex(0);
    form_->GetAll(ColorFromHex(0x808080), false);
    QApplication::processEvents();
    QWidget* field = Child<QWidget>("HSLPicker")->childAt(20, 20);
    ASSERT_NE(field, nullptr);
    QTest::mousePress(field, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    const TColor pressed = form_->CurrentColor();
    QMouseEvent move(QEvent::MouseMove, QPoint(150, 10), field->mapToGlobal(QPoint(150, 10)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &move);
    QTest::mouseRelease(field, Qt::LeftButton, Qt::NoModifier, QPoint(150, 10));
    QApplication::processEvents();
    EXPECT_NE(form_->CurrentColor(), pressed) << "the drag moved the hue";
    EXPECT_EQ(form_->EditorsShown().r, GetRValue(form_->CurrentColor()));
    EXPECT_EQ(Child<QLineEdit>("edtDeveloper")->text().toStdString(),
              ColorToText(form_->CurrentColor(), NotationHTML));

    // The editors drive the pickers back: a typed red reaches the square.
    Type(Editor("edtR"), QStringLiteral("200"));
    EXPECT_EQ(GetRValue(form_->CurrentColor()), 200);
    EXPECT_EQ(Child<TSLColorPicker>("SLPicker")->SelectedColor(), form_->CurrentColor());
}

TEST_F(MainFormTest, MinimisedWindowStoresWhereItWouldBeRestored) {
    form_->move(200, 150);
    const QPoint restored = form_->pos();
    form_->showMinimized();
    QApplication::processEvents();
    form_->close();
    EXPECT_EQ(form_->Settings().WindowLeft(), restored.x());
    EXPECT_EQ(form_->Settings().WindowTop(), restored.y());
}

TEST_F(MainFormTest, ColourPageAndPositionSurviveARestart) {
    form_->GetAll(ColorFromHex(0x4682B4), false);
    Child<QTabWidget>("PageControl")->setCurrentIndex(2);
    form_->move(120, 80);
    const QPoint placed = form_->pos();
    form_->close();
    form_.reset();

    TMainForm again;
    EXPECT_EQ(again.CurrentColor(), ColorFromHex(0x4682B4));
    EXPECT_EQ(again.findChild<QTabWidget*>(QStringLiteral("PageControl"))->currentIndex(), 2)
        << "opens on the page it was left on";
    EXPECT_EQ(again.pos(), placed);
    EXPECT_EQ(again.Settings().TaskMode(), 2);
}

TEST_F(MainFormTest, LeavingStandardStoresPageZero) {
    Child<QTabWidget>("PageControl")->setCurrentIndex(0);
    form_->close();
    EXPECT_EQ(form_->Settings().TaskMode(), 0);
}

// Presses a dialog's button once the dialog shows.
void PressInModalDialog(const char* buttonName) {
    QTimer::singleShot(0, [buttonName] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(buttonName));
        ASSERT_NE(button, nullptr) << buttonName;
        button->click();
    });
}

TEST_F(MainFormTest, CreateSepiaTakesTheToneAndKeepsItsSettings) {
    form_->GetAll(ColorFromHex(0xFF0000), false);
    PressInModalDialog("btnOk");
    Action("miCreateSepia")->trigger();
    EXPECT_EQ(form_->CurrentColor(), MakeRGB(136, 106, 56)) << "depth 30, intensity 20";
    EXPECT_EQ(form_->Settings().SepiaDepth(), 30);

    form_->GetAll(ColorFromHex(0xFF0000), false);
    PressInModalDialog("btnCancel");
    Action("miCreateSepia")->trigger();
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0xFF0000)) << "Cancel changes nothing";
}

TEST_F(MainFormTest, FromSystemTakesTheDesktopsButtonFace) {
    InstallSystemColorResolver();
    form_->GetAll(ColorFromHex(0x123456), false);
    PressInModalDialog("btnOk");
    Action("miColorFromSystem")->trigger();
    // An RGB current colour preselects "Button Face" (index 15), taken as its RGB value.
    EXPECT_EQ(form_->CurrentColor(), ResolveSystemColor(0xFF00000F));
    EXPECT_EQ(form_->CurrentColor() >> 24, 0u);
}

TEST_F(MainFormTest, FromImageAsksTheWebOnlyQuestionAndRemembersThePicture) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("near white.png"));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(qRgb(0xFE, 0xFE, 0xFE));
    ASSERT_TRUE(picture.save(path));
    auto pickFromPicture = [&](QMessageBox::StandardButton answer) {
        QTimer::singleShot(0, [&path, answer] {
            auto* dialog = qobject_cast<TImageImportDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ASSERT_TRUE(dialog->LoadImage(path));
            dialog->ChooseColors(2);
            AnswerWebSafeQuestion(answer);
            dialog->btnOk->trigger();
        });
        Action("miColorFromImage")->trigger();
    };

    SetWebOnly(true);
    form_->GetAll(ColorFromHex(0x336699), false);
    const QString folderBefore = form_->Settings().LastOpenImageDir();
    pickFromPicture(QMessageBox::Cancel);
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0x336699));
    EXPECT_EQ(form_->Settings().LastOpenImageDir(), folderBefore);
    EXPECT_TRUE(form_->Settings().RecentFiles().isEmpty());

    pickFromPicture(QMessageBox::No);
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0xCCCCCC)) << "snapped to the web palette";
    EXPECT_EQ(form_->Settings().LastOpenImageDir(), dir.path());
    EXPECT_EQ(form_->Settings().RecentFiles(), QStringList{path});
}

} // namespace
} // namespace chromint

namespace chromint {
namespace {

// The wheel over an editor the user did not choose scrolls on; over the chosen one it steps.
TEST_F(MainFormTest, WheelChangesOnlyTheFocusedEditor) {
    QSpinBox* red = Editor("edtR");
    red->setValue(100);
    Editor("edtG")->setFocus();
    const auto roll = [red] {
        QWheelEvent wheel(QPointF(5, 5), red->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(red, &wheel);
    };
    roll();
    EXPECT_EQ(red->value(), 100);
    red->setFocus();
    roll();
    EXPECT_EQ(red->value(), 101);
}

// In web-only mode the code box snaps its text when the user leaves it, not when a menu
// opens or another window takes over.
TEST_F(MainFormTest, CodeBoxKeepsItsTextWhileAMenuIsOpen) {
    SetWebOnly(true);
    auto* box = Child<QLineEdit>("edtDeveloper");
    Type(box, QStringLiteral("#123456"));
    for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent leave(QEvent::FocusOut, reason);
        QApplication::sendEvent(box, &leave);
        EXPECT_EQ(box->text(), QStringLiteral("#123456")) << "focus reason " << reason;
    }
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &leave);
    EXPECT_NE(box->text(), QStringLiteral("#123456"));
}

} // namespace
} // namespace chromint

namespace chromint {
namespace {

// The Copy menu is as wide as its widest label and value with an ordinary gap between them,
// not a column of empty space.
TEST_F(MainFormTest, CopyMenuIsAsNarrowAsItsContents) {
    auto* copy = Child<QMenu>("miCopy");
    emit copy->aboutToShow();
    const QFontMetrics metrics(copy->font());
    int labels = 0;
    int values = 0;
    for (QAction* action : copy->actions()) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        const QStringList parts = action->text().split(QLatin1Char('\t'));
        labels = std::max(labels, metrics.horizontalAdvance(parts.value(0)));
        values = std::max(values, metrics.horizontalAdvance(parts.value(1)));
    }
    const int width = copy->sizeHint().width();
    EXPECT_GE(width, labels + values);
    EXPECT_LE(width, labels + values + 120);
}

} // namespace
} // namespace chromint

namespace chromint {
namespace {

// What a user drags onto the window: a colour or colour text becomes current, a picture file
// opens in the picture window, anything else is refused and changes nothing.
TEST_F(MainFormTest, DropsTakeColoursAndOpenPictures) {
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("drop.PNG"));
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    ASSERT_TRUE(image.save(picture, "PNG"));

    const auto drop = [this](QMimeData* data) {
        QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(form_.get(), &enter);
        if (enter.isAccepted()) {
            QDropEvent dropped(QPointF(200, 200), Qt::CopyAction, data, Qt::LeftButton,
                               Qt::NoModifier);
            QApplication::sendEvent(form_.get(), &dropped);
            QApplication::processEvents();
        }
        delete data;
        return enter.isAccepted();
    };
    const auto text = [](const char* value) {
        auto* data = new QMimeData;
        data->setText(QString::fromLatin1(value));
        return data;
    };
    const auto files = [](const QStringList& paths) {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data->setUrls(urls);
        return data;
    };

    form_->GetAll(ColorFromHex(0x000000), false);
    auto* colour = new QMimeData;
    colour->setColorData(QColor(0x12, 0x34, 0x56));
    EXPECT_TRUE(drop(colour));
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0x123456));
    EXPECT_TRUE(drop(text(" #3366cc ")));
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0x3366CC));
    EXPECT_TRUE(drop(text("steelblue")));
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0x4682B4));
    EXPECT_FALSE(drop(text("hello")));
    EXPECT_FALSE(drop(files({dir.filePath(QStringLiteral("notes.txt"))})));
    EXPECT_EQ(form_->CurrentColor(), ColorFromHex(0x4682B4));

    QString shown;
    QTimer::singleShot(100, [&shown] {
        auto* dialog = qobject_cast<TImageImportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = dialog->OpenDialog->FileName;
        dialog->reject();
    });
    EXPECT_TRUE(drop(files({dir.filePath(QStringLiteral("notes.txt")), picture})));
    EXPECT_EQ(shown, picture);
}

} // namespace
} // namespace chromint
