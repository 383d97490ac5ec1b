#pragma once

#include "ColorTypes.h"
#include "PaletteModel.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QPainter;

namespace chromint {

enum TMouseLoc { mlNone, mlOver, mlDown };
enum TColorCellState { ccsNone, ccsOver, ccsDown, ccsChecked, ccsCheckedHover };
enum TSortMode { smNone };
enum TSortOrder { soAscending, soDescending };
enum TTransparentStyle { tsPhotoshop, tsPhotoshop2, tsCorel, tsMicroangelo, tsNone };
enum TCellStyle { csDefault, csCorel };

// What the painter needs to know about one cell.
struct PaletteCellLook {
    QString text; // the cell's colour string; empty is a gap
    TColorCellState state = ccsNone;
    TCellStyle style = csDefault;
    TTransparentStyle transparentStyle = tsNone;
    bool enabled = true;
    TColor shadow = 0x808080; // the outline of a default cell
    TColor face = 0xF0F0F0;   // the control's background
    TColor highlight = 0xD77800;
    TColor dark = 0x000000;
};

// The state a cell is painted in, from the selection, the cell under the mouse and the button.
TColorCellState PaletteCellState(int index, int selected, int hovered, bool mouseDown);

// Paints one cell into its rectangle; the background is already there.
void PaintPaletteCell(QPainter& painter, const QRect& rect, const PaletteCellLook& look);

// The hint of a cell without an OnGetHintText answer: its name, the marker's word ("Custom",
// "Transparent") for unnamed "clCustom" and "clTransparent" cells, or the template expanded.
// Empty for a gap or a string that is not a colour.
QString PaletteCellHint(const QString& text, const QString& name, const QString& hintFormat);

// The swatch grid: an ordered list of colour strings with optional names, shown as square
// cells in rows, with a selected cell, hints and click reports. The favourites strip, the
// palette page and the scheme grids are all this control.
class TmbColorPalette : public QWidget {
    Q_OBJECT

public:
    static constexpr int DefaultWidth = 180;
    static constexpr int DefaultHeight = 126;
    static constexpr int DefaultCellSize = 18;
    static inline const QString DefaultHintFormat = QStringLiteral("RGB(%r, %g, %b)\rHex: %hex");

    // A handler paints the cell itself and sets handled, or leaves it for the grid.
    using PaintCellHandler =
        std::function<void(QPainter& painter, const QRect& cellRect, TColor color, int index,
                           TColorCellState state, TCellStyle style, bool& handled)>;
    // A handler may replace a cell's hint text and set handled.
    using GetHintTextHandler =
        std::function<void(TColor color, int index, QString& hint, bool& handled)>;

    explicit TmbColorPalette(QWidget* parent = nullptr);

    // The list: changes through these raise colorsChange.
    const QStringList& Colors() const { return FColors.Colors(); }
    void SetColors(const QStringList& colors);
    const QStringList& ColorNames() const { return FColors.Names(); }
    void SetColorNames(const QStringList& names);

    void AddColor(const QString& name, const QString& value, bool refresh = true);
    void InsertColor(int index, const QString& name, const QString& value, bool refresh = true);
    void DeleteColor(int index, bool refresh = true);
    bool ClearColors();
    bool ClearNames();
    bool MoveColor(int target, int destination, bool refresh = true);

    int SelectedCell() const { return FCheckedIndex; }
    void SetSelectedCell(int index);
    // The selected cell's colour, or the last colour given to SetSelectedColor when nothing
    // (or a cell that does not read as a colour) is selected.
    TColor SelectedColor() const;
    // Selects the first cell holding the colour in "$00BBGGRR" form, case ignored.
    void SetSelectedColor(TColor value);

    int MinColors() const { return FColors.MinColors(); }
    void SetMinColors(int value);
    int MaxColors() const { return FColors.MaxColors(); }
    void SetMaxColors(int value);

    int CellSize() const { return FCellSize; }
    // At least one pixel.
    void SetCellSize(int value);
    bool AutoHeight() const { return FAutoHeight; }
    void SetAutoHeight(bool value);

    QString HintFormat() const { return FHintFormat; }
    void SetHintFormat(const QString& value) { FHintFormat = value; }

    TCellStyle CellStyle() const { return FCellStyle; }
    void SetCellStyle(TCellStyle value);
    TTransparentStyle TransparentStyle() const { return FTStyle; }
    void SetTransparentStyle(TTransparentStyle value);
    TSortMode SortMode() const { return FSort; }
    void SetSortMode(TSortMode value) { FSort = value; }
    TSortOrder SortOrder() const { return FOrder; }
    void SetSortOrder(TSortOrder value) { FOrder = value; }

    // Loads a ".pal", ".aco" or ".act" file into the grid. Throws EPaletteError with the
    // message for the user; a failed load leaves colours and names as they were.
    QString Palette() const { return FPalette; }
    void SetPalette(const QString& fileName);
    // Writes the colours as a JASC ".pal" file, replacing any old file only when the new one
    // is complete. Throws EPaletteError.
    void SaveColorsAsPalette(const QString& fileName) const;

    TColor GetColorUnderCursor() const;
    int GetIndexUnderCursor() const;

    int ColCount() const { return FColCount; }
    int RowCount() const { return FRowCount; }
    int TotalCells() const { return FTotalCells; }
    TMouseLoc MouseLoc() const { return FMouseLoc; }
    QRect CellRect(int index) const { return PaletteCellRect(index, FColCount, FCellSize); }

    PaintCellHandler OnPaintCell;
    GetHintTextHandler OnGetHintText;

    // The hint the grid shows over a cell; empty when it shows none.
    QString HintForCell(int index) const;

    QSize sizeHint() const override;

signals:
    // OnCellClick: a left click released inside the grid. Set *dontCheck to put the selection
    // back where it was before the press. Connect directly: the flag is read on return.
    void cellClick(Qt::MouseButton button, Qt::KeyboardModifiers shift, int index,
                   chromint::TColor color, bool* dontCheck);
    // OnSelColorChange
    void selColorChange();
    // OnColorsChange
    void colorsChange();
    // OnArrowKey: an arrow key moved the selection.
    void arrowKey(int key, Qt::KeyboardModifiers shift);

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ColorsChanged();
    void Relayout();
    void PictureChanged();
    void RenderPicture();
    TColor CellColor(int index) const;
    // Where the focus frame goes: round the selected cell, or the whole grid without one.
    QRect FocusRect() const;

    TMouseLoc FMouseLoc = mlNone;
    bool FMouseOver = false;
    bool FMouseDown = false;
    bool FAutoHeight = false;
    int FColCount = 0;
    int FRowCount = 0;
    int FIndex = -1;
    int FCheckedIndex = -1;
    int FCellSize = DefaultCellSize;
    int FTotalCells = -1;
    TPaletteList FColors;
    QString FPalette;
    QString FHintFormat = DefaultHintFormat;
    TSortMode FSort = smNone;
    TSortOrder FOrder = soAscending;
    TColor FOld = clNone;
    TTransparentStyle FTStyle = tsNone;
    int FOldIndex = -1;
    TCellStyle FCellStyle = csDefault;

    QImage FPicture;
    bool FPictureStale = true;
    bool FInLayout = false;
};

} // namespace chromint
