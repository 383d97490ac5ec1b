#pragma once

#include "ColorTypes.h"
#include "DialogCommands.h"

#include <QDialog>

#include <array>

class QFrame;
class QPushButton;

namespace chromint {

class TmbColorPalette;

inline constexpr int SchemeCellCount = 16;

// Wraps by the top value itself, as the scheme has always done: with top 359 a hue of 360
// becomes 1, with top 100 a lightness of -6 becomes 94.
int SchemeWrap(int value, int top);

// The 4 x 4 scheme of a base colour, row by row: the base, eleven hue turns of 30 degrees
// around the border, and four darker shades inside. Uses the engine's integer HSL range.
std::array<TColor, SchemeCellCount> SchemeColors(TColor base);

// "Color scheme": walk from colour to colour by clicking the scheme's cells.
class TSimpleSchemeDialog : public QDialog {
    Q_OBJECT
public:
    explicit TSimpleSchemeDialog(TColor color = clWhite, QWidget* parent = nullptr);

    // True when closed with "OK".
    bool Execute();
    // The base colour the scheme shows, from its top-left cell.
    TColor SchemeColor() const;

    TmbColorPalette* Scheme = nullptr;
    QFrame* Panel = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    void SchemeCellClick(int index, TColor color);

private:
    void BuildScheme(TColor base);

    TColor FColor;
};

// "From scheme...": the scheme of the current colour; "OK" with another base makes that
// colour current (without the web-only question). True when a colour was made current.
bool RunSchemeCommand(QWidget* parent, TColor current, const MakeCurrentFn& makeCurrent);

} // namespace chromint
