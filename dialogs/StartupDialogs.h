#pragma once

class QWidget;

namespace chromint {

class TPaletteImportDialog;
class TRandomPaletteDialog;
class TSepiaDialog;
class TSimpleSchemeDialog;

// The four dialogs made at start-up that stay hidden for the whole run; the main window owns
// them, so they go with it.
struct TStartupDialogs {
    TSepiaDialog* SepiaDialog = nullptr;
    TRandomPaletteDialog* RandomPaletteDialog = nullptr;
    TPaletteImportDialog* PaletteImportDialog = nullptr;
    TSimpleSchemeDialog* SimpleSchemeDialog = nullptr;
};

// Creates them hidden, in start-up order, with their default values.
TStartupDialogs CreateStartupDialogs(QWidget* mainWindow);

} // namespace chromint
