#include "SepiaDlg.h"

#include "ColorNotations.h"
#include "ColorOperations.h"
#include "mbColorPreview.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace chromint {

namespace {

QSpinBox* PercentBox(QWidget* parent, const char* name) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, 100);
    box->setSingleStep(1);
    return box;
}

TmbColorPreview* Swatch(QWidget* parent, const char* name, int width, int height) {
    auto* swatch = new TmbColorPreview(parent);
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setFixedSize(width, height);
    swatch->SetSwatchStyle(true);
    swatch->SetBlockSize(4);
    return swatch;
}

} // namespace

QString SepiaHint(TColor color) {
    return QStringLiteral("%1\r\nHex: %2")
        .arg(QString::fromStdString(ColorToText(color, NotationRGBFunction)),
             QString::fromStdString(ColorToText(color, NotationHTML)));
}

TSepiaDialog::TSepiaDialog(TColor color, int depth, int intensity, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("SepiaDialog"));
    setWindowTitle(QStringLiteral("Sepia"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);

    ColorSwatch = Swatch(this, "ColorSwatch", 30, 60);
    row->addWidget(ColorSwatch);

    auto* grid = new QGridLayout;
    lblDepth = new QLabel(QStringLiteral("Depth:"), this);
    lblDepth->setObjectName(QStringLiteral("lblDepth"));
    edtDepth = PercentBox(this, "edtDepth");
    lblDepth->setBuddy(edtDepth);
    auto* label1 = new QLabel(QStringLiteral("%"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    lblIntensity = new QLabel(QStringLiteral("Intensity:"), this);
    lblIntensity->setObjectName(QStringLiteral("lblIntensity"));
    edtIntensity = PercentBox(this, "edtIntensity");
    lblIntensity->setBuddy(edtIntensity);
    auto* label2 = new QLabel(QStringLiteral("%"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    grid->addWidget(lblDepth, 0, 0);
    grid->addWidget(edtDepth, 0, 1);
    grid->addWidget(label1, 0, 2);
    grid->addWidget(lblIntensity, 1, 0);
    grid->addWidget(edtIntensity, 1, 1);
    grid->addWidget(label2, 1, 2);
    row->addLayout(grid);

    SepiaSwatch = Swatch(this, "SepiaSwatch", 60, 60);
    row->addWidget(SepiaSwatch);

    const DialogButtons buttons = AddDialogButtons(this, layout);
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;

    ColorSwatch->SetColor(color);
    edtDepth->setValue(depth);
    edtIntensity->setValue(intensity);
    connect(edtDepth, &QSpinBox::valueChanged, this, &TSepiaDialog::SepiaChange);
    connect(edtIntensity, &QSpinBox::valueChanged, this, &TSepiaDialog::SepiaChange);
    // Computed directly, so the preview matches the values even when neither box changed.
    SepiaChange();
}

bool TSepiaDialog::Execute() {
    return exec() == QDialog::Accepted;
}

TColor TSepiaDialog::SepiaColor() const {
    return SepiaSwatch->Color();
}

int TSepiaDialog::Depth() const {
    return edtDepth->value();
}

int TSepiaDialog::Intensity() const {
    return edtIntensity->value();
}

void TSepiaDialog::SepiaChange() {
    const TColor result = Sepia(ColorSwatch->Color(), Depth(), Intensity());
    SepiaSwatch->SetColor(result);
    SepiaSwatch->setToolTip(SepiaHint(result));
    btnOk->setEnabled(Depth() + Intensity() != 0);
}

bool RunSepiaCommand(QWidget* parent, TSepiaValues& values, TColor current,
                     const ConfirmWebColorFn& confirmWebColor, const MakeCurrentFn& makeCurrent) {
    TSepiaDialog dialog(current, values.depth, values.intensity, parent);
    if (!dialog.Execute())
        return false;
    const std::optional<TColor> color = confirmWebColor(dialog.SepiaColor());
    if (!color)
        return false;
    makeCurrent(*color);
    values.depth = dialog.Depth();
    values.intensity = dialog.Intensity();
    return true;
}

} // namespace chromint
