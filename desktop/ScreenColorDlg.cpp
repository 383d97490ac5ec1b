#include "ScreenColorDlg.h"

#include "IdleTimer.h"
#include "JvZoom.h"
#include "ScreenAccess.h"
#include "mbColorPreview.h"

#include <QDoubleSpinBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <cmath>

namespace chromint {

TColor ScreenPixelColor(QPoint point) {
    const auto rgb = Screen().PixelAt(point);
    if (!rgb)
        return clNone;
    return MakeRGB(std::uint8_t(*rgb >> 16), std::uint8_t(*rgb >> 8), std::uint8_t(*rgb));
}

std::optional<TColor> PixelUnderPointer() {
    const auto pointer = Screen().PointerPos();
    if (!pointer)
        return std::nullopt;
    const TColor color = ScreenPixelColor(*pointer);
    if (color == clNone)
        return std::nullopt;
    return color;
}

int ZoomPercentageForValue(double value) {
    return int(std::nearbyint(value * 100)); // the default rounding mode: halves to even
}

QString ColorValuesText(TColor color) {
    return QStringLiteral("R: %1   G: %2   B: %3")
        .arg(GetRValue(color))
        .arg(GetGValue(color))
        .arg(GetBValue(color));
}

TScreenColorPanel::TScreenColorPanel(double zoom, ScreenAccess& source, QWidget* parent)
    : QWidget(parent), source_(source) {
    setObjectName(QStringLiteral("ScreenColorPanel"));
    setFixedSize(193, 133);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 102, 102);
    zoom_ = new TJvZoom(panel);
    zoom_->setGeometry(1, 1, 100, 100);
    if (&source != &Screen())
        zoom_->SetSource(&source);
    zoom_->SetZoomLevel(50);
    zoom_->SetCrosshair(true);
    zoom_->SetCrosshairSize(30);
    connect(zoom_, &TJvZoom::ContentsChanged, this, &TScreenColorPanel::ZoomContentsChanged);

    desktopSwatch_ = new TmbColorPreview(this);
    desktopSwatch_->setObjectName(QStringLiteral("DesktopSwatch"));
    desktopSwatch_->setGeometry(116, 8, 69, 69);
    desktopSwatch_->setToolTip(QStringLiteral("Base color"));
    desktopSwatch_->SetBlockSize(4);

    edtZoom_ = new QDoubleSpinBox(this);
    edtZoom_->setObjectName(QStringLiteral("edtZoom"));
    edtZoom_->setGeometry(116, 83, 69, 27);
    edtZoom_->setDecimals(1);
    edtZoom_->setSuffix(QStringLiteral("x"));
    edtZoom_->setRange(1.0, 10.0);
    edtZoom_->setSingleStep(0.1);
    edtZoom_->setValue(1.0);

    lblPosition_ = new QLabel(QStringLiteral("0x0"), this);
    lblPosition_->setObjectName(QStringLiteral("lblPosition"));
    lblPosition_->move(8, 115);
    lblPosition_->resize(70, lblPosition_->sizeHint().height());
    lblColor_ = new QLabel(QStringLiteral("R: 255  G: 255  B: 255"), this);
    lblColor_->setObjectName(QStringLiteral("lblColor"));
    lblColor_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblColor_->setGeometry(78, 115, 107, lblColor_->sizeHint().height());

    edtZoom_->setValue(zoom);
    zoom_->SetZoomPercentage(ZoomPercentageForValue(edtZoom_->value()));
    connect(edtZoom_, &QDoubleSpinBox::valueChanged, this, &TScreenColorPanel::edtZoomChange);
}

TColor TScreenColorPanel::Color() const {
    return desktopSwatch_->Color();
}

void TScreenColorPanel::ZoomContentsChanged() {
    const QPoint point = zoom_->LastPoint();
    lblPosition_->setText(QStringLiteral("%1x%2").arg(point.x()).arg(point.y()));
    lblPosition_->adjustSize();
    const auto rgb = source_.PixelAt(point);
    desktopSwatch_->SetColor(
        rgb ? MakeRGB(std::uint8_t(*rgb >> 16), std::uint8_t(*rgb >> 8), std::uint8_t(*rgb))
            : clNone);
    lblColor_->setText(ColorValuesText(desktopSwatch_->Color()));
}

void TScreenColorPanel::edtZoomChange(double value) {
    zoom_->SetZoomPercentage(ZoomPercentageForValue(value));
}

TScreenColorDialog::TScreenColorDialog(double zoom, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ScreenColorDialog"));
    setWindowTitle(QStringLiteral("Screen color"));
    setFixedSize(193, 133);
    panel_ = new TScreenColorPanel(1.0, Screen(), this);

    // Start-up, in the order the window needs: fixer, confirm key, idle timer, caption.
    fixer_ = std::make_unique<TStayOnTopFixer>(this);
    hotKeys_ = new THotKeyManager(this);
    hotKeys_->setObjectName(QStringLiteral("HotKeyManager"));
    const THotKey confirm = ParseHotKeyText(QString::fromLatin1(ConfirmHotKeyText), true);
    if (confirm != 0)
        hotKeys_->AddHotKey(confirm); // a combination another program holds leaves only cancel
    connect(hotKeys_, &THotKeyManager::HotKeyPressed, this, [this] { accept(); });
    idleTimer_ = std::make_unique<TIdleTimer>(100);
    connect(idleTimer_.get(), &TIdleTimer::OnIdle, this, &TScreenColorDialog::IdleChanged);
    setWindowTitle(QStringLiteral("%1 - %2").arg(
        windowTitle(),
        FormatHotKeyText(confirm != 0 ? confirm : HotKeyCtrl | HotKeyShift | 'X', false)));

    // Lower-right corner of the work area.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize outer = frameGeometry().size();
        move(area.width() - outer.width() - 25, area.height() - outer.height() - 25);
    }
    panel_->findChild<QDoubleSpinBox*>(QStringLiteral("edtZoom"))->setValue(zoom);
}

