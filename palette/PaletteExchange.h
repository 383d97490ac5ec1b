#pragma once

#include "ColorTypes.h"
#include "PalUtils.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace chromint {

// Colours exchanged with other programs as palette files: GIMP ".gpl", Adobe Swatch Exchange
// ".ase", Photoshop ".aco", ".act" colour tables, JASC ".pal", CSS custom properties ".css"
// and plain hex lists ".txt"/".hex". The readers share the limits of PalUtils.h: the whole
// file is read first (at most MaxPaletteFileSize), every count and length is checked against
// the bytes there, and every failure is an EPaletteError with a message for the user.

struct NamedColor {
    TColor color = clBlack;
    QString name; // empty where the file has none
    friend bool operator==(const NamedColor&, const NamedColor&) = default;
};

enum class ExchangeFormat { Gpl, Ase, Aco, Act, Pal, Css, Hex };

extern const QString NoColoursMessage;
extern const QString NotUtf8Message;
extern const QString NotAColourLineMessage; // %1: the line's number, from 1
extern const QString TooManyColoursMessage; // %1: how many the format holds
extern const QString UnsupportedExchangeExtensionMessage;

// By the extension, case ignored; nothing for another one.
std::optional<ExchangeFormat> ExchangeFormatOf(const QString& fileName);

// The file dialog's name filters: "All palette files (...)" first, then one per format.
QStringList ExchangeNameFilters();

// The colours of a file's bytes in a format, in file order. Throws EPaletteError, also for a
// file without colours.
std::vector<NamedColor> ParseExchangePalette(ExchangeFormat format, const QByteArray& bytes);

// The same, reading the file first and choosing the format by the extension.
std::vector<NamedColor> ReadExchangePalette(const QString& fileName);

// The file's bytes. paletteName goes where the format has room for it (GIMP's "Name:"); the
// colours' names where the format keeps names (.gpl, .ase, .aco); system colours are resolved
// first. Throws EPaletteError when the format cannot hold that many colours (.aco 65535, .act
// 256).
QByteArray FormatExchangePalette(ExchangeFormat format, const std::vector<NamedColor>& colors,
                                 const QString& paletteName);

// Writes the file in the format of its extension, atomically: on any failure the old file
// stays. Throws EPaletteError.
void WriteExchangePalette(const QString& fileName, const std::vector<NamedColor>& colors,
                          const QString& paletteName);

} // namespace chromint
