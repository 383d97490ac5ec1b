#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace chromint {

// A picture on a checkerboard stage, shown whole when fit is on and it is larger than the
// view, else at its own size with scroll bars. A second bitmap (the layer) can lie over the
// picture at the picture's scale. Pictures are 32-bit ARGB, not premultiplied, so a fully
// transparent pixel keeps its colour for reading. The layer is held as one pixel per square
// block of the picture and drawn with its blocks enlarged.
class TPictureView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TPictureView(QWidget* parent = nullptr);

    const QImage& Picture() const { return picture_; }
    void SetPicture(QImage picture);
    bool IsEmpty() const { return picture_.isNull() || picture_.size().isEmpty(); }

    bool Fit() const { return fit_; }
    void SetFit(bool fit);

    // The layer covering the picture, one pixel per step × step block; empty until set.
    const QImage& Layer() const { return layer_; }
    int LayerStep() const { return layerStep_; }
    void SetLayer(QImage blocks, int step);
    bool LayerVisible() const { return layerVisible_; }
    void SetLayerVisible(bool visible);

    // The size the picture is shown at and where it lies in the viewport.
    QSize DisplayedSize() const;
    QRect PictureRect() const;
    // The picture pixel under a viewport point; outside the picture when the point is.
    QPoint ViewportToPicture(QPointF viewportPos) const;
    bool ContainsPixel(QPoint pixel) const;
    // The pixel from the layer when it is shown and not empty, else from the picture.
    QRgb PixelAt(QPoint pixel) const;

signals:
    // The picture, its scale or the view's size changed.
    void Changed();
    void PointerMoved(QPoint viewportPos);
    void PointerLeft();
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    bool LayerShown() const;
    void Relayout();
    // The picture at the size it is shown, made once per size.
    const QImage& ShownPicture() const;

    QImage picture_;
    QImage layer_;
    int layerStep_ = 1;
    bool layerVisible_ = false;
    bool fit_ = true;
    mutable QImage scaledPicture_;
    mutable QImage reducedPicture_;
};

} // namespace chromint
