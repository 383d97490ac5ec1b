#include "mbColorPalette.h"

#include "ColorPreviewLayout.h"
#include "FocusFrame.h"
#include "FormatHint.h"
#include "PalUtils.h"

#include <QEnterEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QToolTip>

namespace chromint {

namespace {

constexpr TColor kDisabledCell = 0x808080;
constexpr int kHintHideMs = 5000;

void FillChecker(QPainter& painter, const QRect& rect, int block, const QColor& a,
                 const QColor& b) {
    painter.fillRect(rect, a);
    for (int y = rect.top(); y <= rect.bottom(); y += block) {
        for (int x = rect.left(); x <= rect.right(); x += block) {
            if (((x - rect.left()) / block + (y - rect.top()) / block) % 2 == 1)
                painter.fillRect(QRect(x, y, block, block).intersected(rect), b);
        }
    }
}

void FillTransparent(QPainter& painter, const QRect& rect, TTransparentStyle style) {
    switch (style) {
    case tsPhotoshop:
        FillChecker(painter, rect, 4, Qt::white, QColor(0xC0, 0xC0, 0xC0));
        break;
    case tsPhotoshop2:
        FillChecker(painter, rect, 2, Qt::white, QColor(0xCC, 0xCC, 0xCC));
        break;
    case tsCorel:
        painter.fillRect(rect, Qt::white);
        painter.setPen(QColor(0xFF, 0, 0));
        painter.drawLine(rect.topLeft(), rect.bottomRight());
        painter.drawLine(rect.bottomLeft(), rect.topRight());
        break;
    case tsMicroangelo:
        painter.fillRect(rect, QColor(0, 0x80, 0x80));
        painter.setPen(Qt::white);
        for (int y = rect.top(); y <= rect.bottom(); y += 2) {
            for (int x = rect.left() + (y - rect.top()) % 4 / 2; x <= rect.right(); x += 2)
                painter.drawPoint(x, y);
        }
        break;
    case tsNone:
        break;
    }
}

void FrameRect(QPainter& painter, const QRect& rect, const QColor& color, int width) {
    for (int i = 0; i < width; ++i) {
        const QRect r = rect.adjusted(i, i, -i, -i);
        if (r.isEmpty())
            return;
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
    }
}

} // namespace

TColorCellState PaletteCellState(int index, int selected, int hovered, bool mouseDown) {
    const bool checked = index == selected;
    const bool over = index == hovered;
    if (checked && over)
        return ccsCheckedHover;
    if (checked)
        return ccsChecked;
    if (over)
        return mouseDown ? ccsDown : ccsOver;
    return ccsNone;
}

void PaintPaletteCell(QPainter& painter, const QRect& rect, const PaletteCellLook& look) {
    if (look.text.isEmpty())
        return;
    // A string that is not a colour is shown as a gap rather than stopping the painting.
    const auto color = TryStringToColor(look.text);
    if (!color)
        return;
    const QColor highlight = ToQColor(look.highlight);
    const QColor dark = ToQColor(look.dark);
    QColor frame;
    switch (look.state) {
    case ccsOver:
        frame = highlight;
        break;
    case ccsDown:
    case ccsChecked:
        frame = dark;
        break;
    case ccsCheckedHover:
        frame = highlight;
        break;
    case ccsNone:
        break;
    }
    QRect inner;
    if (look.style == csDefault) {
        if (frame.isValid())
            FrameRect(painter, rect, frame,
                      look.state == ccsChecked || look.state == ccsCheckedHover ? 2 : 1);
        inner = rect.adjusted(3, 3, -3, -3);
    } else {
        inner = look.state == ccsNone ? rect : rect.adjusted(2, 2, -2, -2);
        if (frame.isValid())
            FrameRect(painter, rect, frame, 2);
    }
    if (inner.isEmpty())
        return;
    if (!look.enabled)
        painter.fillRect(inner, ToQColor(kDisabledCell));
    else if (*color == clTransparent)
        FillTransparent(painter, inner, look.transparentStyle);
    else if (*color != clCustom)
        painter.fillRect(inner, ToQColor(*color));
    if (look.style == csDefault)
        FrameRect(painter, inner, ToQColor(look.shadow), 1);
}

QString PaletteCellHint(const QString& text, const QString& name, const QString& hintFormat) {
    if (!name.isEmpty())
        return name;
    if (text.compare(QLatin1StringView("clCustom"), Qt::CaseInsensitive) == 0 ||
        text.compare(QLatin1StringView("clTransparent"), Qt::CaseInsensitive) == 0) {
        QString word = text;
        return word.remove(QLatin1StringView("cl"), Qt::CaseInsensitive);
    }
    const auto color = TryStringToColor(text);
    if (!color)
        return {};
    return QString::fromStdString(FormatHint(hintFormat.toStdString(), *color));
}

TmbColorPalette::TmbColorPalette(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(DefaultWidth, DefaultHeight);
    Relayout();
}

void TmbColorPalette::SetColors(const QStringList& colors) {
    FColors.SetColors(colors);
    ColorsChanged();
}

void TmbColorPalette::SetColorNames(const QStringList& names) {
    FColors.SetNames(names);
    PictureChanged();
}

void TmbColorPalette::AddColor(const QString& name, const QString& value, bool refresh) {
    FColors.AddColor(name, value);
    ColorsChanged();
    if (refresh)
        PictureChanged();
}

void TmbColorPalette::InsertColor(int index, const QString& name, const QString& value,
                                  bool refresh) {
    FColors.InsertColor(index, name, value);
    ColorsChanged();
    if (refresh)
        PictureChanged();
}

void TmbColorPalette::DeleteColor(int index, bool refresh) {
    if (!FColors.DeleteColor(index))
        return;
    if (FColors.Count() == 0)
        FCheckedIndex = -1;
    ColorsChanged();
    if (refresh)
        PictureChanged();
}

bool TmbColorPalette::ClearColors() {
    const bool had = FColors.ClearColors();
    FCheckedIndex = -1;
    ColorsChanged();
    return had;
}

bool TmbColorPalette::ClearNames() {
    if (!FColors.ClearNames())
        return false;
    PictureChanged();
    return true;
}

bool TmbColorPalette::MoveColor(int target, int destination, bool refresh) {
    if (!FColors.MoveColor(target, destination))
        return false;
    ColorsChanged();
    if (refresh && FCheckedIndex >= 0)
        SetSelectedCell(destination);
    return true;
}

void TmbColorPalette::SetSelectedCell(int index) {
    FCheckedIndex = index >= 0 && index < FColors.Count() ? index : -1;
    PictureChanged();
    emit selColorChange();
}

TColor TmbColorPalette::CellColor(int index) const {
    if (index < 0 || index >= FColors.Count())
        return clNone;
    return TryStringToColor(FColors.Colors()[index]).value_or(clNone);
}

TColor TmbColorPalette::SelectedColor() const {
    if (FCheckedIndex < 0 || FCheckedIndex >= FColors.Count())
        return FOld;
    return TryStringToColor(FColors.Colors()[FCheckedIndex]).value_or(FOld);
}

void TmbColorPalette::SetSelectedColor(TColor value) {
    if (FColors.Count() > 0)
        FCheckedIndex = FColors.IndexOfText(ColorToCode(value));
    FOld = value;
    PictureChanged();
    emit selColorChange();
}

void TmbColorPalette::SetMinColors(int value) {
    FColors.SetMinColors(value);
    ColorsChanged();
}

void TmbColorPalette::SetMaxColors(int value) {
    FColors.SetMaxColors(value);
    if (FCheckedIndex >= FColors.Count())
        FCheckedIndex = -1;
    ColorsChanged();
}

void TmbColorPalette::SetCellSize(int value) {
    value = std::max(value, 1);
    if (value == FCellSize)
        return;
    FCellSize = value;
    Relayout();
    PictureChanged();
}

void TmbColorPalette::SetAutoHeight(bool value) {
    if (value == FAutoHeight)
        return;
    FAutoHeight = value;
    Relayout();
    PictureChanged();
}

void TmbColorPalette::SetCellStyle(TCellStyle value) {
    if (value == FCellStyle)
        return;
    FCellStyle = value;
    PictureChanged();
}

void TmbColorPalette::SetTransparentStyle(TTransparentStyle value) {
    if (value == FTStyle)
        return;
    FTStyle = value;
    PictureChanged();
}

void TmbColorPalette::SetPalette(const QString& fileName) {
    QStringList colors;
    QStringList names;
    // Everything is read before the grid changes, so a failure leaves it as it was.
    try {
        switch (PaletteFormatOf(fileName)) {
        case PaletteFormat::Pal:
            for (const TColor c : ReadJASCPalette(fileName))
                colors.append(ColorToString(c));
            break;
        case PaletteFormat::Aco: {
            const AcoColors aco = ReadAcoPalette(fileName);
            for (const TColor c : aco.Colors)
                colors.append(ColorToString(c));
            if (aco.HasNames) {
                for (const QString& n : aco.Names)
                    names.append(n);
            }
            break;
        }
        case PaletteFormat::Act:
            for (const TColor c : ReadActPalette(fileName))
                colors.append(ColorToString(c));
            break;
        case PaletteFormat::Unknown:
            throw EPaletteError(UnsupportedPaletteMessage);
        }
    } catch (const EConvertError& e) {
        throw EPaletteError(e.Message());
    }
    FPalette = fileName;
    FColors.SetNames({});
    FColors.SetColors(colors);
    FColors.SetNames(names);
    if (FCheckedIndex >= FColors.Count())
        FCheckedIndex = -1;
    ColorsChanged();
    emit selColorChange();
}

void TmbColorPalette::SaveColorsAsPalette(const QString& fileName) const {
    if (PaletteFormatOf(fileName) != PaletteFormat::Pal)
        throw EPaletteError(UnsupportedSaveExtensionMessage);
    try {
        WriteJASCPalette(fileName, FColors.Colors());
    } catch (const EConvertError& e) {
        throw EPaletteError(e.Message());
    }
}

TColor TmbColorPalette::GetColorUnderCursor() const {
    return CellColor(FIndex);
}

int TmbColorPalette::GetIndexUnderCursor() const {
    return FIndex >= 0 && FIndex < FColors.Count() ? FIndex : -1;
}

QString TmbColorPalette::HintForCell(int index) const {
    if (index < 0 || index >= FColors.Count())
        return {};
    if (OnGetHintText) {
        QString hint;
        bool handled = false;
        OnGetHintText(CellColor(index), index, hint, handled);
        if (handled)
            return hint;
    }
    return PaletteCellHint(FColors.Colors()[index], FColors.NameAt(index), FHintFormat);
}

QSize TmbColorPalette::sizeHint() const {
    return size();
}

void TmbColorPalette::ColorsChanged() {
    FTotalCells = FColors.Count() - 1;
    if (FIndex > FTotalCells)
        FIndex = -1;
    Relayout();
    PictureChanged();
    emit colorsChange();
}

void TmbColorPalette::Relayout() {
    const PaletteLayout layout =
        ComputePaletteLayout(width(), height(), FCellSize, FAutoHeight, FColors.Count());
    FColCount = layout.colCount;
    FRowCount = layout.rowCount;
    if (FInLayout || QSize(layout.width, layout.height) == size())
        return;
    // The resize comes back through resizeEvent, which finds the size already right.
    FInLayout = true;
    resize(layout.width, layout.height);
    FInLayout = false;
}

void TmbColorPalette::PictureChanged() {
    FPictureStale = true;
    update();
}

void TmbColorPalette::RenderPicture() {
    const QPalette& pal = palette();
    if (FPicture.size() != size())
        FPicture = QImage(size(), QImage::Format_RGB32);
    const QColor face = pal.color(QPalette::Window);
    FPicture.fill(face);
    QPainter painter(&FPicture);
    PaletteCellLook look;
    look.style = FCellStyle;
    look.transparentStyle = FTStyle;
    look.enabled = isEnabled();
    look.shadow = ToTColor(pal.color(QPalette::Active, QPalette::Dark));
    look.face = ToTColor(face);
    look.highlight = ToTColor(pal.color(QPalette::Active, QPalette::Highlight));
    look.dark = ToTColor(pal.color(QPalette::Active, QPalette::WindowText));
    const QStringList& colors = FColors.Colors();
    const QRect bounds = FPicture.rect();
    for (int i = 0; i < colors.size(); ++i) {
        const QRect cell = CellRect(i);
        if (!cell.intersects(bounds))
            break;
        if (colors[i].isEmpty())
            continue;
        look.state = PaletteCellState(i, FCheckedIndex, FIndex, FMouseDown);
        if (OnPaintCell) {
            bool handled = false;
            OnPaintCell(painter, cell, CellColor(i), i, look.state, FCellStyle, handled);
            if (handled)
                continue;
        }
        look.text = colors[i];
        PaintPaletteCell(painter, cell, look);
    }
    FPictureStale = false;
}

bool TmbColorPalette::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int index = PaletteCellAt(help->pos(), FColCount, FCellSize, FTotalCells);
        const QString hint = index >= 0 ? HintForCell(index) : QString();
        if (hint.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        QToolTip::showText(help->globalPos(), SwatchHintText(hint), this, CellRect(index),
                           kHintHideMs);
        return true;
    }
    return QWidget::event(event);
}

