#pragma once

#include "ColorTypes.h"
#include "CopyMenu.h"
#include "CustomFormats.h"
#include "SettingsStore.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QToolButton;

namespace chromint {

class TSettings;
class TColorSpinEdit;
class TGaugeStrip;
class THColorPicker;
class THotKeyManager;
class THSLColorPicker;
class THSVColorPicker;
class TSLColorPicker;
class TVColorPicker;
class TmbColorPalette;
class TmbColorPreview;

// The main window: one current colour shown at once in every editor, swatch and picker; an
// edit anywhere is pushed to all the other views.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    // Loads the settings from the store, or from the user's settings file without one.
    explicit TMainForm(std::unique_ptr<SettingsStore> store = nullptr, QWidget* parent = nullptr);
    ~TMainForm() override;

    TSettings& Settings() { return *FSettings; }

    // The single way a colour source makes a colour current. Protected leaves the active
    // picker page alone, since it is the source of the change.
    void GetAll(TColor color, bool isProtected);
    TColor CurrentColor() const;
    bool WebOnly() const;

    // Asks the web-only question when needed: the colour to make current, or nothing when
    // the user cancelled the command.
    std::optional<TColor> ConfirmWebColor(TColor color);

    // What the editors show, as whole numbers.
    EditorValues EditorsShown() const;

    // "chromint --pick" and Alt+X where the screen cannot be read live: one colour from the
    // screen, made current without question, the window brought forward; a failure other
    // than a cancel is shown.
    void PickFromScreen();
    // "From image..." with this picture already open (a dropped file, a command-line one).
    void OpenPicture(const QString& fileName);
    // Pictures named on a command line: the first opens in "From image...", the others join
    // its recent files.
    void OpenPictures(const QStringList& fileNames);

signals:
    void currentColorChanged(TColor color);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // How to get a picking key where Alt+X cannot be had; empty where it can.
    QString FHotKeyAdvice;

    void CreateControls();
    void CreateActions();
    void CreateMenus();
    void FormCreate(std::unique_ptr<SettingsStore> store);
    // Saves the window's state; askOnFailure lets it tell the user when that failed.
    void FormDestroy(bool askOnFailure);

    // Push routines: each writes its views with FUpdate set.
    void GetRGB(TColor color);
    void GetHSL(TColor color);
    void GetCMYK(TColor color);
    void GetLab(TColor color);
    void GetDeveloper(TColor color);
    void UpdateColor(TColor color, bool isProtected);
    using PushRoutine = void (TMainForm::*)(TColor);
    // GetAll but for the push routine of the editor the colour was typed into: rewriting that
    // editor would round away what the user is typing.
    void PushColor(TColor color, bool isProtected, PushRoutine typedIn);
    void UpdateButtons();
    void ChangeWebPalette();

    // Picker change handlers.
    void HSLPickerChange();
    void SLPickerChange();
    void HuePickerChange();
    void HSVPickerChange();
    void LightnessPickerChange();

    // Editor change handlers.
    void RGBChange();
    void HSLChange();
    void CMYKChange();
    void LabChange();
    void edtDeveloperChange();
    void cbDeveloperChange();
    void edtDeveloperExit();
    // The code box at its place, or widened to show all its text while it has the focus.
    void FitCodeBox();

    // Commands.
    void aWebSafeExecute();
    void aVisualExecute(int tag);
    void btnWebSafeClick();
    void btnWebSmartClick();
    void miCopyClick();
    void miCustomFormatsClick();
    std::vector<CustomFormat> StoredCustomFormats() const;
    void ColorCopy(QAction* item);
    void DesaturateMethodClick(int tag);
    void miInvertClick();
    void SwapRGB(int tag);
    void RandomizeColor(int tag);
    void ColorMenuPopup();
    // A click on a favourites or palette cell (index -1: no cell).
    void PaletteCellClick(Qt::MouseButton button, Qt::KeyboardModifiers shift, int index,
                          TColor color, bool* dontCheck);
    void miAddToFavouritesClick();
    void miFromFavouritesClick();
    void AppMenuPopup();
    void miHelpTopicsClick();
    void miQelvoOnlineClick();
    void miChromintOnlineClick();
    void miAboutClick();
    void miColorFromScreenClick();
    // What the colour commands need from the window: the web-only question, and GetAll.
    std::function<std::optional<TColor>(TColor)> ConfirmCallback();
    std::function<void(TColor)> MakeCurrentCallback();
    // The end of every colour operation: snap in web-only mode, then make it current.
    void ApplyOperationResult(TColor color);

