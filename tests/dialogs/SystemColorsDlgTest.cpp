#include "SystemColorsDlg.h"
#include "ColorPreviewLayout.h"
#include "DesktopBackground.h"
#include "DialogTestSupport.h"
#include "SystemColors.h"
#include "mbColorList.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace chromint {
namespace {

using testing::ModalDriver;
using testing::Press;

const TColor kSource = MakeRGB(10, 20, 30);
const TColor kVisible = MakeRGB(40, 50, 60);
constexpr TColor kButtonFace = SystemColorFlag | 15;

// Every test resolves system colours through the desktop palette and restores what was there.
class SystemColorsTest : public ::testing::Test {
protected:
    SystemColorsTest() : previous_(GetSystemColorResolver()) { InstallSystemColorResolver(); }
    ~SystemColorsTest() override { SetSystemColorResolver(previous_); }

private:
    SystemColorResolver previous_;
};

struct ListRow {
    const char* name;
    SystemFrameColors frame;
    std::size_t count;
    QString last;
};

TEST_F(SystemColorsTest, Entries) {
    const std::vector<ListRow> rows = {
        {"composition off", {false, kSource, kVisible}, 30, "Window Text"},
        {"composition on, both frame colours", {true, kSource, kVisible}, 32, "Aero Visible"},
        {"composition on, no visible colour", {true, kSource, clNone}, 31, "Aero Source"},
        {"composition on, no source colour", {true, clNone, kVisible}, 31, "Aero Visible"},
        {"composition on, neither colour", {true, clNone, clNone}, 30, "Window Text"},
    };
    for (const ListRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto entries = SystemColorEntries(row.frame);
        ASSERT_EQ(entries.size(), row.count);
        EXPECT_EQ(entries.back().name, row.last);
        EXPECT_EQ(entries.front(), (SystemColorEntry{"Active Border", SystemColorFlag | 10}));
        EXPECT_EQ(entries[4], (SystemColorEntry{"Button Face", kButtonFace}));
        EXPECT_EQ(entries[24], (SystemColorEntry{"Scroll Bar", SystemColorFlag | 0}));
        EXPECT_EQ(entries[29], (SystemColorEntry{"Window Text", SystemColorFlag | 8}));
    }
}

struct PreselectRow {
    const char* name;
    TColor color;
    QString selected;
};

TEST_F(SystemColorsTest, Preselection) {
    const SystemFrameColors frame{true, kSource, kVisible};
    const std::vector<PreselectRow> rows = {
        {"plain colour falls back to Button Face", MakeRGB(1, 2, 3), "Button Face"},
        {"visible frame colour", kVisible, "Aero Visible"},
        {"source frame colour", kSource, "Aero Source"},
        {"system colour form matches exactly", SystemColorFlag | 8, "Window Text"},
        {"resolved value of a system colour is not matched",
         ResolveSystemColor(SystemColorFlag | 26) == ResolveSystemColor(kButtonFace)
             ? MakeRGB(1, 2, 3)
             : ResolveSystemColor(SystemColorFlag | 26),
         "Button Face"},
    };
    for (const PreselectRow& row : rows) {
        SCOPED_TRACE(row.name);
        TSystemColorsDialog dialog(row.color, frame);
        const auto entries = SystemColorEntries(frame);
        EXPECT_EQ(
            entries[static_cast<std::size_t>(SystemColorPreselection(entries, row.color))].name,
            row.selected);
        ASSERT_NE(dialog.ColorList->currentItem(), nullptr);
        EXPECT_EQ(dialog.ColorList->currentItem()->text(), row.selected);
    }
}

TEST_F(SystemColorsTest, DialogShape) {
    TSystemColorsDialog dialog(clBlack, SystemFrameColors{});
    EXPECT_EQ(dialog.windowTitle(), "System colors");
    EXPECT_EQ(dialog.ColorList->count(), 30);
    EXPECT_EQ(dialog.ColorList->item(29)->text(), "Window Text");
    EXPECT_EQ(dialog.ColorList->objectName(), "ColorList");
    EXPECT_EQ(dialog.btnOk->text(), "OK");
    EXPECT_EQ(dialog.btnCancel->text(), "Cancel");
}

TEST_F(SystemColorsTest, ListShowsTenEntriesWithoutAHorizontalScrollBar) {
    TSystemColorsDialog dialog(clBlack, SystemFrameColors{});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    TmbColorList* list = dialog.ColorList;
    list->scrollToTop();
    QApplication::processEvents();
    const QRect tenth = list->visualRect(list->model()->index(9, 0));
    EXPECT_TRUE(list->viewport()->rect().contains(tenth))
        << "tenth entry at " << tenth.y() << ".." << tenth.bottom() << ", viewport height "
        << list->viewport()->height();
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    EXPECT_EQ(tenth.width(), list->viewport()->width()) << "entries fill the width, no more";
}

// The entry "Background", fourth in the list, is the desktop's colour.
constexpr int kBackgroundRow = 3;

struct DesktopRow {
    const char* row;
    std::uint32_t desktopRgb;
};

TEST_F(SystemColorsTest, BackgroundEntryIsTheDesktopColour) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server whose root window colour can be set";
    const std::vector<DesktopRow> rows = {
        {"black desktop", 0x000000},
        {"blue-grey desktop", 0x2F4F6F},
    };
    for (const DesktopRow& row : rows) {
        SCOPED_TRACE(row.row);
        ASSERT_TRUE(SetDesktopBackgroundColor(row.desktopRgb));
        TSystemColorsDialog dialog(clBlack, SystemFrameColors{});
        ASSERT_EQ(dialog.ColorList->item(kBackgroundRow)->text(), "Background");
        dialog.ColorList->setCurrentRow(kBackgroundRow);
        EXPECT_EQ(dialog.SystemColor(), ColorFromHex(row.desktopRgb));
        EXPECT_EQ(ColorListValuesText(SystemColorFlag | 1),
                  ColorListValuesText(ColorFromHex(row.desktopRgb)));
    }
}

