#include "ColorPreviewLayout.h"

#include "ColorOperations.h"

#include <algorithm>

namespace chromint {

namespace {

// A colour ready to paint: system colours looked up, any marker bits in the top byte dropped.
TColor Solid(TColor color) {
    return ResolveSystemColor(color) & 0xFFFFFF;
}

bool ShowsNothingOfTheColour(TColor color, int opacity) {
    return color == clNone || opacity <= SwatchMinOpacity;
}

// Floor division, so cells keep their size on both sides of the origin.
int CellIndex(int v, int blockSize) {
    return v >= 0 ? v / blockSize : -((-v + blockSize - 1) / blockSize);
}

void Fill(QImage& image, const QRect& area, TColor color) {
    const QRect r = area & image.rect();
    if (r.isEmpty())
        return;
    const QRgb rgb = ToQColor(color).rgb();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line + r.left(), line + r.right() + 1, rgb);
    }
}

// The deepest ring with a colour of its own; inside it lies the face.
int DeepestRing(const SwatchLook& look) {
    return look.swatchStyle ? 4 : 0;
}

} // namespace

bool IsTranslucentSwatch(TColor color, int opacity) {
    return color == clNone || opacity != SwatchMaxOpacity;
}

TColor CheckerBaseColor(TColor color, int opacity) {
    if (ShowsNothingOfTheColour(color, opacity))
        return clWhite;
    return MixOpacity(color, clWhite, opacity);
}

TColor CheckerTileColor(TColor color, int opacity) {
    if (ShowsNothingOfTheColour(color, opacity))
        return clSilver;
    return MixOpacity(color, clSilver, opacity);
}

bool IsTileCell(QPoint p, int blockSize) {
    const int size = std::max(blockSize, 1);
    return ((CellIndex(p.x(), size) + CellIndex(p.y(), size)) & 1) != 0;
}

TColor CheckerColorAt(TColor color, int opacity, int blockSize, QPoint p) {
    return IsTileCell(p, blockSize) ? CheckerTileColor(color, opacity)
                                    : CheckerBaseColor(color, opacity);
}

QRect DepthRect(QSize size, int depth) {
    const int w = size.width() - 2 * depth;
    const int h = size.height() - 2 * depth;
    if (depth < 0 || w <= 0 || h <= 0)
        return {};
    return {depth, depth, w, h};
}

int DepthAt(QSize size, QPoint p) {
    if (!QRect(QPoint(0, 0), size).contains(p))
        return -1;
    return std::min({p.x(), p.y(), size.width() - 1 - p.x(), size.height() - 1 - p.y()});
}

std::optional<TColor> DepthFill(const SwatchLook& look, int depth) {
    if (depth <= 0)
        return Solid(look.frame);
    const bool translucent = IsTranslucentSwatch(look.color, look.opacity);
    // The face colour that the rings darken: the checkerboard's lighter colour when translucent.
    const TColor face =
        translucent ? CheckerBaseColor(look.color, look.opacity) : Solid(look.color);
    if (look.swatchStyle) {
        switch (depth) {
        case 1:
            return Solid(look.window);
        case 2:
            return MixOpacity(face, clBlack, 75);
        case 3:
            return MixOpacity(face, clBlack, 87);
        case 4:
            return face;
        default:
            break;
        }
    }
    if (translucent)
        return std::nullopt;
    return face;
}

TColor SwatchPixel(const SwatchLook& look, QSize size, QPoint p) {
    const std::optional<TColor> fill = DepthFill(look, std::max(DepthAt(size, p), 0));
    return fill ? *fill : CheckerColorAt(look.color, look.opacity, look.blockSize, p);
}

QImage RenderSwatch(const SwatchLook& look, QSize size) {
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    const int deepest = DeepestRing(look);
    for (int depth = 0; depth <= deepest; ++depth)
        Fill(image, DepthRect(size, depth), *DepthFill(look, depth));

    const QRect face = DepthRect(size, deepest + 1);
    if (face.isEmpty())
        return image;
    if (const std::optional<TColor> solid = DepthFill(look, deepest + 1)) {
        Fill(image, face, *solid);
        return image;
    }

    Fill(image, face, CheckerBaseColor(look.color, look.opacity));
    const TColor tile = CheckerTileColor(look.color, look.opacity);
    const int cell = std::max(look.blockSize, 1);
    for (int row = face.top() / cell; row <= face.bottom() / cell; ++row) {
        // The first silver-backed cell of this row, then every second one.
        int column = face.left() / cell;
        if (((row + column) & 1) == 0)
            ++column;
        for (; column <= face.right() / cell; column += 2)
            Fill(image, QRect(column * cell, row * cell, cell, cell) & face, tile);
    }
    return image;
}

QString SwatchHintText(const QString& hint) {
    // A CR and an LF side by side, in either order, end one line; any other CR or LF ends one
    // of its own. Templates written on different systems mix "\r\n", "\n\r", "\r" and "\n".
    QString text;
    text.reserve(hint.size());
    for (qsizetype i = 0; i < hint.size(); ++i) {
        const QChar c = hint[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            text.append(c);
            continue;
        }
        text.append(QLatin1Char('\n'));
        const QChar partner = c == QLatin1Char('\r') ? QLatin1Char('\n') : QLatin1Char('\r');
        if (i + 1 < hint.size() && hint[i + 1] == partner)
            ++i;
    }
    return text;
}

QColor ToQColor(TColor color) {
    const TColor c = Solid(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor ToTColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return MakeRGB(static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
                   static_cast<std::uint8_t>(rgb.blue()));
}

} // namespace chromint
