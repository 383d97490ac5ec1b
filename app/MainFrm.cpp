#include "MainFrm.h"

#include "AboutDlg.h"
#include "AppConfig.h"
#include "CIE.h"
#include "Cmdln.h"
#include "CodeBox.h"
#include "ColorBlenderDlg.h"
#include "ColorNotations.h"
#include "ColorOperations.h"
#include "ColorSpinEdit.h"
#include "ColorUtils.h"
#include "ColorUtilsWeb.h"
#include "ColorWriter.h"
#include "ContrastDlg.h"
#include "CustomFormats.h"
#include "CustomFormatsDlg.h"
#include "DesktopBackground.h"
#include "DesktopPointerConfinement.h"
#include "DesktopUtils.h"
#include "DropContent.h"
#include "Favourites.h"
#include "FavouritesFiles.h"
#include "HSColorPicker.h"
#include "HSLColorPicker.h"
#include "HSVColorPicker.h"
#include "HotKeyManager.h"
#include "ImageImportDlg.h"
#include "MenuStyle.h"
#include "PalettePage.h"
#include "PointerConfinement.h"
#include "Rounding.h"
#include "SLColorPicker.h"
#include "ScreenColorDlg.h"
#include "SepiaDlg.h"
#include "Session.h"
#include "SimpleSchemeDlg.h"
#include "SystemColorsDlg.h"
#include "WebSafeQuestion.h"
#include "mbColorPalette.h"
#include "mbColorPreview.h"
#include "mbTrackBarPicker.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <cstdio>

// The program's pictures are compiled into this library; a static library needs to be told
// to register them.
static void InitChromintResources() {
    Q_INIT_RESOURCE(chromint);
}

namespace chromint {

namespace {

// Integer HSL in the editors and notations is degrees and percent; set while the program's
// modules load, before any window exists.
const bool kHSLRangeSet = [] {
    SetHSLRange(360, 100, 100);
    return true;
}();

constexpr int kClientWidth = 526;
constexpr int kClientHeight = 415;
// The code box as designed; it grows to the left from here while it has the focus.
constexpr QRect kCodeBoxGeometry(414, 386, 108, 24);

const char* const kMakerHomePage = "https://qelvo.example.org/";
const char* const kProductPage = "https://qelvo.example.org/chromint/";
const char* const kOnlineHelpPage = "https://qelvo.example.org/chromint/help/";

// Keeps FUpdate set while a push routine writes into the editors; a plain flag, cleared on
// the way out whatever happens, so nested pushes leave it clear for their caller.
class UpdateGuard {
public:
    explicit UpdateGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~UpdateGuard() { flag_ = false; }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
    bool& flag_;
};

QPixmap BannerPicture(int width, int height) {
    QPixmap picture(width, height);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, width, 0);
    gradient.setColorAt(0, QColor(0x1E, 0x3A, 0x5F));
    gradient.setColorAt(0.55, QColor(0x3B, 0x6E, 0xA8));
    gradient.setColorAt(1, QColor(0xE0, 0x8A, 0x2E));
    painter.fillRect(picture.rect(), gradient);
    QFont font = painter.font();
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(48, 0, width - 56, height), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("Chromint"));
    return picture;
}

// The user guide installed with the program: beside the executable's folder in share/, in
// the build tree as in an installation.
QString HelpFilePath() {
    return QDir::cleanPath(CommandLine().Directory() +
                           QStringLiteral("/../share/chromint/help/index.html"));
}

} // namespace

TMainForm::TMainForm(std::unique_ptr<SettingsStore> store, QWidget* parent) : QWidget(parent) {
    InitChromintResources();
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Chromint"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setAcceptDrops(true); // picture files and colours
    // The layout is drawn for a compact 8-point face; the desktop's larger default font would
    // crowd the tab row and the editor columns.
    QFont compact = font();
    compact.setPixelSize(11);
    setFont(compact);
    CreateActions();
    CreateControls();
    CreateMenus();
    FormCreate(std::move(store));
}

// Closing saves; a window destroyed without being closed still keeps the user's settings.
TMainForm::~TMainForm() {
    FormDestroy(false);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormDestroy(true);
    event->accept();
}

void TMainForm::CreateActions() {
    auto visual = [this](const char* name, const char* caption, QKeySequence key, int tag) {
        auto* action = new QAction(QString::fromUtf8(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, tag] { aVisualExecute(tag); });
        addAction(action);
        return action;
    };
    aStandard = visual("aStandard", "Standard", QKeySequence(Qt::CTRL | Qt::Key_1), 0);
    aSquare = visual("aSquare", "Hue square", QKeySequence(Qt::CTRL | Qt::Key_2), 1);
    aCircle = visual("aCircle", "Hue circle", QKeySequence(Qt::CTRL | Qt::Key_3), 2);
    aSwatches = visual("aSwatches", "Palettes", QKeySequence(Qt::CTRL | Qt::Key_4), 3);

    aWebSafe = new QAction(QStringLiteral("Only web colors"), this);
    aWebSafe->setObjectName(QStringLiteral("aWebSafe"));
    aWebSafe->setCheckable(true);
    aWebSafe->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    aWebSafe->setShortcutContext(Qt::WindowShortcut);
    connect(aWebSafe, &QAction::triggered, this, &TMainForm::aWebSafeExecute);
    addAction(aWebSafe);
}

