#include "SimpleSchemeDlg.h"

#include "ColorNotations.h"
#include "ColorUtils.h"
#include "mbColorPalette.h"

#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>

namespace chromint {

namespace {

// Hue offset i x 30 goes to this cell, for i = 1..11: clockwise round the border.
constexpr std::array<int, 12> kHueCell{0, 1, 2, 3, 7, 11, 15, 14, 13, 12, 8, 4};

constexpr int kCellSize = 48;

TColor HSLCell(int h, int s, int l) {
    return MakeRGB(HSLToRGB(h, s, l));
}

} // namespace

int SchemeWrap(int value, int top) {
    if (top <= 0)
        return 0;
    if (value > top)
        return value % top;
    if (value < 0)
        return top - ((top - value) % top);
    return value;
}

std::array<TColor, SchemeCellCount> SchemeColors(TColor base) {
    std::array<TColor, SchemeCellCount> cells{};
    cells[0] = base;
    const RGBTriple rgb = SplitRGB(base);
    const HSLInt hsl = RGBToHSL(rgb.r, rgb.g, rgb.b);
    const HSLRange range = GetHSLRange();
    const int hueTop = range.hue - 1;
    for (int i = 1; i <= 11; ++i)
        cells[static_cast<std::size_t>(kHueCell[static_cast<std::size_t>(i)])] =
            HSLCell(SchemeWrap(hsl.h + 30 * i, hueTop), hsl.s, hsl.l);
    const int opposite = SchemeWrap(hsl.h + 180, hueTop);
    const int light16 = SchemeWrap(hsl.l - 16, range.lightness);
    const int light32 = SchemeWrap(hsl.l - 32, range.lightness);
    cells[5] = HSLCell(hsl.h, hsl.s, light16);
    cells[6] = HSLCell(hsl.h, hsl.s, light32);
    cells[9] = HSLCell(opposite, hsl.s, light32);
    cells[10] = HSLCell(opposite, hsl.s, light16);
    return cells;
}

TSimpleSchemeDialog::TSimpleSchemeDialog(TColor color, QWidget* parent)
    : QDialog(parent), FColor(color) {
    setObjectName(QStringLiteral("SimpleSchemeDialog"));
    setWindowTitle(QStringLiteral("Color scheme"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Panel = new QFrame(this);
    Panel->setObjectName(QStringLiteral("Panel"));
    Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* panelLayout = new QVBoxLayout(Panel);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    Scheme = new TmbColorPalette(Panel);
    Scheme->setObjectName(QStringLiteral("Scheme"));
    Scheme->SetCellSize(kCellSize);
    Scheme->SetMinColors(SchemeCellCount);
    Scheme->SetMaxColors(SchemeCellCount);
    Scheme->setFixedSize(4 * kCellSize, 4 * kCellSize);
    panelLayout->addWidget(Scheme);
    layout->addWidget(Panel);

    const DialogButtons buttons = AddDialogButtons(this, layout);
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;

    connect(Scheme, &TmbColorPalette::cellClick, this,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, int index, TColor cellColor, bool*) {
                SchemeCellClick(index, cellColor);
            });
    BuildScheme(color);
}

bool TSimpleSchemeDialog::Execute() {
    return exec() == QDialog::Accepted;
}

TColor TSimpleSchemeDialog::SchemeColor() const {
    const QStringList& colors = Scheme->Colors();
    return colors.isEmpty() ? clNone
                            : TextToColor(colors.constFirst().toStdString(), NotationDelphi);
}

void TSimpleSchemeDialog::SchemeCellClick(int index, TColor color) {
    // A click that did not land on a cell has no colour to build from.
    if (index < 0 || color == clNone)
        return;
    BuildScheme(color);
}

void TSimpleSchemeDialog::BuildScheme(TColor base) {
    QStringList texts;
    for (const TColor c : SchemeColors(base))
        texts << QString::fromStdString(ColorToText(c, NotationDelphi));
    Scheme->SetColors(texts);
    Scheme->SetSelectedCell(-1);
    btnOk->setEnabled(SchemeColor() != FColor);
}

bool RunSchemeCommand(QWidget* parent, TColor current, const MakeCurrentFn& makeCurrent) {
    TSimpleSchemeDialog dialog(current, parent);
    if (!dialog.Execute())
        return false;
    const TColor color = dialog.SchemeColor();
    if (color == clNone || color == current)
        return false;
    makeCurrent(color);
    return true;
}

} // namespace chromint
