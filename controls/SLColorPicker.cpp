#include "SLColorPicker.h"

#include "PickerConversions.h"
#include "PointerConfinement.h"
#include "Rounding.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace chromint {

namespace {
std::uint32_t ToPixel(TColor color) {
    const RGBTriple c = SplitRGB(color);
    return 0xFF000000u | (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
}
} // namespace

QImage SquarePicture(int hue, bool webSafe) {
    QImage img(256, 256, QImage::Format_RGB32);
    for (int i = 0; i < 256; ++i) {
        auto* line = reinterpret_cast<std::uint32_t*>(img.scanLine(i));
        for (int j = 0; j < 256; ++j) {
            const TColor c = SquareHSVToColor(hue, j, 255 - i);
            line[j] = ToPixel(webSafe ? NearestWebSafe(c) : c);
        }
    }
    return img;
}

QPoint SquareMarkerPoint(int sat, int level, int w, int h) {
    return {MulDiv(sat, w, 255), MulDiv(255 - level, h, 255)};
}

SatLevel SquarePointToSatLevel(int x, int y, int w, int h) {
    return {MulDiv(255, x, w - 1), MulDiv(255, h - y - 1, h - 1)};
}

TColor SquareColorAtPoint(int hue, int x, int y, int w, int h) {
    return SquareHSVToColor(hue, MulDiv(255, x, w), MulDiv(255, h - y, h));
}

TSLColorPicker::TSLColorPicker(QWidget* parent) : TmbColorPickerControl(parent) {
    SetPickerHSLScale(360, 255, 255);
    SetMarkerStyle(TMarkerStyle::msCircle);
    resize(DefaultSize, DefaultSize);
    marker_ = SquareMarkerPoint(sat_, level_, width(), height());
}

void TSLColorPicker::NumbersChanged() {
    manual_ = false;
    update();
    if (change_)
        emit OnChange();
}

void TSLColorPicker::SetHue(int hue) {
    hue = Clamp(hue, 0, 360);
    if (hue == hue_)
        return;
    hue_ = hue;
    pictureStale_ = true;
    NumbersChanged();
}

void TSLColorPicker::SetSaturation(int sat) {
    sat = Clamp(sat, 0, 255);
    if (sat == sat_)
        return;
    sat_ = sat;
    marker_ = SquareMarkerPoint(sat_, level_, width(), height());
    NumbersChanged();
}

void TSLColorPicker::SetLuminance(int level) {
    level = Clamp(level, 0, 255);
    if (level == level_)
        return;
    level_ = level;
    marker_ = SquareMarkerPoint(sat_, level_, width(), height());
    NumbersChanged();
}

TColor TSLColorPicker::SelectedColor() const {
    return WebRounded(SquareHSVToColor(hue_, sat_, level_));
}

void TSLColorPicker::SetSelectedColor(TColor color) {
    color = WebRounded(color);
    manual_ = false;
    change_ = false;
    const HueSat hs = SquareColorToHueSat(color);
    const RGBTriple c = SplitRGB(color);
    SetHue(hs.hue);
    SetSaturation(hs.sat);
    SetLuminance(std::max({c.r, c.g, c.b}));
    change_ = true;
}

TColor TSLColorPicker::GetColorAtPoint(int x, int y) const {
    return WebRounded(SquareColorAtPoint(hue_, x, y, width(), height()));
}

const QImage& TSLColorPicker::Picture() const {
    if (pictureStale_) {
        picture_ = SquarePicture(hue_, WebSafe());
        pictureStale_ = false;
        stretched_ = QImage();
    }
    return picture_;
}

void TSLColorPicker::resizeEvent(QResizeEvent* event) {
    stretched_ = QImage();
    marker_ = SquareMarkerPoint(sat_, level_, width(), height());
    TmbColorPickerControl::resizeEvent(event);
}

void TSLColorPicker::ReadPoint(QPoint p) {
    const SatLevel sl = SquarePointToSatLevel(p.x(), p.y(), width(), height());
    change_ = false;
    SetSaturation(sl.sat);
    SetLuminance(sl.level);
    change_ = true;
    manual_ = true;
    emit OnChange();
}

void TSLColorPicker::PickAt(QPoint p) {
    marker_ = p;
    update();
    ReadPoint(p);
}

void TSLColorPicker::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    RememberMouse(p);
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || !rect().contains(p))
        return;
    GetPointerConfinement().Confine(QRect(mapToGlobal(QPoint(0, 0)), size()));
    PickAt(p);
}

void TSLColorPicker::mouseMoveEvent(QMouseEvent* event) {
    TmbColorPickerControl::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) && rect().contains(p))
        PickAt(p);
}

void TSLColorPicker::mouseReleaseEvent(QMouseEvent* event) {
    GetPointerConfinement().Release();
    const QPoint p = event->position().toPoint();
    RememberMouse(p);
    if (event->button() == Qt::LeftButton && rect().contains(p))
        PickAt(p);
}

void TSLColorPicker::keyPressEvent(QKeyEvent* event) {
    const int step = (event->modifiers() & Qt::ControlModifier) ? 10 : 1;
    QPoint p = marker_;
    bool moved = false;
    switch (event->key()) {
    case Qt::Key_Left:
        moved = p.x() - step >= 0;
        p.rx() -= step;
        break;
    case Qt::Key_Right:
        moved = p.x() + step <= width();
        p.rx() += step;
        break;
    case Qt::Key_Up:
        moved = p.y() - step >= 0;
        p.ry() -= step;
        break;
    case Qt::Key_Down:
        moved = p.y() + step <= height();
        p.ry() += step;
        break;
    default:
        TmbColorPickerControl::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!moved)
        return;
    marker_ = p;
    update();
    ReadPoint(p);
}

void TSLColorPicker::paintEvent(QPaintEvent* event) {
    const QImage& picture = Picture();
    if (stretched_.size() != size())
        stretched_ = picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QPainter painter(this);
    painter.drawImage(event->rect(), stretched_, event->rect());
    DrawMarker(painter, marker_.x(), marker_.y());
}

} // namespace chromint
