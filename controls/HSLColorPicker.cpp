#include "HSLColorPicker.h"

#include "Rounding.h"

#include <QMenu>
#include <QMouseEvent>

namespace chromint {

THSLColorPicker::THSLColorPicker(QWidget* parent)
    : QWidget(parent), hsPicker_(new THSColorPicker(this)), lPicker_(new TLColorPicker(this)) {
    resize(DefaultWidth, DefaultHeight);
    // Only the background is the composite's own; the children paint themselves.
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(hsPicker_);

    hsPicker_->setGeometry(3, 6, 256, 256);
    hsPicker_->SetMarkerStyle(TMarkerStyle::msCircle);
    lPicker_->setGeometry(265, -2, 41, 272);
    lPicker_->SetSelectionIndicator(TSelIndicator::siArrows);
    lPicker_->SetNewArrowStyle(true);
    lPicker_->SetArrowPlacement(TSliderPlacement::spBoth);
    lPicker_->SetHintFormat(QStringLiteral("Luminance: %l"));

    connect(hsPicker_, &THSColorPicker::OnChange, this, &THSLColorPicker::FieldChanged);
    connect(lPicker_, &TmbTrackBarPicker::OnChange, this, &THSLColorPicker::BarChanged);
    // Moves without a button are passed on too, so the bar must see them.
    lPicker_->setMouseTracking(true);
    hsPicker_->installEventFilter(this);
    lPicker_->installEventFilter(this);
    hsPicker_->setContextMenuPolicy(Qt::CustomContextMenu);
    lPicker_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(hsPicker_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowMenu(hsPicker_, hsMenu_, pos); });
    connect(lPicker_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowMenu(lPicker_, lMenu_, pos); });
}

void THSLColorPicker::ShowMenu(QWidget* child, QMenu* menu, const QPoint& pos) {
    if (menu)
        menu->popup(child->mapToGlobal(pos));
}

void THSLColorPicker::resizeEvent(QResizeEvent* event) {
    // The field keeps its margins on every side; the bar stays at the right, full height.
    const int dw = width() - DefaultWidth, dh = height() - DefaultHeight;
    hsPicker_->setGeometry(3, 6, std::max(0, 256 + dw), std::max(0, 256 + dh));
    lPicker_->setGeometry(265 + dw, -2, 41, std::max(0, 272 + dh));
    QWidget::resizeEvent(event);
}

void THSLColorPicker::FieldChanged() {
    lPicker_->SetHue(hsPicker_->HueValue());
    lPicker_->SetSaturation(hsPicker_->SaturationValue());
}

void THSLColorPicker::BarChanged() {
    selected_ = lPicker_->SelectedColor();
    h_ = lPicker_->Hue();
    s_ = lPicker_->Saturation();
    l_ = lPicker_->Luminance();
    const RGBTriple c = SplitRGB(selected_);
    r_ = c.r;
    g_ = c.g;
    b_ = c.b;
    emit OnChange();
}

void THSLColorPicker::SetSelectedColor(TColor color) {
    if (color == selected_)
        return;
    selected_ = color;
    hsPicker_->SetSelectedColor(color);
    lPicker_->SetSelectedColor(color);
}

void THSLColorPicker::SetHValue(int h) {
    h_ = h;
    hsPicker_->SetHueValue(h);
    lPicker_->SetHue(h);
}

void THSLColorPicker::SetSValue(int s) {
    s_ = s;
    hsPicker_->SetSaturationValue(s);
    lPicker_->SetSaturation(s);
}

void THSLColorPicker::SetLValue(int l) {
    l_ = l;
    lPicker_->SetLuminance(l);
}

void THSLColorPicker::SetRValue(int r) {
    r_ = r;
    SetSelectedColor(MakeRGB(ClampByte(r_), ClampByte(g_), ClampByte(b_)));
}

void THSLColorPicker::SetGValue(int g) {
    g_ = g;
    SetSelectedColor(MakeRGB(ClampByte(r_), ClampByte(g_), ClampByte(b_)));
}

void THSLColorPicker::SetBValue(int b) {
    b_ = b;
    SetSelectedColor(MakeRGB(ClampByte(r_), ClampByte(g_), ClampByte(b_)));
}

void THSLColorPicker::SetLuminanceIncrement(int increment) {
    lumIncrement_ = increment;
    lPicker_->SetIncrement(increment);
}

void THSLColorPicker::SetHSPickerPopupMenu(QMenu* menu) {
    hsMenu_ = menu;
}

void THSLColorPicker::SetLPickerPopupMenu(QMenu* menu) {
    lMenu_ = menu;
}

void THSLColorPicker::SetWebSafe(bool webSafe) {
    hsPicker_->SetWebSafe(webSafe);
    lPicker_->SetWebSafe(webSafe);
}

bool THSLColorPicker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && (watched == hsPicker_ || watched == lPicker_)) {
        const auto* move = static_cast<QMouseEvent*>(event);
        const QPoint p = move->position().toPoint();
        emit OnMouseMove(move->modifiers(), p.x(), p.y());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace chromint
