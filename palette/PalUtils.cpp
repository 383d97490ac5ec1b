#include "PalUtils.h"

#include "CIE.h"
#include "ColorUtils.h"
#include "PaletteModel.h"
#include "PickerConversions.h"
#include "Rounding.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace chromint {

const QString FileNotFoundMessage = QStringLiteral("File not found");
const QString UnsupportedPaletteMessage = QStringLiteral(
    "The file format you are trying to load is not supported in this version of the "
    "palette\rPlease send a request to Orvex along with the files of this format so\rloading "
    "support for this file can be added too");
const QString UnsupportedAcoVersionMessage = QStringLiteral(
    "The file you are trying to load is not (yet) supported.\rPlease submit the file for "
    "testing to Orvex so loading of this version will be supported too");
const QString UnsupportedSaveExtensionMessage =
    QStringLiteral("The file extension specified does not identify a supported file "
                   "format!\rSupported files formats are: .pal .aco .act");
const QString ReadErrorMessage = QStringLiteral("Stream read error");
const QString FileTooLargeMessage =
    QStringLiteral("The file is too large to be a palette (more than 16 MB)");
const QString WriteErrorMessage = QStringLiteral("Cannot write the palette file");

namespace {

int RoundDiv(double value, double divisor) {
    return static_cast<int>(RoundHalfEven(value / divisor));
}

TColor FromInkPercents(int c, int m, int y, int k) {
    auto share = [](int v) { return std::clamp(v, 0, 100) / 100.0; };
    return MakeRGB(CMYKToRGB(share(c), share(m), share(y), share(k)));
}

QString DecodeText(const QByteArray& bytes) {
    // A byte-order mark says which Unicode form follows; otherwise the locale's encoding.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringConverter::Utf16LE);
        return decoder.decode(bytes.mid(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringConverter::Utf16BE);
        return decoder.decode(bytes.mid(2));
    }
    return QString::fromLocal8Bit(bytes);
}

// Windows-1252 between 0x80 and 0x9F; the five bytes it leaves unassigned keep their own
// numbers, as Windows does. The rest of the page is Latin-1.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

// A name of single bytes, as the Windows program that writes version-0 swatches stores it:
// in its code page, Windows-1252. Names that are valid UTF-8 are taken as UTF-8: accented
// Windows-1252 text almost never is.
QString DecodeSingleByteName(const QByteArray& bytes) {
    // Stateless: a sequence cut off at the end counts as an error rather than waiting for
    // more bytes.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    QString name = utf8.decode(bytes);
    if (!utf8.hasError())
        return name;
    name.resize(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<quint8>(bytes[i]);
        name[i] = QChar(byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80]
                                                    : static_cast<char16_t>(byte));
    }
    return name;
}

} // namespace

PaletteFormat PaletteFormatOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1StringView("pal"))
        return PaletteFormat::Pal;
    if (suffix == QLatin1StringView("aco"))
        return PaletteFormat::Aco;
    if (suffix == QLatin1StringView("act"))
        return PaletteFormat::Act;
    return PaletteFormat::Unknown;
}

QByteArray ReadPaletteFileBytes(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.exists() || !info.isFile())
        throw EPaletteError(FileNotFoundMessage);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EPaletteError(ReadErrorMessage);
    // The size is checked again on the bytes read: a file may grow, or be a device whose
    // size is unknown until it is read.
    if (file.size() > MaxPaletteFileSize)
        throw EPaletteError(FileTooLargeMessage);
    QByteArray bytes = file.read(MaxPaletteFileSize + 1);
    if (bytes.size() > MaxPaletteFileSize)
        throw EPaletteError(FileTooLargeMessage);
    if (file.error() != QFileDevice::NoError)
        throw EPaletteError(ReadErrorMessage);
    return bytes;
}

std::vector<TColor> ParseJASCPalette(const QByteArray& bytes) {
    const QString text = DecodeText(bytes);
    std::vector<TColor> colors;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start <= n) {
        // Lines end in CR LF, LF or a lone CR.
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const QStringView line = QStringView(text).mid(start, end - start);
        if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
        if (line.isEmpty())
            continue;
        // Only blanks separate; a tab stays inside its piece.
        const auto pieces = line.split(u' ', Qt::SkipEmptyParts);
        if (pieces.size() != 3)
            continue;
        const int r = ParsePaletteInt(pieces[0].toString());
        const int g = ParsePaletteInt(pieces[1].toString());
        const int b = ParsePaletteInt(pieces[2].toString());
        colors.push_back(MakeRGB(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                 static_cast<std::uint8_t>(b)));
    }
    return colors;
}

