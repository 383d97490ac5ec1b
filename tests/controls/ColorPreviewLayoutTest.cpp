#include "ColorPreviewLayout.h"
#include "ColorOperations.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <set>
#include <string>

namespace chromint {
namespace {

std::string Hex(TColor c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", c);
    return buf;
}

std::string Hex(const std::optional<TColor>& c) {
    return c ? Hex(*c) : std::string("checker");
}

TColor Grey(int g) {
    return MakeRGB(g, g, g);
}

// Restores the process-wide system colour resolver after each test.
class ColorPreviewLayoutTest : public ::testing::Test {
protected:
    ColorPreviewLayoutTest() : resolver_(GetSystemColorResolver()) {}
    ~ColorPreviewLayoutTest() override { SetSystemColorResolver(resolver_); }

    static void UseBlueSystemColour() {
        SetSystemColorResolver(
            [](std::uint8_t index) -> TColor { return index == 5 ? MakeRGB(0, 0, 255) : 0; });
    }

private:
    SystemColorResolver resolver_;
};

constexpr TColor kBlueSystemColour = 0xFF000005;
// The colour of the main window's translucent swatch in the worked example below.
const TColor kBrick = MakeRGB(200, 100, 50);

TEST_F(ColorPreviewLayoutTest, MixesTheSwatchReliesOn) {
    EXPECT_EQ(Hex(MixOpacity(clWhite, clBlack, 50)), Hex(Grey(128))) << "percent below 100";
    EXPECT_EQ(Hex(MixOpacity(clWhite, clBlack, 100)), Hex(Grey(26))) << "per mille from 100 up";
}

TEST_F(ColorPreviewLayoutTest, TranslucentWhenNoColourOrNotOpaque) {
    struct Row {
        const char* name;
        TColor color;
        int opacity;
        bool translucent;
    };
    const Row rows[] = {
        {"opaque colour", kBrick, 100, false},
        {"opaque white", clWhite, 100, false},
        {"no colour at full opacity", clNone, 100, true},
        {"half opacity", kBrick, 50, true},
        {"opacity 0", kBrick, 0, true},
        {"opacity 99", kBrick, 99, true},
        {"per-mille opacity is not opaque", kBrick, 500, true},
        {"system colour, opaque", kBlueSystemColour, 100, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(IsTranslucentSwatch(row.color, row.opacity), row.translucent) << row.name;
}

TEST_F(ColorPreviewLayoutTest, CheckerColours) {
    UseBlueSystemColour();
    struct Row {
        const char* name;
        TColor color;
        int opacity;
        TColor base; // over white
        TColor tile; // over silver
    };
    const Row rows[] = {
        {"no colour: white and silver", clNone, 100, clWhite, clSilver},
        {"no colour at half opacity", clNone, 50, clWhite, clSilver},
        {"opacity 0 hides red", MakeRGB(255, 0, 0), 0, clWhite, clSilver},
        {"opacity 0 hides black", clBlack, 0, clWhite, clSilver},
        {"half red", MakeRGB(255, 0, 0), 50, MakeRGB(255, 128, 128), MakeRGB(224, 96, 96)},
        {"main window's alpha swatch", kBrick, 50, MakeRGB(228, 178, 153), MakeRGB(196, 146, 121)},
        {"opacity 1 of black", clBlack, 1, Grey(252), Grey(190)},
        {"system colour looked up", kBlueSystemColour, 50, MakeRGB(128, 128, 255),
         MakeRGB(96, 96, 224)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Hex(CheckerBaseColor(row.color, row.opacity)), Hex(row.base)) << row.name;
        EXPECT_EQ(Hex(CheckerTileColor(row.color, row.opacity)), Hex(row.tile)) << row.name;
    }
}

TEST_F(ColorPreviewLayoutTest, CheckerCellAtPoint) {
    struct Row {
        const char* name;
        QPoint p;
        int blockSize;
        bool tile;
    };
    const Row rows[] = {
        {"top-left cell shows the base", {0, 0}, 6, false},
        {"last pixel of the top-left cell", {5, 5}, 6, false},
        {"second column", {6, 0}, 6, true},
        {"second row", {0, 6}, 6, true},
        {"diagonal neighbour", {6, 6}, 6, false},
        {"end of the second column", {11, 0}, 6, true},
        {"third column", {12, 0}, 6, false},
        {"block 4, row 1 column 2", {9, 5}, 4, true},
        {"block 4, row 1 column 1", {5, 5}, 4, false},
        {"one-pixel cells alternate", {3, 0}, 1, true},
        {"one-pixel cells, even sum", {3, 1}, 1, false},
        {"block 0 counts as 1", {1, 0}, 0, true},
        {"negative block counts as 1", {1, 0}, -4, true},
        {"huge block is one cell", {5000, 5000}, 1000000000, false},
        {"left of the origin", {-1, 0}, 6, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IsTileCell(row.p, row.blockSize), row.tile) << row.name;
        const TColor expected = row.tile ? MakeRGB(224, 96, 96) : MakeRGB(255, 128, 128);
        EXPECT_EQ(Hex(CheckerColorAt(MakeRGB(255, 0, 0), 50, row.blockSize, row.p)), Hex(expected))
            << row.name;
    }
}

TEST_F(ColorPreviewLayoutTest, DepthRectangles) {
    struct Row {
        const char* name;
        QSize size;
        int depth;
        QRect expected;
    };
    const Row rows[] = {
        {"frame is the client rectangle", {68, 32}, 0, {0, 0, 68, 32}},
        {"inside the frame", {68, 32}, 1, {1, 1, 66, 30}},
        {"main swatch face", {72, 72}, 4, {4, 4, 64, 64}},
        {"web-safe swatch checker area", {23, 23}, 5, {5, 5, 13, 13}},
        {"a single pixel left", {9, 9}, 4, {4, 4, 1, 1}},
        {"nothing left of an even square", {8, 8}, 4, {}},
        {"one row left", {10, 3}, 1, {1, 1, 8, 1}},
        {"too flat", {10, 2}, 1, {}},
        {"negative depth", {10, 10}, -1, {}},
        {"empty control", {0, 0}, 0, {}},
    };
    for (const Row& row : rows) {
        const QRect r = DepthRect(row.size, row.depth);
        EXPECT_EQ(r.isEmpty(), row.expected.isEmpty()) << row.name;
        if (!row.expected.isEmpty()) {
            EXPECT_EQ(r, row.expected) << row.name;
        }
    }
}

TEST_F(ColorPreviewLayoutTest, DepthOfPoint) {
    struct Row {
        const char* name;
        QSize size;
        QPoint p;
        int depth;
    };
    const Row rows[] = {
        {"top-left corner", {68, 32}, {0, 0}, 0},
        {"bottom-right corner", {68, 32}, {67, 31}, 0},
        {"right edge", {68, 32}, {67, 10}, 0},
        {"just inside the left edge", {68, 32}, {1, 16}, 1},
        {"second from the bottom", {68, 32}, {30, 29}, 2},
        {"centre of a wide swatch", {68, 32}, {34, 16}, 15},
        {"past the right edge", {68, 32}, {68, 0}, -1},
        {"left of the control", {68, 32}, {-1, 5}, -1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DepthAt(row.size, row.p), row.depth) << row.name;
}

SwatchLook Look(TColor color, int opacity, bool ringed) {
    SwatchLook look;
    look.color = color;
    look.opacity = opacity;
    look.blockSize = 4;
    look.swatchStyle = ringed;
    look.window = MakeRGB(0xEE, 0xDD, 0xCC);
    look.frame = MakeRGB(0x11, 0x22, 0x33);
    return look;
}

TEST_F(ColorPreviewLayoutTest, FillOfEachDepth) {
    UseBlueSystemColour();
    const TColor window = MakeRGB(0xEE, 0xDD, 0xCC);
    const TColor frame = MakeRGB(0x11, 0x22, 0x33);
    const std::optional<TColor> checker;
    struct Row {
        const char* name;
        SwatchLook look;
        int depth;
        std::optional<TColor> expected;
    };
    const Row rows[] = {
        {"plain frame", Look(kBrick, 100, false), 0, frame},
        {"plain face", Look(kBrick, 100, false), 1, kBrick},
        {"plain centre", Look(kBrick, 100, false), 20, kBrick},
        {"ringed frame", Look(kBrick, 100, true), 0, frame},
        {"ringed light ring", Look(kBrick, 100, true), 1, window},
        {"ringed 75 % over black", Look(kBrick, 100, true), 2, MakeRGB(150, 75, 38)},
        {"ringed 87 % over black", Look(kBrick, 100, true), 3, MakeRGB(174, 87, 44)},
        {"ringed face", Look(kBrick, 100, true), 4, kBrick},
        {"ringed centre", Look(kBrick, 100, true), 5, kBrick},
        {"translucent plain frame", Look(kBrick, 50, false), 0, frame},
        {"translucent plain face is checkered", Look(kBrick, 50, false), 1, checker},
        {"translucent light ring", Look(kBrick, 50, true), 1, window},
        {"translucent rings darken the base", Look(kBrick, 50, true), 2, MakeRGB(171, 134, 115)},
        {"translucent 87 % ring", Look(kBrick, 50, true), 3, MakeRGB(198, 155, 133)},
        {"translucent depth 4 is the base", Look(kBrick, 50, true), 4, MakeRGB(228, 178, 153)},
        {"translucent checker from depth 5", Look(kBrick, 50, true), 5, checker},
        {"no colour rings darken white", Look(clNone, 100, true), 2, Grey(191)},
        {"no colour 87 % ring", Look(clNone, 100, true), 3, Grey(222)},
        {"no colour depth 4 white", Look(clNone, 100, true), 4, clWhite},
        {"no colour is checkered", Look(clNone, 100, false), 1, checker},
        {"system colour resolved", Look(kBlueSystemColour, 100, false), 1, MakeRGB(0, 0, 255)},
        {"system colour ring", Look(kBlueSystemColour, 100, true), 2, MakeRGB(0, 0, 191)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hex(DepthFill(row.look, row.depth)), Hex(row.expected)) << row.name;
}

TEST_F(ColorPreviewLayoutTest, NoColourShowsWhiteAndSilverChecker) {
    SwatchLook look = Look(clNone, 100, false);
    look.blockSize = 6;
    const QImage image = RenderSwatch(look, {68, 32});
    std::set<QRgb> face;
    for (int y = 1; y < 31; ++y)
        for (int x = 1; x < 67; ++x)
            face.insert(image.pixel(x, y));
    EXPECT_EQ(face, (std::set<QRgb>{qRgb(255, 255, 255), qRgb(192, 192, 192)}));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(6, 1), qRgb(192, 192, 192));
    EXPECT_EQ(image.pixel(6, 6), qRgb(255, 255, 255));
}

TEST_F(ColorPreviewLayoutTest, OpacityZeroLooksLikeNoColourWhateverTheColour) {
    UseBlueSystemColour();
    for (bool ringed : {false, true}) {
        const QImage none = RenderSwatch(Look(clNone, 0, ringed), {36, 72});
        for (TColor color : {MakeRGB(255, 0, 0), clBlack, clWhite, kBrick, kBlueSystemColour})
            EXPECT_EQ(RenderSwatch(Look(color, 0, ringed), {36, 72}), none)
                << Hex(color) << (ringed ? " ringed" : " plain");
    }
}

// The painted picture is built from rectangles and cells; the pixel rule says what each pixel
// must be. Walk both over many shapes and count where they disagree.
TEST_F(ColorPreviewLayoutTest, PictureFollowsThePixelRule) {
    UseBlueSystemColour();
    const QSize sizes[] = {{1, 1},   {2, 2},   {3, 9},   {9, 3},   {10, 10}, {11, 11},
                           {23, 23}, {34, 17}, {36, 72}, {68, 32}, {72, 72}};
    const int blocks[] = {1, 3, 4, 6, 7, 100};
    const int opacities[] = {0, 1, 50, 99, 100};
    const TColor colors[] = {clWhite, clBlack, clNone, kBrick, kBlueSystemColour};
    long checked = 0;
    long mismatches = 0;
    std::string first;
    for (const QSize& size : sizes)
        for (int block : blocks)
            for (bool ringed : {false, true})
                for (int opacity : opacities)
                    for (TColor color : colors) {
                        SwatchLook look = Look(color, opacity, ringed);
                        look.blockSize = block;
                        const QImage image = RenderSwatch(look, size);
                        ASSERT_EQ(image.size(), size);
                        for (int y = 0; y < size.height(); ++y)
                            for (int x = 0; x < size.width(); ++x) {
                                ++checked;
                                const QColor got = image.pixelColor(x, y);
                                const TColor want = SwatchPixel(look, size, {x, y});
                                if (ToTColor(got) == want)
                                    continue;
                                if (mismatches++ == 0)
                                    first = std::to_string(size.width()) + "x" +
                                            std::to_string(size.height()) + " block " +
                                            std::to_string(block) + " opacity " +
                                            std::to_string(opacity) + " " + Hex(color) +
                                            (ringed ? " ringed" : " plain") + " at " +
                                            std::to_string(x) + "," + std::to_string(y) + ": got " +
                                            Hex(ToTColor(got)) + ", want " + Hex(want);
                            }
                    }
    EXPECT_EQ(mismatches, 0) << "of " << checked << " pixels; first: " << first;
}

TEST_F(ColorPreviewLayoutTest, HugeBlockSizeKeepsThePictureToTheControl) {
    SwatchLook look = Look(kBrick, 50, true);
    look.blockSize = 2000000000;
    const QImage image = RenderSwatch(look, {23, 23});
    EXPECT_EQ(image.size(), QSize(23, 23));
    EXPECT_EQ(Hex(ToTColor(image.pixelColor(11, 11))), Hex(MakeRGB(228, 178, 153)))
        << "one cell, the base colour";
}

TEST_F(ColorPreviewLayoutTest, EmptyControlGivesNoPicture) {
    EXPECT_TRUE(RenderSwatch(Look(kBrick, 100, true), {0, 10}).isNull());
}

TEST_F(ColorPreviewLayoutTest, HintLineBreaks) {
    struct Row {
        const char* name;
        QString hint;
        QString shown;
    };
    const Row rows[] = {
        {"plain hint unchanged", "Base color", "Base color"},
        {"CR LF", "RGB(136, 106, 56)\r\nHex: #886A38", "RGB(136, 106, 56)\nHex: #886A38"},
        {"lone CR", "H: 10\rHex: #FF0000", "H: 10\nHex: #FF0000"},
        {"LF kept", "a\nb", "a\nb"},
        {"LF CR is one line end", "Hex #FF0000\n\rRGB[255, 0, 0]", "Hex #FF0000\nRGB[255, 0, 0]"},
        {"every mix, one end each", "a\r\nb\n\rc\rd\ne", "a\nb\nc\nd\ne"},
        {"two LFs are two ends", "a\n\nb", "a\n\nb"},
        {"two CRs are two ends", "a\r\rb", "a\n\nb"},
        {"CR LF then a lone CR", "a\r\n\rb", "a\n\nb"},
        {"LF CR LF CR is two ends", "a\n\r\n\rb", "a\n\nb"},
        {"line end last", "a\n\r", "a\n"},
        {"placeholders are not expanded", "%hex %r", "%hex %r"},
        {"empty", "", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SwatchHintText(row.hint), row.shown) << row.name;
}

TEST_F(ColorPreviewLayoutTest, QtColourRoundTrip) {
    UseBlueSystemColour();
    EXPECT_EQ(ToQColor(kBrick), QColor(200, 100, 50));
    EXPECT_EQ(ToQColor(kBlueSystemColour), QColor(0, 0, 255));
    EXPECT_EQ(ToTColor(QColor(200, 100, 50)), kBrick);
    EXPECT_EQ(ToTColor(QColor::fromHsv(0, 255, 255)), MakeRGB(255, 0, 0));
}

} // namespace
} // namespace chromint
