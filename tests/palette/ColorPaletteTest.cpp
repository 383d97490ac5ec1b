#include "../controls/WidgetTestSupport.h"
#include "ColorPreviewLayout.h"
#include "Favourites.h"
#include "FocusFrame.h"
#include "PaletteModel.h"
#include "TestRows.h"
#include "mbColorPalette.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace chromint {
namespace {

struct Click {
    int index;
    TColor color;
};

class ColorPaletteTest : public ::testing::Test {
protected:
    // The favourites strip, shown and exposed: 18 columns of 19-pixel cells, 2 rows.
    std::unique_ptr<TmbColorPalette> ShownStrip() {
        auto grid = std::make_unique<TmbColorPalette>();
        SetupFavouritesGrid(*grid);
        grid->show();
        // On a real X server the pointer and the keyboard focus follow the active window.
        grid->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(grid.get()));
        QObject::connect(grid.get(), &TmbColorPalette::cellClick, grid.get(),
                         [this](Qt::MouseButton, Qt::KeyboardModifiers, int index, TColor color,
                                bool* dontCheck) {
                             clicks_.push_back({index, color});
                             *dontCheck = dontCheck_;
                         });
        return grid;
    }

    static QPoint Centre(const TmbColorPalette& grid, int index) {
        return grid.CellRect(index).center();
    }

    static TColor PixelAt(QWidget& widget, QPoint p) {
        const QPixmap shot = widget.grab();
        const qreal ratio = shot.devicePixelRatio();
        return ToTColor(shot.toImage().pixelColor(static_cast<int>(std::lround(p.x() * ratio)),
                                                  static_cast<int>(std::lround(p.y() * ratio))));
    }

    std::vector<Click> clicks_;
    bool dontCheck_ = false;
};

TEST_F(ColorPaletteTest, ClickSelectsTheCellAndReportsItsColour) {
    auto grid = ShownStrip();
    QSignalSpy selChanges(grid.get(), &TmbColorPalette::selColorChange);
    QTest::mouseClick(grid.get(), Qt::LeftButton, {}, Centre(*grid, 20));
    EXPECT_EQ(grid->SelectedCell(), 20);
    ASSERT_EQ(clicks_.size(), 1u);
    EXPECT_EQ(clicks_[0].index, 20);
    EXPECT_EQ(clicks_[0].color, StringToColor(DefaultFavourites()[20]));
    EXPECT_EQ(selChanges.count(), 1);
    EXPECT_TRUE(grid->hasFocus());
}

TEST_F(ColorPaletteTest, ClickOnEmptySpaceReportsTheSelectionAgain) {
    auto grid = std::make_unique<TmbColorPalette>();
    grid->SetCellSize(19);
    grid->SetAutoHeight(true);
    grid->resize(342, 10);
    grid->SetColors(DefaultFavourites().mid(0, 20)); // the second row ends after cell 19
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    std::vector<Click> clicks;
    QObject::connect(grid.get(), &TmbColorPalette::cellClick, grid.get(),
                     [&](Qt::MouseButton, Qt::KeyboardModifiers, int index, TColor color, bool*) {
                         clicks.push_back({index, color});
                     });
    const QPoint empty = grid->CellRect(30).center();
    QTest::mouseClick(grid.get(), Qt::LeftButton, {}, empty);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].index, -1) << "nothing selected";
    EXPECT_EQ(clicks[0].color, clNone);
    QTest::mouseClick(grid.get(), Qt::LeftButton, {}, grid->CellRect(5).center());
    QTest::mouseClick(grid.get(), Qt::LeftButton, {}, empty);
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[2].index, 5);
    EXPECT_EQ(grid->SelectedCell(), 5);
}

TEST_F(ColorPaletteTest, DontCheckPutsTheSelectionBack) {
    auto grid = ShownStrip();
    QTest::mouseClick(grid.get(), Qt::LeftButton, {}, Centre(*grid, 2));
    dontCheck_ = true;
    QTest::mouseClick(grid.get(), Qt::LeftButton, {}, Centre(*grid, 9));
    EXPECT_EQ(clicks_.back().index, 9) << "the handler sees the clicked cell";
    EXPECT_EQ(grid->SelectedCell(), 2);
}

