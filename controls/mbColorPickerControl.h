#pragma once

#include "ColorTypes.h"

#include <QPoint>
#include <QString>
#include <QWidget>

#include <optional>

class QKeyEvent;
class QPainter;

namespace chromint {

enum class TMarkerStyle { msCircle, msSquare, msCross, msCrossCirc };

// Black or white, whichever is nearer to the inverse of the field colour under the marker
// (black on a tie), so the marker stands out on light and dark colours alike.
TColor PickerMarkerColor(TColor fieldColor);
// Draws a marker of the given style centred on (x, y).
void DrawPickerMarker(QPainter& painter, int x, int y, TMarkerStyle style, TColor markerColor);
// How far the marker's farthest pixel lies from its centre, across or down.
int PickerMarkerReach(TMarkerStyle style);
// Six upper-case hexadecimal digits, red first, no prefix; empty for clNone.
QString PickerHexText(TColor color);

// Base of the two-dimensional pickers: the last mouse position, the tool tip with the colour
// under it, and the web-safe display switch.
class TmbCustomPicker : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString HintFormat READ HintFormat WRITE SetHintFormat)
    Q_PROPERTY(bool WebSafe READ WebSafe WRITE SetWebSafe)

public:
    explicit TmbCustomPicker(QWidget* parent = nullptr);

    QString HintFormat() const { return hintFormat_; }
    void SetHintFormat(const QString& hintFormat) { hintFormat_ = hintFormat; }
    bool WebSafe() const { return webSafe_; }
    void SetWebSafe(bool webSafe);

    virtual TColor GetColorAtPoint(int x, int y) const;
    QString GetHexColorAtPoint(int x, int y) const { return PickerHexText(GetColorAtPoint(x, y)); }
    TColor ColorUnderCursor() const { return GetColorAtPoint(mx_, my_); }
    TColor GetColorUnderCursor() const { return ColorUnderCursor(); }
    QString GetHexColorUnderCursor() const { return PickerHexText(ColorUnderCursor()); }
    // The last mouse position in the control; (0, 0) after the mouse left it.
    QPoint LastMousePos() const { return {mx_, my_}; }

protected:
    // Rebuilds what depends on WebSafe; called after it changed.
    virtual void WebSafeChanged() {}
    TColor WebRounded(TColor color) const;
    void RememberMouse(const QPoint& p);

    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString hintFormat_;
    bool webSafe_ = false;
    int mx_ = 0;
    int my_ = 0;
};

// A picker with a marker drawn in one of the marker styles.
class TmbColorPickerControl : public TmbCustomPicker {
    Q_OBJECT

public:
    explicit TmbColorPickerControl(QWidget* parent = nullptr);

    TMarkerStyle MarkerStyle() const { return markerStyle_; }
    void SetMarkerStyle(TMarkerStyle style);

protected:
    // The marker at (x, y) in black or white against the field's colour there.
    void DrawMarker(QPainter& painter, int x, int y) const;
    // Rebuilds what depends on the marker's size; called after the style changed.
    virtual void MarkerStyleChanged() {}

private:
    TMarkerStyle markerStyle_ = TMarkerStyle::msCircle;
};

// A rectangular field (the square and the hue-saturation field): a left press inside takes
// the focus, confines the pointer to the field and picks; a move with the left button held
// and a left release pick too, as long as they stay inside. Any release frees the pointer.
class TmbRectFieldPicker : public TmbColorPickerControl {
    Q_OBJECT

public:
    using TmbColorPickerControl::TmbColorPickerControl;

protected:
    // Takes the numbers of the point, as a user's pick does.
    virtual void PickAt(QPoint p) = 0;
    // How far an arrow key moves the marker (10 pixels with Ctrl); nothing for other keys.
    static std::optional<QPoint> ArrowKeyStep(const QKeyEvent& event);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace chromint
