#include "PalUtils.h"
#include "CIE.h"
#include "PaletteModel.h"
#include "ResourceLimits.h"
#include "TestRows.h"
#include "mbColorPalette.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace chromint {
namespace {

// Big-endian 16-bit words, the unit of a swatch file.
QByteArray Words(std::initializer_list<quint16> words) {
    QByteArray out;
    for (const quint16 w : words) {
        out.append(static_cast<char>(w >> 8));
        out.append(static_cast<char>(w & 0xFF));
    }
    return out;
}

// A version-2 name: a skipped word, the length with the terminator, the characters, the
// terminator.
QByteArray Name2(const QString& name) {
    QByteArray out = Words({0, static_cast<quint16>(name.size() + 1)});
    for (const QChar ch : name)
        out += Words({ch.unicode()});
    return out + Words({0});
}

// The same five records in both blocks of a real swatch file.
// space RGB      ffff 8000 0000 0000 -> orange 255 128 0
// space HSB      0000 ffff ffff 0000 -> hue 0, 100 %, 100 % -> red
// space CMYK     0000 ffff ffff ffff -> 100 % cyan, no other ink -> 0 255 255
// space Lab      1388 f830 0bb8 0000 -> L 50, a -20 (a signed word), b 30
// space grey     1388 0000 0000 0000 -> 5000 / 39.0625 = 128
QByteArray Records() {
    return Words({0, 0xFFFF, 0x8000, 0, 0}) + Words({1, 0, 0xFFFF, 0xFFFF, 0}) +
           Words({2, 0, 0xFFFF, 0xFFFF, 0xFFFF}) + Words({7, 5000, 0xF830, 3000, 0}) +
           Words({8, 5000, 0, 0, 0});
}

const std::vector<TColor> kRecordColors = {MakeRGB(255, 128, 0), MakeRGB(255, 0, 0),
                                           MakeRGB(0, 255, 255), LabToRGB(50, -20, 30),
                                           MakeRGB(128, 128, 128)};

QByteArray AcoV1() {
    return Words({1, 5}) + Records();
}

QByteArray AcoV2() {
    const QByteArray r = Records();
    const QStringList names = {QStringLiteral("Orange"), QStringLiteral("Red"),
                               QStringLiteral("Cyan ink"), QStringLiteral("Weiß"),
                               QStringLiteral("Grey")};
    QByteArray out = Words({2, 5});
    for (int i = 0; i < 5; ++i)
        out += r.mid(i * 10, 10) + Name2(names[i]);
    return out;
}

// Repeatable bytes for the junk-file rows.
class RandomBytes {
public:
    explicit RandomBytes(quint32 seed) : state_(seed) {}
    QByteArray Next(int size) {
        QByteArray out(size, '\0');
        for (char& c : out) {
            state_ = state_ * 1664525u + 1013904223u;
            c = static_cast<char>(state_ >> 24);
        }
        return out;
    }

private:
    quint32 state_;
};

class PalUtilsTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QByteArray Read(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    QTemporaryDir dir_;
};

QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EPaletteError& e) {
        return e.Message();
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

TEST_F(PalUtilsTest, AcoVersion1HasEveryColourSpaceAndNoNames) {
    const AcoColors aco = ParseAcoPalette(AcoV1());
    EXPECT_EQ(aco.Colors, kRecordColors);
    EXPECT_FALSE(aco.HasNames);
    EXPECT_TRUE(aco.Names.empty());
}

TEST_F(PalUtilsTest, AcoVersion2ReadsUtf16Names) {
    const AcoColors aco = ParseAcoPalette(AcoV2());
    EXPECT_EQ(aco.Colors, kRecordColors);
    ASSERT_TRUE(aco.HasNames);
    ASSERT_EQ(aco.Names.size(), 5u);
    EXPECT_EQ(aco.Names[0], QStringLiteral("Orange"));
    EXPECT_EQ(aco.Names[3], QStringLiteral("Weiß"));
}

TEST_F(PalUtilsTest, OnlyTheFirstBlockIsRead) {
    const AcoColors aco = ParseAcoPalette(AcoV1() + AcoV2());
    EXPECT_FALSE(aco.HasNames);
    EXPECT_EQ(aco.Colors.size(), 5u);
}

TEST_F(PalUtilsTest, AcoVersion0NamesAreBytes) {
    // version 0, one RGB record, then a one-byte length and the name's bytes
    const QByteArray bytes = Words({0, 1}) + Words({0, 0x1000, 0x2000, 0x3000, 0}) +
                             QByteArray("\x03"
                                        "abc",
                                        4);
    const AcoColors aco = ParseAcoPalette(bytes);
    EXPECT_EQ(aco.Colors, std::vector<TColor>{MakeRGB(0x10, 0x20, 0x30)});
    ASSERT_TRUE(aco.HasNames);
    EXPECT_EQ(aco.Names[0], QStringLiteral("abc"));
}

// Version-0 names are single bytes in the Windows code page their maker used, unless they
// happen to be valid UTF-8.
struct Version0NameRow {
    const char* row;
    const char* bytes;
    const char16_t* name;
};
CHROMINT_PRINT_ROW(Version0NameRow, row)

const Version0NameRow kVersion0NameRows[] = {
    {"Windows-1252 e acute", "Caf\xE9 au lait", u"Caf\u00E9 au lait"},
    {"Windows-1252 euro sign",
     "\x80"
     "5 note",
     u"\u20AC5 note"},
    {"Windows-1252 curly quote", "Artist\x92s blue", u"Artist\u2019s blue"},
    {"Windows-1252 unassigned byte keeps its number", "a\x81z", u"a\u0081z"},
    {"UTF-8 lead byte cut off at the end", "Caf\xC3", u"Caf\u00C3"},
    {"valid UTF-8", "Caf\xC3\xA9 cr\xC3\xA8me", u"Caf\u00E9 cr\u00E8me"},
    {"plain ASCII", "Sky blue", u"Sky blue"},
};

class AcoVersion0NameTest : public ::testing::TestWithParam<Version0NameRow> {};

TEST_P(AcoVersion0NameTest, NameIsDecodedAsItsMakerWroteIt) {
    const Version0NameRow& row = GetParam();
    const QByteArray name(row.bytes);
    const QByteArray bytes = Words({0, 1}) + Words({0, 0x1000, 0x2000, 0x3000, 0}) +
                             static_cast<char>(name.size()) + name;
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("names.aco")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const AcoColors aco = ReadAcoPalette(file.fileName());
    ASSERT_EQ(aco.Names.size(), 1u);
    EXPECT_EQ(aco.Names[0].toStdU16String(), std::u16string(row.name));
}

INSTANTIATE_TEST_SUITE_P(Rows, AcoVersion0NameTest, ::testing::ValuesIn(kVersion0NameRows),
                         test::RowName<::testing::TestParamInfo<Version0NameRow>>);

TEST_F(PalUtilsTest, AcoVersion2ZeroLengthNameReadsNoCharacters) {
    const QByteArray bytes = Words({2, 2}) + Words({0, 0xFF00, 0, 0, 0}) + Words({0, 0}) +
                             Words({0, 0, 0xFF00, 0, 0}) + Name2(QStringLiteral("g"));
    const AcoColors aco = ParseAcoPalette(bytes);
    ASSERT_EQ(aco.Names.size(), 2u);
    EXPECT_EQ(aco.Names[0], QString());
    EXPECT_EQ(aco.Names[1], QStringLiteral("g"));
    EXPECT_EQ(aco.Colors[1], MakeRGB(0, 255, 0));
}

struct RecordRow {
    const char* name;
    quint16 space, w1, w2, w3, w4;
    TColor expected;
};

TEST_F(PalUtilsTest, SwatchRecordsByColourSpace) {
    const std::vector<RecordRow> rows = {
        {"RGB takes the high bytes", 0, 0xFFFF, 0x8000, 0x0000, 0, MakeRGB(255, 128, 0)},
        {"HSB pure green", 1, 0x5555, 0xFFFF, 0xFFFF, 0, MakeRGB(0, 255, 0)},
        {"HSB half brightness grey", 1, 0, 0, 32768, 0, MakeRGB(128, 128, 128)},
        {"CMYK no ink is white", 2, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, MakeRGB(255, 255, 255)},
        {"CMYK full black", 2, 0xFFFF, 0xFFFF, 0xFFFF, 0, MakeRGB(0, 0, 0)},
        {"CMYK full magenta", 2, 0xFFFF, 0, 0xFFFF, 0xFFFF, MakeRGB(255, 0, 255)},
        {"Lab black", 7, 0, 0, 0, 0, MakeRGB(0, 0, 0)},
        {"Lab with negative a and b", 7, 6000, 0xFC18, 0xF060, 0, LabToRGB(60, -10, -40)},
        {"grey 5000 is 128", 8, 5000, 0, 0, 0, MakeRGB(128, 128, 128)},
        {"grey 10000 stays white", 8, 10000, 0, 0, 0, MakeRGB(255, 255, 255)},
        {"grey 9981 rounds to white, not black", 8, 9981, 0, 0, 0, MakeRGB(255, 255, 255)},
        {"grey beyond the scale stays white", 8, 0xFFFF, 0, 0, 0, MakeRGB(255, 255, 255)},
        {"wide CMYK full yellow", 9, 0, 0, 10000, 0, MakeRGB(255, 255, 0)},
        {"wide CMYK beyond 100 % is full ink", 9, 0, 0, 0, 0xFFFF, MakeRGB(0, 0, 0)},
        {"unknown space read as RGB", 3, 0x1100, 0x2200, 0x3300, 0, MakeRGB(0x11, 0x22, 0x33)},
        {"space 10 read as RGB", 10, 0xAB00, 0, 0, 0, MakeRGB(0xAB, 0, 0)},
    };
    for (const RecordRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(AcoRecordToColor(row.space, row.w1, row.w2, row.w3, row.w4), row.expected);
    }
}

TEST_F(PalUtilsTest, ActReadsExactly256Triples) {
    QByteArray bytes;
    for (int i = 0; i < 256; ++i) {
        // red counts up, green down, blue is the index times 3
        bytes.append(static_cast<char>(i));
        bytes.append(static_cast<char>(255 - i));
        bytes.append(static_cast<char>(i * 3));
    }
    bytes.append("trailing bytes are ignored");
    const auto colors = ParseActPalette(bytes);
    ASSERT_EQ(colors.size(), 256u);
    EXPECT_EQ(colors[0], MakeRGB(0, 255, 0));
    EXPECT_EQ(colors[100], MakeRGB(100, 155, 44));
    EXPECT_EQ(colors[255], MakeRGB(255, 0, 253));
}

TEST_F(PalUtilsTest, JascLines) {
    const QByteArray text = "JASC-PAL\r\n0100\r\n5\r\n"
                            "255 0 0\r\n"
                            "0   0 255\n"     // runs of blanks separate once
                            "300 0 0\r"       // the low byte of 300 is 44
                            "1\t2\t3\r\n"     // tabs do not separate: skipped
                            "$10 $20 $FF\r\n" // hexadecimal after "$"
                            "\r\n"            // empty line
                            "1 2 3 4\r\n"     // four pieces: skipped
                            "  7  8  9  ";    // no final line end
    const auto colors = ParseJASCPalette(text);
    const std::vector<TColor> expected = {MakeRGB(255, 0, 0), MakeRGB(0, 0, 255), MakeRGB(44, 0, 0),
                                          MakeRGB(0x10, 0x20, 0xFF), MakeRGB(7, 8, 9)};
    EXPECT_EQ(colors, expected);
}

TEST_F(PalUtilsTest, JascWithUtf16ByteOrderMark) {
    const QString text = QStringLiteral("JASC-PAL\r\n0100\r\n1\r\n1 2 3\r\n");
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    EXPECT_EQ(ParseJASCPalette(bytes), std::vector<TColor>{MakeRGB(1, 2, 3)});
}

TEST_F(PalUtilsTest, JascWriterHeaderAndLines) {
    const QStringList colors = {QStringLiteral("$000080FF"), QString(),
                                QStringLiteral("clCustom"),  QStringLiteral("CLTRANSPARENT"),
                                QStringLiteral("clAqua"),    QStringLiteral("clNone")};
    EXPECT_EQ(FormatJASCPalette(colors),
              QByteArray("JASC-PAL\r\n0100\r\n256\r\n255 128 0\r\n0 255 255\r\n255 255 255\r\n"));
}

TEST_F(PalUtilsTest, JascWriterRefusesTextThatIsNoColour) {
    EXPECT_EQ(ErrorOf([] { FormatJASCPalette({QStringLiteral("$00 00 00 FF")}); }),
              QStringLiteral("'$00 00 00 FF' is not a valid integer value"));
}

struct HostileRow {
    const char* name;
    const char* file;
    QByteArray bytes;
    QString error;
};

TEST_F(PalUtilsTest, HostileFilesGiveTheirErrors) {
    const std::vector<HostileRow> rows = {
        {"count 65535 over 12 bytes", "count.aco", Words({1, 0xFFFF, 0, 0xFF00, 0, 0}),
         ReadErrorMessage},
        {"name length beyond the end", "name.aco",
         Words({2, 1}) + Words({0, 0, 0, 0, 0}) + Words({0, 0xFFFF, 0x41, 0x42}), ReadErrorMessage},
        {"empty swatch file", "empty.aco", QByteArray(), ReadErrorMessage},
        {"odd byte count", "odd.aco", QByteArray("\x00", 1), ReadErrorMessage},
        {"version 3", "v3.aco", Words({3, 1}) + Words({0, 0, 0, 0, 0}),
         UnsupportedAcoVersionMessage},
        {"version 65535", "vmax.aco", Words({0xFFFF}), UnsupportedAcoVersionMessage},
        {"colour table one byte short", "short.act", QByteArray(767, '\x7F'), ReadErrorMessage},
        {"binary junk with three pieces", "junk.pal",
         QByteArray("\x00\x01\xFE\x80 \x9F\x02 x\n", 10), QString()},
    };
    for (const HostileRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = Write(QString::fromLatin1(row.file), row.bytes);
        const QString error = ErrorOf([&] {
            switch (PaletteFormatOf(path)) {
            case PaletteFormat::Aco:
                ParseAcoPalette(ReadPaletteFileBytes(path));
                break;
            case PaletteFormat::Act:
                ParseActPalette(ReadPaletteFileBytes(path));
                break;
            default:
                ParseJASCPalette(ReadPaletteFileBytes(path));
            }
        });
        if (row.error.isEmpty())
            EXPECT_TRUE(error.endsWith(QStringLiteral("is not a valid integer value")))
                << error.toStdString();
        else
            EXPECT_EQ(error, row.error);
    }
}

TEST_F(PalUtilsTest, EveryTruncationOfASwatchFileIsAReadError) {
    const QByteArray whole = AcoV2();
    for (qsizetype n = 0; n < whole.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(ErrorOf([&] { ParseAcoPalette(whole.left(n)); }), ReadErrorMessage);
    }
    EXPECT_EQ(ParseAcoPalette(whole).Colors.size(), 5u);
}

TEST_F(PalUtilsTest, RandomBytesNeverCrashTheReaders) {
    // Whatever the bytes, each reader returns colours or its error, within the bytes given.
    RandomBytes random(20261208);
    for (int round = 0; round < 500; ++round) {
        const QByteArray bytes = random.Next(round % 64 + (round % 7) * 200);
        try {
            const AcoColors aco = ParseAcoPalette(bytes);
            EXPECT_LE(aco.Colors.size() * 10, static_cast<size_t>(bytes.size()));
        } catch (const EPaletteError&) {
        }
        try {
            ParseJASCPalette(bytes);
        } catch (const EConvertError&) {
        }
        try {
            EXPECT_EQ(ParseActPalette(bytes).size(), 256u);
        } catch (const EPaletteError&) {
        }
    }
}

TEST_F(PalUtilsTest, JunkWithoutThreePiecesLoadsNothing) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(static_cast<char>((i * 7919) & 0xFF) == ' '
                        ? 'x'
                        : static_cast<char>((i * 7919) & 0xFF));
    EXPECT_TRUE(ParseJASCPalette(junk).empty());
}

