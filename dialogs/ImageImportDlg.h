#pragma once

#include "ColorTypes.h"
#include "DialogCommands.h"

#include <QDialog>
#include <QFileDialog>
#include <QString>
#include <QStringList>

#include <cstdint>

class QAction;
class QLabel;
class QMenu;
class QSpinBox;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace chromint {

class RandomSource;
class TmbColorList;
class TmbColorPreview;
class TPictureView;

inline constexpr int MaxRecentPictures = 15;

// Moves fileName to the top of a recent-files list (an entry of the same name in any letter
// case moves instead of being added twice) and drops the entries beyond maxCount.
void AddRecentFile(QStringList& files, const QString& fileName, int maxCount = MaxRecentPictures);

// The open dialog's filter rows, "All supported formats" first, in Qt's filter syntax.
QStringList PictureFileFilters();

// The caption of the "Choose" sub-item for a count.
QString ChooseCaption(double count);

// The colour a picture pixel stands for (its alpha dropped), and its list name.
TColor PixelColor(QRgb pixel);
QString ColorEntryName(TColor color);

// Where the picture chooser opens: the folder last used while it exists, else the user's
// pictures folder, else the home folder (never the folder the program was started in).
QString PictureStartFolder(const QString& initialDir);

// The picture chooser: a file dialog with a preview pane, remembering its file and folder.
class TOpenPictureDialog : public QObject {
    Q_OBJECT
public:
    explicit TOpenPictureDialog(QWidget* parent);
    QString FileName;
    QString InitialDir;
    bool Execute();

private:
    QWidget* parent_;
};

// "Color from image": open a picture, read the colour under the pointer, and collect colours
// from it by double-clicking or by random samples.
class TImageImportDialog : public QDialog {
    Q_OBJECT

public:
    explicit TImageImportDialog(QWidget* parent = nullptr);
    ~TImageImportDialog() override;

    bool Execute();

    // Loads a picture, reporting a failure in a message box; true when it loaded.
    bool LoadImage(const QString& fileName);
    // Replaces the list with count random samples of the picture.
    void ChooseColors(std::uint16_t count);
    void EnableControls(bool enabled);

    // The picture coordinate under a viewport point is read into the status bar.
    void TrackPointer(QPoint viewportPos);
    void ClearPointerReadout();
    void AddPreviewColor();
    void RemoveSelected();
    void ClearColors();
    bool Transparent() const { return FTransparent; }
    // Fills the recent-files entries of the "Open..." drop-down, existing files enabled.
    void RefreshRecentMenu();

    TmbColorList* ColorList = nullptr;
    TPictureView* Image = nullptr;
    TOpenPictureDialog* OpenDialog = nullptr;
    QStringList MRUList;

    QToolButton* btnOpen = nullptr;
    QAction* btnFromFile = nullptr;
    QAction* btnFromWallpaper = nullptr;
    QMenu* OpenMenu = nullptr;
    QToolButton* btnChoose = nullptr;
    QAction* btnSubChoose = nullptr;
    QAction* btnCompute = nullptr;
    QLabel* lblColors = nullptr;
    QSpinBox* edtNum = nullptr;
    QAction* btnMosaic = nullptr;
    QAction* btnFitImage = nullptr;
    QAction* btnOk = nullptr;
    QAction* aRemove = nullptr;
    QAction* aClear = nullptr;

    QLabel* lblImageScale = nullptr;
    QLabel* lblCursorLocation = nullptr;
    TmbColorPreview* ColorPreview = nullptr;
    QLabel* lblImagePixel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateToolbar(QToolBar* bar);
    void CreateStatusBar(QStatusBar* bar);
    void OpenFromDialog();
    void ChooseFromButton();
    void MosaicChanged();
    void ImageChange();
    void UpdateDone();
    void ShowLoadError(const QString& fileName, const QString& reason);

    bool FTransparent = false;
};

// What the command keeps between runs, and the picture to show as the window opens (a file
// dropped on the main window or named on the command line).
struct TImageImportValues {
    QString lastOpenImageDir;
    QStringList recentFiles;
    QString openFile;
};

// Whether the name ends like one of the picture types the window opens (any letter case).
bool IsPictureFileName(const QString& fileName);

// "From image...": true when a colour was made current. The folder and the recent files are
// written back however the window closed, except when the web-only question was cancelled or
// "Done" found no colour selected.
bool RunImageColorCommand(QWidget* parent, TImageImportValues& values,
                          const ConfirmWebColorFn& confirmWebColor,
                          const MakeCurrentFn& makeCurrent);

template <class Settings>
bool RunImageColorCommand(QWidget* parent, Settings& settings,
                          const ConfirmWebColorFn& confirmWebColor,
                          const MakeCurrentFn& makeCurrent, const QString& openFile = {}) {
    TImageImportValues values{settings.LastOpenImageDir(), settings.RecentFiles(), openFile};
    const bool applied = RunImageColorCommand(parent, values, confirmWebColor, makeCurrent);
    settings.SetLastOpenImageDir(values.lastOpenImageDir);
    settings.RecentFiles() = values.recentFiles;
    return applied;
}

} // namespace chromint
