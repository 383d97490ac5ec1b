#include "mbColorList.h"

#include "ColorOperations.h"
#include "ColorPreviewLayout.h"
#include "FocusFrame.h"
#include "FormatHint.h"
#include "PickerConversions.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <qdrawutil.h>

#include <algorithm>

namespace chromint {

namespace {

// The desktop entry of the system colours: the pen of a selected row's swatch box.
constexpr TColor DesktopSystemColor = SystemColorFlag | 1;

// Every row is painted by the list itself, so the delegate only hands the work over and
// gives every row the list's fixed height.
class ColorListDelegate : public QStyledItemDelegate {
public:
    explicit ColorListDelegate(TmbColorList* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        list_->PaintItem(*painter, option.rect, index.row(),
                         option.state.testFlag(QStyle::State_Selected));
        // The view marks its current row this way while it has the focus.
        if (option.state.testFlag(QStyle::State_HasFocus))
            DrawFocusFrame(*painter, *list_, option.rect);
    }

    // No width of its own: a row is drawn to the width the view gives it, eliding the name,
    // so a row never asks for more than the viewport and never brings a horizontal scroll bar.
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {0, list_->ItemHeight()};
    }

private:
    TmbColorList* list_;
};

QRect Shrunk(QRect r, int depth) {
    return r.adjusted(depth, depth, -depth, -depth);
}

} // namespace

QString ColorListEmptyText() {
    return QStringLiteral("There's nothing to delete! The length of the array is 0.");
}

QString ColorListOutOfBoundsText(int index) {
    return QStringLiteral("List index out of bounds (%1)").arg(index);
}

QRect ColorListSwatchBox(QRect item, int itemHeight) {
    return {item.left() + 4, item.top() + 4, itemHeight - 8, itemHeight - 8};
}

QRect ColorListNameRect(QRect item, int itemHeight, int textHeight) {
    const int gap = (itemHeight - textHeight) / 4;
    // Right and bottom are exclusive edges here, as the rows are laid out.
    const int right = item.left() + item.width();
    const int bottom = item.top() + item.height();
    return QRect(QPoint(item.left() + itemHeight, item.top() + gap),
                 QPoint(right - 1, bottom - gap - 1));
}

QRect ColorListValuesRect(QRect item, int itemHeight, int textHeight) {
    const int gap = (itemHeight - textHeight) / 4;
    const int right = item.left() + item.width();
    const int bottom = item.top() + item.height();
    return QRect(QPoint(item.left() + itemHeight, bottom - gap * 3 + 2),
                 QPoint(right - 1, bottom - gap - 1));
}

QString ColorListValuesText(TColor color) {
    const TColor rgb = ResolveSystemColor(color);
    return QStringLiteral("RGB: %1 %2 %3")
        .arg(GetRValue(rgb))
        .arg(GetGValue(rgb))
        .arg(GetBValue(rgb));
}

QString ColorListHintText(const TmbColor& entry, const QString& handlerText, bool handled) {
    if (!handled)
        return entry.Name;
    return QString::fromStdString(FormatHint(handlerText.toStdString(), entry.Value));
}

TmbColorList::TmbColorList(QWidget* parent) : QListWidget(parent) {
    // The list's HSL read-outs use the 360, 255, 255 scale.
    SetPickerHSLScale(360, 255, 255);
    setItemDelegate(new ColorListDelegate(this));
    setUniformItemSizes(true);
    setMouseTracking(true);
    setToolTipDuration(ColorListHintHideMs);
}

TmbColorList::~TmbColorList() = default;

void TmbColorList::SetItemHeight(int height) {
    if (height <= 0 || height == itemHeight_)
        return;
    itemHeight_ = height;
    // Uniform row sizes are cached by the view: make it measure again.
    doItemsLayout();
    viewport()->update();
}

void TmbColorList::UpdateColors() {
    clear();
    for (const TmbColor& entry : Colors)
        addItem(entry.Name);
}

void TmbColorList::AddColor(const QString& name, TColor value, bool refresh) {
    Colors.push_back({name, value});
    if (refresh)
        UpdateColors();
}

void TmbColorList::ClearColors() {
    Colors.clear();
    UpdateColors();
}

void TmbColorList::DeleteColor(int index, bool refresh) {
    if (Colors.empty())
        throw ColorListError(ColorListEmptyText().toStdString());
    if (index < 0 || index >= ColorCount())
        throw ColorListError(ColorListOutOfBoundsText(index).toStdString());
    Colors.erase(Colors.begin() + index);
    if (refresh)
        UpdateColors();
}

void TmbColorList::DeleteColorsWhere(const std::function<bool(const TmbColor&)>& match, bool all) {
    for (int i = ColorCount() - 1; i >= 0; --i) {
        if (!match(Colors[static_cast<std::size_t>(i)]))
            continue;
        Colors.erase(Colors.begin() + i);
        if (!all)
            break;
    }
    UpdateColors();
}

