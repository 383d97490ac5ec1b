#include "HSVColorPicker.h"

#include "ColorOperations.h"
#include "ColorPreviewLayout.h"
#include "FocusFrame.h"
#include "PointerConfinement.h"
#include "Rounding.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace chromint {

namespace {
constexpr double kDegPerRad = 180.0 / std::numbers::pi;
}

std::optional<HueSat> WheelPictureHueSat(int dx, int dy, int r) {
    const int d2 = dx * dx + dy * dy;
    if (d2 > r * r)
        return std::nullopt;
    const int sat = r == 0 ? 0 : static_cast<int>(RoundHalfEven(std::sqrt(double(d2)) * 255 / r));
    int hue =
        static_cast<int>(RoundHalfEven(std::atan2(double(dx), double(dy)) * kDegPerRad + 180));
    hue += 90;
    if (hue > 360)
        hue -= 360;
    return HueSat{hue, sat};
}

QPoint WheelPullOntoDisc(int x, int y, int r) {
    const float d = std::sqrt(float(x - r) * float(x - r) + float(y - r) * float(y - r));
    if (d <= float(r))
        return {x, y};
    return {r + static_cast<int>(RoundHalfEven(double(r) * (x - r) / double(d))),
            r + static_cast<int>(RoundHalfEven(double(r) * (y - r) / double(d)))};
}

HueSat WheelPointToHueSat(int x, int y, int r) {
    int hue = static_cast<int>(
        RoundHalfEven(std::atan2(double(r - y), double(x - r)) * kDegPerRad + 360));
    if (hue < 0)
        hue += 360;
    if (hue > 360)
        hue -= 360;
    const int d = static_cast<int>(
        RoundHalfEven(std::sqrt(double(x - r) * (x - r) + double(y - r) * (y - r))));
    const int sat = d < r ? MulDiv(d, 255, r) : 255;
    return {hue, sat};
}

QPoint WheelMarkerPoint(int hue, int sat, int r) {
    const int rr = MulDiv(sat, r, 255);
    const double a = hue / kDegPerRad;
    return {r + static_cast<int>(RoundHalfEven(rr * std::cos(a))),
            r - static_cast<int>(RoundHalfEven(rr * std::sin(a)))};
}

std::vector<std::int32_t> WheelGeometry(int s) {
    const int r = s / 2;
    std::vector<std::int32_t> g(static_cast<std::size_t>(s) * s, -1);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x)
            if (const auto hs = WheelPictureHueSat(x - r, y - r, r))
                g[static_cast<std::size_t>(y) * s + x] = (hs->hue << 8) | hs->sat;
    return g;
}

QImage WheelPicture(const std::vector<std::int32_t>& geometry, int s, int value, bool webSafe,
                    TColor background) {
    QImage img(s, s, QImage::Format_RGB32);
    if (s <= 0)
        return img;
    const std::uint32_t bgPixel = 0xFF000000u | SwapRB(background);
    const std::int32_t* cell = geometry.data();
    for (int y = 0; y < s; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(img.scanLine(y));
        for (int x = 0; x < s; ++x, ++cell) {
            const std::int32_t hs = *cell;
            if (hs < 0) {
                line[x] = bgPixel;
            } else if (!webSafe) {
                line[x] = 0xFF000000u | PickerHSVToBGR(hs >> 8, hs & 0xFF, value);
            } else {
                line[x] =
                    0xFF000000u | SwapRB(NearestWebSafe(PickerHSVToRGB(hs >> 8, hs & 0xFF, value)));
            }
        }
    }
    return img;
}

THSVColorPicker::THSVColorPicker(QWidget* parent) : TmbColorPickerControl(parent) {
    SetMarkerStyle(TMarkerStyle::msCrossCirc);
    resize(DefaultSize, DefaultSize);
    marker_ = MarkerOfNumbers();
}

QPoint THSVColorPicker::MarkerOfNumbers() const {
    return WheelMarkerPoint(hue_, sat_, Radius()) + QPoint(Inset(), Inset());
}

void THSVColorPicker::MarkerStyleChanged() {
    // The wheel's size follows the marker's reach.
    marker_ = MarkerOfNumbers();
}

void THSVColorPicker::NumbersChanged() {
    manual_ = false;
    update();
    if (change_)
        emit OnChange();
}

void THSVColorPicker::SetHue(int hue) {
    hue = Clamp(hue, 0, 360);
    if (hue == hue_)
        return;
    hue_ = hue;
    marker_ = MarkerOfNumbers();
    NumbersChanged();
}

void THSVColorPicker::SetSaturation(int sat) {
    sat = Clamp(sat, 0, 255);
    if (sat == sat_)
        return;
    sat_ = sat;
    marker_ = MarkerOfNumbers();
    NumbersChanged();
}

void THSVColorPicker::SetValue(int value) {
    value = Clamp(value, 0, 255);
    if (value == value_)
        return;
    value_ = value;
    pictureStale_ = true;
    NumbersChanged();
}

TColor THSVColorPicker::SelectedColor() const {
    if (selected_ == clNone)
        return clNone;
    return WebRounded(PickerHSVToRGB(hue_, sat_, value_));
}