TEST_F(ColorPaletteTest, DontCheckOnTheSelectedCellKeepsIt) {
    // A press on the selected cell must not leave an older selection to return to.
    auto grid = ShownStrip();
    QTest::mouseClick(grid.get(), Qt::LeftButton, {}, Centre(*grid, 2));
    QTest::mouseClick(grid.get(), Qt::LeftButton, {}, Centre(*grid, 7));
    dontCheck_ = true;
    QTest::mouseClick(grid.get(), Qt::LeftButton, {}, Centre(*grid, 7));
    EXPECT_EQ(grid->SelectedCell(), 7);
}

TEST_F(ColorPaletteTest, RightClickIsNoCellClick) {
    auto grid = ShownStrip();
    QTest::mouseClick(grid.get(), Qt::RightButton, {}, Centre(*grid, 4));
    EXPECT_TRUE(clicks_.empty());
    EXPECT_EQ(grid->SelectedCell(), -1);
}

struct KeyRow {
    const char* name;
    int start;
    Qt::Key key;
    int expected;
};

TEST_F(ColorPaletteTest, ArrowKeysOnTheStrip) {
    auto grid = ShownStrip();
    grid->setFocus();
    const std::vector<KeyRow> rows = {
        {"up on 0", 0, Qt::Key_Up, 17},
        {"down on 35", 35, Qt::Key_Down, 18},
        {"left on 0", 0, Qt::Key_Left, 35},
        {"right on 35", 35, Qt::Key_Right, 0},
        {"down on 3", 3, Qt::Key_Down, 21},
        {"up on 21", 21, Qt::Key_Up, 3},
        {"up with nothing selected", -1, Qt::Key_Up, 16},
        {"down with nothing selected", -1, Qt::Key_Down, 17},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.name);
        grid->SetSelectedCell(row.start);
        QSignalSpy arrows(grid.get(), &TmbColorPalette::arrowKey);
        QSignalSpy selChanges(grid.get(), &TmbColorPalette::selColorChange);
        QTest::keyClick(grid.get(), row.key);
        EXPECT_EQ(grid->SelectedCell(), row.expected);
        ASSERT_EQ(arrows.count(), 1);
        EXPECT_EQ(arrows[0][0].toInt(), int(row.key));
        EXPECT_EQ(selChanges.count(), 1);
    }
}

TEST_F(ColorPaletteTest, UpOnASingleRowClearsTheSelection) {
    auto grid = std::make_unique<TmbColorPalette>();
    grid->resize(180, 18);
    grid->SetColors(DefaultFavourites().mid(0, 10));
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    grid->setFocus();
    grid->SetSelectedCell(0);
    QTest::keyClick(grid.get(), Qt::Key_Up);
    EXPECT_EQ(grid->SelectedCell(), -1);
}

TEST_F(ColorPaletteTest, ArrowsOnAnEmptyGridDoNothing) {
    auto grid = std::make_unique<TmbColorPalette>();
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    grid->setFocus();
    QSignalSpy arrows(grid.get(), &TmbColorPalette::arrowKey);
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
        QTest::keyClick(grid.get(), key);
    EXPECT_EQ(arrows.count(), 0);
    EXPECT_EQ(grid->SelectedCell(), -1);
}

TEST_F(ColorPaletteTest, EnterAndSpaceReportTheSelection) {
    auto grid = ShownStrip();
    grid->setFocus();
    QSignalSpy selChanges(grid.get(), &TmbColorPalette::selColorChange);
    QTest::keyClick(grid.get(), Qt::Key_Return);
    QTest::keyClick(grid.get(), Qt::Key_Space);
    EXPECT_EQ(selChanges.count(), 2);
}

TEST_F(ColorPaletteTest, PaintsCellsAndGaps) {
    auto grid = std::make_unique<TmbColorPalette>();
    grid->resize(4 * 18, 18);
    grid->SetColors({QStringLiteral("$000000FF"), QString(), QStringLiteral("clLime"),
                     QStringLiteral("clCustom")});
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    const TColor face = ToTColor(grid->palette().color(QPalette::Window));
    EXPECT_EQ(PixelAt(*grid, Centre(*grid, 0)), 0x0000FFu);
    EXPECT_EQ(PixelAt(*grid, Centre(*grid, 1)), face) << "an empty entry is a gap";
    EXPECT_EQ(PixelAt(*grid, Centre(*grid, 2)), 0x00FF00u);
    EXPECT_EQ(PixelAt(*grid, Centre(*grid, 3)), face) << "a custom cell shows only its frame";
    EXPECT_EQ(PixelAt(*grid, {1, 1}), face) << "default cells are inset";
    grid->setEnabled(false);
    EXPECT_EQ(PixelAt(*grid, Centre(*grid, 0)), 0x808080u);
    EXPECT_EQ(PixelAt(*grid, Centre(*grid, 1)), face);
}

