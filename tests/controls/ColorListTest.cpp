#include "ColorOperations.h"
#include "ColorPreviewLayout.h"
#include "FocusFrame.h"
#include "PickerConversions.h"
#include "WidgetTestSupport.h"
#include "mbColorList.h"

#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace chromint {
namespace {

const TColor kRed = MakeRGB(255, 0, 0);
const TColor kGreen = MakeRGB(0, 128, 0);
const TColor kBlue = MakeRGB(0, 0, 255);

std::vector<QString> Names(const TmbColorList& list) {
    std::vector<QString> out;
    for (const TmbColor& c : list.Colors)
        out.push_back(c.Name);
    return out;
}

std::vector<QString> ItemTexts(const TmbColorList& list) {
    std::vector<QString> out;
    for (int i = 0; i < list.count(); ++i)
        out.push_back(list.item(i)->text());
    return out;
}

void Fill(TmbColorList& list, const std::vector<TmbColor>& entries) {
    for (const TmbColor& e : entries)
        list.AddColor(e.Name, e.Value, false);
    list.UpdateColors();
}

TEST(ColorListTest, Defaults) {
    SetPickerHSLScale(360, 240, 255);
    TmbColorList list;
    EXPECT_EQ(list.ItemHeight(), 42);
    EXPECT_EQ(list.ColorCount(), 0);
    EXPECT_EQ(GetPickerHSLScale(), (PickerHSLScale{360, 255, 255}))
        << "creating a list sets the picker scale";
}

struct ErrorRow {
    const char* name;
    int entries;
    std::function<void(TmbColorList&)> act;
    std::string message;
};

TEST(ColorListTest, IndexErrors) {
    const std::vector<ErrorRow> rows = {
        {"delete from empty list", 0, [](TmbColorList& l) { l.DeleteColor(0, true); },
         "There's nothing to delete! The length of the array is 0."},
        {"delete from empty list without refresh", 0,
         [](TmbColorList& l) { l.DeleteColor(5, false); },
         "There's nothing to delete! The length of the array is 0."},
        {"delete past the end", 2, [](TmbColorList& l) { l.DeleteColor(2, true); },
         "List index out of bounds (2)"},
        {"delete negative index", 2, [](TmbColorList& l) { l.DeleteColor(-1, true); },
         "List index out of bounds (-1)"},
        {"insert at count is refused", 3, [](TmbColorList& l) { l.InsertColor(3, "X", kRed); },
         "List index out of bounds (3)"},
        {"insert into empty list", 0, [](TmbColorList& l) { l.InsertColor(0, "X", kRed); },
         "List index out of bounds (0)"},
        {"insert negative index", 1, [](TmbColorList& l) { l.InsertColor(-4, "X", kRed); },
         "List index out of bounds (-4)"},
    };
    for (const ErrorRow& row : rows) {
        SCOPED_TRACE(row.name);
        TmbColorList list;
        for (int i = 0; i < row.entries; ++i)
            list.AddColor(QString::number(i), MakeRGB(static_cast<std::uint8_t>(i), 0, 0));
        std::string what;
        try {
            row.act(list);
        } catch (const ColorListError& e) {
            what = e.what();
        }
        EXPECT_EQ(what, row.message);
        EXPECT_EQ(list.ColorCount(), row.entries) << "a refused change leaves the list alone";
    }
}

struct EditRow {
    const char* name;
    std::function<void(TmbColorList&)> act;
    std::vector<QString> expected;
};

TEST(ColorListTest, Editing) {
    const std::vector<TmbColor> start = {{"A", kRed}, {"a", kGreen}, {"B", kRed}, {"C", kBlue}};
    const std::vector<EditRow> rows = {
        {"by name, first match from the end",
         [](TmbColorList& l) { l.DeleteColorByName("a", false); },
         {"A", "B", "C"}},
        {"by name, all ignoring case",
         [](TmbColorList& l) { l.DeleteColorByName("a", true); },
         {"B", "C"}},
        {"by name, no match",
         [](TmbColorList& l) { l.DeleteColorByName("Z", true); },
         {"A", "a", "B", "C"}},
        {"by value, last match only",
         [](TmbColorList& l) { l.DeleteColorByValue(kRed, false); },
         {"A", "a", "C"}},
        {"by value, all", [](TmbColorList& l) { l.DeleteColorByValue(kRed, true); }, {"a", "C"}},
        {"by index moves later entries up",
         [](TmbColorList& l) { l.DeleteColor(1, true); },
         {"A", "B", "C"}},
        {"insert before the first",
         [](TmbColorList& l) { l.InsertColor(0, "N", kBlue); },
         {"N", "A", "a", "B", "C"}},
        {"insert before the last",
         [](TmbColorList& l) { l.InsertColor(3, "N", kBlue); },
         {"A", "a", "B", "N", "C"}},
        {"clear", [](TmbColorList& l) { l.ClearColors(); }, {}},
        {"append",
         [](TmbColorList& l) { l.AddColor("D", kGreen, true); },
         {"A", "a", "B", "C", "D"}},
    };
    for (const EditRow& row : rows) {
        SCOPED_TRACE(row.name);
        TmbColorList list;
        Fill(list, start);
        row.act(list);
        EXPECT_EQ(Names(list), row.expected);
        EXPECT_EQ(ItemTexts(list), row.expected) << "item strings follow the names";
    }
}

TEST(ColorListTest, DeleteWithoutRefreshKeepsItemsUntilUpdate) {
    TmbColorList list;
    Fill(list, {{"A", kRed}, {"B", kGreen}});
    list.DeleteColor(0, false);
    EXPECT_EQ(list.count(), 2);
    list.UpdateColors();
    EXPECT_EQ(ItemTexts(list), std::vector<QString>{"B"});
}

TEST(ColorListTest, IndexOf) {
    TmbColorList list;
    Fill(list, {{"A", kRed}, {"B", kGreen}, {"C", kGreen}});
    EXPECT_EQ(list.IndexOf(kGreen), 1);
    EXPECT_EQ(list.IndexOf(kBlue), -1);
}

struct LayoutRow {
    const char* name;
    QRect item;
    int itemHeight;
    int textHeight;
    QRect swatch;
    QRect nameRect;
    QRect valuesRect;
};

TEST(ColorListTest, RowLayout) {
    const std::vector<LayoutRow> rows = {
        {"first row, height 42", QRect(0, 0, 160, 42), 42, 14, QRect(4, 4, 34, 34),
         QRect(QPoint(42, 7), QPoint(159, 34)), QRect(QPoint(42, 23), QPoint(159, 34))},
        {"second row", QRect(0, 42, 160, 42), 42, 14, QRect(4, 46, 34, 34),
         QRect(QPoint(42, 49), QPoint(159, 76)), QRect(QPoint(42, 65), QPoint(159, 76))},
        {"taller rows", QRect(10, 0, 200, 60), 60, 16, QRect(14, 4, 52, 52),
         QRect(QPoint(70, 11), QPoint(209, 48)), QRect(QPoint(70, 29), QPoint(209, 48))},
    };
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ColorListSwatchBox(row.item, row.itemHeight), row.swatch);
        EXPECT_EQ(ColorListNameRect(row.item, row.itemHeight, row.textHeight), row.nameRect);
        EXPECT_EQ(ColorListValuesRect(row.item, row.itemHeight, row.textHeight), row.valuesRect);
    }
}

