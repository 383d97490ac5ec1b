#pragma once

#include "ColorTypes.h"

#include <QImage>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QRegion>

class QWidget;

namespace chromint {

enum class TTransparentFormMode { tfmWindowRegion, tfmWindowRegionAlphaChannel, tfmLayeredWindow };

// The visible part of a shape picture, one rectangle per run of visible pixels in each row.
// Key modes hide the pixels whose red, green and blue equal the top-left pixel's; the alpha
// mode hides the pixels whose alpha is 0. An empty picture gives an empty region.
QRegion RegionFromMask(const QImage& mask, TTransparentFormMode mode);

// Gives a form the shape of a picture: a window region cut from the picture, or the picture
// itself with its per-pixel alpha as the window's surface (the layered mode). The form's
// child controls stay on the form; in layered mode they are drawn over the picture.
class TTransparentForm : public QObject {
    Q_OBJECT
public:
    explicit TTransparentForm(QWidget* form);
    ~TTransparentForm() override;

    bool Active() const { return active_; }
    void SetActive(bool active);
    const QImage& Mask() const { return mask_; }
    void SetMask(const QImage& mask);
    // The label whose picture becomes the mask (copied now and on Update).
    void SetMaskFromImage(QLabel* image);
    QLabel* MaskFromImage() const { return maskFromImage_; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TTransparentFormMode Mode() const { return mode_; }
    void SetMode(TTransparentFormMode mode);
    // The window is dragged from any point.
    bool MovableForm() const { return movableForm_; }
    void SetMovableForm(bool movable) { movableForm_ = movable; }
    TColor LayeredTransparentControlColor() const { return controlColor_; }
    void SetLayeredTransparentControlColor(TColor color) { controlColor_ = color; }
    int LayeredAlphaValue() const { return alphaValue_; }
    // Clamped to 0..255; the whole window's opacity in layered mode.
    void SetLayeredAlphaValue(int alpha);

    // Copies the mask from MaskFromImage and applies the shape.
    void Update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CopyMask();
    void ApplyShape();
    void RemoveShape();

    QPointer<QWidget> form_;
    QImage mask_;
    QPointer<QLabel> maskFromImage_;
    bool autoSize_ = false;
    bool active_ = false;
    bool applied_ = false;
    TTransparentFormMode mode_ = TTransparentFormMode::tfmWindowRegion;
    bool movableForm_ = false;
    TColor controlColor_ = 0xFEFEFE;
    int alphaValue_ = 255;
    Qt::WindowFlags originalFlags_;
};

} // namespace chromint