struct ResolveRow {
    const char* name;
    int row;
    TColor expected;
};

TEST_F(SystemColorsTest, SystemColorIsRGB) {
    const QPalette pal = QApplication::palette();
    const std::vector<ResolveRow> rows = {
        {"Button Face", 4, ToTColor(pal.color(QPalette::Active, QPalette::Button))},
        {"Window Text", 29, ToTColor(pal.color(QPalette::Active, QPalette::Text))},
        {"Highlight Background", 12, ToTColor(pal.color(QPalette::Active, QPalette::Highlight))},
        {"Aero Visible", 31, kVisible},
    };
    for (const ResolveRow& row : rows) {
        SCOPED_TRACE(row.name);
        TSystemColorsDialog dialog(clBlack, SystemFrameColors{true, kSource, kVisible});
        dialog.ColorList->setCurrentRow(row.row);
        EXPECT_EQ(dialog.SystemColor(), row.expected);
        EXPECT_FALSE(IsSystemColor(dialog.SystemColor()));
    }
}

struct CommandRow {
    const char* name;
    const char* button;
    std::optional<TColor> confirmed;
    bool applied;
};

TEST_F(SystemColorsTest, Command) {
    const TColor buttonFace = ResolveSystemColor(kButtonFace);
    const std::vector<CommandRow> rows = {
        {"OK takes the RGB of Button Face", "btnOk", buttonFace, true},
        {"web-only question snaps", "btnOk", MakeRGB(204, 204, 204), true},
        {"web-only question cancelled", "btnOk", std::nullopt, false},
        {"Cancel", "btnCancel", buttonFace, false},
    };
    for (const CommandRow& row : rows) {
        SCOPED_TRACE(row.name);
        TColor asked = clNone;
        TColor made = clNone;
        ModalDriver driver;
        driver.Then(Press<TSystemColorsDialog>(row.button));
        const bool result = RunSystemColorCommand(
            nullptr, MakeRGB(1, 2, 3),
            [&](TColor c) {
                asked = c;
                return row.confirmed;
            },
            [&](TColor c) { made = c; });
        EXPECT_TRUE(driver.Done());
        EXPECT_EQ(result, row.applied);
        if (row.applied) {
            EXPECT_EQ(asked, buttonFace);
            EXPECT_EQ(made, *row.confirmed);
        } else {
            EXPECT_EQ(made, clNone);
        }
    }
}

} // namespace
} // namespace chromint