TEST(ColorListTest, ValuesText) {
    EXPECT_EQ(ColorListValuesText(MakeRGB(1, 22, 255)), "RGB: 1 22 255");
    EXPECT_EQ(ColorListValuesText(clBlack), "RGB: 0 0 0");
}

struct HintRow {
    const char* name;
    QString handlerText;
    bool handled;
    QString expected;
};

TEST(ColorListTest, HintText) {
    const TmbColor entry{"Brick", MakeRGB(200, 100, 50)};
    const std::vector<HintRow> rows = {
        {"unhandled gives the name", "ignored %hex", false, "Brick"},
        {"handled expands the template", "R=%r G=%g", true, "R=200 G=100"},
    };
    for (const HintRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ColorListHintText(entry, row.handlerText, row.handled), row.expected);
    }
}

class ShownListTest : public ::testing::Test {
protected:
    void SetUp() override {
        list_ = std::make_unique<TmbColorList>();
        list_->setFixedSize(162, 200);
        Fill(*list_, {{"Red", kRed}, {"Blue", kBlue}});
        list_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list_.get()));
    }

    TColor PixelAt(QPoint viewportPos) {
        const QPixmap shot = list_->viewport()->grab();
        const qreal ratio = shot.devicePixelRatio();
        return ToTColor(
            shot.toImage().pixelColor(static_cast<int>(std::lround(viewportPos.x() * ratio)),
                                      static_cast<int>(std::lround(viewportPos.y() * ratio))));
    }

    std::unique_ptr<TmbColorList> list_;
};

