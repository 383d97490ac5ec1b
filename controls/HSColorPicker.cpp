#include "HSColorPicker.h"

#include "FocusFrame.h"
#include "PickerConversions.h"
#include "Rounding.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include <array>
#include <cmath>
#include <vector>

namespace chromint {

namespace {
// One channel of a column: which piece of the hue ramp it is on, and the two factors the
// pieces use.
struct RampStep {
    int piece;
    double t6;
    double rest; // 2/3 - t
};
} // namespace

// The colours are PickerHSLToRGB(i, j, 128). Per column the hue offsets of the three channels
// and their pieces of the ramp do not depend on the row, and per row the two HSL levels do not
// depend on the column, so both are worked out once. The double arithmetic is the conversion's
// own, in its order, so a channel comes out bit for bit the same; a channel within a hair of a
// rounding tie is left to the conversion itself, which settles ties in extended precision.
QImage HSFieldPicture(bool webSafe) {
    const PickerHSLScale sc = GetPickerHSLScale();
    std::vector<std::array<RampStep, 3>> columns(HSFieldColumns);
    for (int i = 0; i < HSFieldColumns; ++i) {
        const double h = double(i) / sc.maxHue;
        for (int k = 0; k < 3; ++k) {
            const int thirds = 1 - k; // red, green, blue
            double t = h + thirds * (1.0 / 3);
            t = t + static_cast<double>(int(t < 0) - int(t > 1));
            const double t6 = 6 * t;
            columns[i][k] = {int(t6 >= 1) + int(2 * t >= 1) + int(3 * t >= 2), t6, 2.0 / 3 - t};
        }
    }
    const int lum = Clamp(128, 0, sc.maxLum);
    const double l = double(lum) / sc.maxLum;
    const std::array<std::uint8_t, 256>& web = WebSafeTable();
    auto pixel = [&](std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        if (webSafe) {
            r = web[r];
            g = web[g];
            b = web[b];
        }
        return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
    };

    QImage img(HSFieldColumns, HSFieldRows, QImage::Format_RGB32);
    for (int j = 0; j < HSFieldRows; ++j) {
        auto* line = reinterpret_cast<std::uint32_t*>(img.scanLine(HSFieldRows - 1 - j));
        const int sat = Clamp(j, 0, sc.maxSat);
        if (sat == 0) {
            const std::uint8_t grey = ClampByte(RoundHalfEven(l * sc.maxLum));
            std::fill(line, line + HSFieldColumns, pixel(grey, grey, grey));
            continue;
        }
        const double s = double(sat) / sc.maxSat;
        const double candidates[2] = {l * (1 + s), l + s - l * s};
        const double q = candidates[int(!(l <= 0.5))];
        const double p = 2 * l - q;
        // Two of the four pieces are flat (q and p): their channels are the same along the row.
        struct Level {
            std::uint8_t byte;
            bool certain;
        };
        auto level = [](double v) {
            const double x = 255.0 * v;
            const std::int64_t rounded = RoundHalfEven(x);
            return Level{ClampByte(rounded),
                         std::fabs(std::fabs(x - static_cast<double>(rounded)) - 0.5) >= 1e-9};
        };
        const Level flatQ = level(q), flatP = level(p);
        for (int i = 0; i < HSFieldColumns; ++i) {
            std::uint8_t rgb[3];
            bool certain = true;
            for (int k = 0; k < 3; ++k) {
                const RampStep& step = columns[i][k];
                Level c;
                switch (step.piece) {
                case 0:
                    c = level(p + (q - p) * step.t6);
                    break;
                case 1:
                    c = flatQ;
                    break;
                case 2:
                    c = level(p + (q - p) * step.rest * 6);
                    break;
                default:
                    c = flatP;
                    break;
                }
                rgb[k] = c.byte;
                certain = certain && c.certain;
            }
            if (certain) {
                line[i] = pixel(rgb[0], rgb[1], rgb[2]);
            } else {
                const RGBTriple c = SplitRGB(PickerHSLToRGB(i, j, 128));
                line[i] = pixel(c.r, c.g, c.b);
            }
        }
    }
    return img;
}

QImage SharedHSFieldPicture(bool webSafe) {
    // The picture depends on the scale and the web-safe switch only, so fields share it, and
    // turning web-only mode off and on again costs nothing after the first time.
    struct Entry {
        PickerHSLScale scale;
        QImage picture;
    };
    static Entry cache[2];
    Entry& entry = cache[webSafe ? 1 : 0];
    const PickerHSLScale scale = GetPickerHSLScale();
    if (entry.picture.isNull() || !(entry.scale == scale)) {
        entry.picture = HSFieldPicture(webSafe);
        entry.scale = scale;
    }
    return entry.picture;
}

QPoint HSFieldCell(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0)
        return {0, 0};
    return {Clamp(x * HSFieldColumns / w, 0, HSFieldColumns - 1),
            Clamp(y * HSFieldRows / h, 0, HSFieldRows - 1)};
}

