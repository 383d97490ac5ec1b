#include "mbTrackBarPicker.h"

#include "ColorOperations.h"
#include "ColorPreviewLayout.h"
#include "FocusFrame.h"
#include "PickerConversions.h"
#include "PointerConfinement.h"
#include "Rounding.h"

#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <array>

namespace chromint {

// ---- Arithmetic ----

BarMetrics BarArrowMetrics(TSelIndicator indicator, bool newArrowStyle) {
    if (indicator == TSelIndicator::siRect)
        return {4, 5, 0, 3};
    if (newArrowStyle)
        return {8, 9, 2, 7};
    return {6, 10, 0, 7};
}

BarRect BarPickRect(TTrackBarLayout layout, TSelIndicator indicator, TSliderPlacement placement,
                    const BarMetrics& m, int w, int h) {
    const int aw = m.aw, ah = m.ah, x = m.x;
    if (layout == TTrackBarLayout::lyHorizontal) {
        if (indicator == TSelIndicator::siRect)
            return {aw, ah, w - 2 * aw + 1, h - ah};
        switch (placement) {
        case TSliderPlacement::spBefore:
            return {aw, x + ah, w - aw, h};
        case TSliderPlacement::spAfter:
            return {aw, 0, w - aw, h - ah - x};
        case TSliderPlacement::spBoth:
            break;
        }
        return {aw, ah + x, w - aw, h - ah - x};
    }
    if (indicator == TSelIndicator::siRect)
        return {ah, aw, w - 5, h - 2 * aw + 1};
    switch (placement) {
    case TSliderPlacement::spBefore:
        return {x + ah, aw, w, h - aw};
    case TSliderPlacement::spAfter:
        return {0, aw, w - ah - x, h - aw};
    case TSliderPlacement::spBoth:
        break;
    }
    return {ah + x, aw, w - ah - x, h - aw};
}

int BarLength(TTrackBarLayout layout, int w, int h) {
    return layout == TTrackBarLayout::lyVertical ? h : w;
}

static bool Inverted(const BarScale& scale, TTrackBarLayout layout) {
    return scale.topIsMax && layout == TTrackBarLayout::lyVertical;
}

int BarNumberToPos(const BarScale& scale, TTrackBarLayout layout, int length, int limit,
                   int number) {
    const double step = (length - 12) / double(scale.max);
    const int along = Inverted(scale, layout) ? scale.max - number : number;
    auto pos = RoundHalfEven(step * along);
    pos = std::min<std::int64_t>(pos, length - limit);
    return static_cast<int>(std::max<std::int64_t>(pos, 0));
}

int BarPosToNumber(const BarScale& scale, TTrackBarLayout layout, int length, int pos) {
    const bool inverted = Inverted(scale, layout);
    // A bar no longer than its margins has no pixels per step: every position shows the end
    // the marker rests at, instead of dividing by zero.
    if (length <= 12)
        return inverted ? scale.max : 0;
    // Kept in this order: a different one moves a few positions to the neighbouring number.
    const double step = (length - 12) / double(scale.max);
    const double n = inverted ? scale.max - pos / step : pos / step;
    return static_cast<int>(Clamp<std::int64_t>(RoundHalfEven(n), 0, scale.max));
}

int BarMouseToPos(TTrackBarLayout layout, int aw, int length, int x, int y) {
    const int pos = (layout == TTrackBarLayout::lyHorizontal ? x : y) - aw;
    return std::max(0, std::min(pos, length - aw - 1));
}

std::optional<int> BarKeyTarget(const BarScale& scale, TTrackBarLayout layout, int qtKey, bool ctrl,
                                int number, int increment) {
    const bool vertical = layout == TTrackBarLayout::lyVertical;
    // +1: towards the larger numbers.
    int direction = 0;
    switch (qtKey) {
    case Qt::Key_Up:
        if (!vertical)
            return std::nullopt;
        direction = scale.topIsMax ? 1 : -1;
        break;
    case Qt::Key_Down:
        if (!vertical)
            return std::nullopt;
        direction = scale.topIsMax ? -1 : 1;
        break;
    case Qt::Key_Left:
        if (vertical)
            return std::nullopt;
        direction = -1;
        break;
    case Qt::Key_Right:
        if (vertical)
            return std::nullopt;
        direction = 1;
        break;
    default:
        return std::nullopt;
    }
    if (ctrl)
        return direction > 0 ? scale.max : 0;
    return number + direction * increment;
}

int BarArrowCentre(TTrackBarLayout layout, bool newArrowStyle, int aw, int arrowPos, int w, int h) {
    if (layout == TTrackBarLayout::lyVertical) {
        const int a = arrowPos + aw - (newArrowStyle ? 1 : 0);
        return std::max(aw, std::min(a, h - aw - 1));
    }
    return std::max(aw, std::min(arrowPos + aw, w - aw));
}

QPolygon BarArrowPolygon(TTrackBarLayout layout, bool newArrowStyle, bool before, int a, int aw,
                         int w, int h) {
    // Worked out for a vertical bar as (across, along) pairs; a horizontal one swaps them.
    const int across = layout == TTrackBarLayout::lyVertical ? w : h;
    QPolygon p;
    if (!before) {
        const int r = across - aw;
        if (newArrowStyle)
            p << QPoint(r - 1, a) << QPoint(r + 3, a - 4) << QPoint(r + 5, a - 4)
              << QPoint(r + 6, a - 3) << QPoint(r + 6, a + 3) << QPoint(r + 5, a + 4)
              << QPoint(r + 3, a + 4);
        else
            p << QPoint(r - 1, a) << QPoint(r + 5, a - 4) << QPoint(r + 5, a + 4);
    } else {
        const int l0 = aw;
        if (newArrowStyle)
            p << QPoint(l0, a) << QPoint(l0 - 4, a - 4) << QPoint(l0 - 6, a - 4)
              << QPoint(l0 - 7, a - 3) << QPoint(l0 - 7, a + 3) << QPoint(l0 - 6, a + 4)
              << QPoint(l0 - 4, a + 4);
        else
            p << QPoint(l0, a) << QPoint(l0 - 6, a - 4) << QPoint(l0 - 6, a + 4);
    }
    if (layout == TTrackBarLayout::lyHorizontal)
        for (QPoint& pt : p)
            pt = QPoint(pt.y(), pt.x());
    return p;
}

QImage BarGradientImage(TTrackBarLayout layout, const std::vector<std::uint32_t>& entries) {
    constexpr int kAcross = 12;
    const int n = static_cast<int>(entries.size());
    if (n == 0)
        return {};
    if (layout == TTrackBarLayout::lyVertical) {
        QImage img(kAcross, n, QImage::Format_RGB32);
        for (int r = 0; r < n; ++r) {
            auto* line = reinterpret_cast<std::uint32_t*>(img.scanLine(r));
            std::fill(line, line + kAcross, 0xFF000000u | entries[r]);
        }
        return img;
    }
    QImage img(n, kAcross, QImage::Format_RGB32);
    auto* first = reinterpret_cast<std::uint32_t*>(img.scanLine(0));
    for (int c = 0; c < n; ++c)
        first[c] = 0xFF000000u | entries[c];
    for (int r = 1; r < kAcross; ++r)
        std::copy(first, first + n, reinterpret_cast<std::uint32_t*>(img.scanLine(r)));
    return img;
}

QString BarHintText(const QString& hintFormat, int number) {
    static const std::array<const char*, 12> kPlaceholders = {
        "%value", "%h", "%s", "%l", "%v", "%c", "%m", "%y", "%k", "%r", "%g", "%b"};
    QString text = hintFormat;
    const QString n = QString::number(number);
    for (const char* placeholder : kPlaceholders) {
        const QString p = QString::fromLatin1(placeholder);
        const auto at = text.indexOf(p);
        if (at >= 0)
            text.replace(at, p.size(), n);
    }
    return text;
}

// ---- The base widget ----

TmbTrackBarPicker::TmbTrackBarPicker(QWidget* parent, int hue, int sat, int level, Slot own,
                                     TTrackBarLayout layout, const QString& hint)
    : QWidget(parent), numbers_{hue, sat, level}, own_(own), hintFormat_(hint), layout_(layout) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    if (layout == TTrackBarLayout::lyVertical)
        resize(DefaultHeight, DefaultWidth);
    else
        resize(DefaultWidth, DefaultHeight);
}

