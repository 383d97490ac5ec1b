#include "Favourites.h"

#include "ColorNotations.h"
#include "ColorOperations.h"
#include "ColorUtilsWeb.h"
#include "PaletteModel.h"
#include "mbColorPalette.h"

#include <vector>

namespace chromint {

QStringList DefaultFavourites() {
    QStringList out;
    out.reserve(FavouritesCount);
    for (int i = 0; i < FavouritesCount; ++i) {
        // Integer form of round-half-even(i * 255 / 35): no i gives an exact half.
        const int grey = (i * 255 * 2 + 35) / 70;
        const auto g = static_cast<std::uint8_t>(grey);
        out.append(ColorToCode(MakeRGB(g, g, g)));
    }
    return out;
}

void SetupFavouritesGrid(TmbColorPalette& grid) {
    grid.SetMaxColors(FavouritesCount);
    grid.SetMinColors(FavouritesCount);
    grid.SetCellSize(FavouritesCellSize);
    grid.SetAutoHeight(true);
    grid.SetHintFormat(TmbColorPalette::DefaultHintFormat);
    grid.SetCellStyle(csDefault);
    grid.resize(FavouritesWidth, grid.height());
    grid.SetColors(DefaultFavourites());
}

void LoadFavourites(TmbColorPalette& grid, const QStringList& stored) {
    if (!stored.isEmpty())
        grid.SetColors(stored);
}

QStringList FavouritesForSettings(const TmbColorPalette& grid) {
    return grid.Colors();
}

QStringList FavouritesAfterImport(const QStringList& current, const std::vector<TColor>& imported,
                                  int* taken) {
    QStringList out;
    out.reserve(FavouritesCount);
    for (const TColor color : imported) {
        const QString code = ColorToCode(color);
        if (out.size() < FavouritesCount && !out.contains(code, Qt::CaseInsensitive))
            out.append(code);
    }
    const qsizetype fromFile = out.size();
    if (taken != nullptr)
        *taken = static_cast<int>(fromFile);
    // Repeats among the old cells stay, so the strip keeps its full length.
    for (const QString& code : current) {
        if (out.size() < FavouritesCount &&
            !out.first(fromFile).contains(code, Qt::CaseInsensitive))
            out.append(code);
    }
    return out;
}

bool IsFavourite(const QStringList& favourites, TColor color) {
    return favourites.contains(ColorToCode(color), Qt::CaseInsensitive);
}

bool AddToFavourites(TmbColorPalette& grid, TColor color) {
    const QString code = ColorToCode(color);
    for (int i = 0; i < grid.Colors().size(); ++i) {
        if (grid.Colors()[i].compare(code, Qt::CaseInsensitive) == 0) {
            grid.SetSelectedCell(i);
            return false;
        }
    }
    // The strip keeps its length: the oldest entry makes room for the new one.
    if (grid.Colors().size() >= FavouritesCount)
        grid.DeleteColor(static_cast<int>(grid.Colors().size()) - 1, false);
    grid.InsertColor(0, QString(), code);
    grid.SetSelectedCell(0);
    return true;
}

std::optional<int> PickRandomFavourite(int count, int selected, RandomSource& random) {
    if (count <= 0)
        return std::nullopt;
    if (count == 1)
        return 0;
    std::vector<int> candidates;
    candidates.reserve(count);
    for (int i = 0; i < count; ++i) {
        if (i != selected)
            candidates.push_back(i);
    }
    return candidates[random.Next(static_cast<std::uint32_t>(candidates.size()))];
}

std::optional<FavouritePick> PickFromFavourites(TmbColorPalette& grid, RandomSource& random) {
    const auto index =
        PickRandomFavourite(static_cast<int>(grid.Colors().size()), grid.SelectedCell(), random);
    if (!index)
        return std::nullopt;
    grid.SetSelectedCell(*index);
    return FavouritePick{*index, TextToColor(grid.Colors()[*index].toStdString(), NotationDelphi)};
}

std::optional<TColor> PaletteCellClickColor(int index, TColor color, bool webOnly) {
    if (index == -1)
        return std::nullopt;
    if (IsSystemColor(color))
        color = ResolveSystemColor(color);
    // clNone, and the custom and transparent markers, are no colour to make current.
    if ((color & 0xFF000000) != 0)
        color = clBlack;
    if (webOnly && !IsWebSafe(color))
        color = SnapColor(color, WebSafeStep);
    return color;
}

} // namespace chromint
