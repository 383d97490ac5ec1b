#pragma once

#include "ColorTypes.h"

#include <QDialog>

#include <cstdint>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace chromint {

class TmbColorPreview;

// Selects the radio button with the index, or none for an index outside the group.
void SelectRadioIndex(QButtonGroup* group, int index);

// "Randomize palette": how a random palette is to be made and of how many colours. It only
// collects the two answers.
class TRandomPaletteDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int MinCount = 2;
    static constexpr int MaxCount = 256;

    explicit TRandomPaletteDialog(TColor color = clWhite, std::uint8_t method = 0,
                                  std::uint16_t count = MaxCount, QWidget* parent = nullptr);

    bool Execute();
    // 0 "Randomize", 1 "Use base color", 2 "Use random color"; -1 when none is selected.
    int Method() const;
    int Count() const;

    TmbColorPreview* ColorSwatch = nullptr;
    QGroupBox* rgMethod = nullptr;
    QButtonGroup* rgMethodButtons = nullptr;
    QLabel* lblCount = nullptr;
    QSpinBox* edtCount = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace chromint
