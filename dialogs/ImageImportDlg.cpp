#include "ImageImportDlg.h"

#include "FileDialogSize.h"

#include "ColorNotations.h"
#include "ColorOperations.h"
#include "DesktopUtils.h"
#include "ImageLoaders.h"
#include "PaintStage.h"
#include "PictureMosaic.h"
#include "PictureView.h"
#include "mbColorList.h"
#include "mbColorPreview.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <new>

namespace chromint {

namespace {

struct FilterRow {
    const char* description;
    const char* patterns;
};

constexpr std::array<FilterRow, 15> kPictureFilters = {{
    {"BMP - Windows and OS/2 Bitmap", "*.bmp;*.dib"},
    {"JPG - JPEG Image", "*.jpg;*.jpeg;*.jpe;*.jfif;*.jif"},
    {"PNG - Portable Network Graphic", "*.png"},
    {"GIF - Graphic Interchange Format", "*.gif"},
    {"TIF - TIFF Image", "*.tif;*.tiff"},
    {"TGA - Truevision Targa", "*.tga;*.vst;*.icb;*.vda;*.win"},
    {"PCX - ZSoft Paintbrush Image", "*.pcx;*.pcc"},
    {"WMF - Windows Meta File", "*.wmf;*.emf"},
    {"PSD - Adobe Photoshop Image", "*.psd;*.pdd"},
    {"PSP - Corel PaintShop Pro Image", "*.psp"},
    {"PPM - Portable Pixelmap", "*.ppm"},
    {"PGM - Portable Greymap", "*.pgm"},
    {"PBM - Portable Bitmap", "*.pbm"},
    {"SGI - SGI Image", "*.sgi;*.rgb;*.bw;*.rgba"},
    {"CUT - Dr. Halo Image", "*.cut"},
}};

} // namespace

bool IsPictureFileName(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    for (const FilterRow& row : kPictureFilters) {
        for (const QString& pattern : QString::fromLatin1(row.patterns).split(QLatin1Char(';'))) {
            if (name.endsWith(pattern.mid(1), Qt::CaseInsensitive))
                return true;
        }
    }
    return false;
}

namespace {

// Linux file names keep their letter case, so each pattern is offered in upper case too;
// the dialog shows only the descriptions.
QString QtFilter(const QString& description, const QString& patterns) {
    QStringList both;
    for (const QString& pattern : patterns.split(QLatin1Char(';'))) {
        both << pattern;
        if (pattern.toUpper() != pattern)
            both << pattern.toUpper();
    }
    return description + QStringLiteral(" (") + both.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// The hourglass for the length of a scope, whatever way it is left.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A toolbar button that acts on a click and opens its menu from the arrow beside it.
QToolButton* AddMenuButton(QToolBar* bar, const char* name, const QString& text, const QString& tip,
                           const QIcon& icon, QMenu* menu) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(tip);
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setMenu(menu);
    bar->addWidget(button);
    return button;
}

constexpr int kPreviewSide = 180;

// A small picture of a file for the chooser's preview pane, empty when it cannot be read.
QPixmap PreviewOf(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.isFile())
        return {};
    QImageReader reader(fileName);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && !size.isEmpty()) {
        // Qt's readers can decode straight to the small size, which keeps big photos quick.
        reader.setScaledSize(
            size.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio).boundedTo(size));
        const QImage image = reader.read();
        if (!image.isNull())
            return QPixmap::fromImage(image);
    }
    try {
        const QImage image = LoadPicture(fileName).image;
        return QPixmap::fromImage(image.width() > kPreviewSide || image.height() > kPreviewSide
                                      ? image.scaled(kPreviewSide, kPreviewSide,
                                                     Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                      : image);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

void AddRecentFile(QStringList& files, const QString& fileName, int maxCount) {
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (files[i].compare(fileName, Qt::CaseInsensitive) == 0) {
            files.removeAt(i);
            break;
        }
    }
    files.prepend(fileName);
    while (files.size() > maxCount)
        files.removeLast();
}

QStringList PictureFileFilters() {
    QStringList all;
    QStringList rows;
    for (const FilterRow& row : kPictureFilters) {
        all << QString::fromLatin1(row.patterns);
        rows << QtFilter(QString::fromLatin1(row.description), QString::fromLatin1(row.patterns));
    }
    rows.prepend(QtFilter(QStringLiteral("All supported formats"), all.join(QLatin1Char(';'))));
    return rows;
}

QString ChooseCaption(double count) {
    return QStringLiteral("Choose %1 %2")
        .arg(count, 0, 'f', 0)
        .arg(count > 1 ? QStringLiteral("colors") : QStringLiteral("color"));
}

TColor PixelColor(QRgb pixel) {
    return MakeRGB(static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
                   static_cast<std::uint8_t>(qBlue(pixel)));
}

QString ColorEntryName(TColor color) {
    return QString::fromStdString(ColorToText(color, 0));
}

TOpenPictureDialog::TOpenPictureDialog(QWidget* parent) : QObject(parent), parent_(parent) {}

QString PictureStartFolder(const QString& initialDir) {
    if (!initialDir.isEmpty() && QFileInfo(initialDir).isDir())
        return initialDir;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
}

bool TOpenPictureDialog::Execute() {
    QFileDialog dialog(parent_, QStringLiteral("Open"), PictureStartFolder(InitialDir));
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    // Qt's own dialog, so the preview pane can sit beside the file list.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(PictureFileFilters());
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);

    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("Preview"));
    preview->setFixedSize(kPreviewSide + 8, kPreviewSide + 8);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 1, grid->columnCount(), 1, 1, Qt::AlignTop);
    connect(&dialog, &QFileDialog::currentChanged, preview,
            [preview](const QString& path) { preview->setPixmap(PreviewOf(path)); });

    const FileDialogSizeKeeper size(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FileName = dialog.selectedFiles().constFirst();
    return true;
}