QSize TmbTrackBarPicker::sizeHint() const {
    return layout_ == TTrackBarLayout::lyVertical ? QSize(DefaultHeight, DefaultWidth)
                                                  : QSize(DefaultWidth, DefaultHeight);
}

std::uint32_t TmbTrackBarPicker::Pixel(TColor color) const {
    return SwapRB(webSafe_ ? NearestWebSafe(color) : color);
}

TColor TmbTrackBarPicker::SelectedColor() const {
    const TColor c = ColorOf(numbers_[HueSlot], numbers_[SatSlot], numbers_[LevelSlot]);
    return webSafe_ ? NearestWebSafe(c) : c;
}

void TmbTrackBarPicker::SetSelectedColor(TColor color) {
    if (webSafe_)
        color = NearestWebSafe(color);
    int h = 0, s = 0, l = 0;
    Decompose(color, h, s, l);
    change_ = false;
    SetNumber(HueSlot, h);
    SetNumber(SatSlot, s);
    SetNumber(LevelSlot, l);
    manual_ = false;
    change_ = true;
    emit OnChange();
}

void TmbTrackBarPicker::SetNumber(Slot slot, int value) {
    value = Clamp(value, 0, SlotMax(slot));
    if (value == numbers_[slot])
        return;
    numbers_[slot] = value;
    if (slot != own_)
        GradientChanged();
    manual_ = false;
    update();
    if (change_)
        emit OnChange();
}

