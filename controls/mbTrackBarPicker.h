#pragma once

#include "ColorTypes.h"

#include <QImage>
#include <QPolygon>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

namespace chromint {

enum class TTrackBarLayout { lyHorizontal, lyVertical };
enum class TSliderPlacement { spBefore, spAfter, spBoth };
enum class TSelIndicator { siArrows, siRect };
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// ---- The bars' arithmetic, kept apart from the widgets so it can be checked by itself. ----

// Marker sizes: Aw along the bar, Ah across it, an extra margin X for the new arrows, and the
// pixels kept free at the far end.
struct BarMetrics {
    int aw = 0;
    int ah = 0;
    int x = 0;
    int limit = 0;
    friend constexpr bool operator==(const BarMetrics&, const BarMetrics&) = default;
};
BarMetrics BarArrowMetrics(TSelIndicator indicator, bool newArrowStyle);

// A rectangle with exclusive right and bottom edges, as the bar geometry is worked out.
struct BarRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend constexpr bool operator==(const BarRect&, const BarRect&) = default;
};
// Where the gradient is drawn in a w x h bar.
BarRect BarPickRect(TTrackBarLayout layout, TSelIndicator indicator, TSliderPlacement placement,
                    const BarMetrics& metrics, int w, int h);

// How a bar's own number runs: 0..max, with max at the top of a vertical bar when topIsMax.
// Horizontal bars always grow to the right.
struct BarScale {
    int max = 255;
    bool topIsMax = true;
};

int BarLength(TTrackBarLayout layout, int w, int h);
// The marker position of a number, limited to length - limit and then to at least 0.
int BarNumberToPos(const BarScale& scale, TTrackBarLayout layout, int length, int limit,
                   int number);
// The number at a marker position, clamped to 0..max.
int BarPosToNumber(const BarScale& scale, TTrackBarLayout layout, int length, int pos);
// The marker position under a mouse point, limited to 0..length - aw - 1.
int BarMouseToPos(TTrackBarLayout layout, int aw, int length, int x, int y);
// The number an arrow key asks for (not yet clamped), or nothing for a key the bar leaves to
// the default handling: only the arrows along the bar are taken.
std::optional<int> BarKeyTarget(const BarScale& scale, TTrackBarLayout layout, int qtKey, bool ctrl,
                                int number, int increment);

// The arrow's centre along the bar for a marker position.
int BarArrowCentre(TTrackBarLayout layout, bool newArrowStyle, int aw, int arrowPos, int w, int h);
// The arrow before the bar (left or above) or after it (right or below), tip at centre a.
QPolygon BarArrowPolygon(TTrackBarLayout layout, bool newArrowStyle, bool before, int a, int aw,
                         int w, int h);

// The picture along the bar: one 32-bit pixel (0x00RRGGBB) per entry, 12 pixels across;
// entry 0 at the top of a vertical bar or at the left of a horizontal one.
QImage BarGradientImage(TTrackBarLayout layout, const std::vector<std::uint32_t>& entries);

// The tool tip: the first occurrence of each placeholder, in a fixed order, replaced by the
// number. Later placeholders may match inside text an earlier one left behind.
QString BarHintText(const QString& hintFormat, int number);

// ---- The widgets. ----