void TMainForm::CreateControls() {
    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(0, 0, kClientWidth, 42);
    Image->setPixmap(BannerPicture(kClientWidth, 42));

    AppButton = new QToolButton(this);
    AppButton->setObjectName(QStringLiteral("AppButton"));
    AppButton->setGeometry(6, 5, 34, 32);
    AppButton->setPopupMode(QToolButton::InstantPopup);
    AppButton->setIcon(QIcon::fromTheme(QStringLiteral("chromint"),
                                        QIcon(QStringLiteral(":/chromint/chromint.svg"))));
    AppButton->setIconSize(QSize(24, 24));
    AppButton->setAutoRaise(true);

    Bevel = new QFrame(this);
    Bevel->setObjectName(QStringLiteral("Bevel"));
    Bevel->setFrameShape(QFrame::HLine);
    Bevel->setFrameShadow(QFrame::Sunken);
    Bevel->setGeometry(0, 42, kClientWidth, 2);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setGeometry(4, 50, 318, 310);
    // Slim tabs leave room for the web-only switch at the end of the tab row.
    PageControl->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; }"));
    PageControl->setUsesScrollButtons(false);
    auto page = [this](const char* name, const char* caption) {
        auto* widget = new QWidget;
        widget->setObjectName(QString::fromLatin1(name));
        PageControl->addTab(widget, QString::fromUtf8(caption));
        return widget;
    };
    tsStandard = page("tsStandard", "Standard");
    tsHSL = page("tsHSL", "Hue square");
    tsHSV = page("tsHSV", "Hue circle");
    tsSwatches = page("tsSwatches", "Swatches");

    // The composite before the square: each sets the process-wide picker scale as it is
    // created, and the square's 360/255/255 is the one the window works in.
    HSLPicker = new THSLColorPicker(tsStandard);
    HSLPicker->setObjectName(QStringLiteral("HSLPicker"));
    HSLPicker->setGeometry(2, 4, 309, 268);
    HSLPicker->SetSelectedColor(66047);
    SLPicker = new TSLColorPicker(tsHSL);
    SLPicker->setObjectName(QStringLiteral("SLPicker"));
    SLPicker->setGeometry(4, 12, 256, 256);
    HuePicker = new THColorPicker(tsHSL);
    HuePicker->setObjectName(QStringLiteral("HuePicker"));
    HuePicker->SetLayout(TTrackBarLayout::lyVertical);
    HuePicker->SetArrowPlacement(TSliderPlacement::spBoth);
    HuePicker->SetNewArrowStyle(true);
    HuePicker->SetHintFormat(QStringLiteral("Hue: %value"));
    HuePicker->setGeometry(266, 4, 41, 272);
    HSVPicker = new THSVColorPicker(tsHSV);
    HSVPicker->setObjectName(QStringLiteral("HSVPicker"));
    HSVPicker->setGeometry(4, 12, 256, 256);
    HSVPicker->SetSelectedColor(clWhite);
    HSVPicker->SetShowSaturationCircle(false);
    HSVPicker->SetShowHueLine(false);
    HSVPicker->SetMarkerStyle(TMarkerStyle::msCircle);
    LightnessPicker = new TVColorPicker(tsHSV);
    LightnessPicker->setObjectName(QStringLiteral("LightnessPicker"));
    LightnessPicker->SetArrowPlacement(TSliderPlacement::spBoth);
    LightnessPicker->SetNewArrowStyle(true);
    LightnessPicker->SetHintFormat(QStringLiteral("Value: %value"));
    LightnessPicker->setGeometry(266, 4, 41, 272);
    LightnessPicker->SetSelectedColor(clWhite);
    connect(HSLPicker, &THSLColorPicker::OnChange, this, &TMainForm::HSLPickerChange);
    connect(SLPicker, &TSLColorPicker::OnChange, this, &TMainForm::SLPickerChange);
    connect(HuePicker, &THColorPicker::OnChange, this, &TMainForm::HuePickerChange);
    connect(HSVPicker, &THSVColorPicker::OnChange, this, &TMainForm::HSVPickerChange);
    connect(LightnessPicker, &TVColorPicker::OnChange, this, &TMainForm::LightnessPickerChange);

    cbWebSafe = new QCheckBox(aWebSafe->text(), this);
    cbWebSafe->setObjectName(QStringLiteral("cbWebSafe"));
    // The check box and the action are one switch: either drives the other.
    connect(cbWebSafe, &QCheckBox::clicked, aWebSafe, &QAction::trigger);
    connect(aWebSafe, &QAction::toggled, cbWebSafe, &QCheckBox::setChecked);
    PageControl->setCornerWidget(cbWebSafe, Qt::TopRightCorner);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setGeometry(4, 366, FavouritesWidth + 4, 46);

    Favourites = new TmbColorPalette(Panel1);
    Favourites->setObjectName(QStringLiteral("Favourites"));
    Favourites->move(2, 3);
    SetupFavouritesGrid(*Favourites);
    connect(Favourites, &TmbColorPalette::cellClick, this, &TMainForm::PaletteCellClick,
            Qt::DirectConnection);

    const SwatchesPage swatches = CreateSwatchesPage(tsSwatches);
    cbPalette = swatches.cbPalette;
    btnPalette = swatches.btnPalette;
    Palette = swatches.Palette;
    connect(Palette, &TmbColorPalette::cellClick, this, &TMainForm::PaletteCellClick,
            Qt::DirectConnection);
    connect(swatches.btnNextPalette, &QToolButton::clicked, this,
            [this] { StepPaletteSelector(*cbPalette, 1); });
    connect(swatches.btnPreviousPalette, &QToolButton::clicked, this,
            [this] { StepPaletteSelector(*cbPalette, -1); });

    auto swatch = [this](const char* name, const char* hint, QRect geometry) {
        auto* s = new TmbColorPreview(this);
        s->setObjectName(QString::fromLatin1(name));
        s->setToolTip(QString::fromUtf8(hint));
        s->setGeometry(geometry);
        s->SetBlockSize(4);
        s->SetSwatchStyle(true);
        return s;
    };
    Swatch = swatch("Swatch", "Base color", QRect(328, 50, 72, 72));
    AlphaSwatch = swatch("AlphaSwatch", "Alpha blend", QRect(402, 50, 36, 72));
    AlphaSwatch->SetOpacity(50);
    SwatchSafe = swatch("SwatchSafe", "Web-safe", QRect(444, 76, 23, 23));
    SwatchSmart = swatch("SwatchSmart", "Web-smart", QRect(444, 99, 23, 23));

    btnColor = new QToolButton(this);
    btnColor->setObjectName(QStringLiteral("btnColor"));
    btnColor->setText(QStringLiteral("Color"));
    btnColor->setPopupMode(QToolButton::InstantPopup);
    btnColor->setToolButtonStyle(Qt::ToolButtonTextOnly);
    btnColor->setGeometry(444, 50, 78, 24);

    auto webButton = [this](const char* name, const char* hint, QRect geometry) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        b->setText(QStringLiteral("Use"));
        b->setGeometry(geometry);
        return b;
    };
    btnWebSafe = webButton("btnWebSafe", "Set web-safe color", QRect(469, 76, 53, 23));
    btnWebSmart = webButton("btnWebSmart", "Set web-smart color", QRect(469, 99, 53, 23));
    connect(btnWebSafe, &QToolButton::clicked, this, &TMainForm::btnWebSafeClick);
    connect(btnWebSmart, &QToolButton::clicked, this, &TMainForm::btnWebSmartClick);

    auto editor = [this](const char* name, const char* label, const char* unit, int minimum,
                         int maximum, int x, int y, TGaugeStrip*& gauge) {
        auto* caption = new QLabel(QString::fromUtf8(label), this);
        caption->setGeometry(x, y, 16, 20);
        auto* edit = new TColorSpinEdit(minimum, maximum, this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(x + 16, y, 56, 20);
        caption->setBuddy(edit);
        if (unit[0] != '\0') {
            auto* unitLabel = new QLabel(QString::fromUtf8(unit), this);
            unitLabel->setGeometry(x + 74, y, 14, 20);
        }
        gauge = new TGaugeStrip(this);
        gauge->setObjectName(QStringLiteral("gauge") + QString::fromLatin1(name + 3));
        gauge->setGeometry(x + 16, y + 20, 56, 3);
        // Each gauge shows its own editor's share of the range.
        connect(edit, &QSpinBox::valueChanged, gauge, [edit, gauge](int value) {
            gauge->SetFraction(double(value - edit->minimum()) /
                               (edit->maximum() - edit->minimum()));
        });
        return edit;
    };
    constexpr int colA = 328, colB = 428;
    edtR = editor("edtR", "R:", "", 0, 255, colA, 130, gaugeR);
    edtG = editor("edtG", "G:", "", 0, 255, colA, 154, gaugeG);
    edtB = editor("edtB", "B:", "", 0, 255, colA, 178, gaugeB);
    edtH = editor("edtH", "H:", "°", 0, 359, colA, 210, gaugeH);
    edtS = editor("edtS", "S:", "%", 0, 100, colA, 234, gaugeS);
    edtL = editor("edtL", "L:", "%", 0, 100, colA, 258, gaugeL);
    edtC = editor("edtC", "C:", "%", 0, 100, colB, 130, gaugeC);
    edtM = editor("edtM", "M:", "%", 0, 100, colB, 154, gaugeM);
    edtY = editor("edtY", "Y:", "%", 0, 100, colB, 178, gaugeY);
    edtK = editor("edtK", "K:", "%", 0, 100, colB, 202, gaugeK);
    edtCIEL = editor("edtCIEL", "L:", "", 0, 100, colB, 234, gaugeCIEL);
    edtCIEa = editor("edtCIEa", "a:", "", -128, 127, colB, 258, gaugeCIEa);
    edtCIEb = editor("edtCIEb", "b:", "", -128, 127, colB, 282, gaugeCIEb);

    gaugeR->SetColors(Qt::white, QColor(255, 0, 0));
    gaugeG->SetColors(Qt::white, QColor(0, 160, 0));
    gaugeB->SetColors(Qt::white, QColor(0, 0, 255));
    gaugeC->SetColors(Qt::white, QColor(0, 174, 239));
    gaugeM->SetColors(Qt::white, QColor(236, 0, 140));
    gaugeY->SetColors(Qt::white, QColor(255, 222, 0));
    gaugeK->SetColors(Qt::white, Qt::black);
    gaugeCIEL->SetColors(Qt::white, Qt::gray);
    gaugeCIEa->SetColors(Qt::white, QColor(200, 40, 80));
    gaugeCIEb->SetColors(Qt::white, QColor(220, 190, 0));

    for (TColorSpinEdit* e : {edtR, edtG, edtB})
        connect(e, &QSpinBox::valueChanged, this, &TMainForm::RGBChange);
    for (TColorSpinEdit* e : {edtH, edtS, edtL})
        connect(e, &QSpinBox::valueChanged, this, &TMainForm::HSLChange);
    for (TColorSpinEdit* e : {edtC, edtM, edtY, edtK})
        connect(e, &QSpinBox::valueChanged, this, &TMainForm::CMYKChange);
    for (TColorSpinEdit* e : {edtCIEL, edtCIEa, edtCIEb})
        connect(e, &QSpinBox::valueChanged, this, &TMainForm::LabChange);

    auto smallButton = [this](const char* name, const char* hint, QRect geometry) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        b->setGeometry(geometry);
        return b;
    };
    btnAddToPalette = smallButton("btnAddToPalette", "Add to palette", QRect(328, 320, 22, 22));
    btnAddToFavourites =
        smallButton("btnAddToFavourites", "Add to favourites", QRect(352, 320, 22, 22));

    cbDeveloper = new QComboBox(this);
    cbDeveloper->setObjectName(QStringLiteral("cbDeveloper"));
    cbDeveloper->setGeometry(354, 386, 58, 24);
    connect(cbDeveloper, &QComboBox::currentIndexChanged, this, &TMainForm::cbDeveloperChange);

    edtDeveloper = new QLineEdit(this);
    edtDeveloper->setObjectName(QStringLiteral("edtDeveloper"));
    edtDeveloper->setGeometry(kCodeBoxGeometry);
    connect(edtDeveloper, &QLineEdit::textChanged, this, &TMainForm::edtDeveloperChange);
    edtDeveloper->installEventFilter(this);
}