void TmbTrackBarPicker::GradientChanged() {
    gradientStale_ = true;
    stretched_ = QImage();
    update();
}

void TmbTrackBarPicker::SetWebSafe(bool webSafe) {
    if (webSafe == webSafe_)
        return;
    webSafe_ = webSafe;
    GradientChanged();
}

void TmbTrackBarPicker::SetLayout(TTrackBarLayout layout) {
    if (layout == layout_)
        return;
    layout_ = layout;
    GradientChanged();
}

void TmbTrackBarPicker::SetArrowPlacement(TSliderPlacement placement) {
    placement_ = placement;
    update();
}
void TmbTrackBarPicker::SetNewArrowStyle(bool on) {
    newArrowStyle_ = on;
    update();
}
void TmbTrackBarPicker::SetSelectionIndicator(TSelIndicator indicator) {
    indicator_ = indicator;
    update();
}
void TmbTrackBarPicker::SetBevelInner(TBevelCut cut) {
    bevelInner_ = cut;
    update();
}
void TmbTrackBarPicker::SetBevelOuter(TBevelCut cut) {
    bevelOuter_ = cut;
    update();
}
void TmbTrackBarPicker::SetBevelWidth(int width) {
    bevelWidth_ = std::max(0, width);
    update();
}
void TmbTrackBarPicker::SetBorderStyle(bool on) {
    borderStyle_ = on;
    update();
}

BarMetrics TmbTrackBarPicker::Metrics() const {
    return BarArrowMetrics(indicator_, newArrowStyle_);
}

BarRect TmbTrackBarPicker::PickRect() const {
    return BarPickRect(layout_, indicator_, placement_, Metrics(), width(), height());
}

int TmbTrackBarPicker::ArrowPos() const {
    return BarNumberToPos(Scale(), layout_, Length(), Metrics().limit, numbers_[own_]);
}

const QImage& TmbTrackBarPicker::Gradient() const {
    if (gradientStale_) {
        gradient_ = BarGradientImage(layout_, GradientEntries());
        gradientStale_ = false;
        stretched_ = QImage();
    }
    return gradient_;
}

void TmbTrackBarPicker::PickAt(int x, int y) {
    const int pos = BarMouseToPos(layout_, Metrics().aw, Length(), x, y);
    // Straight into the number: the change is reported by the next paint, once per paint.
    numbers_[own_] = BarPosToNumber(Scale(), layout_, Length(), pos);
    manual_ = true;
    doChange_ = true;
    update();
}

void TmbTrackBarPicker::StepBy(int target) {
    change_ = false;
    SetNumber(own_, target);
    change_ = true;
    manual_ = true;
    emit OnChange();
}

void TmbTrackBarPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    // Once for the whole drag: rebuilding it on every move would free the pointer meanwhile.
    GetPointerConfinement().Confine(QRect(mapToGlobal(QPoint(0, 0)), size()));
    const QPoint p = event->position().toPoint();
    PickAt(p.x(), p.y());
}

void TmbTrackBarPicker::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    PickAt(p.x(), p.y());
}

void TmbTrackBarPicker::mouseReleaseEvent(QMouseEvent* event) {
    GetPointerConfinement().Release();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    PickAt(p.x(), p.y());
}