TEST_F(ColorPaletteTest, CorelCellsFillTheirSquare) {
    auto grid = std::make_unique<TmbColorPalette>();
    grid->SetCellStyle(csCorel);
    grid->resize(2 * 16, 16);
    grid->SetCellSize(16);
    grid->SetColors({QStringLiteral("$00FF0000"), QStringLiteral("clTransparent")});
    grid->SetTransparentStyle(tsPhotoshop);
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    EXPECT_EQ(PixelAt(*grid, {0, 0}), 0xFF0000u) << "edge to edge when not selected";
    EXPECT_EQ(PixelAt(*grid, {16, 0}), 0xFFFFFFu) << "checker's white square";
    EXPECT_EQ(PixelAt(*grid, {20, 0}), 0xC0C0C0u) << "checker's silver square";
    grid->SetSelectedCell(0);
    EXPECT_EQ(PixelAt(*grid, {8, 8}), 0xFF0000u);
    EXPECT_NE(PixelAt(*grid, {0, 0}), 0xFF0000u) << "a selected cell gets a frame";
}

struct FocusRow {
    const char* row;
    int selected;
    TCellStyle style;
};
CHROMINT_PRINT_ROW(FocusRow, row)

TEST_F(ColorPaletteTest, FocusFrameShowsRoundTheSelectedCellOnly) {
    const std::vector<FocusRow> rows = {
        {"selected cell", 5, csDefault},
        {"selected cell, Corel style", 2, csCorel},
        {"no selection: the whole grid", -1, csDefault},
    };
    for (const FocusRow& row : rows) {
        SCOPED_TRACE(row.row);
        auto grid = std::make_unique<TmbColorPalette>();
        grid->SetCellStyle(row.style);
        grid->SetCellSize(24);
        grid->resize(4 * 24, 2 * 24);
        QStringList colors;
        for (int i = 0; i < 8; ++i)
            colors << QStringLiteral("$00%1").arg(0x102030 * (i + 1), 6, 16, QLatin1Char('0'));
        grid->SetColors(colors);
        grid->SetSelectedCell(row.selected);
        grid->show();
        grid->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(grid.get()));
        const QRect frame = row.selected >= 0 ? grid->CellRect(row.selected) : grid->rect();
        const auto [inFrame, elsewhere] = test::ChangeOnFocus(*grid, frame, FocusFrameWidth);
        EXPECT_GT(inFrame, 0) << "the frame shows";
        EXPECT_EQ(elsewhere, 0) << "the cells keep their colours";
        if (row.selected >= 0) {
            EXPECT_EQ(PixelAt(*grid, Centre(*grid, row.selected)), grid->SelectedColor());
        }
    }
}

TEST_F(ColorPaletteTest, OwnPaintingOfACell) {
    auto grid = std::make_unique<TmbColorPalette>();
    grid->resize(36, 18);
    grid->SetColors({QStringLiteral("$000000FF"), QStringLiteral("$000000FF")});
    grid->OnPaintCell = [](QPainter& p, const QRect& r, TColor, int index, TColorCellState,
                           TCellStyle, bool& handled) {
        if (index == 1) {
            p.fillRect(r, Qt::blue);
            handled = true;
        }
    };
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    EXPECT_EQ(PixelAt(*grid, Centre(*grid, 0)), 0x0000FFu);
    EXPECT_EQ(PixelAt(*grid, {18, 0}), 0xFF0000u);
}