QImage HSFieldStretch(const QImage& picture, int w, int h) {
    QImage img(std::max(w, 0), std::max(h, 0), QImage::Format_RGB32);
    if (w <= 0 || h <= 0)
        return img;
    std::vector<int> columns(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x)
        columns[x] = HSFieldCell(x, 0, w, h).x();
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(
            picture.constScanLine(HSFieldCell(0, y, w, h).y()));
        auto* line = reinterpret_cast<std::uint32_t*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = src[columns[x]];
    }
    return img;
}

QPoint HSFieldMarkerRequest(int hue, int sat, int w, int h) {
    return {static_cast<int>(RoundHalfEven(hue * double(w) / 360)),
            static_cast<int>(RoundHalfEven((240 - sat) * double(h) / 240))};
}

THSColorPicker::THSColorPicker(QWidget* parent) : TmbRectFieldPicker(parent) {
    SetPickerHSLScale(360, 240, 255);
    SetMarkerStyle(TMarkerStyle::msCross);
    SetHintFormat(QStringLiteral("H: %h S: %hslS\rHex: %hex"));
    resize(DefaultWidth, DefaultHeight);
    request_ = drawn_ = HSFieldMarkerRequest(hue_, sat_, width(), height());
}

void THSColorPicker::SetSelectedColor(TColor color) {
    color = WebRounded(color);
    const HSLInt hsl = PickerRGBToHSL(color);
    hue_ = hsl.h;
    sat_ = hsl.s;
    lum_ = hsl.l;
    selected_ = color;
    manual_ = false;
    request_ = HSFieldMarkerRequest(hue_, sat_, width(), height());
    doChange_ = true;
    update();
}

void THSColorPicker::SetHueValue(int hue) {
    hue_ = Clamp(hue, 0, 360);
    SetSelectedColor(PickerHSLToRGB(hue_, sat_, 128));
}

void THSColorPicker::SetSaturationValue(int sat) {
    sat_ = Clamp(sat, 0, 240);
    SetSelectedColor(PickerHSLToRGB(hue_, sat_, 128));
}

const QImage& THSColorPicker::Picture() const {
    if (picture_.isNull()) {
        picture_ = SharedHSFieldPicture(WebSafe());
        stretched_ = QImage();
    }
    return picture_;
}

TColor THSColorPicker::GetColorAtPoint(int x, int y) const {
    const QPoint cell = HSFieldCell(x, y, width(), height());
    const QRgb p = Picture().pixel(cell);
    return MakeRGB(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                   static_cast<std::uint8_t>(qBlue(p)));
}

void THSColorPicker::WebSafeChanged() {
    picture_ = SharedHSFieldPicture(WebSafe());
    stretched_ = QImage();
}

void THSColorPicker::showEvent(QShowEvent* event) {
    // The picture takes the picker scale in force when the field first appears.
    Picture();
    TmbColorPickerControl::showEvent(event);
}

void THSColorPicker::resizeEvent(QResizeEvent* event) {
    stretched_ = QImage();
    SetSelectedColor(selected_);
    TmbColorPickerControl::resizeEvent(event);
}

void THSColorPicker::PickAt(QPoint p) {
    request_ = p;
    selected_ = GetColorAtPoint(p.x(), p.y());
    manual_ = true;
    doChange_ = true;
    update();
}

void THSColorPicker::keyPressEvent(QKeyEvent* event) {
    const auto step = ArrowKeyStep(*event);
    if (!step) {
        TmbColorPickerControl::keyPressEvent(event);
        return;
    }
    event->accept();
    const QPoint p = drawn_ + *step;
    PickAt({Clamp(p.x(), 0, width() - 1), Clamp(p.y(), 0, height() - 1)});
}

void THSColorPicker::paintEvent(QPaintEvent* event) {
    const QImage& picture = Picture();
    if (stretched_.size() != size())
        stretched_ = HSFieldStretch(picture, width(), height());
    QPainter painter(this);
    painter.drawImage(event->rect(), stretched_, event->rect());
    request_ = {Clamp(request_.x(), 0, std::max(0, width() - 1)),
                Clamp(request_.y(), 0, std::max(0, height() - 1))};
    const HSLInt hsl = PickerRGBToHSL(selected_);
    hue_ = hsl.h;
    sat_ = hsl.s;
    lum_ = hsl.l;
    drawn_ = request_;
    DrawMarker(painter, drawn_.x(), drawn_.y());
    DrawFocusFrame(painter, *this, rect());
    // Only a change is reported: a repaint for any other reason (exposure, focus) is not one.
    if (doChange_) {
        doChange_ = false;
        emit OnChange();
    }
}

} // namespace chromint
