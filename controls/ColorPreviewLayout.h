#pragma once

#include "ColorTypes.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace chromint {

// The numbers between a colour swatch's properties and its pixels. The swatch widget paints
// what these functions say; tests read them without painting anything.

inline constexpr int SwatchMinOpacity = 0;
inline constexpr int SwatchMaxOpacity = 100;

// Everything a swatch picture depends on besides its size.
struct SwatchLook {
    TColor color = clWhite;
    int opacity = SwatchMaxOpacity;
    int blockSize = 6;
    bool swatchStyle = false;
    TColor window = clWhite; // the light ring just inside the frame of a ringed swatch
    TColor frame = 0x808080; // the one-pixel frame around every swatch
};

// A swatch without a colour, or one that is not fully opaque, shows a checkerboard.
bool IsTranslucentSwatch(TColor color, int opacity);

// The two colours of the checkerboard: the colour laid over white (the top-left cell) and over
// silver (the cells beside it). White and silver when there is no colour or nothing of it shows.
TColor CheckerBaseColor(TColor color, int opacity);
TColor CheckerTileColor(TColor color, int opacity);

// Whether the checker cell holding p is a silver-backed one: cells are blockSize squares from
// the control's top-left corner, and those whose row plus column is odd are.
bool IsTileCell(QPoint p, int blockSize);
TColor CheckerColorAt(TColor color, int opacity, int blockSize, QPoint p);

// The client rectangle shrunk by depth pixels on each side; empty when nothing is left.
QRect DepthRect(QSize size, int depth);

// How far p lies inside the client rectangle: 0 on the frame, 1 just inside it, and so on;
// -1 outside.
int DepthAt(QSize size, QPoint p);

// The colour that fills the pixels at a depth, or nothing where the checkerboard shows.
std::optional<TColor> DepthFill(const SwatchLook& look, int depth);

// The colour of one pixel of a swatch of the given size (an RGB value, top byte 0).
TColor SwatchPixel(const SwatchLook& look, QSize size, QPoint p);

// The whole picture, filled ring by ring and cell by cell.
QImage RenderSwatch(const SwatchLook& look, QSize size);

// A hint as a tool tip shows it: every line end ("\r\n", "\n\r", a lone "\r" or "\n") made
// one "\n", so a template never shows blank lines its author did not write.
QString SwatchHintText(const QString& hint);

QColor ToQColor(TColor color);
TColor ToTColor(const QColor& color);

} // namespace chromint
