#include "TransparentForms.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace chromint {

QRegion RegionFromMask(const QImage& mask, TTransparentFormMode mode) {
    if (mask.isNull() || mask.width() == 0 || mask.height() == 0)
        return {};
    const QImage image = mask.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, 0) & 0x00ffffff;
    const bool byAlpha = mode == TTransparentFormMode::tfmWindowRegionAlphaChannel ||
                         mode == TTransparentFormMode::tfmLayeredWindow;
    QRegion region;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            const auto hidden = [&](int i) {
                return byAlpha ? qAlpha(line[i]) == 0 : (line[i] & 0x00ffffff) == key;
            };
            while (x < image.width() && hidden(x))
                ++x;
            const int start = x;
            while (x < image.width() && !hidden(x))
                ++x;
            if (x > start)
                region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

TTransparentForm::TTransparentForm(QWidget* form) : QObject(form), form_(form) {
    if (form_ != nullptr) {
        originalFlags_ = form_->windowFlags();
        form_->installEventFilter(this);
    }
}

TTransparentForm::~TTransparentForm() {
    // The shape stays: the form usually goes with this object. SetActive(false) first gives
    // a form that lives on its frame back.
    if (form_ != nullptr)
        form_->removeEventFilter(this);
}

void TTransparentForm::SetActive(bool active) {
    if (active == active_)
        return;
    active_ = active;
    if (active)
        ApplyShape();
    else
        RemoveShape();
}

void TTransparentForm::SetMask(const QImage& mask) {
    mask_ = mask.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ApplyShape();
}

void TTransparentForm::SetMaskFromImage(QLabel* image) {
    maskFromImage_ = image;
    CopyMask();
    ApplyShape();
}

void TTransparentForm::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    ApplyShape();
}

void TTransparentForm::SetMode(TTransparentFormMode mode) {
    if (mode == mode_)
        return;
    if (active_)
        RemoveShape();
    mode_ = mode;
    ApplyShape();
}

void TTransparentForm::SetLayeredAlphaValue(int alpha) {
    alpha = std::clamp(alpha, 0, 255);
    if (alpha == alphaValue_)
        return;
    alphaValue_ = alpha;
    if (mode_ == TTransparentFormMode::tfmLayeredWindow)
        ApplyShape();
}

void TTransparentForm::Update() {
    CopyMask();
    ApplyShape();
}

void TTransparentForm::CopyMask() {
    if (maskFromImage_ == nullptr)
        return;
    const QPixmap picture = maskFromImage_->pixmap();
    if (!picture.isNull())
        mask_ = picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void TTransparentForm::ApplyShape() {
    if (!active_ || form_ == nullptr)
        return;
    QWidget& form = *form_;
    if (!applied_)
        originalFlags_ = form.windowFlags();
    applied_ = true;
    // No caption, system menu or frame: the picture is the whole window.
    if (!form.windowFlags().testFlag(Qt::FramelessWindowHint)) {
        const bool visible = form.isVisible();
        form.setWindowFlag(Qt::FramelessWindowHint, true);
        if (visible)
            form.show();
    }
    if (autoSize_ && !mask_.isNull())
        form.resize(mask_.size());
    switch (mode_) {
    case TTransparentFormMode::tfmWindowRegion:
    case TTransparentFormMode::tfmWindowRegionAlphaChannel:
        if (!mask_.isNull())
            form.setMask(RegionFromMask(mask_, mode_));
        break;
    case TTransparentFormMode::tfmLayeredWindow:
        if (mask_.isNull())
            break;
        // The picture with its own alpha is the window's surface. Without a compositing
        // manager X11 cannot blend it with the desktop, so the fully transparent pixels are
        // also cut away: the shape stays right either way.
        form.setAttribute(Qt::WA_TranslucentBackground, true);
        form.setAttribute(Qt::WA_NoSystemBackground, true);
        form.setMask(RegionFromMask(mask_, mode_));
        form.setWindowOpacity(alphaValue_ / 255.0);
        for (QLabel* label : form.findChildren<QLabel*>())
            label->setAttribute(Qt::WA_TranslucentBackground, true);
        form.update();
        break;
    }
}

void TTransparentForm::RemoveShape() {
    if (form_ == nullptr || !applied_)
        return;
    QWidget& form = *form_;
    applied_ = false;
    form.clearMask();
    form.setAttribute(Qt::WA_TranslucentBackground, false);
    form.setAttribute(Qt::WA_NoSystemBackground, false);
    form.setWindowOpacity(1.0);
    if (form.windowFlags() != originalFlags_) {
        const bool visible = form.isVisible();
        form.setWindowFlags(originalFlags_);
        if (visible)
            form.show();
    }
    form.update();
}

bool TTransparentForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != form_ || !active_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (movableForm_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            if (QWindow* window = form_->windowHandle())
                window->startSystemMove();
            return true;
        }
        break;
    case QEvent::Paint:
        if (mode_ == TTransparentFormMode::tfmLayeredWindow && !mask_.isNull()) {
            QPainter painter(form_);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, 0, mask_);
            return true;
        }
        break;
    case QEvent::Show:
        if (mode_ == TTransparentFormMode::tfmLayeredWindow)
            ApplyShape();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace chromint