TColor AcoRecordToColor(quint16 space, quint16 w1, quint16 w2, quint16 w3, quint16 w4) {
    switch (space) {
    case 1: {
        const int hue = RoundDiv(w1, 182.04);
        const int sat = RoundDiv(w2, 655.35);
        const int bri = RoundDiv(w3, 655.35);
        // The percentages on the 0..255 scale the conversion works in.
        return PickerHSVToRGB(hue, RoundDiv(sat * 255, 100), RoundDiv(bri * 255, 100));
    }
    case 2: {
        auto ink = [](quint16 w) { return static_cast<int>(RoundHalfEven(100.0 - w / 655.35)); };
        return FromInkPercents(ink(w1), ink(w2), ink(w3), ink(w4));
    }
    case 7:
        return LabToRGB(w1 / 100.0, static_cast<qint16>(w2) / 100.0,
                        static_cast<qint16>(w3) / 100.0);
    case 8: {
        // 10,000 is white; the quotient reaches 256 just below it and beyond it for bad
        // words, and is kept at white rather than wrapping round to black.
        const int g = std::min(RoundDiv(w1, 39.0625), 255);
        return MakeRGB(static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(g),
                       static_cast<std::uint8_t>(g));
    }
    case 9:
        return FromInkPercents(w1 / 100, w2 / 100, w3 / 100, w4 / 100);
    default:
        return MakeRGB(static_cast<std::uint8_t>(w1 >> 8), static_cast<std::uint8_t>(w2 >> 8),
                       static_cast<std::uint8_t>(w3 >> 8));
    }
}

AcoColors ParseAcoPalette(const QByteArray& bytes) {
    ByteReader in(bytes);
    const quint16 version = in.Word();
    if (version >= 3)
        throw EPaletteError(UnsupportedAcoVersionMessage);
    const quint16 count = in.Word();
    AcoColors out;
    out.HasNames = version == 0 || version == 2;
    // No room is reserved from the count: it is only as good as the bytes behind it.
    for (int i = 0; i < count; ++i) {
        const quint16 space = in.Word();
        const quint16 w1 = in.Word();
        const quint16 w2 = in.Word();
        const quint16 w3 = in.Word();
        const quint16 w4 = in.Word();
        out.Colors.push_back(AcoRecordToColor(space, w1, w2, w3, w4));
        if (version == 0) {
            const quint8 n = in.Byte();
            out.Names.push_back(DecodeSingleByteName(in.Bytes(n)));
        } else if (version == 2) {
            in.Word();
            const quint16 length = in.Word();
            QString name;
            if (length > 0) {
                const QByteArray raw = in.Bytes(qsizetype(length - 1) * 2);
                name.resize(length - 1);
                for (int c = 0; c < length - 1; ++c) {
                    name[c] = QChar(static_cast<char16_t>((static_cast<quint8>(raw[2 * c]) << 8) |
                                                          static_cast<quint8>(raw[2 * c + 1])));
                }
                in.Word();
            }
            out.Names.push_back(name);
        }
    }
    return out;
}

std::vector<TColor> ParseActPalette(const QByteArray& bytes) {
    if (bytes.size() < 768)
        throw EPaletteError(ReadErrorMessage);
    std::vector<TColor> colors(256);
    for (int i = 0; i < 256; ++i) {
        colors[i] = MakeRGB(static_cast<std::uint8_t>(bytes[3 * i]),
                            static_cast<std::uint8_t>(bytes[3 * i + 1]),
                            static_cast<std::uint8_t>(bytes[3 * i + 2]));
    }
    return colors;
}

std::vector<TColor> ReadJASCPalette(const QString& fileName) {
    return ParseJASCPalette(ReadPaletteFileBytes(fileName));
}

AcoColors ReadAcoPalette(const QString& fileName) {
    return ParseAcoPalette(ReadPaletteFileBytes(fileName));
}

std::vector<TColor> ReadActPalette(const QString& fileName) {
    return ParseActPalette(ReadPaletteFileBytes(fileName));
}

QByteArray FormatJASCPalette(const QStringList& colors) {
    QByteArray out("JASC-PAL\r\n0100\r\n256\r\n");
    for (const QString& entry : colors) {
        if (entry.isEmpty() ||
            entry.compare(QLatin1StringView("clCustom"), Qt::CaseInsensitive) == 0 ||
            entry.compare(QLatin1StringView("clTransparent"), Qt::CaseInsensitive) == 0)
            continue;
        const auto color = TryIdentOrIntToColor(entry);
        if (!color)
            throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(entry));
        out += QByteArray::number(GetRValue(*color)) + ' ' + QByteArray::number(GetGValue(*color)) +
               ' ' + QByteArray::number(GetBValue(*color)) + "\r\n";
    }
    return out;
}

void WriteJASCPalette(const QString& fileName, const QStringList& colors) {
    // The text is complete before the file is touched, so a bad entry writes nothing.
    WritePaletteFileBytes(fileName, FormatJASCPalette(colors));
}

void WritePaletteFileBytes(const QString& fileName, const QByteArray& text) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EPaletteError(WriteErrorMessage);
    // QSaveFile::commit drops an error of its last buffered write (a full disk keeps only
    // part of the text): flushing first reports it, and the old file stays.
    if (file.write(text) != text.size() || !file.flush()) {
        file.cancelWriting();
        throw EPaletteError(WriteErrorMessage);
    }
    if (!file.commit())
        throw EPaletteError(WriteErrorMessage);
}

} // namespace chromint
