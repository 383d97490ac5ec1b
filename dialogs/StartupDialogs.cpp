#include "StartupDialogs.h"

#include "PaletteImportDlg.h"
#include "RandomPaletteDlg.h"
#include "SepiaDlg.h"
#include "SimpleSchemeDlg.h"

namespace chromint {

TStartupDialogs CreateStartupDialogs(QWidget* mainWindow) {
    TStartupDialogs dialogs;
    dialogs.SepiaDialog = new TSepiaDialog(clWhite, 30, 20, mainWindow);
    dialogs.RandomPaletteDialog = new TRandomPaletteDialog(clWhite, 0, 256, mainWindow);
    dialogs.PaletteImportDialog = new TPaletteImportDialog(true, mainWindow);
    dialogs.SimpleSchemeDialog = new TSimpleSchemeDialog(clWhite, mainWindow);
    return dialogs;
}

} // namespace chromint
