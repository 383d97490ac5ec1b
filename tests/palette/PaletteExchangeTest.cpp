#include "PaletteExchange.h"
#include "PaletteModel.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <ostream>
#include <vector>

namespace chromint {

void PrintTo(const NamedColor& c, std::ostream* os) {
    *os << ColorToCode(c.color).toStdString() << " \"" << c.name.toStdString() << '"';
}

namespace {

using enum ExchangeFormat;

QByteArray Words(std::initializer_list<quint16> words) {
    QByteArray out;
    for (const quint16 w : words)
        out += static_cast<char>(w >> 8) + QByteArray(1, static_cast<char>(w & 0xFF));
    return out;
}

QByteArray Long(quint32 v) {
    return Words({static_cast<quint16>(v >> 16), static_cast<quint16>(v)});
}

// One swatch-exchange block: its type, its length, its bytes.
QByteArray AseBlock(quint16 type, const QByteArray& payload) {
    return Words({type}) + Long(static_cast<quint32>(payload.size())) + payload;
}

QByteArray AseName(const QString& name) {
    QByteArray out = Words({static_cast<quint16>(name.size() + 1)});
    for (const QChar ch : name)
        out += Words({ch.unicode()});
    return out + Words({0});
}

QByteArray AseColor(const QString& name, const char* model, std::initializer_list<float> values) {
    QByteArray payload = AseName(name) + model;
    for (const float v : values)
        payload += Long(std::bit_cast<quint32>(v));
    return AseBlock(0x0001, payload + Words({2}));
}

QByteArray AseFile(quint32 count, const QByteArray& blocks) {
    return "ASEF" + Words({1, 0}) + Long(count) + blocks;
}

QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EPaletteError& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

const std::vector<NamedColor> kColors = {
    {MakeRGB(0, 0, 0), QStringLiteral("Favourite 1")},
    {MakeRGB(255, 255, 255), QStringLiteral("Weiß")},
    {MakeRGB(1, 128, 254), QStringLiteral("Favourite 3")},
    {MakeRGB(127, 3, 200), QStringLiteral("two words")},
};

enum class Names { Kept, Numbered, None };

struct RoundTripRow {
    const char* file;
    Names names;
};

TEST(PaletteExchangeTest, WriteThenReadKeepsColoursAndNames) {
    const RoundTripRow rows[] = {
        {"fav.gpl", Names::Kept}, {"FAV.ASE", Names::Kept}, {"fav.aco", Names::Kept},
        {"fav.act", Names::None}, {"fav.pal", Names::None}, {"fav.css", Names::Numbered},
        {"fav.txt", Names::None}, {"fav.Hex", Names::None},
    };
    QTemporaryDir dir;
    for (const RoundTripRow& row : rows) {
        SCOPED_TRACE(row.file);
        const QString path = dir.filePath(QString::fromLatin1(row.file));
        WriteExchangePalette(path, kColors, QStringLiteral("Favourites"));
        std::vector<NamedColor> expected = kColors;
        for (size_t i = 0; i < expected.size(); ++i) {
            if (row.names != Names::Kept)
                expected[i].name =
                    row.names == Names::None ? QString() : QStringLiteral("color-%1").arg(i + 1);
        }
        EXPECT_EQ(ReadExchangePalette(path), expected);
    }
}

struct BytesRow {
    const char* name;
    ExchangeFormat format;
    QByteArray expected;
};

TEST(PaletteExchangeTest, WrittenBytes) {
    const std::vector<NamedColor> colors = {{MakeRGB(255, 0, 0), QStringLiteral("Red")},
                                            {MakeRGB(128, 0, 7), QStringLiteral("two\nlines")}};
    const BytesRow rows[] = {
        {"GIMP's own layout", Gpl,
         "GIMP Palette\nName: Chromint\nColumns: 0\n#\n"
         "255   0   0\tRed\n"
         "128   0   7\ttwo lines\n"},
        {"CSS root properties", Css, ":root {\n  --color-1: #ff0000;\n  --color-2: #800007;\n}\n"},
        {"swatch exchange blocks", Ase,
         QByteArray::fromHex("41534546 0001 0000 00000002"            // "ASEF", 1.0, two blocks
                             "0001 0000001c 0004 0052 0065 0064 0000" // colour, "Red"
                             "52474220 3f800000 00000000 00000000"    // "RGB " 1 0 0
                             "0002"                                   // a normal colour
                             "0001 00000028 000a 0074 0077 006f 000a 006c 0069 006e 0065"
                             "0073 0000 52474220 3f008081 00000000 3ce0e0e1 0002")},
    };
    for (const BytesRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FormatExchangePalette(row.format, colors, QStringLiteral("Chromint")),
                  row.expected);
    }
}

struct ReadRow {
    const char* name;
    ExchangeFormat format;
    QByteArray bytes;
    std::vector<NamedColor> expected;
};

TEST(PaletteExchangeTest, FilesAsOtherProgramsWriteThem) {
    const QString none;
    const ReadRow rows[] = {
        {"Inkscape-style gpl",
         Gpl,
         "GIMP Palette\r\nName: Inkscape default\r\nColumns: 3\r\n# hand-made\r\n\r\n"
         "  0   0   0\tBlack (#000000)\r\n"
         "\t128\t0\t0\tMaroon (#800000)\r\n"
         "300  -5 51\r\n" // out of range: kept within 0..255
         " 51 102 153\r\n#\r\n",
         {{MakeRGB(0, 0, 0), QStringLiteral("Black (#000000)")},
          {MakeRGB(128, 0, 0), QStringLiteral("Maroon (#800000)")},
          {MakeRGB(255, 0, 51), none},
          {MakeRGB(51, 102, 153), none}}},
        {"ase with a group and every colour model",
         Ase,
         AseFile(8, AseBlock(0xC001, AseName(QStringLiteral("Brand"))) +
                        AseColor(QStringLiteral("Cyan"), "CMYK", {1, 0, 0, 0}) +
                        AseColor(QStringLiteral("Orange"), "CMYK", {0, 0.5f, 1, 0}) +
                        AseColor(QStringLiteral("Red"), "LAB ", {0.5429f, 80.81f, 69.89f}) +
                        AseColor(none, "LAB ", {0.5f, 0, 0}) + AseBlock(0xC002, {}) +
                        AseColor(none, "Gray", {0.5f}) +
                        AseColor(QStringLiteral("Odd"), "RGB ", {0.2f, -1, 7})),
         {{MakeRGB(0, 255, 255), QStringLiteral("Cyan")},
          {MakeRGB(255, 128, 0), QStringLiteral("Orange")},
          {MakeRGB(255, 0, 0), QStringLiteral("Red")},
          {MakeRGB(119, 119, 119), none},
          {MakeRGB(128, 128, 128), none},
          {MakeRGB(51, 0, 255), QStringLiteral("Odd")}}},
        {"hex lines and comments",
         Hex,
         "; paint.net palette\n# reds\n"
         "#Reds\n"                   // 'R' is no digit: a comment
         "#ff0000\nff8000\r\n#F80\n" //
         "#ff000080\n"               // CSS order, alpha dropped
         "8000ff00\n"                // bare: alpha first
         "\n  #0000ff  Blue sky  \n",
         {{MakeRGB(255, 0, 0), none},
          {MakeRGB(255, 128, 0), none},
          {MakeRGB(255, 136, 0), none},
          {MakeRGB(255, 0, 0), none},
          {MakeRGB(0, 255, 0), none},
          {MakeRGB(0, 0, 255), QStringLiteral("Blue sky")}}},
        {"css custom properties",
         Css,
         "/* brand; --not: red; */\n:root {\n  --brand: #336699;\n"
         "  --accent: rgb(255 128 0) !important;\n  --danger:red;\n  --space: 4px;\n"
         "  --label: \"a; --fake: blue\";\n  color: green;\n}\n"
         "@media (prefers-color-scheme: dark) {\n  :root { --brand: hsl(0 0% 20%) }\n}\n",
         {{MakeRGB(0x33, 0x66, 0x99), QStringLiteral("brand")},
          {MakeRGB(255, 128, 0), QStringLiteral("accent")},
          {MakeRGB(255, 0, 0), QStringLiteral("danger")},
          {MakeRGB(0x33, 0x33, 0x33), QStringLiteral("brand")}}},
    };
    for (const ReadRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ParseExchangePalette(row.format, row.bytes), row.expected);
    }
}

