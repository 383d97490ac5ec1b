#include "Favourites.h"
#include "ColorOperations.h"
#include "PaletteModel.h"
#include "PalettePage.h"
#include "mbColorPalette.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace chromint {
namespace {

TColor Grey(int g) {
    return MakeRGB(static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(g),
                   static_cast<std::uint8_t>(g));
}

TEST(FavouritesTest, BuiltInGreyRamp) {
    const QStringList ramp = DefaultFavourites();
    ASSERT_EQ(ramp.size(), 36);
    const int expected[] = {0, 7, 15, 22, 29, 36, 44, 51};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ramp[i], ColorToCode(Grey(expected[i]))) << "cell " << i;
    EXPECT_EQ(ramp[33], QStringLiteral("$00F0F0F0"));
    EXPECT_EQ(ramp[34], QStringLiteral("$00F8F8F8"));
    EXPECT_EQ(ramp[35], QStringLiteral("$00FFFFFF"));
}

TEST(FavouritesTest, StripShape) {
    TmbColorPalette grid;
    SetupFavouritesGrid(grid);
    EXPECT_EQ(grid.width(), 342);
    EXPECT_EQ(grid.height(), 38);
    EXPECT_EQ(grid.ColCount(), 18);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Colors(), DefaultFavourites());
    EXPECT_EQ(grid.MinColors(), 36);
    EXPECT_EQ(grid.MaxColors(), 36);
}

TEST(FavouritesTest, StoredListReplacesTheGreysAndIsKeptAt36) {
    TmbColorPalette grid;
    SetupFavouritesGrid(grid);
    LoadFavourites(grid, {});
    EXPECT_EQ(grid.Colors(), DefaultFavourites()) << "nothing stored keeps the greys";
    LoadFavourites(grid, {QStringLiteral("$000000FF"), QStringLiteral("$0000FF00")});
    ASSERT_EQ(grid.Colors().size(), 36);
    EXPECT_EQ(grid.Colors()[1], QStringLiteral("$0000FF00"));
    EXPECT_EQ(grid.Colors()[2], QStringLiteral("$00000000"));
    QStringList long40;
    for (int i = 0; i < 40; ++i)
        long40.append(ColorToCode(Grey(i)));
    LoadFavourites(grid, long40);
    EXPECT_EQ(FavouritesForSettings(grid), long40.mid(0, 36));
}

TEST(FavouritesTest, FiveNewColoursGoFirstAndTheLightestGreysDrop) {
    TmbColorPalette grid;
    SetupFavouritesGrid(grid);
    const std::vector<TColor> added = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF};
    for (const TColor c : added)
        EXPECT_TRUE(AddToFavourites(grid, c));
    const QStringList& favs = grid.Colors();
    ASSERT_EQ(favs.size(), 36);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(favs[i], ColorToCode(added[4 - i])) << "newest first, cell " << i;
    EXPECT_EQ(favs.mid(5), DefaultFavourites().mid(0, 31));
    EXPECT_EQ(grid.SelectedCell(), 0);
}

// An imported palette goes first, each colour once; the old strip follows, cut to 36 cells.
TEST(FavouritesTest, ImportedColoursGoFirst) {
    const QStringList greys = DefaultFavourites();
    struct Row {
        const char* name;
        std::vector<TColor> imported;
        int taken;
        QStringList expectedStart;
        QStringList expectedRest;
    };
    std::vector<TColor> forty;
    for (int i = 0; i < 40; ++i)
        forty.push_back(MakeRGB(static_cast<std::uint8_t>(i), 1, 2));
    const Row rows[] = {
        {"two",
         {0x0000FF, 0x00FF00},
         2,
         {ColorToCode(0x0000FF), ColorToCode(0x00FF00)},
         greys.mid(0, 34)},
        {"repeats once", {0x0000FF, 0x0000FF}, 1, {ColorToCode(0x0000FF)}, greys.mid(0, 35)},
        {"a grey moves to the front", {Grey(0)}, 1, {greys[0]}, greys.mid(1, 35)},
        {"forty keeps the first 36", forty, 36, {ColorToCode(forty[0])}, {ColorToCode(forty[35])}},
    };
    for (const Row& row : rows) {
        int taken = -1;
        const QStringList strip = FavouritesAfterImport(greys, row.imported, &taken);
        EXPECT_EQ(taken, row.taken) << row.name;
        ASSERT_EQ(strip.size(), 36) << row.name;
        EXPECT_EQ(strip.mid(0, row.expectedStart.size()), row.expectedStart) << row.name;
        EXPECT_EQ(strip.mid(36 - row.expectedRest.size()), row.expectedRest) << row.name;
    }
}