void TmbColorList::DeleteColorByName(const QString& name, bool all) {
    DeleteColorsWhere(
        [&name](const TmbColor& c) { return c.Name.compare(name, Qt::CaseInsensitive) == 0; }, all);
}

void TmbColorList::DeleteColorByValue(TColor value, bool all) {
    DeleteColorsWhere([value](const TmbColor& c) { return c.Value == value; }, all);
}

void TmbColorList::InsertColor(int index, const QString& name, TColor value) {
    if (index < 0 || index >= ColorCount())
        throw ColorListError(ColorListOutOfBoundsText(index).toStdString());
    Colors.insert(Colors.begin() + index, TmbColor{name, value});
    UpdateColors();
}

int TmbColorList::IndexOf(TColor value) const {
    const auto it = std::find_if(Colors.begin(), Colors.end(),
                                 [value](const TmbColor& c) { return c.Value == value; });
    return it == Colors.end() ? -1 : static_cast<int>(it - Colors.begin());
}

QString TmbColorList::HintAt(QPoint viewportPos) {
    if (!viewport()->rect().contains(viewportPos))
        return {};
    const QModelIndex index = indexAt(viewportPos);
    // A row the entries no longer back (added by hand, or before a refresh) has no hint.
    if (!index.isValid() || index.row() >= ColorCount())
        return {};
    const TmbColor& entry = Colors[static_cast<std::size_t>(index.row())];
    QString text;
    bool handled = false;
    if (OnGetHint) {
        try {
            OnGetHint(index.row(), text, handled);
        } catch (...) {
            // A failing handler must not take the event loop down; the name still helps.
            handled = false;
        }
    }
    return ColorListHintText(entry, text, handled);
}

void TmbColorList::PaintItem(QPainter& painter, QRect rect, int index, bool selected) {
    // Rows are named by the item strings; only those with an entry behind them are drawn.
    if (index < 0 || index >= ColorCount())
        return;
    const TmbColor& entry = Colors[static_cast<std::size_t>(index)];
    const QPalette& pal = palette();
    const QColor window = pal.color(QPalette::Active, QPalette::Base);
    const QColor background =
        pal.color(QPalette::Active, selected ? QPalette::Highlight : QPalette::Base);
    const QColor textColor =
        pal.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text);
    const TColor color = ResolveSystemColor(entry.Value);

    painter.save();
    painter.fillRect(rect, background);
    painter.setPen(selected ? window : ToQColor(clSilver));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(Shrunk(rect, 1).adjusted(0, 0, -1, -1));

    const QRect box = ColorListSwatchBox(rect, itemHeight_);
    if (selected) {
        painter.setPen(ToQColor(ResolveSystemColor(DesktopSystemColor)));
        painter.setBrush(window);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.fillRect(Shrunk(box, 2), ToQColor(MixOpacity(color, clBlack, 75)));
        painter.fillRect(Shrunk(box, 3), ToQColor(MixOpacity(color, clBlack, 87)));
        painter.fillRect(Shrunk(box, 4), ToQColor(color));
    } else {
        qDrawShadePanel(&painter, box, pal, true, 1);
        const QRect inner = Shrunk(box, 2);
        painter.setPen(Qt::black);
        painter.setBrush(ToQColor(color));
        painter.drawRect(inner.adjusted(0, 0, -1, -1));
    }

    QFont font = this->font();
    font.setBold(selected);
    QString text = item(index) ? item(index)->text() : entry.Name;
    if (OnDrawCaption) {
        try {
            OnDrawCaption(this, index, font, text, selected);
        } catch (...) {
            // Painting goes on with the plain caption rather than failing the repaint.
        }
    }
    painter.setPen(textColor);
    painter.setFont(font);
    const QFontMetrics nameMetrics(font);
    const QRect nameRect = ColorListNameRect(rect, itemHeight_, nameMetrics.height());
    painter.drawText(nameRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     nameMetrics.elidedText(text, Qt::ElideRight, nameRect.width()));

    QFont valuesFont = this->font();
    if (valuesFont.pointSizeF() > 1)
        valuesFont.setPointSizeF(valuesFont.pointSizeF() - 1);
    painter.setFont(valuesFont);
    const QFontMetrics valuesMetrics(valuesFont);
    const QRect valuesRect = ColorListValuesRect(rect, itemHeight_, valuesMetrics.height());
    painter.drawText(valuesRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     valuesMetrics.elidedText(ColorListValuesText(entry.Value), Qt::ElideRight,
                                              valuesRect.width()));
    painter.restore();
}

bool TmbColorList::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString hint = HintAt(help->pos());
        if (hint.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const QModelIndex index = indexAt(help->pos());
        QToolTip::showText(help->globalPos(), SwatchHintText(hint), viewport(), visualRect(index),
                           ColorListHintHideMs);
        return true;
    }
    return QListWidget::viewportEvent(event);
}

} // namespace chromint