void TmbColorPalette::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        PictureChanged();
    QWidget::changeEvent(event);
}

void TmbColorPalette::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
    PictureChanged();
}

QRect TmbColorPalette::FocusRect() const {
    if (FCheckedIndex >= 0 && FCheckedIndex < FColors.Count())
        return CellRect(FCheckedIndex) & rect();
    return rect();
}

void TmbColorPalette::paintEvent(QPaintEvent* event) {
    if (FPictureStale || FPicture.size() != size())
        RenderPicture();
    QPainter painter(this);
    painter.drawImage(event->rect(), FPicture, event->rect());
    DrawFocusFrame(painter, *this, FocusRect());
}

void TmbColorPalette::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void TmbColorPalette::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void TmbColorPalette::mouseMoveEvent(QMouseEvent* event) {
    const int index = PaletteCellAt(event->position().toPoint(), FColCount, FCellSize, FTotalCells);
    FMouseLoc = FMouseDown ? mlDown : mlOver;
    if (index != FIndex) {
        FIndex = index;
        PictureChanged();
        // A hint already showing follows the pointer to the next cell at once.
        if (QToolTip::isVisible()) {
            const QString hint = HintForCell(index);
            if (hint.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(event->globalPosition().toPoint(), SwatchHintText(hint), this,
                                   CellRect(index), kHintHideMs);
        }
    }
    QWidget::mouseMoveEvent(event);
}

void TmbColorPalette::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    FMouseDown = true;
    FMouseLoc = mlDown;
    // Remembered on every press: a press on the selected cell must not leave an older
    // selection behind for the click handler to return to.
    FOldIndex = FCheckedIndex;
    const int index = PaletteCellAt(event->position().toPoint(), FColCount, FCellSize, FTotalCells);
    FIndex = index;
    if (index >= 0 && index != FCheckedIndex)
        FCheckedIndex = index;
    PictureChanged();
    event->accept();
}