TEST(FavouritesTest, AddingAFavouriteAgainOnlySelectsIt) {
    TmbColorPalette grid;
    SetupFavouritesGrid(grid);
    EXPECT_FALSE(AddToFavourites(grid, Grey(22)));
    EXPECT_EQ(grid.SelectedCell(), 3);
    EXPECT_EQ(grid.Colors(), DefaultFavourites());
}

TEST(FavouritesTest, IsFavouriteIgnoresTheCaseOfTheDigits) {
    EXPECT_TRUE(IsFavourite({QStringLiteral("$00abcdef")}, 0xABCDEF))
        << "lower-case digits from a hand-edited file still match";
    EXPECT_TRUE(IsFavourite(DefaultFavourites(), Grey(255)));
    EXPECT_FALSE(IsFavourite(DefaultFavourites(), Grey(1)));
}

TEST(FavouritesTest, SelectionFollowsTheFirstEqualFavourite) {
    TmbColorPalette grid;
    SetupFavouritesGrid(grid);
    QStringList favs = DefaultFavourites();
    favs[10] = favs[20] = QStringLiteral("$000000FF");
    grid.SetColors(favs);
    grid.SetSelectedColor(0x0000FF);
    EXPECT_EQ(grid.SelectedCell(), 10);
    grid.SetSelectedColor(0x010203);
    EXPECT_EQ(grid.SelectedCell(), -1);
    EXPECT_EQ(grid.SelectedColor(), 0x010203u) << "nothing selected gives the last colour";
}

TEST(FavouritesTest, RandomPickNeverTheSelectedCell) {
    RandomSource random(12345);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const auto pick = PickRandomFavourite(36, 3, random);
        ASSERT_TRUE(pick.has_value());
        ASSERT_NE(*pick, 3);
        ASSERT_GE(*pick, 0);
        ASSERT_LT(*pick, 36);
        seen.insert(*pick);
    }
    EXPECT_EQ(seen.size(), 35u);
    seen.clear();
    for (int i = 0; i < 2000; ++i)
        seen.insert(*PickRandomFavourite(36, -1, random));
    EXPECT_EQ(seen.size(), 36u) << "with nothing selected every cell comes up";
    EXPECT_EQ(PickRandomFavourite(1, 0, random), 0);
    EXPECT_EQ(PickRandomFavourite(0, -1, random), std::nullopt);
    EXPECT_EQ(PickRandomFavourite(2, 1, random), 0);
}

TEST(FavouritesTest, FromFavouritesSelectsThePickedCell) {
    TmbColorPalette grid;
    SetupFavouritesGrid(grid);
    grid.SetSelectedCell(3);
    RandomSource random(7);
    for (int i = 0; i < 50; ++i) {
        const int before = grid.SelectedCell();
        const auto pick = PickFromFavourites(grid, random);
        ASSERT_TRUE(pick.has_value());
        EXPECT_NE(pick->index, before);
        EXPECT_EQ(grid.SelectedCell(), pick->index);
        EXPECT_EQ(pick->color, StringToColor(grid.Colors()[pick->index]));
    }
    QStringList odd = DefaultFavourites();
    odd[0] = QStringLiteral("clAqua"); // not in "$00BBGGRR" form
    grid.SetColors(odd.mid(0, 1) + QStringList(35, QStringLiteral("$00000000")));
    grid.SetSelectedCell(1);
    RandomSource fixed(0);
    std::optional<FavouritePick> pick;
    for (int tries = 0; tries < 1000 && !(pick && pick->index == 0); ++tries)
        pick = PickFromFavourites(grid, fixed);
    ASSERT_TRUE(pick.has_value() && pick->index == 0);
    EXPECT_EQ(pick->color, clNone) << "then the click rule makes it black";
    TmbColorPalette empty;
    EXPECT_EQ(PickFromFavourites(empty, fixed).has_value(), false);
}

