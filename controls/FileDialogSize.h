#pragma once

#include <QSize>

class QFileDialog;

namespace chromint {

// The size a file dialog opens at: the one the user last gave a file dialog, else one that
// shows the names, sizes, types and dates of the list on a screen with this much room.
QSize FileDialogStartSize(QSize remembered, QSize available);

// Sizes the dialog while it lives and keeps the size the user leaves it at for the next file
// dialog (in Qt's own file-dialog settings, beside the dialog's other view state).
class FileDialogSizeKeeper {
public:
    explicit FileDialogSizeKeeper(QFileDialog& dialog);
    ~FileDialogSizeKeeper();
    FileDialogSizeKeeper(const FileDialogSizeKeeper&) = delete;
    FileDialogSizeKeeper& operator=(const FileDialogSizeKeeper&) = delete;

private:
    QFileDialog& dialog_;
};

} // namespace chromint
