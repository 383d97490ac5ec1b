#pragma once

#include "ColorPreviewLayout.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
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

// How a control's look changes when it takes the keyboard focus: the pixels of `painted` (the
// control or its viewport) that differ between a grab without and one with the focus, counted
// inside the ring `width` pixels deep just inside `frame`, and elsewhere.
struct FocusChange {
    int inFrame = 0;
    int elsewhere = 0;
};

// The window must be active. The focus comes as Tab gives it.
inline FocusChange ChangeOnFocus(QWidget& control, QWidget& painted, QRect frame, int width) {
    control.clearFocus();
    Settle(painted);
    const QImage without = painted.grab().toImage();
    // What Qt records when Tab moves the focus: styles that show the frame only after the
    // keyboard moved the focus read it.
    control.window()->setAttribute(Qt::WA_KeyboardFocusChange);
    control.setFocus(Qt::TabFocusReason);
    Settle(painted);
    const QImage with = painted.grab().toImage();
    const QRect inner = frame.adjusted(width, width, -width, -width);
    FocusChange change;
    for (int y = 0; y < without.height(); ++y)
        for (int x = 0; x < without.width(); ++x) {
            if (without.pixel(x, y) == with.pixel(x, y))
                continue;
            const QPoint p(x, y);
            if (frame.contains(p) && !inner.contains(p))
                ++change.inFrame;
            else
                ++change.elsewhere;
        }
    return change;
}

inline FocusChange ChangeOnFocus(QWidget& control, QRect frame, int width) {
    return ChangeOnFocus(control, control, frame, width);
}

} // namespace chromint::test
