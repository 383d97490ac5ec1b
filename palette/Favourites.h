#pragma once

#include "ColorTypes.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace chromint {

class RandomSource;
class TmbColorPalette;

// The favourites strip of the main window: 36 colours, most recently added first, stored in
// the settings as "$00BBGGRR" strings.

inline constexpr int FavouritesCount = 36;
inline constexpr int FavouritesCellSize = 19;
inline constexpr int FavouritesWidth = 342;

// The strip before anything was added: cell i holds grey round(i * 255 / 35).
QStringList DefaultFavourites();

// Gives a grid the strip's shape (36 cells, 19-pixel cells, 18 columns, height from the rows)
// and the built-in greys.
void SetupFavouritesGrid(TmbColorPalette& grid);

// The stored list, when it holds any colours, replaces the built-in greys.
void LoadFavourites(TmbColorPalette& grid, const QStringList& stored);
// What goes back into the settings.
QStringList FavouritesForSettings(const TmbColorPalette& grid);

// The strip after importing a palette file: the file's colours first, in its order and each
// once, then the previous favourites that are not among them, cut to the strip's length.
// taken counts the file's colours that made it onto the strip.
QStringList FavouritesAfterImport(const QStringList& current, const std::vector<TColor>& imported,
                                  int* taken = nullptr);

bool IsFavourite(const QStringList& favourites, TColor color);

// "Add to favourites" on the strip: a new colour goes to the front and the oldest one drops
// off the end; a colour already there is only selected. Returns whether the colour was new.
bool AddToFavourites(TmbColorPalette& grid, TColor color);

// The cell "From favourites" picks: uniformly among all cells but the selected one, cell 0
// when there is only one, nothing when the strip is empty.
std::optional<int> PickRandomFavourite(int count, int selected, RandomSource& random);

// "From favourites" on the strip: picks a cell as above, selects it and gives its index and
// its colour read in "$00BBGGRR" form (clNone when the text is not in that form), ready for
// the cell-click rule below. Nothing when the strip is empty.
struct FavouritePick {
    int index = -1;
    TColor color = clNone;
};
std::optional<FavouritePick> PickFromFavourites(TmbColorPalette& grid, RandomSource& random);

// The colour a click on a palette cell makes current, or nothing for a click on no cell. An
// empty cell (or a custom or transparent marker) gives black, a system colour its value; in
// web-only mode the colour is reduced to web-safe levels.
std::optional<TColor> PaletteCellClickColor(int index, TColor color, bool webOnly);

} // namespace chromint
