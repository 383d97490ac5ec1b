#pragma once

#include "ColorTypes.h"
#include "DialogCommands.h"

#include <QDialog>
#include <QString>

#include <vector>

class QPushButton;

namespace chromint {

class TmbColorList;

// One entry of the system colours list: the name shown and the colour stored, a system colour
// (top byte 0xFF) or, for the frame colours, plain RGB.
struct SystemColorEntry {
    QString name;
    TColor color = clNone;
    friend bool operator==(const SystemColorEntry&, const SystemColorEntry&) = default;
};

// The compositor's frame colours as the list needs them; clNone where one cannot be had.
struct SystemFrameColors {
    bool composition = false;
    TColor source = clNone;
    TColor visible = clNone;
};

// What the frame-colour service reports now.
SystemFrameColors CurrentFrameColors();

// The 30 desktop colours in their fixed order, then "Aero Source" and "Aero Visible" when
// composition is on and the colour is known.
std::vector<SystemColorEntry> SystemColorEntries(const SystemFrameColors& frame);

// The first entry storing exactly color (system colours are not resolved), else "Button Face".
int SystemColorPreselection(const std::vector<SystemColorEntry>& entries, TColor color);

// "System colors": the desktop's interface colours to pick one from.
class TSystemColorsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TSystemColorsDialog(TColor color = clNone, QWidget* parent = nullptr);
    TSystemColorsDialog(TColor color, const SystemFrameColors& frame, QWidget* parent = nullptr);

    bool Execute();
    // The selected entry as RGB (a system colour as the desktop shows it now); clNone when
    // nothing is selected.
    TColor SystemColor() const;

    TmbColorList* ColorList = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

// "From system...": true when a colour was made current.
bool RunSystemColorCommand(QWidget* parent, TColor current,
                           const ConfirmWebColorFn& confirmWebColor,
                           const MakeCurrentFn& makeCurrent);

} // namespace chromint
