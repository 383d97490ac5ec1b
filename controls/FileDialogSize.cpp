#include "FileDialogSize.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <algorithm>

namespace chromint {

namespace {

// Wide enough for a long name beside its size, type and date; tall enough for 15 rows.
constexpr QSize kColumnsShown(900, 560);
constexpr QSize kSmallest(480, 320);
const char* const kSizeKey = "FileDialog/chromintSize";

QSettings QtFileDialogSettings() {
    return QSettings(QSettings::UserScope, QStringLiteral("QtProject"));
}

} // namespace

QSize FileDialogStartSize(QSize remembered, QSize available) {
    QSize size = remembered.isValid() && remembered.width() >= kSmallest.width() &&
                         remembered.height() >= kSmallest.height()
                     ? remembered
                     : kColumnsShown;
    if (available.isValid())
        size = size.boundedTo(QSize(available.width() * 9 / 10, available.height() * 9 / 10));
    return size.expandedTo(kSmallest.boundedTo(available.isValid() ? available : kSmallest));
}

FileDialogSizeKeeper::FileDialogSizeKeeper(QFileDialog& dialog) : dialog_(dialog) {
    const QScreen* screen =
        dialog.screen() != nullptr ? dialog.screen() : QGuiApplication::primaryScreen();
    const QSize available = screen != nullptr ? screen->availableGeometry().size() : QSize();
    dialog.resize(FileDialogStartSize(
        QtFileDialogSettings().value(QLatin1String(kSizeKey)).toSize(), available));
}

FileDialogSizeKeeper::~FileDialogSizeKeeper() {
    QtFileDialogSettings().setValue(QLatin1String(kSizeKey), dialog_.size());
}

} // namespace chromint
