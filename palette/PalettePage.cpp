#include "PalettePage.h"

#include "mbColorPalette.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>

namespace chromint {

namespace {

constexpr PaletteMenuEntry kEntries[] = {
    {"miNewSwatch", "New", 0},
    {"miNewEmpty", "Empty...", 1},
    {"", "", 1},
    {"miNewMixer", "Colors mixer...", 1},
    {"miNewHarmony", "Color harmony...", 1},
    {"", "", 1},
    {"miNewColorBlindness", "Color blindness", 1},
    {"", "", 1},
    {"miNewFromImage", "From image...", 1},
    {"miNewFromSystem", "From system", 1},
    {"", "", 1},
    {"miNewRandom", "Random...", 1},
    {"miSavePalette", "Save", 0},
    {"", "", 0},
    {"miImportPalette", "Import...", 0},
    {"miImportSwatches", "Import swatches...", 0},
    {"", "", 0},
    {"miExportPalette", "Export...", 0},
    {"", "", 0},
    {"miEditSwatch", "Edit swatch...", 0},
    {"miMoveSwatch", "Move swatch...", 0},
    {"", "", 0},
    {"miRemoveSwatch", "Remove swatch", 0},
    {"miClearDuplicates", "Clear duplicates", 0},
    {"miClearNames", "Clear names", 0},
    {"", "", 0},
    {"miRenamePalette", "Rename...", 0},
    {"miChooseRandomPalette", "Choose random one", 0},
    {"", "", 0},
    {"miRemovePalette", "Remove", 0},
};

} // namespace

std::span<const PaletteMenuEntry> PaletteMenuEntries() {
    return kEntries;
}

QMenu* CreatePaletteMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("PaletteMenu"));
    QMenu* submenu = nullptr;
    for (const PaletteMenuEntry& e : kEntries) {
        QMenu* target = e.depth == 1 && submenu ? submenu : menu;
        const QString name = QString::fromLatin1(e.objectName);
        if (name.isEmpty()) {
            target->addSeparator();
        } else if (name == QLatin1StringView("miNewSwatch")) {
            submenu = menu->addMenu(QString::fromLatin1(e.caption));
            submenu->setObjectName(name);
            submenu->menuAction()->setObjectName(name);
        } else {
            QAction* action = target->addAction(QString::fromLatin1(e.caption));
            action->setObjectName(name);
        }
    }
    return menu;
}

SwatchesPage CreateSwatchesPage(QWidget* page) {
    SwatchesPage out;
    out.cbPalette = new QComboBox(page);
    out.cbPalette->setObjectName(QStringLiteral("cbPalette"));
    out.cbPalette->setMaxVisibleItems(16);
    out.cbPalette->setGeometry(4, 4, 220, 22);
    out.cbPalette->setEnabled(false);

    auto button = [page](const char* name, const char* caption, int x) {
        auto* b = new QToolButton(page);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(QString::fromLatin1(caption));
        b->setToolTip(QString::fromLatin1(caption));
        b->setGeometry(x, 4, 22, 22);
        return b;
    };
    out.btnPreviousPalette = button("btnPreviousPalette", "Previous palette", 228);
    out.btnNextPalette = button("btnNextPalette", "Next palette", 252);
    out.btnPalette = button("btnPalette", "Palette", 276);
    out.btnPalette->setEnabled(false);

    out.ScrollBox = new QScrollArea(page);
    out.ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    out.ScrollBox->setGeometry(4, 30, 299, 227);
    out.ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    out.ScrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    out.ScrollBox->setWidgetResizable(false);

    out.Palette = new TmbColorPalette;
    out.Palette->setObjectName(QStringLiteral("Palette"));
    out.Palette->SetCellSize(16);
    out.Palette->SetAutoHeight(true);
    out.Palette->SetCellStyle(csCorel);
    out.Palette->resize(288, out.Palette->height());
    out.ScrollBox->setWidget(out.Palette);

    out.PaletteMenu = CreatePaletteMenu(page);
    out.btnPalette->setMenu(out.PaletteMenu);
    out.btnPalette->setPopupMode(QToolButton::InstantPopup);
    for (QWidget* w : {static_cast<QWidget*>(out.ScrollBox), static_cast<QWidget*>(out.Palette)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(
            w, &QWidget::customContextMenuRequested, out.PaletteMenu,
            [menu = out.PaletteMenu, w](const QPoint& p) { menu->popup(w->mapToGlobal(p)); });
    }
    return out;
}

bool StepPaletteSelector(QComboBox& selector, int step) {
    const int next = selector.currentIndex() + step;
    if (next < 0 || next >= selector.count())
        return false;
    selector.setCurrentIndex(next);
    return true;
}

} // namespace chromint
