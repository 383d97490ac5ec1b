#include "mbColorPreview.h"

#include "Rounding.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QToolTip>

namespace chromint {

TmbColorPreview::TmbColorPreview(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    // Every pixel comes from the picture, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(DefaultWidth, DefaultHeight);
}

void TmbColorPreview::SetColor(TColor color) {
    if (color == color_)
        return;
    color_ = color;
    PictureChanged();
    emit colorChanged(color_);
}

void TmbColorPreview::SetOpacity(int opacity) {
    // Mixing reads 100 and more as per mille and goes wrong below 0: keep to percent.
    opacity = Clamp(opacity, SwatchMinOpacity, SwatchMaxOpacity);
    if (opacity == opacity_)
        return;
    opacity_ = opacity;
    PictureChanged();
    emit opacityChanged(opacity_);
}

void TmbColorPreview::SetBlockSize(int blockSize) {
    if (blockSize <= 0 || blockSize == blockSize_)
        return;
    blockSize_ = blockSize;
    PictureChanged();
}

void TmbColorPreview::SetSwatchStyle(bool swatchStyle) {
    if (swatchStyle == swatchStyle_)
        return;
    swatchStyle_ = swatchStyle;
    PictureChanged();
}

SwatchLook TmbColorPreview::Look() const {
    // The active group, so a swatch looks the same in a background window.
    const QPalette& pal = palette();
    SwatchLook look;
    look.color = color_;
    look.opacity = opacity_;
    look.blockSize = blockSize_;
    look.swatchStyle = swatchStyle_;
    look.window = ToTColor(pal.color(QPalette::Active, QPalette::Base));
    look.frame = ToTColor(pal.color(QPalette::Active, QPalette::Dark));
    return look;
}

QSize TmbColorPreview::sizeHint() const {
    return {DefaultWidth, DefaultHeight};
}

void TmbColorPreview::PictureChanged() {
    pictureStale_ = true;
    update();
}

bool TmbColorPreview::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // Hints may break lines with "\r" or "\n\r"; Qt's labels would show a space or a gap.
        if (toolTip().isEmpty()) {
            event->ignore();
            return true;
        }
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), SwatchHintText(toolTip()), this, QRect(),
                           toolTipDuration());
        return true;
    }
    return QWidget::event(event);
}

void TmbColorPreview::changeEvent(QEvent* event) {
    // The frame and the light ring come from the palette.
    if (event->type() == QEvent::PaletteChange)
        PictureChanged();
    QWidget::changeEvent(event);
}

void TmbColorPreview::paintEvent(QPaintEvent* event) {
    // A resize needs no flag of its own: the picture no longer fits.
    if (pictureStale_ || picture_.size() != size()) {
        picture_ = RenderSwatch(Look(), size());
        pictureStale_ = false;
    }
    QPainter painter(this);
    painter.drawImage(event->rect(), picture_, event->rect());
}

void TmbColorPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    leftPressed_ = true;
    event->accept();
}

void TmbColorPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const bool click = leftPressed_ && rect().contains(event->position().toPoint());
    leftPressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

void TmbColorPreview::mouseDoubleClickEvent(QMouseEvent* event) {
    // Not passed on: QWidget would turn it into a press, and its release into a second click.
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    leftPressed_ = false;
    event->accept();
    emit doubleClicked();
}

} // namespace chromint