TScreenColorDialog::~TScreenColorDialog() = default;

bool TScreenColorDialog::Execute() {
    return exec() == QDialog::Accepted;
}

TColor TScreenColorDialog::Color() const {
    return panel_->Color();
}

void TScreenColorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fixer_->SetStayOnTop(true);
    raise();
}

void TScreenColorDialog::IdleChanged(quint32 idleTime) {
    Zoom()->setEnabled(idleTime < quint32(IdleFreezeMs));
}

void TScreenColorDialog::ZoomContentsChanged() {
    panel_->ZoomContentsChanged();
}

std::uint16_t InstallMainWindowHotKey(THotKeyManager& manager,
                                      std::function<void(TColor)> applyColor,
                                      std::function<void()> pickInstead) {
    QObject::connect(&manager, &THotKeyManager::HotKeyPressed, &manager,
                     [applyColor = std::move(applyColor),
                      pickInstead = std::move(pickInstead)](quint32 hotKey, quint16) {
                         if (hotKey !=
                             ParseHotKeyText(QString::fromLatin1(MainWindowHotKeyText), true))
                             return;
                         if (!Screen().Available()) {
                             if (pickInstead)
                                 pickInstead();
                             return;
                         }
                         if (const std::optional<TColor> color = PixelUnderPointer())
                             applyColor(*color);
                     });
    return RegisterMainWindowHotKey(manager);
}

QString PickCommandKeyAdvice() {
    return QStringLiteral("Alt+X cannot pick colours here: this desktop gives programs no "
                          "global keys. To pick with a key, bind the command "
                          "\"chromint --pick\" to one in the desktop's keyboard settings.");
}

ScreenPick PickFromStillFrame(double zoom) {
    ScreenPick pick;
    const ScreenCapture::Picture picture = DesktopCapture().Capture();
    if (picture.status != ScreenCapture::Status::Done) {
        pick.status = picture.status;
        pick.message = ScreenCaptureMessage(picture.status, picture.message);
        return pick;
    }
    if (const std::optional<TColor> color = RunFrozenFramePicker(picture, zoom)) {
        pick.status = ScreenCapture::Status::Done;
        pick.color = *color;
    } else {
        pick.status = ScreenCapture::Status::Cancelled;
    }
    return pick;
}

namespace {

// Puts the main window back and its hot key too, however the command ends.
struct MainWindowRestorer {
    const ScreenColorCommandHooks& hooks;
    std::unique_ptr<TScreenColorDialog>& dialog;

    ~MainWindowRestorer() {
        if (hooks.mainWindow != nullptr) {
            hooks.mainWindow->showNormal();
            hooks.mainWindow->raise();
            hooks.mainWindow->activateWindow();
        }
        dialog.reset();
        if (hooks.hotKeys != nullptr)
            RegisterMainWindowHotKey(*hooks.hotKeys);
    }
};

} // namespace

bool RunScreenColorCommand(const ScreenColorCommandHooks& hooks) {
    if (hooks.hotKeys != nullptr)
        hooks.hotKeys->ClearHotKeys(); // so Alt+X is free while the picker runs
    std::unique_ptr<TScreenColorDialog> dialog;
    const MainWindowRestorer restorer{hooks, dialog};
    if (!Screen().Available() || hooks.pickStill) {
        const ScreenPick pick = hooks.pickStill ? hooks.pickStill() : PickFromStillFrame(8.0);
        if (pick.status != ScreenCapture::Status::Done) {
            if (pick.status != ScreenCapture::Status::Cancelled && hooks.showMessage)
                hooks.showMessage(pick.message);
            return false;
        }
        const std::optional<TColor> confirmed =
            hooks.confirmColor ? hooks.confirmColor(pick.color) : std::optional(pick.color);
        if (!confirmed)
            return false;
        if (hooks.applyColor)
            hooks.applyColor(*confirmed);
        return true;
    }
    dialog = std::make_unique<TScreenColorDialog>(8.0);
    if (hooks.mainWindow != nullptr)
        hooks.mainWindow->showMinimized();
    const bool picked = hooks.execute ? hooks.execute(*dialog) : dialog->Execute();
    if (!picked)
        return false;
    const TColor color = dialog->Color();
    if (color == clNone)
        return false; // nothing could be read from the screen
    const std::optional<TColor> confirmed =
        hooks.confirmColor ? hooks.confirmColor(color) : std::optional<TColor>(color);
    if (!confirmed)
        return false;
    if (hooks.applyColor)
        hooks.applyColor(*confirmed);
    return true;
}

} // namespace chromint
