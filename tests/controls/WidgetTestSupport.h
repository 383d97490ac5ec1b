#pragma once

#include "ColorPreviewLayout.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

namespace chromint::test {

// Lets the pending paint run, which raises the change of a mouse action.
inline void Settle(QWidget& w) {
    w.repaint();
    QApplication::processEvents();
}

// The colour the widget shows at a pixel, as a fresh grab of it.
inline TColor PixelAt(QWidget& w, int x, int y) {
    return ToTColor(w.grab().toImage().pixelColor(x, y));
}

} // namespace chromint::test
