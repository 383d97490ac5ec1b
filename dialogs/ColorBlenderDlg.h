#pragma once

#include "ColorTypes.h"
#include "DialogCommands.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace chromint {

class TmbColorPreview;

enum BlendPathIndex : int { BlendPathLinear = 0, BlendPathRadial = 1 };

// The shares under the proportion slider: the first colour's on the left ("  70%"), the
// second colour's on the right ("30%  ").
QString BlendMinLabel(int position);
QString BlendMaxLabel(int position);

// The blend at a position (the second colour's share in percent): straight through RGB on
// the linear path, through HSL on any other.
TColor BlendResult(TColor first, TColor second, int position, int path);

// A random colour that is neither of the two given ones.
TColor RandomColorOtherThan(TColor a, TColor b);

// "Color blender": two colours mixed at a proportion, with the result between them.
class TColorBlenderDialog : public QDialog {
    Q_OBJECT
public:
    explicit TColorBlenderDialog(TColor first = clWhite, TColor second = clWhite,
                                 int proportion = 50, int path = BlendPathLinear,
                                 QWidget* parent = nullptr);

    bool Execute();
    TColor BlendColor() const;
    TColor FirstColor() const;
    TColor SecondColor() const;
    int Proportion() const;
    int Path() const;

    QLabel* lblFirst = nullptr;
    QSpinBox* edtRFirst = nullptr;
    QSpinBox* edtGFirst = nullptr;
    QSpinBox* edtBFirst = nullptr;
    TmbColorPreview* FirstSwatch = nullptr;
    QLabel* lblResult = nullptr;
    TmbColorPreview* BlendSwatch = nullptr;
    TmbColorPreview* SecondSwatch = nullptr;
    QSpinBox* edtRSecond = nullptr;
    QSpinBox* edtGSecond = nullptr;
    QSpinBox* edtBSecond = nullptr;
    QLabel* lblSecond = nullptr;
    QLabel* lblMin = nullptr;
    QSlider* tbProportion = nullptr;
    QLabel* lblMax = nullptr;
    QLabel* lblPath = nullptr;
    QComboBox* cbPath = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    void FirstChange();
    void SecondChange();
    void tbProportionChange();
    void RandomColor(TmbColorPreview* swatch);
    void FirstSwatchDblClick();

private:
    void SetEdits(QSpinBox* r, QSpinBox* g, QSpinBox* b, TColor color);

    TColor FColor;
};

// The blender values the command reads and, after an accepted "OK", stores.
struct TBlendValues {
    TColor color = clWhite; // the second colour
    int value = 50;         // the second colour's share in percent
    int path = BlendPathLinear;
};

// "Blend...": the current colour (or a random one when it is the stored second colour)
// blended with the stored second colour. True when a colour was made current; the values
// change only then.
bool RunBlendCommand(QWidget* parent, TBlendValues& values, TColor current,
                     const ConfirmWebColorFn& confirmWebColor, const MakeCurrentFn& makeCurrent);

// The same over the settings' BlendColor, BlendValue and BlendPath.
template <class Settings>
bool RunBlendCommand(QWidget* parent, Settings& settings, TColor current,
                     const ConfirmWebColorFn& confirmWebColor, const MakeCurrentFn& makeCurrent) {
    TBlendValues values{settings.BlendColor(), settings.BlendValue(), settings.BlendPath()};
    if (!RunBlendCommand(parent, values, current, confirmWebColor, makeCurrent))
        return false;
    settings.SetBlendColor(values.color);
    settings.SetBlendValue(values.value);
    settings.SetBlendPath(values.path);
    return true;
}

} // namespace chromint