TImageImportDialog::TImageImportDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ImageImportDialog"));
    setAcceptDrops(false);
    setMinimumSize(579, 447);
    resize(579, 447);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(16, 16));
    layout->addWidget(bar);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->setOpaqueResize(true);
    ColorList = new TmbColorList(splitter);
    ColorList->setObjectName(QStringLiteral("ColorList"));
    ColorList->setMinimumWidth(162);
    ColorList->SetItemHeight(42);
    ColorList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Image = new TPictureView(splitter);
    Image->setObjectName(QStringLiteral("Image"));
    // The stage's own colour is the desktop's workspace colour, under the checkerboard.
    const TColor workspace = ResolveSystemColor(SystemColorFlag | 12);
    QPalette stage = Image->palette();
    stage.setColor(QPalette::Dark,
                   QColor(GetRValue(workspace), GetGValue(workspace), GetBValue(workspace)));
    Image->setPalette(stage);
    splitter->addWidget(ColorList);
    splitter->addWidget(Image);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({162, 417});
    layout->addWidget(splitter, 1);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    status->setSizeGripEnabled(false);
    layout->addWidget(status);

    OpenDialog = new TOpenPictureDialog(this);
    CreateToolbar(bar);
    CreateStatusBar(status);

    aRemove = new QAction(QStringLiteral("Remove color"), this);
    aRemove->setObjectName(QStringLiteral("aRemove"));
    aRemove->setShortcut(QKeySequence(Qt::Key_Delete));
    aClear = new QAction(QStringLiteral("Clear"), this);
    aClear->setObjectName(QStringLiteral("aClear"));
    aClear->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    addAction(aRemove);
    addAction(aClear);
    connect(aRemove, &QAction::triggered, this, &TImageImportDialog::RemoveSelected);
    connect(aClear, &QAction::triggered, this, &TImageImportDialog::ClearColors);

    auto* popup = new QMenu(ColorList);
    popup->setObjectName(QStringLiteral("PopupMenu"));
    popup->addAction(aRemove);
    popup->addSeparator();
    popup->addAction(aClear);
    ColorList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ColorList, &QWidget::customContextMenuRequested, this, [this, popup](QPoint pos) {
        aRemove->setEnabled(ColorList->currentRow() >= 0);
        aClear->setEnabled(ColorList->ColorCount() > 0);
        popup->exec(ColorList->viewport()->mapToGlobal(pos));
        aRemove->setEnabled(true);
        aClear->setEnabled(true);
    });

    connect(Image, &TPictureView::Changed, this, &TImageImportDialog::ImageChange);
    connect(Image, &TPictureView::PointerMoved, this, &TImageImportDialog::TrackPointer);
    connect(Image, &TPictureView::PointerLeft, this, &TImageImportDialog::ClearPointerReadout);
    connect(Image, &TPictureView::DoubleClicked, this, &TImageImportDialog::AddPreviewColor);

    // The list and the number box would take Ctrl+C and Ctrl+X as copy and cut; here they
    // belong to "Choose" and "Compute".
    ColorList->installEventFilter(this);
    edtNum->installEventFilter(this);
    if (auto* editor = edtNum->findChild<QLineEdit*>())
        editor->installEventFilter(this);

    Image->SetFit(btnFitImage->isChecked());
    ImageChange();
    EnableControls(false);
}

