#include "ColorBlenderDlg.h"

#include "ColorOperations.h"
#include "mbColorPreview.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace chromint {

namespace {

QSpinBox* ChannelBox(QWidget* parent, const char* name) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, 255);
    box->setValue(255);
    return box;
}

QLabel* Label(QWidget* parent, const char* name, const char* text, bool bold = false) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

TmbColorPreview* Swatch(QWidget* parent, const char* name, int width, int height) {
    auto* swatch = new TmbColorPreview(parent);
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setFixedSize(width, height);
    swatch->SetSwatchStyle(true);
    return swatch;
}

TColor EditColor(const QSpinBox* r, const QSpinBox* g, const QSpinBox* b) {
    return MakeRGB(static_cast<std::uint8_t>(r->value()), static_cast<std::uint8_t>(g->value()),
                   static_cast<std::uint8_t>(b->value()));
}

} // namespace

QString BlendMinLabel(int position) {
    return QStringLiteral("  %1%").arg(100 - position);
}

QString BlendMaxLabel(int position) {
    return QStringLiteral("%1%  ").arg(position);
}

TColor BlendResult(TColor first, TColor second, int position, int path) {
    position = std::clamp(position, 0, 100);
    if (path != BlendPathLinear)
        return BlendHSL(first, second, static_cast<std::uint8_t>(position), 100);
    return BlendPercent(first, second, position);
}

TColor RandomColorOtherThan(TColor a, TColor b) {
    TColor color = RandomRGB();
    while (color == a || color == b)
        color = RandomRGB();
    return color;
}

TColorBlenderDialog::TColorBlenderDialog(TColor first, TColor second, int proportion, int path,
                                         QWidget* parent)
    : QDialog(parent), FColor(first) {
    setObjectName(QStringLiteral("ColorBlenderDialog"));
    setWindowTitle(QStringLiteral("Color blender"));
    RandomizeGlobal();

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);

    // First colour: title, R G B boxes, swatch.
    auto* firstColumn = new QGridLayout;
    lblFirst = Label(this, "lblFirst", "First color", true);
    firstColumn->addWidget(lblFirst, 0, 0, 1, 3);
    edtRFirst = ChannelBox(this, "edtRFirst");
    edtGFirst = ChannelBox(this, "edtGFirst");
    edtBFirst = ChannelBox(this, "edtBFirst");
    firstColumn->addWidget(Label(this, "lblFirstR", "R:"), 1, 0);
    firstColumn->addWidget(edtRFirst, 1, 1);
    firstColumn->addWidget(Label(this, "lblFirstG", "G:"), 2, 0);
    firstColumn->addWidget(edtGFirst, 2, 1);
    firstColumn->addWidget(Label(this, "lblFirstB", "B:"), 3, 0);
    firstColumn->addWidget(edtBFirst, 3, 1);
    FirstSwatch = Swatch(this, "FirstSwatch", 46, 93);
    FirstSwatch->setCursor(Qt::PointingHandCursor);
    FirstSwatch->setToolTip(QStringLiteral("Randomize"));
    firstColumn->addWidget(FirstSwatch, 1, 2, 3, 1);
    columns->addLayout(firstColumn);

    auto* middle = new QVBoxLayout;
    lblResult = Label(this, "lblResult", "Result", true);
    lblResult->setAlignment(Qt::AlignCenter);
    middle->addWidget(lblResult);
    BlendSwatch = Swatch(this, "BlendSwatch", 93, 93);
    middle->addWidget(BlendSwatch);
    columns->addLayout(middle);

    auto* secondColumn = new QGridLayout;
    lblSecond = Label(this, "lblSecond", "Second color", true);
    lblSecond->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    secondColumn->addWidget(lblSecond, 0, 0, 1, 3);
    SecondSwatch = Swatch(this, "SecondSwatch", 46, 93);
    SecondSwatch->setCursor(Qt::PointingHandCursor);
    SecondSwatch->setToolTip(QStringLiteral("Randomize"));
    secondColumn->addWidget(SecondSwatch, 1, 0, 3, 1);
    edtRSecond = ChannelBox(this, "edtRSecond");
    edtGSecond = ChannelBox(this, "edtGSecond");
    edtBSecond = ChannelBox(this, "edtBSecond");
    secondColumn->addWidget(edtRSecond, 1, 1);
    secondColumn->addWidget(Label(this, "lblSecondR", ":R"), 1, 2);
    secondColumn->addWidget(edtGSecond, 2, 1);
    secondColumn->addWidget(Label(this, "lblSecondG", ":G"), 2, 2);
    secondColumn->addWidget(edtBSecond, 3, 1);
    secondColumn->addWidget(Label(this, "lblSecondB", ":B"), 3, 2);
    columns->addLayout(secondColumn);

    auto* proportionRow = new QHBoxLayout;
    lblMin = Label(this, "lblMin", " 100%");
    tbProportion = new QSlider(Qt::Horizontal, this);
    tbProportion->setObjectName(QStringLiteral("tbProportion"));
    tbProportion->setRange(0, 100);
    tbProportion->setSingleStep(1);
    tbProportion->setFixedWidth(183);
    lblMax = Label(this, "lblMax", "0% ");
    lblMax->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    proportionRow->addStretch(1);
    proportionRow->addWidget(lblMin);
    proportionRow->addWidget(tbProportion);
    proportionRow->addWidget(lblMax);
    proportionRow->addStretch(1);
    layout->addLayout(proportionRow);

    auto* buttonRow = new QHBoxLayout;
    lblPath = Label(this, "lblPath", "Path:");
    cbPath = new QComboBox(this);
    cbPath->setObjectName(QStringLiteral("cbPath"));
    cbPath->addItems({QStringLiteral("Linear"), QStringLiteral("Radial")});
    lblPath->setBuddy(cbPath);
    buttonRow->addWidget(lblPath);
    buttonRow->addWidget(cbPath);
    const DialogButtons buttons = AddDialogButtons(this, layout, buttonRow);
    layout->addLayout(buttonRow);
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;

    for (QSpinBox* box : {edtRFirst, edtGFirst, edtBFirst})
        connect(box, &QSpinBox::valueChanged, this, &TColorBlenderDialog::FirstChange);
    for (QSpinBox* box : {edtRSecond, edtGSecond, edtBSecond})
        connect(box, &QSpinBox::valueChanged, this, &TColorBlenderDialog::SecondChange);
    connect(tbProportion, &QSlider::valueChanged, this, &TColorBlenderDialog::tbProportionChange);
    connect(cbPath, &QComboBox::currentIndexChanged, this,
            &TColorBlenderDialog::tbProportionChange);
    connect(FirstSwatch, &TmbColorPreview::clicked, this, [this] { RandomColor(FirstSwatch); });
    connect(SecondSwatch, &TmbColorPreview::clicked, this, [this] { RandomColor(SecondSwatch); });
    connect(FirstSwatch, &TmbColorPreview::doubleClicked, this,
            &TColorBlenderDialog::FirstSwatchDblClick);

    tbProportion->setValue(std::clamp(proportion, 0, 100));
    cbPath->setCurrentIndex(path == BlendPathLinear ? BlendPathLinear : BlendPathRadial);
    FirstSwatch->SetColor(first);
    SetEdits(edtRFirst, edtGFirst, edtBFirst, first);
    SecondSwatch->SetColor(second);
    SetEdits(edtRSecond, edtGSecond, edtBSecond, second);
    // The result and labels follow the values even where no control changed.
    tbProportionChange();
}

