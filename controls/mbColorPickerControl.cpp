#include "mbColorPickerControl.h"

#include "PointerConfinement.h"

#include "ColorPreviewLayout.h"
#include "FormatHint.h"
#include "PickerConversions.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QToolTip>

namespace chromint {

TColor PickerMarkerColor(TColor fieldColor) {
    const RGBTriple inv = SplitRGB(~fieldColor & 0xFFFFFF);
    auto sq = [](int d) { return d * d; };
    const int toBlack = sq(inv.r) + sq(inv.g) + sq(inv.b);
    const int toWhite = sq(255 - inv.r) + sq(255 - inv.g) + sq(255 - inv.b);
    return toBlack <= toWhite ? clBlack : clWhite;
}

void DrawPickerMarker(QPainter& painter, int x, int y, TMarkerStyle style, TColor markerColor) {
    const QColor c = ToQColor(markerColor);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Boxes are given with exclusive right and bottom edges; Qt's outlines include the last
    // pixel, hence the width and height one less than the box.
    switch (style) {
    case TMarkerStyle::msCircle:
        painter.setPen(c);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRect(x - 6, y - 6, 11, 11));
        break;
    case TMarkerStyle::msSquare:
        painter.setPen(c);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(x - 6, y - 6, 11, 11));
        break;
    case TMarkerStyle::msCross:
        painter.fillRect(QRect(x - 10, y - 2, 5, 3), c);
        painter.fillRect(QRect(x - 2, y - 10, 3, 5), c);
        painter.fillRect(QRect(x + 4, y - 2, 5, 3), c);
        painter.fillRect(QRect(x - 2, y + 4, 3, 5), c);
        break;
    case TMarkerStyle::msCrossCirc: {
        QRegion clip(QRect(x - 6, y - 6, 13, 13));
        clip -= QRegion(QRect(x - 6, y - 1, 12, 2));
        clip -= QRegion(QRect(x - 1, y - 6, 2, 12));
        painter.setClipRegion(clip);
        painter.setPen(c);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRect(x - 5, y - 5, 9, 9));
        painter.drawEllipse(QRect(x - 4, y - 4, 7, 7));
        break;
    }
    }
    painter.restore();
}

int PickerMarkerReach(TMarkerStyle style) {
    // From the boxes DrawPickerMarker draws: the circle and the square reach 6 pixels left
    // and up, the cross's arms 10, the crossed circle's clip 6.
    switch (style) {
    case TMarkerStyle::msCross:
        return 10;
    case TMarkerStyle::msCircle:
    case TMarkerStyle::msSquare:
    case TMarkerStyle::msCrossCirc:
        break;
    }
    return 6;
}

QString PickerHexText(TColor color) {
    if (color == clNone)
        return {};
    const RGBTriple c = SplitRGB(color);
    return QStringLiteral("%1%2%3")
        .arg(c.r, 2, 16, QLatin1Char('0'))
        .arg(c.g, 2, 16, QLatin1Char('0'))
        .arg(c.b, 2, 16, QLatin1Char('0'))
        .toUpper();
}

TmbCustomPicker::TmbCustomPicker(QWidget* parent)
    : QWidget(parent), hintFormat_(QString::fromUtf8(DefaultPickerHintFormat.data(),
                                                     qsizetype(DefaultPickerHintFormat.size()))) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The colour under the pointer is needed for the hint even when no button is held.
    setMouseTracking(true);
}

void TmbCustomPicker::SetWebSafe(bool webSafe) {
    if (webSafe == webSafe_)
        return;
    webSafe_ = webSafe;
    WebSafeChanged();
    update();
}

TColor TmbCustomPicker::GetColorAtPoint(int, int) const {
    return clNone;
}

TColor TmbCustomPicker::WebRounded(TColor color) const {
    return webSafe_ ? NearestWebSafe(color) : color;
}

void TmbCustomPicker::RememberMouse(const QPoint& p) {
    mx_ = p.x();
    my_ = p.y();
}

bool TmbCustomPicker::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const TColor under = ColorUnderCursor();
        if (under == clNone || hintFormat_.isEmpty()) {
            event->ignore();
            return true;
        }
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = QString::fromStdString(FormatHint(hintFormat_.toStdString(), under));
        QToolTip::showText(help->globalPos(), SwatchHintText(text), this, QRect(), 5000);
        return true;
    }
    return QWidget::event(event);
}

void TmbCustomPicker::mouseMoveEvent(QMouseEvent* event) {
    RememberMouse(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void TmbCustomPicker::leaveEvent(QEvent* event) {
    mx_ = 0;
    my_ = 0;
    QWidget::leaveEvent(event);
}

void TmbCustomPicker::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void TmbCustomPicker::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

TmbColorPickerControl::TmbColorPickerControl(QWidget* parent) : TmbCustomPicker(parent) {}

void TmbColorPickerControl::SetMarkerStyle(TMarkerStyle style) {
    if (style == markerStyle_)
        return;
    markerStyle_ = style;
    MarkerStyleChanged();
    update();
}

void TmbColorPickerControl::DrawMarker(QPainter& painter, int x, int y) const {
    DrawPickerMarker(painter, x, y, markerStyle_, PickerMarkerColor(GetColorAtPoint(x, y)));
}

std::optional<QPoint> TmbRectFieldPicker::ArrowKeyStep(const QKeyEvent& event) {
    const int step = (event.modifiers() & Qt::ControlModifier) ? 10 : 1;
    switch (event.key()) {
    case Qt::Key_Left:
        return QPoint(-step, 0);
    case Qt::Key_Right:
        return QPoint(step, 0);
    case Qt::Key_Up:
        return QPoint(0, -step);
    case Qt::Key_Down:
        return QPoint(0, step);
    default:
        return std::nullopt;
    }
}

void TmbRectFieldPicker::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    RememberMouse(p);
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || !rect().contains(p))
        return;
    GetPointerConfinement().Confine(QRect(mapToGlobal(QPoint(0, 0)), size()));
    PickAt(p);
}

void TmbRectFieldPicker::mouseMoveEvent(QMouseEvent* event) {
    TmbColorPickerControl::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) && rect().contains(p))
        PickAt(p);
}

void TmbRectFieldPicker::mouseReleaseEvent(QMouseEvent* event) {
    GetPointerConfinement().Release();
    const QPoint p = event->position().toPoint();
    RememberMouse(p);
    if (event->button() == Qt::LeftButton && rect().contains(p))
        PickAt(p);
}

} // namespace chromint