TImageImportDialog::~TImageImportDialog() = default;

bool TImageImportDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        if (pressed == btnSubChoose->shortcut() || pressed == btnCompute->shortcut())
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TImageImportDialog::CreateToolbar(QToolBar* bar) {
    QStyle* style = this->style();

    OpenMenu = new QMenu(this);
    OpenMenu->setObjectName(QStringLiteral("OpenMenu"));
    btnFromFile = OpenMenu->addAction(QStringLiteral("Load from file..."));
    btnFromFile->setObjectName(QStringLiteral("btnFromFile"));
    btnFromFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    addAction(btnFromFile);
    btnFromWallpaper = OpenMenu->addAction(QStringLiteral("Load from wallpaper"));
    btnFromWallpaper->setObjectName(QStringLiteral("btnFromWallpaper"));
    OpenMenu->addSeparator();
    connect(btnFromFile, &QAction::triggered, this, &TImageImportDialog::OpenFromDialog);
    connect(btnFromWallpaper, &QAction::triggered, this, [this] {
        TWallpaper wallpaper;
        GetWallpaper(wallpaper);
        LoadImage(wallpaper.Path);
    });
    connect(OpenMenu, &QMenu::aboutToShow, this, [this] {
        btnFromWallpaper->setVisible(HasWallpaper());
        RefreshRecentMenu();
    });

    btnOpen =
        AddMenuButton(bar, "btnOpen", QStringLiteral("Open..."), QStringLiteral("Open... (Ctrl+O)"),
                      style->standardIcon(QStyle::SP_DialogOpenButton), OpenMenu);
    connect(btnOpen, &QToolButton::clicked, this, &TImageImportDialog::OpenFromDialog);
    bar->addSeparator();

    auto* chooseMenu = new QMenu(this);
    chooseMenu->setObjectName(QStringLiteral("ChooseMenu"));
    btnSubChoose = chooseMenu->addAction(QStringLiteral("Choose"));
    btnSubChoose->setObjectName(QStringLiteral("btnSubChoose"));
    btnSubChoose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    addAction(btnSubChoose);
    btnCompute = chooseMenu->addAction(QStringLiteral("Compute"));
    btnCompute->setObjectName(QStringLiteral("btnCompute"));
    btnCompute->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    btnCompute->setVisible(false);
    connect(btnSubChoose, &QAction::triggered, this, &TImageImportDialog::ChooseFromButton);
    connect(chooseMenu, &QMenu::aboutToShow, this,
            [this] { btnSubChoose->setText(ChooseCaption(edtNum->value())); });

    btnChoose = AddMenuButton(bar, "btnChoose", QStringLiteral("Choose"),
                              QStringLiteral("Choose random colors from the picture (Ctrl+C)"),
                              style->standardIcon(QStyle::SP_BrowserReload), chooseMenu);
    connect(btnChoose, &QToolButton::clicked, this, &TImageImportDialog::ChooseFromButton);

    lblColors = new QLabel(QStringLiteral("# Colors:"), bar);
    lblColors->setObjectName(QStringLiteral("lblColors"));
    lblColors->setContentsMargins(6, 0, 4, 0);
    bar->addWidget(lblColors);
    edtNum = new QSpinBox(bar);
    edtNum->setObjectName(QStringLiteral("edtNum"));
    edtNum->setRange(1, 256);
    edtNum->setValue(10);
    lblColors->setBuddy(edtNum);
    bar->addWidget(edtNum);
    bar->addSeparator();

    btnMosaic = bar->addAction(QStringLiteral("Mosaic"));
    btnMosaic->setObjectName(QStringLiteral("btnMosaic"));
    btnMosaic->setCheckable(true);
    btnMosaic->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    btnMosaic->setIcon(style->standardIcon(QStyle::SP_FileDialogListView));
    connect(btnMosaic, &QAction::triggered, this, &TImageImportDialog::MosaicChanged);
    bar->addSeparator();

    btnFitImage = bar->addAction(QStringLiteral("Fit image"));
    btnFitImage->setObjectName(QStringLiteral("btnFitImage"));
    btnFitImage->setCheckable(true);
    btnFitImage->setChecked(true);
    btnFitImage->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    btnFitImage->setIcon(style->standardIcon(QStyle::SP_TitleBarMaxButton));
    connect(btnFitImage, &QAction::toggled, this, [this](bool on) { Image->SetFit(on); });
    bar->addSeparator();

    btnOk = bar->addAction(QStringLiteral("Done"));
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    btnOk->setIcon(style->standardIcon(QStyle::SP_DialogApplyButton));
    connect(btnOk, &QAction::triggered, this, &QDialog::accept);

    // Words alone for the toggles and "Done", so the whole bar fits the smallest window.
    for (QAction* action : {btnMosaic, btnFitImage, btnOk}) {
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
}

void TImageImportDialog::CreateStatusBar(QStatusBar* bar) {
    QStyle* style = this->style();
    const int iconSize = style->pixelMetric(QStyle::PM_SmallIconSize);
    auto icon = [&](QStyle::StandardPixmap which) {
        auto* label = new QLabel(bar);
        label->setPixmap(style->standardIcon(which).pixmap(iconSize, iconSize));
        return label;
    };

    bar->addWidget(icon(QStyle::SP_FileDialogInfoView));
    lblImageScale = new QLabel(bar);
    lblImageScale->setObjectName(QStringLiteral("lblImageScale"));
    lblImageScale->setMinimumWidth(185);
    bar->addWidget(lblImageScale);

    bar->addPermanentWidget(icon(QStyle::SP_ArrowRight));
    lblCursorLocation = new QLabel(bar);
    lblCursorLocation->setObjectName(QStringLiteral("lblCursorLocation"));
    lblCursorLocation->setMinimumWidth(100);
    bar->addPermanentWidget(lblCursorLocation);

    ColorPreview = new TmbColorPreview(bar);
    ColorPreview->setObjectName(QStringLiteral("ColorPreview"));
    ColorPreview->setFixedSize(34, 17);
    ColorPreview->SetBlockSize(4);
    ColorPreview->SetOpacity(0);
    bar->addPermanentWidget(ColorPreview);
    lblImagePixel = new QLabel(bar);
    lblImagePixel->setObjectName(QStringLiteral("lblImagePixel"));
    lblImagePixel->setMinimumWidth(80);
    lblImagePixel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bar->addPermanentWidget(lblImagePixel);
}

bool TImageImportDialog::Execute() {
    EnableControls(!Image->IsEmpty());
    // Opened centred on the desktop, then maximised, so restoring it brings it to the middle.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.left() + desktop.width() / 2 - width() / 2,
             desktop.top() + desktop.height() / 2 - height() / 2);
    }
    setWindowState(windowState() | Qt::WindowMaximized);
    return exec() == QDialog::Accepted;
}

