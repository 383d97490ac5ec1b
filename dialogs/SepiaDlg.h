#pragma once

#include "ColorTypes.h"
#include "DialogCommands.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QSpinBox;

namespace chromint {

class TmbColorPreview;

// The result swatch's hint: "RGB(r, g, b)" and "Hex: #RRGGBB" on two lines.
QString SepiaHint(TColor color);

// "Sepia": the colour toned to sepia by a depth and an intensity, previewed as they change.
class TSepiaDialog : public QDialog {
    Q_OBJECT
public:
    explicit TSepiaDialog(TColor color = clWhite, int depth = 30, int intensity = 20,
                          QWidget* parent = nullptr);

    bool Execute();
    TColor SepiaColor() const;
    int Depth() const;
    int Intensity() const;

    TmbColorPreview* ColorSwatch = nullptr;
    QLabel* lblDepth = nullptr;
    QSpinBox* edtDepth = nullptr;
    QLabel* lblIntensity = nullptr;
    QSpinBox* edtIntensity = nullptr;
    TmbColorPreview* SepiaSwatch = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    void SepiaChange();
};

// The sepia values the command reads and, after an accepted "OK", stores.
struct TSepiaValues {
    int depth = 30;
    int intensity = 20;
};

// "Create sepia...": true when a colour was made current; values change only then.
bool RunSepiaCommand(QWidget* parent, TSepiaValues& values, TColor current,
                     const ConfirmWebColorFn& confirmWebColor, const MakeCurrentFn& makeCurrent);

// The same over the settings' SepiaDepth and SepiaIntensity.
template <class Settings>
bool RunSepiaCommand(QWidget* parent, Settings& settings, TColor current,
                     const ConfirmWebColorFn& confirmWebColor, const MakeCurrentFn& makeCurrent) {
    TSepiaValues values{settings.SepiaDepth(), settings.SepiaIntensity()};
    if (!RunSepiaCommand(parent, values, current, confirmWebColor, makeCurrent))
        return false;
    settings.SetSepiaDepth(values.depth);
    settings.SetSepiaIntensity(values.intensity);
    return true;
}

} // namespace chromint
