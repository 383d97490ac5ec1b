#include "PaletteExchange.h"

#include "ColorUtils.h"
#include "CssColor.h"
#include "PaletteModel.h"
#include "Rounding.h"

#include <QByteArrayView>
#include <QFileInfo>

#include <algorithm>
#include <bit>
#include <cmath>
#include <string_view>

namespace chromint {

const QString NoColoursMessage = QStringLiteral("The file holds no colours.");
const QString NotUtf8Message = QStringLiteral("The file is not UTF-8 text.");
const QString NotAColourLineMessage = QStringLiteral("Line %1 of the file is not a colour.");
const QString TooManyColoursMessage = QStringLiteral("The format holds at most %1 colours.");
const QString UnsupportedExchangeExtensionMessage =
    QStringLiteral("The file name must end in .gpl, .ase, .aco, .act, .pal, .css, .txt or .hex.");

namespace {

struct FormatEntry {
    ExchangeFormat format;
    const char* title;
    const char* suffixes; // blank-separated, lower case
    std::vector<NamedColor> (*parse)(const QByteArray& bytes);
    // Only GIMP palettes keep the palette's name.
    QByteArray (*write)(const std::vector<NamedColor>& colors, const QString& paletteName);
};

QString Patterns(const char* suffixes) {
    QStringList out;
    for (const QString& suffix : QString::fromLatin1(suffixes).split(u' '))
        out += QStringLiteral("*.") + suffix;
    return out.join(u' ');
}

// --- Bytes -----------------------------------------------------------------------------------

void PutWord(QByteArray& out, quint16 w) {
    out.append(static_cast<char>(w >> 8));
    out.append(static_cast<char>(w & 0xFF));
}

void PutLong(QByteArray& out, quint32 v) {
    PutWord(out, static_cast<quint16>(v >> 16));
    PutWord(out, static_cast<quint16>(v & 0xFFFF));
}

void PutUtf16(QByteArray& out, const QString& text) {
    for (const QChar ch : text)
        PutWord(out, ch.unicode());
}

// UTF-16BE up to the first terminating zero.
QString Utf16BE(const QByteArray& raw) {
    QString out;
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2) {
        const auto unit = static_cast<char16_t>((static_cast<quint8>(raw[i]) << 8) |
                                                static_cast<quint8>(raw[i + 1]));
        if (unit == 0)
            break;
        out.append(QChar(unit));
    }
    return out;
}

// A value read from a file, within the range its format gives; not-a-number counts as 0.
double Bounded(float v, double lo, double hi) {
    return v == v ? std::clamp(static_cast<double>(v), lo, hi) : std::clamp(0.0, lo, hi);
}

// "rrggbb", lower case.
QByteArray HexOf(TColor color) {
    const char rgb[3] = {static_cast<char>(GetRValue(color)), static_cast<char>(GetGValue(color)),
                         static_cast<char>(GetBValue(color))};
    return QByteArray(rgb, 3).toHex();
}

// --- Text ------------------------------------------------------------------------------------

// The text of a file without its byte-order mark; EPaletteError for bytes that are not UTF-8.
QByteArrayView Utf8Text(const QByteArray& bytes) {
    QByteArrayView text(bytes);
    if (text.startsWith(QByteArrayView("\xEF\xBB\xBF")))
        text = text.sliced(3);
    if (!text.isValidUtf8())
        throw EPaletteError(NotUtf8Message);
    return text;
}

// Calls f(number, line) for each line, numbered from 1; lines end in LF, CR LF or a lone CR.
template <typename F>
void ForEachLine(QByteArrayView text, F&& f) {
    int number = 0;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != '\r' && text[end] != '\n')
            ++end;
        f(++number, text.sliced(start, end - start));
        if (end + 1 < n && text[end] == '\r' && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The next run of characters other than blanks from pos on; pos moves past it.
QByteArrayView NextField(QByteArrayView line, qsizetype& pos) {
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    const qsizetype start = pos;
    while (pos < line.size() && !IsBlank(line[pos]))
        ++pos;
    return line.sliced(start, pos - start);
}

QString NameOf(QByteArrayView text) {
    return QString::fromUtf8(text.trimmed());
}

[[noreturn]] void NotAColour(int line) {
    throw EPaletteError(NotAColourLineMessage.arg(line));
}

// --- GIMP ------------------------------------------------------------------------------------

// A channel as GIMP reads it: a decimal integer, kept within 0..255.
std::optional<int> GplChannel(QByteArrayView field) {
    qsizetype i = 0;
    bool negative = false;
    if (!field.isEmpty() && (field[0] == '+' || field[0] == '-')) {
        negative = field[0] == '-';
        ++i;
    }
    if (i == field.size())
        return std::nullopt;
    int value = 0;
    for (; i < field.size(); ++i) {
        if (field[i] < '0' || field[i] > '9')
            return std::nullopt;
        value = std::min(value * 10 + (field[i] - '0'), 256);
    }
    return negative ? 0 : std::min(value, 255);
}

std::vector<NamedColor> ParseGpl(const QByteArray& bytes) {
    const QByteArrayView text = Utf8Text(bytes);
    std::vector<NamedColor> out;
    bool header = false;
    ForEachLine(text, [&](int number, QByteArrayView line) {
        if (number == 1) {
            if (line.trimmed() != QByteArrayView("GIMP Palette"))
                throw EPaletteError(UnsupportedPaletteMessage);
            header = true;
            return;
        }
        qsizetype pos = 0;
        const QByteArrayView first = NextField(line, pos);
        // "Name:", "Columns:" and any other "Key: value" line of a newer writer.
        if (first.isEmpty() || first.startsWith('#') || first.contains(':'))
            return;
        const auto r = GplChannel(first);
        const auto g = GplChannel(NextField(line, pos));
        const auto b = GplChannel(NextField(line, pos));
        if (!r || !g || !b)
            NotAColour(number);
        out.push_back({MakeRGB(static_cast<std::uint8_t>(*r), static_cast<std::uint8_t>(*g),
                               static_cast<std::uint8_t>(*b)),
                       NameOf(line.sliced(pos))});
    });
    if (!header)
        throw EPaletteError(UnsupportedPaletteMessage);
    return out;
}

// Line breaks would end the line the name stands on.
QByteArray OneLine(const QString& text) {
    QString out = text;
    for (QChar& ch : out) {
        if (ch == u'\n' || ch == u'\r')
            ch = u' ';
    }
    return out.toUtf8();
}

// As GIMP writes it, so that GIMP and Inkscape read it without surprises.
QByteArray FormatGpl(const std::vector<NamedColor>& colors, const QString& paletteName) {
    QByteArray out = "GIMP Palette\nName: " + OneLine(paletteName) + "\nColumns: 0\n#\n";
    for (const NamedColor& c : colors) {
        out += QByteArray::number(GetRValue(c.color)).rightJustified(3, ' ') + ' ' +
               QByteArray::number(GetGValue(c.color)).rightJustified(3, ' ') + ' ' +
               QByteArray::number(GetBValue(c.color)).rightJustified(3, ' ') + '\t' +
               OneLine(c.name) + '\n';
    }
    return out;
}

// --- Adobe Swatch Exchange -------------------------------------------------------------------

constexpr quint16 AseColorEntry = 0x0001;
constexpr quint16 AseNormalColor = 2;

float AseFloat(ByteReader& in) {
    return std::bit_cast<float>(in.Long());
}

TColor AseLabColor(float l, float a, float b) {
    const RGBf linear =
        CssLabToLinearSrgb({Bounded(l, 0, 1) * 100, Bounded(a, -128, 127), Bounded(b, -128, 127)});
    // Gamut-mapped rather than clipped: Lab reaches far outside sRGB.
    return ColorOfCss(
        {{LinearToSrgb(linear.r), LinearToSrgb(linear.g), LinearToSrgb(linear.b)}, 1});
}

NamedColor AseColor(const QByteArray& block) {
    ByteReader in(block);
    const quint16 nameLength = in.Word(); // UTF-16 units, the terminating zero included
    NamedColor out;
    out.name = Utf16BE(in.Bytes(qsizetype(nameLength) * 2));
    const QByteArray model = in.Bytes(4);
    auto is = [&](const char* name) { return model.compare(name, Qt::CaseInsensitive) == 0; };
    if (is("RGB ")) {
        const float r = AseFloat(in), g = AseFloat(in), b = AseFloat(in);
        out.color = MakeRGB(RoundChannel(r), RoundChannel(g), RoundChannel(b));
    } else if (is("CMYK")) {
        const float c = AseFloat(in), m = AseFloat(in), y = AseFloat(in), k = AseFloat(in);
        out.color = MakeRGB(
            CMYKToRGB(Bounded(c, 0, 1), Bounded(m, 0, 1), Bounded(y, 0, 1), Bounded(k, 0, 1)));
    } else if (is("Gray")) {
        const std::uint8_t v = RoundChannel(AseFloat(in));
        out.color = MakeRGB(v, v, v);
    } else if (is("LAB ")) {
        const float l = AseFloat(in), a = AseFloat(in), b = AseFloat(in);
        out.color = AseLabColor(l, a, b);
    } else {
        throw EPaletteError(UnsupportedPaletteMessage);
    }
    return out;
}

std::vector<NamedColor> ParseAse(const QByteArray& bytes) {
    if (!bytes.startsWith("ASEF"))
        throw EPaletteError(UnsupportedPaletteMessage);
    ByteReader in(bytes);
    in.Bytes(4);
    const quint16 major = in.Word();
    in.Word();
    if (major != 1)
        throw EPaletteError(UnsupportedPaletteMessage);
    const quint32 count = in.Long();
    std::vector<NamedColor> out;
    // The count is only as good as the blocks behind it: every block takes at least six
    // bytes, so a count beyond the file ends in a read error, not a long loop.
    for (quint32 i = 0; i < count; ++i) {
        const quint16 type = in.Word();
        const QByteArray block = in.Bytes(in.Long());
        // Group start and end blocks only arrange the colours.
        if (type == AseColorEntry)
            out.push_back(AseColor(block));
    }
    return out;
}

QByteArray FormatAse(const std::vector<NamedColor>& colors, const QString&) {
    QByteArray out("ASEF");
    PutWord(out, 1);
    PutWord(out, 0);
    PutLong(out, static_cast<quint32>(colors.size()));
    for (const NamedColor& c : colors) {
        const QString name = c.name.left(0xFFFE);
        PutWord(out, AseColorEntry);
        PutLong(out, static_cast<quint32>(2 + (name.size() + 1) * 2 + 4 + 3 * 4 + 2));
        PutWord(out, static_cast<quint16>(name.size() + 1));
        PutUtf16(out, name);
        PutWord(out, 0);
        out += "RGB ";
        for (const std::uint8_t v : {GetRValue(c.color), GetGValue(c.color), GetBValue(c.color)})
            PutLong(out, std::bit_cast<quint32>(static_cast<float>(v / 255.0)));
        PutWord(out, AseNormalColor);
    }
    return out;
}

// --- Photoshop swatches and colour tables ----------------------------------------------------

std::vector<NamedColor> ParseAco(const QByteArray& bytes) {
    AcoColors aco = ParseAcoPalette(bytes);
    // Photoshop writes the colours twice, in version 1 and then in version 2 with names.
    const qsizetype second = 4 + 10 * static_cast<qsizetype>(aco.Colors.size());
    if (!aco.HasNames && bytes.size() > second + 4 && bytes[second] == 0 &&
        bytes[second + 1] == 2) {
        try {
            AcoColors named = ParseAcoPalette(bytes.mid(second));
            if (named.Colors.size() == aco.Colors.size())
                aco = std::move(named);
        } catch (const EPaletteError&) {
            // A broken second block loses only the names: every colour is in the first.
        }
    }
    std::vector<NamedColor> out;
    for (size_t i = 0; i < aco.Colors.size(); ++i)
        out.push_back({aco.Colors[i], i < aco.Names.size() ? aco.Names[i] : QString()});
    return out;
}

QByteArray FormatAco(const std::vector<NamedColor>& colors, const QString&) {
    if (colors.size() > 0xFFFF)
        throw EPaletteError(TooManyColoursMessage.arg(0xFFFF));
    QByteArray out;
    for (const quint16 version : {1, 2}) {
        PutWord(out, version);
        PutWord(out, static_cast<quint16>(colors.size()));
        for (const NamedColor& c : colors) {
            PutWord(out, 0); // RGB, each channel byte spread over a word
            PutWord(out, static_cast<quint16>(GetRValue(c.color) * 257));
            PutWord(out, static_cast<quint16>(GetGValue(c.color) * 257));
            PutWord(out, static_cast<quint16>(GetBValue(c.color) * 257));
            PutWord(out, 0);
            if (version == 2) {
                const QString name = c.name.left(0xFFFE);
                PutLong(out, static_cast<quint32>(name.size() + 1));
                PutUtf16(out, name);
                PutWord(out, 0);
            }
        }
    }
    return out;
}

constexpr qsizetype ActTableSize = 768;
constexpr qsizetype ActWithTrailerSize = 772;

std::vector<NamedColor> ParseAct(const QByteArray& bytes) {
    const std::vector<TColor> table = ParseActPalette(bytes);
    qsizetype count = 256;
    qsizetype transparent = -1;
    // The trailer Photoshop adds: how many entries are used, and which one is transparent.
    if (bytes.size() == ActWithTrailerSize) {
        ByteReader in(bytes);
        in.Bytes(ActTableSize);
        const quint16 used = in.Word();
        const quint16 index = in.Word();
        if (used >= 1 && used <= 256)
            count = used;
        if (index < count)
            transparent = index;
    }
    std::vector<NamedColor> out;
    for (qsizetype i = 0; i < count; ++i) {
        if (i != transparent)
            out.push_back({table[i], QString()});
    }
    return out;
}

QByteArray FormatAct(const std::vector<NamedColor>& colors, const QString&) {
    if (colors.size() > 256)
        throw EPaletteError(TooManyColoursMessage.arg(256));
    QByteArray out;
    for (const NamedColor& c : colors) {
        out.append(static_cast<char>(GetRValue(c.color)));
        out.append(static_cast<char>(GetGValue(c.color)));
        out.append(static_cast<char>(GetBValue(c.color)));
    }
    out.append(ActTableSize - out.size(), '\0');
    PutWord(out, static_cast<quint16>(colors.size()));
    PutWord(out, 0xFFFF); // no transparent entry
    return out;
}

// --- JASC ------------------------------------------------------------------------------------

std::vector<NamedColor> ParsePal(const QByteArray& bytes) {
    std::vector<TColor> colors;
    try {
        colors = ParseJASCPalette(bytes);
    } catch (const EConvertError& e) {
        throw EPaletteError(e.Message());
    }
    std::vector<NamedColor> out;
    for (const TColor c : colors)
        out.push_back({c, QString()});
    return out;
}

// Unlike the grid's own ".pal" files, which always say 256, the count is the real one: other
// programs read as many lines as it says.
QByteArray FormatPal(const std::vector<NamedColor>& colors, const QString&) {
    QByteArray out = "JASC-PAL\r\n0100\r\n" + QByteArray::number(colors.size()) + "\r\n";
    for (const NamedColor& c : colors) {
        out += QByteArray::number(GetRValue(c.color)) + ' ' +
               QByteArray::number(GetGValue(c.color)) + ' ' +
               QByteArray::number(GetBValue(c.color)) + "\r\n";
    }
    return out;
}

// --- CSS -------------------------------------------------------------------------------------

// No colour notation is longer; a longer value is not parsed at all.
constexpr qsizetype MaxCssColorLength = 256;

void TakeCssDeclaration(QByteArrayView declaration, std::vector<NamedColor>& out) {
    const qsizetype colon = declaration.indexOf(':');
    if (colon < 0)
        return;
    const QByteArrayView name = declaration.first(colon).trimmed();
    if (name.size() <= 2 || !name.startsWith("--"))
        return;
    QByteArrayView value = declaration.sliced(colon + 1).trimmed();
    const QByteArrayView important("!important");
    if (value.size() >= important.size() &&
        value.last(important.size()).compare(important, Qt::CaseInsensitive) == 0)
        value = value.chopped(important.size()).trimmed();
    if (value.size() > MaxCssColorLength)
        return;
    const auto color = ParseCssColor(std::string_view(value.data(), value.size()));
    if (color)
        out.push_back({ColorOfCss(*color), QString::fromUtf8(name.sliced(2))});
}

// Every custom property whose value is a colour, wherever it is declared; other properties
// and values are passed over.
std::vector<NamedColor> ParseCss(const QByteArray& bytes) {
    const QByteArrayView text = Utf8Text(bytes);
    std::vector<NamedColor> out;
    QByteArray declaration; // without its comments
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            const qsizetype end = text.indexOf("*/", i + 2);
            i = end < 0 ? n : end + 1;
            declaration += ' ';
        } else if (c == '"' || c == '\'') {
            // A string's delimiters are text, not the end of a declaration.
            const qsizetype start = i;
            for (++i; i < n && text[i] != c && text[i] != '\n'; ++i) {
                if (text[i] == '\\' && i + 1 < n)
                    ++i;
            }
            declaration.append(text.sliced(start, std::min(i + 1, n) - start));
        } else if (c == ';' || c == '{' || c == '}') {
            TakeCssDeclaration(declaration, out);
            declaration.clear();
        } else {
            declaration += c;
        }
    }
    TakeCssDeclaration(declaration, out);
    return out;
}