bool TImageImportDialog::LoadImage(const QString& fileName) {
    WaitCursor wait;
    OpenDialog->FileName = fileName;
    try {
        LoadedPicture picture = LoadPicture(fileName);
        FTransparent = picture.transparent;
        const QSize size = picture.image.size();
        Image->SetPicture(std::move(picture.image));
        AddRecentFile(MRUList, fileName);
        EnableControls(!Image->IsEmpty());
        Image->SetLayer(QImage(), 1);
        MosaicChanged();
        const std::int64_t pixels = std::int64_t(size.width()) * size.height();
        edtNum->setMaximum(static_cast<int>(std::clamp<std::int64_t>(pixels, 1, 256)));
        if (ColorList->ColorCount() > 0)
            ChooseColors(static_cast<std::uint16_t>(ColorList->ColorCount()));
        OpenDialog->InitialDir = QFileInfo(fileName).absolutePath();
        return true;
    } catch (const PictureLoadError& error) {
        ShowLoadError(fileName, error.Reason());
    } catch (const std::bad_alloc&) {
        ShowLoadError(fileName, QStringLiteral("Out of memory."));
    } catch (const std::exception& error) {
        ShowLoadError(fileName, QString::fromUtf8(error.what()));
    }
    return false;
}

void TImageImportDialog::ShowLoadError(const QString& fileName, const QString& reason) {
    QApplication::restoreOverrideCursor();
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                    PictureLoadMessage(fileName, reason), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("LoadErrorMessage"));
    box.exec();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TImageImportDialog::ChooseColors(std::uint16_t count) {
    if (Image->IsEmpty() || count == 0)
        return;
    RandomSource& random = GlobalRandom();
    int keep = ColorList->currentRow();
    if (keep < 0)
        keep = static_cast<int>(random.Next(count - 1u)) + 1;
    ColorList->Colors.clear();
    ColorList->Colors.reserve(count);
    const QImage& picture = Image->Picture();
    const auto width = static_cast<std::uint32_t>(picture.width());
    const auto height = static_cast<std::uint32_t>(picture.height());
    for (std::uint16_t i = 0; i < count; ++i) {
        const auto x = static_cast<int>(random.Next(width));
        const auto y = static_cast<int>(random.Next(height));
        const TColor color = PixelColor(Image->PixelAt({x, y}));
        ColorList->AddColor(ColorEntryName(color), color, false);
    }
    ColorList->UpdateColors();
    ColorList->setCurrentRow(std::min(keep, ColorList->ColorCount() - 1));
    UpdateDone();
}