TEST(PaletteExchangeTest, ActTrailerCountsAndDropsTheTransparentEntry) {
    QByteArray table(768, '\0');
    for (int i = 0; i < 256; ++i)
        table[3 * i] = static_cast<char>(i);
    const auto three = ParseExchangePalette(Act, table + Words({3, 1}));
    EXPECT_EQ(three, (std::vector<NamedColor>{{MakeRGB(0, 0, 0), {}}, {MakeRGB(2, 0, 0), {}}}));
    EXPECT_EQ(ParseExchangePalette(Act, table).size(), 256u);
}

TEST(PaletteExchangeTest, AcoWithABrokenSecondBlockKeepsTheColours) {
    const QByteArray aco = FormatExchangePalette(Aco, kColors, {});
    const auto read = ParseExchangePalette(Aco, aco.chopped(3));
    ASSERT_EQ(read.size(), kColors.size());
    EXPECT_EQ(read[3].color, kColors[3].color);
    EXPECT_TRUE(read[3].name.isEmpty());
}

struct HostileRow {
    const char* name;
    ExchangeFormat format;
    QByteArray bytes;
    QString error;
};

TEST(PaletteExchangeTest, HostileFilesGiveTheirErrors) {
    const QByteArray red = AseColor(QStringLiteral("r"), "RGB ", {1, 0, 0});
    const QString line2 = NotAColourLineMessage.arg(2);
    const std::vector<HostileRow> rows = {
        {"ase block count 0xFFFFFFFF", Ase, AseFile(0xFFFFFFFF, red), ReadErrorMessage},
        {"ase block beyond the file", Ase, AseFile(1, Words({1}) + Long(0x7FFFFFF0) + red),
         ReadErrorMessage},
        {"ase name beyond the block", Ase, AseFile(1, AseBlock(1, Words({0xFFFF, 0x41}))),
         ReadErrorMessage},
        {"ase other signature", Ase, "ASEX" + red, UnsupportedPaletteMessage},
        {"ase version 2", Ase, "ASEF" + Words({2, 0}) + Long(1) + red, UnsupportedPaletteMessage},
        {"ase unknown model", Ase, AseFile(1, AseColor(QStringLiteral("x"), "HSB ", {0, 0, 0})),
         UnsupportedPaletteMessage},
        {"ase groups only", Ase,
         AseFile(2, AseBlock(0xC001, AseName(QStringLiteral("g"))) + AseBlock(0xC002, {})),
         NoColoursMessage},
        {"gpl without header", Gpl, "JASC-PAL\n1 2 3\n", UnsupportedPaletteMessage},
        {"empty gpl", Gpl, {}, UnsupportedPaletteMessage},
        {"gpl header only", Gpl, "GIMP Palette\nName: x\n", NoColoursMessage},
        {"gpl name not UTF-8", Gpl, "GIMP Palette\n1 2 3 Caf\xE9\n", NotUtf8Message},
        {"gpl two numbers", Gpl, "GIMP Palette\n12 34\n", line2},
        {"gpl line of megabytes", Gpl, "GIMP Palette\n" + QByteArray(4 << 20, 'x'), line2},
        {"css without custom properties", Css, "a { color: red; }", NoColoursMessage},
        {"css value of megabytes", Css, "--a: #" + QByteArray(4 << 20, 'f'), NoColoursMessage},
        {"css not UTF-8", Css, "--a: red; /* \xFF */", NotUtf8Message},
        {"hex word", Hex, "ff0000\nhello\n", line2},
        {"hex seven digits", Hex, "ff0000\nff00000\n", line2},
        {"hex comments only", Hex, "# none\n;\n\n", NoColoursMessage},
        {"hex line of megabytes", Hex, QByteArray(4 << 20, 'f'), NotAColourLineMessage.arg(1)},
        {"aco without colours", Aco, Words({1, 0}), NoColoursMessage},
        {"pal non-number", Pal, "JASC-PAL\r\n0100\r\n1\r\nred green blue\r\n",
         QStringLiteral("'red' is not a valid integer value")},
        {"pal without colours", Pal, "JASC-PAL\r\n0100\r\n0\r\n", NoColoursMessage},
        {"larger than any palette", Hex, QByteArray(MaxPaletteFileSize + 1, '\n'),
         FileTooLargeMessage},
    };
    for (const HostileRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ErrorOf([&] { ParseExchangePalette(row.format, row.bytes); }), row.error);
    }
}