    void TintHSLGauges();

    bool FUpdate = false;
    std::unique_ptr<TSettings> FSettings;
    THotKeyManager* HotKeyManager = nullptr;
    bool FDestroyed = false;

    // Header.
    QLabel* Image = nullptr;
    QToolButton* AppButton = nullptr;
    QFrame* Bevel = nullptr;
    // Left column.
    QTabWidget* PageControl = nullptr;
    QWidget* tsStandard = nullptr;
    QWidget* tsHSL = nullptr;
    QWidget* tsHSV = nullptr;
    QWidget* tsSwatches = nullptr;
    THSLColorPicker* HSLPicker = nullptr;
    TSLColorPicker* SLPicker = nullptr;
    THColorPicker* HuePicker = nullptr;
    THSVColorPicker* HSVPicker = nullptr;
    TVColorPicker* LightnessPicker = nullptr;
    QCheckBox* cbWebSafe = nullptr;
    QFrame* Panel1 = nullptr;
    TmbColorPalette* Favourites = nullptr;
    // The hidden "Swatches" page.
    QComboBox* cbPalette = nullptr;
    QToolButton* btnPalette = nullptr;
    TmbColorPalette* Palette = nullptr;
    // Right column.
    TmbColorPreview* Swatch = nullptr;
    TmbColorPreview* AlphaSwatch = nullptr;
    TmbColorPreview* SwatchSafe = nullptr;
    TmbColorPreview* SwatchSmart = nullptr;
    QToolButton* btnColor = nullptr;
    QToolButton* btnWebSafe = nullptr;
    QToolButton* btnWebSmart = nullptr;
    QToolButton* btnAddToPalette = nullptr;
    QToolButton* btnAddToFavourites = nullptr;
    TColorSpinEdit *edtR = nullptr, *edtG = nullptr, *edtB = nullptr;
    TColorSpinEdit *edtH = nullptr, *edtS = nullptr, *edtL = nullptr;
    TColorSpinEdit *edtC = nullptr, *edtM = nullptr, *edtY = nullptr, *edtK = nullptr;
    TColorSpinEdit *edtCIEL = nullptr, *edtCIEa = nullptr, *edtCIEb = nullptr;
    TGaugeStrip *gaugeR = nullptr, *gaugeG = nullptr, *gaugeB = nullptr;
    TGaugeStrip *gaugeH = nullptr, *gaugeS = nullptr, *gaugeL = nullptr;
    TGaugeStrip *gaugeC = nullptr, *gaugeM = nullptr, *gaugeY = nullptr, *gaugeK = nullptr;
    TGaugeStrip *gaugeCIEL = nullptr, *gaugeCIEa = nullptr, *gaugeCIEb = nullptr;
    QComboBox* cbDeveloper = nullptr;
    QLineEdit* edtDeveloper = nullptr;

    // Actions and menus.
    QAction *aStandard = nullptr, *aSquare = nullptr, *aCircle = nullptr, *aSwatches = nullptr;
    QAction* aWebSafe = nullptr;
    QMenu* AppMenu = nullptr;
    QMenu* ColorMenu = nullptr;
    QAction* miHelpTopics = nullptr;
    QMenu* miCopy = nullptr;
    QAction* miCustomFormatsSeparator = nullptr;
    QAction* miCustomFormats = nullptr;
    QList<QAction*> FCustomCopyItems;
    QAction* miAddToPalette = nullptr;
    QAction* miAddToFavourites = nullptr;
    QMenu* miColorBlindness = nullptr;
    QAction* miFromCurrentPalette = nullptr;
    QAction* miFromRandomPalette = nullptr;
    QAction* miWebSafe = nullptr;
    QAction* miWebSmart = nullptr;
    QAction* miSetAeroColor = nullptr;
};

} // namespace chromint
