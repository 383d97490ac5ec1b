#include "PaletteModel.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace chromint {
namespace {

struct StringRow {
    const char* name;
    const char* text;
    std::optional<TColor> expected;
};

TEST(ColorStringTest, ReadsNamesIntegersAndMarkers) {
    const std::vector<StringRow> rows = {
        {"own form", "$00FF8000", 0x00FF8000},
        {"lower-case hex", "$00ff8000", 0x00FF8000},
        {"decimal", "255", 0xFF},
        {"negative decimal is the bit pattern", "-1", 0xFFFFFFFF},
        {"C hex", "0x10", 0x10},
        {"blanks removed", " $00 00 FF ", 0xFF},
        {"standard name", "clAqua", 0xFFFF00},
        {"name case ignored", "CLRED", 0x0000FF},
        {"empty colour", "clNone", clNone},
        {"custom marker", "clCustom", clCustom},
        {"transparent marker", "cltransparent", clTransparent},
        {"marker with blanks", "cl Custom", clCustom},
        {"nine hex digits overflow", "$100000000", std::nullopt},
        {"decimal beyond 32 bits", "2147483648", std::nullopt},
        {"lowest decimal", "-2147483648", 0x80000000},
        {"word", "orange", std::nullopt},
        {"empty", "", std::nullopt},
        {"lone dollar", "$", std::nullopt},
        {"hex digit in decimal", "12a", std::nullopt},
    };
    for (const StringRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(TryStringToColor(QString::fromUtf8(row.text)), row.expected);
    }
}

TEST(ColorStringTest, NotAColourThrowsWithItsText) {
    try {
        StringToColor(QStringLiteral("orange"));
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'orange' is not a valid integer value"));
    }
}

TEST(ColorStringTest, EveryStandardNameReadsBackToItsValue) {
    int count = 0;
    const ColorName* names = StandardColorNames(&count);
    ASSERT_GT(count, 0);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(names[i].name);
        EXPECT_EQ(ColorToString(names[i].color), QString::fromLatin1(names[i].name));
        EXPECT_EQ(StringToColor(ColorToString(names[i].color)), names[i].color);
    }
}

TEST(ColorStringTest, OtherColoursAsEightHexDigits) {
    EXPECT_EQ(ColorToString(0x0080FF), QStringLiteral("$000080FF"));
    EXPECT_EQ(ColorToString(0x00123456), QStringLiteral("$00123456"));
    EXPECT_EQ(ColorToString(clCustom), QStringLiteral("$2FFFFFFF"));
    EXPECT_EQ(ColorToCode(MakeRGB(255, 128, 0)), QStringLiteral("$000080FF"));
}

struct LayoutRow {
    const char* name;
    int width, height, cellSize;
    bool autoHeight;
    int count;
    PaletteLayout expected;
};

TEST(PaletteLayoutTest, ColumnsRowsAndSize) {
    const std::vector<LayoutRow> rows = {
        {"favourites strip", 342, 100, 19, true, 36, {18, 2, 342, 38}},
        {"default size", 180, 126, 18, false, 0, {10, 7, 180, 126}},
        {"shrinks to whole cells", 185, 40, 18, false, 5, {10, 2, 180, 40}},
        {"remainder adds a row", 342, 10, 19, true, 37, {18, 3, 342, 57}},
        {"empty list with auto height is one cell high", 342, 100, 19, true, 0, {18, 1, 342, 19}},
        {"zero height becomes one cell", 100, 0, 10, false, 3, {10, 1, 100, 10}},
        {"palette page", 288, 10, 16, true, 256, {18, 15, 288, 240}},
        {"narrower than a cell keeps its width", 10, 30, 18, true, 4, {0, 1, 10, 30}},
    };
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(row.name);
        const PaletteLayout got =
            ComputePaletteLayout(row.width, row.height, row.cellSize, row.autoHeight, row.count);
        EXPECT_EQ(got.colCount, row.expected.colCount);
        EXPECT_EQ(got.rowCount, row.expected.rowCount);
        EXPECT_EQ(got.width, row.expected.width);
        EXPECT_EQ(got.height, row.expected.height);
    }
}