void TmbColorPalette::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasDown = FMouseDown;
    FMouseDown = false;
    const bool inside = rect().contains(event->position().toPoint());
    FMouseLoc = inside ? mlOver : mlNone;
    if (event->button() == Qt::LeftButton && wasDown && inside) {
        bool dontCheck = false;
        emit cellClick(event->button(), event->modifiers(), FCheckedIndex, CellColor(FCheckedIndex),
                       &dontCheck);
        if (dontCheck)
            FCheckedIndex = FOldIndex >= 0 && FOldIndex < FColors.Count() ? FOldIndex : -1;
    }
    PictureChanged();
    event->accept();
    emit selColorChange();
}

void TmbColorPalette::leaveEvent(QEvent* event) {
    FMouseOver = false;
    FMouseLoc = mlNone;
    if (FIndex != -1) {
        FIndex = -1;
        PictureChanged();
    }
    QWidget::leaveEvent(event);
}

void TmbColorPalette::enterEvent(QEnterEvent* event) {
    FMouseOver = true;
    FMouseLoc = mlOver;
    QWidget::enterEvent(event);
}

void TmbColorPalette::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Reported, then passed on: the grid has no use of its own for Enter, and in a dialog
        // it must still press the default button.
        emit selColorChange();
        event->ignore();
        return;
    case Qt::Key_Space:
        emit selColorChange();
        event->accept();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const ArrowKey key = event->key() == Qt::Key_Left    ? ArrowKey::Left
                             : event->key() == Qt::Key_Right ? ArrowKey::Right
                             : event->key() == Qt::Key_Up    ? ArrowKey::Up
                                                             : ArrowKey::Down;
        event->accept();
        // No columns or no cells: there is nowhere to move.
        const auto next = PaletteArrowMove(key, FCheckedIndex, FColCount, FTotalCells);
        if (!next)
            return;
        FCheckedIndex = *next;
        emit arrowKey(event->key(), event->modifiers());
        PictureChanged();
        emit selColorChange();
        return;
    }
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace chromint
