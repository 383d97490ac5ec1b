#include "DialogCommands.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFrame>
#include <QPushButton>

namespace chromint {

DialogButtons AddDialogButtons(QDialog* dialog, QBoxLayout* layout, QBoxLayout* buttonRow) {
    auto* bevel = new QFrame(dialog);
    bevel->setObjectName(QStringLiteral("Bevel"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    layout->addWidget(bevel);

    DialogButtons buttons;
    buttons.ok = new QPushButton(QStringLiteral("OK"), dialog);
    buttons.ok->setObjectName(QStringLiteral("btnOk"));
    buttons.ok->setDefault(true);
    buttons.cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    buttons.cancel->setObjectName(QStringLiteral("btnCancel"));
    QObject::connect(buttons.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);

    QBoxLayout* row = buttonRow;
    if (row == nullptr) {
        row = new QHBoxLayout;
        layout->addLayout(row);
    }
    row->addStretch(1);
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    return buttons;
}

} // namespace chromint
