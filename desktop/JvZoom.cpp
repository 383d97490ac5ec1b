#include "JvZoom.h"

#include "ScreenAccess.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace chromint {

ZoomGeometry ComputeZoomGeometry(QPoint p, QSize view, int zoomLevel, QSize screen) {
    ZoomGeometry g;
    const int z = zoomLevel < 1 ? 1 : zoomLevel;
    const int hw = (view.width() / 2) * z / 100;
    const int hh = (view.height() / 2) * z / 100;
    int cx = p.x();
    int cy = p.y();
    if (p.x() < hw) {
        g.dx = (p.x() - hw - 1) * 100 / z;
        cx = hw;
    } else if (screen.width() < p.x() + hw) {
        g.dx = (hw + p.x() - screen.width() + 1) * 100 / z;
        cx = screen.width() - hw;
    }
    if (p.y() < hh) {
        g.dy = (p.y() - hh - 1) * 100 / z;
        cy = hh;
    } else if (screen.height() < p.y() + hh) {
        g.dy = (hh + p.y() - screen.height() + 1) * 100 / z;
        cy = screen.height() - hh;
    }
    g.source = QRect(cx - hw, cy - hh, 2 * hw, 2 * hh);
    g.crossHair = QPoint(view.width() / 2 + g.dx, view.height() / 2 + g.dy);
    return g;
}

int ZoomLevelForPercentage(int percentage) {
    if (percentage == 0)
        return 0;
    const int level = 10000 / percentage;
    return level < 1 ? 0 : level;
}

TJvZoom::TJvZoom(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Zoom"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
    timer_.setInterval(delay_);
    connect(&timer_, &QTimer::timeout, this, &TJvZoom::Tick);
    timer_.start();
}

void TJvZoom::SetSource(ScreenAccess* source) {
    source_ = source;
    ForceUpdate();
}

void TJvZoom::SetPolling(bool polling) {
    polling_ = polling;
    if (polling && active_)
        timer_.start();
    else
        timer_.stop();
}

ScreenAccess& TJvZoom::Source() const {
    return source_ != nullptr ? *source_ : Screen();
}

QSize TJvZoom::ClampSize() const {
    return source_ != nullptr ? source_->DesktopRect().size() : PrimaryScreenSize();
}

void TJvZoom::SetActive(bool active) {
    if (active == active_)
        return;
    // The snapshot is of the live view, so it is taken while the view still paints it.
    if (!active && cacheOnDeactivate_)
        cache_ = grab().toImage();
    active_ = active;
    if (active && polling_)
        timer_.start();
    else
        timer_.stop();
    update();
}

void TJvZoom::SetZoomLevel(int zoomLevel) {
    if (zoomLevel == zoomLevel_ || zoomLevel < 1)
        return;
    zoomLevel_ = zoomLevel;
    if (isEnabled())
        lastPoint_ = NoPicturePoint;
    update();
}

int TJvZoom::ZoomPercentage() const {
    return zoomLevel_ == 0 ? 0 : 10000 / zoomLevel_;
}

void TJvZoom::SetZoomPercentage(int percentage) {
    if (percentage == 0)
        return;
    SetZoomLevel(10000 / percentage);
}

void TJvZoom::SetDelay(int milliseconds) {
    delay_ = milliseconds;
    timer_.setInterval(milliseconds);
}

void TJvZoom::SetCrosshair(bool crossHair) {
    if (crossHair == crossHair_)
        return;
    crossHair_ = crossHair;
    ForceUpdate();
}

void TJvZoom::SetCrosshairColor(const QColor& color) {
    crossHairColor_ = color;
    update();
}

void TJvZoom::SetCrosshairSize(int size) {
    crossHairSize_ = size;
    update();
}

void TJvZoom::SetCrossHairPicture(const QImage& picture) {
    crossHairPicture_ = picture;
    if (active_) {
        if (isEnabled())
            lastPoint_ = NoPicturePoint;
        RenderPicture();
    }
    repaint();
}

void TJvZoom::SetCacheOnDeactivate(bool cache) {
    if (cache == cacheOnDeactivate_)
        return;
    cacheOnDeactivate_ = cache;
    if (!cache) {
        cache_ = QImage();
        if (!active_)
            update();
    }
}

void TJvZoom::SetBackgroundColor(const QColor& color) {
    background_ = color;
    update();
}

void TJvZoom::ForceUpdate() {
    if (isEnabled())
        lastPoint_ = NoPicturePoint;
    update();
}

void TJvZoom::ZoomInAt(int x, int y) {
    if (isEnabled()) {
        Source().SetPointerPos(QPoint(x, y));
    } else if (QPoint(x, y) != lastPoint_) {
        lastPoint_ = QPoint(x, y);
        emit ContentsChanged();
    }
    update();
}

QSize TJvZoom::PrimaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {};
    return screen->geometry().size() * screen->devicePixelRatio();
}

void TJvZoom::Tick() {
    if (!active_)
        return;
    if (RenderPicture()) {
        repaint();
        if (isEnabled())
            emit ContentsChanged();
    }
}

bool TJvZoom::RenderPicture() {
    QPoint p = lastPoint_;
    if (isEnabled()) {
        const auto pointer = Source().PointerPos();
        if (!pointer || *pointer == lastPoint_)
            return false; // a still pointer costs this one query
        p = *pointer;
    } else if (p == NoPicturePoint) {
        return false;
    }
    lastPoint_ = p;

    const ZoomGeometry g = ComputeZoomGeometry(p, size(), zoomLevel_, ClampSize());
    if (picture_.size() != size())
        picture_ = QImage(size(), QImage::Format_RGB32);
    const QImage captured = g.source.isEmpty() ? QImage() : Source().Grab(g.source);
    if (captured.isNull()) {
        picture_.fill(background_);
    } else {
        // Plain enlargement: each screen pixel becomes a block of equal view pixels.
        picture_ = captured.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    if (crossHair_) {
        QPainter painter(&picture_);
        if (crossHairPicture_.isNull()) {
            // Strokes stop one pixel short of their end point, as a pen's line-to does.
            const int half = crossHairSize_ / 2;
            const QPoint c = g.crossHair;
            painter.fillRect(c.x(), c.y() - half, 1, 2 * half, crossHairColor_);
            painter.fillRect(c.x() - half, c.y(), 2 * half, 1, crossHairColor_);
        } else {
            painter.drawImage((width() - crossHairPicture_.width()) / 2 + g.dx,
                              (height() - crossHairPicture_.height()) / 2 + g.dy,
                              crossHairPicture_);
        }
    }
    return true;
}

void TJvZoom::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!active_) {
        if (!cache_.isNull())
            painter.drawImage(0, 0, cache_);
        else
            painter.fillRect(rect(), background_);
        return;
    }
    if (picture_.isNull())
        painter.fillRect(rect(), background_);
    else
        painter.drawImage(0, 0, picture_);
}

void TJvZoom::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isEnabled()) {
        lastPoint_ = NoPicturePoint;
        Tick();
    }
}

} // namespace chromint