void TMainForm::CreateMenus() {
    auto item = [](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    auto submenu = [](QMenu* menu, const char* name, const char* caption) {
        QMenu* sub = menu->addMenu(QString::fromUtf8(caption));
        sub->setObjectName(QString::fromLatin1(name));
        sub->menuAction()->setObjectName(QString::fromLatin1(name));
        return sub;
    };

    AppMenu = new QMenu(this);
    AppMenu->setObjectName(QStringLiteral("AppMenu"));
    miHelpTopics = item(AppMenu, "miHelpTopics", "Help topics");
    connect(miHelpTopics, &QAction::triggered, this, &TMainForm::miHelpTopicsClick);
    AppMenu->addSeparator();
    connect(item(AppMenu, "miQelvoOnline", "Qelvo Lab online"), &QAction::triggered, this,
            &TMainForm::miQelvoOnlineClick);
    connect(item(AppMenu, "miChromintOnline", "Chromint online"), &QAction::triggered, this,
            &TMainForm::miChromintOnlineClick);
    AppMenu->addSeparator();
    connect(item(AppMenu, "miImportFavourites", "Import favourites..."), &QAction::triggered, this,
            [this] { ImportFavouritesCommand(this, *Favourites, *FSettings); });
    connect(item(AppMenu, "miExportFavourites", "Export favourites..."), &QAction::triggered, this,
            [this] {
                FSettings->Favourites() = FavouritesForSettings(*Favourites);
                ExportFavouritesCommand(this, *Favourites, *FSettings);
            });
    AppMenu->addSeparator();
    connect(item(AppMenu, "miAbout", "About..."), &QAction::triggered, this,
            &TMainForm::miAboutClick);
    AppMenu->addSeparator();
    connect(item(AppMenu, "miExit", "Exit"), &QAction::triggered, this, &QWidget::close);
    connect(AppMenu, &QMenu::aboutToShow, this, &TMainForm::AppMenuPopup);
    AppButton->setMenu(AppMenu);

    ColorMenu = new QMenu(this);
    ColorMenu->setObjectName(QStringLiteral("ColorMenu"));
    QMenu* receive = submenu(ColorMenu, "miReceiveColor", "Receive");
    connect(item(receive, "miColorFromScreen", "From screen..."), &QAction::triggered, this,
            &TMainForm::miColorFromScreenClick);
    receive->addSeparator();
    connect(item(receive, "miColorFromImage", "From image..."), &QAction::triggered, this,
            [this] { OpenPicture({}); });
    connect(
        item(receive, "miColorFromSystem", "From system..."), &QAction::triggered, this, [this] {
            RunSystemColorCommand(this, CurrentColor(), ConfirmCallback(), MakeCurrentCallback());
        });
    receive->addSeparator();
    connect(item(receive, "miFromScheme", "From scheme..."), &QAction::triggered, this,
            [this] { RunSchemeCommand(this, CurrentColor(), MakeCurrentCallback()); });
    ColorMenu->addSeparator();
    connect(item(ColorMenu, "miExportColor", "Export..."), &QAction::triggered, this,
            [this] { RunExportColorCommand(this, *FSettings, CurrentColor()); });
    miCopy = submenu(ColorMenu, "miCopy", "Copy");
    // Captions come as the menu opens; here only the items and their names.
    const auto addCopyItems = [this](const std::vector<CopyMenuItem>& items) {
        for (const CopyMenuItem& entry : items) {
            QAction* copyItem = miCopy->addAction(QString());
            copyItem->setObjectName(QString::fromStdString(entry.name));
            connect(copyItem, &QAction::triggered, this, [this, copyItem] { ColorCopy(copyItem); });
        }
    };
    addCopyItems(CopyMenuItems(clBlack, EditorValues{}));
    miCopy->addSeparator();
    addCopyItems(CssCopyMenuItems(clBlack));
    // The user's own formats go between these two; with none, the menu shows one separator.
    miCopy->addSeparator();
    miCustomFormatsSeparator = miCopy->addSeparator();
    miCustomFormats = item(miCopy, "miCustomFormats", "Custom formats...");
    connect(miCustomFormats, &QAction::triggered, this, &TMainForm::miCustomFormatsClick);
    connect(miCopy, &QMenu::aboutToShow, this, &TMainForm::miCopyClick);
    FitMenuToContents(miCopy);
    ColorMenu->addSeparator();
    miAddToPalette = item(ColorMenu, "miAddToPalette", "Add to palette");
    miAddToFavourites = item(ColorMenu, "miAddToFavourites", "Add to favourites");
    connect(miAddToFavourites, &QAction::triggered, this, &TMainForm::miAddToFavouritesClick);
    ColorMenu->addSeparator();

    QMenu* process = submenu(ColorMenu, "miProcess", "Process");
    connect(item(process, "miBlend", "Blend..."), &QAction::triggered, this, [this] {
        RunBlendCommand(this, *FSettings, CurrentColor(), ConfirmCallback(), MakeCurrentCallback());
    });
    process->addSeparator();
    QMenu* desaturate = submenu(process, "miDesaturate", "Desaturate");
    const struct {
        const char* name;
        const char* caption;
        bool separatorAfter;
    } methods[] = {{"miStandard", "Standard", true}, {"miNTSC", "NTSC", false},
                   {"miInfrared", "Infrared", true}, {"miRed", "Red", false},
                   {"miGreen", "Green", false},      {"miBlue", "Blue", true},
                   {"miHybrid", "Hybrid", false}};
    for (int tag = 0; tag < 7; ++tag) {
        connect(item(desaturate, methods[tag].name, methods[tag].caption), &QAction::triggered,
                this, [this, tag] { DesaturateMethodClick(tag); });
        if (methods[tag].separatorAfter)
            desaturate->addSeparator();
    }
    connect(item(process, "miCreateSepia", "Create sepia..."), &QAction::triggered, this, [this] {
        RunSepiaCommand(this, *FSettings, CurrentColor(), ConfirmCallback(), MakeCurrentCallback());
    });
    process->addSeparator();
    miColorBlindness = submenu(process, "miColorBlindness", "Color blindness");
    const char* const blindness[][2] = {{"miProtanopia", "Protanopia"},
                                        {"miDeuteranopia", "Deuteranopia"},
                                        {"miTritanopia", "Tritanopia"},
                                        {"miProtanomaly", "Protanomaly"},
                                        {"miDeuteranomaly", "Deuteranomaly"},
                                        {"miTritanomaly", "Tritanomaly"},
                                        {"miTypicalMonochromacy", "Typical monochromacy"},
                                        {"miAtypicalMonochromacy", "Atypical monochromacy"}};
    for (const auto& entry : blindness)
        item(miColorBlindness, entry[0], entry[1]);
    process->addSeparator();
    QMenu* swap = submenu(process, "miSwap", "Swap");
    const char* const swaps[][2] = {{"miSwapRG", "Red and green"},
                                    {"miSwapRB", "Red and blue"},
                                    {"miSwapGB", "Green and Blue"}};
    for (int tag = 0; tag < 3; ++tag)
        connect(item(swap, swaps[tag][0], swaps[tag][1]), &QAction::triggered, this,
                [this, tag] { SwapRGB(tag); });
    connect(item(process, "miInvert", "Invert"), &QAction::triggered, this,
            &TMainForm::miInvertClick);
    connect(item(ColorMenu, "miContrast", "Contrast..."), &QAction::triggered, this, [this] {
        RunContrastCommand(this, CurrentColor(), FavouritesForSettings(*Favourites),
                           MakeCurrentCallback());
    });

    QMenu* random = submenu(ColorMenu, "miRandom", "Random");
    connect(item(random, "miRandomize", "Randomize"), &QAction::triggered, this,
            [this] { RandomizeColor(0); });
    connect(item(random, "miUseCurrentColor", "Use current color"), &QAction::triggered, this,
            [this] { RandomizeColor(1); });
    random->addSeparator();
    miFromCurrentPalette = item(random, "miFromCurrentPalette", "From current palette");
    miFromRandomPalette = item(random, "miFromRandomPalette", "From random palette");
    random->addSeparator();
    connect(item(random, "miFromFavourites", "From favourites"), &QAction::triggered, this,
            &TMainForm::miFromFavouritesClick);
    ColorMenu->addSeparator();
    miWebSafe = item(ColorMenu, "miWebSafe", "Make web-safe");
    connect(miWebSafe, &QAction::triggered, this, &TMainForm::btnWebSafeClick);
    miWebSmart = item(ColorMenu, "miWebSmart", "Make web-smart");
    connect(miWebSmart, &QAction::triggered, this, &TMainForm::btnWebSmartClick);
    ColorMenu->addSeparator();
    miSetAeroColor = item(ColorMenu, "miSetAeroColor", "Set Aero color");
    connect(miSetAeroColor, &QAction::triggered, this,
            [this] { Aero::AnimateAeroColor(CurrentColor(), 10, 5); });
    QAction* miSetDesktopColor = item(ColorMenu, "miSetDesktopColor", "Set desktop color");
    connect(miSetDesktopColor, &QAction::triggered, this,
            [this] { SetDesktopColorCommand(CurrentColor()); });
    // A Wayland desktop whose background settings are unknown has no colour to set.
    miSetDesktopColor->setVisible(!IsWaylandSession() || CanSetDesktopBackgroundColor());
    connect(ColorMenu, &QMenu::aboutToShow, this, &TMainForm::ColorMenuPopup);
    btnColor->setMenu(ColorMenu);
}

void TMainForm::FormCreate(std::unique_ptr<SettingsStore> store) {
    RandomizeGlobal();
    FSettings = std::make_unique<TSettings>(PrimaryScreenWorkArea(), std::move(store));
    FSettings->Load();
    move(FSettings->WindowLeft(), FSettings->WindowTop());
    // Filling the list selects its first entry, which would overwrite the stored choice.
    const int codeNotation = FSettings->CodeNotation();
    cbDeveloper->clear();
    for (int notation = 0; notation < CodeBoxNotationCount; ++notation) {
        cbDeveloper->addItem(QString::fromUtf8(CodeBoxNotationName(notation)));
        if (notation > 0)
            cbDeveloper->setItemData(
                notation,
                QStringLiteral("CSS %1()").arg(QString::fromUtf8(CodeBoxNotationName(notation))),
                Qt::ToolTipRole);
    }
    cbDeveloper->setCurrentIndex(codeNotation);
    LoadFavourites(*Favourites, FSettings->Favourites());
    PageControl->setCurrentIndex(FSettings->TaskMode());

    PageControl->setTabVisible(PageControl->indexOf(tsSwatches), false);
    btnAddToPalette->hide();
    btnAddToFavourites->hide();
    miAddToPalette->setVisible(false);
    miColorBlindness->menuAction()->setVisible(false);
    miFromCurrentPalette->setVisible(false);
    miFromRandomPalette->setVisible(false);

    SetPointerConfinement(&DesktopPointerConfinement::Instance());
    HotKeyManager = new THotKeyManager(this);
    FHotKeyAdvice.clear();
    const bool hotKeyHeld = InstallMainWindowHotKey(
                                *HotKeyManager, [this](TColor color) { GetAll(color, false); },
                                [this] { PickFromScreen(); }) != 0;
    if (!hotKeyHeld && IsWaylandSession()) {
        // Said where the user looks for it: the About box, and here for a terminal.
        FHotKeyAdvice = PickCommandKeyAdvice();
        std::fprintf(stderr, "chromint: %s\n", qPrintable(FHotKeyAdvice));
    }
    GetAll(FSettings->Color(), false);
    ChangeWebPalette();
}

void TMainForm::FormDestroy(bool askOnFailure) {
    if (FDestroyed)
        return;
    FDestroyed = true;
    // pos() is where the frame stands when restored, also while the window is minimised.
    FSettings->SetWindowLeft(pos().x());
    FSettings->SetWindowTop(pos().y());
    const int page = PageControl->currentIndex();
    FSettings->Favourites() = FavouritesForSettings(*Favourites);
    if (page >= 0 && page <= 2)
        FSettings->SetTaskMode(page);
    if (!FSettings->Save()) {
        const QString reason = QString::fromStdString(FSettings->Registry().LastError());
        std::fprintf(stderr, "chromint: the settings could not be saved: %s\n",
                     reason.toLocal8Bit().constData());
        if (askOnFailure)
            QMessageBox::warning(this, QStringLiteral("Chromint"),
                                 QStringLiteral("Your settings could not be saved.\n\n") + reason);
    }
}

TColor TMainForm::CurrentColor() const {
    return Swatch->Color();
}

bool TMainForm::WebOnly() const {
    return aWebSafe->isChecked();
}

EditorValues TMainForm::EditorsShown() const {
    EditorValues e;
    e.r = edtR->value();
    e.g = edtG->value();
    e.b = edtB->value();
    e.h = edtH->value();
    e.s = edtS->value();
    e.l = edtL->value();
    e.c = edtC->value();
    e.m = edtM->value();
    e.y = edtY->value();
    e.k = edtK->value();
    e.cieL = edtCIEL->value();
    e.cieA = edtCIEa->value();
    e.cieB = edtCIEb->value();
    return e;
}

void TMainForm::GetRGB(TColor color) {
    UpdateGuard guard(FUpdate);
    const RGBTriple c = SplitRGB(color);
    edtR->SetValueFromCode(c.r);
    edtG->SetValueFromCode(c.g);
    edtB->SetValueFromCode(c.b);
}

void TMainForm::GetHSL(TColor color) {
    UpdateGuard guard(FUpdate);
    const RGBTriple c = SplitRGB(color);
    const HSLInt hsl = RGBToHSL(c.r, c.g, c.b);
    edtH->SetValueFromCode(hsl.h);
    edtS->SetValueFromCode(hsl.s);
    edtL->SetValueFromCode(hsl.l);
    TintHSLGauges();
}

void TMainForm::GetCMYK(TColor color) {
    UpdateGuard guard(FUpdate);
    const RGBTriple c = SplitRGB(color);
    const CMYKFloat k = RGBToCMYK(c.r, c.g, c.b);
    edtC->SetValueFromCode(100 * k.c);
    edtM->SetValueFromCode(100 * k.m);
    edtY->SetValueFromCode(100 * k.y);
    edtK->SetValueFromCode(100 * k.k);
}

void TMainForm::GetLab(TColor) {
    UpdateGuard guard(FUpdate);
    // Always the colour of the base swatch, whatever was passed.
    const Lab lab = RGBToLab(Swatch->Color());
    edtCIEL->SetValueFromCode(lab.l);
    edtCIEa->SetValueFromCode(lab.a);
    edtCIEb->SetValueFromCode(lab.b);
}

void TMainForm::GetDeveloper(TColor color) {
    UpdateGuard guard(FUpdate);
    const QString text = QString::fromStdString(CodeBoxText(color, cbDeveloper->currentIndex()));
    edtDeveloper->setText(text);
    // A long notation shows from its start; the whole text is in the hint and shows when the
    // box has the focus.
    edtDeveloper->setCursorPosition(0);
    edtDeveloper->setToolTip(cbDeveloper->currentIndex() > 0 ? text : QString());
    FitCodeBox();
}

void TMainForm::FitCodeBox() {
    const QRect& designed = kCodeBoxGeometry;
    if (!edtDeveloper->hasFocus()) {
        edtDeveloper->setGeometry(designed);
        return;
    }
    // While it has the focus the box grows to the left, over its neighbours, until the whole
    // text fits; it goes back when the focus leaves.
    const QFontMetrics metrics(edtDeveloper->font());
    const int needed = metrics.horizontalAdvance(edtDeveloper->text()) +
                       metrics.averageCharWidth() * 2 +
                       2 * edtDeveloper->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
    const int width = std::clamp(needed, designed.width(), designed.right() - 8);
    edtDeveloper->setGeometry(designed.right() + 1 - width, designed.y(), width, designed.height());
    edtDeveloper->raise();
}

void TMainForm::UpdateColor(TColor color, bool isProtected) {
    UpdateGuard guard(FUpdate);
    FSettings->SetColor(color);
    Swatch->SetColor(color);
    AlphaSwatch->SetColor(color);
    SwatchSafe->SetColor(SnapColor(color, WebSafeStep));
    SwatchSmart->SetColor(SnapColor(color, WebSmartStep));
    btnWebSafe->setEnabled(!IsWebSafe(color));
    btnWebSmart->setEnabled(!IsWebSmart(color));
    UpdateButtons();
    Favourites->SetSelectedColor(color);
    // A protected push leaves the active page alone: it is where the colour came from.
    QWidget* const page = PageControl->currentWidget();
    if (isProtected) {
        if (page != tsStandard)
            HSLPicker->SetSelectedColor(color);
        if (page != tsHSL) {
            SLPicker->SetSelectedColor(color);
            HuePicker->SetHue(SLPicker->Hue());
        }
        if (page != tsHSV) {
            HSVPicker->SetSelectedColor(color);
            LightnessPicker->SetSelectedColor(color);
        }
    } else {
        HSLPicker->SetSelectedColor(color);
        SLPicker->SetSelectedColor(color);
        SLPicker->SetHue(HSLPicker->HValue());
        HuePicker->SetHue(SLPicker->Hue());
        HSVPicker->SetSelectedColor(color);
        LightnessPicker->SetSelectedColor(color);
    }
    emit currentColorChanged(color);
}

void TMainForm::UpdateButtons() {
    auto tint = [](QToolButton* button, TColor color) {
        QPalette p = button->palette();
        p.setColor(QPalette::Button, ToQColor(color));
        p.setColor(QPalette::ButtonText,
                   qGray(ToQColor(color).rgb()) < 128 ? Qt::white : Qt::black);
        button->setPalette(p);
    };
    tint(btnColor, Swatch->Color());
    tint(AppButton, Swatch->Color());
    tint(btnWebSafe, SwatchSafe->Color());
    tint(btnWebSmart, SwatchSmart->Color());
}

void TMainForm::GetAll(TColor color, bool isProtected) {
    PushColor(color, isProtected, nullptr);
}

void TMainForm::PushColor(TColor color, bool isProtected, PushRoutine typedIn) {
    UpdateColor(color, isProtected);
    for (const PushRoutine push : {&TMainForm::GetRGB, &TMainForm::GetHSL, &TMainForm::GetCMYK,
                                   &TMainForm::GetLab, &TMainForm::GetDeveloper}) {
        if (push != typedIn)
            (this->*push)(color);
    }
}

void TMainForm::ChangeWebPalette() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool webOnly = cbWebSafe->isChecked();
    HSLPicker->SetWebSafe(webOnly);
    SLPicker->SetWebSafe(webOnly);
    HuePicker->SetWebSafe(webOnly);
    HSVPicker->SetWebSafe(webOnly);
    LightnessPicker->SetWebSafe(webOnly);
    QApplication::restoreOverrideCursor();
}

