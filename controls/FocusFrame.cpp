#include "FocusFrame.h"

#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

namespace chromint {

void DrawFocusFrame(QPainter& painter, const QWidget& widget, const QRect& around) {
    if (!widget.hasFocus() || around.isEmpty())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(&widget);
    option.rect = around;
    option.backgroundColor = widget.palette().color(widget.backgroundRole());
    painter.save();
    painter.setClipRegion(QRegion(around) -
                              QRegion(around.adjusted(FocusFrameWidth, FocusFrameWidth,
                                                      -FocusFrameWidth, -FocusFrameWidth)),
                          Qt::IntersectClip);
    widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &widget);
    painter.restore();
}

} // namespace chromint