QByteArray FormatCss(const std::vector<NamedColor>& colors, const QString&) {
    QByteArray out(":root {\n");
    for (size_t i = 0; i < colors.size(); ++i)
        out += "  --color-" + QByteArray::number(i + 1) + ": #" + HexOf(colors[i].color) + ";\n";
    return out + "}\n";
}

// --- Hex lists -------------------------------------------------------------------------------

// The digits after "#" (hash) or on their own.
std::optional<TColor> HexColor(QByteArrayView digits, bool hash) {
    const qsizetype n = digits.size();
    if (!(n == 6 || n == 8 || (hash && (n == 3 || n == 4))))
        return std::nullopt;
    quint32 v = 0;
    for (const char c : digits) {
        int d = 0;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
            d = (c | 0x20) - 'a' + 10;
        else
            return std::nullopt;
        v = (v << 4) | static_cast<quint32>(d);
    }
    auto nibble = [&](int shift) { return static_cast<std::uint8_t>(((v >> shift) & 0xF) * 17); };
    switch (n) {
    case 3: // rgb
        return MakeRGB(nibble(8), nibble(4), nibble(0));
    case 4: // rgba
        return MakeRGB(nibble(12), nibble(8), nibble(4));
    case 6:
        return ColorFromHex(v);
    default:
        // After "#" the CSS order rrggbbaa; bare, the aarrggbb of Paint.NET's lists.
        return ColorFromHex(hash ? v >> 8 : v & 0xFFFFFF);
    }
}

