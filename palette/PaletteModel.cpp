#include "PaletteModel.h"

#include "ColorNotations.h"

#include <algorithm>

#include <array>
#include <limits>

namespace chromint {

namespace {

constexpr std::array<ColorName, 22> kNames{{
    {"clBlack", 0x000000},    {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080},    {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},     {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},      {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},     {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},    {"clMedGray", 0xA4A0A0},    {"clNone", clNone},
    {"clDefault", clDefault},
}};

QString InvalidInteger(const QString& text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

std::optional<std::uint32_t> ParseUnsigned(QStringView digits, int base, std::uint64_t limit) {
    if (digits.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const QChar ch : digits) {
        const char16_t u = ch.unicode();
        int d = -1;
        if (u >= '0' && u <= '9')
            d = u - '0';
        else if (base == 16 && u >= 'a' && u <= 'f')
            d = u - 'a' + 10;
        else if (base == 16 && u >= 'A' && u <= 'F')
            d = u - 'A' + 10;
        if (d < 0)
            return std::nullopt;
        value = value * base + d;
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::int32_t> TryParseInt(const QString& text) {
    QStringView rest(text);
    bool negative = false;
    if (!rest.isEmpty() && (rest[0] == u'-' || rest[0] == u'+')) {
        negative = rest[0] == u'-';
        rest = rest.mid(1);
    }
    std::optional<std::uint32_t> magnitude;
    if (rest.startsWith(u'$')) {
        magnitude = ParseUnsigned(rest.mid(1), 16, 0xFFFFFFFFu);
    } else if (rest.startsWith(QLatin1StringView("0x"), Qt::CaseInsensitive)) {
        magnitude = ParseUnsigned(rest.mid(2), 16, 0xFFFFFFFFu);
    } else {
        const auto decimal = ParseUnsigned(rest, 10, negative ? 0x80000000u : 0x7FFFFFFFu);
        if (!decimal)
            return std::nullopt;
        const std::int64_t v = negative ? -std::int64_t(*decimal) : std::int64_t(*decimal);
        return static_cast<std::int32_t>(v);
    }
    if (!magnitude)
        return std::nullopt;
    // Hexadecimal is a bit pattern: "$FFFFFFFF" is -1, as a 32-bit integer holds it.
    const std::uint32_t bits = negative ? 0u - *magnitude : *magnitude;
    return static_cast<std::int32_t>(bits);
}

QString WithoutBlanks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        if (ch != u' ')
            out.append(ch);
    }
    return out;
}

} // namespace

const ColorName* StandardColorNames(int* count) {
    if (count)
        *count = static_cast<int>(kNames.size());
    return kNames.data();
}

std::optional<TColor> TryIdentOrIntToColor(const QString& text) {
    for (const ColorName& entry : kNames) {
        if (text.compare(QLatin1StringView(entry.name), Qt::CaseInsensitive) == 0)
            return entry.color;
    }
    if (const auto value = TryParseInt(text))
        return static_cast<TColor>(*value);
    return std::nullopt;
}

std::optional<TColor> TryStringToColor(const QString& text) {
    const QString s = WithoutBlanks(text);
    if (s.compare(QLatin1StringView("clCustom"), Qt::CaseInsensitive) == 0)
        return clCustom;
    if (s.compare(QLatin1StringView("clTransparent"), Qt::CaseInsensitive) == 0)
        return clTransparent;
    return TryIdentOrIntToColor(s);
}

TColor StringToColor(const QString& text) {
    if (const auto color = TryStringToColor(text))
        return *color;
    throw EConvertError(InvalidInteger(WithoutBlanks(text)));
}

QString ColorToString(TColor color) {
    for (const ColorName& entry : kNames) {
        if (entry.color == color)
            return QString::fromLatin1(entry.name);
    }
    return QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

QString ColorToCode(TColor color) {
    return QString::fromStdString(ColorToText(color, NotationDelphi));
}

int ParsePaletteInt(const QString& text) {
    if (const auto value = TryParseInt(text))
        return *value;
    throw EConvertError(InvalidInteger(text));
}

PaletteLayout ComputePaletteLayout(int width, int height, int cellSize, bool autoHeight,
                                   int count) {
    PaletteLayout out;
    if (cellSize < 1)
        cellSize = 1;
    width = std::max(width, 0);
    height = std::max(height, 0);
    out.colCount = width / cellSize;
    if (autoHeight && out.colCount > 0) {
        const int rows = count / out.colCount + (count % out.colCount != 0 ? 1 : 0);
        height = rows * cellSize;
    }
    if (height == 0)
        height = cellSize;
    out.rowCount = height / cellSize;
    out.height = height;
    out.width = out.colCount > 0 ? out.colCount * cellSize : width;
    return out;
}

QRect PaletteCellRect(int index, int colCount, int cellSize) {
    if (colCount <= 0 || index < 0)
        return {};
    const int col = index % colCount;
    const int row = index / colCount;
    return {col * cellSize, row * cellSize, cellSize, cellSize};
}

int PaletteCellAt(QPoint p, int colCount, int cellSize, int totalCells) {
    if (colCount <= 0 || cellSize <= 0 || p.x() < 0 || p.y() < 0)
        return -1;
    const int col = p.x() / cellSize;
    if (col >= colCount)
        return -1;
    const std::int64_t index = std::int64_t(p.y() / cellSize) * colCount + col;
    return index <= totalCells ? static_cast<int>(index) : -1;
}

std::optional<int> PaletteArrowMove(ArrowKey key, int s, int c, int t) {
    if (c <= 0 || t < 0)
        return std::nullopt;
    int n = s;
    switch (key) {
    case ArrowKey::Left:
        n = s - 1;
        if (n < 0)
            n = t;
        break;
    case ArrowKey::Right:
        n = s + 1;
        if (n > t)
            n = 0;
        break;
    case ArrowKey::Up:
        n = s - c;
        if (n < 0) {
            const int a = c * (t / c);
            n = s + a - 1;
            if (n > t)
                n = s + a - c - 1;
        }
        break;
    case ArrowKey::Down:
        n = s + c;
        if (n > t)
            n = s % c + 1;
        break;
    }
    if (n > t)
        n = 0;
    return n;
}

QString TPaletteList::NameAt(int index) const {
    return index >= 0 && index < names_.size() ? names_[index] : QString();
}

void TPaletteList::PadNames(int count) {
    while (names_.size() < count)
        names_.append(QString());
}

void TPaletteList::AddColor(const QString& name, const QString& value) {
    colors_.append(value);
    PadNames(Count() - 1);
    // Names beyond the colours would shift this one away from its cell.
    names_.resize(Count() - 1);
    names_.append(name);
}

void TPaletteList::InsertColor(int index, const QString& name, const QString& value) {
    index = std::clamp(index, 0, Count());
    colors_.insert(index, value);
    PadNames(Count() - 1);
    names_.insert(std::min<qsizetype>(index, names_.size()), name);
}

bool TPaletteList::DeleteColor(int index) {
    if (index < 0 || index >= Count())
        return false;
    colors_.removeAt(index);
    if (index < names_.size())
        names_.removeAt(index);
    return true;
}

bool TPaletteList::ClearColors() {
    const bool had = !colors_.isEmpty();
    colors_.clear();
    names_.clear();
    return had;
}

bool TPaletteList::ClearNames() {
    bool any = false;
    for (const QString& n : names_)
        any = any || !n.isEmpty();
    if (!any)
        return false;
    names_ = QStringList(Count(), QString());
    return true;
}

bool TPaletteList::MoveColor(int target, int destination) {
    PadNames(Count());
    if (target < 0 || target >= Count() || destination < 0 || destination >= Count() ||
        target == destination)
        return false;
    colors_.move(target, destination);
    names_.move(target, destination);
    return true;
}

void TPaletteList::SetColors(const QStringList& colors) {
    colors_ = colors;
    while (Count() < minColors_)
        colors_.append(QStringLiteral("$00000000"));
    if (maxColors_ > 0 && Count() > maxColors_)
        colors_.resize(maxColors_);
}

void TPaletteList::SetNames(const QStringList& names) {
    names_ = names;
    if (maxColors_ > 0 && names_.size() > maxColors_)
        names_.resize(maxColors_);
}

void TPaletteList::SetMinColors(int value) {
    value = std::max(value, 0);
    if (maxColors_ > 0 && value > maxColors_)
        value = maxColors_;
    minColors_ = value;
    while (Count() < minColors_)
        colors_.append(QStringLiteral("clNone"));
}

void TPaletteList::SetMaxColors(int value) {
    value = std::max(value, 0);
    maxColors_ = value;
    if (value > 0 && minColors_ > value)
        minColors_ = value;
    if (value > 0 && Count() > value)
        colors_.resize(value);
    if (value > 0 && names_.size() > value)
        names_.resize(value);
}

int TPaletteList::IndexOfText(const QString& text) const {
    for (int i = 0; i < Count(); ++i) {
        if (colors_[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace chromint
