#pragma once

class QWidget;

namespace chromint {

class TSettings;
class TmbColorPalette;

// "Import favourites..." and "Export favourites..." of the application menu: the strip to and
// from the palette files of other programs. A file that cannot be read or written is
// reported and leaves the strip, and any file already there, as it was.
void ImportFavouritesCommand(QWidget* parent, TmbColorPalette& strip, TSettings& settings);
void ExportFavouritesCommand(QWidget* parent, const TmbColorPalette& strip, TSettings& settings);

} // namespace chromint