// Base of the slider bars: a gradient with an arrow or rectangle marker showing one number.
// OnChange follows a user action (mouse changes at the next paint, keys and the wheel at once)
// and every write of SelectedColor; the number setters raise it when the number changed.
class TmbTrackBarPicker : public QWidget {
    Q_OBJECT
    Q_PROPERTY(chromint::TColor SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(bool WebSafe READ WebSafe WRITE SetWebSafe)
    Q_PROPERTY(QString HintFormat READ HintFormat WRITE SetHintFormat)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(bool NewArrowStyle READ NewArrowStyle WRITE SetNewArrowStyle)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(bool BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(bool Manual READ Manual)
    Q_PROPERTY(int Hue READ Hue WRITE SetHue)
    Q_PROPERTY(int Saturation READ Saturation WRITE SetSaturation)

public:
    static constexpr int DefaultWidth = 267;
    static constexpr int DefaultHeight = 22;

    TColor SelectedColor() const;
    // Always raises OnChange once, also when nothing changed.
    void SetSelectedColor(TColor color);

    bool WebSafe() const { return webSafe_; }
    void SetWebSafe(bool webSafe);
    QString HintFormat() const { return hintFormat_; }
    void SetHintFormat(const QString& hintFormat) { hintFormat_ = hintFormat; }
    int Increment() const { return increment_; }
    void SetIncrement(int increment) { increment_ = increment; }
    TTrackBarLayout Layout() const { return layout_; }
    void SetLayout(TTrackBarLayout layout);
    TSliderPlacement ArrowPlacement() const { return placement_; }
    void SetArrowPlacement(TSliderPlacement placement);
    bool NewArrowStyle() const { return newArrowStyle_; }
    void SetNewArrowStyle(bool on);
    TSelIndicator SelectionIndicator() const { return indicator_; }
    void SetSelectionIndicator(TSelIndicator indicator);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    bool BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(bool on);

    bool Manual() const { return manual_; }

    // Every bar keeps a hue and a saturation besides the number it shows.
    int Hue() const { return Number(HueSlot); }
    void SetHue(int hue) { SetNumber(HueSlot, hue); }
    int Saturation() const { return Number(SatSlot); }
    void SetSaturation(int sat) { SetNumber(SatSlot, sat); }

    // The geometry the next paint uses, for the window layout and for checks.
    BarMetrics Metrics() const;
    BarRect PickRect() const;
    int ArrowPos() const;
    // The gradient as built, entry by entry (rebuilt first when stale).
    const QImage& Gradient() const;

    QSize sizeHint() const override;

signals:
    void OnChange();

protected:
    enum Slot { HueSlot = 0, SatSlot = 1, LevelSlot = 2 };

    TmbTrackBarPicker(QWidget* parent, int hue, int sat, int level, Slot own,
                      TTrackBarLayout layout, const QString& hint);

    int Number(Slot slot) const { return numbers_[slot]; }
    // The clamping setter of Interfaces: stores, moves the marker or marks the gradient stale,
    // clears Manual, repaints and raises OnChange when allowed.
    void SetNumber(Slot slot, int value);

    virtual int SlotMax(Slot slot) const = 0;
    virtual bool TopIsMax() const = 0;
    virtual TColor ColorOf(int hue, int sat, int level) const = 0;
    virtual void Decompose(TColor color, int& hue, int& sat, int& level) const = 0;
    // The gradient's entries from the top or left, as 0x00RRGGBB pixels.
    virtual std::vector<std::uint32_t> GradientEntries() const = 0;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Web-safe rounding of a painted or reported pixel when WebSafe is on.
    std::uint32_t Pixel(TColor color) const;

private:
    BarScale Scale() const { return {SlotMax(own_), TopIsMax()}; }
    int Length() const { return BarLength(layout_, width(), height()); }
    void PickAt(int x, int y);
    void StepBy(int target);
    void GradientChanged();
    void DrawBevel(class QPainter& painter, const BarRect& pick) const;
    void DrawIndicator(QPainter& painter, int arrowPos) const;

    int numbers_[3];
    Slot own_;
    int increment_ = 1;
    QString hintFormat_;
    TTrackBarLayout layout_;
    TSliderPlacement placement_ = TSliderPlacement::spAfter;
    bool newArrowStyle_ = false;
    TSelIndicator indicator_ = TSelIndicator::siArrows;
    bool webSafe_ = false;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    TBevelCut bevelOuter_ = TBevelCut::bvNone;
    int bevelWidth_ = 1;
    bool borderStyle_ = false;
    bool manual_ = false;
    bool change_ = true;
    bool doChange_ = false;
    int wheelRemainder_ = 0;

    mutable QImage gradient_;
    mutable bool gradientStale_ = true;
    // The gradient stretched to the pick rectangle: paint only copies it.
    mutable QImage stretched_;
};

// The hue and value bars work in HSV alike: hue 0..360, saturation and value 0..255.
class THSVTrackBarPicker : public TmbTrackBarPicker {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE SetValue)

public:
    int Value() const { return Number(LevelSlot); }
    void SetValue(int value) { SetNumber(LevelSlot, value); }

protected:
    using TmbTrackBarPicker::TmbTrackBarPicker;

    int SlotMax(Slot slot) const override;
    TColor ColorOf(int hue, int sat, int level) const override;
    void Decompose(TColor color, int& hue, int& sat, int& level) const override;
};

// The value bar: value 0..255 of a hue and saturation, larger values at the top.
class TVColorPicker : public THSVTrackBarPicker {
    Q_OBJECT

public:
    explicit TVColorPicker(QWidget* parent = nullptr);

protected:
    bool TopIsMax() const override { return true; }
    std::vector<std::uint32_t> GradientEntries() const override;
};

// The hue bar: hue 0..360 at a saturation and value, hue 0 at the top or left.
class THColorPicker : public THSVTrackBarPicker {
    Q_OBJECT

public:
    explicit THColorPicker(QWidget* parent = nullptr);

protected:
    bool TopIsMax() const override { return false; }
    std::vector<std::uint32_t> GradientEntries() const override;
};

// The lightness bar: lightness on the process-wide picker scale, lighter at the top.
class TLColorPicker : public TmbTrackBarPicker {
    Q_OBJECT
    Q_PROPERTY(int Luminance READ Luminance WRITE SetLuminance)

public:
    explicit TLColorPicker(QWidget* parent = nullptr);
    int Luminance() const { return Number(LevelSlot); }
    void SetLuminance(int lum) { SetNumber(LevelSlot, lum); }

protected:
    int SlotMax(Slot slot) const override;
    bool TopIsMax() const override { return true; }
    TColor ColorOf(int hue, int sat, int level) const override;
    void Decompose(TColor color, int& hue, int& sat, int& level) const override;
    std::vector<std::uint32_t> GradientEntries() const override;
};

} // namespace chromint
