#pragma once

#include "mbColorPickerControl.h"

#include <QImage>

namespace chromint {

// ---- The saturation-value square's arithmetic: saturation across, level upwards. ----

// The 256 x 256 picture of a hue: column j is saturation j, row i is level 255 - i.
QImage SquarePicture(int hue, bool webSafe);
// Where the marker of a saturation and level sits in a w x h square.
QPoint SquareMarkerPoint(int sat, int level, int w, int h);
// Saturation and level a point reads (not yet clamped).
struct SatLevel {
    int sat = 0;
    int level = 0;
    friend constexpr bool operator==(const SatLevel&, const SatLevel&) = default;
};
SatLevel SquarePointToSatLevel(int x, int y, int w, int h);
// The colour shown under a point.
TColor SquareColorAtPoint(int hue, int x, int y, int w, int h);

// The saturation-value square of one hue; `Luminance` is the value level of HSV. Creating one
// puts the process-wide picker scale to 360, 255, 255.
class TSLColorPicker : public TmbRectFieldPicker {
    Q_OBJECT
    Q_PROPERTY(int Hue READ Hue WRITE SetHue)
    Q_PROPERTY(int Saturation READ Saturation WRITE SetSaturation)
    Q_PROPERTY(int Luminance READ Luminance WRITE SetLuminance)
    Q_PROPERTY(chromint::TColor SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(bool Manual READ Manual)

public:
    static constexpr int DefaultSize = 255;

    explicit TSLColorPicker(QWidget* parent = nullptr);

    int Hue() const { return hue_; }
    void SetHue(int hue);
    int Saturation() const { return sat_; }
    void SetSaturation(int sat);
    int Luminance() const { return level_; }
    void SetLuminance(int level);

    TColor SelectedColor() const;
    // Raises no OnChange: the square is written by the window that listens to it.
    void SetSelectedColor(TColor color);

    bool Manual() const { return manual_; }
    QPoint MarkerPoint() const { return marker_; }

    TColor GetColorAtPoint(int x, int y) const override;
    const QImage& Picture() const;

    QSize sizeHint() const override { return {DefaultSize, DefaultSize}; }

signals:
    void OnChange();

protected:
    void WebSafeChanged() override { pictureStale_ = true; }
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void PickAt(QPoint p) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void NumbersChanged();
    void ReadPoint(QPoint p);

    int hue_ = 0;
    int sat_ = 0;
    int level_ = 255;
    bool manual_ = false;
    bool change_ = true;
    QPoint marker_;

    mutable QImage picture_;
    mutable bool pictureStale_ = true;
    // The picture stretched to the control: paint only copies it.
    mutable QImage stretched_;
};

} // namespace chromint
