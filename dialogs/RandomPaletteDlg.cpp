#include "RandomPaletteDlg.h"

#include "DialogCommands.h"
#include "mbColorPreview.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace chromint {

void SelectRadioIndex(QButtonGroup* group, int index) {
    QAbstractButton* button = group->button(index);
    if (button != nullptr) {
        button->setChecked(true);
        return;
    }
    // An exclusive group cannot be emptied by unchecking its checked button.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

TRandomPaletteDialog::TRandomPaletteDialog(TColor color, std::uint8_t method, std::uint16_t count,
                                           QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("RandomPaletteDialog"));
    setWindowTitle(QStringLiteral("Randomize palette"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);

    ColorSwatch = new TmbColorPreview(this);
    ColorSwatch->setObjectName(QStringLiteral("ColorSwatch"));
    ColorSwatch->setFixedSize(30, 60);
    ColorSwatch->SetSwatchStyle(true);
    ColorSwatch->SetBlockSize(4);
    row->addWidget(ColorSwatch, 0, Qt::AlignTop);

    auto* right = new QVBoxLayout;
    rgMethod = new QGroupBox(QStringLiteral("Method"), this);
    rgMethod->setObjectName(QStringLiteral("rgMethod"));
    rgMethodButtons = new QButtonGroup(rgMethod);
    auto* methods = new QVBoxLayout(rgMethod);
    const char* const items[] = {"Randomize", "Use base color", "Use random color"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(items[i]), rgMethod);
        radio->setObjectName(QStringLiteral("rgMethod%1").arg(i));
        rgMethodButtons->addButton(radio, i);
        methods->addWidget(radio);
    }
    right->addWidget(rgMethod);
    auto* countRow = new QHBoxLayout;
    lblCount = new QLabel(QStringLiteral("Number of colors:"), this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    edtCount = new QSpinBox(this);
    edtCount->setObjectName(QStringLiteral("edtCount"));
    edtCount->setRange(MinCount, MaxCount);
    edtCount->setValue(MaxCount);
    lblCount->setBuddy(edtCount);
    countRow->addWidget(lblCount);
    countRow->addWidget(edtCount);
    right->addLayout(countRow);
    row->addLayout(right);

    const DialogButtons buttons = AddDialogButtons(this, layout);
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;

    ColorSwatch->SetColor(color);
    SelectRadioIndex(rgMethodButtons, method);
    edtCount->setValue(count);
}

bool TRandomPaletteDialog::Execute() {
    return exec() == QDialog::Accepted;
}

int TRandomPaletteDialog::Method() const {
    return rgMethodButtons->checkedId();
}

int TRandomPaletteDialog::Count() const {
    return edtCount->value();
}

} // namespace chromint