void TMainForm::HSLPickerChange() {
    if (!FUpdate)
        GetAll(HSLPicker->SelectedColor(), true);
}

void TMainForm::SLPickerChange() {
    if (!FUpdate)
        GetAll(SLPicker->SelectedColor(), true);
}

void TMainForm::HuePickerChange() {
    SLPicker->SetHue(HuePicker->Hue());
}

void TMainForm::HSVPickerChange() {
    LightnessPicker->SetHue(HSVPicker->Hue());
    LightnessPicker->SetSaturation(HSVPicker->Saturation());
    if (!FUpdate)
        GetAll(HSVPicker->SelectedColor(), true);
}

void TMainForm::LightnessPickerChange() {
    if (!FUpdate)
        HSVPicker->SetValue(LightnessPicker->Value());
}

void TMainForm::RGBChange() {
    if (FUpdate)
        return;
    TColor color =
        MakeRGB(ClampByte(edtR->value()), ClampByte(edtG->value()), ClampByte(edtB->value()));
    if (WebOnly())
        color = SnapColor(color, WebSafeStep);
    PushColor(color, false, &TMainForm::GetRGB);
}

void TMainForm::HSLChange() {
    TintHSLGauges();
    if (FUpdate)
        return;
    const RGBTriple rgb = HSLToRGB(edtH->value(), edtS->value(), edtL->value());
    const TColor color = MakeRGB(rgb);
    PushColor(color, false, &TMainForm::GetHSL);
    ChangeWebPalette();
}

