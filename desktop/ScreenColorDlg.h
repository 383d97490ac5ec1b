#pragma once

#include "ColorTypes.h"
#include "FrozenFramePicker.h"
#include "HotKeyManager.h"

#include <QDialog>
#include <QPoint>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QDoubleSpinBox;
class QLabel;

namespace chromint {

class ScreenAccess;
class TIdleTimer;
class TJvZoom;
class TStayOnTopFixer;
class TmbColorPreview;

// The colour of the one screen pixel at point (whole-desktop coordinates, physical pixels);
// clNone where the session cannot read the screen or the point is on no screen.
TColor ScreenPixelColor(QPoint point);
// The colour under the mouse pointer, nothing where it cannot be read.
std::optional<TColor> PixelUnderPointer();

// The picker's face, 193 x 133 or wider where the font needs it for the read-out: a magnifier
// following the pointer, the pointer's position, the pixel's swatch and values, and the zoom
// factor. It reads the session's screen, or a still picture of it.
class TScreenColorPanel : public QWidget {
    Q_OBJECT
public:
    TScreenColorPanel(double zoom, ScreenAccess& source, QWidget* parent = nullptr);

    TJvZoom* Zoom() const { return zoom_; }
    // The colour under the magnifier's cross-hair; clNone where it cannot be read.
    TColor Color() const;
    // Reads the position and the pixel at the magnifier's point.
    void ZoomContentsChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    void edtZoomChange(double value);
    // Sizes the face for its font: the read-out's widest texts side by side on one line.
    void LayOut();

    ScreenAccess& source_;
    TJvZoom* zoom_ = nullptr;
    TmbColorPreview* desktopSwatch_ = nullptr;
    QDoubleSpinBox* edtZoom_ = nullptr;
    QLabel* lblPosition_ = nullptr;
    QLabel* lblColor_ = nullptr;
};

// The stay-on-top "Screen color" window: a magnifier following the pointer, the pointer's
// position, the pixel's swatch and values, and a line saying which keys take the colour and
// cancel. Ctrl+Shift+X confirms and Esc cancels from any program while the window is shown.
class TScreenColorDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* ConfirmHotKeyText = "Ctrl+Shift+X";
    static constexpr const char* CancelHotKeyText = "Esc";
    static constexpr int IdleFreezeMs = 1000;
    static constexpr int CornerDistance = 25;

    explicit TScreenColorDialog(double zoom, QWidget* parent = nullptr);
    ~TScreenColorDialog() override;

    bool Execute();
    // The picked colour.
    TColor Color() const;

    TJvZoom* Zoom() const { return panel_->Zoom(); }
    THotKeyManager* HotKeyManager() const { return hotKeys_; }

    // The picker's reactions, public so tests can drive them without waiting.
    void IdleChanged(quint32 idleTime);
    void ZoomContentsChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOut();
    // The outer frame in the lower-right corner of the primary screen's work area.
    void PlaceInCorner();

    TScreenColorPanel* panel_ = nullptr;
    QLabel* hint_ = nullptr;
    QStringList hintParts_; // what takes the colour, what cancels
    THotKeyManager* hotKeys_ = nullptr;
    THotKey cancelHotKey_ = 0;
    std::uint16_t cancelIndex_ = 0; // while shown, when Esc could be registered
    bool placedByFrame_ = false;
    std::unique_ptr<TStayOnTopFixer> fixer_;
    std::unique_ptr<TIdleTimer> idleTimer_;
};

// Zoom percentage for the spin value: the nearest integer to value x 100, halves to even.
int ZoomPercentageForValue(double value);
// "R: 255   G: 0   B: 0".
QString ColorValuesText(TColor color);

// The main window's "Alt+X": registers it (0 when another program holds it, which is left
// alone silently) and makes each press hand the pixel under the pointer to applyColor
// (GetAll(colour, false)) at once, without question or window. Presses where the pixel cannot
// be read do nothing; in a session that cannot read the screen live (Wayland), a press runs
// pickInstead, a pick the desktop allows. The connection lives as long as manager.
std::uint16_t InstallMainWindowHotKey(THotKeyManager& manager,
                                      std::function<void(TColor)> applyColor,
                                      std::function<void()> pickInstead = {});

// How to get a key for picking where the desktop gives programs no global keys.
QString PickCommandKeyAdvice();

// What "From screen..." needs from the main window.
struct ScreenColorCommandHooks {
    QWidget* mainWindow = nullptr;
    // The main window's hot keys: cleared while the picker runs, "Alt+X" registered again.
    THotKeyManager* hotKeys = nullptr;
    // The web-only question; nothing when the user cancels it.
    std::function<std::optional<TColor>(TColor)> confirmColor;
    // Makes the colour current (GetAll(colour, false)).
    std::function<void(TColor)> applyColor;
    // Runs the dialog; tests replace it. By default Execute().
    std::function<bool(TScreenColorDialog&)> execute;
    // Where the screen cannot be read live: a pick from a still frame of it. By default a
    // picture of the desktop through DesktopCapture() with the still-frame picker over it.
    std::function<ScreenPick()> pickStill;
    // Tells the user why no colour could be taken.
    std::function<void(const QString&)> showMessage;
};

// A colour from a still frame of the desktop, through the still-frame picker.
ScreenPick PickFromStillFrame(double zoom);

// "From screen...": minimise the main window, let the user pick, apply the colour through
// the question, and always restore the main window and its hot key, also after an error.
// Where the screen cannot be read live, the pick is made on a still frame of the desktop
// (the main window stays where it is, so its colours can be picked too); a failure is shown.
// Answers whether a colour was applied.
bool RunScreenColorCommand(const ScreenColorCommandHooks& hooks);

} // namespace chromint
