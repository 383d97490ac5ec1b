#pragma once

#include "ColorPreviewLayout.h"
#include "ColorTypes.h"

#include <QImage>
#include <QSize>
#include <QWidget>

namespace chromint {

// The colour swatch: one colour in a one-pixel frame, optionally in a ringed frame, and over a
// checkerboard when the colour is missing or not fully opaque. It takes no keyboard focus.
class TmbColorPreview : public QWidget {
    Q_OBJECT
    Q_PROPERTY(chromint::TColor Color READ Color WRITE SetColor NOTIFY colorChanged)
    Q_PROPERTY(int Opacity READ Opacity WRITE SetOpacity NOTIFY opacityChanged)
    Q_PROPERTY(int BlockSize READ BlockSize WRITE SetBlockSize)
    Q_PROPERTY(bool SwatchStyle READ SwatchStyle WRITE SetSwatchStyle)

public:
    static constexpr TColor DefaultColor = clWhite;
    static constexpr int DefaultOpacity = SwatchMaxOpacity;
    static constexpr int DefaultBlockSize = 6;
    static constexpr int DefaultWidth = 68;
    static constexpr int DefaultHeight = 32;

    explicit TmbColorPreview(QWidget* parent = nullptr);

    TColor Color() const { return color_; }
    // Any colour value, clNone and system colours included.
    void SetColor(TColor color);

    int Opacity() const { return opacity_; }
    // Percent, clamped to 0..100; 100 is opaque.
    void SetOpacity(int opacity);

    int BlockSize() const { return blockSize_; }
    // Checker cell size in pixels; a value below 1 is ignored.
    void SetBlockSize(int blockSize);

    bool SwatchStyle() const { return swatchStyle_; }
    void SetSwatchStyle(bool swatchStyle);

    // What the picture is painted from, the palette's ring and frame colours included.
    SwatchLook Look() const;

    QSize sizeHint() const override;

signals:
    void colorChanged(chromint::TColor color);
    void opacityChanged(int opacity);
    // A left-button click; the second click of a double-click gives doubleClicked instead.
    void clicked();
    void doubleClicked();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void PictureChanged();

    TColor color_ = DefaultColor;
    int opacity_ = DefaultOpacity;
    int blockSize_ = DefaultBlockSize;
    bool swatchStyle_ = false;

    QImage picture_;
    bool pictureStale_ = true;
    bool leftPressed_ = false;
};

} // namespace chromint