TEST(PaletteLayoutTest, CellRectanglesRowByRow) {
    EXPECT_EQ(PaletteCellRect(0, 18, 19), QRect(0, 0, 19, 19));
    EXPECT_EQ(PaletteCellRect(17, 18, 19), QRect(323, 0, 19, 19));
    EXPECT_EQ(PaletteCellRect(18, 18, 19), QRect(0, 19, 19, 19));
    EXPECT_TRUE(PaletteCellRect(3, 0, 19).isNull());
}

struct HitRow {
    const char* name;
    QPoint p;
    int colCount, cellSize, totalCells;
    int expected;
};

TEST(PaletteHitTest, CellUnderPoint) {
    const std::vector<HitRow> rows = {
        {"first cell", {0, 0}, 18, 19, 35, 0},
        {"last pixel of first cell", {18, 18}, 18, 19, 35, 0},
        {"second row", {19 * 2 + 5, 19 + 1}, 18, 19, 35, 20},
        {"last cell", {341, 37}, 18, 19, 35, 35},
        {"beyond the last cell", {100, 19}, 18, 19, 20, -1},
        {"right of the columns", {342, 0}, 18, 19, 35, -1},
        {"left of the control", {-1, 5}, 18, 19, 35, -1},
        {"above the control", {5, -1}, 18, 19, 35, -1},
        {"no columns", {0, 0}, 0, 19, 35, -1},
        {"empty list", {0, 0}, 18, 19, -1, -1},
    };
    for (const HitRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PaletteCellAt(row.p, row.colCount, row.cellSize, row.totalCells), row.expected);
    }
}

struct ArrowRow {
    const char* name;
    ArrowKey key;
    int selected, colCount, totalCells;
    std::optional<int> expected;
};

TEST(PaletteArrowTest, MovesAsTheGridAlwaysHas) {
    const std::vector<ArrowRow> rows = {
        {"left", ArrowKey::Left, 5, 18, 35, 4},
        {"left on 0 wraps to the last", ArrowKey::Left, 0, 18, 35, 35},
        {"right", ArrowKey::Right, 5, 18, 35, 6},
        {"right on the last wraps to 0", ArrowKey::Right, 35, 18, 35, 0},
        {"up", ArrowKey::Up, 20, 18, 35, 2},
        {"up on 0 of the strip", ArrowKey::Up, 0, 18, 35, 17},
        {"up on 5 of the strip", ArrowKey::Up, 5, 18, 35, 22},
        {"up with a short last row", ArrowKey::Up, 10, 18, 29, 27},
        {"up past the short last row", ArrowKey::Up, 15, 18, 29, 14},
        {"up on a single full row clears", ArrowKey::Up, 0, 18, 17, -1},
        {"up with nothing selected", ArrowKey::Up, -1, 18, 35, 16},
        {"down", ArrowKey::Down, 2, 18, 35, 20},
        {"down on the last of the strip", ArrowKey::Down, 35, 18, 35, 18},
        {"down on 20 of the strip", ArrowKey::Down, 20, 18, 35, 3},
        {"down with nothing selected", ArrowKey::Down, -1, 18, 35, 17},
        {"down beyond a tiny grid becomes 0", ArrowKey::Down, 5, 18, 5, 0},
        {"left with nothing selected", ArrowKey::Left, -1, 18, 35, 35},
        {"right with nothing selected", ArrowKey::Right, -1, 18, 35, 0},
        {"no columns does nothing", ArrowKey::Up, 3, 0, 35, std::nullopt},
        {"no cells does nothing", ArrowKey::Left, -1, 18, -1, std::nullopt},
    };
    for (const ArrowRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PaletteArrowMove(row.key, row.selected, row.colCount, row.totalCells),
                  row.expected);
    }
}

QStringList L(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* s : items)
        out.append(QString::fromUtf8(s));
    return out;
}

