#pragma once

#include <QColor>
#include <QSpinBox>
#include <QWidget>

namespace chromint {

// A whole-number editor of the main window. Typed text that is empty or not a number reads
// as the minimum, and a number outside the range is pulled into it and shown that way, so
// typing 300 into a 0..255 editor shows and uses 255.
class TColorSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    TColorSpinEdit(int minimum, int maximum, QWidget* parent = nullptr);

    // Sets a value from code: clamped to the range, the display rounded to a whole number.
    void SetValueFromCode(double value);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    void fixup(QString& input) const override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void EnforceRange(const QString& text);
};

// The coloured strip under an editor: a gradient between two colours, filled up to the share
// of the range the editor's value takes.
class TGaugeStrip : public QWidget {
    Q_OBJECT
public:
    explicit TGaugeStrip(QWidget* parent = nullptr);

    void SetColors(QColor from, QColor to);
    void SetFraction(double fraction);
    QColor From() const { return from_; }
    QColor To() const { return to_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor from_ = Qt::white;
    QColor to_ = Qt::white;
    double fraction_ = 0;
};

} // namespace chromint