void TmbTrackBarPicker::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const auto target =
        BarKeyTarget(Scale(), layout_, event->key(), ctrl, numbers_[own_], increment_);
    if (!target) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    StepBy(*target);
}

void TmbTrackBarPicker::wheelEvent(QWheelEvent* event) {
    event->accept();
    // Fine-grained wheels send parts of a notch; a step is taken per whole notch.
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ >= 120) {
        wheelRemainder_ -= 120;
        StepBy(numbers_[own_] + increment_);
    }
    while (wheelRemainder_ <= -120) {
        wheelRemainder_ += 120;
        StepBy(numbers_[own_] - increment_);
    }
}

void TmbTrackBarPicker::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void TmbTrackBarPicker::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void TmbTrackBarPicker::resizeEvent(QResizeEvent* event) {
    // The marker follows from the number at the next paint; a resize raises no change.
    stretched_ = QImage();
    QWidget::resizeEvent(event);
}

bool TmbTrackBarPicker::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        if (hintFormat_.isEmpty()) {
            event->ignore();
            return true;
        }
        const auto* help = static_cast<QHelpEvent*>(event);
        const QPoint local = layout_ == TTrackBarLayout::lyVertical
                                 ? QPoint(width() + 2, help->pos().y() - 8)
                                 : QPoint(help->pos().x() - 8, height() + 2);
        QToolTip::showText(mapToGlobal(local),
                           SwatchHintText(BarHintText(hintFormat_, numbers_[own_])), this, QRect(),
                           5000);
        return true;
    }
    return QWidget::event(event);
}

void TmbTrackBarPicker::DrawBevel(QPainter& painter, const BarRect& pick) const {
    if (!borderStyle_ || bevelWidth_ == 0)
        return;
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor face = palette().color(QPalette::Window);
    // One 1-pixel frame, raised (light top-left) or sunken; a space cut is a plain frame.
    auto frame = [&](int l, int t, int r, int b, TBevelCut cut) {
        if (cut == TBevelCut::bvNone || r - l < 1 || b - t < 1)
            return;
        const QColor tl = cut == TBevelCut::bvRaised    ? light
                          : cut == TBevelCut::bvLowered ? dark
                                                        : face;
        const QColor br = cut == TBevelCut::bvRaised    ? dark
                          : cut == TBevelCut::bvLowered ? light
                                                        : face;
        painter.setPen(tl);
        painter.drawLine(l, t, r - 1, t);
        painter.drawLine(l, t, l, b - 1);
        painter.setPen(br);
        painter.drawLine(l, b - 1, r - 1, b - 1);
        painter.drawLine(r - 1, t, r - 1, b - 1);
    };
    for (int edge = 0; edge <= bevelWidth_; ++edge) {
        const int grow = 1 - bevelWidth_ + edge;
        const int l = pick.left - grow, t = pick.top - grow, r = pick.right + grow,
                  b = pick.bottom + grow;
        frame(l, t, r, b, bevelOuter_);
        frame(l + 1, t + 1, r - 1, b - 1, bevelInner_);
    }
}

void TmbTrackBarPicker::DrawIndicator(QPainter& painter, int arrowPos) const {
    const BarMetrics m = Metrics();
    const int w = width(), h = height();
    if (indicator_ == TSelIndicator::siRect) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(Qt::white);
        painter.setBrush(Qt::NoBrush);
        const int a = arrowPos + m.aw;
        // Qt's outline covers one pixel more than the rectangle's size: these cover columns
        // 2..w - 3 and rows a - 2..a + 2 (or the transpose).
        const QRect r = layout_ == TTrackBarLayout::lyVertical ? QRect(2, a - 2, w - 5, 4)
                                                               : QRect(a - 2, 2, 4, h - 5);
        painter.drawRect(r);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    if (newArrowStyle_) {
        painter.setBrush(palette().color(QPalette::Base));
        painter.setPen(palette().color(QPalette::Dark));
    } else {
        const QColor c = hasFocus() ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80);
        painter.setBrush(c);
        painter.setPen(c);
    }
    const int a = BarArrowCentre(layout_, newArrowStyle_, m.aw, arrowPos, w, h);
    if (placement_ != TSliderPlacement::spBefore)
        painter.drawPolygon(BarArrowPolygon(layout_, newArrowStyle_, false, a, m.aw, w, h));
    if (placement_ != TSliderPlacement::spAfter)
        painter.drawPolygon(BarArrowPolygon(layout_, newArrowStyle_, true, a, m.aw, w, h));
}

