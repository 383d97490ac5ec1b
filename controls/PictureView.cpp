#include "PictureView.h"

#include "PaintStage.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QScrollBar>

#include <cmath>

namespace chromint {

TPictureView::TPictureView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    viewport()->setMouseTracking(true);
    // The checkerboard covers every pixel, so nothing needs clearing first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setBackgroundRole(QPalette::Dark);
}

void TPictureView::SetPicture(QImage picture) {
    if (!picture.isNull() && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_ARGB32);
    picture_ = std::move(picture);
    scaledPicture_ = QImage();
    reducedPicture_ = QImage();
    Relayout();
}

void TPictureView::SetFit(bool fit) {
    if (fit_ == fit)
        return;
    fit_ = fit;
    Relayout();
}

void TPictureView::SetLayer(QImage blocks, int step) {
    layer_ = std::move(blocks);
    layerStep_ = std::max(1, step);
    if (layerVisible_)
        viewport()->update();
}

void TPictureView::SetLayerVisible(bool visible) {
    if (layerVisible_ == visible)
        return;
    layerVisible_ = visible;
    viewport()->update();
}

QSize TPictureView::DisplayedSize() const {
    if (IsEmpty())
        return {};
    // Fitting is to the whole area inside the frame, as no scroll bars show then.
    return DisplayedPictureSize(picture_.size(), contentsRect().size(), fit_);
}

QRect TPictureView::PictureRect() const {
    const QSize shown = DisplayedSize();
    const QSize view = viewport()->size();
    // A picture smaller than the view sits in its middle.
    const int left = shown.width() < view.width() ? (view.width() - shown.width()) / 2
                                                  : -horizontalScrollBar()->value();
    const int top = shown.height() < view.height() ? (view.height() - shown.height()) / 2
                                                   : -verticalScrollBar()->value();
    return {QPoint(left, top), shown};
}

QPoint TPictureView::ViewportToPicture(QPointF viewportPos) const {
    const QRect shown = PictureRect();
    if (shown.isEmpty())
        return {-1, -1};
    const double sx = double(picture_.width()) / shown.width();
    const double sy = double(picture_.height()) / shown.height();
    return {int(std::floor((viewportPos.x() - shown.left()) * sx)),
            int(std::floor((viewportPos.y() - shown.top()) * sy))};
}

bool TPictureView::ContainsPixel(QPoint pixel) const {
    return !IsEmpty() && pixel.x() >= 0 && pixel.y() >= 0 && pixel.x() < picture_.width() &&
           pixel.y() < picture_.height();
}

bool TPictureView::LayerShown() const {
    return layerVisible_ && !layer_.isNull() && layer_.width() * layerStep_ >= picture_.width() &&
           layer_.height() * layerStep_ >= picture_.height();
}

QRgb TPictureView::PixelAt(QPoint pixel) const {
    if (LayerShown())
        return reinterpret_cast<const QRgb*>(
            layer_.constScanLine(pixel.y() / layerStep_))[pixel.x() / layerStep_];
    return reinterpret_cast<const QRgb*>(picture_.constScanLine(pixel.y()))[pixel.x()];
}

void TPictureView::Relayout() {
    const QSize shown = DisplayedSize();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, shown.width() - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, shown.height() - view.height()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    viewport()->update();
    emit Changed();
}

const QImage& TPictureView::ShownPicture() const {
    const QSize shown = DisplayedSize();
    if (shown == picture_.size())
        return picture_;
    if (scaledPicture_.size() == shown)
        return scaledPicture_;
    // A photograph many times the screen's size is reduced once to about the screen's size;
    // every later size is made from that copy, which keeps resizing the window smooth.
    const QImage* source = &picture_;
    if (const QScreen* screen = this->screen()) {
        const QSize limit = screen->size() * screen->devicePixelRatio();
        if (picture_.width() > 2 * limit.width() || picture_.height() > 2 * limit.height()) {
            if (reducedPicture_.isNull())
                reducedPicture_ =
                    picture_.scaled(picture_.size().scaled(limit, Qt::KeepAspectRatio),
                                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            if (shown.width() <= reducedPicture_.width() &&
                shown.height() <= reducedPicture_.height())
                source = &reducedPicture_;
        }
    }
    scaledPicture_ = source->scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return scaledPicture_;
}

void TPictureView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    PaintChecker(painter, viewport()->rect(), CheckerSquare, CheckerLight, CheckerDark);
    if (IsEmpty())
        return;
    const QRect target = PictureRect();
    painter.drawImage(target.topLeft(), ShownPicture());
    if (LayerShown()) {
        // Each block pixel is spread over its block at the picture's scale, with hard edges;
        // the last row and column of blocks are cut at the picture's edge.
        const double sx = double(target.width()) / picture_.width();
        const double sy = double(target.height()) / picture_.height();
        const QRectF blocks(target.topLeft(), QSizeF(layer_.width() * layerStep_ * sx,
                                                     layer_.height() * layerStep_ * sy));
        painter.setClipRect(target);
        painter.drawImage(blocks, layer_);
    }
}

void TPictureView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Relayout();
}

void TPictureView::scrollContentsBy(int, int) {
    viewport()->update();
    emit Changed();
}

bool TPictureView::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        emit PointerMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::Leave:
        emit PointerLeft();
        break;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            emit PointerMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
            emit DoubleClicked();
            return true;
        }
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

} // namespace chromint
