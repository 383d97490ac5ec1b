#pragma once

#include <QRect>

class QPainter;
class QWidget;

namespace chromint {

// How far in from the edge of the framed area the focus frame may paint.
inline constexpr int FocusFrameWidth = 2;

// Draws the style's focus frame around `around` (the control's content or its selected cell)
// when the widget has the keyboard focus; nothing otherwise. The style decides how the frame
// looks and whether it shows at all (some show it only after the focus moved by keyboard).
// Only the outer FocusFrameWidth pixels of `around` are painted: styles that tint the inside
// of their frame would otherwise change the colours the control shows. Called last in a
// paintEvent, after the cached picture and the marker.
void DrawFocusFrame(QPainter& painter, const QWidget& widget, const QRect& around);

} // namespace chromint