void TmbTrackBarPicker::paintEvent(QPaintEvent*) {
    const BarRect pick = PickRect();
    const QRect target(pick.left, pick.top, pick.right - pick.left, pick.bottom - pick.top);
    const QImage& gradient = Gradient();
    if (!target.isEmpty() && !gradient.isNull() && stretched_.size() != target.size())
        stretched_ = gradient.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);

    QPainter painter(this);
    painter.fillRect(rect(), palette().color(backgroundRole()));
    const int arrowPos = ArrowPos();
    if (!target.isEmpty() && !stretched_.isNull())
        painter.drawImage(target.topLeft(), stretched_);
    DrawBevel(painter, pick);
    DrawIndicator(painter, arrowPos);
    DrawFocusFrame(painter, *this, rect());
    if (doChange_) {
        doChange_ = false;
        emit OnChange();
    }
}

// ---- The three bars ----

int THSVTrackBarPicker::SlotMax(Slot slot) const {
    return slot == HueSlot ? 360 : 255;
}

TColor THSVTrackBarPicker::ColorOf(int hue, int sat, int level) const {
    return PickerHSVToRGB(hue, sat, level);
}

void THSVTrackBarPicker::Decompose(TColor color, int& hue, int& sat, int& level) const {
    const RGBTriple c = SplitRGB(color);
    const HSVInt hsv = PickerRGBToHSV(c.r, c.g, c.b);
    hue = hsv.h;
    sat = hsv.s;
    level = hsv.v;
}

TVColorPicker::TVColorPicker(QWidget* parent)
    : THSVTrackBarPicker(parent, 0, 0, 255, LevelSlot, TTrackBarLayout::lyVertical,
                         QStringLiteral("Value: %value")) {}

std::vector<std::uint32_t> TVColorPicker::GradientEntries() const {
    std::vector<std::uint32_t> e(255);
    const bool vertical = Layout() == TTrackBarLayout::lyVertical;
    for (int i = 0; i < 255; ++i)
        e[i] = Pixel(PickerHSVToRGB(Hue(), Saturation(), vertical ? 255 - i : i));
    return e;
}

THColorPicker::THColorPicker(QWidget* parent)
    : THSVTrackBarPicker(parent, 0, 255, 255, HueSlot, TTrackBarLayout::lyHorizontal,
                         QStringLiteral("Hue: %value")) {}

std::vector<std::uint32_t> THColorPicker::GradientEntries() const {
    std::vector<std::uint32_t> e(360);
    for (int i = 0; i < 360; ++i)
        e[i] = Pixel(PickerHSVToRGB(i, Saturation(), Value()));
    return e;
}

TLColorPicker::TLColorPicker(QWidget* parent)
    : TmbTrackBarPicker(parent, 0, GetPickerHSLScale().maxSat, GetPickerHSLScale().maxLum / 2,
                        LevelSlot, TTrackBarLayout::lyVertical,
                        QStringLiteral("Luminance: %value")) {
    resize(DefaultHeight, 252);
}

int TLColorPicker::SlotMax(Slot slot) const {
    const PickerHSLScale scale = GetPickerHSLScale();
    return slot == HueSlot ? scale.maxHue : slot == SatSlot ? scale.maxSat : scale.maxLum;
}

TColor TLColorPicker::ColorOf(int hue, int sat, int level) const {
    return PickerHSLToRGB(hue, sat, level);
}

void TLColorPicker::Decompose(TColor color, int& hue, int& sat, int& level) const {
    const HSLInt hsl = PickerRGBToHSL(color);
    hue = hsl.h;
    sat = hsl.s;
    level = hsl.l;
}

std::vector<std::uint32_t> TLColorPicker::GradientEntries() const {
    const int m = GetPickerHSLScale().maxLum;
    std::vector<std::uint32_t> e(static_cast<std::size_t>(m));
    const bool vertical = Layout() == TTrackBarLayout::lyVertical;
    for (int i = 0; i < m; ++i)
        e[i] = Pixel(PickerHSLToRGB(Hue(), Saturation(), vertical ? m - i : i));
    return e;
}

} // namespace chromint
