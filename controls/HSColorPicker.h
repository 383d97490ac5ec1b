#pragma once

#include "mbColorPickerControl.h"

#include <QImage>

namespace chromint {

// ---- The hue-saturation field's arithmetic. ----

constexpr int HSFieldColumns = 361; // hue 0..360
constexpr int HSFieldRows = 241;    // saturation 240 (top) .. 0

// The 361 x 241 picture at lightness 128 on the picker scale in force.
QImage HSFieldPicture(bool webSafe);
// The same picture, built once per picker scale and web-safe switch and then shared.
QImage SharedHSFieldPicture(bool webSafe);
// The picture cell the control shows at pixel (x, y) of a w x h control, kept inside the
// picture. Painting and picking both go through it, so a pick reads what is shown.
QPoint HSFieldCell(int x, int y, int w, int h);
// The picture drawn to a w x h control, cell by cell.
QImage HSFieldStretch(const QImage& picture, int w, int h);
// Where the marker of a hue and saturation is asked for (before it is kept inside).
QPoint HSFieldMarkerRequest(int hue, int sat, int w, int h);

// The hue-saturation field: hue across, saturation upwards. It builds its picture when it is
// first shown, with the picker scale then in force. Creating one puts the picker scale to
// 360, 240, 255.
class THSColorPicker : public TmbRectFieldPicker {
    Q_OBJECT
    Q_PROPERTY(chromint::TColor SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(int HueValue READ HueValue WRITE SetHueValue)
    Q_PROPERTY(int SaturationValue READ SaturationValue WRITE SetSaturationValue)
    Q_PROPERTY(bool Manual READ Manual)

public:
    static constexpr int DefaultWidth = 239;
    static constexpr int DefaultHeight = 240;

    explicit THSColorPicker(QWidget* parent = nullptr);

    TColor SelectedColor() const { return selected_; }
    // The change is reported by the next paint.
    void SetSelectedColor(TColor color);
    int HueValue() const { return hue_; }
    void SetHueValue(int hue);
    int SaturationValue() const { return sat_; }
    void SetSaturationValue(int sat);
    int LuminanceValue() const { return lum_; }

    bool Manual() const { return manual_; }
    // The marker as last drawn, and as asked for by the last action.
    QPoint MarkerPoint() const { return drawn_; }
    QPoint MarkerRequest() const { return request_; }

    TColor GetColorAtPoint(int x, int y) const override;
    const QImage& Picture() const;

    QSize sizeHint() const override { return {DefaultWidth, DefaultHeight}; }

signals:
    void OnChange();

protected:
    void WebSafeChanged() override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void PickAt(QPoint p) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TColor selected_ = MakeRGB(255, 0, 0);
    int hue_ = 0;
    int sat_ = 240;
    int lum_ = 128;
    bool manual_ = false;
    // A change waiting for the next paint to report it.
    bool doChange_ = false;
    QPoint request_;
    QPoint drawn_;

    mutable QImage picture_;
    mutable QImage stretched_;
};

} // namespace chromint
