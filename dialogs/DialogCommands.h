#pragma once

#include "ColorTypes.h"

#include <functional>
#include <optional>

class QBoxLayout;
class QDialog;
class QPushButton;

namespace chromint {

// What a colour command needs from the main window: the web-only question (the colour to
// make current, or nothing when the user cancelled) and the push that makes a colour current.
using ConfirmWebColorFn = std::function<std::optional<TColor>(TColor)>;
using MakeCurrentFn = std::function<void(TColor)>;

// The line and the "OK" and "Cancel" buttons at the foot of every colour dialog.
struct DialogButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};
DialogButtons AddDialogButtons(QDialog* dialog, QBoxLayout* layout,
                               QBoxLayout* buttonRow = nullptr);

} // namespace chromint