TEST(PaletteExchangeTest, EveryTruncationOfAnAseFileIsRefused) {
    const QByteArray whole = FormatExchangePalette(Ase, kColors, QStringLiteral("Favourites"));
    for (qsizetype n = 0; n < whole.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_NE(ErrorOf([&] { ParseExchangePalette(Ase, whole.left(n)); }),
                  QStringLiteral("<no error>"));
    }
}

TEST(PaletteExchangeTest, FormatByExtension) {
    EXPECT_EQ(ExchangeFormatOf(QStringLiteral("/a/b.GPL")), Gpl);
    EXPECT_EQ(ExchangeFormatOf(QStringLiteral("b.txt")), Hex);
    EXPECT_EQ(ExchangeFormatOf(QStringLiteral("c.css.bak")), std::nullopt);
    EXPECT_EQ(ExchangeFormatOf(QStringLiteral("gpl")), std::nullopt);
    const QStringList filters = ExchangeNameFilters();
    EXPECT_EQ(
        filters.first(),
        QStringLiteral("All palette files (*.gpl *.ase *.aco *.act *.pal *.css *.txt *.hex)"));
    EXPECT_EQ(filters.size(), 8);
}

TEST(PaletteExchangeTest, RefusedWritesLeaveNoFile) {
    QTemporaryDir dir;
    const QString unknown = dir.filePath(QStringLiteral("fav.png"));
    EXPECT_EQ(ErrorOf([&] { WriteExchangePalette(unknown, kColors, {}); }),
              UnsupportedExchangeExtensionMessage);
    const QString act = dir.filePath(QStringLiteral("big.act"));
    EXPECT_EQ(ErrorOf([&] { WriteExchangePalette(act, std::vector<NamedColor>(257), {}); }),
              TooManyColoursMessage.arg(256));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

} // namespace
} // namespace chromint
