#include "SLColorPicker.h"

#include "ColorOperations.h"
#include "FocusFrame.h"
#include "PickerConversions.h"
#include "Rounding.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include <array>

namespace chromint {

namespace {
constexpr std::uint8_t kSectorOrder[7][3] = {{0, 3, 1}, {2, 0, 1}, {1, 0, 3}, {1, 2, 0},
                                             {3, 1, 0}, {0, 1, 2}, {4, 4, 4}};

// One row of the usual case, the level divisor being 255: every level stays within 0..255, the
// divisions are by constants, and the sector is known when compiling, so the loop needs neither
// clamps nor a table and the compiler can vectorise it.
template <int kSector, bool kWeb>
void FillSquareRow255(std::uint32_t* line, int v, int f) {
    const std::array<std::uint8_t, 256>& web = WebSafeTable();
    constexpr auto order = kSectorOrder[kSector];
    line[0] = 0xFF000000u | (std::uint32_t(kWeb ? web[v] : v) * 0x010101u);
    for (int s = 1; s < 256; ++s) {
        const int product = v * s;
        const int levels[5] = {v, v - product / 255, v - f * product / 15300,
                               v - product * (60 - f) / 15300, 0};
        std::uint32_t r = std::uint32_t(levels[order[0]]);
        std::uint32_t g = std::uint32_t(levels[order[1]]);
        std::uint32_t b = std::uint32_t(levels[order[2]]);
        if constexpr (kWeb) {
            r = web[r];
            g = web[g];
            b = web[b];
        }
        line[s] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

template <bool kWeb>
void FillSquare255(QImage& img, int sector, int f) {
    using Row = void (*)(std::uint32_t*, int, int);
    static constexpr Row kRows[7] = {FillSquareRow255<0, kWeb>, FillSquareRow255<1, kWeb>,
                                     FillSquareRow255<2, kWeb>, FillSquareRow255<3, kWeb>,
                                     FillSquareRow255<4, kWeb>, FillSquareRow255<5, kWeb>,
                                     FillSquareRow255<6, kWeb>};
    const Row row = kRows[static_cast<unsigned>(sector) < 6 ? sector : 6];
    for (int i = 0; i < 256; ++i)
        row(reinterpret_cast<std::uint32_t*>(img.scanLine(i)), 255 - i, f);
}

// Any other scale: SquareHSVToColor pixel by pixel, with the scale read once.
void FillSquareAnyScale(QImage& img, int h, const PickerHSLScale& sc, bool webSafe) {
    const int f = h % 60;
    const auto& order = kSectorOrder[static_cast<unsigned>(h / 60) < 6 ? h / 60 : 6];
    for (int i = 0; i < 256; ++i) {
        auto* line = reinterpret_cast<std::uint32_t*>(img.scanLine(i));
        const std::int64_t v = Clamp(255 - i, 0, sc.maxLum);
        for (int j = 0; j < 256; ++j) {
            const std::int64_t s = Clamp(j, 0, sc.maxSat);
            TColor c;
            if (s == 0) {
                c = MakeRGB(ClampByte(v), ClampByte(v), ClampByte(v));
            } else {
                const std::int64_t levels[5] = {v, v - v * s / sc.maxLum, v - f * v * s / 15300,
                                                v - v * s * (60 - f) / 15300, 0};
                c = MakeRGB(ClampByte(levels[order[0]]), ClampByte(levels[order[1]]),
                            ClampByte(levels[order[2]]));
            }
            line[j] = 0xFF000000u | SwapRB(webSafe ? NearestWebSafe(c) : c);
        }
    }
}
} // namespace

QImage SquarePicture(int hue, bool webSafe) {
    QImage img(256, 256, QImage::Format_RGB32);
    const PickerHSLScale sc = GetPickerHSLScale();
    const int h = Clamp(hue, 0, sc.maxHue) % sc.maxHue;
    // The fast rows hold for the main window's scale: no saturation of the 256 columns is
    // clamped and the level divisor is 255.
    if (sc.maxLum == 255 && sc.maxSat >= 255) {
        if (webSafe)
            FillSquare255<true>(img, h / 60, h % 60);
        else
            FillSquare255<false>(img, h / 60, h % 60);
    } else {
        FillSquareAnyScale(img, h, sc, webSafe);
    }
    return img;
}

QPoint SquareMarkerPoint(int sat, int level, int w, int h) {
    return {MulDiv(sat, w, 255), MulDiv(255 - level, h, 255)};
}

SatLevel SquarePointToSatLevel(int x, int y, int w, int h) {
    return {MulDiv(255, x, w - 1), MulDiv(255, h - y - 1, h - 1)};
}

TColor SquareColorAtPoint(int hue, int x, int y, int w, int h) {
    return SquareHSVToColor(hue, MulDiv(255, x, w), MulDiv(255, h - y, h));
}

TSLColorPicker::TSLColorPicker(QWidget* parent) : TmbRectFieldPicker(parent) {
    SetPickerHSLScale(360, 255, 255);
    SetMarkerStyle(TMarkerStyle::msCircle);
    resize(DefaultSize, DefaultSize);
    marker_ = SquareMarkerPoint(sat_, level_, width(), height());
}

void TSLColorPicker::NumbersChanged() {
    manual_ = false;
    update();
    if (change_)
        emit OnChange();
}

void TSLColorPicker::SetHue(int hue) {
    hue = Clamp(hue, 0, 360);
    if (hue == hue_)
        return;
    hue_ = hue;
    pictureStale_ = true;
    NumbersChanged();
}

void TSLColorPicker::SetSaturation(int sat) {
    sat = Clamp(sat, 0, 255);
    if (sat == sat_)
        return;
    sat_ = sat;
    marker_ = SquareMarkerPoint(sat_, level_, width(), height());
    NumbersChanged();
}

void TSLColorPicker::SetLuminance(int level) {
    level = Clamp(level, 0, 255);
    if (level == level_)
        return;
    level_ = level;
    marker_ = SquareMarkerPoint(sat_, level_, width(), height());
    NumbersChanged();
}

TColor TSLColorPicker::SelectedColor() const {
    return WebRounded(SquareHSVToColor(hue_, sat_, level_));
}

void TSLColorPicker::SetSelectedColor(TColor color) {
    color = WebRounded(color);
    manual_ = false;
    change_ = false;
    const HueSat hs = SquareColorToHueSat(color);
    const RGBTriple c = SplitRGB(color);
    SetHue(hs.hue);
    SetSaturation(hs.sat);
    SetLuminance(std::max({c.r, c.g, c.b}));
    change_ = true;
}

TColor TSLColorPicker::GetColorAtPoint(int x, int y) const {
    return WebRounded(SquareColorAtPoint(hue_, x, y, width(), height()));
}

const QImage& TSLColorPicker::Picture() const {
    if (pictureStale_) {
        picture_ = SquarePicture(hue_, WebSafe());
        pictureStale_ = false;
        stretched_ = QImage();
    }
    return picture_;
}

void TSLColorPicker::resizeEvent(QResizeEvent* event) {
    stretched_ = QImage();
    marker_ = SquareMarkerPoint(sat_, level_, width(), height());
    TmbColorPickerControl::resizeEvent(event);
}

void TSLColorPicker::ReadPoint(QPoint p) {
    const SatLevel sl = SquarePointToSatLevel(p.x(), p.y(), width(), height());
    change_ = false;
    SetSaturation(sl.sat);
    SetLuminance(sl.level);
    change_ = true;
    manual_ = true;
    emit OnChange();
}

void TSLColorPicker::PickAt(QPoint p) {
    marker_ = p;
    update();
    ReadPoint(p);
}

void TSLColorPicker::keyPressEvent(QKeyEvent* event) {
    const auto step = ArrowKeyStep(*event);
    if (!step) {
        TmbColorPickerControl::keyPressEvent(event);
        return;
    }
    event->accept();
    const QPoint p = marker_ + *step;
    // A step that would leave the square is refused rather than cut short at the edge.
    const bool inside = step->x() < 0   ? p.x() >= 0
                        : step->x() > 0 ? p.x() <= width()
                        : step->y() < 0 ? p.y() >= 0
                                        : p.y() <= height();
    if (!inside)
        return;
    marker_ = p;
    update();
    ReadPoint(p);
}

void TSLColorPicker::paintEvent(QPaintEvent* event) {
    const QImage& picture = Picture();
    if (stretched_.size() != size())
        stretched_ = picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QPainter painter(this);
    painter.drawImage(event->rect(), stretched_, event->rect());
    DrawMarker(painter, marker_.x(), marker_.y());
    DrawFocusFrame(painter, *this, rect());
}

} // namespace chromint
