#include "PaintStage.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace chromint {

void PaintChecker(QPainter& painter, QRect area, int square, const QColor& first,
                  const QColor& second) {
    if (square <= 0)
        return;
    const int columns = area.width() / square;
    const int rows = area.height() / square;
    // The squares of one colour are drawn in one pass to keep painting a large view cheap.
    painter.fillRect(QRect(area.topLeft(), QSize((columns + 1) * square, (rows + 1) * square)),
                     first);
    for (int r = 0; r <= rows; ++r) {
        for (int c = (r + 1) % 2; c <= columns; c += 2)
            painter.fillRect(area.left() + c * square, area.top() + r * square, square, square,
                             second);
    }
}

QSize DisplayedPictureSize(QSize picture, QSize view, bool fit) {
    if (!fit || picture.isEmpty() || view.isEmpty())
        return picture;
    if (picture.width() <= view.width() && picture.height() <= view.height())
        return picture;
    const double scale =
        std::min(double(view.width()) / picture.width(), double(view.height()) / picture.height());
    return {std::max(1, int(std::lround(picture.width() * scale))),
            std::max(1, int(std::lround(picture.height() * scale)))};
}

ImageScale GetImageScale(QSize picture, QSize displayed) {
    if (picture.isEmpty())
        return {};
    const int percent =
        (displayed.width() * 100 / picture.width() + displayed.height() * 100 / picture.height()) /
        2;
    return {percent, displayed.width(), displayed.height()};
}

QString ImageScaleText(QSize picture, QSize displayed) {
    if (picture.isEmpty())
        return QStringLiteral("No image loaded");
    const ImageScale scale = GetImageScale(picture, displayed);
    if (scale.percent == 100)
        return QStringLiteral("%1×%2px").arg(picture.width()).arg(picture.height());
    return QStringLiteral("%1×%2px (%3%, %4×%5px)")
        .arg(picture.width())
        .arg(picture.height())
        .arg(scale.percent)
        .arg(scale.width)
        .arg(scale.height);
}

} // namespace chromint