TEST_F(PalUtilsTest, OversizedFileIsRefusedBeforeReading) {
    const QString path = dir_.filePath(QStringLiteral("huge.pal"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(MaxPaletteFileSize + 1));
    f.close();
    EXPECT_EQ(ErrorOf([&] { ReadJASCPalette(path); }), FileTooLargeMessage);
    const QString exact = Write(QStringLiteral("limit.pal"), QByteArray());
    QFile g(exact);
    ASSERT_TRUE(g.open(QIODevice::ReadWrite));
    ASSERT_TRUE(g.resize(MaxPaletteFileSize));
    g.close();
    EXPECT_TRUE(ReadJASCPalette(exact).empty()) << "a file of exactly the limit is read";
}

TEST_F(PalUtilsTest, MissingFile) {
    const QString path = dir_.filePath(QStringLiteral("absent.aco"));
    EXPECT_EQ(ErrorOf([&] { ReadAcoPalette(path); }), FileNotFoundMessage);
    EXPECT_EQ(ErrorOf([&] { ReadPaletteFileBytes(dir_.path()); }), FileNotFoundMessage)
        << "a folder is no palette";
}

TEST_F(PalUtilsTest, FormatByExtension) {
    EXPECT_EQ(PaletteFormatOf(QStringLiteral("a.pal")), PaletteFormat::Pal);
    EXPECT_EQ(PaletteFormatOf(QStringLiteral("/x/A.PAL")), PaletteFormat::Pal);
    EXPECT_EQ(PaletteFormatOf(QStringLiteral("b.Aco")), PaletteFormat::Aco);
    EXPECT_EQ(PaletteFormatOf(QStringLiteral("c.act")), PaletteFormat::Act);
    EXPECT_EQ(PaletteFormatOf(QStringLiteral("pal")), PaletteFormat::Unknown);
    EXPECT_EQ(PaletteFormatOf(QStringLiteral("d.gpl")), PaletteFormat::Unknown);
    EXPECT_EQ(PaletteFormatOf(QStringLiteral("e.pal.bak")), PaletteFormat::Unknown);
}

TEST_F(PalUtilsTest, GridLoadsEachFormat) {
    TmbColorPalette grid;
    QSignalSpy selChanges(&grid, &TmbColorPalette::selColorChange);
    grid.SetPalette(Write(QStringLiteral("v2.ACO"), AcoV2()));
    EXPECT_EQ(
        grid.Colors(),
        (QStringList{QStringLiteral("$000080FF"), QStringLiteral("clRed"), QStringLiteral("clAqua"),
                     ColorToString(LabToRGB(50, -20, 30)), QStringLiteral("clGray")}));
    EXPECT_EQ(grid.ColorNames().size(), 5);
    EXPECT_EQ(grid.ColorNames()[2], QStringLiteral("Cyan ink"));
    EXPECT_EQ(selChanges.count(), 1);

    grid.SetPalette(Write(QStringLiteral("v1.aco"), AcoV1()));
    EXPECT_EQ(grid.Colors().size(), 5);
    EXPECT_TRUE(grid.ColorNames().isEmpty()) << "version 1 has no names";

    grid.SetPalette(
        Write(QStringLiteral("two.PAL"), "JASC-PAL\r\n0100\r\n2\r\n255 0 0\r\n0 0 255\r\n"));
    EXPECT_EQ(grid.Colors(), (QStringList{QStringLiteral("clRed"), QStringLiteral("clBlue")}));
    EXPECT_EQ(grid.Palette(), dir_.filePath(QStringLiteral("two.PAL")));

    grid.SetPalette(Write(QStringLiteral("t.act"), QByteArray(768, '\0')));
    EXPECT_EQ(grid.Colors().size(), 256);
    EXPECT_EQ(grid.Colors()[0], QStringLiteral("clBlack"));
}

struct GridFailureRow {
    const char* name;
    const char* file;
    QByteArray bytes; // null: the file is not written
    QString error;
};

TEST_F(PalUtilsTest, FailedLoadLeavesColoursAndNames) {
    const std::vector<GridFailureRow> rows = {
        {"missing .pal", "missing.pal", QByteArray(), FileNotFoundMessage},
        {"missing .act", "missing.act", QByteArray(), FileNotFoundMessage},
        {"other extension", "x.gpl", QByteArray("GIMP Palette"), UnsupportedPaletteMessage},
        {"version 3 swatches", "v3.aco", Words({3, 0}), UnsupportedAcoVersionMessage},
        {"truncated swatches", "cut.aco", AcoV2().left(40), ReadErrorMessage},
        {"short colour table", "cut.act", QByteArray(10, 'a'), ReadErrorMessage},
        {"JASC non-number", "bad.pal", QByteArray("JASC-PAL\r\n1 2 3\r\nred green blue\r\n"),
         QStringLiteral("'red' is not a valid integer value")},
    };
    for (const GridFailureRow& row : rows) {
        SCOPED_TRACE(row.name);
        TmbColorPalette grid;
        grid.SetColors({QStringLiteral("$00000001"), QStringLiteral("$00000002")});
        grid.SetColorNames({QStringLiteral("one"), QStringLiteral("two")});
        QString path = dir_.filePath(QString::fromLatin1(row.file));
        if (!row.bytes.isNull())
            path = Write(QString::fromLatin1(row.file), row.bytes);
        QSignalSpy colorChanges(&grid, &TmbColorPalette::colorsChange);
        EXPECT_EQ(ErrorOf([&] { grid.SetPalette(path); }), row.error);
        EXPECT_EQ(grid.Colors().size(), 2);
        EXPECT_EQ(grid.ColorNames(), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
        EXPECT_EQ(colorChanges.count(), 0);
    }
}

TEST_F(PalUtilsTest, LoadSaveLoadKeepsTheColours) {
    TmbColorPalette grid;
    grid.SetPalette(Write(QStringLiteral("in.aco"), AcoV2()));
    const QStringList first = grid.Colors();
    const QString saved = dir_.filePath(QStringLiteral("out.pal"));
    grid.SaveColorsAsPalette(saved);
    TmbColorPalette again;
    again.SetPalette(saved);
    EXPECT_EQ(again.Colors(), first);
    EXPECT_TRUE(Read(saved).startsWith("JASC-PAL\r\n0100\r\n256\r\n255 128 0\r\n"));
}

TEST_F(PalUtilsTest, SaveOnlyAsPal) {
    TmbColorPalette grid;
    grid.SetColors({QStringLiteral("$000000FF")});
    const QString aco = dir_.filePath(QStringLiteral("x.aco"));
    EXPECT_EQ(ErrorOf([&] { grid.SaveColorsAsPalette(aco); }), UnsupportedSaveExtensionMessage);
    EXPECT_FALSE(QFile::exists(aco));
    const QString upper = dir_.filePath(QStringLiteral("X.PAL"));
    grid.SaveColorsAsPalette(upper);
    EXPECT_EQ(Read(upper), QByteArray("JASC-PAL\r\n0100\r\n256\r\n255 0 0\r\n"));
}

TEST_F(PalUtilsTest, FailedSaveLeavesTheOldFile) {
    const QString path = Write(QStringLiteral("keep.pal"), "old contents");
    TmbColorPalette grid;
    grid.SetColors({QStringLiteral("$000000FF"), QStringLiteral("not a colour")});
    EXPECT_NE(ErrorOf([&] { grid.SaveColorsAsPalette(path); }), QStringLiteral("<no error>"));
    EXPECT_EQ(Read(path), QByteArray("old contents"));
}

TEST_F(PalUtilsTest, SaveOverAFolderFailsAndKeepsIt) {
    const QString folder = dir_.filePath(QStringLiteral("folder.pal"));
    ASSERT_TRUE(QDir().mkdir(folder));
    Write(QStringLiteral("folder.pal/inside.txt"), "kept");
    TmbColorPalette grid;
    grid.SetColors({QStringLiteral("$000000FF")});
    EXPECT_EQ(ErrorOf([&] { grid.SaveColorsAsPalette(folder); }), WriteErrorMessage);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(Read(folder + QStringLiteral("/inside.txt")), QByteArray("kept"));
}

TEST_F(PalUtilsTest, SaveOnAFullDiskKeepsTheOldFile) {
    TmbColorPalette grid;
    const QString name = dir_.filePath(QStringLiteral("p.pal"));
    {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    grid.SetColors({QStringLiteral("$000000FF")});
    QString error;
    {
        test::ScopedFileSizeLimit fullDisk(1);
        error = ErrorOf([&] { grid.SaveColorsAsPalette(name); });
    }
    EXPECT_EQ(error, WriteErrorMessage);
    EXPECT_EQ(Read(name), QByteArray("old"));
}

} // namespace
} // namespace chromint