void THSVColorPicker::SetSelectedColor(TColor color) {
    color = WebRounded(color);
    manual_ = false;
    const bool report = change_;
    change_ = false;
    const RGBTriple c = SplitRGB(color);
    const HSVInt hsv = PickerRGBToHSV(c.r, c.g, c.b);
    SetValue(hsv.v);
    SetHue(hsv.h);
    SetSaturation(hsv.s);
    selected_ = color;
    change_ = report;
    if (report)
        emit OnChange();
    change_ = true;
}

void THSVColorPicker::SetSaturationCircleColor(TColor c) {
    satCircColor_ = c;
    update();
}
void THSVColorPicker::SetHueLineColor(TColor c) {
    hueLineColor_ = c;
    update();
}
void THSVColorPicker::SetShowSaturationCircle(bool on) {
    showSatCirc_ = on;
    update();
}
void THSVColorPicker::SetShowHueLine(bool on) {
    showHueLine_ = on;
    update();
}
void THSVColorPicker::SetShowSelectionCircle(bool on) {
    showSelCirc_ = on;
    update();
}

TColor THSVColorPicker::GetColorAtPoint(int x, int y) const {
    const HueSat hs = WheelPointToHueSat(x - Inset(), y - Inset(), Radius());
    return WebRounded(PickerHSVToRGB(hs.hue, hs.sat, value_));
}

const QImage& THSVColorPicker::Picture() const {
    const int s = 2 * Radius();
    if (geometrySize_ != s) {
        geometry_ = WheelGeometry(s);
        geometrySize_ = s;
        pictureStale_ = true;
    }
    if (pictureStale_) {
        picture_ = WheelPicture(geometry_, s, value_, WebSafe(),
                                ToTColor(palette().color(backgroundRole())));
        pictureStale_ = false;
    }
    return picture_;
}

void THSVColorPicker::resizeEvent(QResizeEvent* event) {
    pictureStale_ = true;
    marker_ = MarkerOfNumbers();
    TmbColorPickerControl::resizeEvent(event);
}

void THSVColorPicker::changeEvent(QEvent* event) {
    // The corners outside the disc show the background.
    if (event->type() == QEvent::PaletteChange)
        pictureStale_ = true;
    TmbColorPickerControl::changeEvent(event);
}

void THSVColorPicker::PickAt(QPoint p) {
    const int r = Radius();
    const QPoint origin(Inset(), Inset());
    const QPoint onDisc = WheelPullOntoDisc(p.x() - origin.x(), p.y() - origin.y(), r);
    marker_ = onDisc + origin;
    doChange_ = true;
    const HueSat hs = WheelPointToHueSat(onDisc.x(), onDisc.y(), r);
    const bool saved = change_;
    change_ = false;
    SetHue(hs.hue);
    SetSaturation(hs.sat);
    change_ = saved;
    manual_ = true;
    update();
}

void THSVColorPicker::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    RememberMouse(p);
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    // One pixel of slack around the disc, so the rim can be reached from every side.
    GetPointerConfinement().Confine(QRect(mapToGlobal(QPoint(-1, -1)), size() + QSize(2, 2)));
    PickAt(p);
}

void THSVColorPicker::mouseMoveEvent(QMouseEvent* event) {
    TmbColorPickerControl::mouseMoveEvent(event);
    if (event->buttons() & Qt::LeftButton)
        PickAt(event->position().toPoint());
}

void THSVColorPicker::mouseReleaseEvent(QMouseEvent* event) {
    GetPointerConfinement().Release();
    const QPoint p = event->position().toPoint();
    RememberMouse(p);
    if (event->button() == Qt::LeftButton)
        PickAt(p);
}

void THSVColorPicker::keyPressEvent(QKeyEvent* event) {
    const int step = (event->modifiers() & Qt::ControlModifier) ? 10 : 1;
    int hue = hue_, sat = sat_;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        hue += event->key() == Qt::Key_Left ? step : -step;
        if (hue < 0)
            hue += 360;
        else if (hue > 360)
            hue -= 360;
        break;
    case Qt::Key_Up:
        if (sat + step <= 255)
            sat += step;
        break;
    case Qt::Key_Down:
        if (sat - step >= 0)
            sat -= step;
        break;
    default:
        TmbColorPickerControl::keyPressEvent(event);
        return;
    }
    event->accept();
    change_ = false;
    SetHue(hue);
    SetSaturation(sat);
    change_ = true;
    manual_ = true;
    emit OnChange();
}

void THSVColorPicker::paintEvent(QPaintEvent* event) {
    const QImage& picture = Picture();
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(backgroundRole()));
    painter.drawImage(Inset(), Inset(), picture);
    const int r = Radius();
    const QPoint c = Centre();
    if (showSatCirc_ && sat_ >= 1 && sat_ <= 254) {
        const int rr = MulDiv(sat_, r, 255);
        painter.setPen(ToQColor(satCircColor_));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRect(c.x() - rr, c.y() - rr, 2 * rr, 2 * rr));
    }
    if (showHueLine_) {
        const double a = hue_ / kDegPerRad;
        painter.setPen(ToQColor(hueLineColor_));
        painter.drawLine(c.x(), c.y(), c.x() + static_cast<int>(RoundHalfEven(r * std::cos(a))),
                         c.y() - static_cast<int>(RoundHalfEven(r * std::sin(a))));
    }
    if (showSelCirc_)
        DrawMarker(painter, marker_.x(), marker_.y());
    DrawFocusFrame(painter, *this, rect());
    if (doChange_) {
        doChange_ = false;
        emit OnChange();
    }
}

} // namespace chromint