// One colour a line, "#" optional, a name after it optional. A line starting ";", or "#" and
// no colour, is a comment: "#ff0000" is red, "# reds" and "#Reds" are comments.
std::vector<NamedColor> ParseHex(const QByteArray& bytes) {
    const QByteArrayView text = Utf8Text(bytes);
    std::vector<NamedColor> out;
    ForEachLine(text, [&](int number, QByteArrayView line) {
        qsizetype pos = 0;
        const QByteArrayView first = NextField(line, pos);
        if (first.isEmpty() || first.startsWith(';'))
            return;
        const bool hash = first.startsWith('#');
        const auto color = HexColor(hash ? first.sliced(1) : first, hash);
        if (color)
            out.push_back({*color, NameOf(line.sliced(pos))});
        else if (!hash)
            NotAColour(number);
    });
    return out;
}

// Bare lower-case digits, as the ".hex" lists of pixel-art tools have them: some of their
// readers take every line starting "#" for a comment.
QByteArray FormatHex(const std::vector<NamedColor>& colors, const QString&) {
    QByteArray out;
    for (const NamedColor& c : colors)
        out += HexOf(c.color) + '\n';
    return out;
}

const FormatEntry kFormats[] = {
    {ExchangeFormat::Gpl, "GIMP palette", "gpl", ParseGpl, FormatGpl},
    {ExchangeFormat::Ase, "Adobe Swatch Exchange", "ase", ParseAse, FormatAse},
    {ExchangeFormat::Aco, "Photoshop swatches", "aco", ParseAco, FormatAco},
    {ExchangeFormat::Act, "Colour table", "act", ParseAct, FormatAct},
    {ExchangeFormat::Pal, "JASC palette", "pal", ParsePal, FormatPal},
    {ExchangeFormat::Css, "CSS custom properties", "css", ParseCss, FormatCss},
    {ExchangeFormat::Hex, "Hex colour list", "txt hex", ParseHex, FormatHex},
};

