#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;

namespace chromint {

// "Import palette": whether imported colours make a new palette or join the current one.
class TPaletteImportDialog : public QDialog {
    Q_OBJECT
public:
    explicit TPaletteImportDialog(bool asNew = true, QWidget* parent = nullptr);

    bool Execute();
    // True exactly when "Create new palette" is selected.
    bool AsNew() const;
    // True selects "Create new palette", false "Import swatches to current palette".
    void SetAsNew(bool value);

    QGroupBox* rgMethod = nullptr;
    QButtonGroup* rgMethodButtons = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace chromint