TEST_F(ColorPaletteTest, HintsByPrecedence) {
    TmbColorPalette grid;
    grid.SetColors({QStringLiteral("$000080FF"), QStringLiteral("clCustom"),
                    QStringLiteral("clTransparent"), QStringLiteral("$00000000"), QString()});
    grid.SetColorNames({QString(), QString(), QString(), QStringLiteral("Coal")});
    EXPECT_EQ(grid.HintForCell(0), QStringLiteral("RGB(255, 128, 0)\rHex: #FF8000"));
    EXPECT_EQ(grid.HintForCell(1), QStringLiteral("Custom"));
    EXPECT_EQ(grid.HintForCell(2), QStringLiteral("Transparent"));
    EXPECT_EQ(grid.HintForCell(3), QStringLiteral("Coal"));
    EXPECT_EQ(grid.HintForCell(4), QString()) << "a gap has no hint";
    EXPECT_EQ(grid.HintForCell(9), QString());
    grid.OnGetHintText = [](TColor color, int index, QString& hint, bool& handled) {
        if (index == 3) {
            hint = QStringLiteral("mine %1").arg(color);
            handled = true;
        }
    };
    EXPECT_EQ(grid.HintForCell(3), QStringLiteral("mine 0"));
    EXPECT_EQ(grid.HintForCell(1), QStringLiteral("Custom"));
}

TEST_F(ColorPaletteTest, ListChangesRaiseColorsChange) {
    TmbColorPalette grid;
    QSignalSpy changes(&grid, &TmbColorPalette::colorsChange);
    grid.AddColor(QStringLiteral("a"), QStringLiteral("$00000001"));
    grid.InsertColor(0, QString(), QStringLiteral("$00000002"));
    grid.SetSelectedCell(1);
    EXPECT_TRUE(grid.MoveColor(1, 0));
    EXPECT_EQ(grid.SelectedCell(), 0) << "a selected grid follows the moved cell";
    grid.DeleteColor(0);
    grid.DeleteColor(0);
    EXPECT_EQ(grid.SelectedCell(), -1) << "an emptied grid selects nothing";
    EXPECT_EQ(grid.TotalCells(), -1);
    EXPECT_EQ(changes.count(), 5);
    EXPECT_FALSE(grid.ClearColors());
}

TEST_F(ColorPaletteTest, SelectedCellOutOfRangeSelectsNothing) {
    TmbColorPalette grid;
    grid.SetColors({QStringLiteral("$00000001"), QStringLiteral("$00000002")});
    QSignalSpy selChanges(&grid, &TmbColorPalette::selColorChange);
    grid.SetSelectedCell(1);
    EXPECT_EQ(grid.SelectedColor(), 2u);
    grid.SetSelectedCell(2);
    EXPECT_EQ(grid.SelectedCell(), -1);
    grid.SetSelectedCell(-7);
    EXPECT_EQ(grid.SelectedCell(), -1);
    EXPECT_EQ(selChanges.count(), 3);
}

TEST_F(ColorPaletteTest, SetSelectedColorOnAnEmptyGridKeepsTheSelectionValue) {
    TmbColorPalette grid;
    grid.SetSelectedColor(0x112233);
    EXPECT_EQ(grid.SelectedCell(), -1);
    EXPECT_EQ(grid.SelectedColor(), 0x112233u);
}

} // namespace
} // namespace chromint

