#pragma once

#include "HSColorPicker.h"
#include "mbTrackBarPicker.h"

#include <QCursor>
#include <QWidget>

class QMenu;

namespace chromint {

// The "Standard" page's picker: a hue-saturation field with a lightness bar beside it. A pick
// in the field takes its hue and saturation, the bar adds the lightness, and the composite
// reports the colour the bar shows.
class THSLColorPicker : public QWidget {
    Q_OBJECT
    Q_PROPERTY(chromint::TColor SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(int LuminanceIncrement READ LuminanceIncrement WRITE SetLuminanceIncrement)
    Q_PROPERTY(QString HSPickerHintFormat READ HSPickerHintFormat WRITE SetHSPickerHintFormat)
    Q_PROPERTY(QString LPickerHintFormat READ LPickerHintFormat WRITE SetLPickerHintFormat)
    Q_PROPERTY(bool WebSafe READ WebSafe WRITE SetWebSafe)
    Q_PROPERTY(bool Manual READ Manual)

public:
    static constexpr int DefaultWidth = 309;
    static constexpr int DefaultHeight = 268;

    explicit THSLColorPicker(QWidget* parent = nullptr);

    TColor SelectedColor() const { return selected_; }
    // Ignored when equal to the current colour.
    void SetSelectedColor(TColor color);
    QString GetSelectedHexColor() const { return PickerHexText(SelectedColor()); }

    int HValue() const { return h_; }
    void SetHValue(int h);
    int SValue() const { return s_; }
    void SetSValue(int s);
    int LValue() const { return l_; }
    void SetLValue(int l);
    int RValue() const { return r_; }
    void SetRValue(int r);
    int GValue() const { return g_; }
    void SetGValue(int g);
    int BValue() const { return b_; }
    void SetBValue(int b);

    int LuminanceIncrement() const { return lumIncrement_; }
    void SetLuminanceIncrement(int increment);
    QString HSPickerHintFormat() const { return hsPicker_->HintFormat(); }
    void SetHSPickerHintFormat(const QString& format) { hsPicker_->SetHintFormat(format); }
    QString LPickerHintFormat() const { return lPicker_->HintFormat(); }
    void SetLPickerHintFormat(const QString& format) { lPicker_->SetHintFormat(format); }
    QMenu* HSPickerPopupMenu() const { return hsMenu_; }
    void SetHSPickerPopupMenu(QMenu* menu);
    QMenu* LPickerPopupMenu() const { return lMenu_; }
    void SetLPickerPopupMenu(QMenu* menu);
    QCursor HSPickerCursor() const { return hsPicker_->cursor(); }
    void SetHSPickerCursor(const QCursor& cursor) { hsPicker_->setCursor(cursor); }
    QCursor LPickerCursor() const { return lPicker_->cursor(); }
    void SetLPickerCursor(const QCursor& cursor) { lPicker_->setCursor(cursor); }

    bool WebSafe() const { return hsPicker_->WebSafe() && lPicker_->WebSafe(); }
    void SetWebSafe(bool webSafe);
    bool Manual() const { return hsPicker_->Manual() || lPicker_->Manual(); }

    TColor ColorUnderCursor() const { return hsPicker_->ColorUnderCursor(); }
    TColor GetColorUnderCursor() const { return hsPicker_->GetColorUnderCursor(); }
    QString GetHexColorUnderCursor() const { return hsPicker_->GetHexColorUnderCursor(); }

    THSColorPicker* HSPicker() const { return hsPicker_; }
    TLColorPicker* LPicker() const { return lPicker_; }

    QSize sizeHint() const override { return {DefaultWidth, DefaultHeight}; }

signals:
    void OnChange();
    // A mouse move over either child, in that child's coordinates.
    void OnMouseMove(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FieldChanged();
    void BarChanged();
    void ShowMenu(QWidget* child, QMenu* menu, const QPoint& pos);

    THSColorPicker* hsPicker_;
    TLColorPicker* lPicker_;
    TColor selected_ = MakeRGB(255, 0, 0);
    int h_ = 0, s_ = 240, l_ = 120;
    int r_ = 255, g_ = 0, b_ = 0;
    int lumIncrement_ = 1;
    QMenu* hsMenu_ = nullptr;
    QMenu* lMenu_ = nullptr;
};

} // namespace chromint