void TMainForm::CMYKChange() {
    if (FUpdate)
        return;
    const RGBTriple rgb = CMYKToRGB(edtC->value() / 100.0, edtM->value() / 100.0,
                                    edtY->value() / 100.0, edtK->value() / 100.0);
    const TColor color = MakeRGB(rgb);
    PushColor(color, false, &TMainForm::GetCMYK);
}

void TMainForm::LabChange() {
    if (FUpdate)
        return;
    const TColor color = LabToRGB(edtCIEL->value(), edtCIEa->value(), edtCIEb->value());
    PushColor(color, false, &TMainForm::GetLab);
}

void TMainForm::edtDeveloperChange() {
    if (FUpdate)
        return;
    FitCodeBox();
    TColor color = CodeBoxInputToColor(edtDeveloper->text().toStdString());
    if (color == clNone)
        return;
    if (WebOnly())
        color = SnapColor(color, WebSafeStep);
    PushColor(color, false, &TMainForm::GetDeveloper);
}

void TMainForm::cbDeveloperChange() {
    if (FUpdate || Swatch == nullptr)
        return;
    FSettings->SetCodeNotation(cbDeveloper->currentIndex());
    edtDeveloper->setMaxLength(32767);
    GetDeveloper(CurrentColor());
}

void TMainForm::edtDeveloperExit() {
    if (WebOnly())
        GetDeveloper(CurrentColor());
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtDeveloper && event->type() == QEvent::FocusIn)
        FitCodeBox();
    if (watched == edtDeveloper && event->type() == QEvent::FocusOut) {
        // After the focus has left, so the box goes back to its place.
        QMetaObject::invokeMethod(this, &TMainForm::FitCodeBox, Qt::QueuedConnection);
        // A menu opening or another window taking over leaves the focus where it is: only a
        // move to another control leaves the code box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            edtDeveloperExit();
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::aWebSafeExecute() {
    ChangeWebPalette();
    GetAll(SwatchSafe->Color(), false);
}

void TMainForm::aVisualExecute(int tag) {
    // A hidden page cannot be chosen: with the palette page hidden, Ctrl+4 does nothing.
    if (tag < PageControl->count() && PageControl->isTabVisible(tag))
        PageControl->setCurrentIndex(tag);
}

void TMainForm::btnWebSafeClick() {
    GetAll(SwatchSafe->Color(), false);
}

void TMainForm::btnWebSmartClick() {
    GetAll(SwatchSmart->Color(), false);
}

void TMainForm::miCopyClick() {
    std::vector<CopyMenuItem> items = CopyMenuItems(CurrentColor(), EditorsShown());
    for (CopyMenuItem& css : CssCopyMenuItems(CurrentColor()))
        items.push_back(std::move(css));
    for (const CopyMenuItem& entry : items) {
        auto* action = miCopy->findChild<QAction*>(QString::fromStdString(entry.name),
                                                   Qt::FindDirectChildrenOnly);
        if (action == nullptr)
            continue;
        action->setText(QString::fromStdString(entry.caption));
        action->setVisible(entry.visible);
    }
    // The user's own formats sit between the CSS items and "Custom formats...".
    // Only ever run as the menu opens, never from one of these actions.
    qDeleteAll(FCustomCopyItems);
    FCustomCopyItems.clear();
    const std::vector<CustomFormat> formats = StoredCustomFormats();
    int number = 0;
    for (const CustomFormat& format : formats) {
        const std::string text = ExpandCustomFormat(format, CurrentColor());
        const CopyMenuItem entry =
            CustomCopyMenuItem("miCustomFormat" + std::to_string(++number), format.name, text);
        auto* action = new QAction(QString::fromStdString(entry.caption), miCopy);
        action->setObjectName(QString::fromStdString(entry.name));
        // The caption shows the text on one line; the clipboard gets it as the format made it.
        action->setData(QString::fromStdString(text));
        connect(action, &QAction::triggered, this, [this, action] { ColorCopy(action); });
        miCopy->insertAction(miCustomFormatsSeparator, action);
        FCustomCopyItems.append(action);
    }
}

std::vector<CustomFormat> TMainForm::StoredCustomFormats() const {
    std::vector<std::string> stored;
    for (const QString& entry : FSettings->CopyFormats())
        stored.push_back(entry.toStdString());
    return DecodeCustomFormats(stored);
}

void TMainForm::miCustomFormatsClick() {
    const std::optional<std::vector<CustomFormat>> edited =
        EditCustomFormats(this, StoredCustomFormats(), CurrentColor());
    if (!edited)
        return;
    QStringList stored;
    for (const std::string& entry : EncodeCustomFormats(*edited))
        stored.append(QString::fromStdString(entry));
    FSettings->CopyFormats() = stored;
}

void TMainForm::ColorCopy(QAction* item) {
    const std::string text = item->data().isValid() ? item->data().toString().toStdString()
                                                    : CopyTextOfCaption(item->text().toStdString());
    if (text.empty())
        return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void TMainForm::ApplyOperationResult(TColor color) {
    if (WebOnly())
        color = SnapColor(color, WebSafeStep);
    GetAll(color, false);
}

void TMainForm::DesaturateMethodClick(int tag) {
    ApplyOperationResult(Desaturate(CurrentColor(), tag));
}

void TMainForm::miInvertClick() {
    ApplyOperationResult(InvertColor(CurrentColor()));
}

void TMainForm::SwapRGB(int tag) {
    const TColor c = CurrentColor();
    ApplyOperationResult(tag == 0 ? SwapRG(c) : tag == 1 ? SwapRB(c) : SwapGB(c));
}

void TMainForm::RandomizeColor(int tag) {
    ApplyOperationResult(tag == 0 ? RandomRGB() : RandomColorNear(CurrentColor()));
}

std::optional<TColor> TMainForm::ConfirmWebColor(TColor color) {
    if (!NeedsWebSafeQuestion(color, WebOnly()))
        return color;
    const WebSafeOutcome outcome = ApplyWebSafeAnswer(color, AskWebSafeQuestion(this));
    if (!outcome.accepted)
        return std::nullopt;
    if (outcome.leaveWebOnly) {
        aWebSafe->setChecked(false);
        ChangeWebPalette();
    }
    return outcome.color;
}

void TMainForm::PaletteCellClick(Qt::MouseButton, Qt::KeyboardModifiers, int index, TColor color,
                                 bool*) {
    if (const std::optional<TColor> picked = PaletteCellClickColor(index, color, WebOnly()))
        GetAll(*picked, false);
}

void TMainForm::miAddToFavouritesClick() {
    AddToFavourites(*Favourites, CurrentColor());
    btnAddToFavourites->setEnabled(!IsFavourite(Favourites->Colors(), CurrentColor()));
}

void TMainForm::miFromFavouritesClick() {
    if (const std::optional<FavouritePick> pick = PickFromFavourites(*Favourites, GlobalRandom()))
        PaletteCellClick(Qt::LeftButton, Qt::NoModifier, pick->index, pick->color, nullptr);
}

void TMainForm::ColorMenuPopup() {
    miAddToFavourites->setVisible(!IsFavourite(Favourites->Colors(), CurrentColor()));
    miWebSafe->setVisible(btnWebSafe->isEnabled());
    miWebSmart->setVisible(btnWebSmart->isEnabled());
    miSetAeroColor->setVisible(Aero::IsCompositionEnabled() && Aero::CanSetAeroColor());
}

void TMainForm::AppMenuPopup() {
    miHelpTopics->setText(QFileInfo::exists(HelpFilePath()) ? QStringLiteral("Help topics")
                                                            : QStringLiteral("Online help"));
}

void TMainForm::miHelpTopicsClick() {
    const QString help = HelpFilePath();
    if (QFileInfo::exists(help))
        OpenAddress(this, QUrl::fromLocalFile(help));
    else
        OpenAddress(this, QUrl(QString::fromLatin1(kOnlineHelpPage)));
}

void TMainForm::miQelvoOnlineClick() {
    QCoreApplication::processEvents();
    OpenAddress(this, QUrl(QString::fromLatin1(kMakerHomePage)));
}

void TMainForm::miChromintOnlineClick() {
    QCoreApplication::processEvents();
    OpenAddress(this, QUrl(QString::fromLatin1(kProductPage)));
}

std::function<std::optional<TColor>(TColor)> TMainForm::ConfirmCallback() {
    return [this](TColor color) { return ConfirmWebColor(color); };
}

std::function<void(TColor)> TMainForm::MakeCurrentCallback() {
    return [this](TColor color) { GetAll(color, false); };
}

void TMainForm::miColorFromScreenClick() {
    ScreenColorCommandHooks hooks;
    hooks.mainWindow = this;
    hooks.hotKeys = HotKeyManager;
    hooks.confirmColor = ConfirmCallback();
    hooks.applyColor = MakeCurrentCallback();
    hooks.showMessage = [this](const QString& message) {
        QMessageBox::warning(this, QStringLiteral("Screen color"), message);
    };
    try {
        RunScreenColorCommand(hooks);
    } catch (const std::exception& error) {
        QMessageBox::critical(this, QStringLiteral("Chromint"), QString::fromUtf8(error.what()));
    }
}

void TMainForm::OpenPicture(const QString& fileName) {
    RunImageColorCommand(this, *FSettings, ConfirmCallback(), MakeCurrentCallback(), fileName);
}

void TMainForm::OpenPictures(const QStringList& fileNames) {
    if (fileNames.isEmpty())
        return;
    showNormal();
    raise();
    activateWindow();
    QStringList& recent = FSettings->RecentFiles();
    for (qsizetype i = fileNames.size() - 1; i >= 1; --i) {
        recent.removeAll(fileNames[i]);
        recent.prepend(fileNames[i]);
    }
    OpenPicture(fileNames.constFirst());
}

namespace {

// Takes a drag the window would take when dropped; refused, the cursor says so.
void AcceptIfTaken(QDropEvent* event) {
    if (event->mimeData() != nullptr &&
        ReadDrop(*event->mimeData()).kind != TDropContent::Kind::Nothing)
        event->acceptProposedAction();
}

} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    AcceptIfTaken(event);
}

void TMainForm::dragMoveEvent(QDragMoveEvent* event) {
    AcceptIfTaken(event);
}

void TMainForm::dropEvent(QDropEvent* event) {
    if (event->mimeData() == nullptr)
        return;
    const TDropContent content = ReadDrop(*event->mimeData());
    if (content.kind == TDropContent::Kind::Nothing)
        return;
    event->acceptProposedAction();
    // After the drop has finished, so the program the file came from is not kept waiting
    // while the picture window runs.
    QTimer::singleShot(0, this, [this, content] {
        if (content.kind == TDropContent::Kind::Picture) {
            OpenPicture(content.picture);
        } else if (const std::optional<TColor> color = ConfirmWebColor(content.color)) {
            GetAll(*color, false);
        }
    });
}

void TMainForm::PickFromScreen() {
    const ScreenPick pick = PickScreenColor();
    if (pick.status == ScreenCapture::Status::Done) {
        GetAll(pick.color, false);
        showNormal();
        raise();
        activateWindow();
    } else if (pick.status != ScreenCapture::Status::Cancelled) {
        QMessageBox::warning(this, QStringLiteral("Screen color"), pick.message);
    }
}

void TMainForm::miAboutClick() {
    TAboutDialog::ShowAbout(this, FHotKeyAdvice);
}

void TMainForm::TintHSLGauges() {
    const QColor hue = ToQColor(HueToColor(edtH->value()));
    gaugeH->SetColors(hue, hue);
    gaugeS->SetColors(Qt::white, hue);
    gaugeL->SetColors(Qt::black, hue);
}

} // namespace chromint
