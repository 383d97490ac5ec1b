#include "ContrastDlg.h"

#include "DialogTestSupport.h"
#include "Favourites.h"
#include "mbColorPreview.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace chromint {
namespace {

using testing::ModalDriver;

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}

int TargetIndex(std::string_view name) {
    const auto targets = ContrastTargets();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (targets[i].name.starts_with(name))
            return static_cast<int>(i);
    }
    ADD_FAILURE() << "no target " << name;
    return 0;
}

TEST(ContrastDialog, RatioMarksAndLc) {
    struct Row {
        const char* name;
        std::uint32_t current; // #RRGGBB, against white
        bool swapped;
        const char* ratio;
        const char* marks; // AA normal, AA large, AAA normal, AAA large, non-text: P or F
        const char* lc;
        const char* use;
    };
    const Row rows[] = {
        {"black on white", 0x000000, false, "21.00:1", "PPPPP", "Lc 106.0",
         "Preferred for body text"},
        {"#777 on white", 0x777777, false, "4.48:1", "FPFFP", "Lc 71.1", "Other content text"},
        {"white on #777", 0x777777, true, "4.48:1", "FPFFP", "Lc -76.6", "Minimum for body text"},
    };
    for (const Row& row : rows) {
        TContrastDialog dialog(ColorFromHex(row.current));
        if (row.swapped)
            QTest::mouseClick(dialog.btnSwap, Qt::LeftButton);
        EXPECT_EQ(Text(dialog.lblRatio), row.ratio) << row.name;
        for (int i = 0; i < WcagLevelCount; ++i)
            EXPECT_EQ(dialog.lblWcag[i]->text(), PassText(row.marks[i] == 'P')) << row.name << i;
        EXPECT_EQ(Text(dialog.lblLc), row.lc) << row.name;
        EXPECT_EQ(Text(dialog.lblLcUse), row.use) << row.name;
    }
    EXPECT_EQ(PassText(true).toStdString(), "\u2713 Pass");
    EXPECT_EQ(PassText(false).toStdString(), "\u2717 Fail");
}

TEST(ContrastDialog, StartsAgainstWhiteAndSwaps) {
    TContrastDialog dialog(ColorFromHex(0x888888));
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Contrast");
    EXPECT_EQ(dialog.edtOther->text().toStdString(), "#FFFFFF");
    EXPECT_EQ(dialog.Sample->TextColor(), ColorFromHex(0x888888));
    QTest::mouseClick(dialog.btnSwap, Qt::LeftButton);
    EXPECT_EQ(Text(dialog.lblLc), "Lc -68.5");
    EXPECT_EQ(dialog.Sample->TextColor(), clWhite);
    EXPECT_EQ(Text(dialog.lblRoles), "Text: second colour; background: current colour");
}

TEST(ContrastDialog, TypedCssColour) {
    TContrastDialog dialog(clBlack);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    struct Row {
        const char* name;
        const char* typed;
        TColor expected; // the second colour afterwards
        bool invalid;
    };
    const Row rows[] = {
        {"hsl", "hsl(0 100% 50%)", ColorFromHex(0xFF0000), false},
        {"name", "navy", ColorFromHex(0x000080), false},
        {"malformed leaves the colour", "rgb(1 2", ColorFromHex(0x000080), true},
        {"oklch", "oklch(100% 0 0)", clWhite, false},
    };
    for (const Row& row : rows) {
        dialog.edtOther->clear();
        dialog.edtOther->setFocus();
        QTest::keyClicks(dialog.edtOther, QString::fromLatin1(row.typed));
        QTest::keyClick(dialog.edtOther, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()) << row.name << ": Enter in the edit closed the dialog";
        EXPECT_EQ(dialog.OtherColor(), row.expected) << row.name;
        EXPECT_EQ(dialog.edtOther->property("invalid").toBool(), row.invalid) << row.name;
        EXPECT_EQ(dialog.lblOtherMessage->text().isEmpty(), !row.invalid) << row.name;
    }
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ContrastDialog, FavouritesMenu) {
    QStringList favourites = DefaultFavourites();
    favourites[0] = QStringLiteral("$000000FF");
    favourites[1] = QStringLiteral("not a colour");
    EXPECT_EQ(FavouriteColors(favourites).size(), std::size_t(FavouritesCount - 1));
    TContrastDialog dialog(clBlack, favourites);
    QMenu* menu = dialog.btnFavourites->menu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), FavouritesCount - 1);
    EXPECT_EQ(menu->actions()[0]->text().toStdString(), "#FF0000");
    menu->actions()[0]->trigger();
    EXPECT_EQ(dialog.OtherColor(), ColorFromHex(0xFF0000));
    EXPECT_EQ(dialog.edtOther->text().toStdString(), "#FF0000");

    TContrastDialog none(clBlack, {});
    EXPECT_FALSE(none.btnFavourites->isEnabled());
}

