#pragma once

#include <QString>

#include <span>

class QComboBox;
class QMenu;
class QScrollArea;
class QToolButton;
class QWidget;

namespace chromint {

class TmbColorPalette;

// The "Swatches" page of the main window and its palette menu. The page is kept hidden and
// its commands do nothing yet, but the controls exist so the window has its full shape.

struct PaletteMenuEntry {
    const char* objectName; // empty for a separator
    const char* caption;
    int depth; // 0 in the menu, 1 in the "New" submenu
};

// Every item and separator of the palette menu, in order.
std::span<const PaletteMenuEntry> PaletteMenuEntries();

// The palette menu: the "New" submenu and its items, every command, every separator. The
// actions are named after their items and do nothing when triggered.
QMenu* CreatePaletteMenu(QWidget* parent);

struct SwatchesPage {
    QComboBox* cbPalette = nullptr;
    QToolButton* btnPreviousPalette = nullptr;
    QToolButton* btnNextPalette = nullptr;
    QToolButton* btnPalette = nullptr;
    QScrollArea* ScrollBox = nullptr;
    TmbColorPalette* Palette = nullptr;
    QMenu* PaletteMenu = nullptr;
};

// Fills a page with the palette selector (disabled, empty), its two step buttons, the
// "Palette" button (disabled) dropping down the palette menu, and the empty swatch grid in a
// vertically scrolling box that also offers the menu on a right click.
SwatchesPage CreateSwatchesPage(QWidget* page);

// "Next palette" (+1) and "Previous palette" (-1): moves the selector when the new index is
// within its items. Returns whether it moved (the caller then runs cbPaletteChange).
bool StepPaletteSelector(QComboBox& selector, int step);

} // namespace chromint
