#pragma once

#include "ColorTypes.h"

#include <QFont>
#include <QListWidget>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <stdexcept>
#include <vector>

namespace chromint {

// One named colour of a colour list.
struct TmbColor {
    QString Name;
    TColor Value = clBlack;
    friend bool operator==(const TmbColor&, const TmbColor&) = default;
};

// Raised by the list's index checks; what() is the text the user is shown.
class ColorListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int ColorListItemHeight = 42;
// How long a list hint waits before showing again, and how long it stays.
inline constexpr int ColorListHintReshowMs = 2000;
inline constexpr int ColorListHintHideMs = 1000;

// The texts of the index errors.
QString ColorListEmptyText();
QString ColorListOutOfBoundsText(int index);

// The numbers between a list row and its pixels, testable without painting.
// The swatch box of an item: 4 pixels in from its top-left, itemHeight - 8 pixels square.
QRect ColorListSwatchBox(QRect item, int itemHeight);
// The name line, for a name textHeight pixels high.
QRect ColorListNameRect(QRect item, int itemHeight, int textHeight);
// The values line below it, for values text textHeight pixels high.
QRect ColorListValuesRect(QRect item, int itemHeight, int textHeight);
// "RGB: r g b" of a colour (a system colour by its current value).
QString ColorListValuesText(TColor color);
// The hint of an entry: its name, or, when a handler claimed the hint, the handler's text with
// the colour's numbers filled in.
QString ColorListHintText(const TmbColor& entry, const QString& handlerText, bool handled);

// An owner-drawn list of named colours: each row shows a swatch, the name and the RGB values.
// The row strings always follow the names in Colors once UpdateColors has run.
class TmbColorList : public QListWidget {
    Q_OBJECT

public:
    // May change the name line's text and font before it is drawn.
    using DrawCaptionHandler = std::function<void(TmbColorList* sender, int index, QFont& font,
                                                  QString& text, bool selected)>;
    // May supply a hint template for an entry by setting handled.
    using GetHintHandler = std::function<void(int index, QString& hint, bool& handled)>;

    explicit TmbColorList(QWidget* parent = nullptr);
    ~TmbColorList() override;

    std::vector<TmbColor> Colors;
    DrawCaptionHandler OnDrawCaption;
    GetHintHandler OnGetHint;

    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);

    void UpdateColors();
    void AddColor(const QString& name, TColor value, bool refresh = true);
    void ClearColors();
    int ColorCount() const { return static_cast<int>(Colors.size()); }
    // Throws ColorListError on an empty list or an index outside 0..count - 1.
    void DeleteColor(int index, bool refresh = true);
    // Walks from the last entry to the first; without all, stops after the first deletion.
    void DeleteColorByName(const QString& name, bool all);
    void DeleteColorByValue(TColor value, bool all);
    // Inserts before the entry at index; throws ColorListError for an index outside
    // 0..count - 1 (appending is AddColor's job).
    void InsertColor(int index, const QString& name, TColor value);
    int IndexOf(TColor value) const;

    // The hint for the row under a point of the viewport, empty when there is none.
    QString HintAt(QPoint viewportPos);

    // Paints row index into rect; does nothing for a row with no entry behind it.
    void PaintItem(QPainter& painter, QRect rect, int index, bool selected);

protected:
    bool viewportEvent(QEvent* event) override;

private:
    // Walks from the last entry to the first; without all, stops after the first deletion.
    void DeleteColorsWhere(const std::function<bool(const TmbColor&)>& match, bool all);

    int itemHeight_ = ColorListItemHeight;
};

} // namespace chromint
