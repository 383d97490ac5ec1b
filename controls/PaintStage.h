#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace chromint {

// The stage behind a picture: squares of CheckerSquare pixels from the view's top-left corner,
// the first colour where column and row have the same parity.
inline constexpr int CheckerSquare = 8;
inline const QColor CheckerLight{200, 200, 200};
inline const QColor CheckerDark{204, 204, 204};

// Fills columns 0..width div square and rows 0..height div square of area (both inclusive),
// counted from area's top-left corner.
void PaintChecker(QPainter& painter, QRect area, int square, const QColor& first,
                  const QColor& second);

// The size a picture is shown at: whole and proportionally smaller when fit is on and it is
// larger than the view in either direction, else its own size.
QSize DisplayedPictureSize(QSize picture, QSize view, bool fit);

// How a shown picture compares with its own size.
struct ImageScale {
    int percent = 0;
    int width = 0;
    int height = 0;
};

// The mean of the truncated width and height percentages.
ImageScale GetImageScale(QSize picture, QSize displayed);

// "W×Hpx" at 100 %, else "W×Hpx (p%, w×hpx)"; "No image loaded" for an empty picture.
QString ImageScaleText(QSize picture, QSize displayed);

} // namespace chromint
