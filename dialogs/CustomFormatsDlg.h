#pragma once

#include "ColorTypes.h"
#include "CustomFormats.h"
#include "DialogCommands.h"

#include <QDialog>
#include <QIcon>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace chromint {

// Why a format cannot be kept, in the words the dialog shows; empty when it can. Duplicate
// names are allowed: the menu shows them in the order the list has them.
std::string CustomFormatError(const CustomFormat& format);

// The list edits of the dialog on the formats alone. Each returns the row to select after it,
// -1 for none.
// Appends "New format" with the template "%hex"; -1 when the list is full.
int AddCustomFormat(std::vector<CustomFormat>& formats);
// Removes the row; the row that takes its place is selected, or the new last one.
int RemoveCustomFormat(std::vector<CustomFormat>& formats, int row);
// Moves the row delta places, stopping at either end; the row it lands on.
int MoveCustomFormat(std::vector<CustomFormat>& formats, int row, int delta);

// The placeholder help: one line per placeholder, its name, a tab and what it stands for.
QString PlaceholderHelpText();

// "Custom formats": the user's copy formats, each a name and a template, with a preview of the
// selected template for the current colour. OK is disabled while any format has an error.
class TCustomFormatsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TCustomFormatsDialog(std::vector<CustomFormat> formats = {}, TColor current = clWhite,
                                  QWidget* parent = nullptr);

    bool Execute();
    const std::vector<CustomFormat>& Formats() const { return formats_; }
    // The row selected in the list, -1 for none.
    int SelectedRow() const;

    QListWidget* lbFormats = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnRemove = nullptr;
    QPushButton* btnUp = nullptr;
    QPushButton* btnDown = nullptr;
    QLineEdit* edtName = nullptr;
    QPlainTextEdit* edtTemplate = nullptr;
    QPlainTextEdit* memPreview = nullptr;
    QLabel* lblError = nullptr;
    QPlainTextEdit* memPlaceholders = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    void accept() override;

private:
    void AddClick();
    void RemoveClick();
    void MoveClick(int delta);
    void FillList(int selectRow);
    void ShowSelected();
    void NameEdited();
    void TemplateEdited();
    void UpdatePreview();
    void UpdateState();

    std::vector<CustomFormat> formats_;
    TColor current_;
    QIcon warningIcon_, blankIcon_;
    bool showing_ = false; // editors being filled from the list, not edited by the user
};

// "Custom formats...": the edited list after OK, nothing after Cancel.
std::optional<std::vector<CustomFormat>>
EditCustomFormats(QWidget* parent, std::vector<CustomFormat> formats, TColor current);

} // namespace chromint
