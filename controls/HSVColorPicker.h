#pragma once

#include "FocusFrame.h"
#include "PickerConversions.h"
#include "mbColorPickerControl.h"

#include <QImage>

#include <algorithm>

#include <cstdint>
#include <optional>
#include <vector>

namespace chromint {

// ---- The wheel's arithmetic (r is the radius, the centre is (r, r)). ----

// Hue and saturation of the picture's pixel at offset (dx, dy) from the centre, dy growing
// downwards; nothing outside the disc. Hues run 1..360, 360 straight right of the centre.
std::optional<HueSat> WheelPictureHueSat(int dx, int dy, int r);
// A point outside the disc moved onto its rim along the line to the centre.
QPoint WheelPullOntoDisc(int x, int y, int r);
// Hue and saturation a point reads, without pulling it onto the disc.
HueSat WheelPointToHueSat(int x, int y, int r);
// Where the marker of a hue and saturation sits.
QPoint WheelMarkerPoint(int hue, int sat, int r);

// Hue and saturation of every pixel of an s x s wheel, row by row; -1 outside the disc.
// It depends on the size only, so a change of value repaints from it without any trigonometry.
std::vector<std::int32_t> WheelGeometry(int s);
// The wheel picture for a value; pixels outside the disc get the background.
QImage WheelPicture(const std::vector<std::int32_t>& geometry, int s, int value, bool webSafe,
                    TColor background);

// The hue wheel: hue around, saturation outwards, at the value of the paired bar.
class THSVColorPicker : public TmbColorPickerControl {
    Q_OBJECT
    Q_PROPERTY(int Hue READ Hue WRITE SetHue)
    Q_PROPERTY(int Saturation READ Saturation WRITE SetSaturation)
    Q_PROPERTY(int Value READ Value WRITE SetValue)
    Q_PROPERTY(chromint::TColor SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(bool Manual READ Manual)

public:
    static constexpr int DefaultSize = 204;

    explicit THSVColorPicker(QWidget* parent = nullptr);

    int Hue() const { return hue_; }
    void SetHue(int hue);
    int Saturation() const { return sat_; }
    void SetSaturation(int sat);
    int Value() const { return value_; }
    void SetValue(int value);

    // clNone until a colour is first written.
    TColor SelectedColor() const;
    // Raises OnChange once, also when nothing changed.
    void SetSelectedColor(TColor color);

    TColor SaturationCircleColor() const { return satCircColor_; }
    void SetSaturationCircleColor(TColor c);
    TColor HueLineColor() const { return hueLineColor_; }
    void SetHueLineColor(TColor c);
    bool ShowSaturationCircle() const { return showSatCirc_; }
    void SetShowSaturationCircle(bool on);
    bool ShowHueLine() const { return showHueLine_; }
    void SetShowHueLine(bool on);
    bool ShowSelectionCircle() const { return showSelCirc_; }
    void SetShowSelectionCircle(bool on);

    bool Manual() const { return manual_; }
    QPoint MarkerPoint() const { return marker_; }
    // The wheel keeps the marker's reach and the focus frame free on every side, so a marker
    // on the rim is drawn whole: its square starts Inset() pixels in from the top-left corner.
    int Inset() const { return PickerMarkerReach(MarkerStyle()) + FocusFrameWidth; }
    int Radius() const { return std::max(0, std::min(width(), height()) - 2 * Inset()) / 2; }
    QPoint Centre() const { return {Inset() + Radius(), Inset() + Radius()}; }

    TColor GetColorAtPoint(int x, int y) const override;
    // The wheel picture as the next paint shows it (rebuilt first when stale).
    const QImage& Picture() const;

    QSize sizeHint() const override { return {DefaultSize, DefaultSize}; }

signals:
    void OnChange();

protected:
    void WebSafeChanged() override { pictureStale_ = true; }
    void MarkerStyleChanged() override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PickAt(QPoint p);
    void NumbersChanged();
    // Where the marker of the current hue and saturation sits in the control.
    QPoint MarkerOfNumbers() const;

    int hue_ = 0;
    int sat_ = 0;
    int value_ = 255;
    TColor satCircColor_ = clSilver;
    TColor hueLineColor_ = 0x808080;
    TColor selected_ = clNone;
    bool manual_ = false;
    bool showSatCirc_ = true;
    bool showHueLine_ = true;
    bool showSelCirc_ = true;
    bool change_ = true;
    bool doChange_ = false;
    QPoint marker_;

    mutable std::vector<std::int32_t> geometry_;
    mutable int geometrySize_ = -1;
    mutable QImage picture_;
    mutable bool pictureStale_ = true;
};

} // namespace chromint
