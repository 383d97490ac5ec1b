#pragma once

#include "ColorTypes.h"
#include "Contrast.h"
#include "DialogCommands.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <optional>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace chromint {

class TmbColorPreview;

// The favourites the menu offers, read from their "$00BBGGRR" texts; unreadable ones are left
// out.
std::vector<TColor> FavouriteColors(const QStringList& favourites);

// "✓ Pass" or "✗ Fail": a mark and a word, so the result never rests on colour alone.
QString PassText(bool passes);

// What the second colour's edit makes of its text: the colour, or nothing with the reason.
struct OtherColorText {
    std::optional<TColor> color;
    QString message; // empty when all is well
};
OtherColorText ReadOtherColorText(const QString& text);

// The line under the nearest passing colour, and whether "Use this colour" can be pressed.
struct NearestState {
    std::optional<TColor> color; // what the swatch shows
    QString note;
    bool usable = false;
};
NearestState DescribeNearest(TColor current, TColor other, ContrastRole role,
                             const ContrastTarget& target);

// The text colour on the background at the sizes the criteria speak of: 12 and 16 px
// regular (normal text), 18.66 px bold and 24 px (large text).
class TContrastSample : public QWidget {
    Q_OBJECT
public:
    explicit TContrastSample(QWidget* parent = nullptr);

    void SetColors(TColor text, TColor background);
    TColor TextColor() const { return text_; }
    TColor BackgroundColor() const { return background_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor text_ = clBlack;
    TColor background_ = clWhite;
};

// "Contrast": the current colour against a second one (white at first), by the WCAG 2.2
// ratio and the APCA lightness contrast, with a live sample and the nearest colour that
// passes a chosen level.
class TContrastDialog : public QDialog {
    Q_OBJECT
public:
    explicit TContrastDialog(TColor current = clBlack, const QStringList& favourites = {},
                             QWidget* parent = nullptr);

    TColor CurrentColor() const { return current_; }
    TColor OtherColor() const { return other_; }
    // Which way round the pair is read: the current colour as the text (at first), or as the
    // background.
    bool CurrentIsText() const { return currentIsText_; }
    TColor TextColor() const { return currentIsText_ ? current_ : other_; }
    TColor BackgroundColor() const { return currentIsText_ ? other_ : current_; }
    const NearestState& Nearest() const { return nearest_; }

    void SetCurrentColor(TColor color);
    // Also rewrites the edit's text.
    void SetOtherColor(TColor color);
    void Swap();
    // Called with the nearest passing colour when "Use this colour" is pressed; the dialog's
    // current colour follows.
    void SetMakeCurrent(MakeCurrentFn makeCurrent) { makeCurrent_ = std::move(makeCurrent); }

    TmbColorPreview* CurrentSwatch = nullptr;
    QLabel* lblCurrentHex = nullptr;
    QPushButton* btnOtherSwatch = nullptr;
    QLineEdit* edtOther = nullptr;
    QLabel* lblOtherMessage = nullptr;
    QPushButton* btnPick = nullptr;
    QPushButton* btnFavourites = nullptr;
    QPushButton* btnSwap = nullptr;
    QLabel* lblRoles = nullptr;
    QLabel* lblRatio = nullptr;
    std::array<QLabel*, WcagLevelCount> lblWcag{}; // "lblWcag0".."lblWcag4", by WcagLevel
    QLabel* lblLc = nullptr;
    QLabel* lblLcUse = nullptr;
    TContrastSample* Sample = nullptr;
    QComboBox* cbTarget = nullptr;
    TmbColorPreview* NearestSwatch = nullptr;
    QLabel* lblNearestHex = nullptr;
    QLabel* lblNearestNote = nullptr;
    QPushButton* btnUseNearest = nullptr;
    QPushButton* btnClose = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ApplyOtherText(bool showErrors);
    void ShowOtherMessage(const QString& message, bool error);
    void ChooseOtherColor();
    void PickOtherColor();
    void UseNearest();
    void UpdateResults();

    TColor current_ = clBlack;
    TColor other_ = clWhite;
    bool currentIsText_ = true;
    NearestState nearest_;
    MakeCurrentFn makeCurrent_;
};

// "Contrast...": the checker for the current colour; "Use this colour" makes the nearest
// passing colour current through makeCurrent.
void RunContrastCommand(QWidget* parent, TColor current, const QStringList& favourites,
                        const MakeCurrentFn& makeCurrent);

} // namespace chromint
