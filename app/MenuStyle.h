#pragma once

class QMenu;

namespace chromint {

// Gives a menu whose items carry a value after a tab ("HTML\t#CC6699") the width of its
// contents: the style would reserve the value column a second time, leaving a wide gap.
void FitMenuToContents(QMenu* menu);

} // namespace chromint