const FormatEntry& EntryOf(ExchangeFormat format) {
    return *std::find_if(std::begin(kFormats), std::end(kFormats),
                         [format](const FormatEntry& entry) { return entry.format == format; });
}

} // namespace

std::optional<ExchangeFormat> ExchangeFormatOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix.isEmpty())
        return std::nullopt;
    for (const FormatEntry& entry : kFormats) {
        if (QString::fromLatin1(entry.suffixes).split(u' ').contains(suffix))
            return entry.format;
    }
    return std::nullopt;
}

QStringList ExchangeNameFilters() {
    QStringList all;
    QStringList filters;
    for (const FormatEntry& entry : kFormats) {
        all += Patterns(entry.suffixes);
        filters +=
            QStringLiteral("%1 (%2)").arg(QLatin1StringView(entry.title), Patterns(entry.suffixes));
    }
    filters.prepend(QStringLiteral("All palette files (%1)").arg(all.join(u' ')));
    return filters;
}

std::vector<NamedColor> ParseExchangePalette(ExchangeFormat format, const QByteArray& bytes) {
    if (bytes.size() > MaxPaletteFileSize)
        throw EPaletteError(FileTooLargeMessage);
    std::vector<NamedColor> out = EntryOf(format).parse(bytes);
    if (out.empty())
        throw EPaletteError(NoColoursMessage);
    return out;
}

std::vector<NamedColor> ReadExchangePalette(const QString& fileName) {
    const auto format = ExchangeFormatOf(fileName);
    if (!format)
        throw EPaletteError(UnsupportedPaletteMessage);
    return ParseExchangePalette(*format, ReadPaletteFileBytes(fileName));
}

QByteArray FormatExchangePalette(ExchangeFormat format, const std::vector<NamedColor>& input,
                                 const QString& paletteName) {
    std::vector<NamedColor> colors = input;
    for (NamedColor& c : colors)
        c.color = ResolveSystemColor(c.color);
    return EntryOf(format).write(colors, paletteName);
}

void WriteExchangePalette(const QString& fileName, const std::vector<NamedColor>& colors,
                          const QString& paletteName) {
    const auto format = ExchangeFormatOf(fileName);
    if (!format)
        throw EPaletteError(UnsupportedExchangeExtensionMessage);
    // The bytes are complete before the file is touched.
    WritePaletteFileBytes(fileName, FormatExchangePalette(*format, colors, paletteName));
}

} // namespace chromint
