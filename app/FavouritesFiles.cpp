#include "FavouritesFiles.h"

#include "AppConfig.h"
#include "Favourites.h"
#include "FileDialogSize.h"
#include "PalUtils.h"
#include "PaletteExchange.h"
#include "PaletteModel.h"
#include "mbColorPalette.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QRegularExpression>

#include <utility>

namespace chromint {

namespace {

QString StartFolder(const TSettings& settings) {
    const QString& last = settings.LastPaletteDir();
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : QDir::homePath();
}

void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& objectName,
                 const QString& text) {
    QMessageBox box(icon, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.setObjectName(objectName);
    box.exec();
}

} // namespace

void ImportFavouritesCommand(QWidget* parent, TmbColorPalette& strip, TSettings& settings) {
    QFileDialog dialog(parent, QStringLiteral("Import favourites"), StartFolder(settings));
    dialog.setObjectName(QStringLiteral("ImportFavouritesDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(ExchangeNameFilters());
    const FileDialogSizeKeeper size(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString fileName = dialog.selectedFiles().constFirst();
    settings.SetLastPaletteDir(QFileInfo(fileName).absolutePath());

    std::vector<TColor> colors;
    try {
        for (const NamedColor& entry : ReadExchangePalette(fileName))
            colors.push_back(entry.color);
    } catch (const EPaletteError& e) {
        ShowMessage(
            parent, QMessageBox::Warning, QStringLiteral("ImportFavouritesFailed"),
            QStringLiteral("%1\n\n%2").arg(QDir::toNativeSeparators(fileName), e.Message()));
        return;
    }
    int taken = 0;
    strip.SetColors(FavouritesAfterImport(strip.Colors(), colors, &taken));
    settings.Favourites() = FavouritesForSettings(strip);
    if (std::cmp_greater(colors.size(), FavouritesCount)) {
        ShowMessage(parent, QMessageBox::Information, QStringLiteral("ImportFavouritesTruncated"),
                    QStringLiteral("The file holds %1 colours. The favourites keep %2: the "
                                   "first %2 different ones.")
                        .arg(colors.size())
                        .arg(taken));
    }
}

void ExportFavouritesCommand(QWidget* parent, const TmbColorPalette& strip, TSettings& settings) {
    QFileDialog dialog(parent, QStringLiteral("Export favourites"), StartFolder(settings));
    dialog.setObjectName(QStringLiteral("ExportFavouritesDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = ExchangeNameFilters();
    dialog.setNameFilters(filters);
    dialog.selectFile(QStringLiteral("favourites.gpl"));
    const FileDialogSizeKeeper size(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString fileName = dialog.selectedFiles().constFirst();
    // A name typed without an ending takes the one of the chosen file type.
    if (!ExchangeFormatOf(fileName)) {
        static const QRegularExpression firstPattern(QStringLiteral("\\*(\\.[A-Za-z0-9]+)"));
        const QRegularExpressionMatch match = firstPattern.match(dialog.selectedNameFilter());
        if (match.hasMatch())
            fileName += match.captured(1);
    }
    settings.SetLastPaletteDir(QFileInfo(fileName).absolutePath());

    std::vector<NamedColor> colors;
    int number = 0;
    for (const QString& code : strip.Colors()) {
        ++number;
        if (const std::optional<TColor> color = TryStringToColor(code))
            colors.push_back({*color, QStringLiteral("Favourite %1").arg(number)});
    }
    try {
        WriteExchangePalette(fileName, colors, QStringLiteral("Chromint favourites"));
    } catch (const EPaletteError& e) {
        ShowMessage(
            parent, QMessageBox::Warning, QStringLiteral("ExportFavouritesFailed"),
            QStringLiteral("%1\n\n%2").arg(QDir::toNativeSeparators(fileName), e.Message()));
    }
}

} // namespace chromint