bool TColorBlenderDialog::Execute() {
    return exec() == QDialog::Accepted;
}

TColor TColorBlenderDialog::BlendColor() const {
    return BlendSwatch->Color();
}

TColor TColorBlenderDialog::FirstColor() const {
    return FirstSwatch->Color();
}

TColor TColorBlenderDialog::SecondColor() const {
    return SecondSwatch->Color();
}

int TColorBlenderDialog::Proportion() const {
    return tbProportion->value();
}

int TColorBlenderDialog::Path() const {
    return cbPath->currentIndex();
}

void TColorBlenderDialog::SetEdits(QSpinBox* r, QSpinBox* g, QSpinBox* b, TColor color) {
    const RGBTriple c = SplitRGB(color);
    r->setValue(c.r);
    g->setValue(c.g);
    b->setValue(c.b);
}

void TColorBlenderDialog::FirstChange() {
    FirstSwatch->SetColor(EditColor(edtRFirst, edtGFirst, edtBFirst));
    tbProportionChange();
}

void TColorBlenderDialog::SecondChange() {
    SecondSwatch->SetColor(EditColor(edtRSecond, edtGSecond, edtBSecond));
    tbProportionChange();
}

void TColorBlenderDialog::tbProportionChange() {
    const int p = tbProportion->value();
    lblMin->setText(BlendMinLabel(p));
    lblMax->setText(BlendMaxLabel(p));
    tbProportion->setToolTip(QStringLiteral("Position: %1").arg(p));
    BlendSwatch->SetColor(BlendResult(FirstSwatch->Color(), SecondSwatch->Color(), p, Path()));
    BlendSwatch->setToolTip(QString());
    btnOk->setEnabled(BlendSwatch->Color() != FColor);
}

void TColorBlenderDialog::RandomColor(TmbColorPreview* swatch) {
    // Never the clicked swatch's own colour, so every click shows a change, and never the
    // second colour, so the two never blend to nothing.
    const TColor first = FirstSwatch->Color();
    const TColor second = SecondSwatch->Color();
    swatch->SetColor(RandomColorOtherThan(swatch->Color(), second));
    const TColor newFirst = swatch == FirstSwatch ? swatch->Color() : first;
    const TColor newSecond = swatch == SecondSwatch ? swatch->Color() : second;
    SetEdits(edtRFirst, edtGFirst, edtBFirst, newFirst);
    SetEdits(edtRSecond, edtGSecond, edtBSecond, newSecond);
    FirstSwatch->SetColor(newFirst);
    SecondSwatch->SetColor(newSecond);
    tbProportionChange();
}

void TColorBlenderDialog::FirstSwatchDblClick() {
    FirstSwatch->SetColor(FColor);
    SetEdits(edtRFirst, edtGFirst, edtBFirst, FColor);
    FirstSwatch->SetColor(FColor);
    tbProportionChange();
}

bool RunBlendCommand(QWidget* parent, TBlendValues& values, TColor current,
                     const ConfirmWebColorFn& confirmWebColor, const MakeCurrentFn& makeCurrent) {
    const TColor random = RandomRGB();
    const TColor first = current == values.color ? random : current;
    TColorBlenderDialog dialog(first, values.color, values.value, values.path, parent);
    if (!dialog.Execute())
        return false;
    const std::optional<TColor> color = confirmWebColor(dialog.BlendColor());
    if (!color)
        return false;
    makeCurrent(*color);
    values.color = dialog.SecondColor();
    values.value = dialog.Proportion();
    values.path = dialog.Path();
    return true;
}

} // namespace chromint