void TImageImportDialog::ChooseFromButton() {
    WaitCursor wait;
    ChooseColors(static_cast<std::uint16_t>(edtNum->value()));
}

void TImageImportDialog::EnableControls(bool enabled) {
    btnChoose->setEnabled(enabled);
    btnSubChoose->setEnabled(enabled);
    lblColors->setEnabled(enabled);
    edtNum->setEnabled(enabled);
    btnMosaic->setEnabled(enabled);
    UpdateDone();
}

void TImageImportDialog::UpdateDone() {
    btnOk->setEnabled(ColorList->ColorCount() > 0);
}

void TImageImportDialog::MosaicChanged() {
    WaitCursor wait;
    const bool on = btnMosaic->isChecked();
    // The pixelated copy is made once per picture; loading another one empties it.
    if (on && Image->Layer().isNull() && !Image->IsEmpty()) {
        const QImage& picture = Image->Picture();
        const int block = MosaicBlockSize(picture.width(), picture.height());
        Image->SetLayer(MosaicBlocks(picture, block, FTransparent), MosaicStep(block));
    }
    Image->SetLayerVisible(on);
}

void TImageImportDialog::ImageChange() {
    const QSize picture = Image->Picture().size();
    const QSize shown = Image->DisplayedSize();
    lblImageScale->setText(ImageScaleText(picture, shown));
    const bool full = Image->IsEmpty() || GetImageScale(picture, shown).percent == 100;
    lblImageScale->setMinimumWidth(full ? 105 : 185);
}