TEST_F(ShownListTest, PaintsSwatchesAndSelection) {
    EXPECT_EQ(PixelAt({21, 21}), kRed) << "middle of the first swatch";
    EXPECT_EQ(PixelAt({21, 63}), kBlue) << "middle of the second swatch";
    EXPECT_EQ(PixelAt({1, 1}), clSilver) << "frame of an unselected row";
    list_->setCurrentRow(1);
    QTest::qWait(10);
    EXPECT_EQ(PixelAt({21, 63}), kBlue);
    EXPECT_EQ(PixelAt({6, 48}), MixOpacity(kBlue, clBlack, 75)) << "depth 2 of the box";
    EXPECT_EQ(PixelAt({0, 42}),
              ToTColor(list_->palette().color(QPalette::Active, QPalette::Highlight)));
}

TEST_F(ShownListTest, FocusFrameShowsRoundTheCurrentRowOnly) {
    list_->setCurrentRow(1);
    list_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(list_.get()));
    const QRect row = list_->visualRect(list_->model()->index(1, 0));
    const test::FocusChange change =
        test::ChangeOnFocus(*list_, *list_->viewport(), row, FocusFrameWidth);
    EXPECT_GT(change.inFrame, 0) << "the frame shows";
    EXPECT_EQ(change.elsewhere, 0) << "swatches and names keep their pixels";
    EXPECT_EQ(PixelAt({21, 63}), kBlue) << "the selected swatch is untouched";
}

TEST_F(ShownListTest, HintsNameTheRowUnderThePointer) {
    EXPECT_EQ(list_->HintAt({50, 10}), "Red");
    EXPECT_EQ(list_->HintAt({50, 50}), "Blue");
    EXPECT_EQ(list_->HintAt({50, 150}), "") << "below the last row";
    list_->OnGetHint = [](int index, QString& hint, bool& handled) {
        hint = QStringLiteral("%hex at %1").arg(index);
        handled = true;
    };
    EXPECT_EQ(list_->HintAt({50, 50}), "#0000FF at 1");
}

TEST_F(ShownListTest, ThrowingHandlersDoNotEscape) {
    list_->OnGetHint = [](int, QString&, bool&) { throw ColorListError("boom"); };
    list_->OnDrawCaption = [](TmbColorList*, int, QFont&, QString&, bool) {
        throw ColorListError("boom");
    };
    EXPECT_EQ(list_->HintAt({50, 10}), "Red");
    list_->viewport()->repaint();
    EXPECT_EQ(PixelAt({21, 21}), kRed);
}

TEST_F(ShownListTest, RowsWithoutEntriesPaintNothingOfTheirs) {
    // An entry removed without a refresh leaves a row with no entry behind it.
    list_->DeleteColor(1, false);
    list_->viewport()->repaint();
    EXPECT_EQ(PixelAt({21, 21}), kRed);
    EXPECT_NE(PixelAt({21, 63}), kBlue);
    EXPECT_EQ(list_->HintAt({50, 50}), "");
}

TEST_F(ShownListTest, CaptionHandlerChangesTheText) {
    std::vector<int> seen;
    list_->OnDrawCaption = [&seen](TmbColorList*, int index, QFont&, QString& text, bool) {
        seen.push_back(index);
        text = "x";
    };
    list_->viewport()->repaint();
    EXPECT_FALSE(seen.empty());
}

} // namespace
} // namespace chromint
