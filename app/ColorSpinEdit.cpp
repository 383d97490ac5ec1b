#include "ColorSpinEdit.h"

#include "Rounding.h"

#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace chromint {

namespace {
// Whether the text is an optional minus sign followed by digits only.
bool IsWholeNumberText(const QString& text) {
    if (text.isEmpty())
        return false;
    const int start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (start == text.size())
        return false;
    for (int i = start; i < text.size(); ++i)
        if (!text[i].isDigit())
            return false;
    return true;
}
} // namespace

TColorSpinEdit::TColorSpinEdit(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setSingleStep(1);
    setAccelerated(true);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    // The wheel changes only the editor the user chose; passing over one scrolls on.
    setFocusPolicy(Qt::StrongFocus);
    connect(lineEdit(), &QLineEdit::textEdited, this, &TColorSpinEdit::EnforceRange);
}

void TColorSpinEdit::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QSpinBox::wheelEvent(event);
}

void TColorSpinEdit::SetValueFromCode(double value) {
    if (!(value == value))
        value = minimum();
    const double clamped = std::clamp(value, double(minimum()), double(maximum()));
    setValue(static_cast<int>(RoundHalfEven(clamped)));
}

QValidator::State TColorSpinEdit::validate(QString& input, int&) const {
    // Anything may be typed while editing; the value read from it is always in range.
    if (input.isEmpty() || input == QLatin1String("-"))
        return QValidator::Intermediate;
    return IsWholeNumberText(input) ? QValidator::Acceptable : QValidator::Intermediate;
}

int TColorSpinEdit::valueFromText(const QString& text) const {
    if (!IsWholeNumberText(text))
        return minimum();
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok)
        return text.startsWith(QLatin1Char('-')) ? minimum() : maximum();
    return static_cast<int>(std::clamp<qlonglong>(v, minimum(), maximum()));
}

void TColorSpinEdit::fixup(QString& input) const {
    input = QString::number(valueFromText(input));
}

void TColorSpinEdit::EnforceRange(const QString& text) {
    // A number outside the range is replaced by the nearest end at once, so the editor never
    // shows a value other than the one the colour uses.
    if (!IsWholeNumberText(text))
        return;
    const int v = valueFromText(text);
    if (QString::number(v) != text) {
        lineEdit()->setText(QString::number(v));
        setValue(v);
    }
}

TGaugeStrip::TGaugeStrip(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGaugeStrip::SetColors(QColor from, QColor to) {
    if (from == from_ && to == to_)
        return;
    from_ = from;
    to_ = to;
    update();
}

void TGaugeStrip::SetFraction(double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    if (fraction == fraction_)
        return;
    fraction_ = fraction;
    update();
}

void TGaugeStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, from_);
    gradient.setColorAt(1, to_);
    const int filled = static_cast<int>(std::lround(fraction_ * width()));
    painter.fillRect(QRect(0, 0, filled, height()), gradient);
}

} // namespace chromint
