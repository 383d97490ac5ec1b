#pragma once

#include "ColorTypes.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>
#include <string>

namespace chromint {

// The numbers and lists behind the swatch grid, kept apart from the widget so that layout,
// hit testing, arrow-key moves and list edits can be checked without a window.

// Marker values a grid cell may hold besides real colours.
inline constexpr TColor clCustom = 0x2FFFFFFF;
inline constexpr TColor clTransparent = 0x3FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// A colour string that is neither a known name nor an integer.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& Message() const { return message_; }

private:
    QString message_;
};

struct ColorName {
    const char* name;
    TColor color;
};

// The names the colour-string conversion knows, each with a value of its own, so that every
// name reads back to the colour it was written for.
const ColorName* StandardColorNames(int* count);

// A standard name (case ignored) or an integer: decimal, or hexadecimal after "$" or "0x",
// within 32 bits. Nothing when the text is neither.
std::optional<TColor> TryIdentOrIntToColor(const QString& text);

// What a grid cell's string means: blanks removed, then "clCustom" and "clTransparent"
// (case ignored), then a standard name or an integer. Throws EConvertError otherwise.
TColor StringToColor(const QString& text);
std::optional<TColor> TryStringToColor(const QString& text);

// The standard name of a colour, or "$" and eight upper-case hexadecimal digits.
QString ColorToString(TColor color);

// "$00" and the blue, green and red bytes: the form favourites and the settings hold.
QString ColorToCode(TColor color);

// An integer as the file readers parse it: optional sign, decimal, or hexadecimal after "$"
// or "0x", within 32 bits (hexadecimal up to eight digits). Throws EConvertError.
int ParsePaletteInt(const QString& text);

// The grid's geometry for a given size and cell count.
struct PaletteLayout {
    int colCount = 0;
    int rowCount = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PaletteLayout&, const PaletteLayout&) = default;
};

// Columns from the width, the height from the rows when autoHeight is on, at least one cell
// high, and the width shrunk to whole cells. A grid narrower than one cell keeps its width
// instead of shrinking to nothing, so that it can grow again.
PaletteLayout ComputePaletteLayout(int width, int height, int cellSize, bool autoHeight, int count);

QRect PaletteCellRect(int index, int colCount, int cellSize);

// The cell under a point, or -1 when the point is outside the cells or beyond the last one.
int PaletteCellAt(QPoint p, int colCount, int cellSize, int totalCells);

enum class ArrowKey { Left, Right, Up, Down };

// The selection an arrow key leads to. selected is -1 when nothing is selected, totalCells is
// count - 1. Up and Down step a whole row and wrap as the grid always has (Up from the first
// row lands near the end of the grid, Down from the last row near its start); the result may
// be -1, which clears the selection. Nothing when the grid has no cells or no columns.
std::optional<int> PaletteArrowMove(ArrowKey key, int selected, int colCount, int totalCells);

// The colours and their optional names, with the grid's length limits.
class TPaletteList {
public:
    const QStringList& Colors() const { return colors_; }
    const QStringList& Names() const { return names_; }
    int Count() const { return static_cast<int>(colors_.size()); }
    int MinColors() const { return minColors_; }
    int MaxColors() const { return maxColors_; }

    // The name of a cell, empty when it has none.
    QString NameAt(int index) const;

    void AddColor(const QString& name, const QString& value);
    // An index beyond the end appends; a negative one inserts at the start.
    void InsertColor(int index, const QString& name, const QString& value);
    // False when the index names no entry.
    bool DeleteColor(int index);
    bool ClearColors();
    bool ClearNames();
    bool MoveColor(int target, int destination);

    // Padded with "$00000000" up to MinColors and cut down to MaxColors.
    void SetColors(const QStringList& colors);
    void SetNames(const QStringList& names);
    void SetMinColors(int value);
    void SetMaxColors(int value);

    // The first entry equal to text, case ignored, or -1.
    int IndexOfText(const QString& text) const;

private:
    void PadNames(int count);

    QStringList colors_;
    QStringList names_;
    int minColors_ = 0;
    int maxColors_ = 0;
};

} // namespace chromint