void TImageImportDialog::TrackPointer(QPoint viewportPos) {
    if (Image->IsEmpty())
        return;
    const QPoint pixel = Image->ViewportToPicture(viewportPos);
    if (!Image->ContainsPixel(pixel)) {
        ClearPointerReadout();
        return;
    }
    lblCursorLocation->setText(QStringLiteral("%1, %2 px").arg(pixel.x() + 1).arg(pixel.y() + 1));
    const TColor color = PixelColor(Image->PixelAt(pixel));
    ColorPreview->SetColor(color);
    ColorPreview->SetOpacity(100);
    const QString name = ColorEntryName(color);
    lblImagePixel->setText(lblImagePixel->fontMetrics().elidedText(
        name, Qt::ElideRight, std::max(lblImagePixel->width(), lblImagePixel->minimumWidth())));
    lblImagePixel->setToolTip(name);
}

void TImageImportDialog::ClearPointerReadout() {
    lblCursorLocation->clear();
    lblImagePixel->clear();
    ColorPreview->SetOpacity(0);
}

void TImageImportDialog::AddPreviewColor() {
    // Only a colour the user can see under the pointer is taken: a double-click beside the
    // picture, or before any was read, adds nothing.
    if (ColorPreview->Opacity() == 0)
        return;
    const TColor color = ColorPreview->Color();
    const int found = ColorList->IndexOf(color);
    if (found >= 0) {
        ColorList->setCurrentRow(found);
        return;
    }
    ColorList->AddColor(ColorEntryName(color), color);
    ColorList->setCurrentRow(ColorList->ColorCount() - 1);
    UpdateDone();
}

void TImageImportDialog::RemoveSelected() {
    const int row = ColorList->currentRow();
    if (row >= 0 && row < ColorList->ColorCount()) {
        ColorList->DeleteColor(row);
        const int count = ColorList->ColorCount();
        ColorList->setCurrentRow(row < count ? row : count - 1);
    }
    UpdateDone();
}

void TImageImportDialog::ClearColors() {
    if (ColorList->ColorCount() > 0)
        ColorList->ClearColors();
    UpdateDone();
}

void TImageImportDialog::OpenFromDialog() {
    if (OpenDialog->Execute())
        LoadImage(OpenDialog->FileName);
}

void TImageImportDialog::RefreshRecentMenu() {
    for (QAction* action : OpenMenu->actions()) {
        if (action->property("recentFile").isValid()) {
            OpenMenu->removeAction(action);
            action->deleteLater();
        }
    }
    for (const QString& file : MRUList) {
        QAction* action = OpenMenu->addAction(file);
        action->setProperty("recentFile", file);
        action->setEnabled(QFileInfo(file).isFile());
        connect(action, &QAction::triggered, this, [this, file] { LoadImage(file); });
    }
}

bool RunImageColorCommand(QWidget* parent, TImageImportValues& values,
                          const ConfirmWebColorFn& confirmWebColor,
                          const MakeCurrentFn& makeCurrent) {
    TImageImportDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Color from image"));
    dialog.OpenDialog->InitialDir = values.lastOpenImageDir;
    for (qsizetype i = values.recentFiles.size() - 1; i >= 0; --i)
        AddRecentFile(dialog.MRUList, values.recentFiles[i]);
    if (!values.openFile.isEmpty()) {
        // Once the window shows, so that a failure's message has the window behind it.
        QTimer::singleShot(0, &dialog, [&dialog, file = values.openFile] {
            dialog.LoadImage(QFileInfo(file).absoluteFilePath());
        });
    }

    bool applied = false;
    if (dialog.Execute()) {
        const int row = dialog.ColorList->currentRow();
        if (row < 0 || row >= dialog.ColorList->ColorCount())
            return false;
        const std::optional<TColor> color =
            confirmWebColor(dialog.ColorList->Colors[static_cast<std::size_t>(row)].Value);
        if (!color)
            return false;
        makeCurrent(*color);
        applied = true;
    }
    const QString fileName = dialog.OpenDialog->FileName;
    if (!fileName.isEmpty()) {
        const QFileInfo folder(QFileInfo(fileName).absolutePath());
        if (folder.isDir())
            values.lastOpenImageDir = folder.absoluteFilePath();
    }
    values.recentFiles = dialog.MRUList;
    return applied;
}

} // namespace chromint