namespace chromint {
namespace {

struct CellPaintRow {
    const char* name;
    TCellStyle style;
    TColorCellState state;
    QPoint probe; // in a 20 x 20 cell
    TColor expected;
};

TEST(PaletteCellPaintTest, StylesAndStates) {
    constexpr TColor kFace = 0xEEEEEE, kShadow = 0x808080, kHigh = 0xD77800, kDark = 0x000000;
    const TColor red = 0x0000FF;
    const std::vector<CellPaintRow> rows = {
        {"default, plain: inset by 3", csDefault, ccsNone, {2, 2}, kFace},
        {"default, plain: outline", csDefault, ccsNone, {3, 10}, kShadow},
        {"default, plain: fill", csDefault, ccsNone, {10, 10}, red},
        {"default, hovered: one-pixel frame", csDefault, ccsOver, {0, 10}, kHigh},
        {"default, hovered: no second ring", csDefault, ccsOver, {1, 10}, kFace},
        {"default, pressed: dark frame", csDefault, ccsDown, {0, 10}, kDark},
        {"default, selected: two-pixel frame", csDefault, ccsChecked, {1, 10}, kDark},
        {"default, selected and hovered", csDefault, ccsCheckedHover, {1, 10}, kHigh},
        {"default, selected: fill", csDefault, ccsChecked, {10, 10}, red},
        {"corel, plain: edge to edge", csCorel, ccsNone, {0, 0}, red},
        {"corel, hovered: frame", csCorel, ccsOver, {1, 1}, kHigh},
        {"corel, hovered: inset fill", csCorel, ccsOver, {2, 2}, red},
        {"corel, selected: frame", csCorel, ccsChecked, {0, 19}, kDark},
        {"corel, pressed: frame", csCorel, ccsDown, {19, 0}, kDark},
        {"corel, selected and hovered", csCorel, ccsCheckedHover, {1, 10}, kHigh},
    };
    for (const CellPaintRow& row : rows) {
        SCOPED_TRACE(row.name);
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(ToQColor(kFace));
        PaletteCellLook look;
        look.text = QStringLiteral("clRed");
        look.style = row.style;
        look.state = row.state;
        look.shadow = kShadow;
        look.face = kFace;
        look.highlight = kHigh;
        look.dark = kDark;
        {
            QPainter painter(&image);
            PaintPaletteCell(painter, image.rect(), look);
        }
        EXPECT_EQ(ToTColor(image.pixelColor(row.probe)), row.expected);
    }
}

struct PatternRow {
    const char* name;
    TTransparentStyle style;
    QPoint probe;
    TColor expected;
};

TEST(PaletteCellPaintTest, TransparentPatterns) {
    const std::vector<PatternRow> rows = {
        {"photoshop white square", tsPhotoshop, {0, 0}, 0xFFFFFF},
        {"photoshop silver square", tsPhotoshop, {4, 0}, 0xC0C0C0},
        {"photoshop2 finer squares", tsPhotoshop2, {2, 0}, 0xCCCCCC},
        {"corel cross", tsCorel, {5, 5}, 0x0000FF},
        {"corel white", tsCorel, {5, 9}, 0xFFFFFF},
        {"microangelo teal", tsMicroangelo, {1, 0}, 0x808000},
        {"none shows the background", tsNone, {5, 5}, 0xEEEEEE},
    };
    for (const PatternRow& row : rows) {
        SCOPED_TRACE(row.name);
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(QColor(0xEE, 0xEE, 0xEE));
        PaletteCellLook look;
        look.text = QStringLiteral("clTransparent");
        look.style = csCorel;
        look.transparentStyle = row.style;
        {
            QPainter painter(&image);
            PaintPaletteCell(painter, image.rect(), look);
        }
        EXPECT_EQ(ToTColor(image.pixelColor(row.probe)), row.expected);
    }
}

TEST(PaletteCellPaintTest, StateFromSelectionHoverAndButton) {
    EXPECT_EQ(PaletteCellState(3, 3, 3, false), ccsCheckedHover);
    EXPECT_EQ(PaletteCellState(3, 3, -1, false), ccsChecked);
    EXPECT_EQ(PaletteCellState(3, 1, 3, false), ccsOver);
    EXPECT_EQ(PaletteCellState(3, 1, 3, true), ccsDown);
    EXPECT_EQ(PaletteCellState(3, 1, 2, true), ccsNone);
}

TEST(PaletteCellPaintTest, NotAColourIsAGapNotACrash) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    PaletteCellLook look;
    look.text = QStringLiteral("\x01garbage");
    QPainter painter(&image);
    PaintPaletteCell(painter, image.rect(), look);
    painter.end();
    EXPECT_EQ(ToTColor(image.pixelColor(10, 10)), 0xFFFFFFu);
}

TEST_F(ColorPaletteTest, PointerOverACell) {
    auto grid = ShownStrip();
    QTest::mouseMove(grid.get(), Centre(*grid, 21));
    // A real X server reports the move a little later than the offscreen platform.
    for (int i = 0; i < 100 && grid->GetIndexUnderCursor() != 21; ++i)
        QTest::qWait(10);
    EXPECT_EQ(grid->GetIndexUnderCursor(), 21);
    EXPECT_EQ(grid->GetColorUnderCursor(), StringToColor(DefaultFavourites()[21]));
    EXPECT_EQ(grid->MouseLoc(), mlOver);
}

} // namespace
} // namespace chromint