TEST(PaletteListTest, AddPadsNamesSoTheNameLandsOnItsCell) {
    TPaletteList list;
    list.SetColors(L({"$00000001", "$00000002"}));
    list.AddColor(QStringLiteral("third"), QStringLiteral("$00000003"));
    EXPECT_EQ(list.Names(), L({"", "", "third"}));
    EXPECT_EQ(list.NameAt(2), QStringLiteral("third"));
    EXPECT_EQ(list.NameAt(7), QString());
}

TEST(PaletteListTest, InsertPadsThenInsertsAtTheIndex) {
    TPaletteList list;
    list.SetColors(L({"a", "b", "c"}));
    list.InsertColor(1, QStringLiteral("new"), QStringLiteral("x"));
    EXPECT_EQ(list.Colors(), L({"a", "x", "b", "c"}));
    EXPECT_EQ(list.Names(), L({"", "new", "", ""}));
    list.InsertColor(99, QStringLiteral("end"), QStringLiteral("z"));
    EXPECT_EQ(list.Colors().back(), QStringLiteral("z"));
    EXPECT_EQ(list.NameAt(4), QStringLiteral("end"));
}

TEST(PaletteListTest, DeleteTakesTheNameOnlyWhenThereIsOne) {
    TPaletteList list;
    list.SetColors(L({"a", "b", "c"}));
    list.SetNames(L({"na"}));
    EXPECT_TRUE(list.DeleteColor(2));
    EXPECT_EQ(list.Names(), L({"na"}));
    EXPECT_TRUE(list.DeleteColor(0));
    EXPECT_EQ(list.Colors(), L({"b"}));
    EXPECT_TRUE(list.Names().isEmpty());
    EXPECT_FALSE(list.DeleteColor(5));
    EXPECT_FALSE(list.DeleteColor(-1));
}

TEST(PaletteListTest, ClearNamesOnlyWhenSomeNameIsSet) {
    TPaletteList list;
    list.SetColors(L({"a", "b"}));
    list.SetNames(L({"", ""}));
    EXPECT_FALSE(list.ClearNames());
    list.SetNames(L({"", "x"}));
    EXPECT_TRUE(list.ClearNames());
    EXPECT_EQ(list.Names(), L({"", ""}));
}

TEST(PaletteListTest, MoveColorCarriesItsName) {
    TPaletteList list;
    list.SetColors(L({"a", "b", "c"}));
    list.SetNames(L({"A"}));
    EXPECT_TRUE(list.MoveColor(0, 2));
    EXPECT_EQ(list.Colors(), L({"b", "c", "a"}));
    EXPECT_EQ(list.Names(), L({"", "", "A"}));
    EXPECT_FALSE(list.MoveColor(1, 1));
    EXPECT_FALSE(list.MoveColor(3, 0));
    EXPECT_FALSE(list.MoveColor(0, -1));
}

TEST(PaletteListTest, MinAndMaxColors) {
    TPaletteList list;
    list.SetMaxColors(3);
    list.SetColors(L({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(list.Colors(), L({"a", "b", "c"}));
    list.SetMinColors(5);
    EXPECT_EQ(list.MinColors(), 3) << "limited by MaxColors";
    list.SetMaxColors(0);
    list.SetMinColors(5);
    EXPECT_EQ(list.Colors(), L({"a", "b", "c", "clNone", "clNone"}));
    list.SetColors(L({"x"}));
    EXPECT_EQ(list.Colors(), L({"x", "$00000000", "$00000000", "$00000000", "$00000000"}));
    list.SetMaxColors(2);
    EXPECT_EQ(list.MinColors(), 2);
    EXPECT_EQ(list.Count(), 2);
    list.SetMaxColors(-4);
    EXPECT_EQ(list.MaxColors(), 0);
}

TEST(PaletteListTest, FirstMatchIgnoringCase) {
    TPaletteList list;
    list.SetColors(L({"$00ABCDEF", "$00abcdef", "$00000000"}));
    EXPECT_EQ(list.IndexOfText(QStringLiteral("$00abcdef")), 0);
    EXPECT_EQ(list.IndexOfText(QStringLiteral("$00000000")), 2);
    EXPECT_EQ(list.IndexOfText(QStringLiteral("$00FFFFFF")), -1);
}

} // namespace
} // namespace chromint