TEST(ContrastDialog, NoNearestColour) {
    TContrastDialog dialog(ColorFromHex(0xFF0000));
    dialog.SetOtherColor(ColorFromHex(0x777777));
    dialog.cbTarget->setCurrentIndex(TargetIndex("AAA normal"));
    EXPECT_FALSE(dialog.btnUseNearest->isEnabled());
    EXPECT_FALSE(dialog.Nearest().color.has_value());
    EXPECT_EQ(Text(dialog.lblNearestHex), "\u2014");
    EXPECT_EQ(Text(dialog.lblNearestNote),
              "No colour reaches this level against the other colour.");
}

// Through the command: each level's "Use this colour" hands over a colour that passes, and the
// dialog then reports that the current colour passes.
TEST(ContrastCommand, UseThisColourPasses) {
    struct Row {
        const char* name;
        std::uint32_t current;
        bool swap;
        const char* target;
    };
    const Row rows[] = {
        {"orange text, AA", 0xFF8800, false, "AA normal"},
        {"orange background, AAA", 0xFF8800, true, "AAA normal"},
        {"pale blue text, APCA 75", 0x99BBFF, false, "APCA Lc 75"},
    };
    for (const Row& row : rows) {
        std::optional<TColor> made;
        bool passedAfterwards = false;
        ModalDriver driver;
        driver.Then([&](QWidget* modal) {
            auto* dialog = qobject_cast<TContrastDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            if (row.swap)
                QTest::mouseClick(dialog->btnSwap, Qt::LeftButton);
            dialog->cbTarget->setCurrentIndex(TargetIndex(row.target));
            EXPECT_TRUE(dialog->btnUseNearest->isEnabled()) << row.name;
            QTest::mouseClick(dialog->btnUseNearest, Qt::LeftButton);
            passedAfterwards = !dialog->btnUseNearest->isEnabled() &&
                               Text(dialog->lblNearestNote) == "The current colour already passes.";
            QTest::mouseClick(dialog->btnClose, Qt::LeftButton);
        });
        RunContrastCommand(nullptr, ColorFromHex(row.current), DefaultFavourites(),
                           [&](TColor c) { made = c; });
        EXPECT_TRUE(driver.Done()) << row.name;
        ASSERT_TRUE(made.has_value()) << row.name;
        const ContrastTarget& target = ContrastTargets()[TargetIndex(row.target)];
        EXPECT_TRUE(row.swap ? PassesTarget(clWhite, *made, target)
                             : PassesTarget(*made, clWhite, target))
            << row.name;
        EXPECT_TRUE(passedAfterwards) << row.name;
    }
}

TEST(ContrastDialog, KeyboardReachesEveryControl) {
    TContrastDialog dialog(ColorFromHex(0x777777), DefaultFavourites());
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), dialog.edtOther) << "typing starts at once";
    EXPECT_TRUE(dialog.btnClose->isDefault());
    QWidget* const chain[] = {dialog.edtOther, dialog.btnPick,       dialog.btnFavourites,
                              dialog.btnSwap,  dialog.cbTarget,      dialog.btnUseNearest,
                              dialog.btnClose, dialog.btnOtherSwatch};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), chain[i]) << chain[i]->objectName().toStdString();
    }
    for (const QPushButton* button :
         {dialog.btnPick, dialog.btnFavourites, dialog.btnSwap, dialog.btnUseNearest})
        EXPECT_TRUE(button->text().contains(QLatin1Char('&')))
            << button->objectName().toStdString();
}

} // namespace
} // namespace chromint