struct ClickRow {
    const char* name;
    int index;
    TColor color;
    bool webOnly;
    std::optional<TColor> expected;
};

TEST(FavouritesTest, CellClickColour) {
    const std::vector<ClickRow> rows = {
        {"no cell", -1, 0x123456, false, std::nullopt},
        {"plain colour", 4, 0x123456, false, 0x123456},
        {"empty cell is black", 4, clNone, false, clBlack},
        {"empty cell is black in web-only mode", 4, clNone, true, clBlack},
        {"custom marker is black", 4, clCustom, false, clBlack},
        {"web-only grey 7 is black", 1, Grey(7), true, Grey(0)},
        {"web-only grey 248 is 204", 34, Grey(248), true, Grey(204)},
        {"web-safe colour kept in web-only mode", 2, Grey(51), true, Grey(51)},
        {"not snapped outside web-only mode", 1, Grey(7), false, Grey(7)},
    };
    for (const ClickRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PaletteCellClickColor(row.index, row.color, row.webOnly), row.expected);
    }
}

TEST(PalettePageTest, MenuHasEveryItemAndSeparator) {
    QWidget parent;
    QMenu* menu = CreatePaletteMenu(&parent);
    auto caption = [](QAction* a) { return a->isSeparator() ? QStringLiteral("-") : a->text(); };
    QStringList top;
    for (QAction* a : menu->actions())
        top.append(caption(a));
    EXPECT_EQ(top, (QStringList{"New", "Save", "-", "Import...", "Import swatches...", "-",
                                "Export...", "-", "Edit swatch...", "Move swatch...", "-",
                                "Remove swatch", "Clear duplicates", "Clear names", "-",
                                "Rename...", "Choose random one", "-", "Remove"}));
    auto* newMenu = menu->findChild<QMenu*>(QStringLiteral("miNewSwatch"));
    ASSERT_NE(newMenu, nullptr);
    QStringList sub;
    for (QAction* a : newMenu->actions())
        sub.append(caption(a));
    EXPECT_EQ(sub, (QStringList{"Empty...", "-", "Colors mixer...", "Color harmony...", "-",
                                "Color blindness", "-", "From image...", "From system", "-",
                                "Random..."}));
}

TEST(PalettePageTest, HiddenPageControls) {
    QWidget page;
    const SwatchesPage p = CreateSwatchesPage(&page);
    EXPECT_FALSE(p.cbPalette->isEnabled());
    EXPECT_EQ(p.cbPalette->count(), 0);
    EXPECT_EQ(p.cbPalette->maxVisibleItems(), 16);
    EXPECT_FALSE(p.btnPalette->isEnabled());
    EXPECT_EQ(p.btnPalette->menu(), p.PaletteMenu);
    EXPECT_EQ(p.btnPreviousPalette->toolTip(), QStringLiteral("Previous palette"));
    EXPECT_EQ(p.btnNextPalette->toolTip(), QStringLiteral("Next palette"));
    EXPECT_EQ(p.ScrollBox->size(), QSize(299, 227));
    EXPECT_EQ(p.Palette->CellStyle(), csCorel);
    EXPECT_EQ(p.Palette->CellSize(), 16);
    EXPECT_TRUE(p.Palette->AutoHeight());
    EXPECT_EQ(p.Palette->width(), 288);
    EXPECT_TRUE(p.Palette->Colors().isEmpty());
    EXPECT_FALSE(StepPaletteSelector(*p.cbPalette, +1)) << "empty selector";
    EXPECT_FALSE(StepPaletteSelector(*p.cbPalette, -1));
}

TEST(PalettePageTest, SelectorStepsWithinItsItems) {
    QComboBox box;
    box.addItems({"a", "b", "c"});
    box.setCurrentIndex(0);
    EXPECT_FALSE(StepPaletteSelector(box, -1));
    EXPECT_TRUE(StepPaletteSelector(box, +1));
    EXPECT_TRUE(StepPaletteSelector(box, +1));
    EXPECT_EQ(box.currentIndex(), 2);
    EXPECT_FALSE(StepPaletteSelector(box, +1));
    EXPECT_EQ(box.currentIndex(), 2);
}

} // namespace
} // namespace chromint
