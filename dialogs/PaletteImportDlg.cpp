#include "PaletteImportDlg.h"

#include "DialogCommands.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace chromint {

TPaletteImportDialog::TPaletteImportDialog(bool asNew, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PaletteImportDialog"));
    setWindowTitle(QStringLiteral("Import palette"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    rgMethod = new QGroupBox(QStringLiteral("Method"), this);
    rgMethod->setObjectName(QStringLiteral("rgMethod"));
    rgMethodButtons = new QButtonGroup(rgMethod);
    auto* methods = new QVBoxLayout(rgMethod);
    const char* const items[] = {"Create new palette", "Import swatches to current palette"};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(items[i]), rgMethod);
        radio->setObjectName(QStringLiteral("rgMethod%1").arg(i));
        rgMethodButtons->addButton(radio, i);
        methods->addWidget(radio);
    }
    layout->addWidget(rgMethod);
    const DialogButtons buttons = AddDialogButtons(this, layout);
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;
    SetAsNew(asNew);
}

bool TPaletteImportDialog::Execute() {
    return exec() == QDialog::Accepted;
}

bool TPaletteImportDialog::AsNew() const {
    return rgMethodButtons->checkedId() == 0;
}

void TPaletteImportDialog::SetAsNew(bool value) {
    rgMethodButtons->button(value ? 0 : 1)->setChecked(true);
}

} // namespace chromint
